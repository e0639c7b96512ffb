#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>

#include "errors.h"
#include "netobj.h"
#include "test_support.h"
#include "texts.h"

namespace {

using net::TNetObj;
using testing_support::MessageOf;

// Hosts 1..hosts on a circle; channels (a, b, type); capacities per type.
TNetObj Network(int hosts, std::initializer_list<std::tuple<int, int, int>> links,
                std::initializer_list<int32_t> capacities) {
    TNetObj net;
    testing_support::SetCapacities(net, capacities);
    for (int h = 1; h <= hosts; ++h)
        net.AddHost(30 * h, 10 * (h % 3), "", 1);
    for (auto [a, b, type] : links)
        net.AddChannel(a, b, type);
    return net;
}

std::vector<int> PathHosts(const TNetObj& net, int p) {
    const net::PathRecord& r = net.PathTable.Records[p];
    return std::vector<int>(r.begin() + 1, r.begin() + 1 + r[0]);
}

TEST(RouteAll, EqualCostRouteDoesNotReplaceTheFirstOne) {
    TNetObj net = Network(4, {{1, 2, 1}, {2, 4, 1}, {1, 3, 1}, {3, 4, 1}}, {5000});
    net.LoadMatrix[1][4] = 1000;
    net.RouteAll();
    ASSERT_EQ(net.PathTable.PathCount, 1);
    EXPECT_EQ(PathHosts(net, 1), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(net.PathTable.Records[1][4], 0);
    EXPECT_EQ(net.ResidualMatrix[1][2], 4000);
    EXPECT_EQ(net.ResidualMatrix[4][2], 4000);
    EXPECT_EQ(net.ResidualMatrix[1][3], 5000);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[2][1], 1.5);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[3][4], 1.0);
    EXPECT_EQ(net::PathText(net, 1), "1 | 1-2-4 | 3.000");
}

TEST(RouteAll, NearEqualRoutesAreDecidedInExtendedPrecision) {
    TNetObj net = Network(4, {{1, 2, 1}, {1, 4, 1}, {2, 3, 1}, {3, 4, 1}}, {5000});
    net.LoadMatrix[2][4] = 500;
    net.RouteAll();
    EXPECT_EQ(PathHosts(net, 1), (std::vector<int>{2, 3, 4}));
}

TEST(RouteAll, NoDemandLeavesFullCapacities) {
    TNetObj net = Network(3, {{1, 2, 1}, {2, 3, 2}}, {10000, 4000});
    net.LoadMatrix[1][3] = -5;
    net.LoadMatrix[2][2] = 0;
    net.RouteAll();
    EXPECT_EQ(net.PathTable.PathCount, 0);
    EXPECT_EQ(net.ResidualMatrix[2][1], 10000);
    EXPECT_EQ(net.ResidualMatrix[3][2], 4000);
    EXPECT_EQ(net.ResidualMatrix[1][3], 0);
    EXPECT_EQ(net.DelayMatrix[1][2], 0.0);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[2][3], 1.5);
    EXPECT_EQ(net.DelayMatrix[1][3], 0.0);
}

TEST(RouteAll, ADemandEqualToTheResidualCannotUseTheChannel) {
    TNetObj net = Network(2, {{1, 2, 1}}, {5000});
    net.LoadMatrix[1][2] = 5000;
    net.RouteAll();
    EXPECT_EQ(net.PathTable.PathCount, 0);
    ASSERT_EQ(net.Unrouted.Count, 1);
    EXPECT_EQ(net.Unrouted.Items[1].RowHost, 1);
    EXPECT_EQ(net.Unrouted.Items[1].ColumnHost, 2);
    EXPECT_EQ(net.Unrouted.Items[1].Load, 5000);
    EXPECT_EQ(net.ResidualMatrix[1][2], 5000);  // nothing subtracted

    net.LoadMatrix[1][2] = 4999;
    net.RouteAll();
    EXPECT_EQ(net.PathTable.PathCount, 1);
    EXPECT_EQ(net.Unrouted.Count, 0);
    EXPECT_EQ(net.ResidualMatrix[2][1], 1);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[1][2], 9999.0);
}

