// Small networks for the design advisor's tests and the independent check
// that a network carries its load: the busiest-channel bound of the
// optimisation library over the network as applied, not the search's flows.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "busiest_bound.h"
#include "design_cases.h"
#include "link_graph.h"
#include "netobj.h"
#include "network_design.h"

namespace design_testing {

struct Place {
    int32_t X;
    int32_t Y;
};

struct Demand {
    int32_t From;
    int32_t To;
    int32_t Load;
};

inline net::TNetObj Network(const std::vector<Place>& places, const std::vector<Demand>& demands) {
    net::TNetObj net;
    SetReferenceChannelTypes(net);
    for (const Place& place : places)
        net.AddHost(place.X, place.Y, "", 1);
    for (const Demand& demand : demands)
        net.LoadMatrix[demand.From][demand.To] = demand.Load;
    return net;
}

// The smallest busiest utilisation of the network's channels over every
// splittable routing; +infinity when some demand's ends are not joined.
inline double SmallestBusiest(const net::TNetObj& net) {
    const optimize::LinkGraph graph = optimize::BuildLinkGraph(net);
    for (const bool connected : graph.Connected) {
        if (!connected)
            return std::numeric_limits<double>::infinity();
    }
    return optimize::FindBusiestBound(graph).BusiestMin;
}

// The largest of those over the failures of each present channel.
inline double WorstFailureBusiest(const net::TNetObj& net) {
    double worst = 0.0;
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        net::TNetObj failed = net;
        failed.DeleteChannel(c);
        worst = std::max(worst, SmallestBusiest(failed));
    }
    return worst;
}

inline net::TNetObj Applied(const net::TNetObj& net, const design::Design& design) {
    net::TNetObj applied = net;
    design::ApplyDesign(applied, design);
    return applied;
}

// Solver tolerance on utilisations.
constexpr double Slack = 1e-6;

}  // namespace design_testing
