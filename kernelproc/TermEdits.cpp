#include "kernelproc/TermEdits.h"

#include "kernelproc/GiacNames.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kDepthLimit = 512;

bool isMarker(const Expr& e)
{
    return e.hasHead("VXMover", 1) || e.hasHead("VXTarget", 1) || e.hasHead("VXMarker", 1);
}

bool hasPlainHead(const Expr& e, std::string_view name)
{
    return e.isFunction() && e.head().isSymbol() && plainHead(e.head().text) == name;
}

// Takes the markers off e (in place), recording where the mover and the target stood.
void unmark(Expr& e, TermPath& path, MarkedTerms& found, int depth)
{
    while (isMarker(e)) {
        if (e.hasHead("VXTarget"))
            found.target = path;
        else
            found.mover = path;
        Expr inner = std::move(e.arg(0));
        e = std::move(inner);
    }
    if (!e.isFunction() || depth > kDepthLimit)
        return;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        path.push_back(i);
        unmark(e.arg(i), path, found, depth + 1);
        path.pop_back();
    }
}

const char* const kRelationOperators[] = {"Equal", "Unequal", "Less", "LessEqual", "Greater", "GreaterEqual"};

bool isRelationOperator(const std::string& name)
{
    return std::find(std::begin(kRelationOperators), std::end(kRelationOperators), name) !=
           std::end(kRelationOperators);
}

} // namespace

MarkedTerms findMarkedTerms(const Expr& marked)
{
    MarkedTerms found;
    found.clean = marked;
    TermPath path;
    unmark(found.clean, path, found, 0);
    return found;
}

Expr withoutTermMarkers(const Expr& e)
{
    return findMarkedTerms(e).clean;
}

const Expr& partAt(const Expr& e, const TermPath& path)
{
    const Expr* part = &e;
    for (std::size_t i : path)
        part = &part->arg(i);
    return *part;
}

Expr& partAt(Expr& e, const TermPath& path)
{
    Expr* part = &e;
    for (std::size_t i : path)
        part = &part->arg(i);
    return *part;
}

bool isChildPath(const TermPath& path, const TermPath& prefix)
{
    return path.size() == prefix.size() + 1 && std::equal(prefix.begin(), prefix.end(), path.begin());
}

bool isSum(const Expr& e) { return hasPlainHead(e, "Plus") && e.argCount() > 0; }
bool isProduct(const Expr& e) { return hasPlainHead(e, "Times") && e.argCount() > 0; }
bool isQuotient(const Expr& e) { return hasPlainHead(e, "Divide") && e.argCount() == 2; }

bool isNumber(const Expr& e)
{
    return e.type == wire::kTokenInteger || e.type == wire::kTokenReal;
}

int numberSign(const Expr& e)
{
    if (!isNumber(e) || e.text.empty())
        return 0;
    if (e.text[0] == '-')
        return -1;
    const bool zero = std::all_of(e.text.begin(), e.text.end(), [](char c) { return c == '0' || c == '.'; });
    return zero ? 0 : 1;
}

std::string twoSidedRelation(const Expr& e)
{
    if (hasPlainHead(e, "Inequality") && e.argCount() == 3 && e.arg(1).isSymbol() && isRelationOperator(e.arg(1).text))
        return e.arg(1).text;
    if (e.argCount() == 2 && e.head().isSymbol() && isRelationOperator(e.head().text))
        return e.head().text;
    return {};
}

bool isEquation(const Expr& e) { return twoSidedRelation(e) == "Equal"; }

const Expr& leftSide(const Expr& relation) { return relation.arg(0); }

const Expr& rightSide(const Expr& relation)
{
    return relation.arg(relation.argCount() - 1);
}

Expr relation(const Expr& left, const std::string& op, const Expr& right)
{
    return Expr::function("VXInequality", {left, Expr::symbol(op), right});
}

std::string mirroredRelation(const std::string& op)
{
    if (op == "Less")
        return "Greater";
    if (op == "Greater")
        return "Less";
    if (op == "LessEqual")
        return "GreaterEqual";
    if (op == "GreaterEqual")
        return "LessEqual";
    return op;
}

