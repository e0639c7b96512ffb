#include "load_scaling.h"

#include <algorithm>
#include <cmath>

#include "busiest_bound.h"
#include "errors.h"
#include "link_graph.h"

namespace optimize {
namespace {

// The link graph of the network as routing sees it; routing runs on a copy
// first, so a channel type missing from the table stops here.
LinkGraph CheckedGraph(const net::TNetObj& net) {
    net::TNetObj routed = net;
    routed.DynamicRouting = false;
    routed.RouteAll();
    return BuildLinkGraph(routed);
}

bool AnyConnected(const LinkGraph& graph) {
    return std::find(graph.Connected.begin(), graph.Connected.end(), true) != graph.Connected.end();
}

}  // namespace

std::optional<double> SmallestBusiest(const net::TNetObj& net) {
    const LinkGraph graph = CheckedGraph(net);
    if (!AnyConnected(graph))
        return std::nullopt;
    return FindBusiestBound(graph).BusiestMin;
}

TargetScaling ScaleToTarget(const net::TNetObj& net, double target) {
    if (!std::isfinite(target) || target <= 0)
        throw net::NetError("Целевая загрузка " + net::RealText(target) +
                            " должна быть числом больше 0");
    const LinkGraph graph = CheckedGraph(net);
    const bool carries = std::any_of(graph.Links.begin(), graph.Links.end(),
                                     [](const Link& link) { return link.Carries(); });
    if (!carries)
        throw net::NetError(
            "Сеть ничего не несёт: нет ни одного канала с пропускной "
            "способностью больше 0");
    if (!AnyConnected(graph))
        throw net::NetError(
            "Нагрузка пуста: нет ни одной нагрузки больше 0 между "
            "маршрутизаторами, которые соединяют каналы");
    TargetScaling scaling;
    scaling.BusiestBefore = FindBusiestBound(graph).BusiestMin;
    scaling.Factor = target / scaling.BusiestBefore;
    scaling.Loads = net::ScaledLoads(net.LoadMatrix, scaling.Factor);
    return scaling;
}

}  // namespace optimize
