// Small helpers shared by the algorithms that walk the channels as a graph.
#pragma once

#include <cstdint>

#include "netobj.h"

namespace net {

using HostSet = uint32_t;  // bit n stands for host n

constexpr HostSet Bit(int32_t host) {
    return HostSet{1} << host;
}

constexpr bool IsHostNumber(int32_t n) {
    return n >= 1 && n <= MaxHosts;
}

// Calls link(a, b) for every present channel in slot order. A channel whose
// ends are not both host numbers (only a damaged file could hold one) is
// passed over, so no caller indexes outside its tables.
template <typename Link>
void ForEachPresentLink(const TNetObj& net, Link link) {
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const int32_t a = net.Channels[c].HostA;
        const int32_t b = net.Channels[c].HostB;
        if (IsHostNumber(a) && IsHostNumber(b))
            link(a, b);
    }
}

}  // namespace net
