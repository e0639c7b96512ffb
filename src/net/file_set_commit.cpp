#include "file_set_commit.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <random>
#include <set>

#include "errors.h"
#include "posix_file.h"

namespace net {
namespace {

constexpr const char* NewMark = ".new-";
constexpr const char* OldMark = ".old-";
constexpr const char* EarlierTemporarySuffix = ".tmp";
constexpr size_t SuffixLength = 8;
constexpr int NameAttempts = 100;
constexpr int MaxLinkHops = 40;

// One file of the set and what the commit has done to it so far.
struct Slot {
    std::string target;  // the file replaced: the path itself or where its links lead
    std::string bytes;
    bool existed = false;
    struct stat old {};
    std::string temporary;  // the new content while it waits beside the target
    std::string kept;       // the old file under another name
    bool replaced = false;
};

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A hidden name beside `path`, e.g. "dir/.hosts.hs.new-k3x9a0qz".
std::string SiblingName(const std::string& path, const char* mark) {
    static std::mt19937_64 generator{std::random_device{}() ^ static_cast<uint64_t>(::getpid())};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(SuffixLength, 'x');
    for (char& c : suffix)
        c = letters[generator() % (sizeof letters - 1)];
    return DirectoryOf(path) + "/." + BaseName(path) + mark + suffix;
}

[[noreturn]] void ThrowNoFreeName(const std::string& path) {
    throw IoError("Не удалось подобрать свободное имя для временного файла рядом с «" + path +
                  "»; проект не сохранён");
}

// Where `path` leads through its symbolic links; the path itself when it is
// no link or does not exist.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0)
            throw IoError(IoMessage(errno));
        if (static_cast<size_t>(n) >= target.size())
            throw IoError(IoMessage(ENAMETOOLONG));
        target.resize(static_cast<size_t>(n));
        current = target.front() == '/' ? target : DirectoryOf(current) + "/" + target;
    }
    throw IoError(IoMessage(ELOOP));
}

bool IsMountRoot(const std::string& path) {
    struct statx info {};
    if (::statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS, &info) != 0)
        return false;
    return (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
           (info.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
}

// Refuses, before anything changes, what the renames could not replace.
// Opening for writing without truncating fails on immutable and append-only
// files for root too.
void CheckReplaceable(Slot& slot) {
    if (::stat(slot.target.c_str(), &slot.old) != 0) {
        if (errno == ENOENT)
            return;
        throw IoError(IoMessage(errno));
    }
    slot.existed = true;
    if (!S_ISREG(slot.old.st_mode) || IsMountRoot(slot.target))
        throw IoError("File access denied");
    const FileHandle probe(
        ::open(slot.target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (probe.Get() < 0)
        throw IoError(IoMessage(errno));
}

// A new file under a fresh hidden name beside `beside`; never an existing
// file or a link planted under that name.
FileHandle CreateSibling(const std::string& beside, const char* mark, std::string& name) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        name = SiblingName(beside, mark);
        FileHandle file(
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
        if (file.Get() >= 0)
            return file;
        name.clear();
        if (errno != EEXIST)
            throw IoError(IoMessage(errno));
    }
    ThrowNoFreeName(beside);
}

// Only a privileged process may give a file away; others keep the owner they
// may set, the group included.
void CopyOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        throw IoError(IoMessage(errno));
}

void SyncAndClose(FileHandle& file) {
    // Devices and some file systems cannot sync; that is no failure of ours.
    if (::fsync(file.Get()) != 0 && errno != EINVAL && errno != EROFS)
        throw IoError(IoMessage(errno));
    file.Close();
}

void WriteTemporary(Slot& slot) {
    FileHandle file = CreateSibling(slot.target, NewMark, slot.temporary);
    WriteAll(file.Get(), slot.bytes);
    if (slot.existed)
        CopyOwnerAndMode(file.Get(), slot.old);
    SyncAndClose(file);
}

// Where hard links are not to be had, the old bytes are copied aside.
void CopyAside(Slot& slot) {
    const FileHandle source(::open(slot.target.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC));
    if (source.Get() < 0)
        throw IoError(IoMessage(errno));
    FileHandle copy = CreateSibling(slot.target, OldMark, slot.kept);
    std::string chunk(64 * 1024, '\0');
    for (size_t n; (n = ReadSome(source.Get(), chunk.data(), chunk.size())) > 0;) {
        WriteAll(copy.Get(), chunk.substr(0, n));
    }
    CopyOwnerAndMode(copy.Get(), slot.old);
    SyncAndClose(copy);
}

void KeepOld(Slot& slot) {
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const std::string name = SiblingName(slot.target, OldMark);
        if (CommitLink(slot.target, name) == 0) {
            slot.kept = name;
            return;
        }
        if (errno == EPERM || errno == EXDEV || errno == EMLINK || errno == EOPNOTSUPP) {
            CopyAside(slot);
            return;
        }
        if (errno != EEXIST)
            throw IoError(IoMessage(errno));
    }
    ThrowNoFreeName(slot.target);
}

