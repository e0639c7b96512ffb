#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "errors.h"
#include "netobj.h"
#include "test_support.h"

namespace {

using net::TNetObj;
using testing_support::AddChannels;

// "slot:a-b" for every present channel, ascending.
std::string Links(const TNetObj& net) {
    return testing_support::Links(net, testing_support::LinkForm::SlotAndEnds);
}

// "slot:a-b/type" for every present channel, ascending.
std::string TypedLinks(const TNetObj& net) {
    return testing_support::Links(net, testing_support::LinkForm::SlotEndsAndType);
}

// Hosts 1..n at the given positions, no channels, channel types of
// capacities 5000 and 10000.
TNetObj Hosts(const std::vector<std::pair<int, int>>& positions) {
    TNetObj net;
    testing_support::SetCapacities(net, {5000, 10000});
    for (const auto& [x, y] : positions)
        net.AddHost(x, y, "", 1);
    return net;
}

TNetObj Line(int n) {
    std::vector<std::pair<int, int>> positions;
    for (int h = 0; h < n; ++h)
        positions.push_back({100 * h, 0});
    return Hosts(positions);
}

// A line of n hosts without host `gap`, where channel 1 joins a and b with `type`.
TNetObj LineWithChannel(int n, int gap, int a, int b, int type) {
    TNetObj net = Line(n);
    net.DeleteHost(gap);
    net.AddChannel(a, b, type);
    return net;
}

TEST(BuildStar, JoinsTheCentreToEveryOtherPresentHostOnce) {
    TNetObj net = LineWithChannel(6, 3, 5, 2, 2);
    net.BuildStar(2, 1);
    // The joined pair keeps its own channel and type.
    EXPECT_EQ(TypedLinks(net), "1:5-2/2 2:2-1/1 3:2-4/1 4:2-6/1");
    net.BuildStar(2, 1);
    EXPECT_EQ(net.ChannelCount, 4);
    for (int centre : {3, 0, 19, -1, 1000000})
        net.BuildStar(centre, 1);
    EXPECT_EQ(net.ChannelCount, 4);
}

TEST(BuildFullMesh, JoinsEveryPairOfPresentHostsInAscendingOrder) {
    TNetObj net = LineWithChannel(5, 2, 4, 1, 2);
    net.BuildFullMesh(1);
    EXPECT_EQ(TypedLinks(net), "1:4-1/2 2:1-3/1 3:1-5/1 4:3-4/1 5:3-5/1 6:4-5/1");
}

TEST(DeleteAllChannels, RemovesEveryChannelWithoutRoutingOfItsOwn) {
    TNetObj net = Line(1);
    net.AddChannel(1, 1, 1);
    net.DynamicRouting = true;
    net.PathTable.PathCount = 7;  // would be reset by any routing run
    net.DeleteAllChannels();
    EXPECT_EQ(net.ChannelCount, 0);
    EXPECT_FALSE(net.ChannelPresent[1]);
    EXPECT_TRUE(net.DynamicRouting);
    EXPECT_EQ(net.PathTable.PathCount, 7);
}

TEST(BuildSpanningTree, LeavesNetworksWithoutCyclesAlone) {
    TNetObj net = Line(6);
    net.BuildSpanningTree();
    EXPECT_EQ(net.ChannelCount, 0);
    AddChannels(net, {{1, 2}, {3, 2}, {5, 6}});
    net.BuildSpanningTree();
    EXPECT_EQ(Links(net), "1:1-2 2:3-2 3:5-6");
}

TEST(BuildSpanningTree, NearlyEqualLengthsKeepTheOrderTheExchangeSortLeaves) {
    // Lengths 50.596, 50.606 and 41.195: the first pass exchanges positions
    // 1 and 3, then 50.606 stays ahead of 50.596.
    TNetObj net = Hosts({{0, 0}, {48, 16}, {4, 41}});
    AddChannels(net, {{1, 2}, {2, 3}, {1, 3}});
    net.BuildSpanningTree();
    EXPECT_EQ(net.SortedChannel[1], 3);
    EXPECT_EQ(net.SortedChannel[2], 2);
    EXPECT_EQ(net.SortedChannel[3], 1);
    EXPECT_EQ(Links(net), "2:2-3 3:1-3");
}

TEST(BuildSpanningTree, TrianglesLoseTheirLongestOrHighestSlotChannel) {
    // Lengths 112.004, 112.004 and 112.000 count as equal: the highest
    // slot goes, although it holds the shortest channel.
    TNetObj equal = Hosts({{100, 0}, {156, 97}, {44, 97}});
    AddChannels(equal, {{1, 3}, {1, 2}, {2, 3}});
    equal.BuildSpanningTree();
    EXPECT_EQ(Links(equal), "1:1-3 2:1-2");

    // Lengths 30, 40, 50 in either slot order: the 50 goes.
    for (bool ascending : {true, false}) {
        TNetObj net = Hosts({{0, 0}, {30, 0}, {0, 40}});
        AddChannels(net, ascending ? testing_support::Pairs{{1, 2}, {1, 3}, {2, 3}}
                                   : testing_support::Pairs{{2, 3}, {1, 3}, {1, 2}});
        net.BuildSpanningTree();
        EXPECT_EQ(net.ChannelCount, 2);
        for (int c = 1; c <= 3; ++c) {
            if (net.ChannelPresent[c]) {
                EXPECT_LT(net.Channels[c].Length, 45.0);
            }
        }
    }
}

TEST(BuildSpanningTree, DropsRepeatedPairsAndChannelsFromAHostToItself) {
    TNetObj net = Line(3);
    AddChannels(net, {{2, 2}, {1, 2}, {2, 3}});
    // A project file may hold the same pair twice.
    net.Channels[4] = net.Channels[3];
    net.Channels[4].TypeNo = 2;
    net.ChannelPresent[4] = true;
    ++net.ChannelCount;
    net.BuildSpanningTree();
    EXPECT_EQ(Links(net), "2:1-2 3:2-3");
}

TEST(BuildSpanningTree, StopsAtSeventeenChannelsOfAMinimumTree) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        // One host in each cell of a 6 x 3 grid, anywhere in its cell.
        std::vector<std::pair<int, int>> positions;
        for (int h = 0; h < net::MaxHosts; ++h)
            positions.push_back({h % 6 * 100 + static_cast<int>(random() % 50),
                                 h / 6 * 100 + static_cast<int>(random() % 50)});
        TNetObj net = Hosts(positions);
        net.BuildSpanningTreeOverAll(2);
        ASSERT_EQ(net.ChannelCount, 17);
        EXPECT_EQ(net.Classify(), net::Connected);

