#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "errors.h"
#include "netobj.h"
#include "test_support.h"

namespace {

using net::TNetObj;

using testing_support::AddChannels;
using testing_support::AddHosts;
using testing_support::MessageOf;
using testing_support::PresentChannels;
using testing_support::PresentHosts;

// Hosts 1..n on a row, 20 pixels apart, all named "h".
void AddRow(TNetObj& net, int n) {
    for (int i = 0; i < n; ++i)
        net.AddHost(20 * i, 0, "h", 1);
}

TEST(AddHost, ProximitySquareIsStrictlyBelowEightPixels) {
    TNetObj net;
    net.AddHost(100, 100, "a", 1);
    net.AddHost(107, 107, "b", 1);
    net.AddHost(93, 93, "b", 1);
    EXPECT_EQ(net.HostCount, 1);
    net.AddHost(108, 100, "c", 1);
    net.AddHost(100, 108, "d", 1);
    EXPECT_EQ(net.HostCount, 3);
    EXPECT_EQ(net.Hosts[3].Y, 108);
    EXPECT_EQ(net.Hosts[2].Reserved, 0);
}

TEST(AddHost, FreedSlotsAndPositionsAreReusedLowestFirst) {
    TNetObj net;
    AddRow(net, 5);
    net.DeleteHost(3);
    EXPECT_EQ(net.HostCount, 4);
    net.AddHost(40, 0, "new", 2);  // the old position of host 3
    EXPECT_EQ(net.HostCount, 5);
    EXPECT_TRUE(net.HostPresent[3]);
    EXPECT_EQ(net.HostName(3), "new");
    EXPECT_EQ(net.Hosts[3].TypeNo, 2);
}

TEST(AddHost, NamesAreCutToTwentyCharactersInWindows1251) {
    TNetObj net;
    net.AddHost(0, 0, "abcdefghijklmnopqrstuvwxy", 1);
    net.AddHost(20, 0, "", 1);
    net.AddHost(40, 0, "Маршрутизатор в Твери №1", 1);
    net.AddHost(60, 0, "路由器", 1);
    EXPECT_EQ(net.HostName(1), "abcdefghijklmnopqrst");
    EXPECT_EQ(net.Hosts[2].NameLength, 0);
    EXPECT_EQ(net.HostName(2), "");
    EXPECT_EQ(net.Hosts[3].NameLength, 20);
    EXPECT_EQ(net.HostName(3), "Маршрутизатор в Твер");
    EXPECT_EQ(net.Hosts[3].NameChars[0], 0xCC);  // "М" in Windows-1251
    EXPECT_EQ(net.HostName(4), "???");
}

TEST(AddHost, FullTableRaisesAnErrorAndWritesNothing) {
    TNetObj net;
    AddRow(net, net::MaxHosts);
    const auto before = net.Hosts;
    EXPECT_EQ(MessageOf([&] { net.AddHost(500, 500, "x", 1); }),
              "Нельзя добавить маршрутизатор: заняты все 18 мест");
    EXPECT_EQ(net.HostCount, net::MaxHosts);
    EXPECT_EQ(net.Hosts, before);
    net.AddHost(0, 0, "clash", 1);  // a clash is still refused silently
    EXPECT_EQ(net.HostCount, net::MaxHosts);
}

TEST(DeleteHost, RemovesExactlyItsChannelsAndKeepsLoads) {
    TNetObj net;
    AddRow(net, 5);
    AddChannels(net, {{1, 2}, {3, 1}, {2, 3}, {1, 4}, {4, 5}});
    net.LoadMatrix[1][5] = 10;
    net.DeleteHost(1);
    EXPECT_EQ(net.ChannelCount, 2);
    EXPECT_EQ(PresentChannels(net), 2);
    EXPECT_TRUE(net.ChannelPresent[3]);
    EXPECT_TRUE(net.ChannelPresent[5]);
    EXPECT_EQ(net.HostCount, 4);
    EXPECT_EQ(net.LoadMatrix[1][5], 10);
    EXPECT_EQ(net.Channels[1].HostA, 1);  // the record of a freed slot is kept
}

TEST(UpdateHost, MoveRecomputesLengthsAtEitherEnd) {
    TNetObj net;
    AddHosts(net, {{0, 0}, {30, 40}, {0, 100}});
    AddChannels(net, {{1, 2}, {2, 3}});
    EXPECT_DOUBLE_EQ(net.Channels[1].Length, 50.0);
    net.UpdateHost(2, 0, 40, "moved", 7);
    EXPECT_EQ(net.HostName(2), "moved");
    EXPECT_EQ(net.Hosts[2].TypeNo, 7);
    EXPECT_DOUBLE_EQ(net.Channels[1].Length, 40.0);
    EXPECT_DOUBLE_EQ(net.Channels[2].Length, 60.0);
}

TEST(UpdateHost, ClashChangesNothingInTheRecord) {
    TNetObj net;
    AddHosts(net, {{0, 0}, {100, 0}});
    net.Hosts[2].Reserved = 42;
    const net::HostRecord before = net.Hosts[2];
    net.UpdateHost(2, 5, 5, "renamed", 9);
    EXPECT_EQ(net.Hosts[2], before);
    // Its own position applies the new name and type and keeps Reserved.
    net.UpdateHost(2, 100, 0, "renamed", 9);
    EXPECT_EQ(net.HostName(2), "renamed");
    EXPECT_EQ(net.Hosts[2].TypeNo, 9);
    EXPECT_EQ(net.Hosts[2].Reserved, 42);
}

TEST(UpdateHost, NoOtherHostInTheSquareWhateverItsNumber) {
    TNetObj net;
    net.AddHost(100, 100, "one", 1);
    net.AddHost(200, 200, "two", 1);
    // Put host 2 right beside host 1, as a loaded project may.
    net.Hosts[2].X = 105;
    net.Hosts[2].Y = 100;
    net.UpdateHost(2, 103, 100, "x", 1);
    EXPECT_EQ(net.Hosts[2].X, 105);  // host 1 is the lowest clash
    // Host 1 may not move onto host 2 either, though it is the lower one.
    net.UpdateHost(1, 103, 100, "y", 1);
    EXPECT_EQ(net.Hosts[1].X, 100);
    EXPECT_EQ(net.HostName(1), "one");
    // Where it stands, beside host 2 as the file put it, it takes a new name.
    net.UpdateHost(1, 100, 100, "y", 1);
    EXPECT_EQ(net.HostName(1), "y");
    net.UpdateHost(1, 99, 100, "z", 1);
    EXPECT_EQ(net.Hosts[1].X, 100);  // still beside host 2 (105)
    // A move clear of everyone else is applied, also one within its own old square.
    net.UpdateHost(1, 60, 100, "z", 1);
    net.UpdateHost(1, 57, 100, "z", 1);
    EXPECT_EQ(net.Hosts[1].X, 57);
}

TEST(AddChannel, DuplicateInEitherOrderIsRefusedButStillRecomputes) {
    TNetObj net;
    testing_support::SetCapacities(net, {10000});
    AddHosts(net, {{0, 0}, {100, 0}});
    net.AddChannel(2, 1, 1);
    net.ToggleDynamic();
    net.LoadMatrix[1][2] = 5000;  // editing loads alone never routes
    EXPECT_EQ(net.PathTable.PathCount, 0);
    net.AddChannel(1, 2, 3);
    EXPECT_EQ(net.ChannelCount, 1);
    EXPECT_EQ(net.Channels[1].HostA, 2);
    EXPECT_EQ(net.Channels[1].TypeNo, 1);
    EXPECT_EQ(net.PathTable.PathCount, 1);  // the rule ran
}

// A new type changes the capacity: under dynamic routing the residuals and
// delay figures follow at once; otherwise they stay until the next routing.
TEST(SetChannelType, ReroutesUnderDynamicRoutingOnly) {
    TNetObj net;
    testing_support::SetCapacities(net, {5000, 10000});
    AddHosts(net, {{0, 0}, {100, 0}});
    net.AddChannel(1, 2, 2);
    net.LoadMatrix[1][2] = 1000;
    net.ToggleDynamic();
    ASSERT_EQ(net.ResidualMatrix[1][2], 9000);
    net.SetChannelType(1, 1);
    EXPECT_EQ(net.Channels[1].TypeNo, 1);
    EXPECT_EQ(net.ResidualMatrix[1][2], 4000);
    EXPECT_EQ(net.ResidualMatrix[2][1], 4000);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[1][2], 1.5);
    EXPECT_EQ(net.PathTable.PathCount, 1);