void Replace(Slot& slot) {
    if (CommitRename(slot.temporary, slot.target) != 0)
        throw IoError(IoMessage(errno));
    slot.temporary.clear();
    slot.replaced = true;
}

// Makes the renames themselves durable; a directory that cannot be synced
// still holds the files.
void SyncDirectories(const std::vector<Slot>& slots) {
    std::set<std::string> directories;
    for (const Slot& slot : slots)
        directories.insert(DirectoryOf(slot.target));
    for (const std::string& directory : directories) {
        const FileHandle dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.Get() >= 0)
            ::fsync(dir.Get());
    }
}

// Puts every old file back. A kept file that cannot be renamed back stays
// where it is: it is then the only copy of the old content.
void RollBack(std::vector<Slot>& slots) {
    for (auto slot = slots.rbegin(); slot != slots.rend(); ++slot) {
        if (slot->replaced && slot->kept.empty()) {
            ::unlink(slot->target.c_str());
        } else if (slot->replaced && ::rename(slot->kept.c_str(), slot->target.c_str()) == 0) {
            slot->kept.clear();
        } else if (!slot->replaced && !slot->kept.empty()) {
            ::unlink(slot->kept.c_str());
            slot->kept.clear();
        }
        if (!slot->temporary.empty())
            ::unlink(slot->temporary.c_str());
    }
    SyncDirectories(slots);
}

bool IsLeftoverOf(const std::string& entry, const std::string& name) {
    if (entry == name + EarlierTemporarySuffix)
        return true;
    for (const char* mark : {NewMark, OldMark}) {
        const std::string prefix = "." + name + mark;
        if (entry.size() == prefix.size() + SuffixLength &&
            entry.compare(0, prefix.size(), prefix) == 0)
            return true;
    }
    return false;
}

// The names of the directory's entries; none when it cannot be read.
std::vector<std::string> EntryNames(const std::string& directory) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir((directory + "/").c_str()), ::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get()))
        names.emplace_back(entry->d_name);
    return names;
}

}  // namespace

void ReplaceFilesTogether(std::vector<FileReplacement> files) {
    std::vector<Slot> slots;
    for (FileReplacement& file : files) {
        Slot slot;
        slot.target = FollowLinks(file.path);
        slot.bytes = std::move(file.bytes);
        slots.push_back(std::move(slot));
    }
    try {
        for (Slot& slot : slots)
            CheckReplaceable(slot);
        for (Slot& slot : slots)
            WriteTemporary(slot);
        for (Slot& slot : slots) {
            if (slot.existed)
                KeepOld(slot);
        }
        // From the first rename on, a killed process leaves a mixed set; the
        // kept files it leaves behind show it.
        for (Slot& slot : slots)
            Replace(slot);
    } catch (...) {
        RollBack(slots);
        throw;
    }
    for (Slot& slot : slots) {
        if (!slot.kept.empty())
            ::unlink(slot.kept.c_str());
    }
    SyncDirectories(slots);
}

void RemoveLeftovers(const std::string& directory, const std::vector<std::string>& names) {
    for (const std::string& entry : EntryNames(directory)) {
        const bool leftover = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return IsLeftoverOf(entry, name);
        });
        const std::string path = directory + "/" + entry;
        struct stat info {};
        if (leftover && ::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            ::unlink(path.c_str());
    }
}

std::optional<std::string> FindInterruptedCommit(const std::string& directory,
                                                 const std::vector<std::string>& names) {
    for (const std::string& entry : EntryNames(directory)) {
        for (const std::string& name : names) {
            const std::string prefix = "." + name + OldMark;
            if (IsLeftoverOf(entry, name) && entry.compare(0, prefix.size(), prefix) == 0)
                return entry;
        }
    }
    return std::nullopt;
}

}  // namespace net
