#include "kernelproc/Calculations.h"

#include "kernelproc/CalculationCodes.h"
#include "kernelproc/CodeParser.h"
#include "kernelproc/DrawingResults.h"
#include "kernelproc/GiacEvaluator.h"
#include "kernelproc/PlotRequests.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kSubstitutionDepth = 64;
// Up to this many significant digits a numeric answer is computed in double
// precision and rounded; beyond it the kernel computes with the digits asked.
constexpr int kDoubleDigits = 14;

Expr call(const char* head, std::vector<Expr> args) { return Expr::function(head, std::move(args)); }

bool isFailure(const Expr& e) { return e.isSymbol("$Failed") || e.isSymbol("$Aborted") || e.isSymbol("$Canceled"); }

// An operation applied to each side of a relation, or to the whole of anything else.
Expr sideBySide(const Expr& part, const std::function<Expr(const Expr&)>& op)
{
    if (!isRelation(part))
        return op(part);
    Expr out = part;
    const bool chain = part.hasHead("VXInequality") || part.hasHead("Inequality");
    for (std::size_t i = 0; i < out.argCount(); ++i) {
        if (chain && i % 2 == 1)
            continue;   // the relation symbols of a chain
        Expr side = op(out.arg(i));
        if (isFailure(side))
            return side;
        out.arg(i) = std::move(side);
    }
    return out;
}

const char* plainOperation(int code)
{
    switch (code) {
    case kCalcExpand: return "Expand";
    case kCalcFactor: return "Factor";
    case kCalcDeterminant: return "Det";
    case kCalcInverse: return "Inverse";
    case kCalcTranspose: return "Transpose";
    case kCalcEigenvalues: return "Eigenvalues";
    case kCalcTogether: return "Together";
    default: return nullptr;
    }
}

bool containsSymbol(const Expr& e, const std::string& name)
{
    if (e.isSymbol())
        return e.text == name;
    return std::any_of(e.parts.begin(), e.parts.end(), [&](const Expr& p) { return containsSymbol(p, name); });
}

Expr renamed(const Expr& e, const Expr& from, const Expr& to)
{
    if (e == from)
        return to;
    Expr copy = e;
    for (Expr& p : copy.parts)
        p = renamed(p, from, to);
    return copy;
}

// The text of a paragraph sent as its text pieces: a string, or a list of
// strings and lists of pieces (a script's text travels as a list of its own).
bool textOfPieces(const Expr& e, std::string& text, int depth)
{
    if (e.type == wire::kTokenString) {
        text += e.text;
        return true;
    }
    if (!e.hasHead("List") || depth > kSubstitutionDepth)
        return false;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        if (!textOfPieces(e.arg(i), text, depth + 1))
            return false;
    }
    return true;
}

// Every real of the answer rounded to the session's significant digits.
Expr roundedReals(const Expr& e, int digits)
{
    if (e.type == wire::kTokenReal) {
        try {
            return Expr::realText(wire::formatReal(std::stod(e.text), digits));
        } catch (const std::exception&) {
            return e; // beyond a double: left as computed
        }
    }
    Expr copy = e;
    for (Expr& p : copy.parts)
        p = roundedReals(p, digits);
    return copy;
}

// Factor[n] of an integer: its prime factors as powers, -1 first for a
// negative number. Nothing when the answer is not an integer above 1 in size.
std::optional<Expr> primeFactors(const Expr& n, const Calculations::Evaluate& evaluate)
{
    if (n.type != wire::kTokenInteger || n.text.empty())
        return std::nullopt;
    const bool negative = n.text[0] == '-';
    Expr magnitude = Expr::integerText(negative ? n.text.substr(1) : n.text);
    if (magnitude.text == "0" || magnitude.text == "1")
        return std::nullopt;
    // The kernel answers the pairs {p, k}, or the flat list p1, k1, p2, k2, ...
    Expr pairs = evaluate(call("FactorInteger", {magnitude}));
    std::vector<std::pair<Expr, Expr>> factors;
    if (pairs.hasHead("List")) {
        for (std::size_t i = 0; i < pairs.argCount(); ++i) {
            const Expr& item = pairs.arg(i);
            if (item.hasHead("List", 2))
                factors.emplace_back(item.arg(0), item.arg(1));
            else if (i + 1 < pairs.argCount() && item.type == wire::kTokenInteger)
                factors.emplace_back(item, pairs.arg(++i));
        }
    }
    if (factors.empty())
        return std::nullopt;
    Expr product = call("Times", {});
    if (negative)
        product.parts.push_back(Expr::integer(-1));
    for (auto& [prime, power] : factors)
        product.parts.push_back(power.text == "1" ? prime : call("Power", {prime, power}));
    if (product.argCount() == 1)
        return product.arg(0);
    return product;
}

