// The flows of each source to all its destinations over every pair that may
// carry (candidates and kept channels), both directions sharing one capacity
// row per pair: a linear program that routes the whole load, split over
// paths. Loads and capacities are divided by the largest capacity.
#pragma once

#include <cstdint>
#include <vector>

#include "design_problem.h"
#include "mip_solver.h"

namespace design {

class RoutingProgram {
public:
    // Each pair's capacity row holds UMAX times the largest type's capacity
    // (a kept channel's for kept pairs). With `overflow` each row also has a
    // column of cost 1 that takes what the flows put above it, so that the
    // program is always feasible and its optimum is the total overflow.
    RoutingProgram(const DesignProblem& problem, bool overflow);

    const MipModel& model() const { return model_; }
    double scale() const { return scale_; }
    // The pair's capacity row, -1 when no flow may cross the pair.
    int32_t capacityRow(int32_t pair) const { return capacityRow_[pair]; }

    // Per column, the price per unit of flow of its pair (overflow columns
    // keep their cost).
    std::vector<double> costs(const std::vector<double>& pairPrice) const;
    // Per pair, both directions and all sources, in the load's own units.
    std::vector<double> pairFlows(const std::vector<double>& solution) const;

private:
    void addSource(int32_t source);

    const DesignProblem& problem_;
    double scale_;
    MipModel model_;
    std::vector<std::vector<int32_t>> pairColumns_;
    std::vector<int32_t> capacityRow_;
    std::vector<int32_t> overflowColumn_;
};

}  // namespace design