Expr negated(const Expr& e)
{
    if (isNumber(e) && !e.text.empty())
        return Expr::atom(e.type, e.text[0] == '-' ? e.text.substr(1) : numberSign(e) == 0 ? e.text : "-" + e.text);
    if (isProduct(e) && isNumber(e.arg(0))) {
        if (e.arg(0) == Expr::integer(-1))
            return withoutArgument(e, 0);
        Expr copy = e;
        copy.arg(0) = negated(e.arg(0));
        return copy;
    }
    if (isSum(e)) {
        Expr copy = e;
        for (Expr& term : copy.parts)
            if (&term != &copy.parts.front())
                term = negated(term);
        return copy;
    }
    return productOf(Expr::integer(-1), e);
}

Expr sumOf(const Expr& a, const Expr& b)
{
    Expr sum = Expr::function("VXPlus", {});
    for (const Expr* e : {&a, &b}) {
        if (isSum(*e))
            sum.parts.insert(sum.parts.end(), e->parts.begin() + 1, e->parts.end());
        else
            sum.parts.push_back(*e);
    }
    return sum;
}

Expr productOf(const Expr& a, const Expr& b)
{
    Expr product = Expr::function("VXTimes", {});
    for (const Expr* e : {&a, &b}) {
        if (isProduct(*e))
            product.parts.insert(product.parts.end(), e->parts.begin() + 1, e->parts.end());
        else
            product.parts.push_back(*e);
    }
    return product;
}

Expr quotientOf(const Expr& numerator, const Expr& denominator)
{
    return Expr::function("VXDivide", {numerator, denominator});
}

Expr withoutArgument(const Expr& e, std::size_t i)
{
    Expr rest = e;
    rest.parts.erase(rest.parts.begin() + 1 + static_cast<std::ptrdiff_t>(i));
    if (rest.argCount() == 1)
        return rest.arg(0);
    if (rest.argCount() == 0)
        return Expr::integer(isSum(e) ? 0 : 1);
    return rest;
}

namespace {

// The letter the user typed for a symbol, or 0: the package spells e, i, p,
// E, I, T and D its own way.
char typedLetter(const std::string& name)
{
    static const std::pair<const char*, char> spellings[] = {{"E", 'e'},    {"I", 'i'},   {"vxP", 'p'}, {"capE", 'E'},
                                                             {"capI", 'I'}, {"VXT", 'T'}, {"VXD", 'D'}};
    for (const auto& [spelling, letter] : spellings) {
        if (name == spelling)
            return letter;
    }
    return name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0])) ? name[0] : 0;
}

// Numbers, letters and products of them as typed ("2x", "-a"), else "".
std::string linearText(const Expr& e)
{
    if (isNumber(e))
        return e.text;
    if (e.isSymbol()) {
        const char letter = typedLetter(e.text);
        return letter ? std::string(1, letter) : std::string();
    }
    if (!isProduct(e))
        return {};
    std::string text;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        if (i == 0 && e.arg(0) == Expr::integer(-1) && e.argCount() > 1) {
            text += '-';
            continue;
        }
        std::string factor = linearText(e.arg(i));
        if (factor.empty() || (i > 0 && isNumber(e.arg(i))))
            return {};
        text += factor;
    }
    return text;
}

} // namespace

Expr inAnswerSpelling(const Expr& e)
{
    static const std::pair<const char*, const char*> spellings[] = {
        {"E", "e"}, {"I", "i"}, {"capSigma", "Sigma"}, {"capLambda", "Lambda"}};
    if (e.isSymbol()) {
        for (const auto& [package, answer] : spellings) {
            if (e.text == package)
                return Expr::symbol(answer);
        }
        return e;
    }
    Expr copy = e;
    for (Expr& part : copy.parts)
        part = inAnswerSpelling(part);
    return copy;
}

std::string shortText(const Expr& e, const char* otherwise)
{
    constexpr std::size_t kLongest = 12;
    std::string text = linearText(e);
    return !text.empty() && text.size() <= kLongest ? text : otherwise;
}

Expr offer(int code, const std::string& text, int placement)
{
    return Expr::function("List", {Expr::integer(code), Expr::string(text), Expr::integer(placement)});
}

Expr offerList(const std::vector<Expr>& offers)
{
    if (offers.empty())
        return Expr::function("List", {offer(0, "", 0)});
    return Expr::function("List", offers);
}

} // namespace kernelproc
