// Synthetic networks for the design advisor: hosts at seeded places in the
// drawing area, the reference channel types, and seeded demands.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "netobj.h"

struct DesignCaseShape {
    int32_t Hosts = 8;
    bool BothDirections = true;  // a demand per ordered pair, else per unordered pair
    int32_t LeastLoad = 300;
    int32_t MostLoad = 1500;
    uint32_t Seed = 1;
};

// The reference channel types: 5000|1, 10000|2, 20000|3.
inline void SetReferenceChannelTypes(net::TNetObj& net) {
    net.ChannelTypeCount = 3;
    net.ChannelTypes[1].Capacity = 5000;
    net.ChannelTypes[1].Value2 = 1;
    net.ChannelTypes[2].Capacity = 10000;
    net.ChannelTypes[2].Value2 = 2;
    net.ChannelTypes[3].Capacity = 20000;
    net.ChannelTypes[3].Value2 = 3;
}

inline net::TNetObj SyntheticDesignCase(const DesignCaseShape& shape) {
    net::TNetObj net;
    SetReferenceChannelTypes(net);
    uint32_t state = shape.Seed * 2654435761u + 12345u;
    const auto next = [&](uint32_t range) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % range;
    };
    while (net.HostCount < shape.Hosts) {
        const auto x = static_cast<int32_t>(20 + next(533));
        const auto y = static_cast<int32_t>(20 + next(433));
        // Well apart, as a user places them.
        bool clear = true;
        for (int32_t h = 1; h <= net.HostCount; ++h) {
            if (std::abs(net.Hosts[h].X - x) < 40 && std::abs(net.Hosts[h].Y - y) < 40)
                clear = false;
        }
        if (clear)
            net.AddHost(x, y, "", 1);
    }
    const auto span = static_cast<uint32_t>(shape.MostLoad - shape.LeastLoad + 1);
    for (int32_t i = 1; i <= shape.Hosts; ++i) {
        for (int32_t j = 1; j <= shape.Hosts; ++j) {
            if (i != j && (shape.BothDirections || i < j))
                net.LoadMatrix[i][j] = shape.LeastLoad + static_cast<int32_t>(next(span));
        }
    }
    return net;
}
