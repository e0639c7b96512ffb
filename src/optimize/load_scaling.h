// "Load the network to U": the factor that makes the smallest possible
// busiest channel of the load equal a target, and the load scaled by it.
// Beside the model's plain scaling because the bound needs the solver.
#pragma once

#include <optional>

#include "load_generators.h"
#include "netobj.h"

namespace optimize {

struct TargetScaling {
    double BusiestBefore = 0.0;  // the smallest possible busiest channel now
    double Factor = 0.0;         // TARGET / BusiestBefore
    net::LoadTable Loads{};      // every load times Factor, rounded
};

// Raises NetError for a TARGET that is not a number above 0, for a network
// without a channel that carries, and for a load that no such channel can
// carry any of (none, or only between hosts no channel joins); raises what
// routing raises (a channel type missing from the table) before anything.
TargetScaling ScaleToTarget(const net::TNetObj& net, double target);

// The smallest possible busiest channel of the network's load, or none when
// no demand is carried by a channel.
std::optional<double> SmallestBusiest(const net::TNetObj& net);

}  // namespace optimize