TEST(RouteAll, BothDirectionsShareOneCapacity) {
    TNetObj net = Network(2, {{1, 2, 1}}, {10000});
    net.LoadMatrix[1][2] = 3000;
    net.LoadMatrix[2][1] = 2000;
    net.RouteAll();
    EXPECT_EQ(net.PathTable.PathCount, 2);
    EXPECT_EQ(PathHosts(net, 2), (std::vector<int>{2, 1}));
    EXPECT_EQ(net.ResidualMatrix[1][2], 5000);
    EXPECT_EQ(net::PathText(net, 1), "1 | 1-2 | 1.000");
}

TEST(RouteAll, EarlierDemandInRowMajorOrderTakesTheCheaperRoute) {
    // The direct channel 1-3 is cheaper for the first demand and then too
    // full for the second, which takes the detour 3-2-1.
    TNetObj net = Network(3, {{1, 3, 1}, {1, 2, 2}, {2, 3, 2}}, {15000, 20000});
    net.LoadMatrix[3][1] = 9000;
    net.LoadMatrix[1][3] = 9000;
    net.RouteAll();
    ASSERT_EQ(net.PathTable.PathCount, 2);
    EXPECT_EQ(PathHosts(net, 1), (std::vector<int>{1, 3}));     // row 1 first
    EXPECT_EQ(PathHosts(net, 2), (std::vector<int>{3, 2, 1}));  // then row 3
    EXPECT_EQ(net.ResidualMatrix[1][3], 6000);
    EXPECT_EQ(net.ResidualMatrix[1][2], 11000);
}

TEST(RouteAll, AbsentHostsDiagonalAndUnreachableDemandsTakeNoRecord) {
    TNetObj net = Network(5, {{1, 2, 1}, {4, 5, 1}}, {10000});
    net.DeleteHost(3);
    net.LoadMatrix[1][3] = 100;  // absent column host
    net.LoadMatrix[2][2] = 100;  // diagonal: skipped, not unrouted
    net.LoadMatrix[1][4] = 200;  // other part of the network
    net.LoadMatrix[1][2] = 300;
    net.LoadMatrix[5][4] = 400;
    net.RouteAll();
    ASSERT_EQ(net.PathTable.PathCount, 2);
    EXPECT_EQ(PathHosts(net, 1), (std::vector<int>{1, 2}));
    EXPECT_EQ(PathHosts(net, 2), (std::vector<int>{5, 4}));
    EXPECT_EQ(net.PathTable.Records[3][0], 0);
    ASSERT_EQ(net.Unrouted.Count, 1);
    EXPECT_EQ(net.Unrouted.Items[1].ColumnHost, 4);
    EXPECT_EQ(net::UnroutedText(net, 1), "1-4 | нет пути | 200");
    EXPECT_EQ(net.ResidualMatrix[1][2], 9700);

    net.LoadMatrix[1][4] = 0;
    net.RouteAll();
    EXPECT_EQ(net.Unrouted.Count, 0);
}

TEST(RouteAll, EveryOrderedPairOfAFullMeshGetsARecord) {
    TNetObj net;
    testing_support::SetCapacities(net, {1000000});
    for (int h = 1; h <= 18; ++h)
        net.AddHost(20 * h, 0, "", 1);
    for (int i = 1; i <= 18; ++i) {
        for (int j = i + 1; j <= 18; ++j)
            net.AddChannel(i, j, 1);
    }
    for (int i = 1; i <= 18; ++i) {
        for (int j = 1; j <= 18; ++j)
            net.LoadMatrix[i][j] = 10;
    }
    net.RouteAll();
    EXPECT_EQ(net.PathTable.PathCount, 306);
    EXPECT_EQ(net.Unrouted.Count, 0);
    EXPECT_EQ(PathHosts(net, 306), (std::vector<int>{18, 17}));
}

