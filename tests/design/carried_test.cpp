// Every design the advisor proposes carries the load, checked through the
// busiest-channel bound of the network as applied; a cancelled or
// infeasible run leaves the network as it was.
#include <cmath>

#include "design_test_support.h"
#include "network_cost.h"

namespace {

using namespace design_testing;

void ExpectCarried(const net::TNetObj& net, const design::Design& design, double umax,
                   bool survive) {
    const net::TNetObj applied = Applied(net, design);
    EXPECT_LE(SmallestBusiest(applied), umax + Slack);
    if (survive) {
        EXPECT_LE(WorstFailureBusiest(applied), 1.0 + Slack);
    }
    EXPECT_NEAR(net::NetworkCost(applied).Cost, design.Cost, 1e-9 * (1.0 + design.Cost));
    for (size_t c = 1; c < design.Channels.size(); ++c) {
        const design::DesignChannel& a = design.Channels[c - 1];
        const design::DesignChannel& b = design.Channels[c];
        EXPECT_LT(std::make_pair(a.HostA, a.HostB), std::make_pair(b.HostA, b.HostB));
        EXPECT_LT(b.HostA, b.HostB);
    }
}

struct RandomCase {
    int32_t Hosts;
    uint32_t Seed;
    double Umax;
    bool Survive;
};

class SeededDesign : public ::testing::TestWithParam<RandomCase> {};

TEST_P(SeededDesign, IsCarried) {
    const RandomCase& c = GetParam();
    const net::TNetObj net = SyntheticDesignCase({c.Hosts, true, 200, 1800, c.Seed});
    design::NetworkDesign advisor(net);
    advisor.survive(c.Survive).maxUtilisation(c.Umax).timeLimit(2);
    const design::DesignStatus status = advisor.run();
    ASSERT_NE(status, design::DesignStatus::Infeasible);
    const design::DesignResult& result = advisor.result();
    ASSERT_TRUE(result.Proposed);
    EXPECT_LE(result.Bound, result.Proposed->Cost * (1 + 1e-9));
    EXPECT_GT(result.Bound, 0.0);
    ExpectCarried(net, *result.Proposed, c.Umax, c.Survive);
    if (c.Survive) {
        EXPECT_GE(result.Proposed->Method.FailuresLeavingLoad, 0);
    }
    EXPECT_EQ(result.MethodCarriedNeeded, result.Proposed->Method.Unplaced > 0);
    if (result.MethodCarried) {
        EXPECT_EQ(result.MethodCarried->Method.Unplaced, 0);
        EXPECT_GE(result.MethodCarried->Cost, result.Bound);
        ExpectCarried(net, *result.MethodCarried, c.Umax, c.Survive);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SeededDesign,
                         ::testing::Values(RandomCase{5, 11, 0.8, false},
                                           RandomCase{6, 12, 0.6, false},
                                           RandomCase{7, 13, 1.0, false},
                                           RandomCase{5, 14, 0.8, true},
                                           RandomCase{6, 15, 0.7, true}));

TEST(Cancel, KeepsTheBestDesignFoundAndTheNetwork) {
    const net::TNetObj net = SyntheticDesignCase({8, true, 300, 1500, 21});
    const net::TNetObj before = net;
    int calls = 0;
    design::NetworkDesign advisor(net);
    advisor.progress([&](const design::DesignProgress& progress) {
        ++calls;
        EXPECT_LE(progress.Bound, progress.BestCost);
        return false;
    });
    EXPECT_EQ(advisor.run(), design::DesignStatus::Stopped);
    EXPECT_GE(calls, 1);
    const design::DesignResult& result = advisor.result();
    EXPECT_TRUE(result.Cancelled);
    ASSERT_TRUE(result.Proposed);
    ExpectCarried(net, *result.Proposed, 0.8, false);
    EXPECT_EQ(net.Channels, before.Channels);
    EXPECT_EQ(net.ChannelPresent, before.ChannelPresent);
}

TEST(Progress, ReportsBestAndBoundInOrder) {
    const net::TNetObj net = SyntheticDesignCase({6, true, 300, 1500, 22});
    double lastSeconds = -1.0;
    design::NetworkDesign advisor(net);
    advisor.timeLimit(2).progress([&](const design::DesignProgress& progress) {
        EXPECT_LE(progress.Bound, progress.BestCost + 1e-9);
        EXPECT_GE(progress.Seconds, lastSeconds);
        lastSeconds = progress.Seconds;
        return true;
    });
    advisor.run();
    EXPECT_FALSE(advisor.result().Cancelled);
    EXPECT_GE(lastSeconds, 0.0);
}

// Hosts {1, 2} and {3, 4}: every host fits its own channels, but the four
// channels across carry 4 x 4000 at UMAX 0.8 with the one type of 5000, and
// 16400 must cross.
TEST(Infeasible, NoDesignCarriesTheCrossingLoad) {
    net::TNetObj net = Network({{0, 0}, {0, 100}, {300, 0}, {300, 100}},
                               {{1, 3, 4100}, {1, 4, 4100}, {2, 3, 4100}, {2, 4, 4100}});
    net.ChannelTypeCount = 1;
    const net::TNetObj before = net;
    design::NetworkDesign advisor(net);
    EXPECT_EQ(advisor.run(), design::DesignStatus::Infeasible);
    EXPECT_FALSE(advisor.result().Proposed);
    EXPECT_NE(advisor.result().InfeasibleReason.find("при загрузке каналов не выше 0.8"),
              std::string::npos);
    EXPECT_EQ(net.Channels, before.Channels);

    // 4000 each crosses exactly: the four channels across at 0.8.
    for (const auto& [a, b] : {std::pair{1, 3}, {1, 4}, {2, 3}, {2, 4}})
        net.LoadMatrix[a][b] = 4000;
    design::NetworkDesign fits(net);
    EXPECT_EQ(fits.run(), design::DesignStatus::Optimal);
    EXPECT_EQ(fits.result().Proposed->Channels.size(), 4u);
}

}  // namespace
