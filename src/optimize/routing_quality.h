// How good the routing is: the greedy routing of the method, the improved
// single-path routing and the bounds over every splittable routing of the
// same load, computed together on a copy of the network.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "delay_bound.h"
#include "link_graph.h"
#include "netobj.h"
#include "single_path.h"

namespace optimize {

struct QualityBounds {
    // The connected demands (those some routing can carry at least in part)
    // and the rest.
    int32_t Carried = 0;
    int32_t NotCarried = 0;
    int64_t NotCarriedLoad = 0;
    // None when no demand is connected.
    std::optional<double> BusiestMin;
    // Channels that limit BusiestMin, when the load does not fit.
    std::vector<int32_t> Bottlenecks;
    // None unless the load fits (BusiestMin below 1).
    std::optional<DelayBound> Delay;

    // BusiestMin is 1 or more as the figures show it, to 6 decimals.
    bool LoadDoesNotFit() const { return BusiestMin && *BusiestMin >= 1.0 - 5e-7; }
};

struct QualityReport {
    LinkGraph Graph;
    SinglePathRouting GreedyRouting;
    SinglePathRouting ImprovedRouting;
    RoutingFigures Greedy;
    RoutingFigures Improved;
    QualityBounds Bounds;
};

// Raises what routing raises (a channel type missing from the table, a
// capacity that routing divides by zero) before anything else is done.
QualityReport AnalyzeQuality(const net::TNetObj& net);

// Makes the improved routing of `net` the routing results, as if routing had
// produced them; dynamic routing replaces them at the next change.
void ApplyImprovedRouting(net::TNetObj& net);

// A figure with 6 decimals and a point, "-" for none.
std::string FigureText(const std::optional<double>& value);

}  // namespace optimize
