// Small helpers shared by the algorithms that walk the channels as a graph.
#pragma once

#include <cstdint>

#include "netobj.h"

namespace net {

using HostSet = uint32_t;  // bit n stands for host n

constexpr HostSet Bit(int32_t host) {
    return HostSet{1} << host;
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

// The present channels as a symmetric matrix: true where a channel joins
// the two hosts.
inline HostMatrix<bool> Adjacency(const TNetObj& net) {
    HostMatrix<bool> adjacency{};
    ForEachPresentLink(net, [&adjacency](int32_t a, int32_t b) {
        adjacency[a][b] = true;
        adjacency[b][a] = true;
    });
    return adjacency;
}

}  // namespace net
