// Repainting the main window on the largest network: 18 hosts in a full mesh
// (153 channels) with a demand between every ordered pair routed (306 paths),
// drawn offscreen at 800 x 600.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cmath>
#include <cstdlib>

#include "main.h"
#include "network_picture.h"

namespace {

void FillFullMeshWithRoutes(net::TNetObj& net) {
    net.ChannelTypeCount = 1;
    net.ChannelTypes[1].Capacity = 100000;
    for (int h = 0; h < net::MaxHosts; ++h) {
        const double angle = 2 * M_PI * h / net::MaxHosts;
        net.AddHost(static_cast<int32_t>(300 + 250 * std::cos(angle)),
                    static_cast<int32_t>(280 + 250 * std::sin(angle)), "h" + std::to_string(h + 1),
                    1);
    }
    net.BuildFullMesh(1);
    for (int i = 1; i <= net::MaxHosts; ++i) {
        for (int j = 1; j <= net::MaxHosts; ++j) {
            if (i != j)
                net.LoadMatrix[i][j] = 100 + 7 * i + 3 * j;
        }
    }
    net.RouteAll();
}

// The main window, shown offscreen, holding the routed full mesh.
class RoutedMeshWindow {
public:
    RoutedMeshWindow() {
        Form1 = &form_;
        form_.resize(800, 600);
        form_.show();
        (void)QTest::qWaitForWindowExposed(&form_);
        FillFullMeshWithRoutes(form_.Net());
    }
    ~RoutedMeshWindow() { Form1 = nullptr; }
    TForm1& form() { return form_; }

private:
    TForm1 form_;
};

void BM_RedrawAllRoutedMesh(benchmark::State& state) {
    RoutedMeshWindow window;
    for (auto _ : state) {
        window.form().RedrawAll();
    }
    state.counters["paths"] = window.form().Net().PathTable.PathCount;
}
BENCHMARK(BM_RedrawAllRoutedMesh)->Unit(benchmark::kMicrosecond);

void BM_UpdatePrTreeRoutedMesh(benchmark::State& state) {
    RoutedMeshWindow window;
    for (auto _ : state) {
        window.form().UpdatePrTree();
    }
}
BENCHMARK(BM_UpdatePrTreeRoutedMesh)->Unit(benchmark::kMicrosecond);

// The floor under RedrawAll: the same picture painted onto an image with
// one painter, no window involved.
void BM_PaintNetworkRoutedMesh(benchmark::State& state) {
    net::TNetObj net;
    FillFullMeshWithRoutes(net);
    QImage picture(568, 468, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&picture);
        paint::CanvasPainter canvas(painter, QApplication::font());
        paint::PaintNetwork(canvas, net, picture.size());
    }
}
BENCHMARK(BM_PaintNetworkRoutedMesh)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
