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

// The demands, largest first (in routing's order among equal loads), each
// on its path of least exact added delay over what the larger ones left.
SinglePathRouting LargestFirst(const LinkGraph& graph) {
    std::vector<size_t> order(graph.Demands.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return graph.Demands[a].Load > graph.Demands[b].Load;
    });
    SinglePathRouting routing;
    routing.Paths.resize(graph.Demands.size());
    routing.Flow.assign(graph.Links.size(), 0);
    for (const size_t d : order)
        Reconsider(graph, routing, d);
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

SinglePathRouting ImproveRouting(const LinkGraph& graph, SinglePathRouting start) {
    const RoutingFigures greedy = FiguresOf(graph, start);
    SinglePathRouting best = ImproveByMoves(graph, std::move(start));
    RoutingFigures bestFigures = FiguresOf(graph, best);
    SinglePathRouting other = ImproveByMoves(graph, LargestFirst(graph));
    const RoutingFigures otherFigures = FiguresOf(graph, other);
    // Another start must not give up load or demands the greedy one places.
    const bool keepsGreedy =
        otherFigures.Placed >= greedy.Placed && otherFigures.PlacedLoad >= greedy.PlacedLoad;
    if (keepsGreedy && Better(otherFigures, bestFigures))
        best = std::move(other);
    return best;
}

}  // namespace optimize
