#include "network_design.h"

#include <cmath>
#include <string>

#include "errors.h"
#include "method_check.h"
#include "network_cost.h"

namespace design {

NetworkDesign::NetworkDesign(const net::TNetObj& net) : net_(net) {}

NetworkDesign& NetworkDesign::keepPresent(bool keep) {
    keep_ = keep;
    return *this;
}

NetworkDesign& NetworkDesign::survive(bool survive) {
    survive_ = survive;
    return *this;
}

NetworkDesign& NetworkDesign::maxUtilisation(double umax) {
    if (!(umax >= MinUtilisation && umax <= MaxUtilisation))
        throw net::NetError("Наибольшая загрузка канала " + std::to_string(umax) +
                            " вне допустимых пределов 0.05..1");
    umax_ = umax;
    return *this;
}

NetworkDesign& NetworkDesign::timeLimit(double seconds) {
    if (!(seconds > 0.0) || !std::isfinite(seconds))
        throw net::NetError("Время поиска " + std::to_string(seconds) +
                            " с должно быть положительным");
    seconds_ = seconds;
    return *this;
}

NetworkDesign& NetworkDesign::progress(std::function<bool(const DesignProgress&)> callback) {
    progress_ = std::move(callback);
    return *this;
}

const DesignResult& NetworkDesign::result() const {
    return result_;
}

// First piece: every pair joined by the largest type; the search follows.
DesignStatus NetworkDesign::run() {
    result_ = DesignResult{};
    int32_t best = 0;
    for (int32_t t = 1; t <= net_.ChannelTypeCount && t <= net::MaxTypes; ++t) {
        if (best == 0 || net_.ChannelTypes[t].Capacity > net_.ChannelTypes[best].Capacity)
            best = t;
    }
    if (best == 0)
        throw net::NetError("Таблица типов каналов пуста");
    Design design;
    for (int32_t a = 1; a <= net::MaxHosts; ++a) {
        for (int32_t b = a + 1; b <= net::MaxHosts; ++b) {
            if (!net_.HostPresent[a] || !net_.HostPresent[b])
                continue;
            design.Channels.push_back({a, b, best, false});
            design.Cost += net::ChannelCost(net_, best, a, b);
        }
    }
    net::TNetObj applied = net_;
    ApplyDesign(applied, design);
    design.Method = CheckWithMethod(applied, survive_);
    result_.Proposed = design;
    result_.Status = DesignStatus::Stopped;
    return result_.Status;
}

}  // namespace design
