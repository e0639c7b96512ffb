// The improved single-path routing over seeded random networks: never worse
// than the greedy one, a local optimum no single move improves (checked by
// trying every simple path), and what it applies is what it reports.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "delay_model.h"
#include "routing_quality.h"
#include "test_support.h"
#include "texts.h"

namespace {

using optimize::LinkGraph;
using optimize::SinglePathRouting;

net::TNetObj RandomNetwork(std::mt19937& random) {
    net::TNetObj net;
    testing_support::SetCapacities(net, {800, 1500, 3000, 6000});
    const int hosts = std::uniform_int_distribution<int>(3, 8)(random);
    for (int h = 1; h <= hosts; ++h)
        net.AddHost(30 * h, 25 * (h % 4), "", 1);
    std::uniform_int_distribution<int> type(1, 4);
    for (int a = 1; a <= hosts; ++a) {
        for (int b = a + 1; b <= hosts; ++b) {
            if (std::bernoulli_distribution(0.5)(random))
                net.AddChannel(a, b, type(random));
        }
    }
    std::uniform_int_distribution<int> load(0, 1600);
    for (int i = 1; i <= hosts; ++i) {
        for (int j = 1; j <= hosts; ++j) {
            if (i != j && std::bernoulli_distribution(0.45)(random))
                net.LoadMatrix[i][j] = load(random);
        }
    }
    return net;
}

double SummedDelay(const LinkGraph& graph, const std::vector<int64_t>& flow) {
    double sum = 0;
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        if (graph.Links[l].Carries() && flow[l] > 0)
            sum += optimize::LinkDelay(static_cast<double>(flow[l]), graph.Links[l].Capacity);
    }
    return sum;
}

// Every simple path between two hosts, as host lists.
std::vector<std::vector<int32_t>> SimplePaths(const LinkGraph& graph, int32_t from, int32_t to) {
    std::vector<std::vector<int32_t>> paths;
    std::vector<int32_t> path{from};
    std::function<void()> extend = [&] {
        if (path.back() == to) {
            paths.push_back(path);
            return;
        }
        for (int32_t next = 1; next <= net::MaxHosts; ++next) {
            if (graph.LinkOf(path.back(), next) < 0 ||
                std::find(path.begin(), path.end(), next) != path.end())
                continue;
            path.push_back(next);
            extend();
            path.pop_back();
        }
    };
    extend();
    return paths;
}

bool Fits(const LinkGraph& graph, const std::vector<int64_t>& flow) {
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        const optimize::Link& link = graph.Links[l];
        if (flow[l] > 0 && (!link.Carries() || link.Capacity - flow[l] < 1))
            return false;
    }
    return true;
}

// No demand alone can move to another path, or be placed, with a lower
// summed delay while every residual stays at 1 or more.
void ExpectNoSingleMoveHelps(const LinkGraph& graph, const SinglePathRouting& routing) {
    const double current = SummedDelay(graph, routing.Flow);
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        const optimize::Demand& demand = graph.Demands[d];
        std::vector<int64_t> without = routing.Flow;
        for (const int32_t l : optimize::LinksOfPath(graph, routing.Paths[d]))
            without[l] -= demand.Load;
        for (const auto& hosts : SimplePaths(graph, demand.Row, demand.Column)) {
            std::vector<int64_t> moved = without;
            for (const int32_t l : optimize::LinksOfPath(graph, hosts))
                moved[l] += demand.Load;
            if (!Fits(graph, moved))
                continue;
            EXPECT_FALSE(routing.Paths[d].empty())
                << "demand " << demand.Row << "-" << demand.Column << " could be placed";
            EXPECT_GE(SummedDelay(graph, moved), current * (1 - 1e-9))
                << "demand " << demand.Row << "-" << demand.Column << " could move";
        }
    }
}

bool SameDemandsPlaced(const SinglePathRouting& a, const SinglePathRouting& b) {
    for (size_t d = 0; d < a.Paths.size(); ++d) {
        if (a.Paths[d].empty() != b.Paths[d].empty())
            return false;
    }
    return true;
}

