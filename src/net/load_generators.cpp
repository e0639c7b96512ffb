#include "load_generators.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <limits>
#include <numeric>

#include "errors.h"

namespace net {
namespace {

constexpr int64_t LoadLimit = std::numeric_limits<int32_t>::max();
constexpr int64_t LoadFloor = std::numeric_limits<int32_t>::min();

uint64_t SplitMix64(uint64_t& state) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t RotateLeft(uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

struct HostPair {
    int32_t Row = 0;
    int32_t Column = 0;
};

// The ordered pairs of distinct present hosts, row by row.
std::vector<HostPair> PresentPairs(const TNetObj& net) {
    std::vector<int32_t> hosts;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (net.HostPresent[h])
            hosts.push_back(h);
    }
    if (hosts.size() < 2)
        throw NetError("Для нагрузки нужны хотя бы два маршрутизатора, а в сети их " +
                       std::to_string(hosts.size()));
    std::vector<HostPair> pairs;
    for (const int32_t i : hosts) {
        for (const int32_t j : hosts) {
            if (i != j)
                pairs.push_back({i, j});
        }
    }
    return pairs;
}

std::string PairText(int32_t row, int32_t column) {
    return std::to_string(row) + "→" + std::to_string(column);
}

void CheckTotal(int32_t total) {
    if (total < 0)
        throw NetError("Сумма нагрузки " + std::to_string(total) + " меньше 0");
}

// Per host, the natural logarithm of its weight (-inf for a weight of 0).
std::array<double, MaxHosts + 1> LogWeights(const TNetObj& net,
                                            const std::vector<double>& weights) {
    std::array<double, MaxHosts + 1> logs{};
    const auto present =
        static_cast<size_t>(std::count(net.HostPresent.begin() + 1, net.HostPresent.end(), true));
    if (weights.empty())
        return logs;
    if (weights.size() != present)
        throw NetError("Весов " + std::to_string(weights.size()) + ", а маршрутизаторов " +
                       std::to_string(present) +
                       ": нужен вес каждого маршрутизатора по порядку номеров");
    size_t k = 0;
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (!net.HostPresent[h])
            continue;
        const double weight = weights[k++];
        if (!std::isfinite(weight) || weight < 0)
            throw NetError("Вес маршрутизатора " + std::to_string(h) + " (" + RealText(weight) +
                           ") должен быть числом не меньше 0");
        logs[h] = std::log(weight);
    }
    return logs;
}

// TOTAL split over `pairs` in proportion to exp(logShare), by largest
// remainders. The logarithms keep any weights and powers within range.
LoadTable Apportion(int32_t total, const std::vector<HostPair>& pairs,
                    const std::vector<double>& logShare) {
    LoadTable loads{};
    if (total == 0)
        return loads;
    const double top = *std::max_element(logShare.begin(), logShare.end());
    if (!std::isfinite(top))
        throw NetError(
            "Веса не дают нагрузки ни одной паре маршрутизаторов: нужны хотя бы два "
            "веса больше 0");
    std::vector<double> share(pairs.size());
    for (size_t p = 0; p < pairs.size(); ++p)
        share[p] = std::exp(logShare[p] - top);
    const double sum = std::accumulate(share.begin(), share.end(), 0.0);
    std::vector<double> remainder(pairs.size());
    int64_t given = 0;
    for (size_t p = 0; p < pairs.size(); ++p) {
        const double quota = total * (share[p] / sum);
        const double whole = std::floor(quota);
        loads[pairs[p].Row][pairs[p].Column] = static_cast<int32_t>(whole);
        remainder[p] = quota - whole;
        given += static_cast<int64_t>(whole);
    }
    std::vector<size_t> order(pairs.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&remainder](size_t a, size_t b) { return remainder[a] > remainder[b]; });
    // The floors miss TOTAL by less than one unit per pair, whatever rounding
    // the quotas suffered; the cycle only guards against the impossible.
    for (int64_t left = total - given, k = 0; left > 0; --left, ++k) {
        const HostPair& pair = pairs[order[static_cast<size_t>(k) % order.size()]];
        ++loads[pair.Row][pair.Column];
    }
    return loads;
}

LoadTable WeightedLoads(const TNetObj& net, int32_t total, double alpha,
                        const std::vector<double>& weights) {
    CheckTotal(total);
    const std::vector<HostPair> pairs = PresentPairs(net);
    const std::array<double, MaxHosts + 1> logWeight = LogWeights(net, weights);
    std::vector<double> logShare;
    for (const HostPair& pair : pairs) {
        double logShareOfPair = logWeight[pair.Row] + logWeight[pair.Column];
        if (alpha != 0) {
            const double distance = net.HostDistance(pair.Row, pair.Column);
            if (!(distance > 0))
                throw NetError("Маршрутизаторы " + std::to_string(pair.Row) + " и " +
                               std::to_string(pair.Column) +
                               " стоят в одной точке: расстояние между ними 0");
            logShareOfPair -= alpha * std::log(distance);
        }
        logShare.push_back(logShareOfPair);
    }
    return Apportion(total, pairs, logShare);
}

// A whole number as digits, however large (10000000000, not 1e+10).
std::string WholeText(double value) {
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, 0);
    return std::string(buffer.data(), written.ptr);
}

