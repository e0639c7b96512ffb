#include "improved_routing.h"

#include <array>
#include <limits>

#include "delay_model.h"

namespace optimize {
namespace {

using net::MaxHosts;

// Every move lowers the summed delay or places one more demand, so passes
// end by themselves; the cap only bounds a pathological tie.
constexpr int MaxPasses = 1000;
constexpr double Infinite = std::numeric_limits<double>::infinity();

struct CheapestPath {
    double Cost = Infinite;
    std::vector<int32_t> Hosts;  // row to column; empty when none fits
};

// What adding `load` to the link costs in summed delay, infinite when the
// link would keep less than a residual of 1.
double AddedDelay(const LinkGraph& graph, const SinglePathRouting& routing, int32_t link,
                  int32_t load) {
    const Link& l = graph.Links[link];
    const int64_t flow = routing.Flow[link];
    if (!l.Carries() || int64_t{l.Capacity} - flow - load < 1)
        return Infinite;
    return LinkDelayIncrease(static_cast<double>(flow), load, l.Capacity);
}

// Dijkstra over at most 18 hosts with the exact added delay of the demand
// on each link as its length.
CheapestPath FindCheapestPath(const LinkGraph& graph, const SinglePathRouting& routing,
                              const Demand& demand) {
    std::array<double, MaxHosts + 1> distance;
    distance.fill(Infinite);
    std::array<int32_t, MaxHosts + 1> previous{};
    std::array<bool, MaxHosts + 1> done{};
    distance[demand.Row] = 0.0;
    while (true) {
        int32_t current = 0;
        for (int32_t h = 1; h <= MaxHosts; ++h) {
            if (!done[h] && distance[h] < Infinite &&
                (current == 0 || distance[h] < distance[current]))
                current = h;
        }
        if (current == 0)
            return {};
        if (current == demand.Column)
            break;
        done[current] = true;
        for (int32_t next = 1; next <= MaxHosts; ++next) {
            const int32_t link = graph.LinkOf(current, next);
            if (link < 0 || done[next])
                continue;
            const double via = distance[current] + AddedDelay(graph, routing, link, demand.Load);
            if (via < distance[next]) {
                distance[next] = via;
                previous[next] = current;
            }
        }
    }
    CheapestPath path;
    path.Cost = distance[demand.Column];
    for (int32_t h = demand.Column; h != demand.Row; h = previous[h])
        path.Hosts.insert(path.Hosts.begin(), h);
    path.Hosts.insert(path.Hosts.begin(), demand.Row);
    return path;
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

}  // namespace

SinglePathRouting ImproveRouting(const LinkGraph& graph, SinglePathRouting start) {
    SinglePathRouting routing = std::move(start);
    for (int pass = 0; pass < MaxPasses; ++pass) {
        bool changed = false;
        for (size_t d = 0; d < graph.Demands.size(); ++d)
            changed = Reconsider(graph, routing, d) || changed;
        if (!changed)
            break;
    }
    return routing;
}

}  // namespace optimize
