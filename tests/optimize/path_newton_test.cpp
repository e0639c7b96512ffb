// The Newton step of the delay bound on its own, from the routings the
// bound starts from and reaches on seeded loaded networks: it keeps the
// routing sound and never raises the summed delay, and nearly exact steps
// settle the flows over a fixed set of paths where every used path of a
// demand is one of its shortest in first derivatives.
#include "path_newton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "busiest_bound.h"
#include "delay_bound.h"
#include "delay_model.h"
#include "loaded_networks.h"

namespace {

using optimize::LinkGraph;
using optimize::SplitRouting;

double SummedDelay(const LinkGraph& graph, const SplitRouting& routing) {
    double delay = 0.0;
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        if (routing.Flow[l] > 0.0)
            delay += optimize::LinkDelay(routing.Flow[l], graph.Links[l].Capacity);
    }
    return delay;
}

// Shares of no negative flow carry each demand's load, the link flows are
// their sum, and every link stays below its capacity.
void ExpectSound(const LinkGraph& graph, const SplitRouting& routing) {
    std::vector<double> flow(graph.Links.size(), 0.0);
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        double carried = 0.0;
        for (const optimize::PathShare& share : routing.Shares[d]) {
            EXPECT_GE(share.Flow, 0.0);
            carried += share.Flow;
            for (const int32_t l : share.Links)
                flow[l] += share.Flow;
        }
        if (graph.Connected[d]) {
            EXPECT_NEAR(carried, graph.Demands[d].Load, 1e-9 * graph.Demands[d].Load);
        }
    }
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        EXPECT_NEAR(routing.Flow[l], flow[l], 1e-9 * graph.Links[l].Capacity);
        if (flow[l] > 0.0) {
            EXPECT_LT(routing.Flow[l], graph.Links[l].Capacity);
        }
    }
}

// The largest share, over demands, of the gap between a used path's
// first-derivative length and the demand's shortest among its paths.
double WorstUsedPathExcess(const LinkGraph& graph, const SplitRouting& routing) {
    double worst = 0.0;
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        std::vector<double> lengths;
        for (const optimize::PathShare& share : routing.Shares[d]) {
            double length = 0.0;
            for (const int32_t l : share.Links)
                length += optimize::LinkDelayDerivative(routing.Flow[l], graph.Links[l].Capacity);
            lengths.push_back(length);
        }
        if (lengths.empty())
            continue;
        const double shortest = *std::min_element(lengths.begin(), lengths.end());
        for (size_t s = 0; s < lengths.size(); ++s) {
            if (routing.Shares[d][s].Flow > 1e-9 * graph.Demands[d].Load)
                worst = std::max(worst, (lengths[s] - shortest) / shortest);
        }
    }
    return worst;
}

TEST(NewtonStep, KeepsTheRoutingSoundAndNeverRaisesTheDelay) {
    for (const double busiest : {0.90, 0.97}) {
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " at " + std::to_string(busiest));
            const LinkGraph graph =
                optimize::BuildLinkGraph(loaded_networks::Loaded(seed, busiest));
            // Two passes of the bound give demands several paths to move
            // flow between.
            SplitRouting routing =
                optimize::FindDelayBound(graph, optimize::FindBusiestBound(graph).Routing, 2)
                    .Routing;
            for (int step = 0; step < 6; ++step) {
                const double before = SummedDelay(graph, routing);
                const SplitRouting previous = routing;
                const bool moved = optimize::NewtonStep(graph, routing, step % 2 == 1);
                ExpectSound(graph, routing);
                // Up to the rounding of the flows summed anew from the shares.
                EXPECT_LE(SummedDelay(graph, routing), before * (1 + 1e-12));
                if (!moved) {
                    EXPECT_EQ(routing.Flow, previous.Flow);
                }
            }
        }
    }
}

TEST(NewtonStep, NearlyExactStepsSettleTheFlowsOverAFixedSetOfPaths) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const LinkGraph graph = optimize::BuildLinkGraph(loaded_networks::Loaded(seed, 0.97));
        SplitRouting routing =
            optimize::FindDelayBound(graph, optimize::FindBusiestBound(graph).Routing, 3).Routing;
        for (int step = 0; step < 12; ++step)
            optimize::NewtonStep(graph, routing, true);
        ExpectSound(graph, routing);
        EXPECT_LT(WorstUsedPathExcess(graph, routing), 1e-6);
    }
}

// One demand from host 1 to host 2 over the direct channel and two detours
// of two channels each, all of one capacity C, the load L first all on the
// direct channel with both detours empty. At the optimum each detour
// carries b and the direct channel a = L - 2b, with the direct channel's
// first derivative twice a detour channel's: C - b = sqrt(2) (C - a), so
// a = (L - 2C + 2 sqrt(2) C) / (1 + 2 sqrt(2)) where that leaves b >= 0.
TEST(NewtonStep, MovesAllLoadOffOneChannelOntoEmptyDetoursToTheOptimum) {
    net::TNetObj net;
    net.ChannelTypeCount = 1;
    net.ChannelTypes[1].Capacity = 1000;
    for (int h = 0; h < 4; ++h)
        net.AddHost(100 * h, 100 * h, "", 1);
    net.AddChannel(1, 2, 1);
    net.AddChannel(1, 3, 1);
    net.AddChannel(3, 2, 1);
    net.AddChannel(1, 4, 1);
    net.AddChannel(4, 2, 1);
    const double capacity = 1000.0;
    // Up to the load at which the direct channel runs just below capacity.
    for (const int32_t load : {600, 950, 999}) {
        SCOPED_TRACE("load " + std::to_string(load));
        net.LoadMatrix[1][2] = load;
        const LinkGraph graph = optimize::BuildLinkGraph(net);
        ASSERT_EQ(graph.Demands.size(), 1u);
        SplitRouting routing;
        routing.Flow.assign(graph.Links.size(), 0.0);
        routing.Shares.resize(1);
        routing.Shares[0].push_back({optimize::LinksOfPath(graph, {1, 2}), double(load)});
        routing.Shares[0].push_back({optimize::LinksOfPath(graph, {1, 3, 2}), 0.0});
        routing.Shares[0].push_back({optimize::LinksOfPath(graph, {1, 4, 2}), 0.0});
        routing.Flow[graph.LinkOf(1, 2)] = load;
        for (int step = 0; step < 20; ++step)
            optimize::NewtonStep(graph, routing, true);
        ExpectSound(graph, routing);
        const double direct =
            (load - 2 * capacity + 2 * std::sqrt(2.0) * capacity) / (1 + 2 * std::sqrt(2.0));
        const double detour = (load - direct) / 2;
        EXPECT_NEAR(routing.Flow[graph.LinkOf(1, 2)], direct, 1e-6 * load);
        for (const int32_t via : {3, 4}) {
            EXPECT_NEAR(routing.Flow[graph.LinkOf(1, via)], detour, 1e-6 * load);
            EXPECT_NEAR(routing.Flow[graph.LinkOf(via, 2)], detour, 1e-6 * load);
        }
    }
}

}  // namespace
