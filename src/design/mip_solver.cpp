// COIN-OR CBC behind MipModel: a branch-and-cut with the solver's general
// cuts and heuristics, a known solution to start from, the time limit and a
// stop at the caller's request.
#include "mip_solver.h"

#include <CbcEventHandler.hpp>
#include <CbcHeuristic.hpp>
#include <CbcHeuristicDiveCoefficient.hpp>
#include <CbcHeuristicLocal.hpp>
#include <CbcHeuristicRINS.hpp>
#include <CbcModel.hpp>
// CbcCutGenerator.hpp needs CbcNode declared first.
#include <CbcCutGenerator.hpp>
#include <CbcNode.hpp>
#include <CglFlowCover.hpp>
#include <CglGomory.hpp>
#include <CglKnapsackCover.hpp>
#include <CglMixedIntegerRounding2.hpp>
#include <CglProbing.hpp>
#include <CglResidualCapacity.hpp>
#include <CglTwomir.hpp>
#include <ClpEventHandler.hpp>
#include <CoinPackedMatrix.hpp>
#include <CoinPackedVector.hpp>
#include <OsiClpSolverInterface.hpp>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

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
// The share of the time left that the solver's own limit keeps in hand.
constexpr double MarginShare = 0.03;
constexpr double MarginSeconds = 0.2;
// Each pass of cuts at the root re-solves the program: fewer on large
// programs.
constexpr int RootCutPasses = 10;
constexpr int LargeRootCutPasses = 4;
constexpr int32_t LargeColumns = 4000;

double ToSolver(double value) {
    return std::isinf(value) ? (value > 0 ? COIN_DBL_MAX : -COIN_DBL_MAX) : value;
}

// What the search shares with the copies of its event handlers: the solver
// works on copies of the model and of its linear program and clones the
// handlers into each.
class SearchWatch {
public:
    SearchWatch(const MipSettings& settings, std::chrono::steady_clock::time_point started)
        : settings_(settings),
          lastReport_(started),
          deadline_(started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                  std::chrono::duration<double>(settings.Seconds))) {}

    // What the branch-and-cut knows at one of its own events; only then is
    // its bound that of an intact tree.
    void noteSearch(const CbcModel& cbc, CbcEventHandler::CbcEvent event) {
        // Heuristics search smaller programs of their own, with some columns
        // fixed: their bounds say nothing about the whole.
        if (stopped() || &cbc != search_)
            return;
        best_ = cbc.getSolutionCount() > 0 ? cbc.getObjValue() : Infinity;
        bound_ = std::max(bound_, cbc.getBestPossibleObjValue());
        // While the root's cuts are made, the program with its cuts is a
        // relaxation of the whole, and the solver's own bound lags behind it.
        // At its other events the program may hold a branch's bounds (strong
        // branching tries them before the first node is counted), whose
        // objective bounds that branch only.
        const OsiSolverInterface* lp = cbc.solver();
        if (event == CbcEventHandler::generatedCuts && cbc.getNodeCount() == 0 && lp &&
            lp->isProvenOptimal())
            bound_ = std::max(bound_, lp->getObjValue());
    }

    // Whether the search must stop: out of time or asked to. Tells the
    // caller how far it is now and then.
    bool mustStop() {
        if (stopped())
            return true;
        const auto now = std::chrono::steady_clock::now();
        if (now > deadline_) {
            deadlinePassed_ = true;
            return true;
        }
        if (!settings_.Progress || now - lastReport_ < ReportEvery)
            return false;
        lastReport_ = now;
        stopRequested_ = !settings_.Progress(MipRunProgress{best_, bound_});
        return stopRequested_;
    }

    void watchSearch(const CbcModel& cbc) { search_ = &cbc; }
    bool stopped() const { return stopRequested_ || deadlinePassed_; }
    bool stopRequested() const { return stopRequested_; }
    // The best bound seen while the search was intact: once a linear program
    // is cut short the solver may take its node for infeasible.
    double validBound() const { return bound_; }

private:
    static constexpr std::chrono::milliseconds ReportEvery{100};

    const MipSettings& settings_;
    std::chrono::steady_clock::time_point lastReport_;
    std::chrono::steady_clock::time_point deadline_;
    const CbcModel* search_ = nullptr;
    double best_ = Infinity;
    double bound_ = -Infinity;
    bool stopRequested_ = false;
    bool deadlinePassed_ = false;
};

