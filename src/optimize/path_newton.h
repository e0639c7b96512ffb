// The second-order step of the delay bound: where gradient projection slows
// down (links near capacity, demands that share them), one projected Newton
// step over the path flows of all demands at once moves the coupled flows
// together.
#pragma once

#include "link_graph.h"
#include "split_routing.h"

namespace optimize {

// One step from `routing` (every link's flow below capacity): per demand its
// path of largest flow takes what the others give up; the others move along
// the Newton direction of the summed delay with the full Hessian of the used
// paths, found by preconditioned conjugate gradients. A path whose first-
// derivative length exceeds its reference path's and whose flow a diagonal
// step would empty stays where it is (gradient projection empties it). The
// amount is the exact minimum along the direction, so the summed delay never
// grows, no flow becomes negative and every link stays below capacity.
// Returns whether anything moved.
bool NewtonStep(const LinkGraph& graph, SplitRouting& routing);

}  // namespace optimize
