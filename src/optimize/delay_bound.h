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
// Passes are bounded by their count and by the demand steps they take, so
// that the largest network stops within a fraction of a second. Networks
// whose optimum runs links close to capacity can need more: the result then
// says how far it got.
constexpr int MaxDelayPasses = 2000;
constexpr int MaxDelaySteps = 200000;

// Path-based gradient projection from `start`, a routing of the connected
// demands with every link's flow below its capacity: each demand in turn
// moves flow from its other paths to its path of least first-derivative
// length, each move the exact minimum along the line (Newton's method,
// safeguarded by bisection). Stops at the gap or at the bounds above.
DelayBound FindDelayBound(const LinkGraph& graph, SplitRouting start);

}  // namespace optimize