// Between the steps of the branch-and-cut.
class SearchEvents : public CbcEventHandler {
public:
    explicit SearchEvents(SearchWatch& watch) : watch_(watch) {}
    CbcEventHandler* clone() const override { return new SearchEvents(*this); }

    CbcAction event(CbcEvent whichEvent) override {
        if (model_ && whichEvent != endSearch)
            watch_.noteSearch(*model_, whichEvent);
        return watch_.mustStop() ? stop : noAction;
    }

private:
    SearchWatch& watch_;
};

// After each iteration of every simplex the solver runs: the first solve and
// the passes of cuts at the root take long on large programs and give the
// branch-and-cut no chance to look at the clock.
class SimplexEvents : public ClpEventHandler {
public:
    explicit SimplexEvents(SearchWatch& watch) : watch_(watch) {}
    ClpEventHandler* clone() const override { return new SimplexEvents(*this); }

    int event(Event whichEvent) override {
        constexpr int carryOn = -1;
        constexpr int stopSolve = 0;
        if (whichEvent != endOfIteration)
            return carryOn;

        return watch_.mustStop() ? stopSolve : carryOn;
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

// The solver's general cuts at the root only: in the tree each pass
// re-solves the node's program, which on 8 hosts took about a second a node
// and left the bound where the root put it (gap 14.3 % in 10 s, 3.7 % with
// cuts at the root only).
void AddCuts(CbcModel& cbc) {
    constexpr int AtRootOnly = -99;
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
    for (int i = 0; i < cbc.numberCutGenerators(); ++i)
        cbc.cutGenerator(i)->setHowOften(AtRootOnly);
}

// No feasibility pump: the search starts from a design that carries the
// load, and on these programs the pump took a third of the root's time (3.5
// of 12 s on 18 hosts) without finding a cheaper one.
void AddHeuristics(CbcModel& cbc) {
    CbcRounding rounding(cbc);
    CbcHeuristicDiveCoefficient dive(cbc);
    cbc.addHeuristic(&rounding);
    cbc.addHeuristic(&dive);
}

}  // namespace

MipOutcome SolveMip(const MipModel& model, const MipSettings& settings) {
    const auto started = std::chrono::steady_clock::now();
    SearchWatch watch(settings, started);
    const SimplexEvents simplexEvents(watch);
    OsiClpSolverInterface solver;
    LoadModel(model, solver);
    solver.getModelPtr()->passInEventHandler(&simplexEvents);
    const std::vector<double> start = CompleteStart(model, solver, settings.Start);
    if (watch.stopped()) {
        MipOutcome outcome;
        outcome.Status = MipStatus::Stopped;
        outcome.Stopped = watch.stopRequested();
        return outcome;
    }

    CbcModel cbc(solver);
    cbc.setLogLevel(0);
    cbc.messageHandler()->setLogLevel(0);
    cbc.setNumberThreads(0);
    cbc.setUseElapsedTime(true);
    const double spent =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    // The solver's own limit ends its search in good order, with its bound;
    // the handlers stop it at the time limit when a step runs over.
    const double left = std::max(0.01, settings.Seconds - spent);
    cbc.setMaximumSeconds(std::max(0.01, left * (1.0 - MarginShare) - MarginSeconds));
    const int passes = model.columnCount() > LargeColumns ? LargeRootCutPasses : RootCutPasses;
    cbc.setMaximumCutPassesAtRoot(passes);
    if (model.columnCount() > LargeColumns)
        cbc.setNumberStrong(2);
    // Plain strong branching on a few candidates per node: the solver's
    // default tries each binary several times before it trusts its pseudo
    // costs, which on 8 hosts took 160 000 simplex iterations at the root
    // and left 4 nodes explored in 10 s (over 200 without it).
    cbc.setNumberBeforeTrust(0);
    cbc.setAllowableGap(1e-6);
    cbc.setAllowableFractionGap(1e-9);
    AddCuts(cbc);
    AddHeuristics(cbc);
    if (!start.empty())
        cbc.setBestSolution(start.data(), model.columnCount(), COIN_DBL_MAX, true);

    const SearchEvents searchEvents(watch);
    cbc.passInEventHandler(&searchEvents);
    watch.watchSearch(cbc);

    if (!watch.stopped())
        cbc.initialSolve();
    if (!watch.stopped())
        cbc.branchAndBound();

    MipOutcome outcome;
    outcome.Stopped = watch.stopRequested();
    if (cbc.bestSolution()) {
        outcome.Solution.assign(cbc.bestSolution(), cbc.bestSolution() + model.columnCount());
        outcome.Objective = cbc.getObjValue();
    }
    // A solve cut short may have been taken for an infeasible node: the
    // solver's verdict and bound then no longer hold.
    const bool intact = !watch.stopped();
    outcome.Bound = intact ? cbc.getBestPossibleObjValue() : std::max(0.0, watch.validBound());
    if (intact && cbc.isProvenOptimal() && !outcome.Solution.empty()) {
        outcome.Status = MipStatus::Optimal;
        outcome.Bound = outcome.Objective;
    } else if (intact && cbc.isProvenInfeasible() && outcome.Solution.empty()) {
        outcome.Status = MipStatus::Infeasible;
    } else {
        outcome.Status = MipStatus::Stopped;
    }
    if (!outcome.Solution.empty())
        outcome.Bound = std::min(outcome.Bound, outcome.Objective);
    return outcome;
}

}  // namespace design

