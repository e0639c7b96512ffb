// Designs made cheaper by exchanging channels, and designs from slope
// scaling: on hand-worked networks they find what dropping channels or a
// single routing cannot, and on seeded cases whatever they return carries
// the load by the busiest-channel bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "design_cases.h"
#include "design_check.h"
#include "design_problem.h"
#include "design_test_support.h"
#include "search_clock.h"
#include "slope_scaling.h"
#include "start_design.h"

namespace {

using namespace design;
using design_testing::Slack;

// Whether a design carries the load by the independent bound (and, with
// survive, after each single failure at full capacity).
void ExpectCarried(const DesignProblem& problem, const PairTypes& types, const char* what) {
    const net::TNetObj net = NetWithDesign(problem, types);
    EXPECT_LE(design_testing::SmallestBusiest(net), problem.Umax + Slack) << what;
    if (problem.Survive) {
        EXPECT_LE(design_testing::WorstFailureBusiest(net), 1.0 + Slack) << what;
    }
}

// Only hosts 1 and 2 exchange load; the design reaches 2 from 1 through 3.
// Dropping cannot help (either channel cut leaves 1 and 2 apart), but
// putting the channel 3-2 on 1-2 instead costs less, after which 1-3 serves
// nothing.
TEST(SwapSearch, ExchangeFindsTheDirectChannel) {
    const net::TNetObj net =
        design_testing::Network({{0, 0}, {100, 0}, {0, 100}}, {{1, 2, 3000}, {2, 1, 1000}});
    const DesignProblem problem = BuildDesignProblem(net, DesignOptions{false, false, 0.8});
    // Pairs in order 1-2, 1-3, 2-3.
    const PairTypes detour = {0, 1, 1};
    ASSERT_TRUE(CheckLoad(problem, detour, 0.8).Carried);
    SearchClock clock(60.0, nullptr);
    EXPECT_EQ(ImproveByDropping(problem, detour, clock, 30.0), detour);
    // 4000 at 0.8 fills the smallest type exactly.
    EXPECT_EQ(ImproveBySwapping(problem, detour, clock, 30.0), (PairTypes{1, 0, 0}));
}

// A design no exchange makes cheaper is returned as it is: here the
// cheapest channel that carries the load already.
TEST(SwapSearch, LeavesACheapestDesignAlone) {
    const net::TNetObj net = design_testing::Network({{0, 0}, {100, 0}, {0, 100}}, {{1, 2, 4001}});
    const DesignProblem problem = BuildDesignProblem(net, DesignOptions{false, false, 0.8});
    SearchClock clock(60.0, nullptr);
    // One over what the smallest type holds at 0.8: the second type.
    const PairTypes direct = {2, 0, 0};
    EXPECT_EQ(ImproveBySwapping(problem, direct, clock, 30.0), direct);
}

// From the grown start design of seeded cases, with and without survive:
// never dearer, still carried, and in some cases cheaper (so exchanges were
// taken, not only tried).
TEST(SwapSearch, SeededDesignsStayCarriedAndNeverDearer) {
    int32_t cheaper = 0;
    for (const bool survive : {false, true}) {
        for (const uint32_t seed : {11u, 12u}) {
            const auto problem = std::make_unique<DesignProblem>(
                BuildDesignProblem(SyntheticDesignCase({survive ? 5 : 6, true, 100, 900, seed}),
                                   DesignOptions{false, survive, 0.8}));
            SearchClock clock(60.0, nullptr);
            const auto start = GrowStartDesign(*problem, clock, 30.0);
            ASSERT_TRUE(start.has_value()) << seed;
            const PairTypes swapped = ImproveBySwapping(*problem, *start, clock, 30.0);
            EXPECT_LE(DesignCost(*problem, swapped), DesignCost(*problem, *start) * (1 + 1e-12))
                << seed;
            ExpectCarried(*problem, swapped, survive ? "survive" : "plain");
            cheaper += DesignCost(*problem, swapped) < DesignCost(*problem, *start) ? 1 : 0;
        }
    }
    EXPECT_GE(cheaper, 2);
}

// 1-2 and 2-3 carry much, 1-3 little. Routed at the channels' full-use
// prices the little load goes straight (200 against 2 x 102), which buys a
// third channel; priced by what that channel costs per unit it carries, it
// goes round through host 2, whose channels have room.
TEST(SlopeScaling, GathersSmallLoadsOnFilledChannels) {
    const net::TNetObj net = design_testing::Network({{0, 0}, {100, 20}, {200, 0}},
                                                     {{1, 2, 1000}, {2, 3, 1000}, {1, 3, 100}});
    const DesignProblem problem = BuildDesignProblem(net, DesignOptions{false, false, 0.8});
    SearchClock clock(60.0, nullptr);
    const std::vector<PairTypes> designs = SlopeScalingDesigns(problem, clock, 30.0);
    ASSERT_FALSE(designs.empty());
    // Pairs in order 1-2, 1-3, 2-3.
    EXPECT_EQ(designs.front(), (PairTypes{1, 0, 1}));
    EXPECT_NE(std::find(designs.begin(), designs.end(), PairTypes{1, 1, 1}), designs.end());
}

// With the first prices plain and scattered by a few seeds: every design
// carries, cheapest first, each once; and the scattered prices do lead
// elsewhere.
TEST(SlopeScaling, SeededDesignsCarryCheapestFirst) {
    for (const uint32_t seed : {21u, 22u, 23u}) {
        const auto problem = std::make_unique<DesignProblem>(BuildDesignProblem(
            SyntheticDesignCase({9, seed % 2 == 0, 100, 1500, seed}), DesignOptions{}));
        SearchClock clock(60.0, nullptr);
        std::vector<PairTypes> cheapest;
        for (const uint32_t scatter : {0u, 1u, 2u, 3u}) {
            const std::vector<PairTypes> designs =
                SlopeScalingDesigns(*problem, clock, 30.0, scatter);
            ASSERT_FALSE(designs.empty()) << seed << " " << scatter;
            cheapest.push_back(designs.front());
            for (size_t i = 0; i < designs.size(); ++i) {
                ExpectCarried(*problem, designs[i], "slope");
                if (i > 0) {
                    EXPECT_LE(DesignCost(*problem, designs[i - 1]),
                              DesignCost(*problem, designs[i]));
                    EXPECT_NE(designs[i - 1], designs[i]);
                }
            }
        }
        EXPECT_NE(std::count(cheapest.begin(), cheapest.end(), cheapest.front()),
                  static_cast<std::ptrdiff_t>(cheapest.size()))
            << seed;
    }
}

}  // namespace
