// The advisor's optimum equals the cheapest of all designs of four hosts,
// enumerated and checked one by one by the busiest-channel bound.
#include <algorithm>
#include <array>
#include <cmath>

#include "design_test_support.h"
#include "network_cost.h"

namespace {

using namespace design_testing;

const std::vector<Place> FourPlaces = {{100, 100}, {300, 80}, {120, 300}, {340, 320}};

struct Candidate {
    double Cost = 0.0;
    std::array<int32_t, 6> Types{};  // per pair, 0 for no channel
};

net::TNetObj WithChannels(const net::TNetObj& net, const std::array<int32_t, 6>& types) {
    static const std::array<std::pair<int32_t, int32_t>, 6> pairs = {
        {{1, 2}, {1, 3}, {1, 4}, {2, 3}, {2, 4}, {3, 4}}};
    net::TNetObj result = net;
    for (size_t p = 0; p < pairs.size(); ++p) {
        if (types[p] > 0)
            result.AddChannel(pairs[p].first, pairs[p].second, types[p]);
    }
    return result;
}

// All 4^6 choices of no channel or one of the three types per pair, cheapest
// first; the first that carries the load is the optimum.
double EnumeratedOptimum(const net::TNetObj& net, double umax, bool survive) {
    std::vector<Candidate> all;
    for (int32_t code = 0; code < 4096; ++code) {
        Candidate candidate;
        for (int32_t p = 0; p < 6; ++p)
            candidate.Types[p] = (code >> (2 * p)) & 3;
        candidate.Cost = net::NetworkCost(WithChannels(net, candidate.Types)).Cost;
        all.push_back(candidate);
    }
    std::sort(all.begin(), all.end(),
              [](const Candidate& a, const Candidate& b) { return a.Cost < b.Cost; });
    for (const Candidate& candidate : all) {
        const net::TNetObj designed = WithChannels(net, candidate.Types);
        if (SmallestBusiest(designed) > umax + Slack)
            continue;
        if (survive && WorstFailureBusiest(designed) > 1.0 + Slack)
            continue;
        return candidate.Cost;
    }
    return std::numeric_limits<double>::infinity();
}

struct OptimumCase {
    const char* Name;
    std::vector<Demand> Demands;
    double Umax;
    bool Survive;
};

class AdvisorOptimum : public ::testing::TestWithParam<OptimumCase> {};

TEST_P(AdvisorOptimum, EqualsTheCheapestEnumeratedDesign) {
    const OptimumCase& c = GetParam();
    const net::TNetObj net = Network(FourPlaces, c.Demands);
    const double optimum = EnumeratedOptimum(net, c.Umax, c.Survive);
    ASSERT_TRUE(std::isfinite(optimum));

    design::NetworkDesign advisor(net);
    advisor.maxUtilisation(c.Umax).survive(c.Survive).timeLimit(20);
    ASSERT_EQ(advisor.run(), design::DesignStatus::Optimal);
    const design::DesignResult& result = advisor.result();
    ASSERT_TRUE(result.Proposed);
    EXPECT_NEAR(result.Proposed->Cost, optimum, 1e-6 * optimum);
    EXPECT_NEAR(result.Bound, optimum, 1e-6 * optimum);
    const net::TNetObj applied = Applied(net, *result.Proposed);
    EXPECT_NEAR(net::NetworkCost(applied).Cost, optimum, 1e-6 * optimum);
    EXPECT_LE(SmallestBusiest(applied), c.Umax + Slack);
    if (c.Survive) {
        EXPECT_LE(WorstFailureBusiest(applied), 1.0 + Slack);
    }
}

// Loads that need a mix of types: one pair beyond the smallest type, one
// beyond two channels of it, and some small demands.
const std::vector<Demand> Mixed = {{1, 2, 4500}, {2, 1, 1000}, {1, 3, 2500}, {3, 4, 6000},
                                   {2, 4, 1500}, {4, 1, 2000}, {3, 2, 800}};
// Light loads: a tree of the cheapest type would carry them, survive needs
// a cycle.
const std::vector<Demand> Light = {{1, 2, 900}, {1, 3, 700}, {1, 4, 1100},
                                   {2, 3, 600}, {2, 4, 500}, {3, 4, 800}};

INSTANTIATE_TEST_SUITE_P(FourHosts, AdvisorOptimum,
                         ::testing::Values(OptimumCase{"mixed", Mixed, 0.8, false},
                                           OptimumCase{"mixed_survive", Mixed, 0.8, true},
                                           OptimumCase{"mixed_low_umax", Mixed, 0.5, false},
                                           OptimumCase{"light", Light, 0.8, false},
                                           OptimumCase{"light_survive", Light, 0.8, true}),
                         [](const ::testing::TestParamInfo<OptimumCase>& info) {
                             return info.param.Name;
                         });

}  // namespace
