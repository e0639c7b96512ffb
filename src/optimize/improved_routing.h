// A better single-path routing than the greedy one: demands moved one at a
// time to the path that lowers the mean delay most, unplaced demands placed
// where a path has come free, until a whole pass changes nothing.
#pragma once

#include "link_graph.h"
#include "single_path.h"

namespace optimize {

// Starts from `start` (the greedy routing) and keeps every link's residual
// at 1 or more, as routing does. Never places fewer demands; with the same
// demands placed, never a larger mean delay. Deterministic.
SinglePathRouting ImproveRouting(const LinkGraph& graph, SinglePathRouting start);

}  // namespace optimize