TEST(ImprovedRouting, NeverWorseThanGreedyAndNoSingleMoveImprovesIt) {
    int improvedSomewhere = 0;
    int placedMoreSomewhere = 0;
    int withDelayBound = 0;
    int gapReached = 0;
    for (uint32_t seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const net::TNetObj net = RandomNetwork(random);
        const optimize::QualityReport report = optimize::AnalyzeQuality(net);
        const optimize::RoutingFigures& greedy = report.Greedy;
        const optimize::RoutingFigures& improved = report.Improved;
        ASSERT_GE(improved.Placed, greedy.Placed);
        ASSERT_GE(improved.PlacedLoad, greedy.PlacedLoad);
        ASSERT_TRUE(Fits(report.Graph, report.ImprovedRouting.Flow));
        if (SameDemandsPlaced(report.GreedyRouting, report.ImprovedRouting) && greedy.MeanDelay) {
            EXPECT_LE(*improved.MeanDelay, *greedy.MeanDelay * (1 + 1e-12));
            improvedSomewhere += *improved.MeanDelay < *greedy.MeanDelay * (1 - 1e-9);
        }
        placedMoreSomewhere += improved.Placed > greedy.Placed;
        ExpectNoSingleMoveHelps(report.Graph, report.ImprovedRouting);
        // A single-path routing of every connected demand is one splittable
        // routing: the bounds are below it.
        if (improved.Placed == report.Bounds.Carried && improved.Busiest) {
            EXPECT_LE(*report.Bounds.BusiestMin, *improved.Busiest + 1e-9);
            if (report.Bounds.Delay)
                EXPECT_LE(report.Bounds.Delay->Lower, *improved.MeanDelay * (1 + 1e-12));
        }
        if (report.Bounds.Delay) {
            const optimize::DelayBound& delay = *report.Bounds.Delay;
            EXPECT_LE(delay.Lower, delay.Upper);
            EXPECT_EQ(delay.GapReached, delay.Upper - delay.Lower <= 1e-6 * delay.Upper);
            gapReached += delay.GapReached;
            withDelayBound += 1;
        }
    }
    // The seeds are chosen so that the search has work to do.
    EXPECT_GT(improvedSomewhere, 5);
    EXPECT_GT(placedMoreSomewhere, 0);
    // Also where the optimum runs links within a few percent of capacity.
    EXPECT_EQ(gapReached, withDelayBound);
}

TEST(ImprovedRouting, AppliedRoutingIsWhatTheReportDescribes) {
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        net::TNetObj net = RandomNetwork(random);
        const optimize::QualityReport report = optimize::AnalyzeQuality(net);
        optimize::ApplyImprovedRouting(net);
        EXPECT_EQ(net.PathTable.PathCount, report.Improved.Placed);
        EXPECT_EQ(net.Unrouted.Count, report.Improved.Unplaced);
        // The method's own figures: a path's delay sum plus its channel
        // count is its sum of 10000 / residual.
        double weighted = 0;
        for (int32_t p = 1; p <= net.PathTable.PathCount; ++p) {
            const net::PathRecord& record = net.PathTable.Records[p];
            const int32_t load = net.LoadMatrix[record[1]][record[record[0]]];
            weighted += load * (net::PathDelay(net, p) + (record[0] - 1));
            for (int32_t k = 1; k < record[0]; ++k)
                EXPECT_GE(net.ResidualMatrix[record[k]][record[k + 1]], 1);
        }
        if (report.Improved.MeanDelay)
            EXPECT_NEAR(weighted / report.Improved.PlacedLoad, *report.Improved.MeanDelay,
                        1e-9 * *report.Improved.MeanDelay);
        // Applying again changes nothing: the improved routing of the
        // greedy one does not depend on what was applied before.
        net::TNetObj again = net;
        optimize::ApplyImprovedRouting(again);
        EXPECT_EQ(again.PathTable, net.PathTable);
        EXPECT_EQ(again.ResidualMatrix, net.ResidualMatrix);
    }
}

}  // namespace
