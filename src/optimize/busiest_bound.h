// The smallest busiest link any splittable routing of the load can reach, by
// a linear program, and the links that keep it from being smaller.
#pragma once

#include <cstdint>
#include <vector>

#include "link_graph.h"
#include "split_routing.h"

namespace optimize {

struct BusiestBound {
    // min over splittable routings of the connected demands of
    // max flow / capacity; requires at least one connected demand.
    double BusiestMin = 0.0;
    // Channels whose capacity constraint has a positive dual price: adding
    // capacity there lowers BusiestMin. Ascending.
    std::vector<int32_t> Bottlenecks;
    // A routing that reaches BusiestMin.
    SplitRouting Routing;
};

// Raises NetError when the solver fails, which a well-posed program of this
// shape does not.
BusiestBound FindBusiestBound(const LinkGraph& graph);

}  // namespace optimize
