// Helpers shared by the model tests.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "errors.h"
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

// The bytes of a type file holding one record per (first field, Value2).
template <typename Type>
std::vector<uint8_t> TypeFile(const std::vector<std::pair<int32_t, int32_t>>& values,
                              int32_t Type::*first, size_t size,
                              void (*encode)(const Type&, uint8_t*)) {
    std::vector<uint8_t> bytes(values.size() * size);
    for (size_t k = 0; k < values.size(); ++k) {
        Type t;
        t.*first = values[k].first;
        t.Value2 = values[k].second;
        encode(t, bytes.data() + k * size);
    }
    return bytes;
}

// Writes HostInfo.hi and ChanInfo.ci into the working directory.
inline void WriteTypeFiles(const std::vector<std::pair<int32_t, int32_t>>& hostTypes,
                           const std::vector<std::pair<int32_t, int32_t>>& channelTypes) {
    WriteBytes("HostInfo.hi",
               TypeFile(hostTypes, &net::HostType::Value1, net::HostTypeSize, net::EncodeHostType));
    WriteBytes("ChanInfo.ci", TypeFile(channelTypes, &net::ChannelType::Capacity,
                                       net::ChannelTypeSize, net::EncodeChannelType));
}

// Channel types 1.. with the given capacities.
inline void SetCapacities(net::TNetObj& net, const std::vector<int32_t>& capacities) {
    net.ChannelTypeCount = static_cast<int32_t>(capacities.size());
    for (size_t k = 0; k < capacities.size(); ++k) {
        net.ChannelTypes[k + 1].Capacity = capacities[k];
    }
}

// The message of the `Error` that `action` fails with, or "(no error)".
template <typename Error = net::NetError>
std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

inline int PresentHosts(const net::TNetObj& net) {
    int n = 0;
    for (int h = 1; h <= net::MaxHosts; ++h)
        n += net.HostPresent[h];
    return n;
}

inline int PresentChannels(const net::TNetObj& net) {
    int n = 0;
    for (int c = 1; c <= net::MaxChannels; ++c)
        n += net.ChannelPresent[c];
    return n;
}

// How Links() writes a channel: "a-b", "a-b/type", "slot:a-b" or "slot:a-b/type".
enum class LinkForm { Ends, EndsAndType, SlotAndEnds, SlotEndsAndType };

// The present channels in slot order, separated by blanks; given `before`,
// only those absent there (what an operation added).
inline std::string Links(const net::TNetObj& net, LinkForm form = LinkForm::Ends,
                         const net::TNetObj* before = nullptr) {
    std::string text;
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c] || (before != nullptr && before->ChannelPresent[c]))
            continue;
        if (!text.empty())
            text += " ";
        const net::ChannelRecord& r = net.Channels[c];
        if (form == LinkForm::SlotAndEnds || form == LinkForm::SlotEndsAndType)
            text += std::to_string(c) + ":";
        text += std::to_string(r.HostA) + "-" + std::to_string(r.HostB);
        if (form == LinkForm::EndsAndType || form == LinkForm::SlotEndsAndType)
            text += "/" + std::to_string(r.TypeNo);
    }
    return text;
}

using Pairs = std::vector<std::pair<int, int>>;

// Hosts of type 1 named "a", "b", ... at the places given, in slot order.
inline void AddHosts(net::TNetObj& net, const Pairs& places) {
    char name = 'a';
    for (const auto& [x, y] : places)
        net.AddHost(x, y, std::string(1, name++), 1);
}

// Channels of `type` between the pairs given, in slot order.
inline void AddChannels(net::TNetObj& net, const Pairs& ends, int type = 1) {
    for (const auto& [a, b] : ends)
        net.AddChannel(a, b, type);
}

// Hosts 1..hosts at `place(h)` with channels of type 1 (capacity 5000)
// between the pairs given; the hosts in `absent` are deleted afterwards.
template <typename Place>
net::TNetObj Network(int hosts, const Pairs& channels, const std::vector<int>& absent,
                     Place place) {
    net::TNetObj net;
    SetCapacities(net, {5000});
    for (int h = 1; h <= hosts; ++h) {
        const auto [x, y] = place(h);
        net.AddHost(x, y, "", 1);
    }
    AddChannels(net, channels);
    for (int h : absent)
        net.DeleteHost(h);
    return net;
}

}  // namespace testing_support
