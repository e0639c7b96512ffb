// The routing quality on the heavily loaded full mesh of 18: each part on
// its own, from the same greedy routing, and all of it as the runner and
// the window run it.
#include <benchmark/benchmark.h>

#include "busiest_bound.h"
#include "delay_bound.h"
#include "full_mesh.h"
#include "improved_routing.h"
#include "routing_quality.h"

namespace {

struct Routed {
    net::TNetObj net = HeavyFullMesh();
    optimize::LinkGraph graph;
    optimize::SinglePathRouting greedy;

    Routed() {
        net.RouteAll();
        graph = optimize::BuildLinkGraph(net);
        greedy = optimize::RoutingOfPathTable(net, graph);
    }
};

void BM_BusiestBoundHeavyMesh(benchmark::State& state) {
    const Routed routed;
    double busiest = 0;
    for (auto _ : state)
        busiest = optimize::FindBusiestBound(routed.graph).BusiestMin;
    state.counters["busiest_min"] = busiest;
}
BENCHMARK(BM_BusiestBoundHeavyMesh)->Unit(benchmark::kMillisecond);

void BM_DelayBoundHeavyMesh(benchmark::State& state) {
    const Routed routed;
    const optimize::SplitRouting start = optimize::FindBusiestBound(routed.graph).Routing;
    optimize::DelayBound bound;
    for (auto _ : state)
        bound = optimize::FindDelayBound(routed.graph, start);
    state.counters["passes"] = bound.Passes;
    state.counters["gap_reached"] = bound.GapReached;
    state.counters["lower"] = bound.Lower;
}
BENCHMARK(BM_DelayBoundHeavyMesh)->Unit(benchmark::kMillisecond);

void BM_ImprovedRoutingHeavyMesh(benchmark::State& state) {
    const Routed routed;
    optimize::SinglePathRouting improved;
    for (auto _ : state)
        improved = optimize::ImproveRouting(routed.graph, routed.greedy);
    state.counters["placed"] = optimize::FiguresOf(routed.graph, improved).Placed;
}
BENCHMARK(BM_ImprovedRoutingHeavyMesh)->Unit(benchmark::kMillisecond);

void BM_AnalyzeQualityHeavyMesh(benchmark::State& state) {
    const net::TNetObj net = HeavyFullMesh();
    for (auto _ : state)
        benchmark::DoNotOptimize(optimize::AnalyzeQuality(net).Greedy.Placed);
}
BENCHMARK(BM_AnalyzeQualityHeavyMesh)->Unit(benchmark::kMillisecond);

}  // namespace