namespace design {
namespace {

// Asks the caller after each simplex iteration whether to go on.
class RelaxationEvents : public ClpEventHandler {
public:
    explicit RelaxationEvents(std::function<bool()> keepGoing) : keepGoing_(std::move(keepGoing)) {}
    ClpEventHandler* clone() const override { return new RelaxationEvents(*this); }

    int event(Event whichEvent) override {
        constexpr int carryOn = -1;
        constexpr int stopSolve = 0;
        if (whichEvent != endOfIteration || keepGoing_())
            return carryOn;
        return stopSolve;
    }

private:
    std::function<bool()> keepGoing_;
};

}  // namespace

struct LinearRelaxation::Program {
    OsiClpSolverInterface Solver;
    bool Solved = false;
    bool Changed = false;  // costs or row bounds, since the last solve
};

LinearRelaxation::LinearRelaxation(const MipModel& model)
    : model_(model), rowsJoined_(model.rowCount()), program_(std::make_unique<Program>()) {
    LoadModel(model, program_->Solver);
}

LinearRelaxation::~LinearRelaxation() = default;

bool LinearRelaxation::solve(const std::function<bool()>& keepGoing) {
    OsiClpSolverInterface& solver = program_->Solver;
    for (int32_t r = rowsJoined_; r < model_.rowCount(); ++r) {
        const auto start = static_cast<size_t>(model_.rowStart()[r]);
        const auto end = static_cast<size_t>(model_.rowStart()[r + 1]);
        const std::vector<int> columns(model_.entryColumn().begin() + start,
                                       model_.entryColumn().begin() + end);
        const CoinPackedVector row(static_cast<int>(columns.size()), columns.data(),
                                   model_.entryValue().data() + start);
        solver.addRow(row, ToSolver(model_.rowLower()[r]), ToSolver(model_.rowUpper()[r]));
    }
    const bool rowsAdded = rowsJoined_ < model_.rowCount();
    rowsJoined_ = model_.rowCount();
    const RelaxationEvents events(keepGoing);
    solver.getModelPtr()->passInEventHandler(&events);
    // The first solve from nothing; later ones from the last basis, which
    // new rows leave dual feasible. After changed costs or row bounds alone
    // the primal simplex from the last values is several times faster than
    // the dual (row bounds on 18 hosts: about 5 ms against 18 ms a solve).
    if (!program_->Solved)
        solver.initialSolve();
    else if (rowsAdded || !program_->Changed)
        solver.resolve();
    else
        solver.getModelPtr()->primal(1);
    program_->Changed = false;
    program_->Solved = solver.isProvenOptimal() && keepGoing();
    return program_->Solved;
}

void LinearRelaxation::setCosts(const std::vector<double>& costs) {
    program_->Solver.setObjective(costs.data());
    program_->Changed = true;
}

void LinearRelaxation::setRowBounds(int32_t row, double lower, double upper) {
    program_->Solver.setRowBounds(row, ToSolver(lower), ToSolver(upper));
    program_->Changed = true;
}

double LinearRelaxation::objective() const {
    return program_->Solver.getObjValue();
}

std::vector<double> LinearRelaxation::solution() const {
    const double* values = program_->Solver.getColSolution();
    return {values, values + model_.columnCount()};
}

}  // namespace design
