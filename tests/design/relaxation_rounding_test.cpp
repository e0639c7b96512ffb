// The capacities a linear relaxation buys, rounded to channels: pairs that
// buy too little stay empty, the others get the smallest type that holds
// what they buy, kept channels stay; and on the synthetic cases the rounded
// relaxation, repaired, carries the load.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "design_cases.h"
#include "design_check.h"
#include "design_formulation.h"
#include "design_problem.h"
#include "design_test_support.h"
#include "mip_solver.h"
#include "search_clock.h"
#include "start_design.h"

namespace {

using namespace design;

// A square with the side 1-2 kept (type 2); the reference types hold 5000,
// 10000 and 20000.
DesignProblem Square() {
    net::TNetObj net = design_testing::Network({{0, 0}, {100, 0}, {100, 100}, {0, 100}},
                                               {{1, 3, 2000}, {2, 4, 2000}});
    net.AddChannel(1, 2, 2);
    return BuildDesignProblem(net, DesignOptions{true, false, 0.8});
}

TEST(RelaxationRounding, TypesHoldWhatEachPairBuys) {
    const DesignProblem problem = Square();
    // Pairs in order 1-2 (kept), 1-3, 1-4, 2-3, 2-4, 3-4.
    ASSERT_EQ(problem.Pairs.size(), 6u);
    ASSERT_EQ(problem.Pairs[0].KeptType, 2);
    const std::vector<double> bought = {0.0, 2499.0, 2500.0, 5000.0, 5001.0, 25000.0};
    // At least half the smallest capacity (2500) to count.
    EXPECT_EQ(RoundRelaxation(problem, bought, 0.5), (PairTypes{2, 0, 1, 1, 2, 3}));
    // Everything counts.
    EXPECT_EQ(RoundRelaxation(problem, bought, 0.0), (PairTypes{2, 1, 1, 1, 2, 3}));
    // Exactly the largest capacity still fits the largest type.
    const std::vector<double> largest = {0.0, 20000.0, 10000.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(RoundRelaxation(problem, largest, 0.5), (PairTypes{2, 3, 2, 0, 0, 0}));
}

// The relaxation's capacities rounded at each share and repaired: every
// design carries the load by the busiest-channel bound, and costs at least
// what the relaxation costs.
TEST(RelaxationRounding, RepairedRoundingsCarryTheLoad) {
    for (const bool survive : {false, true}) {
        const auto problem = std::make_unique<DesignProblem>(BuildDesignProblem(
            SyntheticDesignCase({7, true, 100, 700, 8}), DesignOptions{false, survive, 0.8}));
        DesignFormulation formulation(*problem);
        LinearRelaxation relaxation(formulation.model());
        ASSERT_TRUE(relaxation.solve([] { return true; }));
        const std::vector<double> bought = formulation.pairCapacities(relaxation.solution());
        SearchClock clock(60.0, nullptr);
        int32_t repaired = 0;
        for (const double least : {0.5, 0.2, 0.05}) {
            const auto design =
                RepairDesign(*problem, RoundRelaxation(*problem, bought, least), clock, 30.0);
            if (!design)
                continue;
            ++repaired;
            EXPECT_TRUE(CheckLoad(*problem, *design, 0.8).Carried) << survive << " " << least;
            if (survive) {
                EXPECT_TRUE(FailuresNotSurvived(*problem, *design, [] { return true; }).empty())
                    << least;
            }
            EXPECT_GE(DesignCost(*problem, *design), relaxation.objective() * (1 - 1e-9));
        }
        EXPECT_GT(repaired, 0) << survive;
    }
}

}  // namespace