// Why the code is refused; the session's message names the function it is about.
class CodeRefusal : public std::runtime_error {
public:
    CodeRefusal(std::string symbolName, std::string tagName, const std::string& text)
        : std::runtime_error(text), symbol(std::move(symbolName)), tag(std::move(tagName))
    {}
    std::string symbol;
    std::string tag;
};

// The start of a text for a message: its first characters, whole UTF-8 characters only.
std::string excerpt(const std::string& text)
{
    constexpr std::size_t kShown = 30;
    if (text.size() <= kShown)
        return text;
    std::size_t end = kShown;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end) + "...";
}

Expr parsed(const std::string& text)
{
    try {
        return parseCode(text);
    } catch (const CodeParseError& e) {
        throw CodeRefusal("Syntax", "sntx",
                          "The code \"" + visibleCode(excerpt(text)) + "\" cannot be read: " + e.what() + ".");
    }
}

std::string notDefinable(const Expr& left)
{
    return "Only a name or a function of patterns such as f[x_] can be defined, not " +
        excerpt(wire::toFullForm(left)) + ".";
}

// A sum, product or table of the kernel's language (the editor's VXTable is a grid).
bool isIteration(const Expr& e)
{
    if (!e.head().isSymbol())
        return false;
    const std::string& head = e.head().text;
    return head == "Sum" || head == "VXSum" || head == "Product" || head == "VXProduct" || head == "Table";
}

} // namespace

std::string workingVariable(const Expr& e, const SessionPrefs& prefs, const std::set<std::string>* constants)
{
    std::vector<std::string> unknowns = unknownsOf(e, constants);
    if (std::find(unknowns.begin(), unknowns.end(), prefs.defaultVariable) != unknowns.end())
        return prefs.defaultVariable;
    return unknowns.size() == 1 ? unknowns.front() : prefs.defaultVariable;
}

Expr atSessionPrecision(const Expr& answer, const SessionPrefs& prefs)
{
    // Beyond a double's digits the kernel computed with the digits asked.
    return prefs.precision > 0 && prefs.precision <= kDoubleDigits ? roundedReals(answer, int(prefs.precision))
                                                                   : answer;
}

