// The search for the cheapest design: the program without failure states
// first; with survive, each design it proposes is checked against every
// single failure, the failures it does not survive join the program as
// states of their own, and the program is solved again. A program with
// fewer states is a relaxation, so its bound stays valid for the whole
// problem.
#pragma once

#include <optional>
#include <vector>

#include "design_problem.h"
#include "network_design.h"
#include "search_clock.h"

namespace design {

struct SearchOutcome {
    DesignStatus Status = DesignStatus::Infeasible;
    std::optional<PairTypes> Best;  // carries the load (and survives, with survive)
    double BestCost = 0.0;
    double Bound = 0.0;
    // Every design found that carries the load, cheapest first; for the one
    // the method's routing carries too.
    std::vector<PairTypes> Found;
};

// Infeasible only when even LargestDesign does not carry the load.
SearchOutcome SearchDesign(const DesignProblem& problem, SearchClock& clock);

}  // namespace design
