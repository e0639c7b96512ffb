#include "start_design.h"

#include <algorithm>
#include <functional>
#include <numeric>

#include "design_check.h"
#include "network_cost.h"
#include "quick_load_check.h"

namespace design {
namespace {

int32_t CheapestType(const DesignProblem& problem) {
    const ProposedType* best = &problem.Types.front();
    for (const ProposedType& type : problem.Types) {
        if (problem.Net.ChannelTypes[type.Number].Value2 <
            problem.Net.ChannelTypes[best->Number].Value2)
            best = &type;
    }
    return best->Number;
}

// The cheapest type of the next larger capacity, 0 when there is none.
int32_t LargerType(const DesignProblem& problem, int32_t type) {
    const double capacity = CapacityOf(problem, type);
    for (const ProposedType& candidate : problem.Types) {
        if (candidate.Capacity > capacity)
            return candidate.Number;
    }
    return 0;
}

struct Components {
    std::vector<int32_t> Label;
    explicit Components(size_t size) : Label(size) { std::iota(Label.begin(), Label.end(), 0); }
    int32_t find(int32_t h) {
        while (Label[h] != h)
            h = Label[h] = Label[Label[h]];
        return h;
    }
    bool join(int32_t a, int32_t b) {
        a = find(a);
        b = find(b);
        if (a == b)
            return false;
        Label[a] = b;
        return true;
    }
};

double Cost(const DesignProblem& problem, int32_t pair, int32_t type) {
    const HostPair& p = problem.Pairs[pair];
    return net::ChannelCost(problem.Net, type, p.HostA, p.HostB);
}

// Kept channels, then the cheapest candidate pairs that join what is still
// apart, with the cheapest type.
PairTypes SpanningTree(const DesignProblem& problem) {
    PairTypes types(problem.Pairs.size(), 0);
    Components components(net::MaxHosts + 1);
    const int32_t cheapest = CheapestType(problem);
    std::vector<int32_t> order;
    for (int32_t p = 0; p < static_cast<int32_t>(problem.Pairs.size()); ++p) {
        const HostPair& pair = problem.Pairs[p];
        types[p] = pair.KeptType;
        if (pair.KeptCapacity > 0.0)
            components.join(pair.HostA, pair.HostB);
        if (pair.Candidate())
            order.push_back(p);
    }
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return Cost(problem, a, cheapest) < Cost(problem, b, cheapest);
    });
    for (const int32_t p : order) {
        if (components.join(problem.Pairs[p].HostA, problem.Pairs[p].HostB))
            types[p] = cheapest;
    }
    return types;
}

// The cheapest candidate pair without a channel that joins two parts of the
// design left apart by the failure of `failedPair`.
int32_t Bridge(const DesignProblem& problem, const PairTypes& types, int32_t failedPair) {
    Components components(net::MaxHosts + 1);
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        if (p != failedPair && types[p] > 0 && CapacityOf(problem, types[p]) > 0.0)
            components.join(problem.Pairs[p].HostA, problem.Pairs[p].HostB);
    }
    const int32_t cheapest = CheapestType(problem);
    int32_t best = -1;
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        const HostPair& pair = problem.Pairs[p];
        if (!pair.Candidate() || types[p] > 0 ||
            components.find(pair.HostA) == components.find(pair.HostB))
            continue;
        if (best < 0 || Cost(problem, p, cheapest) < Cost(problem, best, cheapest))
            best = p;
    }
    return best;
}

// The candidate pair without a channel whose own demands are largest for
// what a channel there costs.
int32_t Shortcut(const DesignProblem& problem, const PairTypes& types) {
    std::vector<double> direct(problem.Pairs.size(), 0.0);
    for (const DemandOf& demand : problem.Demands)
        direct[problem.PairOf(demand.From, demand.To)] += demand.Load;
    const int32_t cheapest = CheapestType(problem);
    int32_t best = -1;
    double bestWorth = 0.0;
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        if (!problem.Pairs[p].Candidate() || types[p] > 0)
            continue;
        const double worth = (direct[p] + 1.0) / (Cost(problem, p, cheapest) + 1e-9);
        if (best < 0 || worth > bestWorth) {
            best = p;
            bestWorth = worth;
        }
    }
    return best;
}

// One step towards carrying what `check` found not carried; false when the
// design cannot grow any more.
bool Grow(const DesignProblem& problem, PairTypes& types, const LoadCheck& check,
          int32_t failedPair) {
    if (check.Disconnected) {
        const int32_t bridge = Bridge(problem, types, failedPair);
        if (bridge < 0)
            return false;
        types[bridge] = CheapestType(problem);
        return true;
    }
    bool grown = false;
    for (const int32_t p : check.BottleneckPairs) {
        if (!problem.Pairs[p].Candidate())
            continue;
        const int32_t larger = LargerType(problem, types[p]);
        if (larger > 0) {
            types[p] = larger;
            grown = true;
        }
    }
    if (grown)
        return true;
    const int32_t shortcut = Shortcut(problem, types);
    if (shortcut < 0)
        return false;
    types[shortcut] = CheapestType(problem);
    return true;
}

}  // namespace

