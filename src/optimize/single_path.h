// A routing that places each demand on one path, as the method records
// paths, and the figures that say how good it is.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "link_graph.h"
#include "netobj.h"

namespace optimize {

struct SinglePathRouting {
    // Per demand of the graph: its hosts from row to column, empty when the
    // demand is not placed.
    std::vector<std::vector<int32_t>> Paths;
    // Per link: the load of the placed demands that cross it, both ways.
    std::vector<int64_t> Flow;
};

struct RoutingFigures {
    int32_t Placed = 0;
    int32_t Unplaced = 0;
    int64_t PlacedLoad = 0;
    int64_t UnplacedLoad = 0;
    // Load-weighted mean over the placed demands of the sum over the path's
    // links of 10000 / residual; none when nothing is placed.
    std::optional<double> MeanDelay;
    // Largest flow / capacity over the links that carry; none when nothing
    // is placed.
    std::optional<double> Busiest;
    // The channel of the busiest link, the lowest link first; 0 with none.
    int32_t BusiestChannel = 0;
};

// The routing held by the path table of a network that routing has just
// routed (`routed`), over the graph built from the same network.
SinglePathRouting RoutingOfPathTable(const net::TNetObj& routed, const LinkGraph& graph);

RoutingFigures FiguresOf(const LinkGraph& graph, const SinglePathRouting& routing);

// The path table and the unplaced list of the routing, in the order routing
// writes them.
void WriteTables(const LinkGraph& graph, const SinglePathRouting& routing, net::PathTableT& paths,
                 net::UnroutedTableT& unrouted);

}  // namespace optimize