// Requires a whole number (or one beyond every range).
int32_t CheckedLoad(double value, int32_t row, int32_t column, const std::string& what) {
    if (!(value <= static_cast<double>(LoadLimit) && value >= static_cast<double>(LoadFloor)))
        throw NetError("Нагрузка " + PairText(row, column) + " " + what + " " + WholeText(value) +
                       ", а она должна быть от " + std::to_string(LoadFloor) + " до " +
                       std::to_string(LoadLimit) + "; нагрузки не изменены");
    return static_cast<int32_t>(value);
}

}  // namespace

LoadRandom::LoadRandom(uint64_t seed) {
    for (uint64_t& word : state_)
        word = SplitMix64(seed);
}

uint64_t LoadRandom::Next() {
    const uint64_t result = RotateLeft(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = RotateLeft(state_[3], 45);
    return result;
}

int64_t LoadRandom::Between(int64_t low, int64_t high) {
    assert(low <= high && high - low < (int64_t{1} << 62));
    const uint64_t range = static_cast<uint64_t>(high - low) + 1;
    unsigned __int128 product = static_cast<unsigned __int128>(Next()) * range;
    auto fraction = static_cast<uint64_t>(product);
    if (fraction < range) {
        // Products whose low word falls below 2^64 mod range would favour
        // some values: they are drawn again.
        const uint64_t threshold = (0 - range) % range;
        while (fraction < threshold) {
            product = static_cast<unsigned __int128>(Next()) * range;
            fraction = static_cast<uint64_t>(product);
        }
    }
    return low + static_cast<int64_t>(product >> 64);
}

bool LoadRandom::Chance(double probability) {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53 < probability;
}

LoadTable UniformLoads(const TNetObj& net, const UniformLoadParams& params) {
    if (params.Min < 0)
        throw NetError("Наименьшая нагрузка " + std::to_string(params.Min) + " меньше 0");
    if (params.Min > params.Max)
        throw NetError("Наименьшая нагрузка " + std::to_string(params.Min) + " больше наибольшей " +
                       std::to_string(params.Max));
    if (!(params.Density >= 0 && params.Density <= 1))
        throw NetError("Доля пар " + RealText(params.Density) + " должна быть от 0 до 1");
    LoadTable loads{};
    LoadRandom random(params.Seed);
    for (const HostPair& pair : PresentPairs(net)) {
        if (random.Chance(params.Density))
            loads[pair.Row][pair.Column] =
                static_cast<int32_t>(random.Between(params.Min, params.Max));
    }
    return loads;
}

LoadTable GravityLoads(const TNetObj& net, int32_t total, const std::vector<double>& weights) {
    return WeightedLoads(net, total, 0.0, weights);
}

LoadTable DistanceLoads(const TNetObj& net, int32_t total, double alpha,
                        const std::vector<double>& weights) {
    if (!std::isfinite(alpha) || alpha < 0)
        throw NetError("Показатель степени расстояния " + RealText(alpha) +
                       " должен быть числом не меньше 0");
    return WeightedLoads(net, total, alpha, weights);
}

LoadTable PlacedLoads(const TNetObj& net, const LoadTable& generated, LoadPlacing placing) {
    if (placing == LoadPlacing::Replace)
        return generated;
    LoadTable sum = net.LoadMatrix;
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            const double value = static_cast<double>(int64_t{sum[i][j]} + generated[i][j]);
            sum[i][j] = CheckedLoad(value, i, j, "с добавкой стала бы");
        }
    }
    return sum;
}

LoadTable ScaledLoads(const LoadTable& loads, double factor) {
    if (!std::isfinite(factor) || factor < 0)
        throw NetError("Множитель нагрузки " + RealText(factor) +
                       " должен быть числом не меньше 0");
    LoadTable scaled{};
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            // std::round takes halves away from zero.
            const double value = std::round(loads[i][j] * factor);
            scaled[i][j] = CheckedLoad(value, i, j, "после умножения стала бы");
        }
    }
    return scaled;
}

LoadTable SymmetricLoads(const LoadTable& loads, SymmetryRule rule) {
    LoadTable symmetric = loads;
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = i + 1; j <= MaxHosts; ++j) {
            const int64_t there = loads[i][j];
            const int64_t back = loads[j][i];
            const int64_t both =
                rule == SymmetryRule::Larger ? std::max(there, back) : there + back;
            symmetric[i][j] = symmetric[j][i] =
                CheckedLoad(static_cast<double>(both), i, j, "в обе стороны стала бы");
        }
    }
    return symmetric;
}

LoadSummary SummarizeLoads(const TNetObj& net, const LoadTable& loads) {
    LoadSummary summary;
    for (int32_t i = 1; i <= MaxHosts; ++i) {
        for (int32_t j = 1; j <= MaxHosts; ++j) {
            if (i == j || !net.HostPresent[i] || !net.HostPresent[j] || loads[i][j] <= 0)
                continue;
            summary.Total += loads[i][j];
            summary.Largest = std::max(summary.Largest, loads[i][j]);
        }
    }
    return summary;
}

std::string RealText(double value) {
    std::array<char, 64> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), written.ptr);
}

uint64_t ParseSeed(const std::string& text) {
    uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw ConvertError("Зерно «" + text + "» должно быть целым числом от 0 до " +
                           std::to_string(std::numeric_limits<uint64_t>::max()));
    return seed;
}

}  // namespace net
