// Whether a design carries the load: checked by the smallest busiest channel
// over every splittable routing (a linear program), not by the search's own
// flows.
#pragma once

#include <cstdint>
#include <vector>

#include "design_problem.h"
#include "netobj.h"

namespace design {

// The problem's network with its channels replaced by the design's, in pair
// order, without the pair `failedPair` (-1: none). Not routed.
net::TNetObj NetWithDesign(const DesignProblem& problem, const PairTypes& types,
                           int32_t failedPair = -1);

struct LoadCheck {
    bool Carried = false;
    double Busiest = 0.0;  // smallest busiest utilisation; meaningless when disconnected
    bool Disconnected = false;
    std::vector<int32_t> BottleneckPairs;  // pairs that keep Busiest from being smaller
};

// Carried when every demand's ends are joined and the smallest busiest
// utilisation is at most `limit` (the solver's tolerance allowed for).
LoadCheck CheckLoad(const DesignProblem& problem, const PairTypes& types, double limit,
                    int32_t failedPair = -1);

// The pairs of the design whose single failure leaves load the rest cannot
// carry at full capacity. Stops early, returning what it found, once
// `keepGoing` returns false.
template <typename KeepGoing>
std::vector<int32_t> FailuresNotSurvived(const DesignProblem& problem, const PairTypes& types,
                                         KeepGoing keepGoing) {
    std::vector<int32_t> failing;
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        if (types[p] == 0 || CapacityOf(problem, types[p]) <= 0.0)
            continue;
        if (!keepGoing())
            break;
        if (!CheckLoad(problem, types, 1.0, p).Carried)
            failing.push_back(p);
    }
    return failing;
}

}  // namespace design
