// The delay bound over the seeded family of loaded networks: every network
// reaches the gap well within the pass guard with a routing that carries
// each demand exactly, below every capacity, and whose mean delay is the
// upper figure; the lower figure is below the single-path routings'. The
// pass guard stops exactly at its limit.
#include "loaded_networks.h"

#include <gtest/gtest.h>

#include <cmath>

#include "busiest_bound.h"
#include "delay_bound.h"
#include "delay_model.h"
#include "routing_quality.h"

namespace {

using optimize::DelayBound;
using optimize::LinkGraph;

// Each share a path from the demand's row host to its column host, the
// shares summing to the load, the link flows the sum of the shares, every
// flow below capacity and the upper figure the routing's mean delay.
void ExpectSoundRouting(const LinkGraph& graph, const DelayBound& bound) {
    std::vector<double> flow(graph.Links.size(), 0.0);
    double load = 0.0;
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        const optimize::Demand& demand = graph.Demands[d];
        double carried = 0.0;
        for (const optimize::PathShare& share : bound.Routing.Shares[d]) {
            EXPECT_GE(share.Flow, 0.0);
            int32_t at = demand.Row;
            for (const int32_t l : share.Links) {
                const optimize::Link& link = graph.Links[l];
                ASSERT_TRUE(link.HostA == at || link.HostB == at);
                at = link.HostA == at ? link.HostB : link.HostA;
                flow[l] += share.Flow;
            }
            EXPECT_EQ(at, demand.Column);
            carried += share.Flow;
        }
        EXPECT_NEAR(carried, demand.Load, 1e-9 * demand.Load);
        load += demand.Load;
    }
    double delay = 0.0;
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        const optimize::Link& link = graph.Links[l];
        EXPECT_NEAR(bound.Routing.Flow[l], flow[l], 1e-9 * link.Capacity);
        if (flow[l] == 0.0)
            continue;
        ASSERT_LT(bound.Routing.Flow[l], link.Capacity);
        delay += optimize::LinkDelay(bound.Routing.Flow[l], link.Capacity);
    }
    EXPECT_NEAR(bound.Upper, delay / load, 1e-9 * bound.Upper);
}

void ExpectFamilyCertified(double busiest, uint32_t seeds) {
    for (uint32_t seed = 1; seed <= seeds; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " at " + std::to_string(busiest));
        const net::TNetObj net = loaded_networks::Loaded(seed, busiest);
        const optimize::QualityReport report = optimize::AnalyzeQuality(net);
        ASSERT_TRUE(report.Bounds.BusiestMin);
        // The family is what it says: the rounding of the loads moves the
        // busiest channel by little.
        EXPECT_NEAR(*report.Bounds.BusiestMin, busiest, 0.01);
        ASSERT_TRUE(report.Bounds.Delay);
        const DelayBound& bound = *report.Bounds.Delay;
        EXPECT_TRUE(bound.GapReached);
        EXPECT_LT(bound.Passes, optimize::MaxDelayPasses / 10);
        EXPECT_LE(bound.Lower, bound.Upper);
        EXPECT_LE(bound.Upper - bound.Lower, optimize::RelativeGap * bound.Upper);
        ExpectSoundRouting(report.Graph, bound);
        // Single-path routings of every demand are splittable routings too.
        for (const optimize::RoutingFigures* figures : {&report.Greedy, &report.Improved}) {
            if (figures->Unplaced == 0) {
                EXPECT_LE(bound.Lower, *figures->MeanDelay * (1 + 1e-12));
            }
        }
    }
}

TEST(DelayBoundFamily, AtNinetyPercentEveryNetworkReachesTheGap) {
    ExpectFamilyCertified(0.90, 20);
}

TEST(DelayBoundFamily, AtNinetySevenPercentEveryNetworkReachesTheGap) {
    ExpectFamilyCertified(0.97, 20);
}

TEST(DelayBoundFamily, ThePassGuardStopsExactlyAtItsLimit) {
    const LinkGraph graph = optimize::BuildLinkGraph(loaded_networks::Loaded(3, 0.97));
    const optimize::SplitRouting start = optimize::FindBusiestBound(graph).Routing;
    const DelayBound free = optimize::FindDelayBound(graph, start);
    ASSERT_TRUE(free.GapReached);
    const int needed = free.Passes;
    ASSERT_GT(needed, 2);
    // At the limit: the same run. One pass short: stopped there, not after.
    const DelayBound atLimit = optimize::FindDelayBound(graph, start, needed);
    EXPECT_TRUE(atLimit.GapReached);
    EXPECT_EQ(atLimit.Passes, needed);
    EXPECT_EQ(atLimit.Upper, free.Upper);
    const DelayBound short1 = optimize::FindDelayBound(graph, start, needed - 1);
    EXPECT_FALSE(short1.GapReached);
    EXPECT_EQ(short1.Passes, needed - 1);
    EXPECT_GT(short1.Upper - short1.Lower, optimize::RelativeGap * short1.Upper);
    // Passes only lower the mean delay and raise the bound.
    EXPECT_GE(short1.Upper, free.Upper);
    EXPECT_LE(short1.Lower, free.Lower);
}

}  // namespace
