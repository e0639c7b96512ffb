// A splittable routing: each demand's load shared among several paths.
#pragma once

#include <algorithm>
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

// The links of `gaining` that `losing` lacks, and the other way round: the
// only flows a shift between the two paths changes.
struct Shift {
    std::vector<int32_t> Plus;
    std::vector<int32_t> Minus;
};

inline Shift Difference(const std::vector<int32_t>& gaining, const std::vector<int32_t>& losing) {
    Shift shift;
    for (const int32_t l : gaining) {
        if (std::find(losing.begin(), losing.end(), l) == losing.end())
            shift.Plus.push_back(l);
    }
    for (const int32_t l : losing) {
        if (std::find(gaining.begin(), gaining.end(), l) == gaining.end())
            shift.Minus.push_back(l);
    }
    return shift;
}

}  // namespace optimize
