// The solver's bound holds wherever the search is cut short: on a covering
// program small enough to try every choice, the bound never exceeds the
// optimum those choices give, and a finished search finds that optimum.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "mip_solver.h"

namespace {

using namespace design;

// Choose items of least total cost so that each of a few rows of weights
// reaches its demand. Weights and costs nearly proportional: the linear
// relaxation is weak and the solver branches and tries branches early.
struct Covering {
    std::vector<double> Cost;
    std::vector<std::vector<double>> Weight;  // per row, per item
    std::vector<double> Demand;               // per row
};

Covering SeededCovering(int32_t items, int32_t rows, uint32_t seed) {
    uint32_t state = seed * 2654435761u + 7u;
    const auto next = [&](uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>((state >> 8) % range);
    };
    Covering covering;
    covering.Weight.assign(rows, {});
    for (int32_t i = 0; i < items; ++i) {
        const double size = 20 + next(60);
        covering.Cost.push_back(size + next(9));
        for (auto& row : covering.Weight)
            row.push_back(size + next(25));
    }
    for (const auto& row : covering.Weight) {
        double total = 0.0;
        for (const double w : row)
            total += w;
        covering.Demand.push_back(total * 0.43 + 0.5);
    }
    return covering;
}

MipModel ModelOf(const Covering& covering) {
    MipModel model;
    std::vector<int32_t> columns;
    for (const double cost : covering.Cost)
        columns.push_back(model.addColumn(0.0, 1.0, cost, true));
    for (size_t r = 0; r < covering.Weight.size(); ++r)
        model.addRow(columns, covering.Weight[r], covering.Demand[r],
                     std::numeric_limits<double>::infinity());
    return model;
}

// Every choice of items tried.
double CheapestCover(const Covering& covering) {
    const auto items = static_cast<uint32_t>(covering.Cost.size());
    double best = std::numeric_limits<double>::infinity();
    for (uint32_t chosen = 0; chosen < (1u << items); ++chosen) {
        double cost = 0.0;
        for (uint32_t i = 0; i < items; ++i)
            cost += (chosen >> i & 1u) != 0 ? covering.Cost[i] : 0.0;
        if (cost >= best)
            continue;
        bool covers = true;
        for (size_t r = 0; r < covering.Weight.size() && covers; ++r) {
            double reached = 0.0;
            for (uint32_t i = 0; i < items; ++i)
                reached += (chosen >> i & 1u) != 0 ? covering.Weight[r][i] : 0.0;
            covers = reached >= covering.Demand[r];
        }
        if (covers)
            best = cost;
    }
    return best;
}

TEST(MipBound, NeverAboveTheOptimumWhereverTheSearchStops) {
    for (const uint32_t seed : {1u, 2u}) {
        const Covering covering = SeededCovering(18, 3, seed);
        const double optimum = CheapestCover(covering);
        ASSERT_LT(optimum, std::numeric_limits<double>::infinity());
        const MipModel model = ModelOf(covering);
        for (const double seconds : {0.002, 0.01, 0.03, 0.1, 0.3}) {
            MipSettings settings;
            settings.Seconds = seconds;
            const MipOutcome outcome = SolveMip(model, settings);
            EXPECT_LE(outcome.Bound, optimum + 1e-6) << seed << " " << seconds;
            if (!outcome.Solution.empty()) {
                EXPECT_GE(outcome.Objective, optimum - 1e-6) << seed << " " << seconds;
            }
        }
        MipSettings settings;
        settings.Seconds = 30.0;
        const MipOutcome finished = SolveMip(model, settings);
        EXPECT_EQ(finished.Status, MipStatus::Optimal) << seed;
        EXPECT_NEAR(finished.Objective, optimum, 1e-6) << seed;
        EXPECT_NEAR(finished.Bound, optimum, 1e-6) << seed;
    }
}

}  // namespace
