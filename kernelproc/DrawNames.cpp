#include "kernelproc/DrawNames.h"

#include "kernelproc/DrawTerm.h"
#include "kernelproc/PlotFunction.h"

#include <algorithm>

namespace kernelproc {

using wire::Expr;

namespace {

// The plot variables a drawing's functions are written in when the request
// does not name them.
const std::vector<std::string> kPlotAxes = {"x", "y"};

Expr list(std::vector<Expr> items)
{
    return Expr::function("List", std::move(items));
}
Expr failed()
{
    return Expr::symbol("$Failed");
}

Expr symbolList(const std::vector<std::string>& names)
{
    Expr out = list({});
    for (const std::string& n : names)
        out.parts.push_back(Expr::symbol(n));
    return out;
}

// The value an equation name == number gives the name.
std::optional<double> fixedValue(const std::vector<Expr>& equations, const std::string& name)
{
    for (const Expr& e : equations)
        if (auto definition = definitionOf(e);
            definition && definition->first == name && !drawVarId(definition->second))
            return numericValue(definition->second.hasHead("VXDrawValue", 1) ? definition->second.arg(0)
                                                                             : definition->second);
    return std::nullopt;
}

std::optional<std::vector<std::string>> namesOfPlot(const Expr& f, const Expr& x, const Expr& y)
{
    if (!x.isSymbol() || !y.isSymbol())
        return std::nullopt;
    std::vector<std::string> names;
    namesIn(f, names, {x.text, y.text});
    return names;
}

} // namespace

Expr variableCheck(const Expr& system, const Expr& functions, const Expr& rules)
{
    std::optional<std::vector<Expr>> equations = equationsOf(system);
    std::optional<std::map<std::string, double>> known = numericRules(rules);
    if (!equations || !known || !functions.hasHead("List"))
        return failed();
    std::vector<std::string> names;
    for (const Expr& e : *equations)
        namesIn(e, names);
    namesIn(functions, names, kPlotAxes);
    Expr answer = list({});
    for (const std::string& name : names) {
        std::optional<double> v;
        if (auto found = known->find(name); found != known->end())
            v = found->second;
        else
            v = fixedValue(*equations, name);
        if (v)
            answer.parts.push_back(Expr::function("Rule", {Expr::symbol(name), Expr::real(*v)}));
    }
    return answer;
}

Expr plotVariables(const Expr& f, const Expr& x, const Expr& y)
{
    std::optional<std::vector<std::string>> names = namesOfPlot(f, x, y);
    return names ? symbolList(*names) : failed();
}

Expr plotDeficit(const Expr& f, const Expr& rules, const Expr& x, const Expr& y)
{
    std::optional<std::vector<std::string>> names = namesOfPlot(f, x, y);
    std::optional<std::map<std::string, double>> known = numericRules(rules);
    if (!names || !known)
        return failed();
    std::erase_if(*names, [&](const std::string& n) { return known->count(n) > 0; });
    return symbolList(*names);
}

Expr checkDeficit(const Expr& system, const Expr& rules)
{
    std::optional<std::vector<Expr>> equations = equationsOf(system);
    std::optional<std::map<std::string, double>> known = numericRules(rules);
    if (!equations || !known)
        return failed();
    std::vector<std::string> lacking;
    Expr lackingEquations = list({});
    std::vector<long long> ids;
    for (const Expr& e : *equations) {
        if (definitionOf(e))
            continue;
        std::vector<std::string> names;
        namesIn(e, names);
        std::erase_if(names, [&](const std::string& n) { return known->count(n) > 0 || fixedValue(*equations, n); });
        if (names.empty())
            continue;
        for (const std::string& n : names)
            if (std::find(lacking.begin(), lacking.end(), n) == lacking.end())
                lacking.push_back(n);
        lackingEquations.parts.push_back(e);
        drawVarsIn(e, ids);
    }
    if (lacking.empty())
        return list({list({}), list({})});
    Expr variables = list({});
    for (long long id : ids)
        variables.parts.push_back(Expr::function("VXDrawVar", {Expr::integer(id)}));
    return list({list({symbolList(lacking), std::move(lackingEquations)}), std::move(variables)});
}

Expr resolveDeficits(const Expr& rules, const Expr& first, const Expr& variableRules, const Derivative& derivative,
                     const ProjectionLimits& limits)
{
    std::optional<std::map<std::string, double>> known = numericRules(rules);
    std::optional<std::map<std::string, double>> variables = numericRules(variableRules);
    if (!known || !variables || !first.hasHead("List", 2) || !first.arg(0).hasHead("List") ||
        !first.arg(1).hasHead("List"))
        return failed();
    std::vector<std::string> unknowns;
    for (std::size_t i = 0; i < first.arg(0).argCount(); ++i) {
        if (!first.arg(0).arg(i).isSymbol())
            return failed();
        // A name listed twice is one unknown, answered once.
        if (std::find(unknowns.begin(), unknowns.end(), first.arg(0).arg(i).text) == unknowns.end())
            unknowns.push_back(first.arg(0).arg(i).text);
    }
    std::map<std::string, Expr> values;
    for (const auto& [name, v] : *known)
        values[name] = Expr::real(v);
    for (const std::string& n : unknowns)
        values.erase(n);
    const DrawTerm::Resolve resolve = [&](const Expr& leaf) -> std::optional<DrawTerm::Leaf> {
        if (drawVarId(leaf)) {
            auto found = variables->find(wire::toFullForm(leaf));
            return found == variables->end() ? std::nullopt : std::optional(DrawTerm::Leaf{-1, found->second});
        }
        if (leaf.hasHead("VXDrawValue", 1))
            if (std::optional<double> v = numericValue(leaf.arg(0)))
                return DrawTerm::Leaf{-1, *v};
        if (leaf.isSymbol())
            if (auto at = std::find(unknowns.begin(), unknowns.end(), leaf.text); at != unknowns.end())
                return DrawTerm::Leaf{int(at - unknowns.begin()), 0};
        return std::nullopt;
    };
    std::vector<DrawTerm> equations;
    std::string error;
    for (std::size_t i = 0; i < first.arg(1).argCount(); ++i) {
        std::optional<Expr> e = expandedEquation(substituted(first.arg(1).arg(i), values), derivative, error);
        if (!error.empty())
            return failed();
        if (!e)
            continue;
        std::optional<DrawTerm> term = DrawTerm::compile(*e, resolve, error);
        if (!term)
            return failed();
        equations.push_back(std::move(*term));
    }
    // Lengths and angles are positive: the search starts at 1 for each name.
    std::vector<double> result(unknowns.size(), 1.0);
    const std::vector<double> start = result;
    if (!projectOntoConstraints(equations, result, start, std::vector<double>(unknowns.size(), 1.0), limits))
        return failed();
    Expr answer = list({});
    for (std::size_t i = 0; i < unknowns.size(); ++i)
        answer.parts.push_back(Expr::function("Rule", {Expr::symbol(unknowns[i]), Expr::real(result[i])}));
    return answer;
}

} // namespace kernelproc
