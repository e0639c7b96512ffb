#include "slope_scaling.h"

#include <algorithm>
#include <limits>
#include <random>

#include "mip_solver.h"

namespace design {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr int32_t MostRounds = 40;
// A flow below this share of the largest capacity is taken for none.
constexpr double LeastFlow = 1e-7;

// The flows of each source to all its destinations over every pair that
// may carry, both directions sharing the pair's capacity at UMAX: the
// largest type's for candidates, the kept channel's for kept pairs.
class RoutingProgram {
public:
    explicit RoutingProgram(const DesignProblem& problem)
        : problem_(problem), scale_(problem.LargestCapacity()), pairColumns_(problem.Pairs.size()) {
        std::vector<int32_t> sources;
        for (const DemandOf& demand : problem.Demands) {
            if (std::find(sources.begin(), sources.end(), demand.From) == sources.end())
                sources.push_back(demand.From);
        }
        for (const int32_t s : sources)
            addSource(s);
        for (size_t p = 0; p < problem.Pairs.size(); ++p) {
            const HostPair& pair = problem.Pairs[p];
            const double capacity =
                pair.Candidate() ? problem.Types.back().Capacity : pair.KeptCapacity;
            if (!pairColumns_[p].empty())
                model_.addRow(pairColumns_[p], std::vector<double>(pairColumns_[p].size(), 1.0),
                              -Infinity, problem.Umax * capacity / scale_);
        }
    }

    const MipModel& model() const { return model_; }

    // Per column, the price per unit of flow of its pair.
    std::vector<double> costs(const std::vector<double>& pairPrice) const {
        std::vector<double> result(model_.columnCount(), 0.0);
        for (size_t p = 0; p < pairColumns_.size(); ++p) {
            for (const int32_t column : pairColumns_[p])
                result[column] = pairPrice[p];
        }
        return result;
    }

    // Per pair, both directions and all sources, in the load's own units.
    std::vector<double> pairFlows(const std::vector<double>& solution) const {
        std::vector<double> flows(pairColumns_.size(), 0.0);
        for (size_t p = 0; p < pairColumns_.size(); ++p) {
            for (const int32_t column : pairColumns_[p])
                flows[p] += solution[column] * scale_;
        }
        return flows;
    }

private:
    void addSource(int32_t s) {
        std::vector<std::vector<int32_t>> rowColumns(net::MaxHosts + 1);
        std::vector<std::vector<double>> rowValues(net::MaxHosts + 1);
        for (size_t p = 0; p < problem_.Pairs.size(); ++p) {
            const HostPair& pair = problem_.Pairs[p];
            if (!pair.Candidate() && pair.KeptCapacity <= 0.0)
                continue;
            for (const auto& [from, to] :
                 {std::pair{pair.HostA, pair.HostB}, std::pair{pair.HostB, pair.HostA}}) {
                if (to == s)
                    continue;
                const int32_t column = model_.addColumn(0.0, Infinity, 0.0, false);
                pairColumns_[p].push_back(column);
                rowColumns[to].push_back(column);
                rowValues[to].push_back(1.0);
                if (from != s) {
                    rowColumns[from].push_back(column);
                    rowValues[from].push_back(-1.0);
                }
            }
        }
        for (const int32_t v : problem_.Hosts) {
            if (v == s || rowColumns[v].empty())
                continue;
            double load = 0.0;
            for (const DemandOf& demand : problem_.Demands) {
                if (demand.From == s && demand.To == v)
                    load += demand.Load / scale_;
            }
            model_.addRow(rowColumns[v], rowValues[v], load, load);
        }
    }

    const DesignProblem& problem_;
    double scale_;
    MipModel model_;
    std::vector<std::vector<int32_t>> pairColumns_;
};

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
    const RoutingProgram program(problem);
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
        if (!routing.solveWithCosts(program.costs(price), inTime))
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