PairTypes LargestDesign(const DesignProblem& problem) {
    // Types are sorted by capacity, then cost: the first of the largest
    // capacity is its cheapest.
    int32_t largest = problem.Types.back().Number;
    for (auto t = problem.Types.rbegin(); t != problem.Types.rend(); ++t) {
        if (t->Capacity == problem.Types.back().Capacity)
            largest = t->Number;
    }
    PairTypes types(problem.Pairs.size(), 0);
    for (size_t p = 0; p < problem.Pairs.size(); ++p)
        types[p] = problem.Pairs[p].Candidate() ? largest : problem.Pairs[p].KeptType;
    return types;
}

std::optional<PairTypes> RepairDesign(const DesignProblem& problem, PairTypes types,
                                      SearchClock& clock, double seconds) {
    const double until = clock.elapsed() + seconds;
    while (clock.keepGoing() && clock.elapsed() < until) {
        LoadCheck check = CheckLoad(problem, types, problem.Umax);
        int32_t failedPair = -1;
        if (check.Carried && problem.Survive) {
            for (int32_t p = 0; p < static_cast<int32_t>(types.size()) && check.Carried; ++p) {
                if (types[p] == 0 || CapacityOf(problem, types[p]) <= 0.0)
                    continue;
                check = CheckLoad(problem, types, 1.0, p);
                failedPair = check.Carried ? -1 : p;
            }
        }
        if (check.Carried)
            return types;
        if (!Grow(problem, types, check, failedPair))
            return std::nullopt;
    }
    return std::nullopt;
}

// The cheapest type of the next smaller capacity, 0 when there is none.
int32_t SmallerType(const DesignProblem& problem, int32_t type) {
    const double capacity = CapacityOf(problem, type);
    int32_t smaller = 0;
    double smallerCapacity = 0.0;
    for (const ProposedType& candidate : problem.Types) {
        if (candidate.Capacity < capacity && candidate.Capacity > smallerCapacity) {
            smaller = candidate.Number;
            smallerCapacity = candidate.Capacity;
        }
    }
    return smaller;
}

bool CarriesAll(const DesignProblem& problem, const PairTypes& types, SearchClock& clock) {
    if (!CheckLoad(problem, types, problem.Umax).Carried)
        return false;
    return !problem.Survive ||
           (FailuresNotSurvived(problem, types, [&] { return clock.keepGoing(); }).empty() &&
            clock.keepGoing());
}

// The design's candidate pairs with a channel, the dearest channel first.
std::vector<int32_t> DearestFirst(const DesignProblem& problem, const PairTypes& types) {
    std::vector<int32_t> order;
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        if (problem.Pairs[p].Candidate() && types[p] > 0)
            order.push_back(p);
    }
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
        return Cost(problem, a, types[a]) > Cost(problem, b, types[b]);
    });
    return order;
}

PairTypes ImproveByDropping(const DesignProblem& problem, PairTypes types, SearchClock& clock,
                            double seconds) {
    const double until = clock.elapsed() + seconds;
    const auto inTime = [&] { return clock.keepGoing() && clock.elapsed() < until; };
    bool improved = true;
    while (improved && inTime()) {
        improved = false;
        const std::vector<int32_t> order = DearestFirst(problem, types);
        for (const int32_t p : order) {
            if (!inTime())
                break;
            const int32_t current = types[p];
            std::vector<int32_t> lowers{0};
            if (SmallerType(problem, current) > 0)
                lowers.push_back(SmallerType(problem, current));
            for (const int32_t lower : lowers) {
                if (!inTime())
                    break;
                types[p] = lower;
                if (CarriesAll(problem, types, clock)) {
                    improved = true;
                    break;
                }
                types[p] = current;
            }
        }
    }
    return types;
}

