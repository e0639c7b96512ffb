#include "failures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "errors.h"
#include "test_support.h"
#include "texts.h"

namespace {

using net::FailedKind;
using net::FailureRow;
using net::TNetObj;
using testing_support::MessageOf;
using testing_support::Pairs;

TNetObj Network(int hosts, const Pairs& channels) {
    return testing_support::Network(hosts, channels, {}, [](int h) {
        return std::pair{40 * h, 15 * (h % 2)};
    });
}

// "c3", "h2" or "-" per row, in the order of the rows.
std::string Order(const std::vector<FailureRow>& rows) {
    std::string text;
    for (const FailureRow& row : rows) {
        text += text.empty() ? "" : " ";
        text += row.Kind == FailedKind::None      ? "-"
                : row.Kind == FailedKind::Channel ? "c" + std::to_string(row.Element)
                                                  : "h" + std::to_string(row.Element);
    }
    return text;
}

TEST(AnalyzeFailures, RingOfFourSurvivesEverySingleFailure) {
    // Channels 1:1-2 2:2-3 3:3-4 4:4-1, capacity 5000; one demand 1 -> 3.
    TNetObj net = Network(4, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
    net.LoadMatrix[1][3] = 1000;
    const std::vector<FailureRow> rows = net::AnalyzeFailures(net);

    // Every path costs 2 x 1.5; rows without any path (the demand left with
    // its host) come last.
    EXPECT_EQ(Order(rows), "- c1 c2 c3 c4 h2 h4 h1 h3");
    EXPECT_EQ(rows[0].Class, net::Biconnected);
    for (size_t k = 1; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].Class, net::Connected) << Order({rows[k]});
        EXPECT_EQ(rows[k].UnplacedCount, 0);
        EXPECT_EQ(rows[k].UnplacedLoad, 0);
    }
    // Without failure the demand takes 1-2-3 (host 2 wins the tie).
    EXPECT_EQ(rows[0],
              (FailureRow{FailedKind::None, 0, net::Biconnected, 1, 0, 0, 0, 0, 3.0, 1, 4000}));
    // Channel 1-2 down: the demand goes round by 4, channel 3-4 is the
    // lowest-numbered one left with 4000.
    EXPECT_EQ(rows[1],
              (FailureRow{FailedKind::Channel, 1, net::Connected, 1, 0, 0, 0, 0, 3.0, 3, 4000}));
    // Host 1 down: its demand leaves with it and is not "unplaced"; the
    // untouched channels keep their capacity.
    EXPECT_EQ(rows[7],
              (FailureRow{FailedKind::Host, 1, net::Connected, 0, 0, 0, 1, 1000, 0.0, 2, 5000}));
}

TEST(AnalyzeFailures, DisconnectingFailuresComeFirstWithTheLoadTheyStrand) {
    // A path 1-2-3: any channel or host 2 failing cuts the 1 -> 3 demand.
    TNetObj net = Network(3, {{1, 2}, {2, 3}});
    net.LoadMatrix[1][3] = 700;
    net.LoadMatrix[3][3] = 900;  // the diagonal is no demand and never lost
    const std::vector<FailureRow> rows = net::AnalyzeFailures(net);
    EXPECT_EQ(Order(rows), "- c1 c2 h2 h1 h3");
    for (size_t k : {1, 2, 3}) {
        EXPECT_EQ(rows[k].Class, net::Disconnected);
        EXPECT_EQ(rows[k].UnplacedCount, 1);
        EXPECT_EQ(rows[k].UnplacedLoad, 700);
        EXPECT_EQ(rows[k].PlacedCount, 0);
    }
    EXPECT_EQ(rows[4].LostCount, 1);
    EXPECT_EQ(rows[5].LostLoad, 700);
}

