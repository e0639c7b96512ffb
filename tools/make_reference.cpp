// Builds the binary reference files HostInfo.hi and ChanInfo.ci from their
// readable text sources: make_reference HOST_TXT CHANNEL_TXT OUTPUT_DIR.
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "netobj.h"

namespace {

// Pairs of integers, one pair a line; blank lines and "#" comments skipped.
std::vector<std::pair<int32_t, int32_t>> ReadPairs(const char* path) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error(std::string("cannot read ") + path);
    std::vector<std::pair<int32_t, int32_t>> pairs;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        int32_t first = 0;
        int32_t second = 0;
        if (!(words >> first >> second))
            throw std::runtime_error("bad line in " + std::string(path) + ": " + line);
        pairs.emplace_back(first, second);
    }
    if (pairs.size() > net::MaxTypes)
        throw std::runtime_error(std::string("too many types in ") + path);
    return pairs;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_reference HOST_TXT CHANNEL_TXT OUTPUT_DIR\n";
        return 2;
    }
    try {
        std::vector<uint8_t> hosts;
        for (const auto& [value1, value2] : ReadPairs(argv[1])) {
            net::HostType t;
            t.Value1 = value1;
            t.Value2 = value2;
            hosts.resize(hosts.size() + net::HostTypeSize);
            net::EncodeHostType(t, hosts.data() + hosts.size() - net::HostTypeSize);
        }
        std::vector<uint8_t> channels;
        for (const auto& [capacity, value2] : ReadPairs(argv[2])) {
            net::ChannelType t;
            t.Capacity = capacity;
            t.Value2 = value2;
            channels.resize(channels.size() + net::ChannelTypeSize);
            net::EncodeChannelType(t, channels.data() + channels.size() - net::ChannelTypeSize);
        }
        Write(std::string(argv[3]) + "/HostInfo.hi", hosts);
        Write(std::string(argv[3]) + "/ChanInfo.ci", channels);
    } catch (const std::exception& e) {
        std::cerr << "make_reference: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
