#include "design_formulation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <functional>
#include <limits>

namespace design {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

// Sets of hosts whose cut-set inequalities are added: all of them on small
// networks, those of one or two hosts on larger ones.
constexpr size_t AllSetsUpTo = 8;
constexpr int32_t LargestSmallSet = 2;

// Per-demand flows up to this many linking rows: their linking is stronger,
// but the program several times larger. Where every cut-set is in the
// program they hardly raise the bound (8 hosts, 56 demands: 3024 against
// 2943 at the root) and the slower nodes cost the design found (gap 10.0 %
// against 6.8 % in 10 s), so there only tiny programs have them; on larger
// networks they raise the bound most (12 hosts, 66 demands: 6377 against
// 6105 in 30 s, gap 15.9 % against 19.4 %).
constexpr size_t PerDemandRows = 5000;
constexpr size_t PerDemandRowsWithEveryCutSet = 600;

// A whole number of channels from a quotient the solver computed in
// floating point.
double CeilCount(double value) {
    return std::ceil(value - 1e-9);
}

struct RoundedRow {
    std::vector<double> Values;  // per capacity given
    double Lower = 0.0;
};

// The mixed-integer rounding of "capacities times binaries at least
// `needed`" in units of `unit`: with f the fraction of needed/unit, each
// coefficient a becomes floor(a) + min(frac(a), f)/f and the right side
// ceil(needed/unit). Valid for whole numbers of channels; it cuts off the
// fractional designs that buy just the capacity the load needs.
RoundedRow RoundCapacities(const std::vector<double>& capacities, double needed, double unit) {
    const double quotient = needed / unit;
    const double f = quotient - std::floor(quotient);
    RoundedRow row;
    if (f < 1e-6 || f > 1.0 - 1e-6) {
        // Nothing to round: each coefficient rounded up instead, which a
        // whole number of channels also meets.
        for (const double capacity : capacities)
            row.Values.push_back(CeilCount(capacity / unit));
        row.Lower = CeilCount(quotient);
        return row;
    }
    for (const double capacity : capacities) {
        const double a = capacity / unit;
        const double whole = std::floor(a + 1e-9);
        row.Values.push_back(whole + std::min(std::max(a - whole, 0.0), f) / f);
    }
    row.Lower = std::ceil(quotient);
    return row;
}

}  // namespace

DesignFormulation::DesignFormulation(const DesignProblem& problem)
    : problem_(problem), scale_(problem.LargestCapacity()) {
    addTypeColumns();
    addFlows(-1, problem.Umax);
    addCutSets();
}

void DesignFormulation::addTypeColumns() {
    for (const HostPair& pair : problem_.Pairs) {
        std::vector<int32_t>& columns = typeColumn_.emplace_back();
        for (const double cost : pair.TypeCost)
            columns.push_back(model_.addColumn(0.0, 1.0, cost, true));
        if (columns.size() > 1)
            model_.addRow(columns, std::vector<double>(columns.size(), 1.0), -Infinity, 1.0);
    }
}

// The flows are split into commodities: each demand on its own while the
// program stays small (its linking rows are the strongest), else the demands
// of one source together.
std::vector<Commodity> DesignFormulation::commodities(bool perDemand) const {
    std::vector<Commodity> result;
    for (const int32_t s : problem_.Hosts) {
        Commodity bySource;
        bySource.Source = s;
        for (const DemandOf& demand : problem_.Demands) {
            if (demand.From != s)
                continue;
            if (perDemand) {
                Commodity single;
                single.Source = s;
                single.Target = demand.To;
                single.Load[demand.To] = single.Total = demand.Load / scale_;
                result.push_back(single);
            }
            bySource.Load[demand.To] += demand.Load / scale_;
            bySource.Total += demand.Load / scale_;
        }
        if (!perDemand && bySource.Total > 0.0)
            result.push_back(bySource);
    }
    return result;
}

