#include "design_search.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "design_check.h"
#include "design_formulation.h"
#include "mip_solver.h"
#include "slope_scaling.h"
#include "start_design.h"

namespace design {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
// The share of the time the start design may take.
constexpr double StartShare = 0.15;
// The share of the rest that making the best start cheaper may take.
constexpr double DropShare = 0.15;
// Failure states added after one round, the worst first.
constexpr size_t StatesPerRound = 8;
// With survive: the share of the remaining time one round of the program
// takes, and the share a repair of its design may take.
constexpr double SurviveRoundShare = 0.4;
constexpr double RepairShare = 0.2;
// Rounds of cut-sets separated from the linear relaxation before the
// branch-and-cut, the share of the time they may take, and the sets each
// round adds at most.
constexpr int32_t SeparationRounds = 8;
constexpr double SeparationShare = 0.25;
// The first solve of the relaxation may take longer: cut short it yields
// nothing, and on a loaded machine it took over a quarter of the time on 12
// hosts with per-demand flows.
constexpr double FirstSolveShare = 0.5;
constexpr size_t SetsPerRound = 40;
// The relaxation's capacities rounded to designs, pairs buying at least
// these shares of the smallest capacity kept, each design repaired and made
// cheaper within its share of the time.
constexpr double RoundingLeast[] = {0.5, 0.2, 0.05};
constexpr double RoundingShare = 0.06;
// Slope scaling takes well under a second on 18 hosts; its cheapest designs
// are made cheaper by dropping channels. On 18 hosts its best (7068) beat
// what the search knew before (7424).
constexpr double SlopeScalingShare = 0.1;
constexpr size_t SlopeScalingImproved = 3;
// The shares of the time left that exchanges of channels may take on the
// best design before the program is solved and after it. On 12 hosts with
// 66 demands the first found 6833 from 7206 in under 4 s; the program's
// search had found no better design than the one it started from.
constexpr double SwapShare = 0.2;
constexpr double FinalSwapShare = 0.3;
// The share of the time the program's search takes (without survive), on
// programs of at most this many columns and on larger ones; restarts of
// slope scaling take the rest. On 8 hosts (five seeded cases, 10 s) the
// mean gap went from 14.1 % to about 12 %; on 18 hosts the first node needs
// most of the time.
constexpr int32_t SmallProgramColumns = 4000;
constexpr double SmallProgramShare = 0.5;
constexpr double LargeProgramShare = 0.9;
// The share of the time left that exchanges may take after each restart.
constexpr double RestartSwapShare = 0.5;

// Whether a design carries the load and, with survive, every single failure.
bool Feasible(const DesignProblem& problem, const PairTypes& types, SearchClock& clock,
              std::vector<int32_t>* failing = nullptr) {
    if (!CheckLoad(problem, types, problem.Umax).Carried)
        return false;
    if (!problem.Survive)
        return true;
    const std::vector<int32_t> failed =
        FailuresNotSurvived(problem, types, [&] { return clock.keepGoing(); });
    if (failing)
        *failing = failed;
    return failed.empty() && clock.keepGoing();
}

class Search {
public:
    Search(const DesignProblem& problem, SearchClock& clock) : problem_(problem), clock_(clock) {}

    SearchOutcome run() {
        const PairTypes largest = LargestDesign(problem_);
        if (!Feasible(problem_, largest, clock_)) {
            if (clock_.keepGoing())
                return outcome_;  // infeasible
            outcome_.Status = DesignStatus::Stopped;
            return outcome_;
        }
        offer(largest);
        if (const auto start =
                GrowStartDesign(problem_, clock_, std::max(0.0, clock_.remaining() * StartShare)))
            offer(*start);
        offer(ImproveByDropping(problem_, *outcome_.Best, clock_,
                                std::max(0.0, clock_.remaining() * DropShare)));
        solveRounds();
        if (clock_.keepGoing() && !proven())
            offer(ImproveBySwapping(problem_, *outcome_.Best, clock_,
                                    clock_.remaining() * FinalSwapShare));
        restartFromScatteredPrices();
        finish();
        return outcome_;
    }

private:
    void offer(const PairTypes& types) {
        const double cost = DesignCost(problem_, types);
        outcome_.Found.push_back(types);
        if (!outcome_.Best || cost < outcome_.BestCost) {
            outcome_.Best = types;
            outcome_.BestCost = cost;
        }
        clock_.report(outcome_.BestCost, std::min(bound_, outcome_.BestCost));
    }

