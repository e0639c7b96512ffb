#include "undo_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

using net::TNetObj;
using net::UndoHistory;

// Every field a user can see or a file stores, compared one by one, so that
// a field the history or the comparison misses is named.
void ExpectSameFields(const TNetObj& actual, const TNetObj& expected, const std::string& step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(actual.NetworkName, expected.NetworkName);
    EXPECT_EQ(actual.Hosts, expected.Hosts);
    EXPECT_EQ(actual.HostPresent, expected.HostPresent);
    EXPECT_EQ(actual.HostCount, expected.HostCount);
    EXPECT_EQ(actual.Channels, expected.Channels);
    EXPECT_EQ(actual.ChannelPresent, expected.ChannelPresent);
    EXPECT_EQ(actual.ChannelCount, expected.ChannelCount);
    EXPECT_EQ(actual.ChannelTypes, expected.ChannelTypes);
    EXPECT_EQ(actual.LoadMatrix, expected.LoadMatrix);
    EXPECT_EQ(actual.DelayMatrix, expected.DelayMatrix);
    EXPECT_EQ(actual.ResidualMatrix, expected.ResidualMatrix);
    EXPECT_EQ(actual.PathTable.PathCount, expected.PathTable.PathCount);
    EXPECT_EQ(actual.PathTable.Records, expected.PathTable.Records);
    EXPECT_EQ(actual.Unrouted.Count, expected.Unrouted.Count);
    EXPECT_EQ(actual.DynamicRouting, expected.DynamicRouting);
    EXPECT_TRUE(net::SameNetwork(actual, expected));
}

struct Action {
    std::string name;
    std::function<void(TNetObj&)> run;
};

// Editing, building, loads, routing and the dynamic flag, as the windows mix them.
std::vector<Action> MixedActions() {
    return {
        {"hosts",
         [](TNetObj& n) {
             testing_support::AddHosts(n, {{50, 50}, {200, 60}, {120, 200}, {300, 220}});
         }},
        {"channels",
         [](TNetObj& n) {
             testing_support::AddChannels(n, {{1, 2}, {2, 3}, {3, 4}, {4, 1}});
         }},
        {"loads",
         [](TNetObj& n) {
             n.LoadMatrix[1][3] = 1200;
             n.LoadMatrix[4][2] = 700;
         }},
        {"route", [](TNetObj& n) { n.RouteAll(); }},
        {"dynamic", [](TNetObj& n) { n.ToggleDynamic(); }},
        {"delete host", [](TNetObj& n) { n.DeleteHost(2); }},
        {"channel type",
         [](TNetObj& n) {
             n.SetChannelType(1, 2);
             n.RecomputeIfDynamic();
         }},
        {"mesh", [](TNetObj& n) { n.BuildFullMesh(2); }},
        {"move host",
         [](TNetObj& n) {
             n.UpdateHost(4, 320, 10, "moved", 3);
             n.RecomputeIfDynamic();
         }},
        {"clear", [](TNetObj& n) { n.DeleteAllChannels(); }},
    };
}

TEST(UndoHistory, UndoAndRedoRestoreEveryStateOfAMixedSequence) {
    TNetObj net;
    testing_support::SetCapacities(net, {5000, 9000});
    UndoHistory history;
    std::vector<TNetObj> states{net};
    for (const Action& action : MixedActions()) {
        const TNetObj before = net;
        action.run(net);
        history.Record(before);
        EXPECT_FALSE(net::SameNetwork(net, before)) << action.name << " changed nothing";
        states.push_back(net);
    }
    ASSERT_EQ(history.UndoCount(), MixedActions().size());
    for (size_t k = states.size() - 1; k > 0; --k) {
        history.Undo(net);
        ExpectSameFields(net, states[k - 1], "undo to state " + std::to_string(k - 1));
    }
    EXPECT_FALSE(history.CanUndo());
    history.Undo(net);  // nothing left: the network stays
    ExpectSameFields(net, states[0], "undo with nothing to undo");
    for (size_t k = 1; k < states.size(); ++k) {
        history.Redo(net);
        ExpectSameFields(net, states[k], "redo to state " + std::to_string(k));
    }
    EXPECT_FALSE(history.CanRedo());
}

