// Topology builders on the largest network: the ring search on its hardest
// and easiest cases and on random networks, the biconnectivity augmentation
// and the spanning tree over all pairs, all with 18 hosts.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "netobj.h"

namespace {

using net::MaxHosts;
using net::TNetObj;

// 18 hosts on a circle, no channels.
TNetObj Circle() {
    TNetObj net;
    net.ChannelTypeCount = 1;
    net.ChannelTypes[1].Capacity = 10000;
    for (int h = 0; h < MaxHosts; ++h) {
        const double angle = 2 * M_PI * h / MaxHosts;
        net.AddHost(static_cast<int32_t>(300 + 250 * std::cos(angle)),
                    static_cast<int32_t>(300 + 250 * std::sin(angle)), "", 1);
    }
    return net;
}

// Puts the channels back as they were before a builder changed them.
struct ChannelSnapshot {
    explicit ChannelSnapshot(const TNetObj& net)
        : channels(net.Channels), present(net.ChannelPresent), count(net.ChannelCount) {}
    void Restore(TNetObj& net) const {
        net.Channels = channels;
        net.ChannelPresent = present;
        net.ChannelCount = count;
    }
    decltype(TNetObj::Channels) channels;
    decltype(TNetObj::ChannelPresent) present;
    int32_t count;
};

bool HasRing(const TNetObj& net) {
    TNetObj copy = net;
    copy.BuildRing(2);
    for (int c = 1; c <= net::MaxChannels; ++c) {
        if (copy.ChannelPresent[c] && copy.Channels[c].TypeNo == 2)
            return true;
    }
    return false;
}

// Random networks of 18 hosts in which each pair is joined with the given
// chance, sorted into those with and those without a ring. Networks without
// a ring are kept only when every host has two channels or more, so that no
// single host gives the answer away.
std::vector<TNetObj> RandomNetworks(bool withRing, double chance) {
    std::mt19937 random(withRing ? 1 : 2);
    std::bernoulli_distribution joined(chance);
    std::vector<TNetObj> found;
    while (found.size() < 16) {
        TNetObj net = Circle();
        std::vector<int> degree(MaxHosts + 1, 0);
        for (int a = 1; a <= MaxHosts; ++a) {
            for (int b = a + 1; b <= MaxHosts; ++b) {
                if (!joined(random))
                    continue;
                net.AddChannel(a, b, 1);
                ++degree[a];
                ++degree[b];
            }
        }
        bool sparse = false;
        for (int h = 1; h <= MaxHosts; ++h)
            sparse = sparse || degree[h] < 2;
        if ((withRing || !sparse) && HasRing(net) == withRing)
            found.push_back(net);
    }
    return found;
}

void RunRing(benchmark::State& state, std::vector<TNetObj> networks) {
    std::vector<ChannelSnapshot> snapshots;
    for (const TNetObj& net : networks)
        snapshots.emplace_back(net);
    size_t k = 0;
    for (auto _ : state) {
        networks[k].BuildRing(2);
        benchmark::DoNotOptimize(networks[k].ChannelCount);
        snapshots[k].Restore(networks[k]);
        k = (k + 1) % networks.size();
    }
}

// Host 1 joined only to host 2, every other pair joined: no ring, and the
// most work for a search without pruning.
void BM_RingHardestNoRing(benchmark::State& state) {
    TNetObj net = Circle();
    net.AddChannel(1, 2, 1);
    for (int a = 2; a <= MaxHosts; ++a) {
        for (int b = a + 1; b <= MaxHosts; ++b)
            net.AddChannel(a, b, 1);
    }
    RunRing(state, {net});
}
BENCHMARK(BM_RingHardestNoRing)->Unit(benchmark::kMillisecond);

void BM_RingFullMesh(benchmark::State& state) {
    TNetObj net = Circle();
    net.BuildFullMesh(1);
    RunRing(state, {net});
}
BENCHMARK(BM_RingFullMesh)->Unit(benchmark::kMillisecond);

void BM_RingRandomWithRing(benchmark::State& state) {
    RunRing(state, RandomNetworks(true, 0.25));
}
BENCHMARK(BM_RingRandomWithRing)->Unit(benchmark::kMillisecond);

void BM_RingRandomWithoutRing(benchmark::State& state) {
    RunRing(state, RandomNetworks(false, 0.15));
}
BENCHMARK(BM_RingRandomWithoutRing)->Unit(benchmark::kMillisecond);

// A random tree, so nearly every host separates the network and many
// blocks are chained; host 1 is the root and separates it too.
void BM_MakeBiconnectedRandomTree(benchmark::State& state) {
    TNetObj net = Circle();
    std::mt19937 random(3);
    for (int h = 2; h <= MaxHosts; ++h) {
        net.AddChannel(h, 1 + static_cast<int>(random() % (h - 1)), 1);
    }
    const ChannelSnapshot snapshot(net);
    for (auto _ : state) {
        net.MakeBiconnected(1);
        benchmark::DoNotOptimize(net.ChannelCount);
        snapshot.Restore(net);
    }
}
BENCHMARK(BM_MakeBiconnectedRandomTree)->Unit(benchmark::kMicrosecond);

// All 153 pairs are added, sorted and cut back to 17 channels.
void BM_SpanningTreeOverAll(benchmark::State& state) {
    TNetObj net = Circle();
    const ChannelSnapshot snapshot(net);
    for (auto _ : state) {
        net.BuildSpanningTreeOverAll(1);
        benchmark::DoNotOptimize(net.ChannelCount);
        snapshot.Restore(net);
    }
}
BENCHMARK(BM_SpanningTreeOverAll)->Unit(benchmark::kMicrosecond);

}  // namespace
