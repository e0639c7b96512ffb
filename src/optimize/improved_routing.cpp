#include "improved_routing.h"

#include <algorithm>
#include <numeric>

#include "delay_model.h"
#include "shortest_paths.h"

namespace optimize {
namespace {

// Every move lowers the summed delay or places one more demand, so passes
// end by themselves; the cap only bounds a pathological tie.
constexpr int MaxPasses = 1000;

struct CheapestPath {
    double Cost = NoPath;
    std::vector<int32_t> Hosts;  // row to column; empty when none fits
};

// What adding `load` to the link costs in summed delay, infinite when the
// link would keep less than a residual of 1.
double AddedDelay(const LinkGraph& graph, const SinglePathRouting& routing, int32_t link,
                  int32_t load) {
    const Link& l = graph.Links[link];
    const int64_t flow = routing.Flow[link];
    if (!l.Carries() || int64_t{l.Capacity} - flow - load < 1)
        return NoPath;
    return LinkDelayIncrease(static_cast<double>(flow), load, l.Capacity);
}

// The cheapest path for the demand with the exact added delay of its load
// on each link as the link's length. As in routing, the search starts at the
// column host and ends at the row host, so that of equal paths the one
// routing would take is found.
CheapestPath FindCheapestPath(const LinkGraph& graph, const SinglePathRouting& routing,
                              const Demand& demand) {
    std::vector<double> lengths(graph.Links.size());
    for (size_t l = 0; l < graph.Links.size(); ++l)
        lengths[l] = AddedDelay(graph, routing, static_cast<int32_t>(l), demand.Load);
    const ShortestTree tree = Dijkstra(graph, lengths, demand.Column, demand.Row);
    if (tree.Distance[demand.Row] == NoPath)
        return {};
    std::vector<int32_t> hosts = HostsTo(graph, tree, demand.Column, demand.Row);
    std::reverse(hosts.begin(), hosts.end());
    return {tree.Distance[demand.Row], std::move(hosts)};
}

void Place(const LinkGraph& graph, SinglePathRouting& routing, size_t d, int64_t sign) {
    for (const int32_t link : LinksOfPath(graph, routing.Paths[d]))
        routing.Flow[link] += sign * graph.Demands[d].Load;
}

double PathCost(const LinkGraph& graph, const SinglePathRouting& routing,
                const std::vector<int32_t>& hosts, int32_t load) {
    double cost = 0.0;
    for (const int32_t link : LinksOfPath(graph, hosts))
        cost += AddedDelay(graph, routing, link, load);
    return cost;
}

// One demand: taken off its path and put back on the cheapest one when that
// is clearly cheaper; an unplaced one placed wherever it fits. Returns
// whether anything changed.
bool Reconsider(const LinkGraph& graph, SinglePathRouting& routing, size_t d) {
    const Demand& demand = graph.Demands[d];
    if (routing.Paths[d].empty()) {
        CheapestPath path = FindCheapestPath(graph, routing, demand);
        if (path.Hosts.empty())
            return false;
        routing.Paths[d] = std::move(path.Hosts);
        Place(graph, routing, d, +1);
        return true;
    }
    Place(graph, routing, d, -1);
    const double current = PathCost(graph, routing, routing.Paths[d], demand.Load);
    CheapestPath path = FindCheapestPath(graph, routing, demand);
    // A relative margin keeps rounding from swapping equal paths forever.
    const bool better = path.Cost < current - 1e-12 * current && path.Hosts != routing.Paths[d];
    if (better)
        routing.Paths[d] = std::move(path.Hosts);
    Place(graph, routing, d, +1);
    return better;
}

// One-demand moves until a whole pass changes nothing.
SinglePathRouting ImproveByMoves(const LinkGraph& graph, SinglePathRouting routing) {
    for (int pass = 0; pass < MaxPasses; ++pass) {
        bool changed = false;
        for (size_t d = 0; d < graph.Demands.size(); ++d)
            changed = Reconsider(graph, routing, d) || changed;
        if (!changed)
            break;
    }
    return routing;
}

// The demands, largest first (in routing's order among equal loads).
std::vector<size_t> LargestFirstOrder(const LinkGraph& graph) {
    std::vector<size_t> order(graph.Demands.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return graph.Demands[a].Load > graph.Demands[b].Load;
    });
    return order;
}

SinglePathRouting Empty(const LinkGraph& graph) {
    SinglePathRouting routing;
    routing.Paths.resize(graph.Demands.size());
    routing.Flow.assign(graph.Links.size(), 0);
    return routing;
}

// Each demand, largest first, on its path of least exact added delay over
// what the larger ones left.
SinglePathRouting LargestFirst(const LinkGraph& graph) {
    SinglePathRouting routing = Empty(graph);
    for (const size_t d : LargestFirstOrder(graph))
        Reconsider(graph, routing, d);
    return routing;
}

// The hosts of the demand's share of most flow in the split routing, empty
// when the demand has none or its load no longer fits there.
std::vector<int32_t> LargestShareIfItFits(const LinkGraph& graph, const SinglePathRouting& routing,
                                          const SplitRouting& split, size_t d) {
    const std::vector<PathShare>& shares = split.Shares[d];
    if (shares.empty())
        return {};
    const PathShare& largest = *std::max_element(shares.begin(), shares.end(),
                                                 [](auto& a, auto& b) { return a.Flow < b.Flow; });
    std::vector<int32_t> hosts{graph.Demands[d].Row};
    for (const int32_t l : largest.Links) {
        if (AddedDelay(graph, routing, l, graph.Demands[d].Load) == NoPath)
            return {};
        const Link& link = graph.Links[l];
        hosts.push_back(link.HostA == hosts.back() ? link.HostB : link.HostA);
    }
    return hosts;
}

// The split optimum rounded: each demand, largest first, on its share of
// most flow where it fits, else on its path of least added delay.
SinglePathRouting RoundedSplit(const LinkGraph& graph, const SplitRouting& split) {
    SinglePathRouting routing = Empty(graph);
    for (const size_t d : LargestFirstOrder(graph)) {
        std::vector<int32_t> hosts = LargestShareIfItFits(graph, routing, split, d);
        if (hosts.empty()) {
            Reconsider(graph, routing, d);
            continue;
        }
        routing.Paths[d] = std::move(hosts);
        Place(graph, routing, d, +1);
    }
    return routing;
}

// More demands placed, then more load placed, then a clearly smaller mean
// delay: two routings equal up to rounding keep the first.
bool Better(const RoutingFigures& a, const RoutingFigures& b) {
    if (a.Placed != b.Placed)
        return a.Placed > b.Placed;
    if (a.PlacedLoad != b.PlacedLoad)
        return a.PlacedLoad > b.PlacedLoad;
    const double mean = a.MeanDelay.value_or(0.0);
    const double other = b.MeanDelay.value_or(0.0);
    return mean < other - 1e-12 * other;
}

}  // namespace

SinglePathRouting ImproveRouting(const LinkGraph& graph, SinglePathRouting start,
                                 const SplitRouting* splitOptimum) {
    const RoutingFigures greedy = FiguresOf(graph, start);
    SinglePathRouting best = ImproveByMoves(graph, std::move(start));
    RoutingFigures bestFigures = FiguresOf(graph, best);
    std::vector<SinglePathRouting> others;
    others.push_back(LargestFirst(graph));
    if (splitOptimum)
        others.push_back(RoundedSplit(graph, *splitOptimum));
    for (SinglePathRouting& other : others) {
        other = ImproveByMoves(graph, std::move(other));
        const RoutingFigures figures = FiguresOf(graph, other);
        // Another start must not give up load or demands the greedy one places.
        const bool keepsGreedy =
            figures.Placed >= greedy.Placed && figures.PlacedLoad >= greedy.PlacedLoad;
        if (keepsGreedy && Better(figures, bestFigures)) {
            best = std::move(other);
            bestFigures = figures;
        }
    }
    return best;
}

}  // namespace optimize
