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
constexpr int MaxSolveSteps = 20;
// Close to the optimum the path set has settled and a longer, nearly exact, solve
// makes the steps converge fast where the bounded ones only creep.
constexpr int MaxSolveStepsNearOptimum = 60;
// Rounds of the quadratic model's solution, each holding the paths it
// empties or freeing one. Measured on the loaded networks of the
// benchmarks: more rounds cost more than the better step saves in passes.
constexpr int MaxModelRounds = 10;
// Halvings of one round's step before the round gives up.
constexpr int MaxSearchHalvings = 30;
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

// The variables' links in flat arrays, for the inner loops: variable k adds
// flow on [Start[k], PlusEnd[k]) and relieves its reference on
// [PlusEnd[k], Start[k + 1]). Kept apart rather than signed, so that the
// loops add or subtract instead of multiplying by a sign.
struct Incidence {
    std::vector<size_t> Start{0};
    std::vector<size_t> PlusEnd;
    std::vector<int32_t> Links;
    size_t LinkCount = 0;

    void Append(const std::vector<int32_t>& plus, const std::vector<int32_t>& minus) {
        Links.insert(Links.end(), plus.begin(), plus.end());
        PlusEnd.push_back(Links.size());
        Links.insert(Links.end(), minus.begin(), minus.end());
        Start.push_back(Links.size());
    }
};

Incidence IncidenceOf(const std::vector<Variable>& variables, size_t links) {
    Incidence a;
    a.LinkCount = links;
    for (const Variable& v : variables)
        a.Append(v.Links.Plus, v.Links.Minus);
    return a;
}

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

// The link flows that the path moves `x` change, into `change`.
void LinkChange(const Incidence& a, const std::vector<double>& x, std::vector<double>& change) {
    change.assign(a.LinkCount, 0.0);
    for (size_t k = 0; k + 1 < a.Start.size(); ++k) {
        if (x[k] == 0.0)
            continue;
        const double moved = x[k];
        size_t e = a.Start[k];
        for (; e < a.PlusEnd[k]; ++e)
            change[a.Links[e]] += moved;
        for (; e < a.Start[k + 1]; ++e)
            change[a.Links[e]] -= moved;
    }
}

// H x into `product`, with `work` for the links.
void HessianTimes(const Incidence& a, const LinkCurvature& c, const std::vector<double>& x,
                  std::vector<double>& work, std::vector<double>& product) {
    LinkChange(a, x, work);
    for (size_t l = 0; l < work.size(); ++l)
        work[l] *= c.Second[l];
    product.resize(x.size());
    for (size_t k = 0; k < x.size(); ++k) {
        double sum = 0.0;
        size_t e = a.Start[k];
        for (; e < a.PlusEnd[k]; ++e)
            sum += work[a.Links[e]];
        for (; e < a.Start[k + 1]; ++e)
            sum -= work[a.Links[e]];
        product[k] = sum;
    }
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
    const Incidence& Paths;
    std::vector<double>& Work;  // one entry per link
    int SolveSteps = MaxSolveSteps;

    void Gradient(const std::vector<double>& s, std::vector<double>& gradient) const {
        HessianTimes(Paths, Curvature, s, Work, gradient);
        for (size_t k = 0; k < gradient.size(); ++k)
            gradient[k] += Variables[k].Gradient;
    }
    double Value(const std::vector<double>& s) const {
        LinkChange(Paths, s, Work);
        double value = 0.0;
        for (size_t l = 0; l < Work.size(); ++l)
            value += Curvature.First[l] * Work[l] + Curvature.Second[l] * Work[l] * Work[l] / 2;
        return value;
    }
};

// The rows of the free variables alone, renumbered, so that the solve's
// inner loops touch nothing else.
struct FreeRows {
    std::vector<size_t> Variable;  // per row, its variable
    Incidence Rows;
    std::vector<double> Preconditioner;
};

FreeRows FreeRowsOf(const Model& model, const std::vector<bool>& free) {
    FreeRows f;
    f.Rows.LinkCount = model.Paths.LinkCount;
    f.Variable.reserve(free.size());
    f.Preconditioner.reserve(free.size());
    f.Rows.Start.reserve(free.size() + 1);
    f.Rows.PlusEnd.reserve(free.size());
    f.Rows.Links.reserve(model.Paths.Links.size());
    for (size_t k = 0; k < free.size(); ++k) {
        if (!free[k])
            continue;
        f.Variable.push_back(k);
        f.Preconditioner.push_back(model.Variables[k].Preconditioner);
        const Shift& links = model.Variables[k].Links;
        f.Rows.Append(links.Plus, links.Minus);
    }
    return f;
}