void DesignFormulation::addFlows(int32_t failedPair, double utilisation) {
    const size_t perDemandRows = holdsEveryCutSet() ? PerDemandRowsWithEveryCutSet : PerDemandRows;
    const bool perDemand =
        failedPair < 0 && problem_.Demands.size() * problem_.Pairs.size() <= perDemandRows;
    // Per pair: the flow columns of every commodity, for its capacity row.
    std::vector<std::vector<int32_t>> pairFlows(problem_.Pairs.size());
    for (const Commodity& commodity : commodities(perDemand)) {
        const int32_t s = commodity.Source;
        // Conservation rows of the other hosts, filled per arc.
        std::vector<std::vector<int32_t>> rowColumns(net::MaxHosts + 1);
        std::vector<std::vector<double>> rowValues(net::MaxHosts + 1);
        for (int32_t p = 0; p < static_cast<int32_t>(problem_.Pairs.size()); ++p) {
            const HostPair& pair = problem_.Pairs[p];
            if (p == failedPair || (!pair.Candidate() && pair.KeptCapacity <= 0.0))
                continue;
            std::vector<int32_t> link;
            for (const auto& [from, to] :
                 {std::pair{pair.HostA, pair.HostB}, std::pair{pair.HostB, pair.HostA}}) {
                // Flow back into its source or on from its only target is
                // never needed.
                if (to == s || from == commodity.Target)
                    continue;
                const int32_t column = model_.addColumn(0.0, commodity.Total, 0.0, false);
                link.push_back(column);
                pairFlows[p].push_back(column);
                rowColumns[to].push_back(column);
                rowValues[to].push_back(1.0);
                if (from != s) {
                    rowColumns[from].push_back(column);
                    rowValues[from].push_back(-1.0);
                }
            }
            if (!pair.Candidate())
                continue;
            // This commodity's flow over the pair needs a channel there.
            std::vector<double> values(link.size(), 1.0);
            for (size_t t = 0; t < problem_.Types.size(); ++t) {
                link.push_back(typeColumn_[p][t]);
                values.push_back(
                    -std::min(commodity.Total, utilisation * problem_.Types[t].Capacity / scale_));
            }
            model_.addRow(link, values, -Infinity, 0.0);
        }
        for (const int32_t v : problem_.Hosts) {
            if (v != s && !rowColumns[v].empty())
                model_.addRow(rowColumns[v], rowValues[v], commodity.Load[v], commodity.Load[v]);
        }
    }
    // Each pair's capacity, shared by both directions and all commodities.
    for (size_t p = 0; p < problem_.Pairs.size(); ++p) {
        if (pairFlows[p].empty())
            continue;
        const HostPair& pair = problem_.Pairs[p];
        std::vector<int32_t> columns = pairFlows[p];
        std::vector<double> values(columns.size(), 1.0);
        for (size_t t = 0; t < typeColumn_[p].size(); ++t) {
            columns.push_back(typeColumn_[p][t]);
            values.push_back(-utilisation * problem_.Types[t].Capacity / scale_);
        }
        model_.addRow(columns, values, -Infinity, utilisation * pair.KeptCapacity / scale_);
    }
}

void DesignFormulation::addFailureState(int32_t pair) {
    if (hasFailureState(pair))
        return;
    failed_.push_back(pair);
    addFlows(pair, 1.0);
}

bool DesignFormulation::hasFailureState(int32_t pair) const {
    return std::find(failed_.begin(), failed_.end(), pair) != failed_.end();
}

