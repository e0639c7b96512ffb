#include "routing_quality.h"

#include <array>
#include <charconv>

#include "busiest_bound.h"
#include "improved_routing.h"

namespace optimize {
namespace {

QualityBounds FindBounds(const LinkGraph& graph) {
    QualityBounds bounds;
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        if (graph.Connected[d]) {
            ++bounds.Carried;
        } else {
            ++bounds.NotCarried;
            bounds.NotCarriedLoad += graph.Demands[d].Load;
        }
    }
    if (bounds.Carried == 0)
        return bounds;
    BusiestBound busiest = FindBusiestBound(graph);
    bounds.BusiestMin = busiest.BusiestMin;
    if (bounds.LoadDoesNotFit())
        bounds.Bottlenecks = std::move(busiest.Bottlenecks);
    else
        bounds.Delay = FindDelayBound(graph, std::move(busiest.Routing));
    return bounds;
}

const SplitRouting* SplitOptimum(const QualityBounds& bounds) {
    return bounds.Delay ? &bounds.Delay->Routing : nullptr;
}

}  // namespace

QualityReport AnalyzeQuality(const net::TNetObj& net) {
    net::TNetObj routed = net;
    routed.DynamicRouting = false;
    routed.RouteAll();
    QualityReport report;
    report.Graph = BuildLinkGraph(routed);
    report.GreedyRouting = RoutingOfPathTable(routed, report.Graph);
    report.Bounds = FindBounds(report.Graph);
    report.ImprovedRouting =
        ImproveRouting(report.Graph, report.GreedyRouting, SplitOptimum(report.Bounds));
    report.Greedy = FiguresOf(report.Graph, report.GreedyRouting);
    report.Improved = FiguresOf(report.Graph, report.ImprovedRouting);
    return report;
}

void ApplyImprovedRouting(net::TNetObj& net) {
    net::TNetObj routed = net;
    routed.DynamicRouting = false;
    routed.RouteAll();
    const LinkGraph graph = BuildLinkGraph(routed);
    // The same starts as the report's, so that what is applied is what it
    // showed.
    const QualityBounds bounds = FindBounds(graph);
    const SinglePathRouting improved =
        ImproveRouting(graph, RoutingOfPathTable(routed, graph), SplitOptimum(bounds));
    net::PathTableT paths;
    net::UnroutedTableT unrouted;
    WriteTables(graph, improved, paths, unrouted);
    net.AdoptRouting(paths, unrouted);
}

std::string FigureText(const std::optional<double>& value) {
    if (!value)
        return "-";
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *value,
                                       std::chars_format::fixed, 6);
    return std::string(buffer.data(), written.ptr);
}

}  // namespace optimize
