// Routing and classification on the largest network: 18 hosts in a full
// mesh with a demand between every ordered pair.
#include <benchmark/benchmark.h>

#include "full_mesh.h"

namespace {

void BM_RouteAllFullMesh(benchmark::State& state) {
    net::TNetObj net = FullMeshWithAllDemands();
    for (auto _ : state) {
        net.RouteAll();
        benchmark::DoNotOptimize(net.PathTable.PathCount);
    }
    state.counters["paths"] = net.PathTable.PathCount;
}
BENCHMARK(BM_RouteAllFullMesh)->Unit(benchmark::kMicrosecond);

void BM_ClassifyFullMesh(benchmark::State& state) {
    const net::TNetObj net = FullMeshWithAllDemands();
    for (auto _ : state) {
        benchmark::DoNotOptimize(net.Classify());
    }
}
BENCHMARK(BM_ClassifyFullMesh)->Unit(benchmark::kMicrosecond);

}  // namespace
