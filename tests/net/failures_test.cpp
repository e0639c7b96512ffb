#include "failures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"
#include "texts.h"

namespace {

using net::FailedKind;
using net::FailureRow;
using net::TNetObj;

TNetObj Network(int hosts, const testing_support::Pairs& channels) {
    return testing_support::Network(hosts, channels, {}, [](int h) {
        return std::pair{40 * h, 15 * (h % 2)};
    });
}

std::string Name(const FailureRow& row) {
    const char* kinds[] = {"-", "c", "h"};
    return kinds[static_cast<int>(row.Kind)] + std::to_string(row.Element);
}

TEST(AnalyzeFailures, RingOfFourSurvivesEverySingleFailure) {
    // Channels 1:1-2 2:2-3 3:3-4 4:4-1, capacity 5000; one demand 1 -> 3,
    // every path 2 x 1.5.
    TNetObj net = Network(4, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
    net.LoadMatrix[1][3] = 1000;
    net.LoadMatrix[2][2] = 300;  // the diagonal is no demand, never lost
    const std::vector<FailureRow> rows = net::AnalyzeFailures(net);
    std::string order;
    for (const FailureRow& row : rows) {
        order += Name(row) + " ";
        EXPECT_EQ(row.Class, row.Kind == FailedKind::None ? net::Biconnected : net::Connected);
        EXPECT_EQ(row.UnplacedLoad, 0) << Name(row);
    }
    // Equal delays: channels before hosts; rows without any path come last.
    EXPECT_EQ(order, "-0 c1 c2 c3 c4 h2 h4 h1 h3 ");
    EXPECT_EQ(rows[0],
              (FailureRow{FailedKind::None, 0, net::Biconnected, 1, 0, 0, 0, 0, 3.0, 1, 4000}));
    // Channel 1-2 down: the demand goes round by 4; 3-4 is the lowest-numbered
    // channel left with 4000.
    EXPECT_EQ(rows[1],
              (FailureRow{FailedKind::Channel, 1, net::Connected, 1, 0, 0, 0, 0, 3.0, 3, 4000}));
    // Host 1 down: its demand leaves with it and is not unplaced.
    EXPECT_EQ(rows[7],
              (FailureRow{FailedKind::Host, 1, net::Connected, 0, 0, 0, 1, 1000, 0.0, 2, 5000}));
}

TEST(AnalyzeFailures, RowsWithoutAPathComeLastAlsoBelowNegativeDelays) {
    // A line 1-2-3 of capacity 20000: the demand 1 -> 2 has a delay sum of
    // 10000 / 19900 - 1, below the 0.0 of a row that places nothing.
    TNetObj net = testing_support::Network(3, {{1, 2}, {2, 3}}, {}, [](int h) {
        return std::pair{40 * h, 0};
    });
    testing_support::SetCapacities(net, {20000});
    net.LoadMatrix[1][2] = 100;
    const std::vector<FailureRow> rows = net::AnalyzeFailures(net);
    std::string order;
    for (const FailureRow& row : rows)
        order += Name(row) + " ";
    EXPECT_EQ(order, "-0 c1 c2 h3 h1 h2 ");
    EXPECT_NEAR(rows[2].MaxPathDelay, 10000.0 / 19900.0 - 1.0, 1e-12);
    EXPECT_EQ(rows[4].PlacedCount, 0);
}

TEST(AnalyzeFailures, AgreesWithTheModelRunByHandOnACopy) {
    // Two triangles joined by a thin bridge 3-4: some demands find no room.
    // Capacities above 10000 give negative delay figures.
    TNetObj net = Network(6, {{1, 2}, {2, 3}, {3, 1}, {3, 4}, {4, 5}, {5, 6}, {6, 4}});
    testing_support::SetCapacities(net, {20000, 1500});
    net.SetChannelType(4, 2);
    for (int i = 1; i <= 6; ++i)
        for (int j = 1; j <= 6; ++j)
            net.LoadMatrix[i][j] = i == j ? 0 : 100 * i + 37 * j;
    net.DynamicRouting = true;
    const TNetObj before = net;

    const std::vector<FailureRow> rows = net::AnalyzeFailures(net);
    ASSERT_EQ(rows.size(), 1u + 7u + 6u);
    for (size_t k = 0; k < rows.size(); ++k) {
        const FailureRow& row = rows[k];
        TNetObj copy = net;
        copy.DynamicRouting = false;
        if (row.Kind == FailedKind::Channel)
            copy.DeleteChannel(row.Element);
        if (row.Kind == FailedKind::Host)
            copy.DeleteHost(row.Element);
        copy.RouteAll();
        EXPECT_EQ(row.Class, copy.Classify()) << Name(row);
        EXPECT_EQ(row.PlacedCount, copy.PathTable.PathCount) << Name(row);
        EXPECT_EQ(row.UnplacedCount, copy.Unrouted.Count) << Name(row);
        double maxDelay = 0.0;
        for (int p = 1; p <= copy.PathTable.PathCount; ++p)
            maxDelay =
                p == 1 ? net::PathDelay(copy, p) : std::max(maxDelay, net::PathDelay(copy, p));
        EXPECT_EQ(row.MaxPathDelay, maxDelay) << Name(row);
        for (int c = 1; c <= net::MaxChannels; ++c) {
            if (copy.ChannelPresent[c]) {
                EXPECT_GE(copy.ResidualMatrix[copy.Channels[c].HostA][copy.Channels[c].HostB],
                          row.BusiestResidual);
            }
        }
        if (k < 2)
            continue;
        // Worst first; at equal unplaced load a row without any path is last.
        const FailureRow& prior = rows[k - 1];
        EXPECT_GE(prior.UnplacedLoad, row.UnplacedLoad);
        if (prior.UnplacedLoad == row.UnplacedLoad && row.PlacedCount > 0) {
            EXPECT_GT(prior.PlacedCount, 0) << Name(row);
            EXPECT_GE(prior.MaxPathDelay, row.MaxPathDelay) << Name(row);
        }
    }
    EXPECT_GT(rows[1].UnplacedLoad, 0);
    // The analysis worked on copies: no routing ran on the network itself.
    EXPECT_TRUE(net.DynamicRouting);
    EXPECT_EQ(net.ChannelPresent, before.ChannelPresent);
    EXPECT_EQ(net.ResidualMatrix, before.ResidualMatrix);
    EXPECT_EQ(net.PathTable.PathCount, 0);
}

}  // namespace
