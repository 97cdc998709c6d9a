#include "kernelproc/BoxText.h"

#include <stdexcept>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kDepthLimit = 256;

enum Precedence { kSequence = 0, kRelation = 1, kSum = 2, kProduct = 3, kPower = 4, kAtom = 5 };

struct Writer {
    std::string write(const Expr& e, int depth);
    std::string operand(const Expr& e, int needed, int depth);
    // The base of a power or a subscript: a fraction in parentheses, (a/b)^2.
    std::string base(const Expr& e, int depth);
    // A numerator, denominator, exponent or subscript: one box, grouped when
    // it has operators of its own.
    std::string boxPart(const Expr& e, int depth);
    std::string fraction(const Expr& numerator, const Expr& denominator, int depth);
    std::string joined(const Expr& e, std::size_t from, const char* separator, int needed, int depth);
    // The elements of a list, the arguments of a call: a sequence among them
    // stands for its own elements.
    std::string items(const Expr& e, int depth);
    int precedence(const Expr& e) const;
};

bool isNegativeNumber(const Expr& e)
{
    return (e.type == wire::kTokenInteger || e.type == wire::kTokenReal) && !e.text.empty() && e.text[0] == '-';
}

bool isReciprocal(const Expr& e)
{
    return e.hasHead("Power", 2) && e.arg(1) == Expr::integer(-1);
}

const char* relationText(const Expr& e)
{
    static const std::pair<const char*, const char*> relations[] = {
        {"Equal", " == "}, {"Unequal", " != "}, {"Less", " < "}, {"LessEqual", " <= "}, {"Greater", " > "},
        {"GreaterEqual", " >= "}, {"Rule", " -> "}};
    for (const auto& [head, text] : relations) {
        if (e.hasHead(head))
            return text;
    }
    return nullptr;
}

int Writer::precedence(const Expr& e) const
{
    if (e.hasHead("Sequence"))
        return kSequence;
    if (relationText(e))
        return kRelation;
    if (e.hasHead("Plus") || isNegativeNumber(e))
        return kSum;
    if (e.hasHead("Times") || e.hasHead("Rational"))
        return kProduct;
    if (e.hasHead("Power"))
        return kPower;
    return kAtom;
}

std::string Writer::operand(const Expr& e, int needed, int depth)
{
    std::string text = write(e, depth + 1);
    return precedence(e) < needed ? "(" + text + ")" : text;
}

std::string Writer::base(const Expr& e, int depth)
{
    // A quotient counts as an atom elsewhere (a b/c); products and rationals
    // are bracketed by their precedence already.
    return e.hasHead("Divide", 2) ? "(" + write(e, depth + 1) + ")" : operand(e, kAtom, depth);
}

std::string Writer::boxPart(const Expr& e, int depth)
{
    // A sequence keeps the brackets it was typed in: (a, b)/c.
    if (e.hasHead("Sequence"))
        return operand(e, kAtom, depth);
    const std::string text = write(e, depth + 1);
    const bool grouped = precedence(e) < kPower && !isNegativeNumber(e) && !e.hasHead("Rational");
    return grouped ? "\\(" + text + "\\)" : text;
}

std::string Writer::fraction(const Expr& numerator, const Expr& denominator, int depth)
{
    return "\\(" + boxPart(numerator, depth) + "\\/" + boxPart(denominator, depth) + "\\)";
}

std::string Writer::items(const Expr& e, int depth)
{
    std::string text;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        const Expr& item = e.arg(i);
        const std::string written = item.hasHead("Sequence") ? items(item, depth + 1) : operand(item, kRelation, depth);
        if (!written.empty() || !item.hasHead("Sequence"))
            text += (text.empty() ? "" : ", ") + written;
    }
    return text;
}

std::string Writer::joined(const Expr& e, std::size_t from, const char* separator, int needed, int depth)
{
    std::string text;
    for (std::size_t i = from; i < e.argCount(); ++i) {
        if (i > from)
            text += separator;
        text += operand(e.arg(i), needed, depth);
    }
    return text;
}

std::string Writer::write(const Expr& e, int depth)
{
    if (depth > kDepthLimit)
        throw std::invalid_argument("the expression is nested too deeply");
    if (e.type == wire::kTokenString)
        return "\"" + e.text + "\"";
    if (!e.isFunction())
        return e.text;
    if (e.hasHead("Sequence"))
        return items(e, depth);
    if (const char* relation = relationText(e))
        return joined(e, 0, relation, kSum, depth);
    if (e.hasHead("Plus")) {
        std::string text = operand(e.arg(0), kSum, depth);
        for (std::size_t i = 1; i < e.argCount(); ++i) {
            const Expr& term = e.arg(i);
            if (isNegativeNumber(term))
                text += " - " + term.text.substr(1);
            else if (term.hasHead("Times") && term.argCount() >= 2 && term.arg(0) == Expr::integer(-1)) {
                Expr rest = term;
                rest.parts.erase(rest.parts.begin() + 1);
                text += " - " + operand(rest.argCount() == 1 ? rest.arg(0) : rest, kProduct, depth);
            } else
                text += " + " + operand(term, kSum + 1, depth);
        }
        return text;
    }
    if (e.hasHead("Rational", 2))
        return "\\(" + write(e.arg(0), depth + 1) + "\\/" + write(e.arg(1), depth + 1) + "\\)";
    if (e.hasHead("Times")) {
        Expr numerator = Expr::function("Times", {}), denominator = Expr::function("Times", {});
        for (std::size_t i = 0; i < e.argCount(); ++i)
            (isReciprocal(e.arg(i)) ? denominator.parts.push_back(e.arg(i).arg(0)) : numerator.parts.push_back(e.arg(i)));
        auto product = [](Expr p) { return p.argCount() == 1 ? p.arg(0) : p; };
        if (denominator.argCount() == 0)
            return numerator.argCount() == 0 ? "1" : joined(numerator, 0, " ", kProduct + 1, depth);
        if (numerator.argCount() == 0)
            numerator = Expr::integer(1);
        return fraction(product(std::move(numerator)), product(std::move(denominator)), depth);
    }
    if (e.hasHead("Divide", 2))
        return fraction(e.arg(0), e.arg(1), depth);
    if (isReciprocal(e))
        return fraction(Expr::integer(1), e.arg(0), depth);
    if (e.hasHead("Power", 2))
        return "\\(" + base(e.arg(0), depth) + "\\^" + boxPart(e.arg(1), depth) + "\\)";
    if (e.hasHead("Sqrt", 1))
        return "\\@" + operand(e.arg(0), kAtom, depth);
    if (e.hasHead("Subscript", 2))
        return "\\(" + base(e.arg(0), depth) + "\\_" + boxPart(e.arg(1), depth) + "\\)";
    if (e.hasHead("List"))
        return "{" + items(e, depth) + "}";
    // A drawing point reads as it was typed: (a, b).
    if (e.hasHead("QVPoint"))
        return "(" + items(e, depth) + ")";
    return write(e.head(), depth + 1) + "[" + items(e, depth) + "]";
}

} // namespace

std::string boxText(const Expr& e)
{
    return Writer().write(e, 0);
}

} // namespace kernelproc