        // Prim's method on the positions gives the weight to match; near-equal
        // lengths may trade places within the sort's tolerance.
        std::vector<double> best(net::MaxHosts + 1, 1e18);
        std::vector<bool> done(net::MaxHosts + 1, false);
        double expected = 0.0, actual = 0.0;
        best[1] = 0.0;
        for (int step = 0; step < net::MaxHosts; ++step) {
            int next = 0;
            for (int h = 1; h <= net::MaxHosts; ++h)
                if (!done[h] && (next == 0 || best[h] < best[next]))
                    next = h;
            done[next] = true;
            expected += best[next];
            for (int h = 1; h <= net::MaxHosts; ++h)
                best[h] = std::min(best[h], net.HostDistance(next, h));
        }
        for (int c = 1; c <= net::MaxChannels; ++c) {
            if (!net.ChannelPresent[c])
                continue;
            actual += net.Channels[c].Length;
            EXPECT_EQ(net.Channels[c].TypeNo, 2);
        }
        EXPECT_NEAR(actual, expected, 17 * 0.01);
    }
}

TEST(BuildSpanningTreeOverAll, KeepsTheTypeOfAPairJoinedBefore) {
    TNetObj net = LineWithChannel(4, 2, 4, 3, 1);
    net.BuildSpanningTreeOverAll(2);
    EXPECT_EQ(TypedLinks(net), "1:4-3/1 2:1-3/2");
}

