// Keeping the present channels, and putting a design into the network.
#include <cmath>

#include "design_test_support.h"
#include "errors.h"
#include "network_cost.h"

namespace {

using namespace design_testing;

// A square of side 100: present channels 1-2, 2-3, 3-4 of type 1 (5000, so
// 4000 at UMAX 0.8). The loads 1->4 = 3500 and 3->4 = 3000 would put 6500
// on 3-4. The side 1-4 (cost 100, type 1) carries 1->4 on its own; a
// diagonal (cost 141) or a larger type costs more.
net::TNetObj SquareWithPath() {
    net::TNetObj net =
        Network({{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{1, 4, 3500}, {3, 4, 3000}});
    net.AddChannel(1, 2, 1);
    net.AddChannel(2, 3, 1);
    net.AddChannel(3, 4, 1);
    return net;
}

TEST(KeepPresent, AddsExactlyTheMissingChannel) {
    design::NetworkDesign advisor(SquareWithPath());
    advisor.keepPresent(true);
    ASSERT_EQ(advisor.run(), design::DesignStatus::Optimal);
    const design::Design& proposed = *advisor.result().Proposed;
    const std::vector<design::DesignChannel> expected = {
        {1, 2, 1, true}, {1, 4, 1, false}, {2, 3, 1, true}, {3, 4, 1, true}};
    EXPECT_EQ(proposed.Channels, expected);
    EXPECT_NEAR(proposed.Cost, 100.0, 1e-9);
    EXPECT_NEAR(advisor.result().Bound, 100.0, 1e-6);
    EXPECT_EQ(proposed.Method.Placed, 2);
    EXPECT_EQ(proposed.Method.Unplaced, 0);
    EXPECT_EQ(proposed.Method.FailuresLeavingLoad, -1);
}

TEST(KeepPresent, WithoutKeepTheChannelsAreChosenAfresh) {
    // Without keep, 2-3 serves nothing: the best is 1-4 and 3-4 alone.
    design::NetworkDesign advisor(SquareWithPath());
    ASSERT_EQ(advisor.run(), design::DesignStatus::Optimal);
    const std::vector<design::DesignChannel> expected = {{1, 4, 1, false}, {3, 4, 1, false}};
    EXPECT_EQ(advisor.result().Proposed->Channels, expected);
    EXPECT_NEAR(advisor.result().Proposed->Cost, 200.0, 1e-9);
}

TEST(KeepPresent, APresentNetworkThatCarriesNeedsNothing) {
    net::TNetObj net = SquareWithPath();
    net.LoadMatrix[3][4] = 0;  // 3500 over the path fits
    design::NetworkDesign advisor(net);
    advisor.keepPresent(true);
    ASSERT_EQ(advisor.run(), design::DesignStatus::Optimal);
    EXPECT_EQ(advisor.result().Proposed->Cost, 0.0);
    EXPECT_EQ(advisor.result().Proposed->Channels.size(), 3u);
}

TEST(ApplyDesign, ReplacesTheChannelsInOrderAndRoutes) {
    net::TNetObj net = SquareWithPath();
    design::Design design;
    design.Channels = {{1, 4, 1, false}, {3, 4, 2, false}};
    design::ApplyDesign(net, design);
    EXPECT_EQ(net.ChannelCount, 2);
    EXPECT_EQ(net.Channels[1].HostA, 1);
    EXPECT_EQ(net.Channels[1].HostB, 4);
    EXPECT_EQ(net.Channels[2].TypeNo, 2);
    EXPECT_FALSE(net.ChannelPresent[3]);
    EXPECT_EQ(net.PathTable.PathCount, 2);
    EXPECT_EQ(net.ResidualMatrix[1][4], 5000 - 3500);
    EXPECT_EQ(net.ResidualMatrix[3][4], 10000 - 3000);
    EXPECT_NEAR(net::NetworkCost(net).Cost, 100.0 + 2 * 100.0, 1e-9);
}

TEST(ApplyDesign, RefusesABadDesignAndLeavesTheNetwork) {
    const net::TNetObj before = SquareWithPath();
    const std::vector<design::DesignChannel> bad[] = {{{1, 5, 1, false}},   // host 5 absent
                                                      {{0, 2, 1, false}},   // no host 0
                                                      {{2, 2, 1, false}},   // a loop
                                                      {{1, 2, 4, false}},   // type beyond the table
                                                      {{1, 2, 0, false}}};  // no type
    for (const auto& channels : bad) {
        net::TNetObj net = before;
        design::Design design;
        design.Channels = channels;
        EXPECT_THROW(design::ApplyDesign(net, design), net::NetError);
        EXPECT_EQ(net.Channels, before.Channels);
        EXPECT_EQ(net.ChannelPresent, before.ChannelPresent);
    }
}

}  // namespace
