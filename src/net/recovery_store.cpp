#include "recovery_store.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "errors.h"
#include "file_set_commit.h"

namespace net {
namespace {

namespace fs = std::filesystem;

constexpr const char* LockName = "lock";
constexpr const char* InfoName = "recovery.info";
constexpr const char* ProjectNames[] = {"hosts.hs", "channels.cs", "general.gs"};

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '%' || c == '\n' || c == '\r' || c == '\t') {
            static const char* const digits = "0123456789ABCDEF";
            out += '%';
            out += digits[static_cast<unsigned char>(c) >> 4];
            out += digits[c & 15];
        } else {
            out += c;
        }
    }
    return out;
}

int Hex(char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && Hex(text[i + 1]) >= 0 &&
            Hex(text[i + 2]) >= 0) {
            out += static_cast<char>(Hex(text[i + 1]) * 16 + Hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string InfoText(const RecoveryInfo& info) {
    return "name\t" + Escaped(info.NetworkName) + "\nfolder\t" + Escaped(info.SourceFolder) +
           "\ntypes\t" + (info.TypeTablesRead ? "1" : "0") + "\ndynamic\t" +
           (info.DynamicRouting ? "1" : "0") + "\n";
}

RecoveryInfo ReadInfo(const std::string& path) {
    RecoveryInfo info;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const std::string key = line.substr(0, tab), value = Unescaped(line.substr(tab + 1));
        if (key == "name")
            info.NetworkName = value;
        else if (key == "folder")
            info.SourceFolder = value;
        else if (key == "types")
            info.TypeTablesRead = value == "1";
        else if (key == "dynamic")
            info.DynamicRouting = value == "1";
    }
    return info;
}

// The lock file of a folder, locked by this process; nothing when another
// process holds it.
std::optional<FileHandle> TakeLock(const std::string& folder) {
    FileHandle lock(::open((folder + "/" + LockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lock.Get() < 0)
        return std::nullopt;
    while (::flock(lock.Get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return errno == EWOULDBLOCK ? std::nullopt : std::optional<FileHandle>(std::move(lock));
    }
    return lock;
}

[[noreturn]] void Fail(const std::string& folder, const std::string& reason) {
    throw IoError("Папка восстановления «" + folder + "» недоступна: " + reason);
}

}  // namespace

std::string DefaultRecoveryRoot() {
    std::string state;
    if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg != nullptr && xdg[0] == '/') {
        state = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') {
            const passwd* user = ::getpwuid(::getuid());
            home = user != nullptr ? user->pw_dir : "/tmp";
        }
        state = std::string(home) + "/.local/state";
    }
    return state + "/netdesigner/recovery";
}

StaleRecovery::StaleRecovery(std::string folder, FileHandle lock, RecoveryInfo info,
                             std::time_t modified)
    : folder_(std::move(folder)),
      lock_(std::move(lock)),
      info_(std::move(info)),
      modified_(modified) {}

void StaleRecovery::Restore(TNetObj& net) const {
    TNetObj restored;
    if (info_.TypeTablesRead)
        restored.LoadTypeTables();
    restored.LoadProject(folder_);
    restored.NetworkName = info_.NetworkName;
    restored.DynamicRouting = info_.DynamicRouting;
    net = std::move(restored);
}

void StaleRecovery::Discard() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

RecoveryStore::RecoveryStore(std::string root) : root_(std::move(root)) {
    std::error_code error;
    fs::create_directories(root_, error);
    if (error)
        Fail(root_, error.message());
    const std::string name =
        std::to_string(::getpid()) + "-" +
        std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    // Locked before it gets a name that others look at.
    const std::string hidden = root_ + "/." + name;
    if (::mkdir(hidden.c_str(), 0700) != 0)
        Fail(hidden, IoMessage(errno));
    std::optional<FileHandle> lock = TakeLock(hidden);
    if (!lock) {
        fs::remove_all(hidden, error);
        Fail(hidden, "не удалось взять блокировку");
    }
    folder_ = root_ + "/" + name;
    if (::rename(hidden.c_str(), folder_.c_str()) != 0) {
        const int saved = errno;
        fs::remove_all(hidden, error);
        Fail(folder_, IoMessage(saved));
    }
    lock_.emplace(std::move(*lock));
}

RecoveryStore::~RecoveryStore() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
}

std::vector<std::unique_ptr<StaleRecovery>> RecoveryStore::FindStale(const std::string& root) {
    std::vector<std::unique_ptr<StaleRecovery>> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(root, error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.' || !entry.is_directory(error))
            continue;
        const std::string folder = entry.path().string();
        std::optional<FileHandle> lock = TakeLock(folder);
        if (!lock)
            continue;  // its program is running
        struct stat general {};
        if (::stat((folder + "/general.gs").c_str(), &general) != 0) {
            fs::remove_all(folder, error);  // nothing was unsaved there
            continue;
        }
        found.push_back(std::make_unique<StaleRecovery>(
            folder, std::move(*lock), ReadInfo(folder + "/" + InfoName), general.st_mtime));
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a->Modified() > b->Modified(); });
    return found;
}

void RecoveryStore::Write(const TNetObj& net, const std::string& sourceFolder) {
    net.SaveProject(folder_);
    const RecoveryInfo info{net.NetworkName, sourceFolder,
                            net.ChannelTypeCount > 0 || net.HostTypeCount > 0, net.DynamicRouting};
    ReplaceFilesTogether({{folder_ + "/" + InfoName, InfoText(info)}});
    written_ = true;
}

void RecoveryStore::Clear() {
    for (const char* name : ProjectNames)
        ::unlink((folder_ + "/" + name).c_str());
    ::unlink((folder_ + "/" + InfoName).c_str());
    written_ = false;
}

}  // namespace net