    bool proven() const {
        return outcome_.Best &&
               outcome_.BestCost <= bound_ + 1e-7 * std::max(1.0, std::fabs(outcome_.BestCost));
    }

    // The cut-sets of larger networks that the linear relaxation violates
    // join the program before it is solved: only small sets are in from the
    // start.
    // Returns the last solution of the relaxation, empty when none.
    std::vector<double> separateCutSets(DesignFormulation& formulation) {
        double until = clock_.elapsed() + clock_.remaining() * FirstSolveShare;
        const std::function<bool()> inTime = [&] {
            return clock_.keepGoing() && clock_.elapsed() < until;
        };
        LinearRelaxation relaxation(formulation.model());
        std::vector<double> solution;
        for (int32_t round = 0; round < SeparationRounds && inTime(); ++round) {
            if (!relaxation.solve(inTime))
                return solution;
            solution = relaxation.solution();
            if (round == 0)
                until = clock_.elapsed() + clock_.remaining() * SeparationShare;
            // Without failure states and integrality the program relaxes
            // the problem: its optimum bounds every design's cost.
            bound_ = std::max(bound_, relaxation.objective());
            clock_.report(outcome_.BestCost, std::min(bound_, outcome_.BestCost));
            if (formulation.holdsEveryCutSet() ||
                formulation.addViolatedCutSets(solution, SetsPerRound) == 0)
                break;
        }
        return solution;
    }

    // Without survive, the share of the time left that the program's search
    // takes: after its first node it finds few designs and its bound hardly
    // moves, so on small programs half the time goes to restarts instead.
    // Large programs need most of it to finish their first node, whose cuts
    // raise the bound.
    double programShare(const DesignFormulation& formulation) const {
        return formulation.model().columnCount() <= SmallProgramColumns ? SmallProgramShare
                                                                        : LargeProgramShare;
    }

    // Slope scaling again and again from scattered prices, each time its
    // cheapest design made to survive where asked, cheaper by dropping
    // channels and by exchanges, until the time is spent.
    void restartFromScatteredPrices() {
        for (uint32_t seed = 1; clock_.keepGoing() && !proven(); ++seed) {
            const std::vector<PairTypes> designs =
                SlopeScalingDesigns(problem_, clock_, clock_.remaining(), seed);
            if (designs.empty())
                return;
            const auto design = carriedAndDropped(designs.front(), clock_.remaining());
            if (design)
                offer(ImproveBySwapping(problem_, *design, clock_,
                                        clock_.remaining() * RestartSwapShare));
        }
    }

    // The cheapest designs of slope scaling, made to survive where asked
    // and cheaper by dropping channels.
    void offerSlopeScaling() {
        const std::vector<PairTypes> designs = SlopeScalingDesigns(
            problem_, clock_, std::max(0.0, clock_.remaining() * SlopeScalingShare));
        for (size_t i = 0; i < designs.size() && i < SlopeScalingImproved; ++i) {
            if (const auto design =
                    carriedAndDropped(designs[i], clock_.remaining() * RoundingShare))
                offer(*design);
        }
    }

    // A design of slope scaling (which carries the load by construction)
    // repaired to survive where asked, then, once the check agrees that it
    // carries, made cheaper by dropping channels; nothing when it does not
    // carry. Repair and dropping may each take `seconds`.
    std::optional<PairTypes> carriedAndDropped(PairTypes design, double seconds) {
        if (problem_.Survive) {
            const auto repaired = RepairDesign(problem_, design, clock_, seconds);
            if (!repaired)
                return std::nullopt;
            design = *repaired;
        }
        if (!Feasible(problem_, design, clock_))
            return std::nullopt;
        return ImproveByDropping(problem_, design, clock_, seconds);
    }