// The channels leaving a set of hosts carry every demand that crosses it:
// their capacities at UMAX (and, with survive, all but one at full
// capacity) cover the crossing load, and so does a whole number of channels
// of the largest capacity.
void DesignFormulation::addCutSet(const std::vector<bool>& inSet) {
    cutSets_.insert(maskOf(inSet));
    double crossing = 0.0;
    for (const DemandOf& demand : problem_.Demands) {
        if (inSet[demand.From] != inSet[demand.To])
            crossing += demand.Load / scale_;
    }
    if (crossing <= 0.0)
        return;
    std::vector<int32_t> columns;
    std::vector<double> capacities;
    double kept = 0.0;
    int32_t keptChannels = 0;
    for (size_t p = 0; p < problem_.Pairs.size(); ++p) {
        const HostPair& pair = problem_.Pairs[p];
        if (inSet[pair.HostA] == inSet[pair.HostB])
            continue;
        kept += pair.KeptCapacity / scale_;
        keptChannels += pair.KeptCapacity > 0.0 ? 1 : 0;
        for (size_t t = 0; t < typeColumn_[p].size(); ++t) {
            columns.push_back(typeColumn_[p][t]);
            capacities.push_back(problem_.Types[t].Capacity / scale_);
        }
    }
    if (columns.empty())
        return;
    const double needed = crossing / problem_.Umax - kept;
    if (needed > 0.0) {
        model_.addRow(columns, capacities, needed, Infinity);
        for (const ProposedType& type : problem_.Types)
            addRoundedRow(columns, capacities, needed, type.Capacity / scale_);
    }
    if (problem_.Survive) {
        // All of the set's channels but one carry the crossing load.
        const double count = CeilCount(crossing) + 1.0 - keptChannels;
        if (count > 0.0)
            model_.addRow(columns, std::vector<double>(columns.size(), 1.0), count, Infinity);
    }
}

void DesignFormulation::addRoundedRow(const std::vector<int32_t>& columns,
                                      const std::vector<double>& capacities, double needed,
                                      double unit) {
    const RoundedRow row = RoundCapacities(capacities, needed, unit);
    model_.addRow(columns, row.Values, row.Lower, Infinity);
}

// With survive: after any one of a host's channels fails, the others carry
// its load at full capacity.
void DesignFormulation::addHostSurvivalCuts(int32_t host) {
    const double load = problem_.HostLoad(host) / scale_;
    if (load <= 0.0)
        return;
    for (const int32_t failed : problem_.Hosts) {
        if (failed == host)
            continue;
        const int32_t failedPair = problem_.PairOf(host, failed);
        std::vector<int32_t> columns;
        std::vector<double> capacities;
        double kept = 0.0;
        for (const int32_t other : problem_.Hosts) {
            const int32_t p = other == host ? -1 : problem_.PairOf(host, other);
            if (p < 0 || p == failedPair)
                continue;
            kept += problem_.Pairs[p].KeptCapacity / scale_;
            for (size_t t = 0; t < typeColumn_[p].size(); ++t) {
                columns.push_back(typeColumn_[p][t]);
                capacities.push_back(problem_.Types[t].Capacity / scale_);
            }
        }
        if (!columns.empty() && load - kept > 0.0)
            model_.addRow(columns, capacities, load - kept, Infinity);
    }
}

// The design joins the hosts that demands join: a forest over the hosts
// with load, one tree per part of the demands' graph, has that many hosts
// less the parts channels (with survive, every such host has two).
void DesignFormulation::addChannelCount() {
    std::vector<int32_t> part(net::MaxHosts + 1);
    for (int32_t h = 0; h <= net::MaxHosts; ++h)
        part[h] = h;
    const auto find = [&](int32_t h) {
        while (part[h] != h)
            h = part[h] = part[part[h]];
        return h;
    };
    std::vector<bool> loaded(net::MaxHosts + 1, false);
    for (const DemandOf& demand : problem_.Demands) {
        loaded[demand.From] = loaded[demand.To] = true;
        part[find(demand.From)] = find(demand.To);
    }
    int32_t hostsWithLoad = 0;
    int32_t parts = 0;
    for (const int32_t h : problem_.Hosts) {
        hostsWithLoad += loaded[h] ? 1 : 0;
        parts += loaded[h] && find(h) == h ? 1 : 0;
    }
    double needed = problem_.Survive ? hostsWithLoad : hostsWithLoad - parts;
    std::vector<int32_t> columns;
    for (size_t p = 0; p < problem_.Pairs.size(); ++p) {
        needed -= problem_.Pairs[p].KeptCapacity > 0.0 ? 1 : 0;
        columns.insert(columns.end(), typeColumn_[p].begin(), typeColumn_[p].end());
    }
    if (needed > 0.0 && !columns.empty())
        model_.addRow(columns, std::vector<double>(columns.size(), 1.0), needed, Infinity);
}

