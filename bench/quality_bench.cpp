// The routing quality on the heavily loaded full meshes of 18: each part on
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
    net::TNetObj net;
    optimize::LinkGraph graph;
    optimize::SinglePathRouting greedy;

    explicit Routed(net::TNetObj network = HeavyFullMesh()) : net(std::move(network)) {
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

// The improved routing from all three starts (the delay bound's routing
// found beforehand), its demands placed and its mean delay over the delay
// bound's lower figure.
void ImprovedRouting(benchmark::State& state, const net::TNetObj& net) {
    const Routed routed(net);
    const optimize::DelayBound bound =
        optimize::FindDelayBound(routed.graph, optimize::FindBusiestBound(routed.graph).Routing);
    optimize::SinglePathRouting improved;
    for (auto _ : state)
        improved = optimize::ImproveRouting(routed.graph, routed.greedy, &bound.Routing);
    const optimize::RoutingFigures figures = optimize::FiguresOf(routed.graph, improved);
    const optimize::RoutingFigures greedy = optimize::FiguresOf(routed.graph, routed.greedy);
    state.counters["placed"] = figures.Placed;
    state.counters["greedy_placed"] = greedy.Placed;
    state.counters["over_bound"] = *figures.MeanDelay / bound.Lower;
}

void BM_ImprovedRoutingHeavyMesh(benchmark::State& state) {
    ImprovedRouting(state, HeavyFullMesh());
}
BENCHMARK(BM_ImprovedRoutingHeavyMesh)->Unit(benchmark::kMillisecond);

void BM_ImprovedRoutingHeavierMesh(benchmark::State& state) {
    ImprovedRouting(state, HeavierFullMesh());
}
BENCHMARK(BM_ImprovedRoutingHeavierMesh)->Unit(benchmark::kMillisecond);

void BM_AnalyzeQualityHeavyMesh(benchmark::State& state) {
    const net::TNetObj net = HeavyFullMesh();
    for (auto _ : state)
        benchmark::DoNotOptimize(optimize::AnalyzeQuality(net).Greedy.Placed);
}
BENCHMARK(BM_AnalyzeQualityHeavyMesh)->Unit(benchmark::kMillisecond);

}  // namespace
