// The single-failure analysis on the largest network: 153 channels and 18
// hosts failing in turn, 306 demands routed each time (172 routings).
#include <benchmark/benchmark.h>

#include "failures.h"
#include "full_mesh.h"

namespace {

void BM_AnalyzeFailuresFullMesh(benchmark::State& state) {
    const net::TNetObj net = FullMeshWithAllDemands();
    size_t rows = 0;
    for (auto _ : state) {
        const std::vector<net::FailureRow> result = net::AnalyzeFailures(net);
        rows = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_AnalyzeFailuresFullMesh)->Unit(benchmark::kMillisecond);

}  // namespace
