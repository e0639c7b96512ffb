// Reading the type tables from HostInfo.hi and ChanInfo.ci.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "errors.h"
#include "netobj.h"

namespace net {
namespace {

// A file descriptor that is closed when it goes out of scope.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const char* name) : fd_(::open(name, O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0)
            throw IoError(IoMessage(errno));
    }
    ~ReadOnlyFile() { ::close(fd_); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // The whole content, at most limit + 1 bytes.
    std::vector<uint8_t> ReadUpTo(size_t limit) const {
        std::vector<uint8_t> bytes(limit + 1);
        size_t total = 0;
        while (total < bytes.size()) {
            const ssize_t n = ::read(fd_, bytes.data() + total, bytes.size() - total);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw IoError(IoMessage(errno));
            }
            if (n == 0)
                break;
            total += static_cast<size_t>(n);
        }
        bytes.resize(total);
        return bytes;
    }

private:
    int fd_;
};

// Decodes the whole records of a file into table[1..]; a tail shorter than
// one record is ignored, more than MaxTypes records refuse the file.
template <typename Record, typename Decode>
int32_t ReadTypeTable(const ReadOnlyFile& file, const char* name, size_t recordSize, Decode decode,
                      std::array<Record, MaxTypes + 1>& table) {
    const std::vector<uint8_t> bytes = file.ReadUpTo((MaxTypes + 1) * recordSize);
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
    const ReadOnlyFile hostFile("HostInfo.hi");
    const ReadOnlyFile channelFile("ChanInfo.ci");
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
