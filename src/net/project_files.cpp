// Project files: hosts.hs, channels.cs and general.gs in one directory.
//
// Loading reads and checks all three files into a scratch copy and changes
// the network only when everything succeeded. Saving writes each file to a
// temporary file beside it and renames the three over the old ones only when
// all of them are complete, so a failure never damages the project that was
// there.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "errors.h"
#include "general_text.h"
#include "netobj.h"
#include "posix_file.h"

namespace net {
namespace {

constexpr const char* HostsFileName = "hosts.hs";
constexpr const char* ChannelsFileName = "channels.cs";
constexpr const char* GeneralFileName = "general.gs";
constexpr const char* TemporarySuffix = ".tmp";

constexpr size_t HostsFileSize = static_cast<size_t>(MaxHosts) * HostRecordSize;
constexpr size_t ChannelsFileSize = static_cast<size_t>(MaxChannels) * ChannelRecordSize;

// The directory string, the separator, the file name. A string holding a NUL
// character would name another file than it shows, and is no valid name.
std::string ProjectPath(const std::string& directory, const char* name) {
    if (directory.find('\0') != std::string::npos)
        throw IoError("Invalid filename");
    return directory + "/" + name;
}

// True when the directory string names an existing directory.
bool DirectoryExists(const std::string& directory) {
    struct stat info {};
    // The trailing separator makes the empty string the root, as it is in the
    // paths of the files.
    return ::stat((directory + "/").c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The message for a file of the directory that could not be opened: a
// directory that does not exist (or is no directory) is an invalid filename,
// a missing file in an existing directory is a file not found.
[[noreturn]] void ThrowOpenFailure(int error, const std::string& directory) {
    if (error == ENOTDIR || error == ENAMETOOLONG ||
        (error == ENOENT && !DirectoryExists(directory))) {
        throw IoError("Invalid filename");
    }
    throw IoError(IoMessage(error));
}

// Opens a project file for reading only. Anything but a regular file (a
// directory, a device, a pipe) is refused as it could not be a project file.
FileHandle OpenForReading(const std::string& directory, const char* name) {
    const std::string path = ProjectPath(directory, name);
    // O_NONBLOCK: a pipe in the file's place must not hang the open.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        ThrowOpenFailure(errno, directory);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        throw IoError(IoMessage(errno));
    if (!S_ISREG(info.st_mode))
        throw IoError("File access denied");
    return file;
}

// Exactly `size` bytes; a shorter file fails at its first incomplete record.
std::vector<uint8_t> ReadExactly(const FileHandle& file, size_t size) {
    std::vector<uint8_t> bytes(size);
    if (ReadSome(file.Get(), reinterpret_cast<char*>(bytes.data()), size) < size) {
        throw IoError("Read beyond end of file");
    }
    return bytes;
}

// Everything LoadProject replaces, read and checked before the network changes.
struct ProjectContent {
    std::array<HostRecord, MaxHosts + 1> Hosts{};
    std::array<ChannelRecord, MaxChannels + 1> Channels{};
    GeneralContent General;
};

// A present channel must join two host slots: every table indexed by host
// number relies on it.
void CheckChannelEnds(const ProjectContent& content) {
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!content.General.ChannelPresent[c])
            continue;
        for (const int32_t end : {content.Channels[c].HostA, content.Channels[c].HostB}) {
            if (end < 1 || end > MaxHosts) {
                throw IoError("Канал " + std::to_string(c) + " в файле " + ChannelsFileName +
                              " ведёт к маршрутизатору " + std::to_string(end) +
                              ", номер вне пределов 1.." + std::to_string(MaxHosts) +
                              "; проект не загружен");
            }
        }
    }
}

// One file written beside its final name and renamed over it at the end.
struct PendingFile {
    std::string finalPath;
    std::string temporaryPath;
    bool created = false;
};

void WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(IoMessage(errno));
        }
        // A write that takes nothing means there is no room left.
        if (n == 0)
            throw IoError(IoMessage(ENOSPC));
        done += static_cast<size_t>(n);
    }
}

