#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "errors.h"
#include "netobj.h"
#include "test_support.h"

namespace {

using net::TNetObj;
using testing_support::Pairs;

// "a-b/type" for every present channel, in slot order.
std::string Links(const TNetObj& net) {
    return testing_support::Links(net, testing_support::LinkForm::EndsAndType);
}

TNetObj Network(int hosts, const Pairs& channels, const std::vector<int>& absent = {}) {
    return testing_support::Network(hosts, channels, absent,
                                    [](int h) { return std::pair(40 * h, 300 + (h % 5) * 30); });
}

Pairs Mesh(int hosts) {
    Pairs pairs;
    for (int a = 1; a <= hosts; ++a)
        for (int b = a + 1; b <= hosts; ++b)
            pairs.push_back({a, b});
    return pairs;
}

std::string Ring(TNetObj net, int type = 2) {
    net.BuildRing(type);
    return Links(net);
}

TEST(BuildRing, ReplacesEveryChannelByTheFirstRingInAscendingOrder) {
    EXPECT_EQ(Ring(Network(3, {{2, 3}, {3, 1}, {1, 2}})), "1-2/2 2-3/2 1-3/2");
    EXPECT_EQ(Ring(Network(5, Mesh(5))), "1-2/2 2-3/2 3-4/2 4-5/2 1-5/2");
    EXPECT_EQ(Ring(Network(4, {{1, 3}, {3, 2}, {2, 4}, {4, 1}})), "1-3/2 3-2/2 2-4/2 1-4/2");
    EXPECT_EQ(Ring(Network(2, {{2, 1}})), "1-2/2");
    EXPECT_EQ(Ring(Network(5, Mesh(5), {3})), "1-2/2 2-4/2 4-5/2 1-5/2");
}

TEST(BuildRing, LeavesTheNetworkAloneWhenThereIsNoRing) {
    const std::vector<TNetObj> cases = {
        Network(1, {}),
        Network(4, {{2, 3}, {3, 4}, {4, 2}}, {1}),
        Network(3, {{1, 2}, {2, 3}}),
        Network(4, {{1, 2}, {2, 3}, {3, 1}, {3, 4}}),
        Network(6, {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6}, {6, 4}}),
    };
    for (const TNetObj& net : cases)
        EXPECT_EQ(Ring(net), Links(net));
    TNetObj cleared = Network(4, Mesh(4));
    cleared.DeleteAllChannels();
    cleared.BuildRing(2);
    EXPECT_EQ(cleared.ChannelCount, 0);
}

// Host 1 joined only to host 2, every other pair joined: no ring, and an
// unpruned search would try every order of the other hosts.
TEST(BuildRing, DecidesTheHardestNetworkOfEighteenHosts) {
    Pairs pairs = {{1, 2}};
    for (const auto& [a, b] : Mesh(net::MaxHosts))
        if (a != 1)
            pairs.push_back({a, b});
    TNetObj net = Network(net::MaxHosts, pairs);
    EXPECT_EQ(Ring(net), Links(net));
    net.AddChannel(18, 1, 1);
    TNetObj ring = net;
    ring.BuildRing(2);
    EXPECT_EQ(ring.ChannelCount, net::MaxHosts);
    for (int k = 1; k < net::MaxHosts; ++k) {
        EXPECT_EQ(ring.Channels[k].HostA, k);
        EXPECT_EQ(ring.Channels[k].HostB, k + 1);
    }
}

// The plain backtracking search, hosts tried in ascending order.
bool PlainSearch(const std::vector<uint32_t>& adj, uint32_t present, int count, int d,
                 std::vector<int>& route, uint32_t& free) {
    for (int i = 1; i <= net::MaxHosts; ++i) {
        if ((present >> i & 1) == 0 || (adj[route[d - 1]] >> i & 1) == 0)
            continue;
        if (d == count + 1 && i == 1)
            return true;
        if ((free >> i & 1) == 0)
            continue;
        route[d] = i;
        free &= ~(1u << i);
        if (PlainSearch(adj, present, count, d + 1, route, free))
            return true;
        free |= 1u << i;
    }
    return false;
}

TEST(BuildRing, FindsWhatThePlainSearchFinds) {
    std::mt19937 random(3);
    int rings = 0, none = 0;
    for (int round = 0; round < 4000; ++round) {
        const int hosts = 1 + static_cast<int>(random() % 10);
        const unsigned density = 2 + random() % 7;  // in tenths
        std::vector<int> absent;
        for (int h = 1; h <= hosts; ++h)
            if (random() % 8 == 0)
                absent.push_back(h);
        Pairs pairs;
        for (int a = 1; a <= hosts; ++a)
            for (int b = a; b <= hosts; ++b)
                if (random() % 10 < (a == b ? 1 : density))
                    pairs.push_back(random() % 2 ? std::make_pair(a, b) : std::make_pair(b, a));
        const TNetObj net = Network(hosts, pairs, absent);

        std::vector<uint32_t> adj(net::MaxHosts + 1, 0);
        for (int c = 1; c <= net::MaxChannels; ++c) {
            if (!net.ChannelPresent[c])
                continue;
            adj[net.Channels[c].HostA] |= 1u << net.Channels[c].HostB;
            adj[net.Channels[c].HostB] |= 1u << net.Channels[c].HostA;
        }
        uint32_t present = 0;
        for (int h = 1; h <= net::MaxHosts; ++h)
            present |= net.HostPresent[h] ? 1u << h : 0;
        std::vector<int> route(net::MaxHosts + 2, 0);
        route[1] = 1;
        uint32_t free = present & ~2u;
        TNetObj expected = net;
        if (PlainSearch(adj, present, net.HostCount, 2, route, free)) {
            ++rings;
            expected.DeleteAllChannels();
            for (int k = 1; k < net.HostCount; ++k)
                expected.AddChannel(route[k], route[k + 1], 2);
            expected.AddChannel(route[1], route[net.HostCount], 2);
        } else {
            ++none;
        }
        ASSERT_EQ(Ring(net), Links(expected)) << Links(net);
    }
    EXPECT_GT(rings, 500);
    EXPECT_GT(none, 500);
}

TEST(BuildRing, RoutesOnceAtTheEndWhetherOrNotARingWasFound) {
    // Ring channels of a type missing from the table: a routing run before
    // the last of them would stop the operation early.
    TNetObj net = Network(4, Mesh(4));
    net.DynamicRouting = true;
    EXPECT_THROW(net.BuildRing(99), net::NetError);
    EXPECT_EQ(Links(net), "1-2/99 2-3/99 3-4/99 1-4/99");
    EXPECT_TRUE(net.DynamicRouting);

    TNetObj path = Network(3, {{1, 2}, {2, 3}});
    path.DynamicRouting = true;
    path.LoadMatrix[1][3] = 100;
    path.BuildRing(1);
    EXPECT_EQ(path.PathTable.PathCount, 1);
}

}  // namespace