Expr Calculations::perform(int code, const Expr& part, const SessionPrefs& prefs, const Evaluate& evaluate,
                           std::vector<KernelMessage>* messages)
{
    const Expr x = Expr::symbol(workingVariable(part, prefs, constants_));
    if (code == kCalcFactor) {
        return sideBySide(part, [&](const Expr& side) {
            Expr value = evaluate(side);
            if (std::optional<Expr> primes = primeFactors(value, evaluate))
                return *primes;
            return evaluate(call("Factor", {side}));
        });
    }
    if (const char* op = plainOperation(code))
        return sideBySide(part, [&](const Expr& side) { return evaluate(call(op, {side})); });
    switch (code) {
    case kCalcNothing:   // no calculation chosen: the part evaluated as it stands
        return evaluate(part);
    case kCalcEvaluate: {
        // A relation between numbers is decided once its sides are evaluated: 10 < 20 is True.
        Expr answer = sideBySide(part, evaluate);
        return isRelation(answer) && unknownsOf(answer, constants_).empty() ? evaluate(answer) : answer;
    }
    case kCalcSimplify:
        return simplify(part, prefs, evaluate);
    case kCalcNumeric:
        return sideBySide(part, [&](const Expr& side) {
            const bool wide = prefs.precision > kDoubleDigits;
            return evaluate(wide ? call("N", {side, Expr::integer(prefs.precision)}) : call("N", {side}));
        });
    case kCalcSolve: {
        // One equation in the default variable among other letters is solved for it.
        // A set of equations is solved for all its unknowns; one equation in the
        // default variable among other letters for that variable.
        const bool set = part.hasHead("List") || part.hasHead("VXEqnSet") || part.hasHead("EqnSet");
        const std::vector<std::string> unknowns = unknownsOf(part, constants_);
        Expr request = call("Solve", {part});
        if (set && unknowns.size() > 1) {
            Expr names = call("List", {});
            for (const std::string& name : unknowns)
                names.parts.push_back(Expr::symbol(name));
            request = call("Solve", {part, names});
        } else if (!set && unknowns.size() > 1 && containsSymbol(part, prefs.defaultVariable)) {
            request = call("Solve", {part, Expr::symbol(prefs.defaultVariable)});
        }
        Expr answer = evaluate(request);
        if (answer.isSymbol("False") && messages)
            messages->push_back({"Solve", "nosol", "No solution was found."});
        return answer.isSymbol("False") || answer.hasHead("Solve") ? Expr::symbol("$Failed") : answer;
    }
    case kCalcDifferentiate:
        return evaluate(call("D", {part, x}));
    case kCalcIntegrate:
        return evaluate(call("Integrate", {part, x}));
    case kCalcPartialFractions:
        return sideBySide(part, [&](const Expr& side) { return evaluate(call("Apart", {side, x})); });
    case kCalcPlot: return PlotRequests::plotOf(part, x.text, evaluate);
    case kCalcAddToDrawing: return drawingResult(part, evaluate);
    case kCalcLaplace:
    case kCalcFourier: {
        // Giac refuses some names for the new variable (s among them), so the
        // transform is taken in a name of our own and renamed afterwards.
        const Expr placeholder = Expr::symbol("vxTransformVariable");
        Expr answer = evaluate(call(code == kCalcLaplace ? "LaplaceTransform" : "FourierTransform", {part, x, placeholder}));
        return renamed(answer, placeholder, Expr::symbol(prefs.transformVariable));
    }
    case kCalcTreatAsConstant:
    case kCalcTreatAsVariable:
        if (!part.isSymbol())
            return Expr::symbol("$Failed");
        return evaluate(call(code == kCalcTreatAsConstant ? "SetAttributes" : "ClearAttributes",
                             {part, Expr::symbol("Constant")}));
    default:
        return Expr::symbol("$Failed");
    }
}

Expr Calculations::simplify(const Expr& part, const SessionPrefs& prefs, const Evaluate& evaluate)
{
    if (prefs.simplificationLevel <= 0)
        return sideBySide(part, evaluate);
    const char* head = prefs.simplificationLevel >= 2 ? "FullSimplify" : "Simplify";
    return sideBySide(part, [&](const Expr& side) { return evaluate(call(head, {side})); });
}

Expr Calculations::evaluateCode(const Expr& code, const SessionPrefs& prefs, const Evaluate& evaluate,
                                std::vector<KernelMessage>* messages)
{
    // Code paragraphs arrive as their text, a list of texts, or expressions already read.
    std::vector<Expr> statements;
    try {
        if (code.type == wire::kTokenString) {
            statements.push_back(parsed(code.text));
        } else if (code.hasHead("List")) {
            // One item per paragraph: its text, the pieces of its text, or an expression.
            for (std::size_t i = 0; i < code.argCount(); ++i) {
                const Expr& item = code.arg(i);
                std::string text;
                statements.push_back(textOfPieces(item, text, 0) ? parsed(text) : item);
            }
        } else {
            statements.push_back(code);
        }
        Expr last = Expr::symbol("Null");
        for (const Expr& s : statements) {
            if (containsSymbol(s, "Error"))
                throw CodeRefusal("Syntax", "part", "Part of the code could not be read as text.");
            last = statement(s, prefs, evaluate);
            if (isFailure(last))
                return last;
        }
        return last;
    } catch (const CodeRefusal& refusal) {
        if (messages)
            messages->push_back({refusal.symbol, refusal.tag, refusal.what()});
    }
    return Expr::symbol("$Failed");
}

