// The copy of unsaved work that survives a crash: each running program keeps
// its network, a short while after every change, as a project in a folder of
// its own under the per-user state directory, locked for as long as the
// program runs. A folder whose lock nobody holds was left by a program that
// did not end normally, and may be restored.
#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "netobj.h"
#include "posix_file.h"

namespace net {

// $XDG_STATE_HOME/netdesigner/recovery, by default ~/.local/state/netdesigner/recovery.
std::string DefaultRecoveryRoot();

// What a recovery folder tells besides the project files.
struct RecoveryInfo {
    std::string NetworkName;   // UTF-8
    std::string SourceFolder;  // the project folder it was loaded from or saved to, or ""
    bool TypeTablesRead = false;
    bool DynamicRouting = false;
};

// A recovery folder left by a program that is gone, claimed (locked) by this
// one while it lives, so that no other program offers it at the same time.
class StaleRecovery {
public:
    StaleRecovery(std::string folder, FileHandle lock, RecoveryInfo info, std::time_t modified);
    const std::string& Folder() const { return folder_; }
    const RecoveryInfo& Info() const { return info_; }
    std::time_t Modified() const { return modified_; }
    // Reads the network: type tables from the working directory when the
    // lost program had read them, then the project; name, folder and flag
    // from the info.
    void Restore(TNetObj& net) const;
    // Removes the folder.
    void Discard();

private:
    std::string folder_;
    FileHandle lock_;
    RecoveryInfo info_;
    std::time_t modified_;
};

class RecoveryStore {
public:
    // Makes this program's own locked folder under `root` (created when
    // missing). Raises IoError when that is not possible.
    explicit RecoveryStore(std::string root);
    // Removes the folder: the program ends normally.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    const std::string& Folder() const { return folder_; }
    // The recovery folders under `root` whose programs are gone, claimed,
    // newest first; this program's own folder is never among them.
    static std::vector<std::unique_ptr<StaleRecovery>> FindStale(const std::string& root);

    // Saves the network and its info, with the all-or-nothing commit of a
    // project save.
    void Write(const TNetObj& net, const std::string& sourceFolder);
    // Drops what Write wrote: nothing is unsaved any more.
    void Clear();
    bool HoldsNetwork() const { return written_; }

private:
    std::string root_;
    std::string folder_;
    std::optional<FileHandle> lock_;
    bool written_ = false;
};

}  // namespace net
