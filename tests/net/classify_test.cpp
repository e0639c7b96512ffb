#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "netobj.h"

namespace {

using net::Biconnected;
using net::Connected;
using net::Disconnected;
using net::TNetObj;

// Hosts with the given numbers (others absent) and channels between them.
TNetObj Network(std::initializer_list<int> hosts,
                std::initializer_list<std::pair<int, int>> links) {
    TNetObj net;
    for (int h : hosts) {
        net.HostPresent[h] = true;
        net.Hosts[h].X = 20 * h;
        ++net.HostCount;
    }
    for (auto [a, b] : links)
        net.AddChannel(a, b, 1);
    return net;
}

TEST(Classify, SmallNetworks) {
    EXPECT_EQ(Network({}, {}).Classify(), Disconnected);
    EXPECT_EQ(Network({1}, {}).Classify(), Connected);
    EXPECT_EQ(Network({1}, {{1, 1}}).Classify(), Connected);
    EXPECT_EQ(Network({1, 2}, {{1, 2}}).Classify(), Biconnected);
    EXPECT_EQ(Network({1, 2}, {}).Classify(), Disconnected);
    EXPECT_EQ(Network({1, 2, 3}, {{1, 2}, {2, 3}}).Classify(), Connected);
    EXPECT_EQ(Network({1, 2, 3}, {{1, 2}, {2, 3}, {3, 1}}).Classify(), Biconnected);
}

TEST(Classify, StarIsConnectedAndALonelyHostDisconnects) {
    EXPECT_EQ(Network({1, 2, 3, 4}, {{2, 1}, {2, 3}, {2, 4}}).Classify(), Connected);
    EXPECT_EQ(Network({1, 2, 3, 4}, {{1, 2}, {2, 3}, {3, 1}}).Classify(), Disconnected);
}

TEST(Classify, GapsInTheNumberingDoNotMatter) {
    EXPECT_EQ(Network({2, 3, 4}, {{2, 3}, {3, 4}, {4, 2}}).Classify(), Biconnected);
    EXPECT_EQ(Network({1, 3, 4}, {{1, 3}, {3, 4}, {4, 1}}).Classify(), Biconnected);
    EXPECT_EQ(Network({5, 18}, {{18, 5}}).Classify(), Biconnected);
}

TEST(Classify, AbsentChannelsAndRepeatedPairsAreIgnored) {
    TNetObj net = Network({1, 2, 3}, {{1, 2}, {2, 3}, {3, 1}});
    net.ChannelPresent[3] = false;  // the record still names 3-1
    --net.ChannelCount;
    EXPECT_EQ(net.Classify(), Connected);
    // A second channel on 1-2, as a loaded project may hold, counts once.
    net.Channels[3] = {2, 1, 1, 0, 0.0};
    net.ChannelPresent[3] = true;
    EXPECT_EQ(net.Classify(), Connected);
}

TEST(Classify, TwoTrianglesSharingAHostHaveAnArticulationPoint) {
    EXPECT_EQ(Network({1, 2, 3, 4, 5}, {{1, 2}, {2, 3}, {3, 1}, {3, 4}, {4, 5}, {5, 3}}).Classify(),
              Connected);
    // A path that is closed into a ring of 18 is biconnected.
    TNetObj ring;
    for (int h = 1; h <= 18; ++h) {
        ring.HostPresent[h] = true;
        ring.Hosts[h].X = 20 * h;
    }
    for (int h = 1; h < 18; ++h)
        ring.AddChannel(h, h + 1, 1);
    EXPECT_EQ(ring.Classify(), Connected);
    ring.AddChannel(18, 1, 1);
    EXPECT_EQ(ring.Classify(), Biconnected);
}

}  // namespace
