// What a network costs to lay: each channel costs its type's second value
// (the relative cost of laying one) times its length. One definition for the
// design advisor, the quality and design windows and the report.
#pragma once

#include <cstdint>

#include "netobj.h"

namespace net {

struct NetworkCostT {
    double Cost = 0.0;
    // Present channels whose type number is not in the channel type table:
    // their cost is unknown and not in Cost.
    int32_t ChannelsWithoutType = 0;
};

// The cost of a channel of `type` between two hosts at their current
// positions. Requires 1 <= type <= net.ChannelTypeCount and host numbers.
double ChannelCost(const TNetObj& net, int32_t type, int32_t hostA, int32_t hostB);

// The cost of the present channels, each measured between its ends' current
// positions.
NetworkCostT NetworkCost(const TNetObj& net);

}  // namespace net
