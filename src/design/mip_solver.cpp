// COIN-OR CBC behind MipModel: a branch-and-cut with the solver's general
// cuts and heuristics, a known solution to start from, the time limit and a
// stop at the caller's request.
#include "mip_solver.h"

#include <CbcEventHandler.hpp>
#include <CbcHeuristic.hpp>
#include <CbcHeuristicDiveCoefficient.hpp>
#include <CbcHeuristicFPump.hpp>
#include <CbcHeuristicLocal.hpp>
#include <CbcHeuristicRINS.hpp>
#include <CbcModel.hpp>
#include <CglFlowCover.hpp>
#include <CglGomory.hpp>
#include <CglKnapsackCover.hpp>
#include <CglMixedIntegerRounding2.hpp>
#include <CglProbing.hpp>
#include <CglResidualCapacity.hpp>
#include <CglTwomir.hpp>
#include <CoinPackedMatrix.hpp>
#include <OsiClpSolverInterface.hpp>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>

#include "errors.h"

namespace design {

int32_t MipModel::addColumn(double lower, double upper, double cost, bool integer) {
    columnLower_.push_back(lower);
    columnUpper_.push_back(upper);
    cost_.push_back(cost);
    integer_.push_back(integer);
    return static_cast<int32_t>(cost_.size()) - 1;
}

void MipModel::addRow(const std::vector<int32_t>& columns, const std::vector<double>& values,
                      double lower, double upper) {
    entryColumn_.insert(entryColumn_.end(), columns.begin(), columns.end());
    entryValue_.insert(entryValue_.end(), values.begin(), values.end());
    rowStart_.push_back(static_cast<int64_t>(entryColumn_.size()));
    rowLower_.push_back(lower);
    rowUpper_.push_back(upper);
}

namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double MaxMarginShare = 0.5;
constexpr double MinMarginShare = 0.15;
// Each pass of cuts at the root re-solves the program, and the solver does
// not look at the clock in between: fewer on large programs.
constexpr int RootCutPasses = 10;
constexpr int LargeRootCutPasses = 4;
constexpr int32_t LargeColumns = 4000;

double ToSolver(double value) {
    return std::isinf(value) ? (value > 0 ? COIN_DBL_MAX : -COIN_DBL_MAX) : value;
}

// What the search shares with the copies of its event handler: the solver
// works on copies of the model and clones the handler into each.
struct SearchWatch {
    const MipSettings* Settings = nullptr;
    std::chrono::steady_clock::time_point LastReport;
    std::chrono::steady_clock::time_point Deadline;
    bool StopRequested = false;
    bool DeadlinePassed = false;
};

class WatchingHandler : public CbcEventHandler {
public:
    explicit WatchingHandler(SearchWatch& watch) : watch_(watch) {}
    CbcEventHandler* clone() const override { return new WatchingHandler(*this); }

