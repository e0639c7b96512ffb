// Load matrices made rather than typed: the seeded uniform generator, the
// gravity and population-distance splits of a total, scaling and symmetry,
// each at its limits and one past them.
#include "load_generators.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_support.h"

namespace {

using net::LoadTable;
using net::MaxHosts;
using testing_support::AddHosts;
using testing_support::MessageOf;

constexpr int32_t Int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t Int32Min = std::numeric_limits<int32_t>::min();

// Hosts 1..n on a grid, none clashing.
net::TNetObj Hosts(int n) {
    net::TNetObj net;
    for (int h = 1; h <= n; ++h)
        net.AddHost(30 * h, 20 * (h % 4), "", 1);
    return net;
}

int64_t Sum(const LoadTable& loads) {
    int64_t sum = 0;
    for (int i = 1; i <= MaxHosts; ++i)
        for (int j = 1; j <= MaxHosts; ++j)
            sum += loads[i][j];
    return sum;
}

int NonZero(const LoadTable& loads) {
    int count = 0;
    for (int i = 1; i <= MaxHosts; ++i)
        for (int j = 1; j <= MaxHosts; ++j)
            count += loads[i][j] != 0;
    return count;
}

// The rows 1..n of the matrix, "a b c / d e f / ...".
std::string Rows(const LoadTable& loads, int n) {
    std::string text;
    for (int i = 1; i <= n; ++i) {
        if (i > 1)
            text += " /";
        for (int j = 1; j <= n; ++j)
            text += (i > 1 || j > 1 ? " " : "") + std::to_string(loads[i][j]);
    }
    return text;
}

TEST(LoadRandom, DrawsEvenlyAndOnlyWithinTheBounds) {
    net::LoadRandom random(7);
    std::array<int, 7> counts{};
    for (int k = 0; k < 60000; ++k) {
        const int64_t value = random.Between(1, 6);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 6);
        ++counts[static_cast<size_t>(value)];
    }
    // 10000 each; five standard deviations are about 450.
    for (int face = 1; face <= 6; ++face)
        EXPECT_NEAR(counts[static_cast<size_t>(face)], 10000, 450) << face;
    for (int k = 0; k < 1000; ++k) {
        EXPECT_EQ(random.Between(5, 5), 5);
        const int64_t wide = random.Between(Int32Min, Int32Max);
        EXPECT_TRUE(wide >= Int32Min && wide <= Int32Max);
        EXPECT_FALSE(random.Chance(0.0));
        EXPECT_TRUE(random.Chance(1.0));
    }
}

TEST(LoadRandom, SeedZeroGivesTheSequenceOfTheNamedAlgorithms) {
    // SplitMix64 from 0 gives the published E220A8397B1DCDAF, 6E789E6AA1B965F4,
    // 06C45D188009454F, F88BB8A8724C81EC as the state; the outputs of
    // xoshiro256** from it were computed by a separate implementation.
    net::LoadRandom random(0);
    EXPECT_EQ(random.Next(), 11091344671253066420ull);
    EXPECT_EQ(random.Next(), 13793997310169335082ull);
    EXPECT_EQ(random.Next(), 1900383378846508768ull);
}

TEST(UniformLoads, FixedSeedGivesThisMatrixOnEveryMachine) {
    net::TNetObj net = Hosts(6);
    net.DeleteHost(3);
    net.LoadMatrix[3][1] = 77;  // an absent host's row is replaced by zeros
    const LoadTable loads = net::UniformLoads(net, {10, 20, 42, 0.5});
    // Derived once by running and again by a separate implementation of the
    // same algorithms: 6 of the 20 pairs drawn (0.5 expects 10, 6 is within
    // two standard deviations), each within [10, 20].
    EXPECT_EQ(Rows(loads, 6),
              "0 14 0 0 0 0 / 0 0 0 0 0 0 / 0 0 0 0 0 0 / 0 0 0 0 18 17 / 0 0 0 0 0 0 / "
              "0 11 0 16 15 0");
    for (int i = 1; i <= MaxHosts; ++i) {
        for (int j = 1; j <= MaxHosts; ++j) {
            const int32_t v = loads[i][j];
            if (i == j || !net.HostPresent[i] || !net.HostPresent[j])
                EXPECT_EQ(v, 0) << i << "," << j;
            else
                EXPECT_TRUE(v == 0 || (v >= 10 && v <= 20)) << v;
        }
    }
}