// Writes the temporary file completely and forces it to the disk.
void WriteTemporary(PendingFile& pending, const std::string& directory, const std::string& bytes) {
    // A temporary file left by an interrupted save is removed first; the new
    // one is always created afresh, so a link planted under its name is never
    // followed and nothing outside the directory is written.
    ::unlink(pending.temporaryPath.c_str());
    FileHandle file(::open(pending.temporaryPath.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
    if (file.Get() < 0)
        ThrowOpenFailure(errno, directory);
    pending.created = true;
    WriteAll(file.Get(), bytes);
    // Devices and some file systems cannot sync; that is no failure of ours.
    if (::fsync(file.Get()) != 0 && errno != EINVAL && errno != EROFS) {
        throw IoError(IoMessage(errno));
    }
    file.Close();
}

void RemoveTemporaries(std::vector<PendingFile>& pending) {
    for (PendingFile& p : pending) {
        if (p.created)
            ::unlink(p.temporaryPath.c_str());
        p.created = false;
    }
}

// Makes the renames themselves durable; a directory that cannot be synced
// still holds the files.
void SyncDirectory(const std::string& directory) {
    const FileHandle dir(::open((directory + "/").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() >= 0)
        ::fsync(dir.Get());
}

std::string EncodeHosts(const TNetObj& net) {
    std::string bytes(HostsFileSize, '\0');
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        EncodeHostRecord(net.Hosts[h],
                         reinterpret_cast<uint8_t*>(bytes.data()) + (h - 1) * HostRecordSize);
    }
    return bytes;
}

std::string EncodeChannels(const TNetObj& net) {
    std::string bytes(ChannelsFileSize, '\0');
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        EncodeChannelRecord(net.Channels[c],
                            reinterpret_cast<uint8_t*>(bytes.data()) + (c - 1) * ChannelRecordSize);
    }
    return bytes;
}

}  // namespace

void TNetObj::LoadProject(const std::string& directory) {
    ProjectContent content;

    {
        const FileHandle file = OpenForReading(directory, HostsFileName);
        const std::vector<uint8_t> bytes = ReadExactly(file, HostsFileSize);
        for (int32_t h = 1; h <= MaxHosts; ++h) {
            // A stored name length above 20 is cut to 20 here.
            content.Hosts[h] = DecodeHostRecord(bytes.data() + (h - 1) * HostRecordSize);
        }
    }
    {
        const FileHandle file = OpenForReading(directory, ChannelsFileName);
        const std::vector<uint8_t> bytes = ReadExactly(file, ChannelsFileSize);
        for (int32_t c = 1; c <= MaxChannels; ++c) {
            content.Channels[c] = DecodeChannelRecord(bytes.data() + (c - 1) * ChannelRecordSize);
        }
    }
    {
        const FileHandle file = OpenForReading(directory, GeneralFileName);
        const int fd = file.Get();
        GeneralReader reader(
            [fd](char* buffer, size_t size) { return ReadSome(fd, buffer, size); });
        content.General = ReadGeneral(reader);
    }
    CheckChannelEnds(content);

    // Nothing below can fail but the copy of the name, which comes first.
    std::string name = directory;
    NetworkName.swap(name);
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        Hosts[h] = content.Hosts[h];
    }
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        Channels[c] = content.Channels[c];
    }
    GeneralReal = content.General.Real;
    LoadMatrix = content.General.Loads;
    HostCount = 0;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        HostPresent[h] = content.General.HostPresent[h];
        if (HostPresent[h])
            ++HostCount;
    }
    ChannelCount = 0;
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        ChannelPresent[c] = content.General.ChannelPresent[c];
        if (ChannelPresent[c])
            ++ChannelCount;
    }
}

void TNetObj::SaveProject(const std::string& directory) const {
    // Everything is encoded before any file is touched.
    const std::string contents[] = {EncodeHosts(*this), EncodeChannels(*this),
                                    FormatGeneral(*this)};
    std::vector<PendingFile> pending;
    for (const char* name : {HostsFileName, ChannelsFileName, GeneralFileName}) {
        const std::string path = ProjectPath(directory, name);
        pending.push_back({path, path + TemporarySuffix, false});
    }

    try {
        // A directory in a file's place could not be replaced by the rename.
        for (const PendingFile& p : pending) {
            struct stat info {};
            if (::stat(p.finalPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                throw IoError("File access denied");
            }
        }
        for (size_t k = 0; k < pending.size(); ++k) {
            WriteTemporary(pending[k], directory, contents[k]);
        }
        for (PendingFile& p : pending) {
            if (::rename(p.temporaryPath.c_str(), p.finalPath.c_str()) != 0) {
                throw IoError(IoMessage(errno));
            }
            p.created = false;
        }
    } catch (...) {
        RemoveTemporaries(pending);
        throw;
    }
    SyncDirectory(directory);
}

}  // namespace net