    CbcAction event(CbcEvent whichEvent) override {
        if (watch_.StopRequested || watch_.DeadlinePassed)
            return stop;
        const auto now = std::chrono::steady_clock::now();
        // The solver's own limit is checked between larger steps.
        if (now > watch_.Deadline) {
            watch_.DeadlinePassed = true;
            return stop;
        }
        if (!watch_.Settings->Progress || !model_ || whichEvent == endSearch)
            return noAction;
        if (now - watch_.LastReport < std::chrono::milliseconds(100))
            return noAction;
        watch_.LastReport = now;
        MipRunProgress progress;
        progress.Best = model_->getSolutionCount() > 0 ? model_->getObjValue() : Infinity;
        progress.Bound = model_->getBestPossibleObjValue();
        if (!watch_.Settings->Progress(progress))
            watch_.StopRequested = true;
        return watch_.StopRequested ? stop : noAction;
    }

private:
    SearchWatch& watch_;
};

void LoadModel(const MipModel& model, OsiClpSolverInterface& solver) {
    std::vector<CoinBigIndex> starts(model.rowStart().begin(), model.rowStart().end());
    std::vector<int> lengths;
    for (int32_t r = 0; r < model.rowCount(); ++r)
        lengths.push_back(static_cast<int>(starts[r + 1] - starts[r]));
    std::vector<int> indices(model.entryColumn().begin(), model.entryColumn().end());
    const CoinPackedMatrix matrix(
        false, model.columnCount(), model.rowCount(), static_cast<CoinBigIndex>(indices.size()),
        model.entryValue().data(), indices.data(), starts.data(), lengths.data());
    std::vector<double> rowLower, rowUpper, columnLower, columnUpper;
    for (int32_t r = 0; r < model.rowCount(); ++r) {
        rowLower.push_back(ToSolver(model.rowLower()[r]));
        rowUpper.push_back(ToSolver(model.rowUpper()[r]));
    }
    for (int32_t c = 0; c < model.columnCount(); ++c) {
        columnLower.push_back(ToSolver(model.columnLower()[c]));
        columnUpper.push_back(ToSolver(model.columnUpper()[c]));
    }
    solver.loadProblem(matrix, columnLower.data(), columnUpper.data(), model.cost().data(),
                       rowLower.data(), rowUpper.data());
    for (int32_t c = 0; c < model.columnCount(); ++c) {
        if (model.integer()[c])
            solver.setInteger(c);
    }
    solver.messageHandler()->setLogLevel(0);
    solver.getModelPtr()->setLogLevel(0);
    // The primal simplex: the flow programs are highly degenerate, and the
    // dual one takes several times longer on their first solve.
    solver.setHintParam(OsiDoDualInInitial, false, OsiHintDo);
}

// The start's integer values fixed and the continuous ones solved for; empty
// when the start does not fit the program.
std::vector<double> CompleteStart(const MipModel& model, OsiClpSolverInterface& solver,
                                  const std::vector<double>& start) {
    if (static_cast<int32_t>(start.size()) != model.columnCount())
        return {};
    for (int32_t c = 0; c < model.columnCount(); ++c) {
        if (model.integer()[c])
            solver.setColBounds(c, start[c], start[c]);
    }
    solver.initialSolve();
    std::vector<double> full;
    if (solver.isProvenOptimal())
        full.assign(solver.getColSolution(), solver.getColSolution() + model.columnCount());
    for (int32_t c = 0; c < model.columnCount(); ++c) {
        if (model.integer()[c])
            solver.setColBounds(c, ToSolver(model.columnLower()[c]),
                                ToSolver(model.columnUpper()[c]));
    }
    return full;
}

void AddCuts(CbcModel& cbc) {
    CglProbing probing;
    probing.setUsingObjective(1);
    probing.setMaxPass(3);
    probing.setMaxProbe(100);
    probing.setMaxLook(50);
    probing.setRowCuts(3);
    CglGomory gomory;
    gomory.setLimit(100);
    gomory.setLimitAtRoot(100);
    CglKnapsackCover knapsack;
    CglMixedIntegerRounding2 rounding;
    CglFlowCover flowCover;
    CglResidualCapacity residual;
    CglTwomir twomir;
    cbc.addCutGenerator(&probing, -1, "Probing");
    cbc.addCutGenerator(&gomory, -1, "Gomory");
    cbc.addCutGenerator(&knapsack, -1, "Knapsack");
    cbc.addCutGenerator(&rounding, -1, "MixedIntegerRounding2");
    cbc.addCutGenerator(&flowCover, -1, "FlowCover");
    cbc.addCutGenerator(&residual, -1, "ResidualCapacity");
    cbc.addCutGenerator(&twomir, -1, "Twomir");
}

void AddHeuristics(CbcModel& cbc) {
    CbcRounding rounding(cbc);
    CbcHeuristicFPump pump(cbc);
    pump.setMaximumPasses(20);
    CbcHeuristicDiveCoefficient dive(cbc);
    cbc.addHeuristic(&rounding);
    cbc.addHeuristic(&pump);
    cbc.addHeuristic(&dive);
}

}  // namespace

MipOutcome SolveMip(const MipModel& model, const MipSettings& settings) {
    const auto started = std::chrono::steady_clock::now();
    OsiClpSolverInterface solver;
    LoadModel(model, solver);
    const std::vector<double> start = CompleteStart(model, solver, settings.Start);

    CbcModel cbc(solver);
    cbc.setLogLevel(0);
    cbc.messageHandler()->setLogLevel(0);
    cbc.setNumberThreads(0);
    cbc.setUseElapsedTime(true);
    const double spent =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // The solver looks at the clock only between its larger steps, and a
    // step at the root re-solves the program several times: leave it the
    // time of as many solves as the start took (about one each).
    const double left = std::max(0.01, settings.Seconds - spent);
    const int passes = model.columnCount() > LargeColumns ? LargeRootCutPasses : RootCutPasses;
    const double margin = model.columnCount() > LargeColumns
                              ? left * MaxMarginShare
                              : std::min(left * MaxMarginShare,
                                         std::max(left * MinMarginShare, (passes + 2) * spent));
    cbc.setMaximumSeconds(std::max(0.01, left - margin));
    cbc.setMaximumCutPassesAtRoot(passes);
    if (model.columnCount() > LargeColumns)
        cbc.setNumberStrong(2);
    cbc.setAllowableGap(1e-6);
    cbc.setAllowableFractionGap(1e-9);
    AddCuts(cbc);
    AddHeuristics(cbc);
    if (!start.empty())
        cbc.setBestSolution(start.data(), model.columnCount(), COIN_DBL_MAX, true);
    SearchWatch watch;
    watch.Settings = &settings;
    watch.LastReport = started;
    watch.Deadline = started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                   std::chrono::duration<double>(settings.Seconds));
    const WatchingHandler handler(watch);
    cbc.passInEventHandler(&handler);

    cbc.initialSolve();
    cbc.branchAndBound();

    MipOutcome outcome;
    outcome.Stopped = watch.StopRequested;
    if (cbc.bestSolution()) {
        outcome.Solution.assign(cbc.bestSolution(), cbc.bestSolution() + model.columnCount());
        outcome.Objective = cbc.getObjValue();
    }
    outcome.Bound = cbc.getBestPossibleObjValue();
    if (cbc.isProvenOptimal() && !outcome.Solution.empty()) {
        outcome.Status = MipStatus::Optimal;
        outcome.Bound = outcome.Objective;
    } else if (cbc.isProvenInfeasible() && outcome.Solution.empty()) {
        outcome.Status = MipStatus::Infeasible;
    } else {
        outcome.Status = MipStatus::Stopped;
    }
    if (!outcome.Solution.empty())
        outcome.Bound = std::min(outcome.Bound, outcome.Objective);
    return outcome;
}

}  // namespace design
