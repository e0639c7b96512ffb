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

}  // namespace