void DesignFormulation::addCutSets() {
    addChannelCount();
    const std::vector<int32_t>& hosts = problem_.Hosts;
    const size_t n = hosts.size();
    std::vector<bool> inSet(net::MaxHosts + 1, false);
    if (n <= AllSetsUpTo) {
        // Every set and its complement give one cut: the sets without the
        // last host.
        for (uint32_t mask = 1; mask < (1u << (n - 1)); ++mask) {
            for (size_t i = 0; i < n; ++i)
                inSet[hosts[i]] = i + 1 < n && (mask >> i & 1u) != 0;
            addCutSet(inSet);
        }
    } else {
        for (size_t i = 0; i < n; ++i) {
            inSet.assign(inSet.size(), false);
            inSet[hosts[i]] = true;
            addCutSet(inSet);
            if (LargestSmallSet < 2)
                continue;
            for (size_t j = i + 1; j < n; ++j) {
                inSet[hosts[j]] = true;
                addCutSet(inSet);
                inSet[hosts[j]] = false;
            }
        }
    }
    if (problem_.Survive) {
        for (const int32_t host : hosts)
            addHostSurvivalCuts(host);
    }
}

uint32_t DesignFormulation::maskOf(const std::vector<bool>& inSet) const {
    const std::vector<int32_t>& hosts = problem_.Hosts;
    const uint32_t all = (1u << (hosts.size() - 1)) - 1u;
    uint32_t mask = 0;
    for (size_t i = 0; i + 1 < hosts.size(); ++i)
        mask |= inSet[hosts[i]] ? 1u << i : 0u;
    return inSet[hosts.back()] ? mask ^ all : mask;
}

std::vector<bool> DesignFormulation::setOf(uint32_t mask) const {
    std::vector<bool> inSet(net::MaxHosts + 1, false);
    for (size_t i = 0; i + 1 < problem_.Hosts.size(); ++i)
        inSet[problem_.Hosts[i]] = (mask >> i & 1u) != 0;
    return inSet;
}

bool DesignFormulation::holdsEveryCutSet() const {
    return problem_.Hosts.size() <= AllSetsUpTo;
}

namespace {

// What joins two hosts, as the separation of cut-sets sums it over a cut.
struct Link {
    double Load = 0.0;  // both ways
    double Kept = 0.0;
    int32_t KeptChannels = 0;
    std::vector<double> Chosen;  // per proposed type, the solution's binary
};

// What a cut holds: the link figures summed over the pairs it separates.
struct CutTotals {
    double Crossing = 0.0;
    double Kept = 0.0;
    int32_t KeptChannels = 0;
    std::vector<double> Chosen;

    void change(const Link& link, double sign) {
        Crossing += sign * link.Load;
        Kept += sign * link.Kept;
        KeptChannels += static_cast<int32_t>(sign) * link.KeptChannels;
        for (size_t t = 0; t < Chosen.size(); ++t)
            Chosen[t] += sign * link.Chosen[t];
    }
};

// How far the cut's rows (as addCutSet makes them) are from holding, as a
// share of their right sides; at most 0 when they all hold.
double CutViolation(const CutTotals& cut, const std::vector<double>& capacities, double umax,
                    bool survive) {
    double worst = 0.0;
    const auto weigh = [&](const std::vector<double>& values, double lower) {
        double reached = 0.0;
        for (size_t t = 0; t < values.size(); ++t)
            reached += values[t] * cut.Chosen[t];
        worst = std::max(worst, (lower - reached) / lower);
    };
    const double needed = cut.Crossing / umax - cut.Kept;
    if (needed > 1e-9) {
        weigh(capacities, needed);
        for (const double unit : capacities) {
            const RoundedRow row = RoundCapacities(capacities, needed, unit);
            weigh(row.Values, row.Lower);
        }
    }
    if (survive) {
        const double count = CeilCount(cut.Crossing) + 1.0 - cut.KeptChannels;
        if (count > 0.0)
            weigh(std::vector<double>(capacities.size(), 1.0), count);
    }
    return worst;
}

// Violations smaller than this are the relaxation's tolerance, not a cut.
constexpr double LeastViolation = 1e-3;

}  // namespace

