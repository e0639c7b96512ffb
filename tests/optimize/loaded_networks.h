// Seeded random networks of 4 to 18 hosts whose load is scaled so that the
// best splittable routing runs its busiest channel at a chosen share of
// capacity: the situation a designer studies, and the hard one for the
// delay bound. Shared by the optimiser's tests and benchmarks.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>

#include "busiest_bound.h"
#include "link_graph.h"
#include "netobj.h"

namespace loaded_networks {

// A connected network: a random tree, then each other pair joined with a
// probability of its own per network; channels of four capacities, demands
// on a random share of the ordered pairs.
inline net::TNetObj Unscaled(std::mt19937& random) {
    net::TNetObj net;
    const int32_t capacities[] = {1000, 2500, 5000, 10000};
    net.ChannelTypeCount = 4;
    for (int32_t t = 1; t <= 4; ++t)
        net.ChannelTypes[t].Capacity = capacities[t - 1];
    const int hosts = std::uniform_int_distribution<int>(4, net::MaxHosts)(random);
    for (int h = 0; h < hosts; ++h) {
        const double angle = 2 * M_PI * h / hosts;
        net.AddHost(static_cast<int32_t>(300 + 250 * std::cos(angle)),
                    static_cast<int32_t>(300 + 250 * std::sin(angle)), "", 1);
    }
    std::uniform_int_distribution<int32_t> type(1, 4);
    for (int h = 2; h <= hosts; ++h)
        net.AddChannel(std::uniform_int_distribution<int>(1, h - 1)(random), h, type(random));
    const double density = std::uniform_real_distribution<double>(0.1, 0.6)(random);
    for (int a = 1; a <= hosts; ++a) {
        for (int b = a + 1; b <= hosts; ++b) {
            if (std::bernoulli_distribution(density)(random))
                net.AddChannel(a, b, type(random));  // refused where the tree joined them
        }
    }
    const double demandShare = std::uniform_real_distribution<double>(0.2, 1.0)(random);
    std::uniform_int_distribution<int32_t> load(1, 1000);
    for (int i = 1; i <= hosts; ++i) {
        for (int j = 1; j <= hosts; ++j) {
            if (i != j && std::bernoulli_distribution(demandShare)(random))
                net.LoadMatrix[i][j] = load(random);
        }
    }
    net.LoadMatrix[1][2] = std::max(net.LoadMatrix[1][2], 1);  // at least one demand
    return net;
}

// The loads scaled (twice, for the rounding to whole loads) so that the
// smallest busiest channel of any splittable routing is close to `busiest`.
inline void ScaleLoads(net::TNetObj& net, double busiest) {
    for (int round = 0; round < 2; ++round) {
        const double now = optimize::FindBusiestBound(optimize::BuildLinkGraph(net)).BusiestMin;
        for (auto& row : net.LoadMatrix) {
            for (int32_t& load : row) {
                if (load > 0)
                    load = std::max<int32_t>(
                        1, static_cast<int32_t>(std::lround(load * busiest / now)));
            }
        }
    }
}

inline net::TNetObj Loaded(uint32_t seed, double busiest) {
    std::mt19937 random(seed);
    net::TNetObj net = Unscaled(random);
    ScaleLoads(net, busiest);
    return net;
}

}  // namespace loaded_networks
