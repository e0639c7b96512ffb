#include "network_design.h"

#include <cmath>
#include <sstream>
#include <string>

#include "design_check.h"
#include "design_problem.h"
#include "design_search.h"
#include "errors.h"
#include "method_check.h"
#include "network_cost.h"
#include "search_clock.h"

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
        throw net::NetError("Наибольшая загрузка канала " + NumberText(umax) +
                            " вне допустимых пределов 0.05..1");
    umax_ = umax;
    return *this;
}

NetworkDesign& NetworkDesign::timeLimit(double seconds) {
    if (!(seconds > 0.0) || !std::isfinite(seconds))
        throw net::NetError("Время поиска " + NumberText(seconds) +
                            " с должно быть положительным и конечным");
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

namespace {

// The share of the time the design search takes; the rest is for a design
// the method's routing carries, when the proposed one leaves load unplaced.
constexpr double MainShare = 0.85;
// Lower limits tried for a design the method carries, as shares of UMAX.
constexpr double MethodUtilisationSteps[] = {0.9, 0.8, 0.7, 0.6, 0.5};

Design MakeDesign(const DesignProblem& problem, const PairTypes& types) {
    Design design;
    for (size_t p = 0; p < types.size(); ++p) {
        if (types[p] > 0) {
            const HostPair& pair = problem.Pairs[p];
            design.Channels.push_back({pair.HostA, pair.HostB, types[p], pair.KeptType > 0});
        }
    }
    design.Cost = DesignCost(problem, types);
    design.Method = CheckWithMethod(NetWithDesign(problem, types), problem.Survive);
    return design;
}

bool MethodCarries(const Design& design) {
    return design.Method.Unplaced == 0;
}

std::string InfeasibleReason(const DesignProblem& problem) {
    std::ostringstream text;
    text << "Нагрузку не несёт даже сеть, где каждая пара маршрутизаторов соединена каналом "
            "наибольшей пропускной способности, при загрузке каналов не выше "
         << problem.Umax;
    if (problem.Survive)
        text << " и после отказа любого одного канала при полной загрузке";
    return text.str();
}

}  // namespace

DesignStatus NetworkDesign::run() {
    result_ = DesignResult{};
    const DesignProblem problem = BuildDesignProblem(net_, {keep_, survive_, umax_});
    result_.LeftOutTypes = problem.LeftOutTypes;
    SearchClock clock(seconds_ * MainShare, progress_);
    const SearchOutcome outcome = SearchDesign(problem, clock);
    result_.Status = outcome.Status;
    result_.Bound = outcome.Bound;
    result_.Cancelled = clock.cancelled();
    if (outcome.Status == DesignStatus::Infeasible) {
        result_.InfeasibleReason = InfeasibleReason(problem);
        return result_.Status;
    }
    if (!outcome.Best)
        return result_.Status;
    result_.Proposed = MakeDesign(problem, *outcome.Best);
    if (MethodCarries(*result_.Proposed))
        return result_.Status;
    result_.MethodCarriedNeeded = true;
    // The progress shown stays that of the proposed design meanwhile.
    SearchClock rest(seconds_ - clock.elapsed(), [&](const DesignProgress& progress) {
        return !progress_ || progress_({result_.Proposed->Cost, result_.Bound,
                                        clock.elapsed() + progress.Seconds});
    });
    findMethodCarried(problem, rest, outcome.Found);
    result_.Cancelled = result_.Cancelled || rest.cancelled();
    return result_.Status;
}

// The cheapest design found that the method carries: among the designs the
// search found, then from searches with a lower utilisation limit, whose
// designs carry the load under the real limit too.
void NetworkDesign::findMethodCarried(const DesignProblem& problem, SearchClock& clock,
                                      const std::vector<PairTypes>& found) {
    for (const PairTypes& types : found) {
        Design design = MakeDesign(problem, types);
        if (MethodCarries(design)) {
            result_.MethodCarried = std::move(design);
            break;
        }
    }
    for (const double step : MethodUtilisationSteps) {
        if (result_.Cancelled || !clock.keepGoing())
            return;
        const double umax = umax_ * step;
        if (umax < MinUtilisation)
            return;
        DesignProblem lower;
        try {
            lower = BuildDesignProblem(net_, {keep_, survive_, umax});
        } catch (const net::NetError&) {
            return;  // some host's load no longer fits
        }
        const SearchOutcome outcome = SearchDesign(lower, clock);
        for (const PairTypes& types : outcome.Found) {
            if (result_.MethodCarried && DesignCost(problem, types) >= result_.MethodCarried->Cost)
                break;
            Design design = MakeDesign(problem, types);
            if (MethodCarries(design)) {
                result_.MethodCarried = std::move(design);
                return;
            }
        }
    }
}

}  // namespace design
