// "Load the network to U": the factor from the smallest possible busiest
// channel, checked on a load whose bound is known in closed form and on a
// generated one, and the networks and loads it refuses.
#include "load_scaling.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace {

using testing_support::MessageOf;

// One demand 1->4 over 1-2-4 (capacity 4000) and 1-3-4 (1000): split in
// proportion to the capacities, the busiest channel carries load / 5000.
net::TNetObj TwoRoutes(int32_t load) {
    net::TNetObj net;
    testing_support::SetCapacities(net, {4000, 1000, 0});
    testing_support::AddHosts(net, {{0, 0}, {100, -50}, {100, 50}, {200, 0}});
    testing_support::AddChannels(net, {{1, 2}, {2, 4}}, 1);
    testing_support::AddChannels(net, {{1, 3}, {3, 4}}, 2);
    net.LoadMatrix[1][4] = load;
    return net;
}

double BusiestAfter(const net::TNetObj& net, const net::LoadTable& loads) {
    net::TNetObj scaled = net;
    scaled.LoadMatrix = loads;
    return optimize::SmallestBusiest(scaled).value();
}

TEST(ScaleToTarget, TheFactorIsTargetOverTheBound) {
    const net::TNetObj net = TwoRoutes(3000);
    const optimize::TargetScaling scaling = optimize::ScaleToTarget(net, 0.9);
    EXPECT_NEAR(scaling.BusiestBefore, 0.6, 1e-9);
    EXPECT_NEAR(scaling.Factor, 1.5, 1e-9);
    EXPECT_EQ(scaling.Loads[1][4], 4500);
    EXPECT_NEAR(BusiestAfter(net, scaling.Loads), 0.9, 1e-9);
    // Above 1 is allowed: the load then does not fit.
    EXPECT_EQ(optimize::ScaleToTarget(net, 2.0).Loads[1][4], 10000);
    // The network itself is left alone.
    EXPECT_EQ(net.LoadMatrix[1][4], 3000);
}

TEST(ScaleToTarget, AGeneratedLoadReachesTheTargetWithinOnePercent) {
    net::TNetObj net;
    testing_support::SetCapacities(net, {5000, 9000});
    for (int h = 1; h <= 12; ++h)
        net.AddHost(40 * h, (h % 3) * 60, "", 1);
    net.BuildRing(1);
    net.AddChannel(1, 7, 2);
    net.AddChannel(3, 10, 2);
    net.LoadMatrix = net::UniformLoads(net, {1, 400, 5, 0.6});
    for (const double target : {0.5, 0.8, 1.0}) {
        const optimize::TargetScaling scaling = optimize::ScaleToTarget(net, target);
        EXPECT_NEAR(BusiestAfter(net, scaling.Loads), target, 0.01 * target) << target;
    }
}

TEST(ScaleToTarget, RefusesABadTargetANetworkThatCarriesNothingAndAnEmptyLoad) {
    const net::TNetObj net = TwoRoutes(3000);
    EXPECT_EQ(MessageOf([&] { optimize::ScaleToTarget(net, 0.0); }),
              "Целевая загрузка 0 должна быть числом больше 0");
    EXPECT_EQ(MessageOf([&] { optimize::ScaleToTarget(net, -0.5); }),
              "Целевая загрузка -0.5 должна быть числом больше 0");
    EXPECT_NE(MessageOf([&] { optimize::ScaleToTarget(net, NAN); }), "(no error)");

    const std::string nothing =
        "Сеть ничего не несёт: нет ни одного канала с пропускной способностью больше 0";
    net::TNetObj bare = net;
    bare.DeleteAllChannels();
    EXPECT_EQ(MessageOf([&] { optimize::ScaleToTarget(bare, 0.8); }), nothing);
    // Channels of capacity 0 stop routing, as in the quality window.
    net::TNetObj zero = net;
    for (int c = 1; c <= 4; ++c)
        zero.SetChannelType(c, 3);
    EXPECT_EQ(MessageOf([&] { optimize::ScaleToTarget(zero, 0.8); }),
              "Floating point division by zero");

    const std::string empty =
        "Нагрузка пуста: нет ни одной нагрузки больше 0 между маршрутизаторами, которые "
        "соединяют каналы";
    EXPECT_EQ(MessageOf([&] { optimize::ScaleToTarget(TwoRoutes(0), 0.8); }), empty);
    net::TNetObj apart = TwoRoutes(0);
    apart.AddHost(300, 300, "", 1);
    apart.LoadMatrix[5][1] = 100;  // host 5 has no channel
    EXPECT_EQ(MessageOf([&] { optimize::ScaleToTarget(apart, 0.8); }), empty);
    EXPECT_FALSE(optimize::SmallestBusiest(apart).has_value());

    net::TNetObj untyped = net;
    untyped.Channels[1].TypeNo = 9;
    EXPECT_NE(MessageOf([&] { optimize::ScaleToTarget(untyped, 0.8); }).find("имеет тип 9"),
              std::string::npos);
}

TEST(ScaleToTarget, AFactorThatOverflowsALoadIsRefused) {
    // Bound 1 / 5000: the target 429496.7 needs 2147483500, just within the
    // limit; the target 1e6 needs 5e9.
    const net::TNetObj net = TwoRoutes(1);
    // The solver's bound is exact to a few parts in 10^9.
    EXPECT_NEAR(optimize::ScaleToTarget(net, 429496.7).Loads[1][4], 2147483500, 50);
    const std::string message = MessageOf([&] { optimize::ScaleToTarget(net, 1e6); });
    EXPECT_EQ(message.rfind("Нагрузка 1→4 после умножения стала бы 50000000", 0), 0u) << message;
    EXPECT_NE(message.find("должна быть от -2147483648 до 2147483647; нагрузки не изменены"),
              std::string::npos);
}

}  // namespace
