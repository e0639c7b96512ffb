// The second-order step of the delay bound: where gradient projection slows
// down (links near capacity, demands that share them), one projected Newton
// step over the path flows of all demands at once moves the coupled flows
// together.
#pragma once

#include "link_graph.h"
#include "split_routing.h"

namespace optimize {

// One step from `routing` (every link's flow below capacity): per demand its
// path of largest flow takes what the others give up. The others move by the
// minimum of the quadratic model of the summed delay (the full Hessian of
// the used paths) under no flow turning negative: Newton steps by
// preconditioned conjugate gradients over the paths not held at 0, each
// searched along its projection onto the bounds, every path it empties held
// there (those a diagonal step would empty from the start).
// The step is then halved until the summed delay falls enough (Armijo's
// rule) with every link below capacity, so the summed delay never grows and
// no flow becomes negative. Returns whether anything moved. `nearOptimum`
// (the caller's gap is small) lets the solves run longer, for a nearly
// exact step.
bool NewtonStep(const LinkGraph& graph, SplitRouting& routing, bool nearOptimum = false);

}  // namespace optimize
