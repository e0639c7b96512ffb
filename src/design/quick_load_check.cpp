#include "quick_load_check.h"

#include <limits>

namespace design {
namespace {

// Overflow, in units of the largest capacity, below which a design may still
// carry: well above the solver's tolerance, so that CheckLoad has the last
// word on designs at the limit.
constexpr double OverflowTolerance = 1e-5;

}  // namespace

QuickLoadCheck::QuickLoadCheck(const DesignProblem& problem)
    : problem_(problem),
      program_(problem, true),
      routing_(program_.model()),
      upper_(problem.Pairs.size(), -1.0) {}

bool QuickLoadCheck::mayCarry(const PairTypes& types, double utilisation, int32_t failedPair,
                              const std::function<bool()>& keepGoing) {
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        const int32_t row = program_.capacityRow(p);
        if (row < 0)
            continue;
        const double capacity = p == failedPair ? 0.0 : CapacityOf(problem_, types[p]);
        const double upper = utilisation * capacity / program_.scale();
        if (upper != upper_[p]) {
            routing_.setRowBounds(row, -std::numeric_limits<double>::infinity(), upper);
            upper_[p] = upper;
        }
    }
    return routing_.solve(keepGoing) && routing_.objective() <= OverflowTolerance;
}

}  // namespace design
