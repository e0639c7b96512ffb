#include "undo_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using net::TNetObj;
using net::UndoHistory;
using Change = std::function<void(TNetObj&)>;

// The fields a user sees or a file stores, one by one, so that a field the
// history loses is named.
void ExpectSameFields(const TNetObj& actual, const TNetObj& expected, size_t state) {
    SCOPED_TRACE("state " + std::to_string(state));
    EXPECT_EQ(actual.NetworkName, expected.NetworkName);
    EXPECT_EQ(actual.Hosts, expected.Hosts);
    EXPECT_EQ(actual.HostPresent, expected.HostPresent);
    EXPECT_EQ(actual.Channels, expected.Channels);
    EXPECT_EQ(actual.ChannelPresent, expected.ChannelPresent);
    EXPECT_EQ(actual.LoadMatrix, expected.LoadMatrix);
    EXPECT_EQ(actual.DelayMatrix, expected.DelayMatrix);
    EXPECT_EQ(actual.ResidualMatrix, expected.ResidualMatrix);
    EXPECT_EQ(actual.PathTable, expected.PathTable);
    EXPECT_EQ(actual.Unrouted, expected.Unrouted);
    EXPECT_EQ(actual.DynamicRouting, expected.DynamicRouting);
}

TEST(UndoHistory, UndoAndRedoRestoreEveryStateOfAMixedSequence) {
    using testing_support::AddChannels;
    TNetObj net;
    testing_support::SetCapacities(net, {5000, 9000});
    const std::vector<Change> actions = {
        [](TNetObj& n) {
            testing_support::AddHosts(n, {{50, 50}, {200, 60}, {120, 200}, {300, 220}});
        },
        [](TNetObj& n) {
            AddChannels(n, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
        },
        [](TNetObj& n) { n.LoadMatrix[1][3] = 1200, n.LoadMatrix[4][2] = 700; },
        [](TNetObj& n) { n.RouteAll(); },
        [](TNetObj& n) { n.ToggleDynamic(); },
        [](TNetObj& n) { n.DeleteHost(2); },
        [](TNetObj& n) { n.SetChannelType(3, 2), n.RecomputeIfDynamic(); },
        [](TNetObj& n) { n.BuildFullMesh(2); },
        [](TNetObj& n) { n.UpdateHost(4, 320, 10, "moved", 3), n.RecomputeIfDynamic(); },
        [](TNetObj& n) { n.DeleteAllChannels(); },
    };
    UndoHistory history;
    std::vector<TNetObj> states{net};
    for (const Change& action : actions) {
        const TNetObj before = net;
        action(net);
        history.Record(before);
        EXPECT_FALSE(net::SameNetwork(net, before)) << "action " << states.size() << " idle";
        states.push_back(net);
    }
    for (size_t k = states.size() - 1; k > 0; --k) {
        history.Undo(net);
        ExpectSameFields(net, states[k - 1], k - 1);
    }
    history.Undo(net);  // nothing left to undo: the network stays
    ExpectSameFields(net, states[0], 0);
    for (size_t k = 1; k < states.size(); ++k) {
        history.Redo(net);
        ExpectSameFields(net, states[k], k);
    }
    EXPECT_FALSE(history.CanRedo());
}

TEST(UndoHistory, ANewChangeDropsTheRedoStepsAndTheOldestStepsGoFirst) {
    TNetObj net;
    UndoHistory history(3);
    for (int k = 1; k <= 5; ++k) {
        const TNetObj before = net;
        net.LoadMatrix[1][2] = k;
        history.Record(before);
    }
    EXPECT_EQ(history.UndoCount(), 3u);
    for (int k = 0; k < 5; ++k)
        history.Undo(net);
    EXPECT_EQ(net.LoadMatrix[1][2], 2);  // the states before 3, 4 and 5 were kept
    history.Redo(net);
    const TNetObj before = net;
    net.LoadMatrix[1][2] = 9;
    history.Record(before);
    EXPECT_FALSE(history.CanRedo());
    history.Undo(net);
    EXPECT_EQ(net.LoadMatrix[1][2], 3);
}

// A change the comparison misses would leave no undo step for that action.
TEST(SameNetwork, SeesAChangeInEveryKindOfFieldButTheWorkAreas) {
    TNetObj base;
    testing_support::SetCapacities(base, {5000});
    testing_support::AddHosts(base, {{50, 50}, {200, 60}, {120, 200}, {300, 300}});
    testing_support::AddChannels(base, {{1, 2}, {2, 3}, {3, 1}});
    base.LoadMatrix[1][2] = 100;
    base.LoadMatrix[4][1] = 50;  // host 4 stands alone: one demand unplaced
    base.RouteAll();
    const std::vector<Change> changes = {
        [](TNetObj& n) { n.NetworkName += "x"; },
        [](TNetObj& n) { n.Hosts[9].X = 1; },  // a free slot, still written to files
        [](TNetObj& n) { ++n.HostCount; },
        [](TNetObj& n) { n.Channels[7].Length = -0.0; },
        [](TNetObj& n) { n.ChannelPresent[153] = true; },
        [](TNetObj& n) { n.HostTypes[2].Spare2[3] = 1; },
        [](TNetObj& n) { ++n.ChannelTypeCount; },
        [](TNetObj& n) { n.DelayMatrix[2][1] += 1e-12; },
        [](TNetObj& n) { n.GeneralReal = 1.5; },
        [](TNetObj& n) { n.PathTable.Records[306][18] = 1; },
        [](TNetObj& n) { n.ResidualMatrix[1][2] -= 1; },
        [](TNetObj& n) { n.DynamicRouting = true; },
        [](TNetObj& n) { n.Unrouted.Items[4].Load = 9; },
    };
    for (size_t k = 0; k < changes.size(); ++k) {
        TNetObj changed = base;
        changes[k](changed);
        EXPECT_FALSE(net::SameNetwork(base, changed)) << "change " << k;
    }
    // A channel's type alone, without the rerouting a dynamic network adds.
    TNetObj typed;
    testing_support::SetCapacities(typed, {5000, 9000});
    testing_support::AddHosts(typed, {{50, 50}, {200, 60}});
    testing_support::AddChannels(typed, {{1, 2}});
    const TNetObj beforeType = typed;
    typed.SetChannelType(1, 2);
    EXPECT_FALSE(net::SameNetwork(typed, beforeType)) << "channel type";
    TNetObj scratch = base;
    scratch.TreeLabel[3] = 5;
    scratch.SortedLength[2] = 4.0;
    EXPECT_TRUE(net::SameNetwork(base, scratch));
}

}  // namespace
