// Ring construction: the first closed route from host 1 through every present
// host, in ascending order of hosts, replaces all channels.
//
// The search tries hosts in ascending order and backtracks, but descends to
// a host only when the hosts still free can be covered by a path from it
// that ends next to host 1. A table over the subsets of the free hosts,
// built once per call, answers that question, so the search never enters a
// dead branch: it decides any network within milliseconds and still finds
// the same route as the unpruned search.
#include <vector>

#include "host_sets.h"
#include "netobj.h"

namespace net {
namespace {

// Working data of one call of BuildRing.
class RingFinder {
public:
    explicit RingFinder(const TNetObj& net) {
        for (int32_t h = 1; h <= MaxHosts; ++h) {
            if (net.HostPresent[h]) {
                present_ |= Bit(h);
                ++hostCount_;
            }
        }
        ForEachPresentLink(net, [this](int32_t a, int32_t b) {
            neighbours_[a] |= Bit(b);
            neighbours_[b] |= Bit(a);
        });
        route_[1] = 1;
        free_ = present_ & ~Bit(1);
        BuildCoverTable();
    }

    // Returns true when a ring was found; Route() then holds it.
    bool Find() {
        RingSearch(2);
        return found_;
    }

    int32_t HostCount() const { return hostCount_; }
    int32_t Route(int32_t position) const { return route_[position]; }

private:
    void RingSearch(int32_t d) {
        const int32_t prev = route_[d - 1];
        for (int32_t i = 1; i <= MaxHosts; ++i) {
            if ((present_ & Bit(i)) == 0 || (neighbours_[prev] & Bit(i)) == 0)
                continue;
            if (d == hostCount_ + 1 && i == 1) {
                found_ = true;
                return;
            }
            if ((free_ & Bit(i)) != 0 && !found_ && CanFinishFrom(i)) {
                route_[d] = i;
                free_ &= ~Bit(i);
                RingSearch(d + 1);
                free_ |= Bit(i);
            }
        }
    }

    // The free hosts of the table, host 1 never among them, numbered from 0
    // in ascending order; a subset of them is a bit set over these numbers.
    void BuildCoverTable() {
        int32_t count = 0;
        for (int32_t h = 2; h <= MaxHosts; ++h) {
            if ((free_ & Bit(h)) != 0)
                index_[h] = count++;
        }
        std::array<uint32_t, MaxHosts> adjacent{};
        uint32_t nextToOne = 0;
        for (int32_t h = 2; h <= MaxHosts; ++h) {
            if ((free_ & Bit(h)) == 0)
                continue;
            for (int32_t g = 2; g <= MaxHosts; ++g) {
                if ((free_ & Bit(g)) != 0 && (neighbours_[h] & Bit(g)) != 0) {
                    adjacent[index_[h]] |= uint32_t{1} << index_[g];
                }
            }
            if ((present_ & Bit(1)) != 0 && (neighbours_[h] & Bit(1)) != 0) {
                nextToOne |= uint32_t{1} << index_[h];
            }
        }
        // coverEnds_[s] holds the members k of s from which a path through
        // exactly the hosts of s ends at a host joined to host 1. Smaller
        // subsets come first, so every lookup finds its entry filled.
        coverEnds_.assign(size_t{1} << count, 0);
        for (uint32_t s = 1; s < coverEnds_.size(); ++s) {
            if ((s & (s - 1)) == 0) {
                coverEnds_[s] = s & nextToOne;  // a single host must be joined to host 1
                continue;
            }
            uint32_t ends = 0;
            for (uint32_t rest = s; rest != 0; rest &= rest - 1) {
                const uint32_t k = static_cast<uint32_t>(__builtin_ctz(rest));
                const uint32_t others = s & ~(uint32_t{1} << k);
                ends |= static_cast<uint32_t>((adjacent[k] & coverEnds_[others]) != 0) << k;
            }
            coverEnds_[s] = ends;
        }
    }

    // Whether the route, moving on to the free host i, can still visit
    // every free host and return to host 1.
    bool CanFinishFrom(int32_t i) const {
        uint32_t subset = 0;
        for (int32_t h = 2; h <= MaxHosts; ++h) {
            if ((free_ & Bit(h)) != 0)
                subset |= uint32_t{1} << index_[h];
        }
        return ((coverEnds_[subset] >> index_[i]) & 1U) != 0;
    }

    HostSet present_ = 0;
    int32_t hostCount_ = 0;
    std::array<HostSet, MaxHosts + 1> neighbours_{};
    std::array<int32_t, MaxHosts + 2> route_{};
    HostSet free_ = 0;
    bool found_ = false;
    std::array<int32_t, MaxHosts + 1> index_{};
    std::vector<uint32_t> coverEnds_;
};

}  // namespace

void TNetObj::BuildRing(int32_t type) {
    RingFinder finder(*this);
    const bool found = finder.Find();
    {
        DynamicSuspension suspended(*this);
        if (found) {
            const int32_t n = finder.HostCount();
            for (int32_t c = 1; c <= MaxChannels; ++c) {
                if (ChannelPresent[c])
                    DeleteChannel(c);
            }
            for (int32_t k = 1; k < n; ++k) {
                AddChannel(finder.Route(k), finder.Route(k + 1), type);
            }
            AddChannel(finder.Route(1), finder.Route(n), type);
        }
    }
    RecomputeIfDynamic();
}

}  // namespace net
