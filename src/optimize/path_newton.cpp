#include "path_newton.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "delay_model.h"

namespace optimize {
namespace {

// Conjugate gradients stop at this residual relative to the gradient, or
// after a bounded number of steps where the paths' Hessian is badly
// conditioned: an inexact direction, which the passes correct. Measured on
// the loaded networks of the benchmarks, tighter or longer solves cost more
// than they save.
constexpr double SolveTolerance = 1e-4;
constexpr int MaxSolveSteps = 30;
// Rounds of the quadratic model's solution, each holding a path it empties
// or freeing one.
constexpr int MaxModelRounds = 40;
// The step is halved until the summed delay falls by at least this share of
// what the first-order model promises (Armijo's rule).
constexpr double Sufficient = 1e-4;
constexpr int MaxHalvings = 50;

// One path that is not its demand's reference: the links its flow adds and
// the reference's it relieves.
struct Variable {
    size_t Demand = 0;
    size_t Share = 0;
    size_t Reference = 0;
    Shift Links;
    double Flow = 0.0;
    double Gradient = 0.0;      // first-derivative length minus the reference's
    double Preconditioner = 0;  // the Hessian's diagonal entry
};

struct LinkCurvature {
    std::vector<double> First;
    std::vector<double> Second;
};

LinkCurvature Curvature(const LinkGraph& graph, const std::vector<double>& flow) {
    LinkCurvature c{std::vector<double>(flow.size(), 0.0), std::vector<double>(flow.size(), 0.0)};
    for (size_t l = 0; l < flow.size(); ++l) {
        if (graph.Links[l].Carries()) {
            c.First[l] = LinkDelayDerivative(flow[l], graph.Links[l].Capacity);
            c.Second[l] = LinkDelaySecondDerivative(flow[l], graph.Links[l].Capacity);
        }
    }
    return c;
}

double Sum(const std::vector<int32_t>& links, const std::vector<double>& perLink) {
    double sum = 0.0;
    for (const int32_t l : links)
        sum += perLink[l];
    return sum;
}

std::vector<Variable> Variables(const SplitRouting& routing, const LinkCurvature& c) {
    std::vector<Variable> variables;
    for (size_t d = 0; d < routing.Shares.size(); ++d) {
        const std::vector<PathShare>& shares = routing.Shares[d];
        size_t reference = 0;
        for (size_t s = 1; s < shares.size(); ++s) {
            if (shares[s].Flow > shares[reference].Flow)
                reference = s;
        }
        for (size_t s = 0; s < shares.size(); ++s) {
            if (s == reference)
                continue;
            Variable v{d, s, reference, Difference(shares[s].Links, shares[reference].Links)};
            v.Flow = shares[s].Flow;
            v.Gradient = Sum(v.Links.Plus, c.First) - Sum(v.Links.Minus, c.First);
            v.Preconditioner = Sum(v.Links.Plus, c.Second) + Sum(v.Links.Minus, c.Second);
            if (v.Preconditioner > 0.0)
                variables.push_back(std::move(v));
        }
    }
    return variables;
}

// The link flows that the path moves `x` change.
std::vector<double> LinkChange(const std::vector<Variable>& variables, const std::vector<double>& x,
                               size_t links) {
    std::vector<double> change(links, 0.0);
    for (size_t k = 0; k < variables.size(); ++k) {
        if (x[k] == 0.0)
            continue;
        for (const int32_t l : variables[k].Links.Plus)
            change[l] += x[k];
        for (const int32_t l : variables[k].Links.Minus)
            change[l] -= x[k];
    }
    return change;
}

std::vector<double> HessianTimes(const std::vector<Variable>& variables, const LinkCurvature& c,
                                 const std::vector<double>& x) {
    std::vector<double> w = LinkChange(variables, x, c.Second.size());
    for (size_t l = 0; l < w.size(); ++l)
        w[l] *= c.Second[l];
    std::vector<double> product(variables.size());
    for (size_t k = 0; k < variables.size(); ++k)
        product[k] = Sum(variables[k].Links.Plus, w) - Sum(variables[k].Links.Minus, w);
    return product;
}

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0.0;
    for (size_t k = 0; k < a.size(); ++k)
        sum += a[k] * b[k];
    return sum;
}

// The quadratic model of the summed delay's change: g.s + s.H.s / 2.
struct Model {
    const std::vector<Variable>& Variables;
    const LinkCurvature& Curvature;

