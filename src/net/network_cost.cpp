#include "network_cost.h"

#include <cassert>

namespace net {

double ChannelCost(const TNetObj& net, int32_t type, int32_t hostA, int32_t hostB) {
    assert(type >= 1 && type <= net.ChannelTypeCount && type <= MaxTypes);
    assert(IsHostNumber(hostA) && IsHostNumber(hostB));
    return static_cast<double>(net.ChannelTypes[type].Value2) * net.HostDistance(hostA, hostB);
}

NetworkCostT NetworkCost(const TNetObj& net) {
    NetworkCostT result;
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const ChannelRecord& channel = net.Channels[c];
        // A project file may hold any numbers in a channel record.
        const bool known = channel.TypeNo >= 1 && channel.TypeNo <= net.ChannelTypeCount &&
                           channel.TypeNo <= MaxTypes;
        if (!known || !IsHostNumber(channel.HostA) || !IsHostNumber(channel.HostB)) {
            ++result.ChannelsWithoutType;
            continue;
        }
        result.Cost += ChannelCost(net, channel.TypeNo, channel.HostA, channel.HostB);
    }
    return result;
}

}  // namespace net
