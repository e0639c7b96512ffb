#include "delay_bound.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "delay_model.h"
#include "path_newton.h"
#include "shortest_paths.h"

namespace optimize {
namespace {

using net::MaxHosts;

constexpr double Infinite = std::numeric_limits<double>::infinity();
constexpr int MaxNewtonSteps = 60;
// The relative gap below which the Newton step is solved nearly exactly:
// from there it converges in few passes, while above it the path set still
// changes from pass to pass and a cheaper step does as well.
constexpr double NearOptimum = 1e-3;

std::vector<double> FirstDerivatives(const LinkGraph& graph, const std::vector<double>& flow) {
    std::vector<double> lengths(graph.Links.size(), NoPath);
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        if (graph.Links[l].Carries())
            lengths[l] = LinkDelayDerivative(flow[l], graph.Links[l].Capacity);
    }
    return lengths;
}

// Slope and curvature in the amount moved, of the summed delay.
struct LineDerivatives {
    double Slope = 0.0;
    double Curvature = 0.0;
    double Magnitude = 0.0;  // for a relative stopping test
};

LineDerivatives AlongShift(const LinkGraph& graph, const std::vector<double>& flow,
                           const Shift& shift, double amount) {
    LineDerivatives d;
    for (const int32_t l : shift.Plus) {
        const double c = graph.Links[l].Capacity;
        const double first = LinkDelayDerivative(flow[l] + amount, c);
        d.Slope += first;
        d.Magnitude += first;
        d.Curvature += LinkDelaySecondDerivative(flow[l] + amount, c);
    }
    for (const int32_t l : shift.Minus) {
        const double c = graph.Links[l].Capacity;
        const double first = LinkDelayDerivative(flow[l] - amount, c);
        d.Slope -= first;
        d.Magnitude += first;
        d.Curvature += LinkDelaySecondDerivative(flow[l] - amount, c);
    }
    return d;
}

// The amount in [0, available] that minimises the summed delay along the
// shift; never as far as a gaining link's capacity.
double BestAmount(const LinkGraph& graph, const std::vector<double>& flow, const Shift& shift,
                  double available) {
    if (AlongShift(graph, flow, shift, 0.0).Slope >= 0.0)
        return 0.0;
    double room = Infinite;
    for (const int32_t l : shift.Plus)
        room = std::min(room, graph.Links[l].Capacity - flow[l]);
    if (available < room && AlongShift(graph, flow, shift, available).Slope <= 0.0)
        return available;
    double low = 0.0;
    double high = std::min(available, room);
    double amount = 0.0;
    for (int step = 0; step < MaxNewtonSteps; ++step) {
        const LineDerivatives d = AlongShift(graph, flow, shift, amount);
        if (std::fabs(d.Slope) <= 1e-14 * d.Magnitude)
            break;
        (d.Slope < 0.0 ? low : high) = amount;
        double next = amount - d.Slope / d.Curvature;
        if (!(next > low && next < high))
            next = low + (high - low) / 2;
        if (next == amount)
            break;
        amount = next;
    }
    return amount;
}

// The flows and their first derivatives, kept in step.
struct FlowState {
    SplitRouting& Routing;
    std::vector<double> Lengths;
};

void Move(const LinkGraph& graph, FlowState& state, const Shift& shift, double amount) {
    std::vector<double>& flow = state.Routing.Flow;
    for (const int32_t l : shift.Plus)
        flow[l] += amount;
    for (const int32_t l : shift.Minus)
        flow[l] -= amount;
    for (const std::vector<int32_t>* links : {&shift.Plus, &shift.Minus}) {
        for (const int32_t l : *links)
            state.Lengths[l] = LinkDelayDerivative(flow[l], graph.Links[l].Capacity);
    }
}

// One demand: its flow moved from every other path towards its shortest.
void Equalise(const LinkGraph& graph, FlowState& state, size_t d) {
    const Demand& demand = graph.Demands[d];
    const std::vector<int32_t> best =
        PathTo(graph, Dijkstra(graph, state.Lengths, demand.Row, demand.Column), demand.Row,
               demand.Column);
    std::vector<PathShare>& shares = state.Routing.Shares[d];
    auto target = std::find_if(shares.begin(), shares.end(),
                               [&](const PathShare& s) { return s.Links == best; });
    if (target == shares.end()) {
        shares.push_back({best, 0.0});
        target = shares.end() - 1;
    }
    const size_t t = static_cast<size_t>(target - shares.begin());
    for (size_t s = 0; s < shares.size(); ++s) {
        if (s == t || shares[s].Flow <= 0.0)
            continue;
        const Shift shift = Difference(shares[t].Links, shares[s].Links);
        const double amount = BestAmount(graph, state.Routing.Flow, shift, shares[s].Flow);
        Move(graph, state, shift, amount);
        shares[t].Flow += amount;
        shares[s].Flow = amount == shares[s].Flow ? 0.0 : shares[s].Flow - amount;
    }
    std::erase_if(shares, [](const PathShare& s) { return s.Flow <= 0.0; });
}

// The mean delay and its lower bound at the current flows: T(f) plus the
// gradient times the step to the all-or-nothing flows v of the shortest
// first-derivative paths. By convexity no routing has a mean delay below it.
struct Certificate {
    double Mean = 0.0;
    double Lower = 0.0;
};

Certificate Certify(const LinkGraph& graph, const SplitRouting& routing, double totalLoad) {
    const std::vector<double> lengths = FirstDerivatives(graph, routing.Flow);
    double delay = 0.0;
    double gradientAtFlows = 0.0;
    for (size_t l = 0; l < graph.Links.size(); ++l) {
        if (!graph.Links[l].Carries())
            continue;
        delay += LinkDelay(routing.Flow[l], graph.Links[l].Capacity);
        gradientAtFlows += lengths[l] * routing.Flow[l];
    }
    double gradientAtShortest = 0.0;
    ShortestTree tree;
    int32_t treeSource = 0;
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        const Demand& demand = graph.Demands[d];
        if (!graph.Connected[d])
            continue;
        // Demands come row by row: one tree serves all of a row host's.
        if (demand.Row != treeSource) {
            tree = Dijkstra(graph, lengths, demand.Row, 0);
            treeSource = demand.Row;
        }
        gradientAtShortest += demand.Load * tree.Distance[demand.Column];
    }
    return {delay / totalLoad, (delay + gradientAtShortest - gradientAtFlows) / totalLoad};
}

}  // namespace

