#include "method_check.h"

#include "failures.h"
#include "network_cost.h"

namespace design {

MethodCheck CheckWithMethod(const net::TNetObj& net, bool survive) {
    const net::FailureRow intact = net::AnalyzeFailure(net, net::FailedKind::None, 0);
    MethodCheck check;
    check.Placed = intact.PlacedCount;
    check.Unplaced = intact.UnplacedCount;
    check.UnplacedLoad = intact.UnplacedLoad;
    if (!survive)
        return check;
    check.FailuresLeavingLoad = 0;
    for (int32_t c = 1; c <= net::MaxChannels; ++c) {
        if (!net.ChannelPresent[c])
            continue;
        if (net::AnalyzeFailure(net, net::FailedKind::Channel, c).UnplacedLoad > 0)
            ++check.FailuresLeavingLoad;
    }
    return check;
}

}  // namespace design

namespace design {

PresentNetwork CheckPresentNetwork(const net::TNetObj& net, bool survive) {
    const net::NetworkCostT cost = net::NetworkCost(net);
    PresentNetwork present;
    present.Cost = cost.Cost;
    present.ChannelsWithoutType = cost.ChannelsWithoutType;
    present.Method = CheckWithMethod(net, survive);
    return present;
}

}  // namespace design
