#include "busiest_bound.h"

#include <ClpSimplex.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "errors.h"

namespace optimize {
namespace {

using net::MaxHosts;

struct Arc {
    int32_t From = 0;
    int32_t To = 0;
    int32_t Link = 0;
};

// The flows of one source to all its destinations, aggregated per arc: at
// most 18 sources times 306 arcs, instead of one commodity per demand. One
// row per source and host of its component (inflow minus outflow equals the
// source's demand to that host), one per link that carries (the flows of
// both directions minus capacity times U at most 0). Column 0 is U, the
// only cost. Loads and capacities are divided by the largest capacity.
struct Program {
    std::vector<Arc> Arcs;
    std::vector<int32_t> Sources;
    std::vector<std::array<int32_t, MaxHosts + 1>> ConservationRow;  // per source; -1 none
    std::vector<int32_t> CapacityRow;                                // per link; -1 none
    std::vector<double> RowLower, RowUpper;
    double Scale = 1.0;
};

// Below this a flow of the solution (in scaled units) counts as none.
constexpr double FlowTolerance = 1e-12;

Program Formulate(const LinkGraph& graph) {
    Program program;
    for (const Link& link : graph.Links)
        program.Scale = std::max(program.Scale, static_cast<double>(link.Capacity));
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        const Link& link = graph.Links[l];
        const int32_t row = link.Carries() ? static_cast<int32_t>(program.RowLower.size()) : -1;
        program.CapacityRow.push_back(row);
        if (row < 0)
            continue;
        program.Arcs.push_back({link.HostA, link.HostB, static_cast<int32_t>(l)});
        program.Arcs.push_back({link.HostB, link.HostA, static_cast<int32_t>(l)});
        program.RowLower.push_back(-COIN_DBL_MAX);
        program.RowUpper.push_back(0.0);
    }
    net::HostMatrix<double> load{};
    std::array<bool, MaxHosts + 1> isSource{};
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        if (!graph.Connected[d])
            continue;
        const Demand& demand = graph.Demands[d];
        load[demand.Row][demand.Column] = demand.Load / program.Scale;
        isSource[demand.Row] = true;
    }
    for (int32_t s = 1; s <= MaxHosts; ++s) {
        if (!isSource[s])
            continue;
        program.Sources.push_back(s);
        std::array<int32_t, MaxHosts + 1> rows;
        rows.fill(-1);
        for (int32_t v = 1; v <= MaxHosts; ++v) {
            if (v == s || graph.Component[v] != graph.Component[s])
                continue;
            rows[v] = static_cast<int32_t>(program.RowLower.size());
            program.RowLower.push_back(load[s][v]);
            program.RowUpper.push_back(load[s][v]);
        }
        program.ConservationRow.push_back(rows);
    }
    return program;
}

struct Columns {
    std::vector<CoinBigIndex> Start{0};
    std::vector<int> Row;
    std::vector<double> Value;
    std::vector<double> Lower, Upper, Cost;
    // Per source, per arc: the column of its flow, -1 where the arc lies
    // outside the source's component.
    std::vector<std::vector<int32_t>> FlowColumn;

    void Add(double cost) {
        Start.push_back(static_cast<CoinBigIndex>(Row.size()));
        Lower.push_back(0.0);
        Upper.push_back(COIN_DBL_MAX);
        Cost.push_back(cost);
    }
    void Entry(int32_t row, double value) {
        if (row >= 0) {
            Row.push_back(row);
            Value.push_back(value);
        }
    }
};

Columns BuildColumns(const LinkGraph& graph, const Program& program) {
    Columns columns;
    for (size_t l = 0; l < graph.Links.size(); ++l)
        columns.Entry(program.CapacityRow[l], -graph.Links[l].Capacity / program.Scale);
    columns.Add(1.0);
    for (size_t si = 0; si < program.Sources.size(); ++si) {
        const auto& rows = program.ConservationRow[si];
        const int32_t s = program.Sources[si];
        std::vector<int32_t>& flowColumn = columns.FlowColumn.emplace_back();
        for (const Arc& arc : program.Arcs) {
            if (graph.Component[arc.From] != graph.Component[s]) {
                flowColumn.push_back(-1);
                continue;
            }
            flowColumn.push_back(static_cast<int32_t>(columns.Lower.size()));
            columns.Entry(rows[arc.To], 1.0);
            columns.Entry(rows[arc.From], -1.0);
            columns.Entry(program.CapacityRow[arc.Link], 1.0);
            columns.Add(0.0);
        }
    }
    return columns;
}

