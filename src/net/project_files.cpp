// Project files: hosts.hs, channels.cs and general.gs in one directory.
//
// Loading reads and checks all three files into a scratch copy and changes
// the network only when everything succeeded. Saving replaces the three files
// all together or not at all (file_set_commit.h). A save holds an exclusive
// lock on the directory and a load a shared one, so that two saves never mix
// their files and a load never reads half of a save.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "errors.h"
#include "file_set_commit.h"
#include "general_text.h"
#include "netobj.h"
#include "posix_file.h"

namespace net {
namespace {

constexpr const char* HostsFileName = "hosts.hs";
constexpr const char* ChannelsFileName = "channels.cs";
constexpr const char* GeneralFileName = "general.gs";
// A real general.gs takes a few kilobytes; anything much longer is refused
// before it is read, so that a huge file cannot stall the program.
constexpr size_t MaxGeneralFileSize = 1024 * 1024;

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

// The directory itself, open for its lock; one that does not exist fails as
// its files would.
FileHandle OpenDirectory(const std::string& directory) {
    FileHandle dir(::open((directory + "/").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() < 0)
        ThrowOpenFailure(errno, directory);
    return dir;
}

const std::vector<std::string>& ProjectFileNames() {
    static const std::vector<std::string> names = {HostsFileName, ChannelsFileName,
                                                   GeneralFileName};
    return names;
}

// A save killed halfway leaves kept old files: the three files may then come
// from two saves, and loading them could give a network nobody made.
void RefuseInterruptedSave(const std::string& directory) {
    const std::optional<std::string> kept = FindInterruptedCommit(directory, ProjectFileNames());
    if (kept) {
        throw IoError("Сохранение в папку «" + directory + "» было прервано (остался файл " +
                      *kept +
                      "), файлы проекта могут быть от разных сохранений; проект не загружен. "
                      "Сохраните сеть в эту папку заново");
    }
}

[[noreturn]] void ThrowGeneralTooLong(const std::string& directory) {
    throw IoError("Файл «" + ProjectPath(directory, GeneralFileName) +
                  "» длиннее 1 МиБ, такого файла проекта не бывает; проект не загружен");
}

// The numbers of general.gs, read no further than MaxGeneralFileSize.
GeneralContent ReadGeneralFile(const std::string& directory) {
    const FileHandle file = OpenForReading(directory, GeneralFileName);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0)
        throw IoError(IoMessage(errno));
    if (static_cast<uint64_t>(info.st_size) > MaxGeneralFileSize)
        ThrowGeneralTooLong(directory);
    const int fd = file.Get();
    size_t taken = 0;
    // The file may still grow while it is read.
    GeneralReader reader([fd, &taken, &directory](char* buffer, size_t size) {
        const size_t n = ReadSome(fd, buffer, size);
        taken += n;
        if (taken > MaxGeneralFileSize)
            ThrowGeneralTooLong(directory);
        return n;
    });
    return ReadGeneral(reader);
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
    ProjectPath(directory, HostsFileName);  // refuses a string holding NUL
    ProjectContent content;
    // A directory that may not be opened is read without the lock.
    const FileHandle dir(::open((directory + "/").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() < 0 && (errno == ENOENT || errno == ENOTDIR))
        ThrowOpenFailure(errno, directory);
    if (dir.Get() >= 0)
        LockDirectory(dir, false, directory);
    RefuseInterruptedSave(directory);

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
    content.General = ReadGeneralFile(directory);
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
    std::vector<FileReplacement> files = {
        {ProjectPath(directory, HostsFileName), EncodeHosts(*this)},
        {ProjectPath(directory, ChannelsFileName), EncodeChannels(*this)},
        {ProjectPath(directory, GeneralFileName), FormatGeneral(*this)},
    };
    const FileHandle dir = OpenDirectory(directory);
    LockDirectory(dir, true, directory);
    // What an earlier save left is of no use: this one writes all three files.
    RemoveLeftovers(directory, ProjectFileNames());
    ReplaceFilesTogether(std::move(files));
}

}  // namespace net