TEST(UniformLoads, DensityIsTheShareOfPairsWithALoad) {
    const net::TNetObj net = Hosts(18);
    // 306 pairs; at 0.3 about 92, four standard deviations about 32.
    for (uint64_t seed = 1; seed <= 5; ++seed)
        EXPECT_NEAR(NonZero(net::UniformLoads(net, {1, 1000, seed, 0.3})), 92, 32) << seed;
    EXPECT_EQ(NonZero(net::UniformLoads(net, {1, 1000, 9, 1.0})), 306);
    EXPECT_EQ(NonZero(net::UniformLoads(net, {1, 1000, 9, 0.0})), 0);
    // MIN = MAX: every pair that gets a load gets exactly it.
    const LoadTable same = net::UniformLoads(net, {Int32Max, Int32Max, 3, 1.0});
    EXPECT_EQ(Sum(same), int64_t{306} * Int32Max);
    // MIN 0 is allowed: a drawn 0 is no load, so about half the pairs get one.
    EXPECT_NEAR(NonZero(net::UniformLoads(net, {0, 1, 3, 1.0})), 153, 35);
}

TEST(UniformLoads, BadBoundsDensityOrTooFewHostsAreRefusedByName) {
    const net::TNetObj net = Hosts(3);
    EXPECT_EQ(MessageOf([&] {
                  net::UniformLoads(net, {21, 20, 1, 1.0});
              }),
              "Наименьшая нагрузка 21 больше наибольшей 20");
    EXPECT_EQ(MessageOf([&] {
                  net::UniformLoads(net, {-1, 20, 1, 1.0});
              }),
              "Наименьшая нагрузка -1 меньше 0");
    EXPECT_EQ(MessageOf([&] {
                  net::UniformLoads(net, {1, 20, 1, 1.25});
              }),
              "Доля пар 1.25 должна быть от 0 до 1");
    EXPECT_EQ(MessageOf([&] {
                  net::UniformLoads(net, {1, 20, 1, -0.5});
              }),
              "Доля пар -0.5 должна быть от 0 до 1");
    EXPECT_NE(MessageOf([&] { net::UniformLoads(net, {1, 20, 1, std::nan("")}); }), "(no error)");
    EXPECT_EQ(MessageOf([&] {
                  net::UniformLoads(Hosts(1), {1, 20, 1, 1.0});
              }),
              "Для нагрузки нужны хотя бы два маршрутизатора, а в сети их 1");
    EXPECT_EQ(NonZero(net::UniformLoads(Hosts(2), {1, 20, 1, 1.0})), 2);
}

TEST(GravityLoads, SplitsTheTotalByWeightProductsAndLargestRemainders) {
    const net::TNetObj net = Hosts(3);
    // Products 2, 3, 6 of 22 (both directions): 90.9, 136.4, 272.7; the four
    // units left go to the two largest remainders, each in both directions.
    EXPECT_EQ(Rows(net::GravityLoads(net, 1000, {1, 2, 3}), 3), "0 91 136 / 91 0 273 / 136 273 0");
    // Equal weights by default; a tie goes to the earlier pair.
    const net::TNetObj four = Hosts(4);
    EXPECT_EQ(Rows(net::GravityLoads(four, 13, {}), 4), "0 2 1 1 / 1 0 1 1 / 1 1 0 1 / 1 1 1 0");
    EXPECT_EQ(Sum(net::GravityLoads(four, 0, {})), 0);
    // A host of weight 0 gets nothing, in either direction.
    const LoadTable zero = net::GravityLoads(four, 100, {1, 0, 1, 1});
    EXPECT_EQ(zero[1][2] + zero[2][1] + zero[2][3] + zero[4][2], 0);
    EXPECT_EQ(Sum(zero), 100);
}

TEST(GravityLoads, SumIsExactlyTheTotalAndEachLoadWithinOneOfItsShare) {
    net::TNetObj net = Hosts(18);
    net.DeleteHost(7);
    std::vector<double> weights;
    for (int k = 0; k < 17; ++k)
        weights.push_back(1.0 + (k * 37 % 11) / 3.0);
    double products = 0;
    for (size_t a = 0; a < weights.size(); ++a)
        for (size_t b = 0; b < weights.size(); ++b)
            products += a == b ? 0 : weights[a] * weights[b];
    for (const int32_t total : {1, 271, 99991, Int32Max}) {
        const LoadTable loads = net::GravityLoads(net, total, weights);
        EXPECT_EQ(Sum(loads), total);
        size_t a = 0;
        for (int i = 1; i <= MaxHosts; ++i) {
            if (!net.HostPresent[i])
                continue;
            size_t b = 0;
            for (int j = 1; j <= MaxHosts; ++j) {
                if (!net.HostPresent[j])
                    continue;
                const double share = a == b ? 0 : total * weights[a] * weights[b] / products;
                EXPECT_LT(std::abs(loads[i][j] - share), 1.0 + 1e-5)
                    << i << "," << j << " " << total;
                ++b;
            }
            ++a;
        }
    }
    // Weights far beyond the range of their products still split.
    EXPECT_EQ(Sum(net::GravityLoads(Hosts(3), 900, {1e300, 1e300, 1e-300})), 900);
}

