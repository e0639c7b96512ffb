#include "netobj.h"

#include <cassert>
#include <cmath>
#include <cstdlib>

#include "cp1251.h"

namespace net {

void TNetObj::Reset() {
    NetworkName = "новый";
    HostCount = 0;
    ChannelCount = 0;
    DelayMatrix = {};
    GeneralReal = 0.0;
    LoadMatrix = {};
    PathTable = {};
    Unrouted = {};
    HostPresent.fill(false);
    ChannelPresent.fill(false);
    DynamicRouting = false;
    LoadTypeTables();
}

std::string TNetObj::HostName(int32_t host) const {
    assert(IsHostNumber(host));
    const HostRecord& record = Hosts[host];
    const std::string raw(record.NameChars.begin(), record.NameChars.begin() + record.NameLength);
    return Cp1251ToUtf8(raw);
}

double TNetObj::HostDistance(int32_t hostA, int32_t hostB) const {
    // 64-bit differences and squares: positions read from a file may lie far
    // apart, and the 32-bit products would overflow.
    const int64_t dx = int64_t{Hosts[hostA].X} - Hosts[hostB].X;
    const int64_t dy = int64_t{Hosts[hostA].Y} - Hosts[hostB].Y;
    const auto ax = static_cast<uint64_t>(dx < 0 ? -dx : dx);
    const auto ay = static_cast<uint64_t>(dy < 0 ? -dy : dy);
    // The sum is exact in 128 bits and rounded once to double; its root is
    // taken in double precision, as the lengths stored in channels.cs are.
    const unsigned __int128 squares = static_cast<unsigned __int128>(ax * ax) + ay * ay;
    return std::sqrt(static_cast<double>(squares));
}

}  // namespace net
