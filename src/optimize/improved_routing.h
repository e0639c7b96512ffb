// A better single-path routing than the greedy one. Two starts, the greedy
// routing and the demands placed largest first each on its path of least
// exact added delay, are each improved by one-demand moves (a demand moved
// to the path that lowers the mean delay most, an unplaced one placed where
// a path has come free, until a whole pass changes nothing); the better of
// the two is kept.
#pragma once

#include "link_graph.h"
#include "single_path.h"

namespace optimize {

// `start` is the greedy routing. Keeps every link's residual at 1 or more, as
// routing does. Of the two, the one that places more demands, then more
// load, then has the smaller mean delay; the other start only when it places
// at least the greedy routing's demands and load. So never fewer demands or
// less load than the greedy routing, and with the same demands placed never
// a larger mean delay. Deterministic.
SinglePathRouting ImproveRouting(const LinkGraph& graph, SinglePathRouting start);

}  // namespace optimize