TEST(MergeLabels, RelabelsTheHigherGroupWithTheLowerLabel) {
    TNetObj net;
    for (int h = 1; h <= net::MaxHosts; ++h)
        net.TreeLabel[h] = h % 2 == 0 ? 6 : 9;
    net.MergeLabels(9, 6);
    for (int h = 1; h <= net::MaxHosts; ++h)
        EXPECT_EQ(net.TreeLabel[h], 6);
}

// Every builder routes once, after its last change, and only when the
// result is connected. New channels get a type missing from the table, so a
// routing run in the middle would stop the builder before it finished.
TEST(TopologyBuilders, RouteOnceAtTheEnd) {
    auto start = [] {
        TNetObj net = Line(5);
        AddChannels(net, {{1, 2}, {2, 3}, {3, 4}, {4, 5}});
        net.DynamicRouting = true;
        return net;
    };
    TNetObj star = start();
    EXPECT_THROW(star.BuildStar(3, 99), net::NetError);
    EXPECT_EQ(star.ChannelCount, 6);
    EXPECT_TRUE(star.DynamicRouting);

    TNetObj mesh = start();
    EXPECT_THROW(mesh.BuildFullMesh(99), net::NetError);
    EXPECT_EQ(mesh.ChannelCount, 10);
    EXPECT_TRUE(mesh.DynamicRouting);

    // The hosts lie on a line: the tree is the path there already, and
    // every added channel goes again.
    TNetObj all = start();
    all.LoadMatrix[1][5] = 1000;
    EXPECT_NO_THROW(all.BuildSpanningTreeOverAll(99));
    EXPECT_EQ(Links(all), "1:1-2 2:2-3 3:3-4 4:4-5");
    EXPECT_EQ(all.PathTable.PathCount, 1);

    // With valid types the results are those of the finished network.
    TNetObj tree = start();
    tree.AddChannel(1, 5, 2);
    tree.LoadMatrix[1][5] = 1000;
    tree.BuildSpanningTree();
    TNetObj fresh = tree;
    fresh.RouteAll();
    EXPECT_EQ(tree.PathTable.Records, fresh.PathTable.Records);
    EXPECT_EQ(tree.ResidualMatrix, fresh.ResidualMatrix);

    // A disconnected result is not routed: the old results stay.
    TNetObj apart = Line(3);
    AddChannels(apart, {{1, 2}, {2, 2}});
    apart.DynamicRouting = true;
    apart.PathTable.PathCount = 7;
    apart.BuildSpanningTree();
    apart.BuildStar(7, 1);
    EXPECT_EQ(apart.PathTable.PathCount, 7);
}

// 18 hosts with every pair but 17-18 joined and one channel from host 1 to
// itself fill all 153 slots.
TEST(TopologyBuilders, StopWithTheErrorOfAFullChannelTable) {
    TNetObj full = Line(net::MaxHosts);
    full.AddChannel(1, 1, 1);
    EXPECT_THROW(full.BuildFullMesh(1), net::NetError);  // stops at the last pair
    EXPECT_EQ(full.ChannelCount, net::MaxChannels);
    EXPECT_FALSE(full.DynamicRouting);
    full.DynamicRouting = true;
    const std::function<void(TNetObj&)> builders[] = {
        [](TNetObj& net) { net.BuildFullMesh(1); },
        [](TNetObj& net) { net.BuildStar(18, 1); },
        [](TNetObj& net) { net.BuildSpanningTreeOverAll(1); },
    };
    for (size_t builder = 0; builder < std::size(builders); ++builder) {
        SCOPED_TRACE(builder);
        TNetObj net = full;
        const std::string message = testing_support::MessageOf([&] { builders[builder](net); });
        EXPECT_TRUE(message.find("17-18") != std::string::npos ||
                    message.find("18-17") != std::string::npos)
            << message;
        EXPECT_TRUE(net.DynamicRouting);
        EXPECT_EQ(net.ChannelCount, net::MaxChannels);
    }
}

}  // namespace