// Solves H d = -r over the free variables by conjugate gradients
// preconditioned with H's diagonal, into `d`; d is 0 on the others. H is
// singular where paths outnumber links, but r lies in its range.
void Solve(const Model& model, const std::vector<bool>& free, const std::vector<double>& gradient,
           std::vector<double>& d) {
    const FreeRows f = FreeRowsOf(model, free);
    const size_t n = f.Variable.size();
    std::vector<double> r(n), x(n, 0.0), z(n), hp(n);
    for (size_t i = 0; i < n; ++i) {
        r[i] = -gradient[f.Variable[i]];
        z[i] = r[i] / f.Preconditioner[i];
    }
    const double limit = SolveTolerance * SolveTolerance * Dot(r, r);
    std::vector<double> p = z;
    double rz = Dot(r, z);
    for (int iteration = 0; iteration < model.SolveSteps && Dot(r, r) > limit; ++iteration) {
        HessianTimes(f.Rows, model.Curvature, p, model.Work, hp);
        const double curvature = Dot(p, hp);
        if (!(curvature > 0.0))
            break;
        const double step = rz / curvature;
        for (size_t i = 0; i < n; ++i) {
            x[i] += step * p[i];
            r[i] -= step * hp[i];
            z[i] = r[i] / f.Preconditioner[i];
        }
        const double next = Dot(r, z);
        for (size_t i = 0; i < n; ++i)
            p[i] = z[i] + next / rz * p[i];
        rz = next;
    }
    d.assign(free.size(), 0.0);
    for (size_t i = 0; i < n; ++i)
        d[f.Variable[i]] = x[i];
}

// Along the step with every path flow kept at 0 or above (the step
// projected onto those bounds), halved until the model falls; every path
// then at 0 that the step would take below is held there, so one round
// settles many paths at once. Returns false when no halving lowers the
// model; `whole` tells whether the whole step was taken with nothing cut.
bool ProjectedSearch(const Model& model, const std::vector<double>& d, std::vector<double>& s,
                     std::vector<bool>& free, double& value, bool& whole) {
    const size_t n = s.size();
    std::vector<double> next(n);
    double amount = 1.0;
    for (int halving = 0; halving < MaxSearchHalvings; ++halving, amount /= 2) {
        bool cut = false;
        for (size_t k = 0; k < n; ++k) {
            const double lowest = -model.Variables[k].Flow;
            next[k] = s[k] + amount * d[k];
            if (next[k] <= lowest) {
                cut = cut || d[k] < 0.0;
                next[k] = lowest;
            }
        }
        const double nextValue = model.Value(next);
        if (!(nextValue < value))
            continue;
        for (size_t k = 0; k < n; ++k) {
            if (d[k] < 0.0 && next[k] == -model.Variables[k].Flow)
                free[k] = false;
        }
        s.swap(next);
        value = nextValue;
        whole = amount == 1.0 && !cut;
        return true;
    }
    return false;
}

// Frees every held path whose model gradient wants flow back; false when
// none does. Freeing them all at once rather than the most wanted alone
// settles a large path set in the few rounds a step has.
bool ReleaseWanted(const std::vector<double>& gradient, std::vector<bool>& free) {
    bool released = false;
    for (size_t k = 0; k < free.size(); ++k) {
        if (!free[k] && gradient[k] < 0.0) {
            free[k] = true;
            released = true;
        }
    }
    return released;
}

// The move of each path that minimises the quadratic model while no path
// flow turns negative, by active sets: a Newton step over the paths not held
// at 0, searched along its projection onto the bounds, holding every path it
// empties; after a whole step, every held path that wants flow back is
// freed.
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
    std::vector<double> gradient, d;
    for (int round = 0; round < MaxModelRounds; ++round) {
        model.Gradient(s, gradient);
        Solve(model, free, gradient, d);
        bool whole = false;
        if (!ProjectedSearch(model, d, s, free, value, whole))
            break;
        if (!whole)
            continue;
        model.Gradient(s, gradient);
        if (!ReleaseWanted(gradient, free))
            break;
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
                const std::vector<Variable>& variables, const Incidence& paths,
                const std::vector<double>& s, double amount) {
    Trial trial;
    std::vector<double> moved(s.size());
    for (size_t k = 0; k < s.size(); ++k)
        moved[k] = amount * s[k];
    // Each demand has one reference path, which all its variables relieve.
    std::vector<double> referenceLoss(routing.Shares.size(), 0.0);
    for (size_t k = 0; k < s.size(); ++k)
        referenceLoss[variables[k].Demand] += moved[k];
    for (const Variable& v : variables) {
        trial.Feasible =
            trial.Feasible && referenceLoss[v.Demand] <= routing.Shares[v.Demand][v.Reference].Flow;
    }
    std::vector<double> dense;
    LinkChange(paths, moved, dense);
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

bool NewtonStep(const LinkGraph& graph, SplitRouting& routing, bool nearOptimum) {
    const LinkCurvature c = Curvature(graph, routing.Flow);
    const std::vector<Variable> variables = Variables(routing, c);
    if (variables.empty())
        return false;
    const Incidence paths = IncidenceOf(variables, graph.Links.size());
    std::vector<double> work;
    const std::vector<double> s = ModelMinimum(
        Model{variables, c, paths, work, nearOptimum ? MaxSolveStepsNearOptimum : MaxSolveSteps});
    double promised = 0.0;
    for (size_t k = 0; k < s.size(); ++k)
        promised -= variables[k].Gradient * s[k];
    if (!(promised > 0.0))
        return false;
    double amount = 1.0;
    for (int halving = 0; halving < MaxHalvings; ++halving, amount /= 2) {
        const Trial trial = TryAmount(graph, routing, variables, paths, s, amount);
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