// Every set is visited in the order of a Gray code: each step moves one host
// across the cut, and the totals change by that host's links only.
int32_t DesignFormulation::addViolatedCutSets(const std::vector<double>& solution, size_t most) {
    const std::vector<int32_t>& hosts = problem_.Hosts;
    const size_t n = hosts.size();
    std::vector<double> capacities;
    for (const ProposedType& type : problem_.Types)
        capacities.push_back(type.Capacity / scale_);
    std::vector<std::vector<Link>> links(n, std::vector<Link>(n));
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            if (i == j)
                continue;
            const int32_t p = problem_.PairOf(hosts[i], hosts[j]);
            Link& link = links[i][j];
            link.Kept = problem_.Pairs[p].KeptCapacity / scale_;
            link.KeptChannels = link.Kept > 0.0 ? 1 : 0;
            link.Chosen.assign(capacities.size(), 0.0);
            for (size_t t = 0; t < typeColumn_[p].size(); ++t)
                link.Chosen[t] = solution[typeColumn_[p][t]];
        }
    }
    for (const DemandOf& demand : problem_.Demands) {
        const auto from = std::find(hosts.begin(), hosts.end(), demand.From) - hosts.begin();
        const auto to = std::find(hosts.begin(), hosts.end(), demand.To) - hosts.begin();
        links[from][to].Load += demand.Load / scale_;
        links[to][from].Load += demand.Load / scale_;
    }
    std::vector<std::pair<double, uint32_t>> violated;
    std::vector<bool> inside(n, false);
    CutTotals cut;
    cut.Chosen.assign(capacities.size(), 0.0);
    uint32_t mask = 0;
    for (uint32_t step = 1; step < (1u << (n - 1)); ++step) {
        const auto h = static_cast<size_t>(std::countr_zero(step));
        inside[h] = !inside[h];
        mask ^= 1u << h;
        for (size_t j = 0; j < n; ++j) {
            if (j != h)
                cut.change(links[h][j], inside[j] != inside[h] ? 1.0 : -1.0);
        }
        if (cut.Crossing <= 1e-9 || cutSets_.count(mask) != 0)
            continue;
        const double violation = CutViolation(cut, capacities, problem_.Umax, problem_.Survive);
        if (violation > LeastViolation)
            violated.emplace_back(violation, mask);
    }
    const size_t chosen = std::min(most, violated.size());
    std::partial_sort(violated.begin(), violated.begin() + static_cast<std::ptrdiff_t>(chosen),
                      violated.end(), std::greater<>());
    for (size_t k = 0; k < chosen; ++k)
        addCutSet(setOf(violated[k].second));
    return static_cast<int32_t>(chosen);
}

std::vector<double> DesignFormulation::pairCapacities(const std::vector<double>& solution) const {
    std::vector<double> capacities(problem_.Pairs.size(), 0.0);
    for (size_t p = 0; p < problem_.Pairs.size(); ++p) {
        for (size_t t = 0; t < typeColumn_[p].size(); ++t)
            capacities[p] += problem_.Types[t].Capacity * solution[typeColumn_[p][t]];
    }
    return capacities;
}

PairTypes DesignFormulation::decode(const std::vector<double>& solution) const {
    PairTypes types(problem_.Pairs.size(), 0);
    for (size_t p = 0; p < problem_.Pairs.size(); ++p) {
        types[p] = problem_.Pairs[p].KeptType;
        for (size_t t = 0; t < typeColumn_[p].size(); ++t) {
            if (solution[typeColumn_[p][t]] > 0.5)
                types[p] = problem_.Types[t].Number;
        }
    }
    return types;
}

std::vector<double> DesignFormulation::encode(const PairTypes& types) const {
    std::vector<double> values(model_.columnCount(), 0.0);
    for (size_t p = 0; p < problem_.Pairs.size(); ++p) {
        for (size_t t = 0; t < typeColumn_[p].size(); ++t) {
            if (types[p] == problem_.Types[t].Number)
                values[typeColumn_[p][t]] = 1.0;
        }
    }
    return values;
}

}  // namespace design
