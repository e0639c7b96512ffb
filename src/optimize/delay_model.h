// The delay of one link as the mean delay counts it: a flow f over a link of
// capacity C costs 10000 * f / (C - f), the flow times the reciprocal of the
// residual in the method's scale. Defined for 0 <= f < C.
#pragma once

namespace optimize {

constexpr double DelayScale = 10000.0;

inline double LinkDelay(double flow, double capacity) {
    return DelayScale * flow / (capacity - flow);
}

// d/df of LinkDelay: 10000 * C / (C - f)^2, positive for every C > 0.
inline double LinkDelayDerivative(double flow, double capacity) {
    const double room = capacity - flow;
    return DelayScale * capacity / (room * room);
}

inline double LinkDelaySecondDerivative(double flow, double capacity) {
    const double room = capacity - flow;
    return 2.0 * DelayScale * capacity / (room * room * room);
}

// LinkDelay(flow + load) - LinkDelay(flow), without the cancellation of the
// difference.
inline double LinkDelayIncrease(double flow, double load, double capacity) {
    return DelayScale * capacity * load / ((capacity - flow - load) * (capacity - flow));
}

}  // namespace optimize
