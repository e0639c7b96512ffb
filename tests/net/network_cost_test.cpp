#include "network_cost.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

using namespace testing_support;

// Three hosts on a 3-4-5 triangle: sides 30, 40 and 50 pixels.
net::TNetObj Triangle() {
    net::TNetObj net;
    SetCapacities(net, {5000, 10000, 20000});
    net.ChannelTypes[1].Value2 = 1;
    net.ChannelTypes[2].Value2 = 2;
    net.ChannelTypes[3].Value2 = 3;
    AddHosts(net, {{100, 100}, {130, 100}, {130, 140}});
    return net;
}

TEST(NetworkCost, SumsValue2TimesLengthOverPresentChannels) {
    net::TNetObj net = Triangle();
    EXPECT_EQ(net::NetworkCost(net).Cost, 0.0);
    net.AddChannel(1, 2, 1);  // 30 x 1
    net.AddChannel(2, 3, 3);  // 40 x 3
    net.AddChannel(1, 3, 2);  // 50 x 2
    EXPECT_DOUBLE_EQ(net::NetworkCost(net).Cost, 30.0 + 120.0 + 100.0);
    EXPECT_EQ(net::NetworkCost(net).ChannelsWithoutType, 0);
    EXPECT_DOUBLE_EQ(net::ChannelCost(net, 3, 1, 3), 150.0);

    net.DeleteChannel(2);
    EXPECT_DOUBLE_EQ(net::NetworkCost(net).Cost, 130.0);
}

TEST(NetworkCost, FollowsMovedHostsAndCountsUnknownTypesApart) {
    net::TNetObj net = Triangle();
    net.AddChannel(1, 2, 2);
    net.UpdateHost(2, 160, 100, "b", 1);
    EXPECT_DOUBLE_EQ(net::NetworkCost(net).Cost, 120.0);

    // Type numbers are stored unchecked: the last type counts, one past it
    // and 0 do not.
    net.AddChannel(2, 3, 3);
    net.AddChannel(1, 3, 4);
    net.Channels[1].TypeNo = 0;
    const net::NetworkCostT cost = net::NetworkCost(net);
    EXPECT_DOUBLE_EQ(cost.Cost, 3.0 * net.HostDistance(2, 3));
    EXPECT_EQ(cost.ChannelsWithoutType, 2);
}

}  // namespace
