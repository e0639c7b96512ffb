// A splittable routing: each demand's load shared among several paths.
#pragma once

#include <cstdint>
#include <vector>

namespace optimize {

struct PathShare {
    std::vector<int32_t> Links;  // from the demand's row host to its column host
    double Flow = 0.0;
};

struct SplitRouting {
    // Per demand of the graph; empty for a demand that is not carried.
    std::vector<std::vector<PathShare>> Shares;
    // Per link: the flow of all shares that cross it, both ways.
    std::vector<double> Flow;
};

}  // namespace optimize
