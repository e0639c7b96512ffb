#include "design_check.h"

#include "busiest_bound.h"
#include "link_graph.h"

namespace design {
namespace {

// The linear program meets its constraints to about this relative error.
constexpr double Tolerance = 1e-6;

}  // namespace

net::TNetObj NetWithDesign(const DesignProblem& problem, const PairTypes& types,
                           int32_t failedPair) {
    net::TNetObj net = problem.Net;
    net::DynamicSuspension suspended(net);
    net.DeleteAllChannels();
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        if (types[p] > 0 && p != failedPair)
            net.AddChannel(problem.Pairs[p].HostA, problem.Pairs[p].HostB, types[p]);
    }
    return net;
}

LoadCheck CheckLoad(const DesignProblem& problem, const PairTypes& types, double limit,
                    int32_t failedPair) {
    const net::TNetObj net = NetWithDesign(problem, types, failedPair);
    const optimize::LinkGraph graph = optimize::BuildLinkGraph(net);
    LoadCheck check;
    for (const bool connected : graph.Connected) {
        if (!connected)
            check.Disconnected = true;
    }
    if (check.Disconnected)
        return check;
    const optimize::BusiestBound bound = optimize::FindBusiestBound(graph);
    check.Busiest = bound.BusiestMin;
    check.Carried = bound.BusiestMin <= limit * (1.0 + Tolerance);
    for (const int32_t channel : bound.Bottlenecks) {
        const net::ChannelRecord& record = net.Channels[channel];
        check.BottleneckPairs.push_back(problem.PairOf(record.HostA, record.HostB));
    }
    return check;
}

}  // namespace design
