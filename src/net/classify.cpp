// Connectivity class: disconnected, connected or biconnected.
#include "host_sets.h"
#include "netobj.h"

namespace net {
namespace {}  // namespace

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
    ForEachPresentLink(*this, [&adjacency](int32_t a, int32_t b) {
        adjacency[a][b] = 2;
        adjacency[b][a] = 2;
    });
    if (!ReachesAll(adjacency, 0))
        return Disconnected;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (HostPresent[h] && !ReachesAll(adjacency, h))
            return Connected;
    }
    return Biconnected;
}

}  // namespace net