    net.ToggleDynamic();
    net.SetChannelType(1, 2);
    EXPECT_EQ(net.Channels[1].TypeNo, 2);
    EXPECT_EQ(net.ResidualMatrix[1][2], 4000);
    EXPECT_DOUBLE_EQ(net.DelayMatrix[1][2], 1.5);
}

TEST(AddChannel, FreedSlotIsReusedAndSelfChannelHasLengthZero) {
    TNetObj net;
    AddRow(net, 4);
    AddChannels(net, {{1, 2}, {2, 3}, {3, 4}});
    net.DeleteChannel(1);
    net.DeleteChannel(1);  // absent: nothing changes
    EXPECT_EQ(net.ChannelCount, 2);
    net.AddChannel(4, 4, 5);
    EXPECT_TRUE(net.ChannelPresent[1]);
    EXPECT_EQ(net.ChannelCount, 3);
    EXPECT_EQ(PresentChannels(net), 3);
    EXPECT_EQ(net.Channels[1].Length, 0.0);
    net.AddChannel(4, 4, 5);  // a second one on the same host is a duplicate
    EXPECT_EQ(net.ChannelCount, 3);
}

TEST(AddChannel, FullTableRaisesAnErrorAndWritesNothing) {
    TNetObj net;
    AddRow(net, net::MaxHosts);
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = i + 1; j <= net::MaxHosts; ++j)
            net.AddChannel(i, j, 1);
    }
    ASSERT_EQ(net.ChannelCount, net::MaxChannels);
    const auto before = net.Channels;
    EXPECT_EQ(MessageOf([&] { net.AddChannel(3, 3, 1); }),
              "Нельзя добавить канал 3-3: заняты все 153 места");
    EXPECT_EQ(net.ChannelCount, net::MaxChannels);
    EXPECT_EQ(net.Channels, before);
    net.AddChannel(2, 1, 1);  // a duplicate is still refused silently
}