    void offerRoundings(const DesignFormulation& formulation, const std::vector<double>& solution) {
        if (solution.empty())
            return;
        const std::vector<double> capacities = formulation.pairCapacities(solution);
        for (const double least : RoundingLeast) {
            if (!clock_.keepGoing())
                return;
            const double seconds = clock_.remaining() * RoundingShare;
            const auto repaired = RepairDesign(
                problem_, RoundRelaxation(problem_, capacities, least), clock_, seconds);
            if (repaired)
                offer(ImproveByDropping(problem_, *repaired, clock_, seconds));
        }
    }

    void solveRounds() {
        DesignFormulation formulation(problem_);
        offerRoundings(formulation, separateCutSets(formulation));
        offerSlopeScaling();
        offer(ImproveBySwapping(problem_, *outcome_.Best, clock_,
                                std::max(0.0, clock_.remaining() * SwapShare)));
        while (clock_.keepGoing() && !proven()) {
            MipSettings settings;
            // With survive, rounds share the time: each adds failure states.
            // Without survive the program's last design is worth exchanges
            // of channels: its search seldom finds them.
            settings.Seconds = problem_.Survive ? clock_.remaining() * SurviveRoundShare
                                                : clock_.remaining() * programShare(formulation);
            settings.Start = formulation.encode(*outcome_.Best);
            settings.Progress = [&](const MipRunProgress& progress) {
                double best = outcome_.BestCost;
                if (!problem_.Survive)
                    best = std::min(best, progress.Best);
                const double bound = std::max(bound_, progress.Bound);
                return clock_.report(best, std::min(bound, best));
            };
            const MipOutcome mip = SolveMip(formulation.model(), settings);
            if (mip.Status != MipStatus::Infeasible)
                bound_ = std::max(bound_, mip.Bound);
            if (mip.Solution.empty() || (mip.Stopped && problem_.Survive))
                return;
            const PairTypes types = formulation.decode(mip.Solution);
            std::vector<int32_t> failing;
            if (Feasible(problem_, types, clock_, &failing)) {
                offer(types);
                if (mip.Status == MipStatus::Optimal)
                    bound_ = std::max(bound_, DesignCost(problem_, types));
                // Optimal, out of time or stopped; with survive, a round out
                // of its share of the time added no failure state, and the
                // same program again would end the same way: the time left
                // goes to exchanges and restarts.
                return;
            }
            if (!problem_.Survive || failing.empty())
                return;  // out of time, or a rounding the check does not accept
            // The program's design grown until it survives: often cheaper
            // than what the search knew.
            if (const auto repaired =
                    RepairDesign(problem_, types, clock_, clock_.remaining() * RepairShare))
                offer(ImproveByDropping(problem_, *repaired, clock_,
                                        clock_.remaining() * RepairShare));
            // States the program holds already fail only by the check's
            // tolerance: solving again would give the same design.
            if (addStates(formulation, failing) == 0)
                return;
        }
    }

    size_t addStates(DesignFormulation& formulation, const std::vector<int32_t>& failing) {
        size_t added = 0;
        for (const int32_t pair : failing) {
            if (added == StatesPerRound)
                break;
            if (!formulation.hasFailureState(pair)) {
                formulation.addFailureState(pair);
                ++added;
            }
        }
        return added;
    }

    void finish() {
        outcome_.Bound = std::min(bound_, outcome_.BestCost);
        outcome_.Status = proven() ? DesignStatus::Optimal : DesignStatus::Stopped;
        std::stable_sort(outcome_.Found.begin(), outcome_.Found.end(),
                         [&](const PairTypes& a, const PairTypes& b) {
                             return DesignCost(problem_, a) < DesignCost(problem_, b);
                         });
        outcome_.Found.erase(std::unique(outcome_.Found.begin(), outcome_.Found.end()),
                             outcome_.Found.end());
    }

    const DesignProblem& problem_;
    SearchClock& clock_;
    SearchOutcome outcome_;
    double bound_ = 0.0;
};

}  // namespace

SearchOutcome SearchDesign(const DesignProblem& problem, SearchClock& clock) {
    return Search(problem, clock).run();
}

}  // namespace design