TEST(AnalyzeFailures, LostDemandsCountOnlyThoseBetweenPresentHosts) {
    TNetObj net = Network(4, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
    net.LoadMatrix[2][1] = 100;
    net.LoadMatrix[1][4] = 200;
    net.LoadMatrix[3][1] = -5;
    net.DeleteHost(3);
    net.LoadMatrix[1][3] = 400;  // to an absent host: never a demand
    const FailureRow row = net::AnalyzeFailure(net, FailedKind::Host, 1);
    EXPECT_EQ(row.LostCount, 2);
    EXPECT_EQ(row.LostLoad, 300);
}

TEST(AnalyzeFailures, AgreesWithTheModelRunByHandAndLeavesTheNetworkAlone) {
    // Two triangles joined by one channel; a filled channel forces detours
    // and leaves some demands unplaced.
    TNetObj net = Network(6, {{1, 2}, {2, 3}, {3, 1}, {3, 4}, {4, 5}, {5, 6}, {6, 4}});
    net.ChannelTypeCount = 2;
    net.ChannelTypes[2].Capacity = 1500;
    net.SetChannelType(4, 2);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            net.LoadMatrix[i][j] = i == j ? 0 : 100 * i + 37 * j;
    net.DynamicRouting = true;
    const TNetObj before = net;

    const std::vector<FailureRow> rows = net::AnalyzeFailures(net);
    ASSERT_EQ(rows.size(), 1u + 7u + 6u);
    for (const FailureRow& row : rows) {
        TNetObj copy = net;
        copy.DynamicRouting = false;
        if (row.Kind == FailedKind::Channel)
            copy.DeleteChannel(row.Element);
        if (row.Kind == FailedKind::Host)
            copy.DeleteHost(row.Element);
        copy.RouteAll();
        const std::string which = Order({row});
        EXPECT_EQ(row.Class, copy.Classify()) << which;
        EXPECT_EQ(row.PlacedCount, copy.PathTable.PathCount) << which;
        EXPECT_EQ(row.UnplacedCount, copy.Unrouted.Count) << which;
        double maxDelay = -1e300;
        for (int p = 1; p <= copy.PathTable.PathCount; ++p)
            maxDelay = std::max(maxDelay, net::PathDelay(copy, p));
        EXPECT_EQ(row.MaxPathDelay, copy.PathTable.PathCount > 0 ? maxDelay : 0.0) << which;
        const net::ChannelRecord& busiest = copy.Channels[row.BusiestChannel];
        EXPECT_EQ(row.BusiestResidual, copy.ResidualMatrix[busiest.HostA][busiest.HostB]);
        for (int c = 1; c <= net::MaxChannels; ++c) {
            if (copy.ChannelPresent[c])
                EXPECT_GE(copy.ResidualMatrix[copy.Channels[c].HostA][copy.Channels[c].HostB],
                          row.BusiestResidual);
        }
    }
    EXPECT_GT(rows[1].UnplacedLoad, 0);  // the bridge 3-4 carries everything across
    for (size_t k = 2; k < rows.size(); ++k)
        EXPECT_GE(rows[k - 1].UnplacedLoad, rows[k].UnplacedLoad);

    EXPECT_TRUE(net.DynamicRouting);
    EXPECT_EQ(net.HostPresent, before.HostPresent);
    EXPECT_EQ(net.ChannelPresent, before.ChannelPresent);
    EXPECT_EQ(net.PathTable.PathCount, before.PathTable.PathCount);
    EXPECT_EQ(net.ResidualMatrix, before.ResidualMatrix);
}

TEST(AnalyzeFailures, RoutingErrorsAreRaisedAsRoutingRaisesThem) {
    TNetObj net = Network(3, {{1, 2}, {2, 3}});
    net.SetChannelType(2, 7);
    TNetObj copy = net;
    const std::string expected = MessageOf([&] { copy.RouteAll(); });
    EXPECT_NE(expected, "(no error)");
    EXPECT_EQ(MessageOf([&] { net::AnalyzeFailures(net); }), expected);

    net.SetChannelType(2, 1);
    net.ChannelTypes[1].Capacity = 0;
    EXPECT_EQ(MessageOf([&] { net::AnalyzeFailures(net); }), "Floating point division by zero");
}

TEST(AnalyzeFailures, EmptyNetworkHasOnlyTheRowWithoutFailure) {
    const std::vector<FailureRow> rows = net::AnalyzeFailures(TNetObj{});
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], FailureRow{});
}

}  // namespace