TEST(Editing, CountsAlwaysMatchThePresenceFlags) {
    TNetObj net;
    for (int round = 0; round < 200; ++round) {
        const int k = (round * 7919) % 23;
        if (k < 8 && net.HostCount < net::MaxHosts)
            net.AddHost((round * 37) % 300, (round * 53) % 300, "r", 1);
        if (k >= 8 && k < 10 && net.HostPresent[1 + round % 18])
            net.DeleteHost(1 + round % 18);
        if (k >= 10 && k < 18) {
            const int a = 1 + round % 18;
            const int b = 1 + (round / 3) % 18;
            if (net.HostPresent[a] && net.HostPresent[b])
                net.AddChannel(a, b, 1);
        }
        if (k >= 18)
            net.DeleteChannel(1 + (round * 11) % 153);
        ASSERT_EQ(net.HostCount, PresentHosts(net));
        ASSERT_EQ(net.ChannelCount, PresentChannels(net));
        for (int c = 1; c <= net::MaxChannels; ++c) {
            if (!net.ChannelPresent[c])
                continue;
            ASSERT_TRUE(net.HostPresent[net.Channels[c].HostA]);
            ASSERT_TRUE(net.HostPresent[net.Channels[c].HostB]);
        }
    }
}

TEST(Length, FarApartPositionsDoNotOverflow) {
    TNetObj net;
    AddHosts(net, {{-2147483647 - 1, -2147483647 - 1}, {2147483647, 2147483647}});
    net.AddChannel(1, 2, 1);
    EXPECT_DOUBLE_EQ(net.Channels[1].Length, 4294967295.0 * std::sqrt(2.0));
}

TEST(DynamicSuspension, RestoresTheFlagWhenAnErrorLeavesTheScope) {
    TNetObj net;
    net.DynamicRouting = true;
    try {
        net::DynamicSuspension suspended(net);
        EXPECT_FALSE(net.DynamicRouting);
        throw net::NetError("x");
    } catch (const net::NetError&) {
    }
    EXPECT_TRUE(net.DynamicRouting);
}

}  // namespace
