// Helpers shared by the model tests.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "netobj.h"

namespace testing_support {

// A fresh temporary directory that is the working directory while the
// object lives; the previous working directory is restored afterwards.
class ScopedWorkDir {
public:
    ScopedWorkDir() : previous_(std::filesystem::current_path()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "netd-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        std::filesystem::current_path(path_);
    }
    ~ScopedWorkDir() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Writes HostInfo.hi and ChanInfo.ci into the working directory.
inline void WriteTypeFiles(const std::vector<std::pair<int32_t, int32_t>>& hostTypes,
                           const std::vector<std::pair<int32_t, int32_t>>& channelTypes) {
    std::vector<uint8_t> hosts(hostTypes.size() * net::HostTypeSize);
    for (size_t k = 0; k < hostTypes.size(); ++k) {
        net::HostType t;
        t.Value1 = hostTypes[k].first;
        t.Value2 = hostTypes[k].second;
        net::EncodeHostType(t, hosts.data() + k * net::HostTypeSize);
    }
    std::vector<uint8_t> channels(channelTypes.size() * net::ChannelTypeSize);
    for (size_t k = 0; k < channelTypes.size(); ++k) {
        net::ChannelType t;
        t.Capacity = channelTypes[k].first;
        t.Value2 = channelTypes[k].second;
        net::EncodeChannelType(t, channels.data() + k * net::ChannelTypeSize);
    }
    WriteBytes("HostInfo.hi", hosts);
    WriteBytes("ChanInfo.ci", channels);
}

// Channel type 1 has the given capacity; hosts of type 1 only.
inline void SetCapacities(net::TNetObj& net, const std::vector<int32_t>& capacities) {
    net.ChannelTypeCount = static_cast<int32_t>(capacities.size());
    for (size_t k = 0; k < capacities.size(); ++k) {
        net.ChannelTypes[k + 1].Capacity = capacities[k];
    }
}

}  // namespace testing_support
