// Designs to start the search from: every candidate pair with the largest
// type (carries whatever any design carries), and a spanning tree of the
// cheapest type grown where the load does not fit.
#pragma once

#include <optional>

#include "design_problem.h"
#include "search_clock.h"

namespace design {

// Every candidate pair joined by the largest capacity (the cheapest type of
// that capacity); kept pairs as they are. No design carries more.
PairTypes LargestDesign(const DesignProblem& problem);

// A cheap design that carries the load (with survive: after each single
// failure too), or nothing when the clock ran out before one was found.
std::optional<PairTypes> GrowStartDesign(const DesignProblem& problem, SearchClock& clock,
                                         double seconds);

// The design grown where it does not carry the load (or, with survive, a
// single failure) until it does; nothing when it cannot grow or the time
// ran out.
std::optional<PairTypes> RepairDesign(const DesignProblem& problem, PairTypes types,
                                      SearchClock& clock, double seconds);

// The capacities a linear relaxation buys per pair rounded to channels:
// each candidate pair that buys at least `least` times the smallest
// capacity gets the smallest type that holds what it buys (the largest
// where none does). It need not carry the load.
PairTypes RoundRelaxation(const DesignProblem& problem, const std::vector<double>& capacities,
                          double least);

// A design that carries the load made cheaper one channel at a time: each
// channel, the dearest first, removed or else given the next smaller type
// where the rest still carries the load (and survives). Stops when a pass
// changes nothing or the time is spent; what it returns always carries.
PairTypes ImproveByDropping(const DesignProblem& problem, PairTypes types, SearchClock& clock,
                            double seconds);

// A design that carries the load made cheaper by exchanges: one channel
// removed or given a smaller type, and another pair given a channel or a
// larger type, where the two together cost less and the design still
// carries the load (and survives). The pairs that limit the load after the
// removal are tried first. Stops when a pass finds no exchange or the time
// is spent; what it returns always carries.
PairTypes ImproveBySwapping(const DesignProblem& problem, PairTypes types, SearchClock& clock,
                            double seconds);

}  // namespace design