TEST(RouteAll, UnknownChannelTypeFailsBeforeAnythingChanges) {
    TNetObj net = Network(3, {{1, 2, 1}, {2, 3, 1}}, {10000});
    net.LoadMatrix[1][3] = 100;
    net.RouteAll();
    const auto residuals = net.ResidualMatrix;
    const auto paths = net.PathTable.Records;
    net.SetChannelType(2, 4);
    const std::string message = MessageOf([&] { net.RouteAll(); });
    EXPECT_NE(message.find("Канал 2"), std::string::npos) << message;
    EXPECT_NE(message.find("4"), std::string::npos) << message;
    EXPECT_EQ(net.ResidualMatrix, residuals);
    EXPECT_EQ(net.PathTable.Records, paths);
    net.SetChannelType(2, 0);
    EXPECT_THROW(net.RouteAll(), net::NetError);
}

TEST(RouteAll, ZeroCapacityFailsAtItsDelayFigure) {
    TNetObj net = Network(3, {{1, 2, 1}, {2, 3, 2}, {1, 3, 1}}, {10000, 0});
    net.LoadMatrix[1][3] = 100;
    EXPECT_EQ(MessageOf([&] { net.RouteAll(); }), "Floating point division by zero");
    EXPECT_EQ(net.PathTable.PathCount, 1);  // paths are complete
    EXPECT_EQ(PathHosts(net, 1), (std::vector<int>{1, 3}));
    EXPECT_DOUBLE_EQ(net.DelayMatrix[1][2], 0.0);  // channel 1 was done
    EXPECT_EQ(net.DelayMatrix[1][3], 0.0);         // channel 3 was not reached
}

TEST(RouteAll, NegativeCapacityIsNeverUsable) {
    TNetObj net = Network(2, {{1, 2, 1}}, {-5000});
    net.LoadMatrix[1][2] = 1;
    net.RouteAll();
    EXPECT_EQ(net.PathTable.PathCount, 0);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[1][2], -3.0);
}

TEST(RouteAll, PresentChannelsOnAbsentHostsAsAProjectMayHoldThem) {
    // A loaded project may flag channels present whose ends are absent
    // hosts; they take their capacity and delay figure but carry nothing.
    TNetObj net = Network(3, {{1, 2, 1}, {2, 3, 1}}, {10000, 4000});
    net.Channels[3] = {2, 17, 2, 0, 0.0};
    net.Channels[4] = {18, 17, 1, 0, 0.0};
    net.ChannelPresent[3] = net.ChannelPresent[4] = true;
    net.ChannelCount = 4;
    net.LoadMatrix[1][3] = 2000;
    net.LoadMatrix[17][2] = 100;  // absent row host
    net.LoadMatrix[2][18] = 100;  // absent column host
    EXPECT_EQ(net.Classify(), net::Connected);
    net.RouteAll();
    ASSERT_EQ(net.PathTable.PathCount, 1);
    EXPECT_EQ(PathHosts(net, 1), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(net.Unrouted.Count, 0);
    EXPECT_EQ(net.ResidualMatrix[17][2], 4000);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[2][17], 1.5);
    EXPECT_EQ(net.ResidualMatrix[18][17], 10000);
    net.DeleteHost(3);
    EXPECT_EQ(net.Classify(), net::Biconnected);
}

TEST(ToggleDynamic, RoutesOnlyAConnectedNetwork) {
    TNetObj net = Network(3, {{1, 2, 1}}, {10000});
    net.LoadMatrix[1][2] = 100;
    net.ToggleDynamic();
    EXPECT_TRUE(net.DynamicRouting);
    EXPECT_EQ(net.PathTable.PathCount, 0);  // disconnected: no routing
    net.AddChannel(2, 3, 1);                // now connected: the rule routes
    EXPECT_EQ(net.PathTable.PathCount, 1);
    net.LoadMatrix[1][3] = 100;
    net.DeleteChannel(2);  // disconnects: the old results stay
    EXPECT_EQ(net.PathTable.PathCount, 1);
    EXPECT_EQ(net.ResidualMatrix[2][3], 10000);
    net.ToggleDynamic();
    EXPECT_FALSE(net.DynamicRouting);
    EXPECT_EQ(net.PathTable.PathCount, 1);
    net.AddChannel(2, 3, 1);
    EXPECT_EQ(net.PathTable.PathCount, 1);  // off: no routing
    net.ToggleDynamic();
    EXPECT_EQ(net.PathTable.PathCount, 2);  // on and connected: routes at once
}

}  // namespace
