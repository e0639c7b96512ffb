// Connectivity class: disconnected, connected or biconnected.
#include "host_sets.h"
#include "netobj.h"

namespace net {
namespace {

// Whether the present hosts other than `excluded` (0 for none) are all
// reached from the lowest of them over the adjacency; false when there are none.
bool ReachesAll(const TNetObj& net, const HostMatrix<bool>& adjacency, int32_t excluded) {
    HostSet target = 0;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (net.HostPresent[h] && h != excluded)
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
                if ((target & Bit(b)) != 0 && adjacency[a][b])
                    reached |= Bit(b);
            }
        }
    }
    return reached == target;
}

}  // namespace

ConnectivityClass TNetObj::Classify() const {
    const HostMatrix<bool> adjacency = Adjacency(*this);
    if (!ReachesAll(*this, adjacency, 0))
        return Disconnected;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (HostPresent[h] && !ReachesAll(*this, adjacency, h))
            return Connected;
    }
    return Biconnected;
}

}  // namespace net
