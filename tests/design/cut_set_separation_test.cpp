// The cut-sets separated from the linear relaxation on networks too large
// for every set: each set added is violated by the relaxation's solution it
// came from, none cuts off a design that carries the load, and the
// relaxation's optimum rises without passing such a design's cost.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "design_cases.h"
#include "design_formulation.h"
#include "design_problem.h"
#include "mip_solver.h"
#include "search_clock.h"
#include "start_design.h"

namespace {

using namespace design;

double RowActivity(const MipModel& model, int32_t row, const std::vector<double>& values) {
    double activity = 0.0;
    for (auto k = model.rowStart()[row]; k < model.rowStart()[row + 1]; ++k)
        activity += model.entryValue()[k] * values[model.entryColumn()[k]];
    return activity;
}

std::vector<int32_t> RowColumns(const MipModel& model, int32_t row) {
    return {model.entryColumn().begin() + model.rowStart()[row],
            model.entryColumn().begin() + model.rowStart()[row + 1]};
}

// Designs known to carry the load (and survive, with survive): the largest,
// the grown start and, without survive (whose checks take long), that start
// made cheaper.
std::vector<PairTypes> CarriedDesigns(const DesignProblem& problem) {
    SearchClock clock(60.0, nullptr);
    std::vector<PairTypes> designs{LargestDesign(problem)};
    const auto start = GrowStartDesign(problem, clock, 30.0);
    EXPECT_TRUE(start.has_value());
    if (start) {
        designs.push_back(*start);
        if (!problem.Survive)
            designs.push_back(ImproveByDropping(problem, *start, clock, 30.0));
    }
    return designs;
}

void CheckSeparation(const net::TNetObj& net, bool survive) {
    const auto problem = std::make_unique<DesignProblem>(
        BuildDesignProblem(net, DesignOptions{false, survive, 0.8}));
    DesignFormulation formulation(*problem);
    ASSERT_FALSE(formulation.holdsEveryCutSet());
    const MipModel& model = formulation.model();
    const std::vector<PairTypes> carried = CarriedDesigns(*problem);
    double cheapest = DesignCost(*problem, carried.front());
    for (const PairTypes& types : carried)
        cheapest = std::min(cheapest, DesignCost(*problem, types));

    LinearRelaxation relaxation(model);
    const std::function<bool()> always = [] { return true; };
    ASSERT_TRUE(relaxation.solve(always));
    double previous = relaxation.objective();
    int32_t setsAdded = 0;
    for (int32_t round = 0; round < 4; ++round) {
        const std::vector<double> solution = relaxation.solution();
        const int32_t firstRow = model.rowCount();
        const int32_t sets = formulation.addViolatedCutSets(solution, 10);
        EXPECT_LE(sets, 10);
        setsAdded += sets;
        if (sets == 0)
            break;
        // The rows of one set share their columns; one of them at least is
        // violated by the solution the set was found from.
        int32_t groups = 0;
        for (int32_t row = firstRow; row < model.rowCount();) {
            const std::vector<int32_t> columns = RowColumns(model, row);
            bool violated = false;
            for (; row < model.rowCount() && RowColumns(model, row) == columns; ++row) {
                violated =
                    violated || RowActivity(model, row, solution) < model.rowLower()[row] - 1e-6;
                for (const PairTypes& types : carried) {
                    EXPECT_GE(RowActivity(model, row, formulation.encode(types)),
                              model.rowLower()[row] - 1e-9)
                        << "row " << row;
                }
            }
            EXPECT_TRUE(violated) << "set ending at row " << row;
            ++groups;
        }
        EXPECT_GE(groups, sets);
        ASSERT_TRUE(relaxation.solve(always));
        EXPECT_GE(relaxation.objective(), previous - 1e-6);
        EXPECT_LE(relaxation.objective(), cheapest * (1 + 1e-9));
        previous = relaxation.objective();
    }
    EXPECT_GT(setsAdded, 0);
}

TEST(CutSetSeparation, NineHostsEveryDemand) {
    CheckSeparation(SyntheticDesignCase({9, true, 300, 1500, 5}), false);
}

TEST(CutSetSeparation, NineHostsWithSurvive) {
    CheckSeparation(SyntheticDesignCase({9, true, 100, 700, 6}), true);
}

TEST(CutSetSeparation, TenHostsOneDemandPerPair) {
    CheckSeparation(SyntheticDesignCase({10, false, 1000, 2000, 7}), false);
}

// The relaxation joins rows added to the model after it was made: a row
// that forces a larger choice raises its optimum, and its solution meets
// the row.
TEST(LinearRelaxationTest, JoinsRowsAddedToTheModel) {
    MipModel model;
    const double costs[] = {3.0, 4.0, 5.0, 6.0};
    std::vector<int32_t> columns;
    for (const double cost : costs)
        columns.push_back(model.addColumn(0.0, 1.0, cost, true));
    model.addRow(columns, {2.0, 3.0, 4.0, 5.0}, 4.0, std::numeric_limits<double>::infinity());
    LinearRelaxation relaxation(model);
    const std::function<bool()> always = [] { return true; };
    ASSERT_TRUE(relaxation.solve(always));
    // Cheapest per unit of weight first: items 4 (1.2), 3 (1.25).
    EXPECT_NEAR(relaxation.objective(), 4.8, 1e-9);
    model.addRow(columns, {1.0, 1.0, 1.0, 1.0}, 3.0, std::numeric_limits<double>::infinity());
    ASSERT_TRUE(relaxation.solve(always));
    // Three whole items at least: the three cheapest, 3 + 4 + 5.
    EXPECT_NEAR(relaxation.objective(), 12.0, 1e-9);
    const std::vector<double> solution = relaxation.solution();
    EXPECT_GE(RowActivity(model, 1, solution), 3.0 - 1e-9);
    // Stopped at once, it says it did not solve.
    model.addRow(columns, {1.0, 0.0, 0.0, 1.0}, 2.0, std::numeric_limits<double>::infinity());
    EXPECT_FALSE(relaxation.solve([] { return false; }));
}

}  // namespace
