#include "kernelproc/DrawModel.h"

#include "kernelproc/PlotFunction.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kernelproc {

using wire::Expr;

namespace {

// The weights of held and dragged unknowns when the solution nearest the
// wanted values is chosen: held ones may not move at all; dragged ones move
// as little as they can.
constexpr double kFixed = std::numeric_limits<double>::infinity();
constexpr double kHeavy = 1e6;
// Where a named variable without a value starts.
constexpr double kNameStart = 1.0;

Expr list(std::vector<Expr> items)
{
    return Expr::function("List", std::move(items));
}
Expr failed()
{
    return Expr::symbol("$Failed");
}

// Groups of keys joined by shared equations.
class Components {
public:
    int key(const std::string& k)
    {
        auto [at, added] = index_.emplace(k, int(parent_.size()));
        if (added)
            parent_.push_back(at->second);
        return at->second;
    }
    int root(int k)
    {
        while (parent_[std::size_t(k)] != k)
            k = parent_[std::size_t(k)] = parent_[std::size_t(parent_[std::size_t(k)])];
        return k;
    }
    void join(int a, int b) { parent_[std::size_t(root(a))] = root(b); }

private:
    std::map<std::string, int> index_;
    std::vector<int> parent_;
};

std::string idKey(long long id)
{
    std::string key(1, '#');
    key += std::to_string(id);
    return key;
}

struct EquationKeys {
    std::vector<long long> ids;
    std::vector<std::string> names;
};

EquationKeys keysOf(const Expr& e)
{
    EquationKeys keys;
    drawVarsIn(e, keys.ids);
    namesIn(e, keys.names);
    return keys;
}

// False for an equation of fixed values alone (every point a new constraint
// binds is fixed) that does not hold: nothing can move to meet it. It is
// measured as any equation is, each fixed value taken as an unknown at its
// value.
bool heldByValues(const Expr& e)
{
    const EquationKeys keys = keysOf(e);
    if (!keys.ids.empty() || !keys.names.empty())
        return true;
    std::vector<double> values;
    const DrawTerm::Resolve resolve = [&](const Expr& leaf) -> std::optional<DrawTerm::Leaf> {
        if (leaf.hasHead("VXDrawValue", 1))
            if (std::optional<double> v = numericValue(leaf.arg(0))) {
                values.push_back(*v);
                return DrawTerm::Leaf{int(values.size()) - 1, 0};
            }
        return std::nullopt;
    };
    std::string error;
    const std::optional<DrawTerm> term = DrawTerm::compile(e, resolve, error);
    return !term || equationHolds(*term, values);
}

} // namespace

void DrawModel::clear()
{
    built_ = false;
    solved_ = false;
    unmet_ = false;
    error_.clear();
    equations_.clear();
    ids_.clear();
    indexOf_.clear();
    names_.clear();
    held_.clear();
    values_.clear();
    definitions_.clear();
}

Expr DrawModel::buildFromCore(const Expr& system, const Expr& core, const Derivative& derivative)
{
    clear();
    std::optional<std::vector<Expr>> coreEquations = equationsOf(core);
    if (!coreEquations)
        return failed();
    return build(system, std::move(*coreEquations), {}, derivative);
}

Expr DrawModel::buildFromVariables(const Expr& system, const Expr& variables, const Derivative& derivative)
{
    clear();
    if (!variables.hasHead("List"))
        return failed();
    std::vector<long long> seeds;
    for (std::size_t i = 0; i < variables.argCount(); ++i) {
        const Expr& v = variables.arg(i);
        if (v.hasHead("VXDrawValue", 1))
            continue; // a fixed variable is no unknown
        std::optional<long long> id = drawVarId(v);
        if (!id)
            return failed();
        if (std::find(seeds.begin(), seeds.end(), *id) == seeds.end())
            seeds.push_back(*id);
    }
    return build(system, {}, std::move(seeds), derivative);
}

