#include "kernelproc/DrawSystem.h"

#include "kernelproc/DrawTerm.h"
#include "kernelproc/GiacNames.h"
#include "kernelproc/PlotFunction.h"

#include <algorithm>
#include <charconv>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kDepthLimit = 256;

// Thrown out of a walk when an equation uses the coordinates of a non-point.
struct NotAPoint {};
struct TooDeep {};

Expr call(const char* head, std::vector<Expr> args)
{
    return Expr::function(head, std::move(args));
}

Expr difference(Expr a, Expr b)
{
    return call("Plus", {std::move(a), call("Times", {Expr::integer(-1), std::move(b)})});
}

bool isPointHead(const Expr& e)
{
    return e.hasHead("QVPoint", 2) || e.hasHead("List", 2);
}

// The plot term's function with X and Y put as the point's coordinates.
Expr atPoint(const Expr& g, const Expr& xName, const Expr& x, const Expr& yName, const Expr& y)
{
    std::map<std::string, Expr> at;
    if (xName.isSymbol())
        at[xName.text] = x;
    if (yName.isSymbol())
        at[yName.text] = y;
    return substituted(g, at);
}

Expr expand(const Expr& e, const Derivative& derivative, std::string& error, int depth)
{
    if (depth > kDepthLimit)
        throw TooDeep();
    if (!e.isFunction())
        return e;
    if (e.hasHead("QVXCoord", 1) || e.hasHead("QVYCoord", 1)) {
        if (!isPointHead(e.arg(0)))
            throw NotAPoint();
        return expand(e.arg(0).arg(e.hasHead("QVXCoord") ? 0 : 1), derivative, error, depth + 1);
    }
    if (e.hasHead("VXPlotConstraint", 5)) {
        Expr x = expand(e.arg(2), derivative, error, depth + 1);
        Expr y = expand(e.arg(4), derivative, error, depth + 1);
        return difference(y, atPoint(e.arg(0), e.arg(1), x, e.arg(3), y));
    }
    if (e.hasHead("VXTangentConstraint", 7)) {
        Expr x = expand(e.arg(2), derivative, error, depth + 1);
        Expr y = expand(e.arg(4), derivative, error, depth + 1);
        std::optional<Expr> slope = derivative ? derivative(e.arg(0), e.arg(1)) : std::nullopt;
        if (!slope) {
            error = "the slope of a plotted function cannot be found";
            return e;
        }
        Expr v = expand(e.arg(5), derivative, error, depth + 1);
        Expr w = expand(e.arg(6), derivative, error, depth + 1);
        return difference(w, call("Times", {v, atPoint(*slope, e.arg(1), x, e.arg(3), y)}));
    }
    Expr copy = e;
    for (std::size_t i = 1; i < copy.parts.size(); ++i)
        copy.parts[i] = expand(copy.parts[i], derivative, error, depth + 1);
    return copy;
}

void flatten(const Expr& e, std::vector<Expr>& out, int depth)
{
    if (depth > kDepthLimit)
        throw TooDeep();
    if (e.hasHead("List")) {
        for (std::size_t i = 0; i < e.argCount(); ++i)
            flatten(e.arg(i), out, depth + 1);
        return;
    }
    out.push_back(e);
}

Expr substitutedAt(const Expr& e, const std::map<std::string, Expr>& values, int depth)
{
    if (depth > kDepthLimit)
        throw TooDeep();
    if (e.isSymbol()) {
        auto found = values.find(e.text);
        return found == values.end() ? e : found->second;
    }
    Expr copy = e;
    for (std::size_t i = 1; i < copy.parts.size(); ++i)
        copy.parts[i] = substitutedAt(copy.parts[i], values, depth + 1);
    return copy;
}

void addName(const std::string& name, std::vector<std::string>& names, const std::vector<std::string>& skip)
{
    if (isKnownConstant(name) || std::find(skip.begin(), skip.end(), name) != skip.end() ||
        std::find(names.begin(), names.end(), name) != names.end())
        return;
    names.push_back(name);
}

