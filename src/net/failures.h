// Single-failure analysis: what the network still carries when one channel
// or one host fails.
//
// Every row is computed on a copy of the network, with dynamic routing off:
// the element is removed with the model's own delete operation, the copy is
// classified and the whole load matrix is routed as static routing does.
//
// The demands of a failed host leave with it: they are counted in their own
// columns (Lost...) and not as unplaced, so that "unplaced" always means
// traffic between surviving hosts that the surviving network could not carry.
#pragma once

#include <cstdint>
#include <vector>

#include "netobj.h"

namespace net {

enum class FailedKind : int32_t { None = 0, Channel = 1, Host = 2 };

struct FailureRow {
    FailedKind Kind = FailedKind::None;
    int32_t Element = 0;  // channel or host number; 0 for the row without failure
    ConnectivityClass Class = Disconnected;
    int32_t PlacedCount = 0;  // demands routed
    int32_t UnplacedCount = 0;
    int64_t UnplacedLoad = 0;
    int32_t LostCount = 0;  // demands from or to the failed host
    int64_t LostLoad = 0;
    double MaxPathDelay = 0.0;   // largest delay sum of a path; 0.0 when PlacedCount is 0
    int32_t BusiestChannel = 0;  // smallest residual, lowest number first; 0 when no channel
    int32_t BusiestResidual = 0;

    bool operator==(const FailureRow&) const = default;
};

// The row without failure first, then one row per present channel and per
// present host, worst first: unplaced load descending, then largest path
// delay descending (rows without any path last), then channels before hosts,
// lower numbers first. A routing error is raised as RouteAll raises it.
std::vector<FailureRow> AnalyzeFailures(const TNetObj& net);

// The outcome of one failure (kind None: none) on a copy of `net`.
FailureRow AnalyzeFailure(const TNetObj& net, FailedKind kind, int32_t element);

}  // namespace net
