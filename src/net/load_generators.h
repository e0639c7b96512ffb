// Load matrices made rather than typed: uniform random, gravity and
// population-distance generators over the present hosts, scaling by a factor
// and making both directions of every pair agree. Each operation checks all
// of its input and computes its whole result before the network changes, so
// a refused one changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "netobj.h"

namespace net {

using LoadTable = HostMatrix<int32_t>;

// xoshiro256** seeded through SplitMix64: the same seed gives the same
// numbers on every machine and with every standard library.
class LoadRandom {
public:
    explicit LoadRandom(uint64_t seed);
    uint64_t Next();
    // An integer drawn evenly from [low, high] (Lemire's multiply-and-reject).
    // Requires low <= high.
    int64_t Between(int64_t low, int64_t high);
    // True with the given probability (53-bit fraction); always for 1, never for 0.
    bool Chance(double probability);

private:
    uint64_t state_[4];
};

struct UniformLoadParams {
    int32_t Min = 0;
    int32_t Max = 0;
    uint64_t Seed = 0;
    double Density = 1.0;  // share of the ordered pairs that get a load
};

// Each ordered pair of distinct present hosts, row by row, first decides
// with DENSITY whether it gets a load, then draws it from [MIN, MAX].
LoadTable UniformLoads(const TNetObj& net, const UniformLoadParams& params);

// TOTAL split over the ordered pairs of distinct present hosts in proportion
// to w_i * w_j, rounded by largest remainders so the sum is exactly TOTAL
// (equal remainders: the earlier pair first). `weights` holds one weight per
// present host in host-number order, or none for equal weights.
LoadTable GravityLoads(const TNetObj& net, int32_t total, const std::vector<double>& weights);

// As GravityLoads with each share also divided by the distance between the
// two hosts (the length a channel between them would have) to the power ALPHA.
LoadTable DistanceLoads(const TNetObj& net, int32_t total, double alpha,
                        const std::vector<double>& weights);

enum class LoadPlacing { Replace, Add };

// The matrix the network would hold after placing `generated`: the
// generated matrix itself, or its sum with the present one (every entry
// checked against the signed 32-bit range).
LoadTable PlacedLoads(const TNetObj& net, const LoadTable& generated, LoadPlacing placing);

// Every entry times FACTOR, rounded half away from zero; FACTOR 0 or more.
LoadTable ScaledLoads(const LoadTable& loads, double factor);

enum class SymmetryRule { Larger, Sum };

// Both directions of every pair of distinct hosts get the larger of the two
// entries or their sum; the diagonal stays as it is.
LoadTable SymmetricLoads(const LoadTable& loads, SymmetryRule rule);

// The total and the largest entry of the loads between distinct present
// hosts: what routing is offered.
struct LoadSummary {
    int64_t Total = 0;
    int32_t Largest = 0;
};
LoadSummary SummarizeLoads(const TNetObj& net, const LoadTable& loads);

// A real number as the messages show it: the shortest text that reads back
// as the same value.
std::string RealText(double value);

// A seed typed as a decimal from 0 to 2^64 - 1; anything else raises
// ConvertError naming the text.
uint64_t ParseSeed(const std::string& text);

}  // namespace net