void walkNames(const Expr& e, std::vector<std::string>& names, const std::vector<std::string>& skip, int depth)
{
    if (depth > kDepthLimit)
        return;
    if (e.isSymbol()) {
        addName(e.text, names, skip);
        return;
    }
    if (!e.isFunction() || e.hasHead("VXDrawVar") || e.hasHead("VXDrawValue") || e.hasHead("QVXCoord") ||
        e.hasHead("QVYCoord"))
        return;
    if ((e.hasHead("VXPlotConstraint", 5) || e.hasHead("VXTangentConstraint", 7))) {
        std::vector<std::string> inner = skip;
        for (std::size_t i : {std::size_t(1), std::size_t(3)})
            if (e.arg(i).isSymbol())
                inner.push_back(e.arg(i).text);
        walkNames(e.arg(0), names, inner, depth + 1);
        for (std::size_t i = 2; i < e.argCount(); i += (i == 2 ? 2 : 1))
            walkNames(e.arg(i), names, skip, depth + 1);
        return;
    }
    // The relation symbols of an inequality chain stand between its terms.
    const std::size_t stride = e.hasHead("VXInequality") ? 2 : 1;
    for (std::size_t i = 0; i < e.argCount(); i += stride)
        walkNames(e.arg(i), names, skip, depth + 1);
}

void walkDrawVars(const Expr& e, std::vector<long long>& ids, int depth)
{
    if (depth > kDepthLimit || !e.isFunction())
        return;
    if (std::optional<long long> id = drawVarId(e)) {
        if (std::find(ids.begin(), ids.end(), *id) == ids.end())
            ids.push_back(*id);
        return;
    }
    for (std::size_t i = 0; i < e.argCount(); ++i)
        walkDrawVars(e.arg(i), ids, depth + 1);
}

} // namespace

std::optional<std::vector<Expr>> equationsOf(const Expr& system)
{
    if (!system.hasHead("List"))
        return std::nullopt;
    std::vector<Expr> out;
    try {
        flatten(system, out, 0);
    } catch (const TooDeep&) {
        return std::nullopt;
    }
    return out;
}

std::optional<long long> drawVarId(const Expr& e)
{
    if (!e.hasHead("VXDrawVar", 1) || e.arg(0).type != wire::kTokenInteger)
        return std::nullopt;
    long long id = 0;
    const std::string& t = e.arg(0).text;
    const auto [end, failure] = std::from_chars(t.data(), t.data() + t.size(), id);
    if (failure != std::errc() || end != t.data() + t.size())
        return std::nullopt;
    return id;
}

std::optional<std::pair<std::string, Expr>> definitionOf(const Expr& e)
{
    auto sides = equationSides(e);
    if (!sides || !sides->first.isSymbol() || isKnownConstant(sides->first.text))
        return std::nullopt;
    const Expr& value = sides->second;
    if (drawVarId(value) || (value.hasHead("VXDrawValue", 1) && numericValue(value.arg(0))) ||
        ((value.type == wire::kTokenInteger || value.type == wire::kTokenReal) && numericValue(value)))
        return std::make_pair(sides->first.text, value);
    return std::nullopt;
}

std::optional<Expr> expandedEquation(const Expr& e, const Derivative& derivative, std::string& error)
{
    try {
        return expand(e, derivative, error, 0);
    } catch (const NotAPoint&) {
        return std::nullopt;
    } catch (const TooDeep&) {
        error = "an equation is nested too deeply";
        return e;
    }
}

Expr substituted(const Expr& e, const std::map<std::string, Expr>& values)
{
    try {
        return substitutedAt(e, values, 0);
    } catch (const TooDeep&) {
        return e;
    }
}

void namesIn(const Expr& e, std::vector<std::string>& names, const std::vector<std::string>& skip)
{
    walkNames(e, names, skip, 0);
}

void drawVarsIn(const Expr& e, std::vector<long long>& ids)
{
    walkDrawVars(e, ids, 0);
}

std::optional<std::map<std::string, double>> numericRules(const Expr& rules)
{
    if (!rules.hasHead("List"))
        return std::nullopt;
    std::map<std::string, double> values;
    for (std::size_t i = 0; i < rules.argCount(); ++i) {
        const Expr& rule = rules.arg(i);
        if (!rule.hasHead("Rule", 2) || !(rule.arg(0).isSymbol() || drawVarId(rule.arg(0))))
            return std::nullopt;
        std::optional<double> v = numericValue(rule.arg(1));
        if (!v)
            return std::nullopt;
        values[wire::toFullForm(rule.arg(0))] = *v;
    }
    return values;
}

} // namespace kernelproc
