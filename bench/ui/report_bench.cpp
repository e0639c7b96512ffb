// The design report of the largest network, written as PDF into memory:
// 18 hosts in a full mesh (153 channels) with 306 routed demands, once with
// light load and once with the heavy load that fills channels and leaves
// demands unplaced. Counters: pages and bytes of the PDF.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QPdfWriter>

#include "../full_mesh.h"
#include "report_document.h"

namespace {

void ReportOf(benchmark::State& state, net::TNetObj net) {
    net.RouteAll();
    int pages = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(300);
            pages = paint::PaintReport(writer, net, {});
        }
        bytes = buffer.size();
    }
    state.counters["pages"] = pages;
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_ReportFullMesh(benchmark::State& state) {
    ReportOf(state, FullMeshWithAllDemands());
}
BENCHMARK(BM_ReportFullMesh)->Unit(benchmark::kMillisecond);

void BM_ReportHeavyFullMesh(benchmark::State& state) {
    ReportOf(state, HeavyFullMesh());
}
BENCHMARK(BM_ReportHeavyFullMesh)->Unit(benchmark::kMillisecond);

}  // namespace