TEST(GravityLoads, BadTotalsAndWeightListsAreRefusedByName) {
    const net::TNetObj net = Hosts(3);
    EXPECT_EQ(MessageOf([&] { net::GravityLoads(net, -1, {}); }), "Сумма нагрузки -1 меньше 0");
    EXPECT_EQ(MessageOf([&] {
                  net::GravityLoads(net, 10, {1, 2});
              }),
              "Весов 2, а маршрутизаторов 3: нужен вес каждого маршрутизатора по порядку "
              "номеров");
    EXPECT_EQ(MessageOf([&] {
                  net::GravityLoads(net, 10, {1, 2, 3, 4});
              }),
              "Весов 4, а маршрутизаторов 3: нужен вес каждого маршрутизатора по порядку "
              "номеров");
    EXPECT_EQ(MessageOf([&] {
                  net::GravityLoads(net, 10, {1, -2, 3});
              }),
              "Вес маршрутизатора 2 (-2) должен быть числом не меньше 0");
    EXPECT_EQ(MessageOf([&] {
                  net::GravityLoads(net, 10, {0, 0, 3});
              }),
              "Веса не дают нагрузки ни одной паре маршрутизаторов: нужны хотя бы два веса "
              "больше 0");
    EXPECT_EQ(MessageOf([&] { net::GravityLoads(Hosts(1), 10, {}); }),
              "Для нагрузки нужны хотя бы два маршрутизатора, а в сети их 1");
}

TEST(DistanceLoads, SharesFallWithTheDistanceToThePowerAlpha) {
    net::TNetObj net;
    AddHosts(net, {{0, 0}, {100, 0}, {300, 0}});
    // Distances 100, 300, 200: 1/d is 6:2:3 of 1/600, 22 parts both ways.
    EXPECT_EQ(Rows(net::DistanceLoads(net, 2200, 1.0, {}), 3), "0 600 200 / 600 0 300 / 200 300 0");
    // 1/d^2 is 36:4:9 of 1/360000, 98 parts.
    EXPECT_EQ(Rows(net::DistanceLoads(net, 980, 2.0, {}), 3), "0 360 40 / 360 0 90 / 40 90 0");
    // ALPHA 0 is the gravity split; weights multiply in as there.
    EXPECT_EQ(net::DistanceLoads(net, 1000, 0.0, {1, 2, 3}),
              net::GravityLoads(net, 1000, {1, 2, 3}));
    // Weights 1, 1, 3: 1/100, 3/300, 3/200 are 2:2:3, 14 parts.
    EXPECT_EQ(Rows(net::DistanceLoads(net, 1400, 1.0, {1, 1, 3}), 3),
              "0 200 200 / 200 0 300 / 200 300 0");
    // A steep power leaves the far pairs nothing but still sums to TOTAL.
    EXPECT_EQ(Sum(net::DistanceLoads(net, 1000, 400.0, {})), 1000);
}

TEST(DistanceLoads, BadAlphaOrHostsInOnePlaceAreRefused) {
    net::TNetObj net;
    AddHosts(net, {{0, 0}, {100, 0}, {300, 0}});
    EXPECT_EQ(MessageOf([&] { net::DistanceLoads(net, 10, -1.0, {}); }),
              "Показатель степени расстояния -1 должен быть числом не меньше 0");
    EXPECT_NE(MessageOf([&] { net::DistanceLoads(net, 10, INFINITY, {}); }), "(no error)");
    // Only a project file can put two hosts in one place.
    net.Hosts[3].X = 100;
    EXPECT_EQ(MessageOf([&] { net::DistanceLoads(net, 10, 1.0, {}); }),
              "Маршрутизаторы 2 и 3 стоят в одной точке: расстояние между ними 0");
}

TEST(PlacedLoads, ReplacesOrAddsUpToTheInt32Limit) {
    net::TNetObj net = Hosts(2);
    net.LoadMatrix[1][2] = Int32Max - 5;
    net.LoadMatrix[2][1] = 7;
    net.LoadMatrix[1][1] = 4;
    LoadTable generated{};
    generated[1][2] = 5;
    generated[2][1] = 1;
    EXPECT_EQ(net::PlacedLoads(net, generated, net::LoadPlacing::Replace), generated);
    const LoadTable added = net::PlacedLoads(net, generated, net::LoadPlacing::Add);
    EXPECT_EQ(Rows(added, 2), "4 " + std::to_string(Int32Max) + " / 8 0");
    generated[1][2] = 6;
    EXPECT_EQ(MessageOf([&] { net::PlacedLoads(net, generated, net::LoadPlacing::Add); }),
              "Нагрузка 1→2 с добавкой стала бы 2147483648, а она должна быть от -2147483648 до "
              "2147483647; нагрузки не изменены");
}

