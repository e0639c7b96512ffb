#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "errors.h"
#include "netobj.h"
#include "test_support.h"

namespace {

using net::TNetObj;
using testing_support::Links;
using testing_support::Pairs;

// Hosts 1..hosts spread over the area, joined by the given channels; hosts
// listed in `absent` are deleted afterwards.
TNetObj Network(int hosts, const Pairs& channels, const std::vector<int>& absent = {}) {
    return testing_support::Network(hosts, channels, absent, [](int h) {
        return std::pair(300 + (h * 37 % 19) * 25, 300 + h * 20);
    });
}

// The channels that MakeBiconnected adds, in slot order.
std::string Augment(const TNetObj& net) {
    TNetObj after = net;
    after.MakeBiconnected(1);
    return Links(after, testing_support::LinkForm::Ends, &net);
}

TEST(MakeBiconnected, ChainsTheBlocksThroughHostsThatAreNoArticulationPoints) {
    EXPECT_EQ(Augment(Network(4, {{1, 2}, {2, 3}, {3, 4}})), "4-1");
    EXPECT_EQ(Augment(Network(6, {{5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 6}})), "2-3 3-4 4-6 6-1");
    EXPECT_EQ(Augment(Network(5, {{1, 2}, {2, 3}, {3, 1}, {3, 4}, {4, 5}, {5, 3}})), "4-1");
    EXPECT_EQ(Augment(Network(4, {{1, 2}, {2, 3}})), "3-1");  // host 4 stays alone
    EXPECT_EQ(Augment(Network(4, {{2, 3}, {3, 4}}, {1})), "4-2");
}

TEST(MakeBiconnected, LeavesSingleBlocksAndBareHostsAlone) {
    EXPECT_EQ(Augment(Network(3, {{1, 2}, {2, 3}, {3, 1}})), "");
    EXPECT_EQ(Augment(Network(2, {{1, 2}})), "");
    EXPECT_EQ(Augment(Network(3, {})), "");
    EXPECT_EQ(Augment(Network(2, {{1, 1}, {1, 2}, {2, 2}})), "");
}

TEST(MakeBiconnected, JoinsSeparatePartsByOneChannel) {
    TNetObj net = Network(4, {{1, 2}, {3, 4}});
    net.MakeBiconnected(1);
    EXPECT_EQ(Links(net), "1-2 3-4 1-3");
    EXPECT_EQ(net.Classify(), net::Connected);
}

// The lowest-numbered host separates the network: the parts that hang from
// it are joined to each other, never to it.
TEST(MakeBiconnected, RootThatIsAnArticulationPoint) {
    TNetObj star = Network(5, {{1, 2}, {1, 3}, {1, 4}, {1, 5}});
    star.MakeBiconnected(1);
    EXPECT_EQ(Links(star), "1-2 1-3 1-4 1-5 2-3 3-4 4-5");
    EXPECT_EQ(star.Classify(), net::Biconnected);

    // The block of the first branch, 1-2, has no host left once host 1 counts too.
    EXPECT_EQ(Augment(Network(4, {{1, 2}, {2, 4}, {1, 3}})), "4-3");
    EXPECT_EQ(Augment(Network(5, {{1, 2}, {2, 3}, {3, 1}, {1, 4}, {4, 5}, {5, 1}})), "2-4");
}

// Near the channel limit the search pushes close to one stack entry per
// channel: a full mesh of 17 hosts and one more host hanging on a single
// channel, at either end of the numbering, needs exactly one channel more.
TEST(MakeBiconnected, MeshOfSeventeenWithOneHangingHost) {
    const int mesh = net::MaxHosts - 1;
    for (const int hanging : {net::MaxHosts, 1}) {
        const int offset = hanging == 1 ? 1 : 0;
        Pairs channels;
        for (int a = 1; a <= mesh; ++a) {
            for (int b = a + 1; b <= mesh; ++b)
                channels.push_back({a + offset, b + offset});
        }
        channels.push_back({hanging, hanging == 1 ? 2 : mesh});
        const TNetObj before = Network(net::MaxHosts, channels);
        ASSERT_EQ(before.ChannelCount, mesh * (mesh - 1) / 2 + 1);
        TNetObj after = before;
        after.MakeBiconnected(1);
        EXPECT_EQ(after.ChannelCount, before.ChannelCount + 1) << "hanging host " << hanging;
        EXPECT_EQ(after.Classify(), net::Biconnected) << "hanging host " << hanging;
        const net::ChannelRecord& added = after.Channels[before.ChannelCount + 1];
        EXPECT_TRUE(added.HostA == hanging || added.HostB == hanging)
            << added.HostA << "-" << added.HostB;
    }
}

// The procedure as written, where the search root never counts as an
// articulation point; `rootSplits` tells when that made a difference.
Pairs LiteralLinks(const TNetObj& net, bool& rootSplits) {
    int adj[19][19] = {}, disc[19] = {}, low[19] = {}, tree[19] = {}, counter = 0, height = 0;
    int blocks = 0;
    uint32_t sets[19] = {}, art = 0;
    std::pair<int, int> stack[154];
    for (int c = 1; c <= net::MaxChannels; ++c)
        if (net.ChannelPresent[c])
            adj[net.Channels[c].HostA][net.Channels[c].HostB] =
                adj[net.Channels[c].HostB][net.Channels[c].HostA] = 2;
    rootSplits = false;
    auto search = [&](auto& self, int v, int parent) -> void {
        disc[v] = low[v] = ++counter;
        int rootBlocks = 0;
        for (int w = 1; w <= 18; ++w) {
            if (!net.HostPresent[w] || adj[v][w] == 0)
                continue;
            if (disc[w] == 0) {
                stack[++height] = {v, w};
                tree[v] = height;
                self(self, w, v);
                low[v] = std::min(low[v], low[w]);
                if (low[w] >= disc[v]) {
                    ++blocks;
                    if (tree[v] > 1)
                        art |= 1u << v;
                    if (tree[v] <= 1 && ++rootBlocks > 1)
                        rootSplits = true;
                    for (int k = tree[v]; k <= height; ++k) {
                        const uint32_t ends = (1u << stack[k].first) | (1u << stack[k].second);
                        if ((ends & art) != ends)
                            sets[blocks] |= ends;
                    }
                    height = tree[v] - 1;
                    if (sets[blocks] == 0)
                        --blocks;
                }
            } else if (w != parent && disc[w] < disc[v]) {
                stack[++height] = {v, w};
                low[v] = std::min(low[v], disc[w]);
            }
        }
    };
    for (int v = 1; v <= 18; ++v)
        if (net.HostPresent[v] && disc[v] == 0)
            search(search, v, 0);
    auto chosen = [&](int k) {
        for (int h = 1; h <= 18; ++h)
            if ((sets[k] & ~art) & (1u << h))
                return h;
        return 0;
    };
    Pairs links;
    for (int k = 1; k < blocks; ++k)
        links.push_back({chosen(k), chosen(k + 1)});
    return links;
}

// Random networks of 1..18 hosts with gaps in the numbering; `spanning`
// makes every group of hosts one connected network.
TNetObj RandomNetwork(std::mt19937& random, bool spanning) {
    const int hosts = 1 + static_cast<int>(random() % net::MaxHosts);
    std::vector<int> absent, present;
    for (int h = 1; h <= hosts; ++h)
        (random() % 5 == 0 && h < hosts ? absent : present).push_back(h);
    Pairs channels;
    const unsigned extra = random() % 4;
    for (size_t k = 1; k < present.size(); ++k) {
        if (spanning || random() % 4 != 0)
            channels.push_back({present[k], present[random() % k]});
        for (unsigned e = 0; e < extra; ++e)
            if (random() % 6 == 0)
                channels.push_back({present[k], present[random() % k]});
    }
    return Network(hosts, channels, absent);
}

TEST(MakeBiconnected, ConnectedNetworksComeOutBiconnected) {
    std::mt19937 random(11);
    int checked = 0;
    for (int round = 0; round < 3000; ++round) {
        const TNetObj before = RandomNetwork(random, true);
        if (before.HostCount < 3)
            continue;
        TNetObj after = before;
        after.MakeBiconnected(1);
        ++checked;
        ASSERT_EQ(after.Classify(), net::Biconnected) << Links(before);
        for (int c = 1; c <= net::MaxChannels; ++c) {
            if (before.ChannelPresent[c]) {
                EXPECT_EQ(after.Channels[c], before.Channels[c]);
            } else if (after.ChannelPresent[c]) {
                EXPECT_NE(after.Channels[c].HostA, after.Channels[c].HostB) << Links(before);
            }
        }
    }
    EXPECT_GT(checked, 2000);
}

TEST(MakeBiconnected, FollowsTheProcedureExactlyWhereNoRootSeparates) {
    std::mt19937 random(5);
    int compared = 0;
    for (int round = 0; round < 3000; ++round) {
        const TNetObj before = RandomNetwork(random, round % 2 == 0);
        bool rootSplits = false;
        const Pairs links = LiteralLinks(before, rootSplits);
        if (rootSplits)
            continue;
        TNetObj expected = before;
        testing_support::AddChannels(expected, links);
        TNetObj after = before;
        after.MakeBiconnected(1);
        ++compared;
        ASSERT_EQ(Links(after), Links(expected)) << Links(before);
    }
    EXPECT_GT(compared, 1000);
}

TEST(MakeBiconnected, RoutesOnceAfterTheLastChannelAndOnlyWhenConnected) {
    // New channels of a type missing from the table: a routing run between
    // them would stop the operation early.
    TNetObj net = Network(6, {{5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 6}});
    net.DynamicRouting = true;
    EXPECT_THROW(net.MakeBiconnected(99), net::NetError);
    EXPECT_EQ(net.ChannelCount, 9);
    EXPECT_TRUE(net.DynamicRouting);

    TNetObj apart = Network(5, {{1, 2}, {3, 4}});  // host 5 stays alone
    apart.DynamicRouting = true;
    apart.PathTable.PathCount = 7;
    apart.MakeBiconnected(1);
    EXPECT_EQ(apart.ChannelCount, 3);
    EXPECT_EQ(apart.PathTable.PathCount, 7);

    TNetObj path = Network(3, {{1, 2}, {2, 3}});
    path.DynamicRouting = true;
    path.LoadMatrix[1][3] = 100;
    path.MakeBiconnected(1);
    EXPECT_EQ(path.PathTable.PathCount, 1);
    EXPECT_EQ(path.PathTable.Records[1][0], 2);  // straight over the new 3-1
}

}  // namespace
