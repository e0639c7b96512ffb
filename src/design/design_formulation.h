// The design problem as a mixed-integer program. One binary per candidate
// pair and type (at most one type per pair); per state of the network (no
// failure at UMAX, or one pair failed at full capacity) the flows of each
// source to all its destinations, tied to the binaries by the capacity of
// the pair and, per source, by the least of its total load and the type's
// capacity; cut-set inequalities over small sets of hosts on the binaries.
// Loads and capacities are divided by the largest capacity.
#pragma once

#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "design_problem.h"
#include "mip_solver.h"

namespace design {

// What one set of flow columns carries: from its source to each host.
struct Commodity {
    int32_t Source = 0;
    int32_t Target = 0;  // its only destination, 0 when it has several
    std::array<double, net::MaxHosts + 1> Load{};
    double Total = 0.0;
};

class DesignFormulation {
public:
    explicit DesignFormulation(const DesignProblem& problem);

    // The flows of the network without `pair`, at full capacity. Each
    // failure state is added once; the program only grows.
    void addFailureState(int32_t pair);
    bool hasFailureState(int32_t pair) const;
    int32_t failureStateCount() const { return static_cast<int32_t>(failed_.size()); }

    // Whether the program holds the cut-set inequality of every set of
    // hosts (small networks), so that none can be violated.
    bool holdsEveryCutSet() const;
    // The cut-set inequalities of the sets of hosts that a solution of the
    // program's linear relaxation violates most, at most `most` sets, join
    // the program; sets it holds already are skipped. Returns how many sets
    // were added.
    int32_t addViolatedCutSets(const std::vector<double>& solution, size_t most);

    const MipModel& model() const { return model_; }
    // Per pair, the capacity a solution of the program buys there (its
    // binaries may be fractional); 0 for kept pairs.
    std::vector<double> pairCapacities(const std::vector<double>& solution) const;
    PairTypes decode(const std::vector<double>& solution) const;
    // Column values with the design's binaries set and the flows left 0.
    std::vector<double> encode(const PairTypes& types) const;

private:
    void addTypeColumns();
    void addFlows(int32_t failedPair, double utilisation);
    std::vector<Commodity> commodities(bool perDemand) const;
    void addCutSets();
    void addChannelCount();
    void addRoundedRow(const std::vector<int32_t>& columns, const std::vector<double>& capacities,
                       double needed, double unit);
    void addCutSet(const std::vector<bool>& inSet);
    // A set of hosts as a mask over the positions in DesignProblem::Hosts
    // but the last: a set and its complement give the same cut.
    uint32_t maskOf(const std::vector<bool>& inSet) const;
    std::vector<bool> setOf(uint32_t mask) const;
    void addHostSurvivalCuts(int32_t host);

    const DesignProblem& problem_;
    double scale_ = 1.0;
    MipModel model_;
    // Per pair, per proposed type: the binary's column; empty for kept pairs.
    std::vector<std::vector<int32_t>> typeColumn_;
    std::vector<int32_t> failed_;
    std::unordered_set<uint32_t> cutSets_;  // masks of the sets whose rows are in
};

}  // namespace design
