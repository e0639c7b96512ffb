// The quick test an exchange search puts designs through before CheckLoad:
// on a run of random designs, tested one after another on one program (each
// solve starting from the last one's basis), it never refuses a design that
// CheckLoad accepts, and it refuses those clearly over the limit.
#include "quick_load_check.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "design_cases.h"
#include "design_check.h"
#include "design_problem.h"

namespace {

using namespace design;

struct Verdicts {
    int32_t Carried = 0;
    int32_t ClearlyNot = 0;
};

// Random designs of the problem's types, most pairs empty.
Verdicts CompareOnRandomDesigns(const DesignProblem& problem, double utilisation, bool failures,
                                uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<size_t> pick(0, problem.Types.size() * 2);
    QuickLoadCheck quick(problem);
    const auto always = [] { return true; };
    Verdicts verdicts;
    for (int32_t trial = 0; trial < 60; ++trial) {
        PairTypes types(problem.Pairs.size(), 0);
        for (int32_t& type : types) {
            const size_t chosen = pick(random);
            type = chosen < problem.Types.size() ? problem.Types[chosen].Number : 0;
        }
        int32_t failed = -1;
        if (failures) {
            std::uniform_int_distribution<int32_t> pair(0, static_cast<int32_t>(types.size()) - 1);
            failed = pair(random);
        }
        const LoadCheck check = CheckLoad(problem, types, utilisation, failed);
        const bool mayCarry = quick.mayCarry(types, utilisation, failed, always);
        if (check.Carried) {
            ++verdicts.Carried;
            EXPECT_TRUE(mayCarry) << "trial " << trial << " busiest " << check.Busiest;
        } else if (check.Disconnected || check.Busiest > utilisation * 1.01) {
            ++verdicts.ClearlyNot;
            EXPECT_FALSE(mayCarry) << "trial " << trial << " busiest " << check.Busiest;
        }
    }
    return verdicts;
}

TEST(QuickLoadCheck, AgreesWithTheFullCheckOnRandomDesigns) {
    for (const uint32_t seed : {31u, 32u}) {
        const auto problem = std::make_unique<DesignProblem>(BuildDesignProblem(
            SyntheticDesignCase({6, true, 100, 700, seed}), DesignOptions{false, false, 0.8}));
        const Verdicts intact = CompareOnRandomDesigns(*problem, problem->Umax, false, seed);
        const Verdicts failed = CompareOnRandomDesigns(*problem, 1.0, true, seed + 100);
        // Both kinds of design came up, so both directions were tested.
        EXPECT_GT(intact.Carried + failed.Carried, 5) << seed;
        EXPECT_GT(intact.ClearlyNot + failed.ClearlyNot, 5) << seed;
    }
}

// At the limit exactly: one channel of the smallest type (5000) and a load
// of 4000 at 0.8 is carried; one more unit is not.
TEST(QuickLoadCheck, AcceptsALoadExactlyAtTheLimit) {
    net::TNetObj net = SyntheticDesignCase({2, false, 4000, 4000, 1});
    const DesignProblem problem = BuildDesignProblem(net, DesignOptions{false, false, 0.8});
    QuickLoadCheck quick(problem);
    const auto always = [] { return true; };
    EXPECT_TRUE(quick.mayCarry({1}, 0.8, -1, always));
    EXPECT_FALSE(quick.mayCarry({0}, 0.8, -1, always));
    EXPECT_FALSE(quick.mayCarry({1}, 0.8, 0, always));
    EXPECT_TRUE(quick.mayCarry({2}, 0.8, -1, always));
    net.LoadMatrix[1][2] = 4001;
    const DesignProblem over = BuildDesignProblem(net, DesignOptions{false, false, 0.8});
    QuickLoadCheck quickOver(over);
    EXPECT_FALSE(quickOver.mayCarry({1}, 0.8, -1, always));
    EXPECT_TRUE(quickOver.mayCarry({2}, 0.8, -1, always));
}

}  // namespace
