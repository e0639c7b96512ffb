// A better single-path routing than the greedy one. Up to three starts (the
// greedy routing; the demands placed largest first each on its path of least
// exact added delay; the split optimum rounded, each demand largest first on
// its share of most flow where it fits) are each improved by one-demand
// moves (a demand moved to the path that lowers the mean delay most, an
// unplaced one placed where a path has come free, until a whole pass changes
// nothing); the best is kept.
#pragma once

#include "link_graph.h"
#include "single_path.h"
#include "split_routing.h"

namespace optimize {

// `start` is the greedy routing; `splitOptimum`, when given, the delay
// bound's routing of the same graph. Keeps every link's residual at 1 or
// more, as routing does. Of the starts, the one that places more demands,
// then more load, then has a clearly smaller mean delay, the greedy start
// first; another start only when it places at least the greedy routing's
// demands and load. So never fewer demands or less load than the greedy
// routing, and with the same demands placed never a larger mean delay.
// Deterministic.
SinglePathRouting ImproveRouting(const LinkGraph& graph, SinglePathRouting start,
                                 const SplitRouting* splitOptimum = nullptr);

}  // namespace optimize