// Breadth-first search for a path from `source` to `target` over the arcs
// that still carry flow; their indices in order, empty when none is left.
std::vector<int32_t> FlowPath(const Program& program, const std::vector<double>& arcFlow,
                              int32_t source, int32_t target) {
    std::array<int32_t, MaxHosts + 1> viaArc;
    viaArc.fill(-1);
    std::array<bool, MaxHosts + 1> seen{};
    std::vector<int32_t> queue{source};
    seen[source] = true;
    for (size_t head = 0; head < queue.size() && !seen[target]; ++head) {
        for (size_t a = 0; a < program.Arcs.size(); ++a) {
            const Arc& arc = program.Arcs[a];
            if (arc.From != queue[head] || seen[arc.To] || arcFlow[a] <= FlowTolerance)
                continue;
            seen[arc.To] = true;
            viaArc[arc.To] = static_cast<int32_t>(a);
            queue.push_back(arc.To);
        }
    }
    std::vector<int32_t> arcs;
    if (!seen[target])
        return arcs;
    for (int32_t h = target; h != source; h = program.Arcs[viaArc[h]].From)
        arcs.insert(arcs.begin(), viaArc[h]);
    return arcs;
}

// The shares of one demand taken from its source's remaining arc flows; the
// shares are then scaled to the demand's exact load, which the solver meets
// only to its tolerance.
std::vector<PathShare> TakeShares(const Program& program, std::vector<double>& arcFlow,
                                  const Demand& demand) {
    std::vector<PathShare> shares;
    double remaining = demand.Load / program.Scale;
    double found = 0.0;
    while (remaining > FlowTolerance) {
        const std::vector<int32_t> arcs = FlowPath(program, arcFlow, demand.Row, demand.Column);
        if (arcs.empty())
            break;
        double amount = remaining;
        for (const int32_t a : arcs)
            amount = std::min(amount, arcFlow[a]);
        PathShare& share = shares.emplace_back();
        for (const int32_t a : arcs) {
            arcFlow[a] -= amount;
            share.Links.push_back(program.Arcs[a].Link);
        }
        share.Flow = amount;
        remaining -= amount;
        found += amount;
    }
    if (found <= 0.0)
        throw net::NetError("Не удалось разложить потоки требования " + std::to_string(demand.Row) +
                            "-" + std::to_string(demand.Column) + " по путям");
    for (PathShare& share : shares)
        share.Flow = share.Flow / found * demand.Load;
    return shares;
}

// Splits each source's aggregated arc flows into paths of its demands.
SplitRouting Decompose(const LinkGraph& graph, const Program& program, const Columns& columns,
                       const double* solution) {
    SplitRouting routing;
    routing.Shares.resize(graph.Demands.size());
    routing.Flow.assign(graph.Links.size(), 0.0);
    for (size_t si = 0; si < program.Sources.size(); ++si) {
        std::vector<double> arcFlow(program.Arcs.size(), 0.0);
        for (size_t a = 0; a < program.Arcs.size(); ++a) {
            const int32_t column = columns.FlowColumn[si][a];
            if (column >= 0)
                arcFlow[a] = std::max(0.0, solution[column]);
        }
        for (size_t d = 0; d < graph.Demands.size(); ++d) {
            if (graph.Demands[d].Row != program.Sources[si] || !graph.Connected[d])
                continue;
            routing.Shares[d] = TakeShares(program, arcFlow, graph.Demands[d]);
            for (const PathShare& share : routing.Shares[d]) {
                for (const int32_t link : share.Links)
                    routing.Flow[link] += share.Flow;
            }
        }
    }
    return routing;
}

}  // namespace

BusiestBound FindBusiestBound(const LinkGraph& graph) {
    const Program program = Formulate(graph);
    const Columns columns = BuildColumns(graph, program);
    ClpSimplex model;
    model.setLogLevel(0);
    model.loadProblem(static_cast<int>(columns.Lower.size()),
                      static_cast<int>(program.RowLower.size()), columns.Start.data(),
                      columns.Row.data(), columns.Value.data(), columns.Lower.data(),
                      columns.Upper.data(), columns.Cost.data(), program.RowLower.data(),
                      program.RowUpper.data());
    // The primal simplex: several times faster than the dual one on these
    // programs, whose many equal routes make the dual degenerate.
    model.primal();
    if (!model.isProvenOptimal())
        throw net::NetError(
            "Решатель линейных программ не нашёл наименьшую загрузку канала "
            "(состояние " +
            std::to_string(model.status()) + ")");

    BusiestBound bound;
    const double* solution = model.primalColumnSolution();
    bound.BusiestMin = std::max(0.0, solution[0]);
    const double* prices = model.dualRowSolution();
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        const int32_t row = program.CapacityRow[l];
        // The prices times the capacities sum to 1: a share below this is
        // the solver's rounding, not a constraint that binds.
        if (row >= 0 && std::fabs(prices[row]) * graph.Links[l].Capacity / program.Scale > 1e-7)
            bound.Bottlenecks.push_back(graph.Links[l].Channel);
    }
    std::sort(bound.Bottlenecks.begin(), bound.Bottlenecks.end());
    bound.Routing = Decompose(graph, program, columns, solution);
    return bound;
}

}  // namespace optimize
