// Dijkstra's search over the links of the graph, at most 18 hosts, with a
// length per link; an infinite length bars the link.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "link_graph.h"

namespace optimize {

constexpr double NoPath = std::numeric_limits<double>::infinity();

struct ShortestTree {
    std::array<double, net::MaxHosts + 1> Distance;  // NoPath where unreached
    std::array<int32_t, net::MaxHosts + 1> ViaLink{};
};

// Exact for every host when `target` is 0, else for `target` at least.
ShortestTree Dijkstra(const LinkGraph& graph, const std::vector<double>& lengths, int32_t source,
                      int32_t target);

// The links from `source` to a reached `target`, in order.
std::vector<int32_t> PathTo(const LinkGraph& graph, const ShortestTree& tree, int32_t source,
                            int32_t target);

// The same path as hosts, `source` first.
std::vector<int32_t> HostsTo(const LinkGraph& graph, const ShortestTree& tree, int32_t source,
                             int32_t target);

}  // namespace optimize
