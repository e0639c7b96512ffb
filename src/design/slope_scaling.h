// Designs from routings priced by what their channels cost: each round
// routes the whole load at the least price, each pair's price per unit of
// flow being what the channel its last flow needed costs per unit of that
// flow. Lightly used pairs grow dear and the flows gather on fewer pairs,
// as a design with few well-filled channels does.
#pragma once

#include <cstdint>
#include <vector>

#include "design_problem.h"
#include "search_clock.h"

namespace design {

// The designs of the rounds, cheapest first and each once: every pair gets
// the cheapest type that holds its flow at UMAX, so each carries the load
// (survive is not looked at). Empty when the time ran out first. A `seed`
// other than 0 scatters the first prices (each pair's times 0.5 to 1.5), so
// that rounds from several seeds settle on different designs.
std::vector<PairTypes> SlopeScalingDesigns(const DesignProblem& problem, SearchClock& clock,
                                           double seconds, uint32_t seed = 0);

}  // namespace design
