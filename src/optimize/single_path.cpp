#include "single_path.h"

#include <algorithm>

#include "delay_model.h"

namespace optimize {

SinglePathRouting RoutingOfPathTable(const net::TNetObj& routed, const LinkGraph& graph) {
    SinglePathRouting routing;
    routing.Paths.resize(graph.Demands.size());
    routing.Flow.assign(graph.Links.size(), 0);
    net::HostMatrix<int32_t> demandOf{};
    for (size_t d = 0; d < graph.Demands.size(); ++d)
        demandOf[graph.Demands[d].Row][graph.Demands[d].Column] = static_cast<int32_t>(d) + 1;
    for (int32_t p = 1; p <= routed.PathTable.PathCount; ++p) {
        const net::PathRecord& record = routed.PathTable.Records[p];
        const int32_t d = demandOf[record[1]][record[record[0]]] - 1;
        routing.Paths[d].assign(record.begin() + 1, record.begin() + 1 + record[0]);
        for (const int32_t link : LinksOfPath(graph, routing.Paths[d]))
            routing.Flow[link] += graph.Demands[d].Load;
    }
    return routing;
}

RoutingFigures FiguresOf(const LinkGraph& graph, const SinglePathRouting& routing) {
    RoutingFigures figures;
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        const int64_t load = graph.Demands[d].Load;
        if (routing.Paths[d].empty()) {
            ++figures.Unplaced;
            figures.UnplacedLoad += load;
        } else {
            ++figures.Placed;
            figures.PlacedLoad += load;
        }
    }
    if (figures.Placed == 0)
        return figures;
    double delay = 0.0;
    double busiest = 0.0;
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        const Link& link = graph.Links[l];
        const double flow = static_cast<double>(routing.Flow[l]);
        if (!link.Carries() || flow == 0.0)
            continue;
        delay += LinkDelay(flow, link.Capacity);
        if (flow / link.Capacity > busiest) {
            busiest = flow / link.Capacity;
            figures.BusiestChannel = link.Channel;
        }
    }
    figures.MeanDelay = delay / static_cast<double>(figures.PlacedLoad);
    figures.Busiest = busiest;
    return figures;
}

void WriteTables(const LinkGraph& graph, const SinglePathRouting& routing, net::PathTableT& paths,
                 net::UnroutedTableT& unrouted) {
    paths = {};
    unrouted = {};
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        const Demand& demand = graph.Demands[d];
        const std::vector<int32_t>& hosts = routing.Paths[d];
        if (hosts.empty()) {
            unrouted.Items[++unrouted.Count] = {demand.Row, demand.Column, demand.Load};
            continue;
        }
        net::PathRecord& record = paths.Records[++paths.PathCount];
        record[0] = static_cast<int32_t>(hosts.size());
        std::copy(hosts.begin(), hosts.end(), record.begin() + 1);
    }
}

}  // namespace optimize
