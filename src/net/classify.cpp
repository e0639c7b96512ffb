// Connectivity class: disconnected, connected or biconnected.
#include "netobj.h"

namespace net {
namespace {

using HostSet = uint32_t;  // bit n stands for host n

constexpr HostSet Bit(int32_t host) {
    return HostSet{1} << host;
}

}  // namespace

bool TNetObj::ReachesAll(const HostMatrix<int32_t>& adjacency, int32_t excluded) const {
    HostSet target = 0;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (HostPresent[h] && h != excluded)
            target |= Bit(h);
    }
    if (target == 0)
        return false;
    int32_t start = 1;
    while ((target & Bit(start)) == 0) {
        ++start;
    }
    HostSet reached = Bit(start);
    for (int sweep = 0; sweep < MaxHosts && reached != target; ++sweep) {
        for (int32_t a = 1; a <= MaxHosts; ++a) {
            if ((reached & Bit(a)) == 0)
                continue;
            for (int32_t b = 1; b <= MaxHosts; ++b) {
                if ((target & Bit(b)) != 0 && adjacency[a][b] != 0)
                    reached |= Bit(b);
            }
        }
    }
    return reached == target;
}

ConnectivityClass TNetObj::Classify() const {
    HostMatrix<int32_t> adjacency{};
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!ChannelPresent[c])
            continue;
        const int32_t a = Channels[c].HostA;
        const int32_t b = Channels[c].HostB;
        // A present channel always joins two host slots; ends read from a
        // file are checked when it is loaded.
        if (a < 1 || a > MaxHosts || b < 1 || b > MaxHosts)
            continue;
        adjacency[a][b] = 2;
        adjacency[b][a] = 2;
    }
    if (!ReachesAll(adjacency, 0))
        return Disconnected;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (HostPresent[h] && !ReachesAll(adjacency, h))
            return Connected;
    }
    return Biconnected;
}

}  // namespace net
