#include "routing_program.h"

#include <algorithm>
#include <limits>

namespace design {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

}  // namespace

RoutingProgram::RoutingProgram(const DesignProblem& problem, bool overflow)
    : problem_(problem),
      scale_(problem.LargestCapacity()),
      pairColumns_(problem.Pairs.size()),
      capacityRow_(problem.Pairs.size(), -1) {
    std::vector<int32_t> sources;
    for (const DemandOf& demand : problem.Demands) {
        if (std::find(sources.begin(), sources.end(), demand.From) == sources.end())
            sources.push_back(demand.From);
    }
    for (const int32_t s : sources)
        addSource(s);
    for (size_t p = 0; p < problem.Pairs.size(); ++p) {
        if (pairColumns_[p].empty())
            continue;
        const HostPair& pair = problem.Pairs[p];
        const double capacity =
            pair.Candidate() ? problem.Types.back().Capacity : pair.KeptCapacity;
        std::vector<int32_t> columns = pairColumns_[p];
        std::vector<double> values(columns.size(), 1.0);
        if (overflow) {
            overflowColumn_.push_back(model_.addColumn(0.0, Infinity, 1.0, false));
            columns.push_back(overflowColumn_.back());
            values.push_back(-1.0);
        }
        capacityRow_[p] = model_.rowCount();
        model_.addRow(columns, values, -Infinity, problem.Umax * capacity / scale_);
    }
}

void RoutingProgram::addSource(int32_t s) {
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

std::vector<double> RoutingProgram::costs(const std::vector<double>& pairPrice) const {
    std::vector<double> result = model_.cost();
    for (size_t p = 0; p < pairColumns_.size(); ++p) {
        for (const int32_t column : pairColumns_[p])
            result[column] = pairPrice[p];
    }
    return result;
}

std::vector<double> RoutingProgram::pairFlows(const std::vector<double>& solution) const {
    std::vector<double> flows(pairColumns_.size(), 0.0);
    for (size_t p = 0; p < pairColumns_.size(); ++p) {
        for (const int32_t column : pairColumns_[p])
            flows[p] += solution[column] * scale_;
    }
    return flows;
}

}  // namespace design
