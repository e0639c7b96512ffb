// The solver hears the caller and the clock at every stage, its first solve
// of a large program included, and a search cut short keeps a valid bound
// and never claims a proof.
#include <gtest/gtest.h>

#include <memory>

#include "design_cases.h"
#include "design_formulation.h"
#include "design_problem.h"
#include "mip_solver.h"
#include "network_design.h"
#include "start_design.h"

namespace {

using namespace design;

// 18 hosts with every demand, survive, with the failure states of the first
// channels of the largest design: the program whose first solve is the
// longest the windows run.
// The formulation keeps a reference to the problem: both stay where they
// were made.
struct LargeProgram {
    std::unique_ptr<DesignProblem> Problem;
    std::unique_ptr<DesignFormulation> Formulation;
    PairTypes Start;
};

LargeProgram SurviveProgramOf18Hosts() {
    LargeProgram large;
    large.Problem = std::make_unique<DesignProblem>(BuildDesignProblem(
        SyntheticDesignCase({18, true, 100, 600, 3}), DesignOptions{false, true, 0.8}));
    large.Formulation = std::make_unique<DesignFormulation>(*large.Problem);
    for (int32_t pair = 0; pair < 6; ++pair)
        large.Formulation->addFailureState(pair);
    large.Start = LargestDesign(*large.Problem);
    return large;
}

// Reports come while the first solve and the cuts at the root run, so a
// search of a short limit reports several times and the stop acts at once.
TEST(SolverStop, ReportsDuringTheFirstSolveAndStopsAtTheRequest) {
    const LargeProgram large = SurviveProgramOf18Hosts();
    int callsBeforeStop = 0;
    int callsAfterStop = 0;
    bool stopAsked = false;
    MipSettings settings;
    settings.Seconds = 600;
    settings.Progress = [&](const MipRunProgress& progress) {
        EXPECT_LE(progress.Bound, progress.Best);
        (stopAsked ? callsAfterStop : callsBeforeStop) += 1;
        stopAsked = callsBeforeStop == 3;
        return !stopAsked;
    };
    const MipOutcome outcome = SolveMip(large.Formulation->model(), settings);
    EXPECT_EQ(callsBeforeStop, 3);
    EXPECT_EQ(callsAfterStop, 0);
    EXPECT_TRUE(outcome.Stopped);
    EXPECT_EQ(outcome.Status, MipStatus::Stopped);
    EXPECT_GE(outcome.Bound, 0.0);
    EXPECT_LE(outcome.Bound, DesignCost(*large.Problem, large.Start) * (1 + 1e-9));
    if (!outcome.Solution.empty()) {
        EXPECT_LE(outcome.Bound, outcome.Objective);
    }
}

// A short time limit cuts solves short wherever they are; what the solver
// then says is still true: the bound is at most the cost of every design
// known to carry the load, and no proof is claimed without the search.
TEST(SolverStop, AShortLimitKeepsTheBoundBelowKnownDesigns) {
    const LargeProgram large = SurviveProgramOf18Hosts();
    const MipModel& model = large.Formulation->model();
    const double largestCost = DesignCost(*large.Problem, large.Start);
    for (const double seconds : {0.05, 0.6}) {
        MipSettings settings;
        settings.Seconds = seconds;
        settings.Start = large.Formulation->encode(large.Start);
        const MipOutcome outcome = SolveMip(model, settings);
        EXPECT_FALSE(outcome.Stopped) << seconds;
        EXPECT_EQ(outcome.Status, MipStatus::Stopped) << seconds;
        EXPECT_GE(outcome.Bound, 0.0) << seconds;
        EXPECT_LE(outcome.Bound, largestCost * (1 + 1e-9)) << seconds;
        if (!outcome.Solution.empty()) {
            EXPECT_LE(outcome.Objective, largestCost * (1 + 1e-9)) << seconds;
            EXPECT_LE(outcome.Bound, outcome.Objective) << seconds;
        }
    }
}

// The whole advisor on its longest case: the caller is asked again and
// again from the first checks on, and its stop ends the run with the best
// design known and the network as it was.
TEST(SolverStop, TheAdvisorStopsAtTheRequestOn18HostsWithSurvive) {
    const net::TNetObj net = SyntheticDesignCase({18, true, 100, 600, 3});
    const net::TNetObj before = net;
    int callsBeforeStop = 0;
    int callsAfterStop = 0;
    bool stopAsked = false;
    double lastSeconds = 0.0;
    NetworkDesign advisor(net);
    advisor.survive(true).timeLimit(600).progress([&](const DesignProgress& progress) {
        EXPECT_LE(progress.Bound, progress.BestCost);
        EXPECT_GE(progress.Seconds, lastSeconds);
        lastSeconds = progress.Seconds;
        (stopAsked ? callsAfterStop : callsBeforeStop) += 1;
        stopAsked = callsBeforeStop == 5;
        return !stopAsked;
    });
    EXPECT_EQ(advisor.run(), DesignStatus::Stopped);
    EXPECT_EQ(callsBeforeStop, 5);
    EXPECT_EQ(callsAfterStop, 0);
    const DesignResult& result = advisor.result();
    EXPECT_TRUE(result.Cancelled);
    if (result.Proposed) {
        EXPECT_LE(result.Bound, result.Proposed->Cost);
    }
    EXPECT_EQ(net.Channels, before.Channels);
    EXPECT_EQ(net.ChannelPresent, before.ChannelPresent);
}

}  // namespace
