#include "kernelproc/ConstructResolver.h"

#include "kernelproc/GiacNames.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <iterator>
#include <string_view>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kMaxDepth = 256; // as deep as the translation reads
// Terms of sums, products and tables taken one by one in one request: each
// may hold an integral to decide, which takes a fraction of a second.
constexpr std::size_t kMaxTerms = 64;

std::string_view headOf(const Expr& e)
{
    return e.isFunction() && e.head().isSymbol() ? plainHead(e.head().text) : std::string_view();
}

bool isDefiniteIntegral(const Expr& e)
{
    return headOf(e) == "Integrate" && e.argCount() == 2 && e.arg(1).hasHead("List", 3) && e.arg(1).arg(0).isSymbol();
}

// A number written out, 1/2 or 2 Pi: no unknown and no list.
bool isWrittenNumber(const Expr& e, int depth = 0)
{
    if (e.type == wire::kTokenInteger || e.type == wire::kTokenReal)
        return true;
    if (e.isSymbol())
        return isKnownConstant(e.text);
    if (!e.isFunction() || !e.head().isSymbol() || e.hasHead("List") || depth > kMaxDepth)
        return false;
    return std::all_of(e.parts.begin() + 1, e.parts.end(),
                       [depth](const Expr& p) { return isWrittenNumber(p, depth + 1); });
}

// Part whose indices are numbers, and Length.
bool isStructure(const Expr& e)
{
    const std::string_view head = headOf(e);
    if (head == "Length")
        return e.argCount() == 1;
    if (head != "Part" || e.argCount() < 2)
        return false;
    return std::all_of(e.parts.begin() + 2, e.parts.end(), [](const Expr& i) { return isWrittenNumber(i); });
}

bool meets(const std::set<std::string>& names, const std::vector<std::string>& variables)
{
    return std::any_of(variables.begin(), variables.end(), [&](const std::string& v) { return names.count(v) > 0; });
}

bool isIteration(const Expr& e)
{
    const std::string_view head = headOf(e);
    return (head == "Sum" || head == "Product" || head == "Table") && e.argCount() >= 2;
}

// The variable k of a range {k, ...}; "" for a range without one ({3}).
std::string rangeVariableOf(const Expr& range)
{
    return range.hasHead("List") && range.argCount() >= 2 && range.arg(0).isSymbol() ? range.arg(0).text : "";
}

// True when e holds a definite integral that depends on `name`, bound where it stands.
bool integralDependsOn(const Expr& e, const std::string& name, int depth = 0)
{
    if (!e.isFunction() || depth > kMaxDepth)
        return false;
    if (isDefiniteIntegral(e) && holdsFree(e, name))
        return true;
    const std::vector<std::string> bound = boundVariables(e);
    if (std::find(bound.begin(), bound.end(), name) != bound.end())
        return false; // inside, the name is another variable
    return std::any_of(e.parts.begin() + 1, e.parts.end(),
                       [&](const Expr& p) { return integralDependsOn(p, name, depth + 1); });
}

// e with `value` put in for the symbol `name` wherever no construct binds it.
Expr withValue(const Expr& e, const std::string& name, const Expr& value)
{
    if (e.isSymbol())
        return e.text == name ? value : e;
    const std::vector<std::string> bound = boundVariables(e);
    if (!e.isFunction() || std::find(bound.begin(), bound.end(), name) != bound.end())
        return e;
    Expr out = e;
    for (std::size_t i = 0; i < out.argCount(); ++i)
        out.arg(i) = withValue(out.arg(i), name, value);
    return out;
}

} // namespace

bool isBindingConstruct(const Expr& e)
{
    static constexpr std::string_view kHeads[] = {
        "Sum",   "Product",          "Table",           "Integrate", "D", "Dt", "Limit", "Series",
        "Solve", "FourierTransform", "LaplaceTransform"};
    const std::string_view head = headOf(e);
    return e.argCount() > 0 && std::find(std::begin(kHeads), std::end(kHeads), head) != std::end(kHeads);
}