TEST(UndoHistory, ANewChangeAfterUndoDropsTheRedoSteps) {
    TNetObj net;
    UndoHistory history;
    for (int x : {100, 200, 300}) {
        const TNetObj before = net;
        net.AddHost(x, 100, "", 1);
        history.Record(before);
    }
    history.Undo(net);
    history.Undo(net);
    ASSERT_EQ(history.RedoCount(), 2u);
    const TNetObj before = net;
    net.AddHost(100, 300, "other", 1);
    history.Record(before);
    EXPECT_FALSE(history.CanRedo());
    history.Redo(net);
    EXPECT_EQ(net.HostName(2), "other");
    history.Undo(net);
    history.Undo(net);
    EXPECT_EQ(testing_support::PresentHosts(net), 0);
}

TEST(UndoHistory, KeepsOnlyTheNewestStepsUpToItsDepth) {
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
    for (int k = 0; k < 5; ++k)
        history.Redo(net);
    EXPECT_EQ(net.LoadMatrix[1][2], 5);
    EXPECT_EQ(UndoHistory().UndoCount(), 0u);
}

// A change the comparison misses would leave no undo step for that action.
TEST(SameNetwork, SeesAChangeInEveryFieldButTheWorkAreas) {
    TNetObj base;
    testing_support::SetCapacities(base, {5000});
    testing_support::AddHosts(base, {{50, 50}, {200, 60}, {120, 200}, {300, 300}});
    testing_support::AddChannels(base, {{1, 2}, {2, 3}, {3, 1}});
    base.LoadMatrix[1][2] = 100;
    base.LoadMatrix[4][1] = 50;  // host 4 stands alone: one demand unplaced
    base.RouteAll();
    const std::vector<Action> changes = {
        {"name", [](TNetObj& n) { n.NetworkName += "x"; }},
        {"host filler", [](TNetObj& n) { n.Hosts[1].Filler[0] = 1; }},
        {"host reserved", [](TNetObj& n) { n.Hosts[2].Reserved = 1; }},
        {"free host slot", [](TNetObj& n) { n.Hosts[9].X = 1; }},
        {"host count", [](TNetObj& n) { ++n.HostCount; }},
        {"host present", [](TNetObj& n) { n.HostPresent[5] = true; }},
        {"channel reserved", [](TNetObj& n) { n.Channels[1].Reserved = 1; }},
        {"channel length sign", [](TNetObj& n) { n.Channels[7].Length = -0.0; }},
        {"channel count", [](TNetObj& n) { ++n.ChannelCount; }},
        {"channel present", [](TNetObj& n) { n.ChannelPresent[153] = true; }},
        {"host type", [](TNetObj& n) { n.HostTypes[2].Spare2[3] = 1; }},
        {"host type count", [](TNetObj& n) { n.HostTypeCount = 1; }},
        {"channel type", [](TNetObj& n) { n.ChannelTypes[1].Value2 = 3; }},
        {"channel type count", [](TNetObj& n) { n.ChannelTypeCount = 2; }},
        {"delay", [](TNetObj& n) { n.DelayMatrix[2][1] += 1e-12; }},
        {"general real", [](TNetObj& n) { n.GeneralReal = 1.5; }},
        {"load", [](TNetObj& n) { n.LoadMatrix[18][17] = 1; }},
        {"path count", [](TNetObj& n) { ++n.PathTable.PathCount; }},
        {"path beyond count", [](TNetObj& n) { n.PathTable.Records[306][18] = 1; }},
        {"residual", [](TNetObj& n) { n.ResidualMatrix[1][2] -= 1; }},
        {"dynamic", [](TNetObj& n) { n.DynamicRouting = true; }},
        {"unrouted", [](TNetObj& n) { n.Unrouted.Items[4].Load = 9; }},
        {"unrouted count", [](TNetObj& n) { ++n.Unrouted.Count; }},
    };
    for (const Action& change : changes) {
        TNetObj changed = base;
        change.run(changed);
        EXPECT_FALSE(net::SameNetwork(base, changed)) << change.name;
    }
    TNetObj scratch = base;
    scratch.TreeLabel[3] = 5;
    scratch.SortedLength[2] = 4.0;
    scratch.TreeChosen[1] = true;
    EXPECT_TRUE(net::SameNetwork(base, scratch));
}

}  // namespace
