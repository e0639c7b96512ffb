// The time a search may take and whether its caller still wants it.
#pragma once

#include <chrono>
#include <functional>

#include "network_design.h"

namespace design {

class SearchClock {
public:
    SearchClock(double seconds, std::function<bool(const DesignProgress&)> progress)
        : started_(std::chrono::steady_clock::now()),
          seconds_(seconds),
          progress_(std::move(progress)) {}

    double elapsed() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    }
    double remaining() const { return seconds_ - elapsed(); }
    bool timeLeft() const { return remaining() > 0.0; }
    bool cancelled() const { return cancelled_; }
    bool keepGoing() const { return timeLeft() && !cancelled_; }

    // Tells the caller how far the search is; false once it asked to stop.
    bool report(double bestCost, double bound) {
        if (cancelled_)
            return false;
        if (progress_) {
            const DesignProgress progress{bestCost, bound, elapsed()};
            cancelled_ = !progress_(progress);
        }
        return !cancelled_;
    }

private:
    std::chrono::steady_clock::time_point started_;
    double seconds_;
    std::function<bool(const DesignProgress&)> progress_;
    bool cancelled_ = false;
};

}  // namespace design