std::vector<std::string> boundVariables(const Expr& e)
{
    const std::string_view head = headOf(e);
    std::vector<std::string> names;
    auto add = [&](const Expr& v) {
        if (v.isSymbol())
            names.push_back(v.text);
        else if (v.hasHead("List") && v.argCount() >= 1 && v.arg(0).isSymbol())
            names.push_back(v.arg(0).text);
    };
    if (head == "Sum" || head == "Product" || head == "Table" || head == "Integrate" || head == "D" || head == "Dt") {
        for (std::size_t i = 1; i < e.argCount(); ++i)
            add(e.arg(i));
    } else if (head == "Limit" && e.argCount() >= 2 && e.arg(1).hasHead("Rule", 2)) {
        add(e.arg(1).arg(0));
    } else if (head == "Series" && e.argCount() >= 2) {
        add(e.arg(1));
    } else if ((head == "Solve" || head == "FourierTransform" || head == "LaplaceTransform") && e.argCount() >= 2) {
        const Expr& unknowns = e.arg(1);
        for (std::size_t i = 0; unknowns.hasHead("List") && i < unknowns.argCount(); ++i)
            add(unknowns.arg(i));
        if (!unknowns.hasHead("List"))
            add(unknowns);
    }
    return names;
}

bool holdsFree(const Expr& e, const std::string& name)
{
    if (e.isSymbol())
        return e.text == name;
    const std::vector<std::string> bound = boundVariables(e);
    if (std::find(bound.begin(), bound.end(), name) != bound.end())
        return false;
    return std::any_of(e.parts.begin() + (e.isFunction() ? 1 : 0), e.parts.end(),
                       [&](const Expr& p) { return holdsFree(p, name); });
}

ConstructResolver::ConstructResolver(Integral integral, Structure structure, RangeValues values)
    : integral_(std::move(integral)), structure_(std::move(structure)), values_(std::move(values))
{}

Expr ConstructResolver::resolve(const Expr& request)
{
    wholly_ = false;
    terms_ = 0;
    return resolved(request, {}, 0, wholly_);
}

std::optional<Expr> ConstructResolver::termByTerm(const Expr& e, const std::vector<std::string>& around, int depth)
{
    if (!values_ || !isIteration(e) || rangeVariableOf(e.arg(1)).empty())
        return std::nullopt;
    // A later range's variable counts too: its ranges are taken one by one in turn.
    bool depends = false;
    for (std::size_t i = 1; i < e.argCount() && !depends; ++i) {
        const std::string variable = rangeVariableOf(e.arg(i));
        depends = !variable.empty() && integralDependsOn(e.arg(0), variable);
    }
    const std::optional<std::vector<Expr>> values = depends ? values_(e.arg(1)) : std::nullopt;
    if (!values || terms_ + values->size() > kMaxTerms)
        return std::nullopt;
    terms_ += values->size();
    // The construct over its other ranges, or its body when it has no more.
    Expr rest = e.arg(0);
    if (e.argCount() > 2) {
        rest = e;
        rest.parts.erase(rest.parts.begin() + 2);
    }
    const std::string variable = rangeVariableOf(e.arg(1));
    std::vector<Expr> terms;
    bool heldTerm = false;
    for (const Expr& value : *values) {
        bool replaced = false;
        terms.push_back(resolved(withValue(rest, variable, value), around, depth + 1, replaced));
        heldTerm = heldTerm ||
            std::any_of(held_.begin(), held_.end(), [&](const auto& h) { return holdsFree(terms.back(), h.first); });
    }
    const std::string_view head = headOf(e);
    if (head == "Table")
        return Expr::function("List", std::move(terms));
    // A sum or product of a term without a value has none either: it stays as written.
    if (heldTerm)
        return held(e);
    if (terms.size() <= 1)
        return terms.empty() ? Expr::integer(head == "Sum" ? 0 : 1) : terms.front();
    return Expr::function(head == "Sum" ? "Plus" : "Times", std::move(terms));
}

std::vector<Expr> ConstructResolver::outerRanges(const Expr& e) const
{
    const std::set<std::string> names = dependencies(e);
    std::vector<Expr> ranges;
    std::copy_if(integralRanges_.begin(), integralRanges_.end(), std::back_inserter(ranges),
                 [&](const Expr& range) { return names.count(range.arg(0).text) > 0; });
    return ranges;
}

