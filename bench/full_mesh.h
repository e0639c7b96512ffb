// The largest network the model holds: 18 hosts on a circle in a full mesh
// with a demand between every ordered pair.
#pragma once

#include <cmath>

#include "netobj.h"

inline net::TNetObj FullMeshWithAllDemands() {
    net::TNetObj net;
    net.ChannelTypeCount = 1;
    net.ChannelTypes[1].Capacity = 100000;
    for (int h = 0; h < net::MaxHosts; ++h) {
        const double angle = 2 * M_PI * h / net::MaxHosts;
        net.AddHost(static_cast<int32_t>(300 + 250 * std::cos(angle)),
                    static_cast<int32_t>(300 + 250 * std::sin(angle)), "", 1);
    }
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = i + 1; j <= net::MaxHosts; ++j) {
            net.AddChannel(i, j, 1);
        }
    }
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = 1; j <= net::MaxHosts; ++j) {
            if (i != j)
                net.LoadMatrix[i][j] = 100 + 7 * i + 3 * j;
        }
    }
    return net;
}

// The same mesh with channels of 1000 and demands of 200 to 400, spread
// unevenly: greedy routing fills channels to 99.7 % with detours and leaves
// two demands out, while a splittable routing needs 62 % at most.
inline net::TNetObj HeavyFullMesh() {
    net::TNetObj net = FullMeshWithAllDemands();
    net.ChannelTypes[1].Capacity = 1000;
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = 1; j <= net::MaxHosts; ++j) {
            if (i != j)
                net.LoadMatrix[i][j] =
                    static_cast<int32_t>(200 * (1 + ((i * 7919 + j * 104729) % 97) / 97.0));
        }
    }
    return net;
}

// The mesh with channels of 5000 and demands of 300 to 2400: no routing of
// single paths is far from full, and greedy routing leaves demands out.
inline net::TNetObj HeavierFullMesh() {
    net::TNetObj net = FullMeshWithAllDemands();
    net.ChannelTypes[1].Capacity = 5000;
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = 1; j <= net::MaxHosts; ++j) {
            if (i != j)
                net.LoadMatrix[i][j] = 300 + (i * 7919 + j * 104729) % 2101;
        }
    }
    return net;
}