Expr Calculations::statement(const Expr& e, const SessionPrefs& prefs, const Evaluate& evaluate)
{
    if (e.hasHead("CompoundExpression")) {
        Expr last = Expr::symbol("Null");
        for (std::size_t i = 0; i < e.argCount(); ++i) {
            last = statement(e.arg(i), prefs, evaluate);
            if (isFailure(last))
                return last;
        }
        return last;
    }
    if ((e.hasHead("Set", 2) || e.hasHead("SetDelayed", 2))) {
        const Expr& left = e.arg(0);
        const bool delayed = e.hasHead("SetDelayed");
        if (left.isSymbol()) {
            Expr value = delayed ? e.arg(1) : evaluate(substituted(e.arg(1), 0));
            if (isFailure(value))
                return value;
            definitions_[left.text] = {{}, value};
            return delayed ? Expr::symbol("Null") : value;
        }
        if (left.isFunction() && left.head().isSymbol()) {
            Definition definition;
            for (std::size_t i = 0; i < left.argCount(); ++i) {
                const Expr& p = left.arg(i);
                if (!p.hasHead("Pattern", 2) || !p.arg(0).isSymbol())
                    throw CodeRefusal("Set", "write", notDefinable(left));
                definition.parameters.push_back(p.arg(0).text);
            }
            definition.body = delayed ? e.arg(1) : evaluate(substituted(e.arg(1), 0));
            definitions_[left.head().text] = definition;
            return Expr::symbol("Null");
        }
        throw CodeRefusal("Set", "write", notDefinable(left));
    }
    if (e.hasHead("Clear") || e.hasHead("ClearAll")) {
        // The names lose their definitions and stand for themselves again.
        for (std::size_t i = 0; i < e.argCount(); ++i) {
            const Expr& name = e.arg(i);
            if (!name.isSymbol() && name.type != wire::kTokenString)
                throw CodeRefusal("Clear", "ssym", wire::toFullForm(name) + " is not a name, so Clear cannot clear it.");
            definitions_.erase(name.text);
        }
        return Expr::symbol("Null");
    }
    if (containsSymbol(e, "Pattern"))
        throw CodeRefusal("Pattern", "patv", "A pattern such as x_ can stand only on the left of a definition.");
    return evaluate(substituted(e, 0));
}

// The expression with the session's definitions put in for the names they define.
Expr Calculations::substituted(const Expr& e, int depth, const std::vector<std::string>& locals) const
{
    if (depth > kSubstitutionDepth)
        throw std::runtime_error("definitions refer to each other without end");
    // Definitions that double at each step grow for a long time before
    // they are deep enough to be refused: the user's stop ends them too.
    if (GiacEvaluator::interrupted())
        throw std::runtime_error("the calculation was stopped");
    if (e.isSymbol()) {
        auto found = definitions_.find(e.text);
        if (found != definitions_.end() && found->second.parameters.empty() &&
            std::find(locals.begin(), locals.end(), e.text) == locals.end())
            return substituted(found->second.body, depth + 1);
        return e;
    }
    if (!e.isFunction())
        return e;
    // A sum, product or table's own variable means its values there, whatever it is defined as.
    std::vector<std::string> inner;
    const std::vector<std::string>* within = &locals;
    if (isIteration(e)) {
        inner = locals;
        for (std::size_t i = 1; i < e.argCount(); ++i) {
            const Expr& range = e.arg(i);
            if (range.hasHead("List") && range.argCount() >= 2 && range.arg(0).isSymbol())
                inner.push_back(range.arg(0).text);
        }
        within = &inner;
    }
    Expr out = e;
    for (std::size_t i = 0; i < out.argCount(); ++i)
        out.arg(i) = substituted(out.arg(i), depth, *within);
    if (!out.head().isSymbol())
        return out;
    auto found = definitions_.find(out.head().text);
    if (found == definitions_.end() || found->second.parameters.size() != out.argCount() ||
        found->second.parameters.empty())
        return out;
    std::function<Expr(const Expr&)> bind = [&](const Expr& body) -> Expr {
        if (body.isSymbol()) {
            const auto& params = found->second.parameters;
            auto at = std::find(params.begin(), params.end(), body.text);
            return at == params.end() ? body : out.arg(static_cast<std::size_t>(at - params.begin()));
        }
        Expr copy = body;
        for (Expr& p : copy.parts)
            p = bind(p);
        return copy;
    };
    return substituted(bind(found->second.body), depth + 1);
}

} // namespace kernelproc
