// The network as the optimiser sees it: one link per pair of hosts that a
// channel joins, with the capacity routing starts that pair from, and the
// demands in the order routing places them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "netobj.h"

namespace optimize {

struct Link {
    int32_t HostA = 0;
    int32_t HostB = 0;
    int32_t Channel = 0;   // the channel whose type gives the capacity
    int32_t Capacity = 0;  // 0 or less: the link carries nothing
    bool Carries() const { return Capacity > 0; }
};

struct Demand {
    int32_t Row = 0;
    int32_t Column = 0;
    int32_t Load = 0;
};

struct LinkGraph {
    std::vector<Link> Links;
    // Index into Links of the link between two hosts, -1 where none.
    net::HostMatrix<int32_t> LinkBetween{};
    std::vector<Demand> Demands;
    // Per demand: its ends are joined by links that carry, so some
    // splittable routing can carry at least part of it.
    std::vector<bool> Connected;
    // Per host: the lowest host of its component over the links that carry.
    std::array<int32_t, net::MaxHosts + 1> Component{};

    int32_t LinkOf(int32_t a, int32_t b) const { return LinkBetween[a][b]; }
};

// Requires channel types that the table holds (routing checks them first).
// As in routing, a later channel between the same two hosts sets the pair's
// capacity, and a channel from a host to itself carries nothing.
LinkGraph BuildLinkGraph(const net::TNetObj& net);

// The hosts of a path as links; requires consecutive hosts to be linked.
std::vector<int32_t> LinksOfPath(const LinkGraph& graph, const std::vector<int32_t>& hosts);

}  // namespace optimize
