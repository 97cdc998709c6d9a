#include "kernelproc/GiacEvaluator.h"

#include "kernelproc/CalculationChoices.h"
#include "kernelproc/GiacBounds.h"
#include "kernelproc/GiacInput.h"
#include "kernelproc/GiacIntegration.h"
#include "kernelproc/GiacNames.h"
#include "kernelproc/GiacOutput.h"
#include "kernelproc/IntegralCheck.h"
#include "kernelproc/ListValues.h"
#include "kernelproc/NestedCalls.h"

#include <algorithm>
#include <functional>
#include <sstream>
#include <utility>
#include <giac/config.h>
#include <giac/giac.h>

namespace giac {
// Giac's regroup applied to a value already evaluated; its headers do not declare it.
gen _regroup(const gen& args, const context* contextptr);
} // namespace giac

namespace kernelproc {

using wire::Expr;

namespace {

// The time the checks of one request's definite integrals may take together,
// and Giac's own integration of one of them.
constexpr std::chrono::milliseconds kIntegralsTime(10000);
constexpr std::chrono::milliseconds kGiacIntegralTime(4000);

class GiacFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A part of the request that failed ($Failed, $Aborted): the whole request answers so.
struct Unanswered {
    Expr answer;
};

// A message said once, however often its construct stands in the request.
void say(std::vector<KernelMessage>& messages, KernelMessage message)
{
    const bool said = std::any_of(messages.begin(), messages.end(), [&](const KernelMessage& m) {
        return m.symbol == message.symbol && m.tag == message.tag && m.text == message.text;
    });
    if (!said)
        messages.push_back(std::move(message));
}

// The function a message about e names.
std::string aboutOf(const Expr& e)
{
    return e.isFunction() && e.head().isSymbol() ? e.head().text : "General";
}

// Why e stays as it was written.
KernelMessage refusal(const Expr& e, const TranslationError& why)
{
    return {aboutOf(e), "argx", std::string("Cannot evaluate: ") + why.what() + "."};
}

// The outcome of one of the kernel's own constructs, or the construct held as
// written where it is refused; a request nested too deep is refused whole.
ConstructResolver::Outcome heldWhereRefused(const Expr& construct, std::vector<KernelMessage>& messages,
                                            const std::function<ConstructResolver::Outcome()>& outcome)
{
    try {
        return outcome();
    } catch (const NestedTooDeep&) {
        throw;
    } catch (const TranslationError& why) {
        say(messages, refusal(construct, why));
        return ConstructResolver::Outcome::hold();
    }
}

// The hold (or the evaluation of parts) of a request for as long as it is
// evaluated; a request evaluated inside another gives the outer one its own back.
template <typename Callback>
class ScopedHold {
public:
    ScopedHold(Callback& slot, Callback hold) : slot_(slot), outer_(std::exchange(slot, std::move(hold))) {}
    ~ScopedHold() { slot_ = std::move(outer_); }
    ScopedHold(const ScopedHold&) = delete;
    ScopedHold& operator=(const ScopedHold&) = delete;

private:
    Callback& slot_;
    Callback outer_;
};

bool contains(const Expr& e, const char* headName)
{
    if (!e.isFunction())
        return false;
    if (e.hasHead(headName))
        return true;
    return std::any_of(e.parts.begin(), e.parts.end(), [headName](const Expr& p) { return contains(p, headName); });
}

bool isRelationValue(const Expr& e)
{
    for (const char* head : {"Less", "LessEqual", "Greater", "GreaterEqual", "Unequal", "Inequality", "And", "Or"}) {
        if (e.hasHead(head))
            return true;
    }
    return false;
}

Expr withConstant(Expr value)
{
    Expr constant = Expr::function("VXSubscript", {Expr::symbol("C"), Expr::symbol("vxReplSub")});
    if (value.hasHead("Plus")) {
        value.parts.push_back(std::move(constant));
        return value;
    }
    return Expr::function("Plus", {std::move(value), std::move(constant)});
}

bool isFailure(const Expr& e)
{
    return e.isSymbol("$Failed") || e.isSymbol("$Aborted") || e.isSymbol("$Canceled");
}

bool isNumber(const Expr& e)
{
    return e.type == wire::kTokenInteger || e.type == wire::kTokenReal || e.hasHead("Rational", 2) ||
        e.hasHead("Complex", 2);
}

bool isZero(const Expr& e)
{
    const bool number = e.type == wire::kTokenInteger || e.type == wire::kTokenReal;
    return number && e.text.substr(0, e.text.find_first_of("eE")).find_first_of("123456789") == std::string::npos;
}

// Giac's reading of translated text, evaluated.
giac::gen readGiac(const std::string& text, giac::context* context)
{
    giac::first_error_line(0, context);
    giac::gen parsed(text, context);
    if (giac::first_error_line(context) > 0)
        throw GiacFault("Giac could not read the expression");
    return giac::eval(parsed, 1, context);
}

bool isRelationName(std::string_view name)
{
    return name == "Equal" || name == "Unequal" || name == "Less" || name == "LessEqual" || name == "Greater" ||
        name == "GreaterEqual";
}

// What the evaluator hands to Giac's and/or/not, and the relations Giac would decide by their form.
bool isLogic(const Expr& e)
{
    if (!e.isFunction() || !e.head().isSymbol())
        return false;
    const std::string_view head = plainHead(e.head().text);
    if (head == "And" || head == "Or" || head == "Xor" || (head == "Not" && e.argCount() == 1) || head == "Inequality")
        return true;
    if (head == "Unequal")   // of more than two, the translation compares every pair
        return e.argCount() == 2;
    return isRelationName(head) && e.argCount() > 2;
}

// Giac's error text in the kernel's words: the names as the user wrote them,
// without the Giac input it echoes.
std::string giacReason(const std::string& text)
{
    std::string lead = text;
    std::string reason;
    if (auto mark = text.rfind("Error: "); mark != std::string::npos) {
        lead = text.substr(0, mark);
        reason = text.substr(mark + 7);
    }
    if (auto mode = lead.find(", syntax compatibility mode"); mode != std::string::npos)
        lead.erase(mode);
    auto trim = [](std::string& s) {
        s.erase(0, s.find_first_not_of(" \n\t"));
        s.erase(s.find_last_not_of(" \n\t.") + 1);
    };
    trim(lead);
    trim(reason);
    // An echo of Giac's input is one word of code; a sentence has spaces.
    if (lead.find(' ') == std::string::npos && !reason.empty())
        lead.clear();
    std::string readable;
    for (std::size_t i = 0; i < lead.size();) {
        std::size_t end = i;
        while (end < lead.size() && (std::isalnum(static_cast<unsigned char>(lead[end])) || lead[end] == '_'))
            ++end;
        if (end > i) {
            std::string decoded = decodeSymbol(lead.substr(i, end - i));
            readable += decoded.empty() ? lead.substr(i, end - i) : decoded;
            i = end;
        } else {
            readable += lead[i++];
        }
    }
    if (readable.empty())
        return reason;
    return reason.empty() ? readable : readable + " (" + reason + ")";
}

// Why a definite integral Giac answered with a sentence has no value, where
// the sentence names the sign it could not decide; other sentences are in
// Giac's own terms, and no message quotes them.
std::optional<std::string> undecidedSign(const std::string& sentence)
{
    static const std::string unknownSign = "Unable to check sign: ";
    const std::string reason = giacReason(sentence);
    if (reason.rfind(unknownSign, 0) != 0)
        return std::nullopt;
    return "The integral is not given a value: it depends on whether " + reason.substr(unknownSign.size()) +
        ", which could not be decided.";
}

// The message of an integral held because the request's time for its integrals ran out.
KernelMessage outOfTime(std::chrono::milliseconds time)
{
    return {"Integrate", "itime",
            "The integral is not given a value: the checks of the calculation's definite integrals took the " +
                std::to_string(time.count() / 1000) + " seconds they may take together."};
}

bool containsPeriodic(const Expr& e)
{
    if (e.isFunction() && e.head().isSymbol()) {
        const std::string_view head = plainHead(e.head().text);
        for (const char* name : {"Sin", "Cos", "Tan", "Cot", "Sec", "Csc"}) {
            if (head == name)
                return true;
        }
    }
    return std::any_of(e.parts.begin(), e.parts.end(), [](const Expr& p) { return containsPeriodic(p); });
}

// An answer with no parts of its own: a number, a symbol, a string.
bool isAtomic(const Expr& e)
{
    return !e.isFunction() || e.hasHead("Rational", 2) || e.hasHead("Complex", 2);
}

// The outermost level of a value in the kernel's own forms, where Giac's
// answer comes in the program's spellings: a root is a power (Sqrt[x] is
// Power[x, 1/2]), VXOr is Or, a matrix is a list of rows.
Expr inKernelForm(Expr e)
{
    auto rootPower = [](const Expr& root, const char* numerator) {
        return Expr::function("Power",
                              {root.arg(0), Expr::function("Rational", {Expr::integerText(numerator), root.arg(1)})});
    };
    if (e.hasHead("VXRadical", 2) && e.arg(1).type == wire::kTokenInteger)
        return rootPower(e, "1");
    if (e.hasHead("Power", 2) && e.arg(0).hasHead("VXRadical", 2) && e.arg(0).arg(1).type == wire::kTokenInteger &&
        e.arg(1) == Expr::integer(-1))
        return rootPower(e.arg(0), "-1");
    for (const auto& [spelling, head] : {std::pair{"VXOr", "Or"}, {"VXMatrix", "List"}, {"VXSplit", "Piecewise"}}) {
        if (e.hasHead(spelling))
            e.parts.front() = Expr::symbol(head);
    }
    return e;
}

// Part 0: the head of an expression, the kind of an atom.
Expr headOf(const Expr& e)
{
    if (e.isFunction())
        return Expr(e.head());
    if (e.type == wire::kTokenInteger)
        return Expr::symbol("Integer");
    if (e.type == wire::kTokenReal)
        return Expr::symbol("Real");
    return Expr::symbol(e.type == wire::kTokenString ? "String" : "Symbol");
}

Expr alternatives(std::vector<Expr> choices)
{
    if (choices.empty())
        return Expr::symbol("False");
    if (choices.size() == 1)
        return std::move(choices.front());
    return Expr::function("VXOr", std::move(choices));
}

// Plus[Part[Sort[List[...], Greater], 1], 1]: one more than the largest integer.
std::optional<Expr> nextAfterMax(const Expr& e)
{
    if (!e.hasHead("Plus", 2) || !e.arg(0).hasHead("Part", 2) || !e.arg(0).arg(0).hasHead("Sort", 2))
        return std::nullopt;
    const Expr& sort = e.arg(0).arg(0);
    if (!sort.arg(0).hasHead("List") || !sort.arg(1).isSymbol("Greater") || e.arg(1) != Expr::integer(1)
        || e.arg(0).arg(1) != Expr::integer(1))
        return std::nullopt;
    long long best = 0;
    bool any = false;
    for (std::size_t i = 0; i < sort.arg(0).argCount(); ++i) {
        const Expr& item = sort.arg(0).arg(i);
        if (item.type != wire::kTokenInteger)
            continue;
        try {
            long long value = std::stoll(item.text);
            best = any ? std::max(best, value) : value;
            any = true;
        } catch (const std::exception&) {
        }
    }
    return Expr::integer(any ? best + 1 : 1);
}

// Giac's regroup of each element: regrouping a whole list that holds undef
// leaves undef alone in it.
giac::gen regrouped(const giac::gen& value, giac::context* context)
{
    if (value.type != giac::_VECT)
        return giac::_regroup(value, context);
    giac::vecteur items;
    for (const giac::gen& item : *value._VECTptr)
        items.push_back(regrouped(item, context));
    return giac::gen(items, value.subtype);
}

} // namespace

struct GiacEvaluator::Impl {
    giac::context context;
    std::ostringstream chatter;   // Giac's remarks while it works: not for the program
};

GiacEvaluator::GiacEvaluator() : impl_(std::make_unique<Impl>())
{
    // The letters the program treats as constants from the start.
    constants_ = {"C", "capE", "capI", "c"};
}

GiacEvaluator::~GiacEvaluator() = default;

void GiacEvaluator::interrupt()
{
    stopGiacForUser();
}

bool GiacEvaluator::interrupted()
{
    return giac::interrupted;
}

void GiacEvaluator::clearInterrupt()
{
    clearGiacStops();
}

Expr GiacEvaluator::evaluate(const Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages)
{
    // A request starts with the whole time for its integrals, and with no
    // antiderivative remembered from another.
    if (depth_ == 0) {
        integralsDue_.reset();
        forgetAntiderivatives();
    }
    const ScopedHold<int> nesting(depth_, depth_ + 1);
    const std::string about = aboutOf(expr);
    // What the kernel refuses inside the request stays as written, with its
    // message, and the rest is evaluated around it.
    ConstructResolver constructs(
        [&](const Expr& integral, bool bound, const std::vector<Expr>& outer) {
            return heldWhereRefused(integral, messages,
                                    [&] { return evaluateDefiniteIntegral(integral, bound, outer, messages); });
        },
        [&](const Expr& request) {
            return heldWhereRefused(request, messages, [&] {
                return ConstructResolver::Outcome::of(evaluateStructure(request, constructs, ask, messages));
            });
        },
        [&](const Expr& range) { return rangeValues(range); });
    const ScopedHold<GiacInput::Hold> holding(hold_, [&](const Expr& call, const TranslationError& why) {
        say(messages, refusal(call, why));
        return constructs.held(call).text;
    });
    const ScopedHold<GiacInput::Value> valuing(value_, [&](const Expr& part, bool quiet) {
        std::vector<KernelMessage> unsaid;
        return evaluate(part, ask, quiet ? unsaid : messages);
    });
    try {
        if (auto next = nextAfterMax(expr))
            return *next;
        if (expr.isSymbol("Null") || expr.hasHead("Hold"))
            return expr;
        if (expr.hasHead("SetAttributes", 2) || expr.hasHead("ClearAttributes", 2))
            return setAttribute(expr, expr.hasHead("SetAttributes"));
        NestedCalls nested(
            [&](const Expr& part) {
                Expr value = evaluate(part, ask, messages);
                if (isFailure(value))
                    throw Unanswered{value};
                return value;
            },
            [&](const Expr& value) { return constructs.held(value); },
            [&](const Expr& e) { return constructs.restore(e); });
        const Expr shallow = nested.reduced(expr);
        if (nested.wholly())   // the whole request was a deep call, evaluated level by level
            return nested.restored(shallow);
        const Expr resolved = constructs.resolve(shallow);
        if (constructs.wholly())
            return nested.restored(resolved);
        return nested.restored(evaluateResolved(resolved, ask, messages));
    } catch (const Unanswered& e) {
        return e.answer; // a part of the request failed, and its message says why
    } catch (const TranslationError& e) {
        // As the kernel does with what it cannot evaluate: say so, and answer the input unchanged.
        say(messages, refusal(expr, e));
        return expr;
    } catch (const ForeignAnswer& e) {
        // Giac's answer has no form here: the input stays as it was, and the message says why.
        messages.push_back({about, "noform", std::string("Cannot evaluate: ") + e.what() + "."});
        return expr;
    } catch (const std::exception& e) {
        const std::string reason = constructs.restoreText(giacReason(e.what()));
        messages.push_back({about, "giac", about + " cannot be evaluated: " + reason + "."});
    }
    return Expr::symbol("$Failed");
}

Expr GiacEvaluator::evaluateResolved(const Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages)
{
    std::string_view head = expr.isFunction() && expr.head().isSymbol() ? plainHead(expr.head().text) : "";
    if (head == "Solve")
        return evaluateSolve(expr, ask, messages);
    if (head == "Integrate" && expr.argCount() == 2 && expr.arg(1).isSymbol())
        return evaluateIntegrate(expr);
    if (head == "Series")
        return evaluateSeries(expr);
    if (head == "Dt" && expr.argCount() == 2 && expr.arg(1).isSymbol())
        return evaluateTotalDerivative(expr);
    if (isLogic(expr))
        return evaluateLogic(expr, ask, messages);
    GiacInput input = translation();
    std::string text = input.translate(expr);
    return giacValue(text, input.sawMatrix());
}

Expr GiacEvaluator::evaluateLogic(const Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages)
{
    // Giac takes a relation it cannot decide inside and/or/not as false, and
    // a != b as true for any two different expressions: each part is
    // evaluated alone, and what stays undecided stays as it was written.
    auto value = [&](const Expr& e) { return evaluate(e, ask, messages); };
    const std::string_view head = plainHead(expr.head().text);
    if (head == "Not") {
        Expr operand = value(expr.arg(0));
        if (operand.isSymbol("True") || operand.isSymbol("False"))
            return Expr::symbol(operand.isSymbol("True") ? "False" : "True");
        return Expr::function("Not", {std::move(operand)});
    }
    if (head == "Xor")
        return evaluateXor(expr, ask, messages);
    if (head == "And" || head == "Or") {
        const bool isAnd = head == "And";
        const char* decisive = isAnd ? "False" : "True";
        Expr undecided = Expr::function(isAnd ? "And" : "VXOr", {});
        for (std::size_t i = 0; i < expr.argCount(); ++i) {
            Expr operand = value(expr.arg(i));
            if (operand.isSymbol(decisive))
                return operand;
            if (!operand.isSymbol(isAnd ? "True" : "False"))
                undecided.parts.push_back(std::move(operand));
        }
        if (undecided.argCount() == 0)
            return Expr::symbol(isAnd ? "True" : "False");
        return undecided.argCount() == 1 ? undecided.arg(0) : undecided;
    }
    if (head == "Unequal" && expr.argCount() == 2) {
        Expr sides = Expr::function("Unequal", {value(expr.arg(0)), value(expr.arg(1))});
        if (std::optional<Expr> decided = unequalLists(sides.arg(0), sides.arg(1), value))
            return *decided;
        // Numbers are unequal where they are not equal to the digits they hold.
        if (isNumber(sides.arg(0)) && isNumber(sides.arg(1))) {
            const Expr equal = value(Expr::function("Equal", {sides.arg(0), sides.arg(1)}));
            if (equal.isSymbol("True") || equal.isSymbol("False"))
                return Expr::symbol(equal.isSymbol("True") ? "False" : "True");
        }
        const Expr difference =
            value(Expr::function("Plus", {sides.arg(0), Expr::function("Times", {Expr::integer(-1), sides.arg(1)})}));
        if (isNumber(difference))
            return Expr::symbol(isZero(difference) ? "False" : "True");
        return sides;
    }
    // A chain a == b == c, a < b <= c: decided when every link is.
    Expr sides = expr;
    const bool inequality = head == "Inequality";
    const std::size_t step = inequality ? 2 : 1;
    for (std::size_t i = 1; inequality && i < sides.argCount(); i += 2) {
        if (!sides.arg(i).isSymbol() || !isRelationName(sides.arg(i).text))
            throw TranslationError("an unknown relation in an inequality chain");
    }
    if (inequality && (sides.argCount() < 3 || sides.argCount() % 2 == 0))
        throw TranslationError("a malformed inequality chain");
    for (std::size_t i = 0; i < sides.argCount(); i += step)
        sides.arg(i) = value(sides.arg(i));
    std::vector<Expr> links;
    for (std::size_t i = 0; i + step < sides.argCount(); i += step) {
        const Expr link = inequality ? Expr::function(sides.arg(i + 1), {sides.arg(i), sides.arg(i + 2)})
                                     : Expr::function(sides.head(), {sides.arg(i), sides.arg(i + 1)});
        links.push_back(value(link));
        if (links.back().isSymbol("False"))
            return links.back();
    }
    if (links.size() == 1)
        return links.front();
    const bool allTrue = std::all_of(links.begin(), links.end(), [](const Expr& l) { return l.isSymbol("True"); });
    return allTrue ? Expr::symbol("True") : sides;
}

Expr GiacEvaluator::evaluateXor(const Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages)
{
    // True when an odd number of operands are; what stays undecided stays as written.
    bool odd = false;
    Expr undecided = Expr::function("Xor", {});
    for (std::size_t i = 0; i < expr.argCount(); ++i) {
        Expr operand = evaluate(expr.arg(i), ask, messages);
        if (operand.isSymbol("True") || operand.isSymbol("False"))
            odd = odd != operand.isSymbol("True");
        else
            undecided.parts.push_back(std::move(operand));
    }
    if (undecided.argCount() == 0)
        return Expr::symbol(odd ? "True" : "False");
    Expr rest = undecided.argCount() == 1 ? undecided.arg(0) : undecided;
    return odd ? Expr::function("Not", {std::move(rest)}) : rest;
}

Expr GiacEvaluator::evaluateStructure(const Expr& expr, const ConstructResolver& constructs, const Ask& ask,
                                      std::vector<KernelMessage>& messages)
{
    // Length and Part read the expression as the kernel shows it: x + y + z has
    // y for its second part, List for its part 0, and an atom has length 0. A
    // construct held in it is read as written: a held integral has two parts.
    Expr value = constructs.restore(evaluate(expr.arg(0), ask, messages));
    if (isFailure(value))
        throw Unanswered{value};
    if (plainHead(expr.head().text) == "Length")
        return Expr::integer(isAtomic(value) ? 0 : static_cast<long long>(inKernelForm(value).argCount()));
    for (std::size_t i = 1; i < expr.argCount(); ++i) {
        value = inKernelForm(std::move(value));
        const Expr at = expr.arg(i).type == wire::kTokenInteger ? expr.arg(i) : evaluate(expr.arg(i), ask, messages);
        if (at.type != wire::kTokenInteger)
            throw TranslationError("Part " + wire::toFullForm(at) + " does not exist: parts are counted by integers");
        long long index = 0;
        try {
            index = std::stoll(at.text);
        } catch (const std::exception&) {
            throw TranslationError("Part " + at.text + " does not exist");
        }
        const long long count = isAtomic(value) ? 0 : static_cast<long long>(value.argCount());
        if (index == 0) {
            value = headOf(value);
            continue;
        }
        if (index > count || index < -count)
            throw TranslationError("Part " + at.text + " of " + wire::toFullForm(value) + " does not exist");
        value = Expr(value.arg(static_cast<std::size_t>(index > 0 ? index - 1 : count + index)));
    }
    return value;
}

Expr GiacEvaluator::giacValue(const std::string& text, bool matrices, bool series)
{
    giac::context* ctx = &impl_->context;
    giac::logptr(&impl_->chatter, ctx);
    giac::first_error_line(0, ctx);
    giac::gen parsed(text, ctx);
    if (giac::first_error_line(ctx) > 0)
        throw GiacFault("Giac could not read the expression");
    giac::gen value = giac::eval(parsed, 1, ctx);
    // regroup collects like terms and powers, as the kernel does with every
    // value (x + x is 2 x); a series keeps Giac's ascending order.
    if (!series)
        value = regrouped(keepTruthValues(value), ctx);
    if (value.type == giac::_STRNG && value._STRNGptr->find("Error") != std::string::npos)
        throw GiacFault(*value._STRNGptr);
    OutputOptions options;
    options.matrices = matrices;
    options.series = series;
    return fromGiac(value, ctx, options);
}

std::vector<std::string> GiacEvaluator::freeSymbols(const Expr& expr) const
{
    return unknownsOf(expr, &constants_);
}

Expr GiacEvaluator::evaluateSolve(const Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages)
{
    if (expr.argCount() < 1 || expr.argCount() > 2)
        throw TranslationError("Solve needs equations and the unknowns");
    Expr equations = expr.arg(0);
    Expr unknowns;
    if (expr.argCount() == 2) {
        unknowns = expr.arg(1);
    } else {
        std::vector<std::string> candidates = freeSymbols(equations);
        if (candidates.empty()) {
            GiacInput input = translation();
            return giacValue(input.translate(equations), false);
        }
        if (candidates.size() == 1) {
            unknowns = Expr::symbol(candidates.front());
        } else {
            std::vector<Expr> choices;
            for (const std::string& name : candidates)
                choices.push_back(Expr::symbol(name));
            std::optional<Expr> reply =
                ask ? ask(3, Expr::function("List", {Expr::string("Solve for which variable?"),
                                                      Expr::function("List", std::move(choices))}))
                    : std::nullopt;
            if (!reply || !reply->isSymbol() || std::find(candidates.begin(), candidates.end(), reply->text) == candidates.end())
                return Expr::symbol("$Canceled");
            unknowns = *reply;
        }
    }
    bool several = unknowns.hasHead("List");
    std::vector<Expr> vars;
    if (several) {
        vars.assign(unknowns.parts.begin() + 1, unknowns.parts.end());
    } else {
        vars.push_back(unknowns);
    }
    if (equations.hasHead("List") || equations.hasHead("VXEqnSet"))
        equations.parts.front() = Expr::symbol("List");
    GiacInput input = translation();
    input.bind(unknowns);
    const std::string system = input.translate(equations);
    if (system == "false") // lists of different lengths: no values make them equal
        return Expr::symbol("False");
    const std::string problem = system + "," + input.translate(unknowns);
    Expr solutions;
    try {
        solutions = giacValue("csolve(" + problem + ")", false);
        // Giac falls back on a numeric search where it cannot isolate the
        // unknown: the roots it finds in its interval are not all the roots.
        if (!containsReal(equations) && containsReal(solutions))
            messages.push_back({"Solve", "nsmet",
                                "The roots were found numerically, and they need not be all the roots of the equation."});
        else if (containsPeriodic(equations) && solutions.hasHead("List") && solutions.argCount() > 0)
            messages.push_back({"Solve", "ifun",
                                "Only the solutions in one period are given: others differ from them by multiples "
                                "of the period."});
    } catch (const ForeignAnswer&) {
        // Roots Giac has no closed form for (its rootof) are answered as numbers.
        solutions = giacValue("cfsolve(" + problem + ")", false);
    }
    if (!solutions.hasHead("List"))
        return solutions;
    std::vector<Expr> choices;
    for (std::size_t s = 0; s < solutions.argCount(); ++s) {
        const Expr& solution = solutions.arg(s);
        if (several && solution.hasHead("List", vars.size())) {
            std::vector<Expr> equalities;
            for (std::size_t v = 0; v < vars.size(); ++v)
                equalities.push_back(Expr::function("Equal", {vars[v], solution.arg(v)}));
            choices.push_back(Expr::function("List", std::move(equalities)));
        } else if (isRelationValue(solution)) {
            choices.push_back(solution);   // an inequality's solution is a relation already: x < 2
        } else {
            choices.push_back(Expr::function("Equal", {vars.front(), solution}));
        }
    }
    return alternatives(std::move(choices));
}

Expr GiacEvaluator::evaluateIntegrate(const Expr& expr)
{
    GiacInput input = translation();
    input.bind(expr.arg(1));
    std::string integrand = input.translate(expr.arg(0));
    std::string variable = input.translate(expr.arg(1));
    giac::context* ctx = &impl_->context;
    giac::logptr(&impl_->chatter, ctx);
    giac::gen f = readGiac(integrand, ctx);
    giac::gen x = readGiac(variable, ctx);
    std::optional<giac::gen> antiderivative = checkedAntiderivative(f, x, ctx);
    if (!antiderivative)
        throw GiacFault("No antiderivative was found that differentiates back to the integrand.");
    return withConstant(giacValue(antiderivative->print(ctx), input.sawMatrix()));
}

std::optional<std::vector<Expr>> GiacEvaluator::rangeValues(const Expr& range)
{
    // {k, n}, {k, a, b}, {k, a, b, step} or {k, {values}}, counted before they are listed.
    constexpr long long kMaxValues = 64;
    const std::size_t n = range.argCount();
    if (!range.hasHead("List") || n < 2 || n > 4 || !range.arg(0).isSymbol())
        return std::nullopt;
    try {
        if (n != 2 || !range.arg(1).hasHead("List")) {
            const Expr from = n == 2 ? Expr::integer(1) : range.arg(1);
            const Expr to = range.arg(n == 2 ? 1 : 2);
            const Expr step = n == 4 ? range.arg(3) : Expr::integer(1);
            auto call = [](const char* head, std::vector<Expr> args) { return Expr::function(head, std::move(args)); };
            const Expr difference = call("Plus", {to, call("Times", {Expr::integer(-1), from})});
            const Expr steps = call("Floor", {call("Times", {difference, call("Power", {step, Expr::integer(-1)})})});
            const Expr count = giacValue(translation().translate(steps), false);
            if (count.type != wire::kTokenInteger || std::stoll(count.text) >= kMaxValues)
                return std::nullopt;
        }
        const Expr values = giacValue(translation().translate(Expr::function("Table", {range.arg(0), range})), false);
        if (!values.hasHead("List") || static_cast<long long>(values.argCount()) > kMaxValues ||
            !std::all_of(values.parts.begin() + 1, values.parts.end(), isNumber))
            return std::nullopt;
        return std::vector<Expr>(values.parts.begin() + 1, values.parts.end());
    } catch (const std::exception&) {
        return std::nullopt; // not numbers: the construct goes to Giac whole
    }
}

ConstructResolver::Outcome GiacEvaluator::evaluateDefiniteIntegral(const Expr& expr, bool bound,
                                                                   const std::vector<Expr>& outer,
                                                                   std::vector<KernelMessage>& messages)
{
    // The checks of a request's definite integrals share one time, counted
    // from the first: a sum of many that Giac cannot do is held within it,
    // not at the price of each term.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point now = Clock::now();
    if (!integralsDue_)
        integralsDue_ = now + kIntegralsTime;
    if (now >= *integralsDue_) {
        say(messages, outOfTime(kIntegralsTime));
        return ConstructResolver::Outcome::hold();
    }
    GiacTimeLimit limit(std::chrono::duration_cast<std::chrono::milliseconds>(*integralsDue_ - now));
    std::vector<KernelMessage> said;
    const ConstructResolver::Outcome outcome = checkDefiniteIntegral(expr, bound, outer, said);
    if (outcome.kind != ConstructResolver::Outcome::value && limit.passed() && !giacStoppedByUser()) {
        say(messages, outOfTime(kIntegralsTime));
        return ConstructResolver::Outcome::hold();
    }
    for (KernelMessage& m : said)
        say(messages, std::move(m));
    return outcome;
}

ConstructResolver::Outcome GiacEvaluator::checkDefiniteIntegral(const Expr& expr, bool bound,
                                                                const std::vector<Expr>& outer,
                                                                std::vector<KernelMessage>& messages)
{
    // Giac answers the principal value where the integrand has a pole (0 for
    // 1/x over [-1, 1]); the kernel holds a divergent integral as it was
    // written, and says why. One that depends on a variable bound around it
    // is held only when it is known to diverge, for some of the variable's
    // values or, inside an integral, for values within the outer range: its
    // value is Giac's when the variable's values are put in. Inside an
    // integral that value is checked as any other, with the outer variables
    // as unknowns: Giac's inner value of a sign or a maximum can be wrong, or
    // still hold the inner variable.
    using Outcome = ConstructResolver::Outcome;
    const Expr& range = expr.arg(1);
    GiacInput input = translation();
    input.bind(range.arg(0));
    giac::context* ctx = &impl_->context;
    giac::logptr(&impl_->chatter, ctx);
    const giac::gen f = readGiac(input.translate(expr.arg(0)), ctx);
    const giac::gen x = readGiac(input.translate(range.arg(0)), ctx);
    const giac::gen a = readGiac(input.translate(range.arg(1)), ctx);
    const giac::gen b = readGiac(input.translate(range.arg(2)), ctx);
    std::optional<Divergence> divergence = integralDivergence(f, x, a, b, range.arg(0).text, ctx);
    if (bound && (!divergence || divergence->kind == Divergence::undecided)) {
        std::vector<OuterRange> ranges;
        for (const Expr& r : outer) {
            ranges.push_back({readGiac(translation().translate(r.arg(0)), ctx), r.arg(0).text,
                              readGiac(translation().translate(r.arg(1)), ctx),
                              readGiac(translation().translate(r.arg(2)), ctx)});
        }
        divergence = divergenceWithin(f, x, a, b, range.arg(0).text, ranges, ctx);
        if (!divergence && ranges.empty())
            return Outcome::toGiac();
    }
    // Where convergence could not be decided, a quadrature that converges decides it.
    std::optional<Quadrature> numeric;
    if (divergence && divergence->kind == Divergence::undecided && (numeric = numericIntegral(f, x, a, b, ctx)))
        divergence.reset();
    if (!divergence) {
        // In the same names as f, so that a value that still holds x shows it.
        giac::gen answer;
        try {
            // Giac can take minutes over an exact value (an error function far
            // out): the checks that follow want their share of the time.
            GiacTimeLimit giacsShare(kGiacIntegralTime);
            answer = giac::eval(giac::symbolic(giac::at_integrate, giac::makesequence(f, x, a, b)), 1, ctx);
            if (giacsShare.passed())
                answer = giac::string2gen("Giac found no value in time", false);
        } catch (const std::runtime_error& e) {
            answer = giac::string2gen(e.what(), false); // said, as Giac says some, instead of answered
        }
        const IntegralAnswer checked = checkedIntegral(answer, f, x, a, b, ctx, numeric);
        if (checked.kind != IntegralAnswer::held) {
            if (!checked.reason.empty())
                say(messages, {"Integrate", "inum", checked.reason});
            return Outcome::of(giacValue(checked.value.print(ctx), input.sawMatrix()));
        }
        // Giac answers a sign it cannot decide with a sentence: never a value,
        // nor a failure of the whole request.
        const std::optional<std::string> sign =
            answer.type == giac::_STRNG ? undecidedSign(*answer._STRNGptr) : std::nullopt;
        divergence = Divergence{Divergence::undecided, sign.value_or(checked.reason)};
    }
    say(messages, {"Integrate", "idiv", divergence->text});
    return Outcome::hold();
}

Expr GiacEvaluator::evaluateSeries(const Expr& expr)
{
    GiacInput input = translation();
    // Giac lists a series' terms by ascending powers; regrouping would reverse them.
    Expr value = giacValue(input.translate(expr), false, true);
    if (!value.hasHead("Plus"))
        return contains(value, "order_size") ? Expr::integer(0) : value;
    Expr kept = Expr::function("Plus", {});
    for (std::size_t i = 0; i < value.argCount(); ++i) {
        if (!contains(value.arg(i), "order_size"))
            kept.parts.push_back(value.arg(i));
    }
    if (kept.argCount() == 0)
        return Expr::integer(0);
    return kept.argCount() == 1 ? kept.arg(0) : kept;
}

Expr GiacEvaluator::evaluateTotalDerivative(const Expr& expr)
{
    // Every variable other than x and the constants depends on x: y becomes
    // y[x] for the derivative, and D[y[x], x] comes back as Dt[y, x].
    const Expr& x = expr.arg(1);
    std::vector<std::string> dependent = freeSymbols(expr.arg(0));
    dependent.erase(std::remove(dependent.begin(), dependent.end(), x.text), dependent.end());
    auto isDependent = [&](const Expr& e) {
        return e.isSymbol() && std::find(dependent.begin(), dependent.end(), e.text) != dependent.end();
    };
    std::function<Expr(const Expr&)> applied = [&](const Expr& e) -> Expr {
        if (isDependent(e))
            return Expr::function(e, {x});
        if (!e.isFunction())
            return e;
        Expr out = e;
        for (std::size_t i = 0; i < out.argCount(); ++i)
            out.arg(i) = applied(out.arg(i));
        return out;
    };
    std::function<Expr(const Expr&)> restored = [&](const Expr& e) -> Expr {
        if (e.hasHead("D", 2) && e.arg(0).isFunction() && isDependent(e.arg(0).head()) && e.arg(0).argCount() == 1
            && e.arg(0).arg(0) == x && e.arg(1) == x)
            return Expr::function("Dt", {e.arg(0).head(), x});
        if (e.isFunction() && isDependent(e.head()) && e.argCount() == 1 && e.arg(0) == x)
            return e.head();
        if (!e.isFunction())
            return e;
        Expr out = e;
        for (std::size_t i = 0; i < out.argCount(); ++i)
            out.arg(i) = restored(out.arg(i));
        return out;
    };
    GiacInput input = translation();
    Expr derivative = Expr::function("D", {applied(expr.arg(0)), x});
    return restored(giacValue(input.translate(derivative), input.sawMatrix()));
}

Expr GiacEvaluator::setAttribute(const Expr& expr, bool set)
{
    const Expr& letter = expr.arg(0);
    if (!letter.isSymbol() || !expr.arg(1).isSymbol("Constant"))
        throw TranslationError("only the Constant attribute of a symbol can be set");
    // The palette sends the raw letter; typed letters travel in their package spelling.
    static const std::pair<const char*, const char*> spellings[] = {
        {"E", "capE"}, {"e", "E"}, {"I", "capI"}, {"i", "I"}, {"p", "vxP"}, {"T", "VXT"}, {"D", "VXD"}};
    std::string name = letter.text;
    for (const auto& [raw, package] : spellings) {
        if (name == raw) {
            name = package;
            break;
        }
    }
    if (set)
        constants_.insert(name);
    else
        constants_.erase(name);
    return Expr::symbol("Null");
}

} // namespace kernelproc
