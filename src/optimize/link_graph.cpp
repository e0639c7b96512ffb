#include "link_graph.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace optimize {
namespace {

using net::MaxHosts;

void CollectLinks(const net::TNetObj& net, LinkGraph& graph) {
    for (auto& row : graph.LinkBetween)
        row.fill(-1);
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        const net::ChannelRecord& channel = net.Channels[c];
        const int32_t a = channel.HostA;
        const int32_t b = channel.HostB;
        if (a == b || !net::IsHostNumber(a) || !net::IsHostNumber(b) || !net.HostPresent[a] ||
            !net.HostPresent[b])
            continue;
        const int32_t capacity = net.ChannelTypes[channel.TypeNo].Capacity;
        int32_t& index = graph.LinkBetween[a][b];
        if (index < 0) {
            index = static_cast<int32_t>(graph.Links.size());
            graph.LinkBetween[b][a] = index;
            graph.Links.push_back({a, b, c, capacity});
        } else {
            graph.Links[index].Channel = c;
            graph.Links[index].Capacity = capacity;
        }
    }
}

void CollectDemands(const net::TNetObj& net, LinkGraph& graph) {
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            const int32_t load = net.LoadMatrix[i][j];
            if (net.HostPresent[i] && net.HostPresent[j] && load > 0 && i != j)
                graph.Demands.push_back({i, j, load});
        }
    }
}

// Components over the links that carry, labelled by their lowest host.
std::array<int32_t, MaxHosts + 1> Components(const LinkGraph& graph) {
    std::array<int32_t, MaxHosts + 1> label{};
    for (int32_t h = 1; h <= MaxHosts; ++h)
        label[h] = h;
    bool changed = true;
    while (changed) {
        changed = false;
        for (const Link& link : graph.Links) {
            if (!link.Carries() || label[link.HostA] == label[link.HostB])
                continue;
            const int32_t low = std::min(label[link.HostA], label[link.HostB]);
            label[link.HostA] = label[link.HostB] = low;
            changed = true;
        }
    }
    return label;
}

}  // namespace

LinkGraph BuildLinkGraph(const net::TNetObj& net) {
    LinkGraph graph;
    CollectLinks(net, graph);
    CollectDemands(net, graph);
    graph.Component = Components(graph);
    for (const Demand& demand : graph.Demands)
        graph.Connected.push_back(graph.Component[demand.Row] == graph.Component[demand.Column]);
    return graph;
}

std::vector<int32_t> LinksOfPath(const LinkGraph& graph, const std::vector<int32_t>& hosts) {
    std::vector<int32_t> links;
    for (size_t k = 0; k + 1 < hosts.size(); ++k) {
        const int32_t link = graph.LinkOf(hosts[k], hosts[k + 1]);
        assert(link >= 0);
        links.push_back(link);
    }
    return links;
}

}  // namespace optimize