TEST(ScaledLoads, RoundsHalvesAwayFromZeroAndStopsAtTheInt32Limit) {
    LoadTable loads{};
    loads[1][2] = 5;
    loads[2][1] = -5;
    loads[1][3] = 3;
    loads[3][1] = 1;
    loads[18][18] = 1073741823;
    const LoadTable half = net::ScaledLoads(loads, 0.5);
    EXPECT_EQ(half[1][2], 3);
    EXPECT_EQ(half[2][1], -3);
    EXPECT_EQ(half[1][3], 2);
    EXPECT_EQ(half[3][1], 1);
    EXPECT_EQ(net::ScaledLoads(loads, 0.49)[3][1], 0);
    EXPECT_EQ(NonZero(net::ScaledLoads(loads, 0.0)), 0);
    EXPECT_EQ(NonZero(net::ScaledLoads(loads, 1e-12)), 0);
    EXPECT_EQ(net::ScaledLoads(loads, 1.0), loads);
    // 1073741823 * 2 is the limit less one; 2.000000002 reaches one past it.
    EXPECT_EQ(net::ScaledLoads(loads, 2.0)[18][18], Int32Max - 1);
    EXPECT_EQ(MessageOf([&] { net::ScaledLoads(loads, 2.0000000019); }),
              "Нагрузка 18→18 после умножения стала бы 2147483648, а она должна быть от "
              "-2147483648 до 2147483647; нагрузки не изменены");
    LoadTable lowest{};
    lowest[4][5] = Int32Min;
    EXPECT_EQ(net::ScaledLoads(lowest, 1.0), lowest);
    EXPECT_NE(MessageOf([&] { net::ScaledLoads(lowest, 1.5); }), "(no error)");
    EXPECT_EQ(MessageOf([&] { net::ScaledLoads(loads, -0.5); }),
              "Множитель нагрузки -0.5 должен быть числом не меньше 0");
    EXPECT_NE(MessageOf([&] { net::ScaledLoads(loads, std::nan("")); }), "(no error)");
}

TEST(SymmetricLoads, BothDirectionsGetTheLargerOrTheSum) {
    LoadTable loads{};
    loads[1][2] = 5;
    loads[2][1] = 9;
    loads[3][4] = 6;
    loads[2][2] = 8;
    const LoadTable larger = net::SymmetricLoads(loads, net::SymmetryRule::Larger);
    EXPECT_EQ(Rows(larger, 4), "0 9 0 0 / 9 8 0 0 / 0 0 0 6 / 0 0 6 0");
    const LoadTable sum = net::SymmetricLoads(loads, net::SymmetryRule::Sum);
    EXPECT_EQ(Rows(sum, 4), "0 14 0 0 / 14 8 0 0 / 0 0 0 6 / 0 0 6 0");
    loads[17][18] = Int32Max - 1;
    loads[18][17] = 1;
    EXPECT_EQ(net::SymmetricLoads(loads, net::SymmetryRule::Sum)[18][17], Int32Max);
    loads[18][17] = 2;
    EXPECT_EQ(MessageOf([&] { net::SymmetricLoads(loads, net::SymmetryRule::Sum); }),
              "Нагрузка 17→18 в обе стороны стала бы 2147483648, а она должна быть от "
              "-2147483648 до 2147483647; нагрузки не изменены");
    EXPECT_EQ(net::SymmetricLoads(loads, net::SymmetryRule::Larger)[18][17], Int32Max - 1);
}

TEST(SummarizeLoads, CountsOnlyWhatRoutingIsOffered) {
    net::TNetObj net = Hosts(3);
    net.DeleteHost(3);
    LoadTable loads{};
    loads[1][2] = 40;
    loads[2][1] = 15;
    loads[1][1] = 500;   // the diagonal
    loads[1][3] = 900;   // an absent host
    loads[2][1] += -20;  // negative: no demand
    EXPECT_EQ(net::SummarizeLoads(net, loads).Total, 40);
    EXPECT_EQ(net::SummarizeLoads(net, loads).Largest, 40);
}

TEST(ParseSeed, TakesEveryUnsigned64BitDecimalAndNothingElse) {
    EXPECT_EQ(net::ParseSeed("0"), 0u);
    EXPECT_EQ(net::ParseSeed("18446744073709551615"), std::numeric_limits<uint64_t>::max());
    for (const char* bad : {"18446744073709551616", "-1", "", "1x", " 1", "+1"})
        EXPECT_NE(MessageOf<net::ConvertError>([&] { net::ParseSeed(bad); }), "(no error)") << bad;
    EXPECT_EQ(MessageOf([&] { net::ParseSeed("abc"); }),
              "Зерно «abc» должно быть целым числом от 0 до 18446744073709551615");
}

}  // namespace
