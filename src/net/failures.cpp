#include "failures.h"

#include <algorithm>
#include <tuple>

#include "texts.h"

namespace net {
namespace {

// The demands that start or end at `host` and would otherwise have been
// routed: the other end present, off the diagonal, a positive load.
void CountLostDemands(const TNetObj& net, int32_t host, FailureRow& row) {
    for (int32_t other = 1; other <= MaxHosts; ++other) {
        if (other == host || !net.HostPresent[other])
            continue;
        for (const int32_t load : {net.LoadMatrix[host][other], net.LoadMatrix[other][host]}) {
            if (load > 0) {
                ++row.LostCount;
                row.LostLoad += load;
            }
        }
    }
}

void RecordRouting(const TNetObj& routed, FailureRow& row) {
    row.PlacedCount = routed.PathTable.PathCount;
    for (int32_t p = 1; p <= routed.PathTable.PathCount; ++p) {
        const double delay = PathDelay(routed, p);
        if (p == 1 || delay > row.MaxPathDelay)
            row.MaxPathDelay = delay;
    }
    row.UnplacedCount = routed.Unrouted.Count;
    for (int32_t u = 1; u <= routed.Unrouted.Count; ++u)
        row.UnplacedLoad += routed.Unrouted.Items[u].Load;
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (!routed.ChannelPresent[c])
            continue;
        const int32_t residual =
            routed.ResidualMatrix[routed.Channels[c].HostA][routed.Channels[c].HostB];
        if (row.BusiestChannel == 0 || residual < row.BusiestResidual) {
            row.BusiestChannel = c;
            row.BusiestResidual = residual;
        }
    }
}

// Sort key: larger is worse for the first two fields; a row without any
// path is the least bad at equal unplaced load.
auto Severity(const FailureRow& row) {
    return std::make_tuple(row.UnplacedLoad, row.PlacedCount > 0, row.MaxPathDelay);
}

bool WorseFirst(const FailureRow& a, const FailureRow& b) {
    if (Severity(a) != Severity(b))
        return Severity(a) > Severity(b);
    return std::make_tuple(a.Kind, a.Element) < std::make_tuple(b.Kind, b.Element);
}

}  // namespace

FailureRow AnalyzeFailure(const TNetObj& net, FailedKind kind, int32_t element) {
    FailureRow row;
    row.Kind = kind;
    row.Element = element;
    TNetObj copy = net;
    copy.DynamicRouting = false;
    if (kind == FailedKind::Channel) {
        copy.DeleteChannel(element);
    } else if (kind == FailedKind::Host) {
        CountLostDemands(copy, element, row);
        copy.DeleteHost(element);
    }
    row.Class = copy.Classify();
    copy.RouteAll();
    RecordRouting(copy, row);
    return row;
}

std::vector<FailureRow> AnalyzeFailures(const TNetObj& net) {
    std::vector<FailureRow> rows;
    rows.push_back(AnalyzeFailure(net, FailedKind::None, 0));
    for (int32_t c = 1; c <= MaxChannels; ++c) {
        if (net.ChannelPresent[c])
            rows.push_back(AnalyzeFailure(net, FailedKind::Channel, c));
    }
    for (int32_t h = 1; h <= MaxHosts; ++h) {
        if (net.HostPresent[h])
            rows.push_back(AnalyzeFailure(net, FailedKind::Host, h));
    }
    std::sort(rows.begin() + 1, rows.end(), WorseFirst);
    return rows;
}

}  // namespace net