Expr ConstructResolver::resolved(const Expr& e, const std::vector<std::string>& around, int depth, bool& replaced)
{
    const std::string_view head = headOf(e);
    if (!e.isFunction() || depth > kMaxDepth || head == "Hold" || head == "HoldForm")
        return e;
    if (std::optional<Expr> terms = termByTerm(e, around, depth)) {
        // What Giac makes of the terms is the answer, unless the whole is held.
        replaced = terms->isSymbol() && held_.count(terms->text) > 0;
        return *terms;
    }
    const std::vector<std::string> own = boundVariables(e);
    std::vector<std::string> inside = around;
    inside.insert(inside.end(), own.begin(), own.end());
    const bool definite = isDefiniteIntegral(e);
    Expr out = Expr::function(e.head(), {});
    out.parts.reserve(e.parts.size());
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        bool part = false;
        if (definite && i == 0)
            integralRanges_.push_back(e.arg(1));
        out.parts.push_back(resolved(e.arg(i), inside, depth + 1, part));
        if (definite && i == 0)
            integralRanges_.pop_back();
    }
    // Around are the variables of the constructs that hold this one: what depends
    // on them has its value only when Giac puts theirs in.
    auto dependsOn = [&](const std::vector<std::string>& variables) {
        return !variables.empty() && meets(dependencies(out), variables);
    };
    replaced = true;
    if (!held_.empty() && dependsOn(own))
        return held(e);
    if (isDefiniteIntegral(out)) {
        const Outcome outcome = integral_(out, dependsOn(around), outerRanges(out));
        replaced = outcome.kind != Outcome::giac;
        if (outcome.kind == Outcome::value)
            return outcome.answer;
        return replaced ? held(e) : out;
    }
    if (isStructure(out) && !dependsOn(around)) {
        const Outcome outcome = structure_(out);
        return outcome.kind == Outcome::value ? outcome.answer : held(e);
    }
    replaced = false;
    return out;
}

Expr ConstructResolver::held(const Expr& e)
{
    // One name for a construct however often it stands: Sin[1, 2] - Sin[1, 2] is 0.
    auto [named, fresh] = names_.try_emplace(wire::toFullForm(e));
    if (!fresh)
        return Expr::symbol(named->second);
    // A name no one types: it stands for the construct in what Giac computes.
    static std::atomic<unsigned long> serial{0};
    named->second = "vx held " + std::to_string(++serial);
    held_[named->second] = {e, dependencies(e)};
    return Expr::symbol(named->second);
}

std::set<std::string> ConstructResolver::dependencies(const Expr& e) const
{
    std::set<std::string> names;
    std::vector<std::string> boundInside;
    collect(e, names, boundInside);
    return names;
}

void ConstructResolver::collect(const Expr& e, std::set<std::string>& names,
                                std::vector<std::string>& boundInside) const
{
    if (e.isSymbol()) {
        if (auto found = held_.find(e.text); found != held_.end())
            names.insert(found->second.dependencies.begin(), found->second.dependencies.end());
        else if (std::find(boundInside.begin(), boundInside.end(), e.text) == boundInside.end())
            names.insert(e.text);
        return;
    }
    if (!e.isFunction())
        return;
    const std::size_t outer = boundInside.size();
    for (std::string& v : boundVariables(e))
        boundInside.push_back(std::move(v));
    for (std::size_t i = 0; i < e.argCount(); ++i)
        collect(e.arg(i), names, boundInside);
    boundInside.resize(outer);
}

std::string ConstructResolver::restoreText(std::string text) const
{
    for (const auto& [written, name] : names_) {
        for (auto at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
            const std::size_t end = at + name.size();
            if (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) {
                at = end; // the name of a later construct: vx held 12 after vx held 1
                continue;
            }
            text.replace(at, name.size(), written);
            at += written.size();
        }
    }
    return text;
}

Expr ConstructResolver::restore(const Expr& answer) const
{
    if (held_.empty())
        return answer;
    if (answer.isSymbol()) {
        auto found = held_.find(answer.text);
        return found == held_.end() ? answer : found->second.written;
    }
    Expr out = answer;
    for (Expr& part : out.parts)
        part = restore(part);
    return out;
}

} // namespace kernelproc
