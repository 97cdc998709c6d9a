#include "kernelproc/NestedCalls.h"

#include "kernelproc/TermFunctions.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string_view>

namespace kernelproc {

using wire::Expr;

namespace {

// Calls nested this deep are evaluated whole: a few levels of Giac's rewriting cost little.
constexpr int kWholeDepth = 2;
// The levels of calls in a value that a call around it sees; deeper ones stand as unknowns.
constexpr int kSightDepth = 1;
// A value of more parts than this stands as one unknown: Giac's rewriting of
// a call around a long formula costs more the longer it is.
constexpr std::size_t kSightParts = 24;

// Functions whose value depends on their arguments' values alone, not on how
// they are written: an unknown may stand for an argument.
bool isValueFunction(std::string_view head)
{
    static constexpr std::string_view kHeads[] = {
        "Sin",         "Cos",         "Tan",         "Cot",        "Sec",      "Csc",        "ArcSin",  "ArcCos",
        "ArcTan",      "ArcCot",      "ArcSec",      "ArcCsc",     "Sinh",     "Cosh",       "Tanh",    "Coth",
        "Sech",        "Csch",        "ArcSinh",     "ArcCosh",    "ArcTanh",  "Exp",        "Log",     "Sqrt",
        "Power",       "Abs",         "Sign",        "Floor",      "Ceiling",  "Round",      "Mod",     "Quotient",
        "Gamma",       "Beta",        "Erf",         "Erfc",       "Zeta",     "PolyGamma",  "BesselJ", "BesselY",
        "BesselI",     "BesselK",     "Factorial",   "Binomial",   "Arg",      "Max",        "Min",     "ExpIntegralEi",
        "LogIntegral", "SinIntegral", "CosIntegral", "ProductLog", "UnitStep", "DiracDelta", "PrimeQ"};
    return std::find(std::begin(kHeads), std::end(kHeads), head) != std::end(kHeads);
}

// What such a call may stand inside and still be evaluated level by level:
// arithmetic, lists, relations and logic, which Giac reads by value too.
bool isTransparent(std::string_view head)
{
    static constexpr std::string_view kHeads[] = {
        "Plus",    "Times",        "Divide", "Subtract", "Minus", "List", "Equal", "Unequal", "Less",  "LessEqual",
        "Greater", "GreaterEqual", "And",    "Or",       "Not",   "Xor",  "Mover", "Target",  "Marker"};
    return std::find(std::begin(kHeads), std::end(kHeads), head) != std::end(kHeads);
}

// Parts of a value that keep their meaning where they stand: they are never hidden.
bool staysInSight(const Expr& e)
{
    return !e.isFunction() || e.hasHead("List") || e.hasHead("Rational") || e.hasHead("Complex") ||
        e.hasHead("DirectedInfinity") || isTransparent(headOf(e));
}

// The number of parts of e, counted up to `most`.
std::size_t parts(const Expr& e, std::size_t most)
{
    std::size_t count = 1;
    for (std::size_t i = 0; i < e.argCount() && count <= most; ++i)
        count += parts(e.arg(i), most - count);
    return count;
}

std::size_t occurrences(const Expr& e, const std::string& symbol)
{
    if (e.isSymbol())
        return e.text == symbol ? 1 : 0;
    std::size_t count = 0;
    for (const Expr& part : e.parts)
        count += occurrences(part, symbol);
    return count;
}

// e with each sum inside a sum, and each product inside a product, spliced into it.
Expr flattened(const Expr& e)
{
    if (!e.isFunction())
        return e;
    const bool associative = e.hasHead("Plus") || e.hasHead("Times");
    Expr out = Expr::function(e.head(), {});
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        Expr part = flattened(e.arg(i));
        if (associative && part.hasHead(e.head().text))
            out.parts.insert(out.parts.end(), part.parts.begin() + 1, part.parts.end());
        else
            out.parts.push_back(std::move(part));
    }
    return out;
}

} // namespace

int functionDepth(const Expr& e)
{
    if (!e.isFunction())
        return 0;
    int deepest = 0;
    for (std::size_t i = 0; i < e.argCount(); ++i)
        deepest = std::max(deepest, functionDepth(e.arg(i)));
    return deepest + (isValueFunction(headOf(e)) ? 1 : 0);
}

Expr NestedCalls::reduced(const Expr& e)
{
    wholly_ = isValueFunction(headOf(e)) && functionDepth(e) > kWholeDepth;
    return reducedPart(e);
}

Expr NestedCalls::restored(const Expr& answer) const
{
    return standIns_.empty() ? restore_(answer) : flattened(restore_(answer));
}

Expr NestedCalls::reducedPart(const Expr& e)
{
    const std::string_view head = headOf(e);
    const bool valueFunction = isValueFunction(head);
    if ((!valueFunction && !isTransparent(head)) || functionDepth(e) <= kWholeDepth)
        return e;
    if (valueFunction)
        return levelValue(e);
    Expr out = e;
    for (std::size_t i = 0; i < out.argCount(); ++i)
        out.arg(i) = reducedPart(out.arg(i));
    return out;
}

Expr NestedCalls::levelValue(const Expr& call)
{
    Expr level = call;
    for (std::size_t i = 0; i < level.argCount(); ++i)
        level.arg(i) = argumentValue(call.arg(i));
    const Expr value = evaluate_(level);
    // A value that holds a hidden part more often than the call did would
    // double with every level around it: the call stays as written, unseen by
    // the levels around it (Giac would rewrite it there again).
    std::map<std::string, std::size_t> hiddenParts;
    countStandIns(level, hiddenParts);
    if (std::any_of(hiddenParts.begin(), hiddenParts.end(),
                    [&](const auto& part) { return occurrences(value, part.first) > part.second; })) {
        level.parts.front() = Expr::symbol(std::string(plainHead(call.head().text)));
        return hidden(restore_(level));
    }
    return standIn(restore_(value));
}

Expr NestedCalls::argumentValue(const Expr& argument)
{
    if (!argument.isFunction())
        return argument;
    const Expr shallow = reducedPart(argument);
    return standIn(restore_(evaluate_(shallow)));
}

Expr NestedCalls::standIn(const Expr& value)
{
    Expr sight = inSight(value, 0);
    if (!value.hasHead("List") && parts(sight, kSightParts) > kSightParts)
        return hidden(value);
    return sight;
}

Expr NestedCalls::inSight(const Expr& value, int depth)
{
    // The first level of calls stays in sight, so that Abs[Abs[x]] is Abs[x]
    // and Power[Power[x, 2], 2] is x^4 however deep they stand.
    if (!value.isFunction())
        return value;
    const bool call = !staysInSight(value);
    if (call && depth >= kSightDepth)
        return hidden(value);
    Expr out = value;
    for (std::size_t i = 0; i < out.argCount(); ++i)
        out.arg(i) = inSight(out.arg(i), depth + (call ? 1 : 0));
    return out;
}

void NestedCalls::countStandIns(const Expr& e, std::map<std::string, std::size_t>& counts) const
{
    if (e.isSymbol() && standIns_.count(e.text) > 0)
        ++counts[e.text];
    for (std::size_t i = 0; i < e.argCount(); ++i)
        countStandIns(e.arg(i), counts);
}

Expr NestedCalls::hidden(const Expr& value)
{
    Expr unknown = hold_(value);
    standIns_.insert(unknown.text);
    return unknown;
}

} // namespace kernelproc