    std::vector<double> Gradient(const std::vector<double>& s) const {
        std::vector<double> gradient = HessianTimes(Variables, Curvature, s);
        for (size_t k = 0; k < gradient.size(); ++k)
            gradient[k] += Variables[k].Gradient;
        return gradient;
    }
    double Value(const std::vector<double>& s) const {
        const std::vector<double> change = LinkChange(Variables, s, Curvature.Second.size());
        double value = 0.0;
        for (size_t l = 0; l < change.size(); ++l)
            value +=
                Curvature.First[l] * change[l] + Curvature.Second[l] * change[l] * change[l] / 2;
        return value;
    }
};

// Solves H d = -r over the free variables by conjugate gradients
// preconditioned with H's diagonal; d is 0 on the others. H is singular
// where paths outnumber links, but r lies in its range.
std::vector<double> Solve(const Model& model, const std::vector<bool>& free,
                          std::vector<double> r) {
    const size_t n = r.size();
    for (size_t k = 0; k < n; ++k)
        r[k] = free[k] ? -r[k] : 0.0;
    std::vector<double> d(n, 0.0), z(n, 0.0);
    const double limit = SolveTolerance * SolveTolerance * Dot(r, r);
    for (size_t k = 0; k < n; ++k)
        z[k] = r[k] / model.Variables[k].Preconditioner;
    std::vector<double> p = z;
    double rz = Dot(r, z);
    for (int iteration = 0; iteration < MaxSolveSteps && Dot(r, r) > limit; ++iteration) {
        std::vector<double> hp = HessianTimes(model.Variables, model.Curvature, p);
        for (size_t k = 0; k < n; ++k)
            hp[k] = free[k] ? hp[k] : 0.0;
        const double curvature = Dot(p, hp);
        if (!(curvature > 0.0))
            break;
        const double step = rz / curvature;
        for (size_t k = 0; k < n; ++k) {
            d[k] += step * p[k];
            r[k] -= step * hp[k];
            z[k] = r[k] / model.Variables[k].Preconditioner;
        }
        const double next = Dot(r, z);
        for (size_t k = 0; k < n; ++k)
            p[k] = z[k] + next / rz * p[k];
        rz = next;
    }
    return d;
}

// The full step with every path it empties cut at 0 and held, when that
// lowers the model and cuts something.
bool CutAll(const Model& model, const std::vector<double>& d, std::vector<double>& s,
            std::vector<bool>& free, double& value) {
    std::vector<double> next(s.size());
    std::vector<size_t> cut;
    for (size_t k = 0; k < s.size(); ++k) {
        next[k] = s[k] + d[k];
        if (next[k] < -model.Variables[k].Flow) {
            next[k] = -model.Variables[k].Flow;
            cut.push_back(k);
        }
    }
    if (cut.empty())
        return false;
    const double nextValue = model.Value(next);
    if (!(nextValue < value))
        return false;
    s = std::move(next);
    value = nextValue;
    for (const size_t k : cut)
        free[k] = false;
    return true;
}

// The step up to the first path it empties, which is then held; the full
// step when it empties none (and false).
bool CutFirst(const Model& model, const std::vector<double>& d, std::vector<double>& s,
              std::vector<bool>& free) {
    const size_t n = s.size();
    double amount = 1.0;
    size_t blocking = n;
    for (size_t k = 0; k < n; ++k) {
        const double room = s[k] + model.Variables[k].Flow;
        if (d[k] < 0.0 && room + amount * d[k] < 0.0) {
            amount = room / -d[k];
            blocking = k;
        }
    }
    for (size_t k = 0; k < n; ++k)
        s[k] += amount * d[k];
    if (blocking == n)
        return false;
    s[blocking] = -model.Variables[blocking].Flow;
    free[blocking] = false;
    return true;
}

// The move of each path that minimises the quadratic model while no path
// flow turns negative, by active sets: a Newton step over the paths not held
// at 0, with every path it empties cut there and held when that lowers the
// model, else cut short at the first; after a full step, the held path whose
// model gradient most wants it back is freed.
std::vector<double> ModelMinimum(const Model& model) {
    const size_t n = model.Variables.size();
    std::vector<double> s(n, 0.0);
    std::vector<bool> free(n, true);
    // The paths a diagonal step would empty start empty and held.
    for (size_t k = 0; k < n; ++k) {
        const Variable& v = model.Variables[k];
        if (v.Gradient > 0.0 && v.Flow * v.Preconditioner <= v.Gradient) {
            s[k] = -v.Flow;
            free[k] = false;
        }
    }
    double value = model.Value(s);
    for (int round = 0; round < MaxModelRounds; ++round) {
        const std::vector<double> d = Solve(model, free, model.Gradient(s));
        if (CutAll(model, d, s, free, value))
            continue;
        if (CutFirst(model, d, s, free))
            continue;
        value = model.Value(s);
        const std::vector<double> gradient = model.Gradient(s);
        size_t release = n;
        for (size_t k = 0; k < n; ++k) {
            if (!free[k] && gradient[k] < 0.0 && (release == n || gradient[k] < gradient[release]))
                release = k;
        }
        if (release == n)
            break;
        free[release] = true;
    }
    return s;
}

struct Trial {
    std::vector<std::pair<int32_t, double>> LinkChange;
    bool Feasible = true;
};

// The link changes at `amount` along the moves; infeasible when a reference
// path would give more than it carries or a link reach its capacity.
Trial TryAmount(const LinkGraph& graph, const SplitRouting& routing,
                const std::vector<Variable>& variables, const std::vector<double>& s,
                double amount) {
    Trial trial;
    std::vector<double> moved(s.size());
    for (size_t k = 0; k < s.size(); ++k)
        moved[k] = amount * s[k];
    std::vector<std::vector<double>> referenceLoss(routing.Shares.size());
    for (size_t k = 0; k < s.size(); ++k) {
        const Variable& v = variables[k];
        std::vector<double>& loss = referenceLoss[v.Demand];
        loss.resize(routing.Shares[v.Demand].size(), 0.0);
        loss[v.Reference] += moved[k];
    }
    for (size_t d = 0; d < referenceLoss.size(); ++d) {
        for (size_t r = 0; r < referenceLoss[d].size(); ++r)
            trial.Feasible = trial.Feasible && referenceLoss[d][r] <= routing.Shares[d][r].Flow;
    }
    const std::vector<double> dense = LinkChange(variables, moved, graph.Links.size());
    for (size_t l = 0; l < dense.size(); ++l) {
        if (dense[l] == 0.0)
            continue;
        trial.LinkChange.emplace_back(static_cast<int32_t>(l), dense[l]);
        trial.Feasible = trial.Feasible && routing.Flow[l] + dense[l] < graph.Links[l].Capacity;
    }
    return trial;
}

// The change of the summed delay, without the cancellation of a difference
// of sums.
double DelayChange(const LinkGraph& graph, const std::vector<double>& flow,
                   const std::vector<std::pair<int32_t, double>>& change) {
    double sum = 0.0;
    for (const auto& [l, delta] : change)
        sum += LinkDelayIncrease(flow[l], delta, graph.Links[l].Capacity);
    return sum;
}

std::vector<double> FlowsOf(const SplitRouting& routing, size_t links) {
    std::vector<double> flow(links, 0.0);
    for (const std::vector<PathShare>& shares : routing.Shares) {
        for (const PathShare& share : shares) {
            for (const int32_t l : share.Links)
                flow[l] += share.Flow;
        }
    }
    return flow;
}

// A path emptied by the step keeps a trace of rounding of either sign: it
// goes to the demand's largest share, and shares of no flow go.
void DropEmptied(std::vector<PathShare>& shares) {
    if (shares.empty())
        return;
    double total = 0.0;
    for (const PathShare& share : shares)
        total += share.Flow;
    auto largest = std::max_element(shares.begin(), shares.end(),
                                    [](auto& a, auto& b) { return a.Flow < b.Flow; });
    for (PathShare& share : shares) {
        if (&share != &*largest && share.Flow <= 1e-12 * total) {
            largest->Flow += share.Flow;
            share.Flow = 0.0;
        }
    }
    std::erase_if(shares, [](const PathShare& s) { return s.Flow == 0.0; });
}

bool BelowCapacity(const LinkGraph& graph, const std::vector<double>& flow) {
    for (size_t l = 0; l < flow.size(); ++l) {
        if (flow[l] > 0.0 && !(flow[l] < graph.Links[l].Capacity))
            return false;
    }
    return true;
}

SplitRouting Moved(const LinkGraph& graph, const SplitRouting& routing,
                   const std::vector<Variable>& variables, const std::vector<double>& s,
                   double amount) {
    SplitRouting moved = routing;
    for (size_t k = 0; k < variables.size(); ++k) {
        const Variable& v = variables[k];
        std::vector<PathShare>& shares = moved.Shares[v.Demand];
        const double change = amount == 1.0 ? s[k] : amount * s[k];
        shares[v.Share].Flow = change == -v.Flow ? 0.0 : shares[v.Share].Flow + change;
        shares[v.Reference].Flow -= change;
    }
    for (std::vector<PathShare>& shares : moved.Shares)
        DropEmptied(shares);
    moved.Flow = FlowsOf(moved, graph.Links.size());
    return moved;
}

}  // namespace

bool NewtonStep(const LinkGraph& graph, SplitRouting& routing) {
    const LinkCurvature c = Curvature(graph, routing.Flow);
    const std::vector<Variable> variables = Variables(routing, c);
    if (variables.empty())
        return false;
    const std::vector<double> s = ModelMinimum(Model{variables, c});
    double promised = 0.0;
    for (size_t k = 0; k < s.size(); ++k)
        promised -= variables[k].Gradient * s[k];
    if (!(promised > 0.0))
        return false;
    double amount = 1.0;
    for (int halving = 0; halving < MaxHalvings; ++halving, amount /= 2) {
        const Trial trial = TryAmount(graph, routing, variables, s, amount);
        if (!trial.Feasible || trial.LinkChange.empty())
            continue;
        if (-DelayChange(graph, routing.Flow, trial.LinkChange) < Sufficient * amount * promised)
            continue;
        SplitRouting moved = Moved(graph, routing, variables, s, amount);
        if (!BelowCapacity(graph, moved.Flow))
            return false;
        routing = std::move(moved);
        return true;
    }
    return false;
}

}  // namespace optimize
