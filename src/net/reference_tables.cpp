// Reading the type tables from HostInfo.hi and ChanInfo.ci.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "errors.h"
#include "netobj.h"
#include "posix_file.h"

namespace net {
namespace {

// Opens a reference file of the working directory for reading only.
FileHandle OpenReadOnly(const char* name) {
    // O_NONBLOCK: a pipe in the file's place must not hang the program.
    FileHandle file(::open(name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.Get() < 0)
        throw IoError(IoMessage(errno));
    return file;
}

// The whole content, at most limit + 1 bytes.
std::vector<uint8_t> ReadUpTo(const FileHandle& file, size_t limit) {
    std::vector<uint8_t> bytes(limit + 1);
    bytes.resize(ReadSome(file.Get(), reinterpret_cast<char*>(bytes.data()), bytes.size()));
    return bytes;
}

// Decodes the whole records of a file into table[1..]; a tail shorter than
// one record is ignored, more than MaxTypes records refuse the file.
template <typename Record, typename Decode>
int32_t ReadTypeTable(const FileHandle& file, const char* name, size_t recordSize, Decode decode,
                      std::array<Record, MaxTypes + 1>& table) {
    const std::vector<uint8_t> bytes = ReadUpTo(file, (MaxTypes + 1) * recordSize);
    const size_t records = bytes.size() / recordSize;
    if (records > MaxTypes) {
        throw IoError(std::string("Файл типов \"") + name + "\" содержит больше " +
                      std::to_string(MaxTypes) + " записей");
    }
    for (size_t k = 0; k < records; ++k) {
        table[k + 1] = decode(bytes.data() + k * recordSize);
    }
    return static_cast<int32_t>(records);
}

}  // namespace

void TNetObj::LoadTypeTables() {
    // Both files are opened and read whole before either table changes, so a
    // failure leaves both tables as they were.
    const FileHandle hostFile = OpenReadOnly("HostInfo.hi");
    const FileHandle channelFile = OpenReadOnly("ChanInfo.ci");
    std::array<HostType, MaxTypes + 1> hostTypes = HostTypes;
    std::array<ChannelType, MaxTypes + 1> channelTypes = ChannelTypes;
    const int32_t hostCount =
        ReadTypeTable(hostFile, "HostInfo.hi", HostTypeSize, DecodeHostType, hostTypes);
    const int32_t channelCount =
        ReadTypeTable(channelFile, "ChanInfo.ci", ChannelTypeSize, DecodeChannelType, channelTypes);
    HostTypes = hostTypes;
    HostTypeCount = hostCount;
    ChannelTypes = channelTypes;
    ChannelTypeCount = channelCount;
}

}  // namespace net
