#include "slope_scaling.h"

#include <algorithm>
#include <limits>
#include <random>

#include "mip_solver.h"
#include "routing_program.h"

namespace design {
namespace {

constexpr int32_t MostRounds = 40;
// A flow below this share of the largest capacity is taken for none.
constexpr double LeastFlow = 1e-7;

// The index in DesignProblem::Types of the cheapest type that holds `flow`
// at UMAX (the largest where none does), -1 for no flow.
int32_t TypeFor(const DesignProblem& problem, int32_t pair, double flow) {
    if (flow <= LeastFlow * problem.LargestCapacity())
        return -1;
    const std::vector<double>& costs = problem.Pairs[pair].TypeCost;
    int32_t best = -1;
    for (size_t t = 0; t < problem.Types.size(); ++t) {
        if (problem.Umax * problem.Types[t].Capacity >= flow * (1.0 - 1e-9) &&
            (best < 0 || costs[t] < costs[best]))
            best = static_cast<int32_t>(t);
    }
    return best < 0 ? static_cast<int32_t>(problem.Types.size()) - 1 : best;
}

}  // namespace

std::vector<PairTypes> SlopeScalingDesigns(const DesignProblem& problem, SearchClock& clock,
                                           double seconds, uint32_t seed) {
    const double until = clock.elapsed() + seconds;
    const std::function<bool()> inTime = [&] {
        return clock.keepGoing() && clock.elapsed() < until;
    };
    const RoutingProgram program(problem, false);
    LinearRelaxation routing(program.model());
    // First prices: each pair's cheapest cost per unit of capacity, as if
    // every channel were full.
    std::vector<double> price(problem.Pairs.size(), 0.0);
    for (size_t p = 0; p < problem.Pairs.size(); ++p) {
        const HostPair& pair = problem.Pairs[p];
        for (size_t t = 0; t < pair.TypeCost.size(); ++t) {
            const double perUnit = pair.TypeCost[t] / (problem.Umax * problem.Types[t].Capacity);
            price[p] = t == 0 ? perUnit : std::min(price[p], perUnit);
        }
        price[p] *= problem.LargestCapacity();
    }
    if (seed != 0) {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> scatter(0.5, 1.5);
        for (double& each : price)
            each *= scatter(random);
    }
    std::vector<PairTypes> designs;
    for (int32_t round = 0; round < MostRounds && inTime(); ++round) {
        routing.setCosts(program.costs(price));
        if (!routing.solve(inTime))
            break;
        const std::vector<double> flows = program.pairFlows(routing.solution());
        PairTypes types(problem.Pairs.size(), 0);
        for (int32_t p = 0; p < static_cast<int32_t>(problem.Pairs.size()); ++p) {
            const HostPair& pair = problem.Pairs[p];
            types[p] = pair.KeptType;
            const int32_t t = pair.Candidate() ? TypeFor(problem, p, flows[p]) : -1;
            if (t < 0)
                continue;  // an unused pair keeps its last price
            types[p] = problem.Types[t].Number;
            price[p] = pair.TypeCost[t] * problem.LargestCapacity() / flows[p];
        }
        if (std::find(designs.begin(), designs.end(), types) != designs.end())
            break;  // the prices settled
        designs.push_back(types);
    }
    std::stable_sort(designs.begin(), designs.end(), [&](const PairTypes& a, const PairTypes& b) {
        return DesignCost(problem, a) < DesignCost(problem, b);
    });
    return designs;
}

}  // namespace design
