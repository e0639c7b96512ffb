// The smallest mean delay any splittable routing of the load can reach, with
// a certificate: a lower bound from the linearisation of the mean delay at
// the final flows, and the flows' own mean delay above it.
#pragma once

#include "link_graph.h"
#include "split_routing.h"

namespace optimize {

struct DelayBound {
    double Lower = 0.0;       // no splittable routing has a smaller mean delay
    double Upper = 0.0;       // the mean delay of the routing found
    bool GapReached = false;  // Upper - Lower <= RelativeGap * Upper
    int Passes = 0;
    SplitRouting Routing;
};

constexpr double RelativeGap = 1e-6;
// Passes are bounded by their count and by the demand steps they take: a
// guard against a fault, which the networks the method holds do not reach
// (the hardest seen need about sixty passes). The result then says how
// far it got.
constexpr int MaxDelayPasses = 2000;
constexpr int MaxDelaySteps = 200000;

// From `start`, a routing of the connected demands with every link's flow
// below its capacity. Each pass is one round of path-based gradient
// projection (each demand in turn moves flow from its other paths to its
// path of least first-derivative length, each move the exact minimum along
// the line, by Newton's method safeguarded by bisection), then one projected
// Newton step over all path flows at once (path_newton.h), which moves the
// flows of demands that share links together where the first round alone
// slows down. Stops at the gap or after `passLimit` passes (at most the
// bounds above).
DelayBound FindDelayBound(const LinkGraph& graph, SplitRouting start,
                          int passLimit = MaxDelayPasses);

}  // namespace optimize
