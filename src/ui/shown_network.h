// What the main window shows of the network: the drawing, the status and the
// tree are built from these parts alone. Comparing them tells whether the
// window still shows the network as it is.
#pragma once

#include <array>
#include <string>

#include "netobj.h"

struct ShownNetwork {
    std::string name;
    std::array<net::HostRecord, net::MaxHosts + 1> hosts{};
    std::array<bool, net::MaxHosts + 1> hostPresent{};
    std::array<net::ChannelRecord, net::MaxChannels + 1> channels{};
    std::array<bool, net::MaxChannels + 1> channelPresent{};
    std::array<net::HostType, net::MaxTypes + 1> hostTypes{};
    int32_t hostTypeCount = 0;
    std::array<net::ChannelType, net::MaxTypes + 1> channelTypes{};
    int32_t channelTypeCount = 0;
    net::HostMatrix<double> delays{};
    net::PathTableT paths{};
    net::UnroutedTableT unrouted{};

    bool operator==(const ShownNetwork&) const = default;
};

inline ShownNetwork ShownPartsOf(const net::TNetObj& net) {
    return {net.NetworkName,      net.Hosts,       net.HostPresent,   net.Channels,
            net.ChannelPresent,   net.HostTypes,   net.HostTypeCount, net.ChannelTypes,
            net.ChannelTypeCount, net.DelayMatrix, net.PathTable,     net.Unrouted};
}