Expr DrawModel::build(const Expr& system, std::vector<Expr> core, std::vector<long long> seeds,
                      const Derivative& derivative)
{
    std::optional<std::vector<Expr>> given = equationsOf(system);
    if (!given)
        return failed();
    for (Expr& c : core)
        if (std::find(given->begin(), given->end(), c) == given->end())
            given->push_back(c);

    // Definitions of named variables are put in place of the names.
    std::map<std::string, Expr> defined;
    std::vector<std::pair<std::string, Expr>> definitions;
    std::vector<Expr> plain;
    for (const Expr& e : *given) {
        if (auto definition = definitionOf(e)) {
            if (defined.emplace(definition->first, definition->second).second)
                definitions.push_back(*definition);
        } else {
            plain.push_back(e);
        }
    }
    std::string error;
    std::vector<Expr> equations;
    for (const Expr& e : plain)
        if (std::optional<Expr> x = expandedEquation(substituted(e, defined), derivative, error))
            equations.push_back(std::move(*x));
    bool unmet = false;
    for (const Expr& c : core)
        if (std::optional<Expr> x = expandedEquation(substituted(c, defined), derivative, error)) {
            drawVarsIn(*x, seeds);
            unmet = unmet || !heldByValues(*x);
        }
    if (!error.empty()) {
        error_ = error;
        return failed();
    }

    // The model is the part of the system connected to the seeds.
    Components components;
    std::vector<EquationKeys> keys;
    for (const Expr& e : equations) {
        keys.push_back(keysOf(e));
        std::vector<int> all;
        for (long long id : keys.back().ids)
            all.push_back(components.key(idKey(id)));
        for (const std::string& name : keys.back().names)
            all.push_back(components.key(name));
        for (std::size_t i = 1; i < all.size(); ++i)
            components.join(all[i - 1], all[i]);
    }
    std::vector<int> seedRoots;
    for (long long id : seeds)
        seedRoots.push_back(components.root(components.key(idKey(id))));
    auto inModel = [&](const EquationKeys& k) {
        int any = -1;
        if (!k.ids.empty())
            any = components.key(idKey(k.ids.front()));
        else if (!k.names.empty())
            any = components.key(k.names.front());
        return any >= 0 && std::find(seedRoots.begin(), seedRoots.end(), components.root(any)) != seedRoots.end();
    };

    std::vector<long long> ids = seeds;
    std::vector<std::string> names;
    std::vector<Expr> modelEquations;
    for (std::size_t i = 0; i < equations.size(); ++i) {
        if (!inModel(keys[i]))
            continue;
        modelEquations.push_back(equations[i]);
        for (long long id : keys[i].ids)
            if (std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
        for (const std::string& name : keys[i].names)
            if (std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
    }
    std::map<long long, int> indexOf;
    for (std::size_t i = 0; i < ids.size(); ++i)
        indexOf[ids[i]] = int(i);
    const DrawTerm::Resolve resolve = [&](const Expr& leaf) -> std::optional<DrawTerm::Leaf> {
        if (std::optional<long long> id = drawVarId(leaf))
            return DrawTerm::Leaf{indexOf.at(*id), 0};
        if (leaf.hasHead("VXDrawValue", 1))
            if (std::optional<double> v = numericValue(leaf.arg(0)))
                return DrawTerm::Leaf{-1, *v};
        if (leaf.isSymbol()) {
            auto at = std::find(names.begin(), names.end(), leaf.text);
            if (at != names.end())
                return DrawTerm::Leaf{int(ids.size() + std::size_t(at - names.begin())), 0};
        }
        return std::nullopt;
    };
    std::vector<DrawTerm> compiled;
    for (const Expr& e : modelEquations) {
        std::optional<DrawTerm> term = DrawTerm::compile(e, resolve, error);
        if (!term) {
            error_ = error;
            return failed();
        }
        compiled.push_back(std::move(*term));
    }

    built_ = true;
    unmet_ = unmet;
    error_.clear();
    equations_ = std::move(compiled);
    ids_ = std::move(ids);
    indexOf_ = std::move(indexOf);
    names_ = std::move(names);
    definitions_ = std::move(definitions);
    held_.assign(ids_.size() + names_.size(), false);
    for (std::size_t i = 0; i < seeds.size() && core.empty(); ++i)
        held_[i] = true;
    values_.assign(ids_.size(), 0.0);
    values_.resize(ids_.size() + names_.size(), kNameStart);

    Expr answer = list({});
    for (long long id : ids_)
        answer.parts.push_back(Expr::function("VXDrawVar", {Expr::integer(id)}));
    return answer;
}

bool DrawModel::readRules(const Expr& rules, std::vector<double>& values) const
{
    if (!rules.hasHead("List"))
        return false;
    for (std::size_t i = 0; i < rules.argCount(); ++i) {
        const Expr& rule = rules.arg(i);
        std::optional<long long> id = rule.hasHead("Rule", 2) ? drawVarId(rule.arg(0)) : std::nullopt;
        std::optional<double> v = id ? numericValue(rule.arg(1)) : std::nullopt;
        if (!v || !std::isfinite(*v))
            return false;
        if (auto at = indexOf_.find(*id); at != indexOf_.end())
            values[std::size_t(at->second)] = *v;
    }
    return true;
}

Expr DrawModel::answer(bool solved) const
{
    if (!solved)
        return list({Expr::integer(0), list({})});
    Expr rules = list({});
    for (std::size_t i = 0; i < ids_.size(); ++i)
        rules.parts.push_back(
            Expr::function("Rule", {Expr::function("VXDrawVar", {Expr::integer(ids_[i])}), Expr::real(values_[i])}));
    return list({Expr::integer(1), std::move(rules)});
}

Expr DrawModel::solve(const Expr& rules, const ProjectionLimits& limits)
{
    std::vector<double> values = values_;
    if (!readRules(rules, values))
        return failed();
    if (!built_ || unmet_)
        return answer(false);
    std::vector<bool> heavy(held_.begin(), held_.end());
    const std::vector<double> wanted = values;
    if (!nearestSolution(values, wanted, heavy, false, limits))
        return answer(false);
    values_ = values;
    solved_ = true;
    return answer(true);
}

Expr DrawModel::constrainedMin(const Expr& before, const Expr& moved, const Expr& target,
                               const ProjectionLimits& limits)
{
    std::vector<double> values = values_;
    if (!readRules(before, values) || !readRules(moved, values))
        return failed();
    std::vector<double> wanted = values;
    if (!readRules(target, wanted))
        return failed();
    if (!built_ || unmet_)
        return answer(false);
    std::vector<bool> heavy(values.size(), false);
    for (std::size_t i = 0; i < target.argCount(); ++i)
        if (auto at = indexOf_.find(*drawVarId(target.arg(i).arg(0))); at != indexOf_.end())
            heavy[std::size_t(at->second)] = true;
    // A drag step runs on every mouse move: the Newton return onto the
    // equations from the moved values is near enough to the least change.
    ProjectionLimits step = limits;
    step.maxSteps = 0;
    if (!nearestSolution(values, wanted, heavy, true, step))
        return answer(false);
    values_ = values;
    solved_ = true;
    return answer(true);
}

bool DrawModel::nearestSolution(std::vector<double>& values, const std::vector<double>& wanted,
                                const std::vector<bool>& heavy, bool mayYield, const ProjectionLimits& limits) const
{
    std::vector<double> weights(values.size(), 1.0);
    for (std::size_t i = 0; i < heavy.size(); ++i)
        if (heavy[i])
            weights[i] = mayYield ? kHeavy : kFixed;
    return projectOntoConstraints(equations_, values, wanted, weights, limits);
}

Expr DrawModel::finalize(const Expr& rules) const
{
    std::optional<std::map<std::string, double>> given = numericRules(rules);
    if (!given)
        return failed();
    Expr answer = list({});
    auto add = [&](const std::string& name, double v) {
        answer.parts.push_back(Expr::function("Rule", {Expr::symbol(name), Expr::real(v)}));
    };
    for (const auto& [name, value] : definitions_) {
        if (std::optional<long long> id = drawVarId(value)) {
            // The model's last solution is newer than rules kept from before a drag.
            auto at = indexOf_.find(*id);
            auto found = given->find(wire::toFullForm(value));
            if (solved_ && at != indexOf_.end())
                add(name, values_[std::size_t(at->second)]);
            else if (found != given->end())
                add(name, found->second);
            else if (at != indexOf_.end())
                add(name, values_[std::size_t(at->second)]);
        } else if (std::optional<double> v = numericValue(value.hasHead("VXDrawValue", 1) ? value.arg(0) : value)) {
            add(name, *v);
        }
    }
    for (std::size_t i = 0; i < names_.size(); ++i)
        add(names_[i], values_[ids_.size() + i]);
    return answer;
}

} // namespace kernelproc
