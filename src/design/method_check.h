// How the method's own greedy routing fares on a network: the routing that
// "статическая маршрутизация" runs and, with survive, the single-failure
// analysis of every channel.
#pragma once

#include "netobj.h"
#include "network_design.h"

namespace design {

// Routes a copy of `net` as static routing does; with `survive`, also counts
// the channels whose failure leaves load unplaced.
MethodCheck CheckWithMethod(const net::TNetObj& net, bool survive);

}  // namespace design