namespace {

// Exchanges tried for each channel lowered, the likeliest first; four times
// as many once a pass finds none. Checks take about 1 ms on 8 hosts and 7 ms
// on 18, where a pass over every exchange would take the whole time.
constexpr size_t FirstExchangesPerLowering = 12;
constexpr size_t ExchangesGrowth = 4;

struct Exchange {
    int32_t Pair = 0;
    int32_t Type = 0;
    double Added = 0.0;  // what the new type costs more than the old
    bool Bottleneck = false;
};

// The pairs that could take up what lowering a channel gave up, each with
// every larger type that costs less than `saving` more, bottlenecks first,
// then the cheapest.
std::vector<Exchange> Exchanges(const DesignProblem& problem, const PairTypes& types,
                                int32_t lowered, double saving, const LoadCheck& check, size_t most,
                                bool& cut) {
    std::vector<Exchange> exchanges;
    for (int32_t q = 0; q < static_cast<int32_t>(types.size()); ++q) {
        if (q == lowered || !problem.Pairs[q].Candidate())
            continue;
        const double now = types[q] > 0 ? Cost(problem, q, types[q]) : 0.0;
        const double capacity = types[q] > 0 ? CapacityOf(problem, types[q]) : 0.0;
        const bool bottleneck =
            std::find(check.BottleneckPairs.begin(), check.BottleneckPairs.end(), q) !=
            check.BottleneckPairs.end();
        for (const ProposedType& type : problem.Types) {
            const double added = Cost(problem, q, type.Number) - now;
            if (type.Capacity > capacity && added < saving * (1.0 - 1e-9))
                exchanges.push_back({q, type.Number, added, bottleneck});
        }
    }
    std::stable_sort(exchanges.begin(), exchanges.end(), [](const Exchange& a, const Exchange& b) {
        if (a.Bottleneck != b.Bottleneck)
            return a.Bottleneck;
        return a.Added < b.Added;
    });
    if (exchanges.size() > most) {
        exchanges.resize(most);
        cut = true;
    }
    return exchanges;
}

// The quick tests of the designs an exchange tries: one program for the
// design as it is, one for its single failures, each solved again from its
// own last basis.
struct QuickChecks {
    QuickLoadCheck Intact;
    QuickLoadCheck Failed;
};

// Whether the design may carry the load and, with survive, each failure of
// one of its channels; a design it refuses does not.
bool MayCarryAll(const DesignProblem& problem, const PairTypes& types, QuickChecks& quick,
                 const std::function<bool()>& inTime) {
    if (!quick.Intact.mayCarry(types, problem.Umax, -1, inTime))
        return false;
    if (!problem.Survive)
        return true;
    for (int32_t p = 0; p < static_cast<int32_t>(types.size()); ++p) {
        if (types[p] > 0 && CapacityOf(problem, types[p]) > 0.0 &&
            !quick.Failed.mayCarry(types, 1.0, p, inTime))
            return false;
    }
    return true;
}

// Lowers channel `p` and takes the first of at most `most` exchanges that
// carries; false when none does. `cut` is set when exchanges were left out.
bool Exchanged(const DesignProblem& problem, PairTypes& types, int32_t p, SearchClock& clock,
               const std::function<bool()>& inTime, QuickChecks& quick, size_t most, bool& cut) {
    const int32_t current = types[p];
    std::vector<int32_t> lowers{0};
    if (SmallerType(problem, current) > 0)
        lowers.push_back(SmallerType(problem, current));
    for (const int32_t lower : lowers) {
        types[p] = lower;
        const double saving =
            Cost(problem, p, current) - (lower > 0 ? Cost(problem, p, lower) : 0.0);
        const LoadCheck check = CheckLoad(problem, types, problem.Umax);
        for (const Exchange& exchange : Exchanges(problem, types, p, saving, check, most, cut)) {
            if (!inTime())
                break;
            const int32_t before = types[exchange.Pair];
            types[exchange.Pair] = exchange.Type;
            if (MayCarryAll(problem, types, quick, inTime) && CarriesAll(problem, types, clock))
                return true;
            types[exchange.Pair] = before;
        }
    }
    types[p] = current;
    return false;
}

}  // namespace

PairTypes ImproveBySwapping(const DesignProblem& problem, PairTypes types, SearchClock& clock,
                            double seconds) {
    const double until = clock.elapsed() + seconds;
    const std::function<bool()> inTime = [&] {
        return clock.keepGoing() && clock.elapsed() < until;
    };
    QuickChecks quick{QuickLoadCheck(problem), QuickLoadCheck(problem)};
    size_t most = FirstExchangesPerLowering;
    while (inTime()) {
        const std::vector<int32_t> order = DearestFirst(problem, types);
        bool improved = false;
        bool cut = false;
        for (const int32_t p : order) {
            if (!inTime())
                break;
            if (Exchanged(problem, types, p, clock, inTime, quick, most, cut)) {
                improved = true;
                types = ImproveByDropping(problem, types, clock, until - clock.elapsed());
                break;
            }
        }
        if (!improved && !cut)
            break;  // no exchange left untried
        if (!improved)
            most *= ExchangesGrowth;
    }
    return types;
}

PairTypes RoundRelaxation(const DesignProblem& problem, const std::vector<double>& capacities,
                          double least) {
    PairTypes types(problem.Pairs.size(), 0);
    const double smallest = problem.Types.front().Capacity;
    for (size_t p = 0; p < problem.Pairs.size(); ++p) {
        types[p] = problem.Pairs[p].KeptType;
        if (!problem.Pairs[p].Candidate() || capacities[p] < least * smallest)
            continue;
        // Types ascend by capacity, then cost: the first that holds it is
        // the cheapest of the smallest capacity that does.
        types[p] = problem.Types.back().Number;
        for (const ProposedType& type : problem.Types) {
            if (type.Capacity >= capacities[p] * (1.0 - 1e-9)) {
                types[p] = type.Number;
                break;
            }
        }
    }
    return types;
}

std::optional<PairTypes> GrowStartDesign(const DesignProblem& problem, SearchClock& clock,
                                         double seconds) {
    return RepairDesign(problem, SpanningTree(problem), clock, seconds);
}

}  // namespace design
