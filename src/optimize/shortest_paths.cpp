#include "shortest_paths.h"

namespace optimize {

using net::MaxHosts;

ShortestTree Dijkstra(const LinkGraph& graph, const std::vector<double>& lengths, int32_t source,
                      int32_t target) {
    ShortestTree tree;
    tree.Distance.fill(NoPath);
    std::array<bool, MaxHosts + 1> done{};
    tree.Distance[source] = 0.0;
    while (true) {
        int32_t current = 0;
        for (int32_t h = 1; h <= MaxHosts; ++h) {
            if (!done[h] && tree.Distance[h] < NoPath &&
                (current == 0 || tree.Distance[h] < tree.Distance[current]))
                current = h;
        }
        if (current == 0 || current == target)
            break;
        done[current] = true;
        for (int32_t next = 1; next <= MaxHosts; ++next) {
            const int32_t link = graph.LinkOf(current, next);
            if (link < 0 || done[next])
                continue;
            const double via = tree.Distance[current] + lengths[link];
            if (via < tree.Distance[next]) {
                tree.Distance[next] = via;
                tree.ViaLink[next] = link;
            }
        }
    }
    return tree;
}

std::vector<int32_t> PathTo(const LinkGraph& graph, const ShortestTree& tree, int32_t source,
                            int32_t target) {
    std::vector<int32_t> links;
    for (int32_t h = target; h != source;) {
        const Link& link = graph.Links[tree.ViaLink[h]];
        links.insert(links.begin(), tree.ViaLink[h]);
        h = link.HostA == h ? link.HostB : link.HostA;
    }
    return links;
}

std::vector<int32_t> HostsTo(const LinkGraph& graph, const ShortestTree& tree, int32_t source,
                             int32_t target) {
    std::vector<int32_t> hosts{target};
    for (int32_t h = target; h != source;) {
        const Link& link = graph.Links[tree.ViaLink[h]];
        h = link.HostA == h ? link.HostB : link.HostA;
        hosts.insert(hosts.begin(), h);
    }
    return hosts;
}

}  // namespace optimize
