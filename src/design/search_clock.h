// The time a search may take and whether its caller still wants it.
#pragma once

#include <chrono>
#include <functional>
#include <limits>

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

    // Whether there is time left and the caller still wants the search.
    // Between the steps of a long check the caller is asked again now and
    // then with the last figures, so that a stop acts at any stage.
    bool keepGoing() {
        if (!timeLeft() || cancelled_)
            return false;
        if (std::chrono::steady_clock::now() - lastReport_ >= RemindEvery)
            report(lastBest_, lastBound_);
        return !cancelled_;
    }

    // Tells the caller how far the search is; false once it asked to stop.
    bool report(double bestCost, double bound) {
        if (cancelled_)
            return false;
        lastBest_ = bestCost;
        lastBound_ = bound;
        lastReport_ = std::chrono::steady_clock::now();
        if (progress_) {
            const DesignProgress progress{bestCost, bound, elapsed()};
            cancelled_ = !progress_(progress);
        }
        return !cancelled_;
    }

private:
    static constexpr std::chrono::milliseconds RemindEvery{200};

    std::chrono::steady_clock::time_point started_;
    double seconds_;
    std::function<bool(const DesignProgress&)> progress_;
    bool cancelled_ = false;
    std::chrono::steady_clock::time_point lastReport_ = started_;
    double lastBest_ = std::numeric_limits<double>::infinity();
    double lastBound_ = 0.0;
};

}  // namespace design
