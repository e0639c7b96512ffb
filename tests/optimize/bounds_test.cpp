// The bounds over splittable routings, checked against optima found another
// way: in closed form, for a tree (one route per demand) and for a ring by
// a separate minimisation over the two ways round.
#include <gtest/gtest.h>

#include <cmath>

#include "routing_quality.h"
#include "test_support.h"

namespace {

using optimize::AnalyzeQuality;
using optimize::QualityReport;

struct Wire {
    int A;
    int B;
    int Type;
};

// Hosts 1..hosts, channels in the order given, types 1.. of the capacities.
net::TNetObj Net(int hosts, const std::vector<int32_t>& capacities,
                 const std::vector<Wire>& wires) {
    net::TNetObj net;
    testing_support::SetCapacities(net, capacities);
    for (int h = 1; h <= hosts; ++h)
        net.AddHost(40 * h, (h % 3) * 60, "", 1);
    for (const Wire& w : wires)
        net.AddChannel(w.A, w.B, w.Type);
    return net;
}

double Delay(double flow, double capacity) {
    return 10000.0 * flow / (capacity - flow);
}

// The certificate brackets the reference optimum and closes to the gap.
void ExpectCertified(const QualityReport& report, double optimum) {
    ASSERT_TRUE(report.Bounds.Delay);
    const optimize::DelayBound& bound = *report.Bounds.Delay;
    EXPECT_TRUE(bound.GapReached);
    EXPECT_LE(bound.Lower, optimum * (1 + 1e-12));
    EXPECT_GE(bound.Upper, optimum * (1 - 1e-12));
    EXPECT_LE(bound.Upper - bound.Lower, 1e-6 * bound.Upper);
}

// One demand 1->4 over 1-2-4 (capacity 4000 both) and 1-3-4 (1000 both).
net::TNetObj TwoRoutes(int32_t load) {
    net::TNetObj net = Net(4, {4000, 1000}, {{1, 2, 1}, {2, 4, 1}, {1, 3, 2}, {3, 4, 2}});
    net.LoadMatrix[1][4] = load;
    return net;
}

TEST(DelayBound, TwoRoutesSplitWhereTheFirstDerivativesMeet) {
    // 10000*4000/(4000-x)^2 = 10000*1000/(1000-(r-x))^2 gives
    // 4000 - x = 2 (1000 - r + x), x = (2000 + 2r) / 3.
    const double r = 3000;
    const double x = (2000 + 2 * r) / 3;
    const double optimum = 2 * (Delay(x, 4000) + Delay(r - x, 1000)) / r;
    const QualityReport report = AnalyzeQuality(TwoRoutes(3000));
    ExpectCertified(report, optimum);
    // Busiest: x/4000 = (r-x)/1000 at x = 4r/5.
    EXPECT_NEAR(*report.Bounds.BusiestMin, r / 5000, 1e-9);
    EXPECT_TRUE(report.Bounds.Bottlenecks.empty());
    // The cheap route cannot take 3000 at all: a single path can only use
    // the other one, 2 * 10000 * 3000 / 1000 / 3000.
    EXPECT_DOUBLE_EQ(*report.Greedy.MeanDelay, 20.0);
    EXPECT_DOUBLE_EQ(*report.Improved.MeanDelay, 20.0);
    EXPECT_GT(*report.Greedy.MeanDelay, report.Bounds.Delay->Upper);
}

TEST(DelayBound, BelowTheSplitPointOnlyTheWideRouteIsUsed) {
    // Below r = 2000 the narrow route's first derivative at 0 (20) is above
    // the wide one's at r: the optimum sends everything the wide way.
    const QualityReport report = AnalyzeQuality(TwoRoutes(1000));
    ExpectCertified(report, 2 * Delay(1000, 4000) / 1000);
}

TEST(DelayBound, OnATreeTheOnlyRoutingIsOptimal) {
    net::TNetObj net =
        Net(6, {5000, 10000, 20000}, {{1, 2, 3}, {1, 3, 2}, {2, 4, 1}, {2, 5, 1}, {3, 6, 2}});
    net.LoadMatrix[4][5] = 1200;
    net.LoadMatrix[4][6] = 900;
    net.LoadMatrix[6][1] = 3000;
    net.LoadMatrix[5][3] = 700;
    const QualityReport report = AnalyzeQuality(net);
    ASSERT_TRUE(report.Greedy.MeanDelay);
    ExpectCertified(report, *report.Greedy.MeanDelay);
    EXPECT_EQ(*report.Improved.MeanDelay, *report.Greedy.MeanDelay);
}

// A ring of five: each demand goes clockwise with share t, the other way
// with 1 - t. The reference minimises over the shares one at a time by
// bisection on the derivative, until nothing moves.
struct RingDemand {
    int From;
    int To;
    double Load;
};

double RingReference(const std::vector<double>& capacity, const std::vector<RingDemand>& demands) {
    const int n = static_cast<int>(capacity.size());
    std::vector<double> share(demands.size(), 0.5);
    // Link k joins host k+1 and host k+2 (host n and host 1 for the last).
    auto flows = [&](int skip) {
        std::vector<double> flow(n, 0.0);
        for (size_t d = 0; d < demands.size(); ++d) {
            if (static_cast<int>(d) == skip)
                continue;
            for (int k = demands[d].From - 1; k != demands[d].To - 1; k = (k + 1) % n)
                flow[k] += share[d] * demands[d].Load;
            for (int k = demands[d].To - 1; k != demands[d].From - 1; k = (k + 1) % n)
                flow[k] += (1 - share[d]) * demands[d].Load;
        }
        return flow;
    };
    auto total = [&](const std::vector<double>& flow) {
        double sum = 0;
        for (int k = 0; k < n; ++k)
            sum += Delay(flow[k], capacity[k]);
        return sum;
    };
    for (int sweep = 0; sweep < 2000; ++sweep) {
        for (size_t d = 0; d < demands.size(); ++d) {
            const std::vector<double> base = flows(static_cast<int>(d));
            auto slope = [&](double t) {
                double s = 0;
                for (int k = 0; k < n; ++k) {
                    const bool clockwise = (k - (demands[d].From - 1) + n) % n <
                                           (demands[d].To - demands[d].From + n) % n;
                    const double f = base[k] + (clockwise ? t : 1 - t) * demands[d].Load;
                    const double derivative = 10000 * capacity[k] / std::pow(capacity[k] - f, 2);
                    s += (clockwise ? 1 : -1) * derivative * demands[d].Load;
                }
                return s;
            };
            double low = 0, high = 1;
            for (int k = 0; k < 200; ++k) {
                const double mid = (low + high) / 2;
                // Outside the capacities the slope is meaningless: step back.
                const std::vector<double> trial = [&] {
                    std::vector<double> f = base;
                    for (int j = 0; j < n; ++j) {
                        const bool clockwise = (j - (demands[d].From - 1) + n) % n <
                                               (demands[d].To - demands[d].From + n) % n;
                        f[j] += (clockwise ? mid : 1 - mid) * demands[d].Load;
                    }
                    return f;
                }();
                bool over = false, overClockwise = false;
                for (int j = 0; j < n; ++j) {
                    if (trial[j] >= capacity[j]) {
                        over = true;
                        overClockwise = (j - (demands[d].From - 1) + n) % n <
                                        (demands[d].To - demands[d].From + n) % n;
                    }
                }
                if (over ? overClockwise : slope(mid) > 0)
                    high = mid;
                else
                    low = mid;
            }
            share[d] = (low + high) / 2;
        }
    }
    double load = 0;
    for (const RingDemand& d : demands)
        load += d.Load;
    return total(flows(-1)) / load;
}

TEST(DelayBound, OnARingTheCertificateBracketsASeparateMinimisation) {
    net::TNetObj net =
        Net(5, {5000, 10000}, {{1, 2, 1}, {2, 3, 2}, {3, 4, 1}, {4, 5, 2}, {5, 1, 1}});
    const std::vector<RingDemand> demands = {
        {1, 3, 2500}, {2, 5, 1800}, {4, 1, 2200}, {3, 4, 900}, {5, 2, 1500}};
    for (const RingDemand& d : demands)
        net.LoadMatrix[d.From][d.To] = static_cast<int32_t>(d.Load);
    const double reference = RingReference({5000, 10000, 5000, 10000, 5000}, demands);
    const QualityReport report = AnalyzeQuality(net);
    ExpectCertified(report, reference);
    EXPECT_LE(reference, *report.Improved.MeanDelay);
}

TEST(BusiestBound, ALoadNoRoutingCarriesNamesTheCutThatLimitsIt) {
    // 1->4 needs 2500 through 2-4 and 3-4, 1000 each: 1.25 however split;
    // the wide channels to 2 and 3 do not limit it.
    net::TNetObj net = Net(4, {20000, 1000}, {{1, 2, 1}, {1, 3, 1}, {2, 4, 2}, {3, 4, 2}});
    net.LoadMatrix[1][4] = 2500;
    net.LoadMatrix[1][2] = 300;
    const QualityReport report = AnalyzeQuality(net);
    EXPECT_NEAR(*report.Bounds.BusiestMin, 1.25, 1e-9);
    EXPECT_TRUE(report.Bounds.LoadDoesNotFit());
    EXPECT_EQ(report.Bounds.Bottlenecks, (std::vector<int32_t>{3, 4}));
    EXPECT_FALSE(report.Bounds.Delay);
    EXPECT_EQ(report.Greedy.Unplaced, 1);
    EXPECT_EQ(report.Greedy.UnplacedLoad, 2500);
    EXPECT_EQ(report.Improved.Unplaced, 1);
}

TEST(BusiestBound, ExactlyFullIsNotCarried) {
    net::TNetObj net = Net(2, {1000}, {{1, 2, 1}});
    net.LoadMatrix[1][2] = 600;
    net.LoadMatrix[2][1] = 400;
    const QualityReport report = AnalyzeQuality(net);
    EXPECT_NEAR(*report.Bounds.BusiestMin, 1.0, 1e-12);
    EXPECT_TRUE(report.Bounds.LoadDoesNotFit());
    EXPECT_EQ(report.Bounds.Bottlenecks, (std::vector<int32_t>{1}));
}

TEST(RoutingQuality, NetworksRoutingCannotRouteOrHasNothingToRoute) {
    using testing_support::MessageOf;
    net::TNetObj missing = TwoRoutes(100);
    missing.SetChannelType(3, 7);
    net::TNetObj routed = missing;
    EXPECT_EQ(MessageOf([&] { AnalyzeQuality(missing); }), MessageOf([&] { routed.RouteAll(); }));
    net::TNetObj zero = Net(2, {0}, {{1, 2, 1}});
    EXPECT_EQ(MessageOf([&] { AnalyzeQuality(zero); }), "Floating point division by zero");
    EXPECT_EQ(MessageOf([&] { optimize::ApplyImprovedRouting(zero); }),
              "Floating point division by zero");

    const QualityReport empty = AnalyzeQuality(TwoRoutes(0));
    EXPECT_EQ(empty.Greedy.Placed + empty.Greedy.Unplaced, 0);
    EXPECT_FALSE(empty.Greedy.MeanDelay);
    EXPECT_FALSE(empty.Greedy.Busiest);
    EXPECT_FALSE(empty.Bounds.BusiestMin);
    EXPECT_FALSE(empty.Bounds.Delay);
    EXPECT_EQ(optimize::FigureText(empty.Greedy.MeanDelay), "-");
}

TEST(RoutingQuality, NegativeCapacitiesCarryNothingAndTheRestIsCountedApart) {
    // The narrow route has a negative capacity: all 3000 must go the wide
    // way. Host 5 has no channel: its demand is counted, not carried.
    net::TNetObj net = Net(5, {4000, -1000}, {{1, 2, 1}, {2, 4, 1}, {1, 3, 2}, {3, 4, 2}});
    net.LoadMatrix[1][4] = 3000;
    net.LoadMatrix[5][1] = 77;
    const QualityReport report = AnalyzeQuality(net);
    EXPECT_EQ(report.Bounds.Carried, 1);
    EXPECT_EQ(report.Bounds.NotCarried, 1);
    EXPECT_EQ(report.Bounds.NotCarriedLoad, 77);
    EXPECT_NEAR(*report.Bounds.BusiestMin, 0.75, 1e-9);
    ExpectCertified(report, 2 * Delay(3000, 4000) / 3000);
    EXPECT_EQ(report.Greedy.Unplaced, 1);
    EXPECT_EQ(report.Improved.UnplacedLoad, 77);
    EXPECT_EQ(optimize::FigureText(report.Bounds.BusiestMin), "0.750000");
}

// A second channel between the same two hosts, as project files may hold:
// routing starts the pair from the later channel's capacity.
void AddSecondChannel(net::TNetObj& net, int32_t slot, int32_t a, int32_t b, int32_t type) {
    ASSERT_FALSE(net.ChannelPresent[slot]);
    net.Channels[slot] = {a, b, type, 0, 40.0};
    net.ChannelPresent[slot] = true;
    ++net.ChannelCount;
}

TEST(RoutingQuality, OfTwoChannelsBetweenTheSameHostsTheFiguresUseAndNameTheOneRoutingUses) {
    // Channel 1 of 1000 and channel 3 of 4000 join 1 and 2; channel 2 leads
    // on to 3. 1->2 carries 2000: half of 4000, and alone on its link.
    net::TNetObj net = Net(3, {1000, 4000}, {{1, 2, 1}, {2, 3, 2}});
    AddSecondChannel(net, 3, 2, 1, 2);
    net.LoadMatrix[1][2] = 2000;
    const QualityReport report = AnalyzeQuality(net);
    net::TNetObj routed = net;
    routed.RouteAll();
    ASSERT_EQ(routed.ResidualMatrix[1][2], 2000);
    EXPECT_EQ(report.Greedy.Busiest, 0.5);
    EXPECT_EQ(report.Greedy.BusiestChannel, 3);
    EXPECT_EQ(report.Improved.BusiestChannel, 3);
    EXPECT_NEAR(*report.Bounds.BusiestMin, 0.5, 1e-12);
    ExpectCertified(report, Delay(2000, 4000) / 2000);

    // 5000 does not fit the 4000: the limiting channel is the later one.
    net.LoadMatrix[1][2] = 5000;
    const QualityReport over = AnalyzeQuality(net);
    EXPECT_NEAR(*over.Bounds.BusiestMin, 1.25, 1e-9);
    EXPECT_EQ(over.Bounds.Bottlenecks, (std::vector<int32_t>{3}));
}

TEST(RoutingQuality, AHostJoinedOnlyByAChannelThatCarriesNothingIsCountedApart) {
    // Host 5 hangs on host 1 by a channel of negative capacity: its demand
    // cannot be carried and must stay out of the linear program.
    net::TNetObj net = TwoRoutes(3000);
    net.AddHost(400, 300, "", 1);
    testing_support::SetCapacities(net, {4000, 1000, -500});
    net.AddChannel(5, 1, 3);
    net.LoadMatrix[5][1] = 77;
    net.LoadMatrix[1][5] = 5;
    const QualityReport report = AnalyzeQuality(net);
    EXPECT_EQ(report.Bounds.Carried, 1);
    EXPECT_EQ(report.Bounds.NotCarried, 2);
    EXPECT_EQ(report.Bounds.NotCarriedLoad, 82);
    // As TwoRoutes(3000): the split where the first derivatives meet.
    const double x = (2000 + 2 * 3000) / 3.0;
    EXPECT_NEAR(*report.Bounds.BusiestMin, 0.6, 1e-9);
    ExpectCertified(report, 2 * (Delay(x, 4000) + Delay(3000 - x, 1000)) / 3000);
}

}  // namespace
