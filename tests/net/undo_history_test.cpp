#include "undo_history.h"

#include <gtest/gtest.h>

#include <filesystem>
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

// The three project files of `net`, saved into `folder`.
std::vector<std::vector<uint8_t>> SavedFiles(const TNetObj& net, const std::string& folder) {
    std::filesystem::create_directory(folder);
    net.SaveProject(folder);
    std::vector<std::vector<uint8_t>> files;
    for (const char* name : {"hosts.hs", "channels.cs", "general.gs"})
        files.push_back(testing_support::ReadBytes(folder + "/" + name));
    return files;
}

// The close question trusts it: a change the comparison misses would be lost
// without a question. Each field of the files is changed alone, in a present
// slot and in a free one, whose records the files keep too.
TEST(SameProject, SeesEveryFieldAProjectFileHoldsAndNothingElse) {
    const testing_support::ScopedWorkDir work;
    TNetObj base;
    testing_support::SetCapacities(base, {5000, 9000});
    testing_support::AddHosts(base, {{50, 50}, {200, 60}, {120, 200}});
    testing_support::AddChannels(base, {{1, 2}, {2, 3}});
    base.LoadMatrix[1][2] = 100;
    base.RouteAll();
    const std::vector<std::pair<const char*, Change>> saved = {
        {"name length", [](TNetObj& n) { --n.Hosts[1].NameLength; }},
        {"name character", [](TNetObj& n) { n.Hosts[2].NameChars[19] = 'z'; }},
        {"filler", [](TNetObj& n) { n.Hosts[18].Filler[2] = 1; }},
        {"host x", [](TNetObj& n) { ++n.Hosts[3].X; }},
        {"host y", [](TNetObj& n) { --n.Hosts[1].Y; }},
        {"host type", [](TNetObj& n) { n.Hosts[2].TypeNo = 2; }},
        {"host reserved", [](TNetObj& n) { n.Hosts[9].Reserved = 7; }},
        {"channel end a", [](TNetObj& n) { n.Channels[1].HostA = 3; }},
        {"channel end b", [](TNetObj& n) { n.Channels[153].HostB = 1; }},
        {"channel type", [](TNetObj& n) { n.Channels[2].TypeNo = 2; }},
        {"channel reserved", [](TNetObj& n) { n.Channels[2].Reserved = -1; }},
        {"channel length", [](TNetObj& n) { n.Channels[1].Length *= 1.0 + 1e-15; }},
        {"length sign", [](TNetObj& n) { n.Channels[99].Length = -0.0; }},
        {"host present", [](TNetObj& n) { n.HostPresent[18] = true; }},
        {"channel present", [](TNetObj& n) { n.ChannelPresent[2] = false; }},
        {"load", [](TNetObj& n) { n.LoadMatrix[1][2] = 101; }},
        {"last load", [](TNetObj& n) { n.LoadMatrix[18][17] = -1; }},
        {"diagonal load", [](TNetObj& n) { n.LoadMatrix[2][2] = 5; }},
        {"real number", [](TNetObj& n) { n.GeneralReal = 0.25; }},
    };
    const std::vector<std::pair<const char*, Change>> unsaved = {
        {"network name", [](TNetObj& n) { n.NetworkName = "другая"; }},
        {"host count", [](TNetObj& n) { ++n.HostCount; }},
        {"channel count", [](TNetObj& n) { --n.ChannelCount; }},
        {"host types", [](TNetObj& n) { n.HostTypes[1].Value1 = 3; }},
        {"channel types", [](TNetObj& n) { n.ChannelTypes[2].Capacity = 1; }},
        {"routing", [](TNetObj& n) { n.RouteAll(); }},
        {"no routing", [](TNetObj& n) { n.PathTable = {}; }},
        {"residuals", [](TNetObj& n) { n.ResidualMatrix[1][2] = 0; }},
        {"delays", [](TNetObj& n) { n.DelayMatrix[1][2] = 0.5; }},
        {"unrouted", [](TNetObj& n) { n.Unrouted.Count = 1; }},
        {"dynamic", [](TNetObj& n) { n.DynamicRouting = true; }},
    };
    const auto files = SavedFiles(base, "base");
    for (const auto& [what, change] : saved) {
        TNetObj changed = base;
        change(changed);
        EXPECT_NE(SavedFiles(changed, "changed"), files) << what << ": not in the files";
        EXPECT_FALSE(net::SameProject(base, changed)) << what;
        EXPECT_FALSE(net::SameProject(changed, base)) << what;
    }
    for (const auto& [what, change] : unsaved) {
        TNetObj changed = base;
        change(changed);
        EXPECT_EQ(SavedFiles(changed, "changed"), files) << what << ": in the files";
        EXPECT_TRUE(net::SameProject(base, changed)) << what;
    }
}

}  // namespace
