// Whole-topology builders: star, full mesh, removal of every channel and the
// minimum spanning tree by channel length (over the present channels or over
// every pair of present hosts).
//
// A builder makes many channel changes in a row, so it keeps DynamicRouting
// clear while it works and routes at most once, at its end. When AddChannel
// meets a full channel table its error ends the builder; the guard puts
// DynamicRouting back on the way out.
#include <cassert>
#include <utility>

#include "netobj.h"

namespace net {
namespace {

// Lengths closer than this count as equal in the sort of the spanning tree.
constexpr double LengthTolerance = 0.01;
// The spanning tree is complete once it holds one channel fewer than there
// are host slots.
constexpr int32_t TreeChannelLimit = MaxHosts - 1;

}  // namespace

void TNetObj::BuildStar(int32_t centre, int32_t type) {
    {
        DynamicSuspension suspended(*this);
        if (IsHostNumber(centre) && HostPresent[centre]) {
            for (int32_t h = 1; h <= MaxHosts; ++h) {
                if (HostPresent[h] && h != centre)
                    AddChannel(centre, h, type);
            }
        }
    }
    RecomputeIfDynamic();
}

void TNetObj::BuildFullMesh(int32_t type) {
    {
        DynamicSuspension suspended(*this);
        for (int32_t i = 1; i < MaxHosts; ++i) {
            for (int32_t j = i + 1; j <= MaxHosts; ++j) {
                if (HostPresent[i] && HostPresent[j])
                    AddChannel(i, j, type);
            }
        }
    }
    RecomputeIfDynamic();
}

void TNetObj::DeleteAllChannels() {
    // No routing of its own: the redraw that follows in the windows applies
    // the dynamic rule.
    DynamicSuspension suspended(*this);
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        DeleteChannel(c);
    }
}

void TNetObj::MergeLabels(int32_t a, int32_t b) {
    assert(IsHostNumber(a) && IsHostNumber(b));
    const int32_t low = a < b ? a : b;
    const int32_t high = a < b ? b : a;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (TreeLabel[h] == high)
            TreeLabel[h] = low;
    }
}

void TNetObj::BuildSpanningTree() {
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        TreeLabel[h] = h;
    }
    TreeChosen.fill(false);

    int32_t n = 0;
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!ChannelPresent[c])
            continue;
        ++n;
        SortedLength[n] = Channels[c].Length;
        SortedChannel[n] = c;
    }

    // Exchange sort: an entry moves ahead only when it is shorter by more
    // than the tolerance, so nearly equal lengths keep whatever order the
    // earlier exchanges left them in.
    for (int32_t k = 1; k < n; ++k) {
        for (int32_t l = k + 1; l <= n; ++l) {
            if (SortedLength[l] - SortedLength[k] < -LengthTolerance) {
                std::swap(SortedLength[k], SortedLength[l]);
                std::swap(SortedChannel[k], SortedChannel[l]);
            }
        }
    }

    int32_t chosen = 0;
    for (int32_t p = 1; p <= n && chosen < TreeChannelLimit; ++p) {
        const ChannelRecord& channel = Channels[SortedChannel[p]];
        // A channel whose ends are not host numbers joins nothing and is
        // passed over like one that closes a cycle.
        if (!IsHostNumber(channel.HostA) || !IsHostNumber(channel.HostB))
            continue;
        const int32_t labelA = TreeLabel[channel.HostA];
        const int32_t labelB = TreeLabel[channel.HostB];
        if (labelA == labelB)
            continue;
        TreeChosen[p] = true;
        MergeLabels(labelA, labelB);
        ++chosen;
    }

    {
        DynamicSuspension suspended(*this);
        for (int32_t p = 1; p <= n; ++p) {
            if (!TreeChosen[p])
                DeleteChannel(SortedChannel[p]);
        }
    }
    RecomputeIfDynamic();
}

void TNetObj::BuildSpanningTreeOverAll(int32_t type) {
    // Routing is held back over the additions as well as the deletions, so
    // that it runs once, on the finished tree.
    {
        DynamicSuspension suspended(*this);
        for (int32_t i = 1; i < MaxHosts; ++i) {
            for (int32_t j = i + 1; j <= MaxHosts; ++j) {
                if (HostPresent[i] && HostPresent[j])
                    AddChannel(i, j, type);
            }
        }
        BuildSpanningTree();
    }
    RecomputeIfDynamic();
}

}  // namespace net
