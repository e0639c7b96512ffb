// The design advisor: the cheapest set of channels (pairs and types) that
// carries the whole load with every channel at most at a chosen utilisation
// and, on request, still carries it at full capacity after any single
// channel fails. Solved as a mixed-integer program; every design found is
// also routed as the method routes, so the user sees how the tool's own
// routing fares on it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "netobj.h"

namespace design {

enum class DesignStatus { Optimal, Stopped, Infeasible };

struct DesignChannel {
    int32_t HostA = 0;  // HostA < HostB
    int32_t HostB = 0;
    int32_t Type = 0;   // channel type number, 1..ChannelTypeCount
    bool Kept = false;  // a present channel kept as it is ("keep")

    bool operator==(const DesignChannel&) const = default;
};

// How the method's own routing fares on a design: RouteAll as static routing
// runs it and, with survive, the single-failure analysis of channels.
struct MethodCheck {
    int32_t Placed = 0;
    int32_t Unplaced = 0;
    int64_t UnplacedLoad = 0;
    int32_t FailuresLeavingLoad = -1;  // -1 without survive

    bool operator==(const MethodCheck&) const = default;
};

struct Design {
    std::vector<DesignChannel> Channels;  // ascending by (HostA, HostB)
    double Cost = 0.0;                    // net::ChannelCost summed (kept channels cost 0)
    MethodCheck Method;
};

struct DesignProgress {
    double BestCost = 0.0;  // +infinity while no design is known
    double Bound = 0.0;     // lower bound on the cost of any design
    double Seconds = 0.0;   // elapsed
};

struct DesignResult {
    DesignStatus Status = DesignStatus::Infeasible;
    // Empty when infeasible, or when stopped before any design was known.
    std::optional<Design> Proposed;
    double Bound = 0.0;  // valid lower bound; meaningless when infeasible
    // The cheapest design found that the method's routing carries completely,
    // when Proposed leaves demands unplaced under the method's routing.
    std::optional<Design> MethodCarried;
    bool MethodCarriedNeeded = false;       // Proposed left load unplaced under the method
    std::vector<std::string> LeftOutTypes;  // Russian: which types were never proposed and why
    bool Cancelled = false;                 // stopped by the progress callback
    std::string InfeasibleReason;           // Russian, when Status is Infeasible
};

struct DesignProblem;
class SearchClock;

// Set the data by name, run once, read the result.
class NetworkDesign {
public:
    explicit NetworkDesign(const net::TNetObj& net);  // copies what it needs; `net` is not kept
    NetworkDesign& keepPresent(bool keep);            // default false
    NetworkDesign& survive(bool survive);             // default false
    NetworkDesign& maxUtilisation(double umax);       // default 0.8, 0.05..1, else NetError
    NetworkDesign& timeLimit(double seconds);         // default 30, > 0, else NetError
    // Called now and then from the thread that runs run(); returning false
    // stops the search, which keeps the best design found (Cancelled set).
    NetworkDesign& progress(std::function<bool(const DesignProgress&)> callback);
    // Throws net::NetError with a Russian message for bad input (no hosts or one
    // host, no load, no usable channel type, a type table missing, a load no
    // design can carry naming the host). Never hangs: the time limit holds.
    DesignStatus run();
    const DesignResult& result() const;

    static constexpr double DefaultUtilisation = 0.8;
    static constexpr double MinUtilisation = 0.05;
    static constexpr double MaxUtilisation = 1.0;
    static constexpr double DefaultSeconds = 30.0;

private:
    void findMethodCarried(const DesignProblem& problem, SearchClock& clock,
                           const std::vector<std::vector<int32_t>>& found);

    net::TNetObj net_;
    bool keep_ = false;
    bool survive_ = false;
    double umax_ = DefaultUtilisation;
    double seconds_ = DefaultSeconds;
    std::function<bool(const DesignProgress&)> progress_;
    DesignResult result_;
};

// The present network as the advisor sees it, to set beside a design.
struct PresentNetwork {
    double Cost = 0.0;                // net::NetworkCost
    int32_t ChannelsWithoutType = 0;  // channels whose cost is unknown
    MethodCheck Method;               // how the method's routing carries its load
};

// The cost of the present network and whether the method's routing carries
// its load (net::NetworkCost is the one definition of a network's cost).
// Raises what RouteAll raises for a channel type missing from the table.
PresentNetwork CheckPresentNetwork(const net::TNetObj& net, bool survive);

// Replaces the channels by the design's (hosts, loads and type tables stay;
// channels numbered in the design's order) and routes as static routing does.
void ApplyDesign(net::TNetObj& net, const Design& design);

}  // namespace design