DelayBound FindDelayBound(const LinkGraph& graph, SplitRouting start, int passLimit) {
    DelayBound bound;
    bound.Routing = std::move(start);
    double totalLoad = 0.0;
    int connected = 0;
    for (size_t d = 0; d < graph.Demands.size(); ++d) {
        if (graph.Connected[d]) {
            totalLoad += graph.Demands[d].Load;
            ++connected;
        }
    }
    const int maxPasses = std::min(passLimit, std::max(1, MaxDelaySteps / connected));
    bound.Lower = -Infinite;
    while (true) {
        const Certificate certificate = Certify(graph, bound.Routing, totalLoad);
        bound.Upper = certificate.Mean;
        // At the optimum the two agree up to rounding, which must not put
        // the bound above a routing that reaches it.
        bound.Lower = std::min(std::max(bound.Lower, certificate.Lower), bound.Upper);
        bound.GapReached = bound.Upper - bound.Lower <= RelativeGap * bound.Upper;
        if (bound.GapReached || bound.Passes == maxPasses)
            break;
        ++bound.Passes;
        FlowState state{bound.Routing, FirstDerivatives(graph, bound.Routing.Flow)};
        for (size_t d = 0; d < graph.Demands.size(); ++d) {
            if (graph.Connected[d])
                Equalise(graph, state, d);
        }
        NewtonStep(graph, bound.Routing, bound.Upper - bound.Lower < NearOptimum * bound.Upper);
    }
    return bound;
}

}  // namespace optimize
