#include "kernelproc/LongProduct.h"

#include "kernelproc/ListValues.h"

#include <algorithm>
#include <cmath>

namespace kernelproc {

using wire::Expr;

namespace {

// Giac shows integers of up to a million digits.
constexpr double kShownDigits = 1e6;
constexpr int kMaxDepth = 64;

Expr call(const char* head, std::vector<Expr> args)
{
    return Expr::function(head, std::move(args));
}

// log10 of an integer written out: the number of digits it takes, less one.
double integerSize(const std::string& digits)
{
    const std::string magnitude = digits.substr(digits.find_first_not_of("-"));
    return std::log10(std::max(1.0, std::stod(magnitude.substr(0, 17)))) +
        double(magnitude.size() > 17 ? magnitude.size() - 17 : 0);
}

} // namespace

void LongProduct::check(const Expr& body, const std::string& variable, const Expr& start, const Expr& step,
                        long long count) const
{
    if (!value_)
        return;
    const Expr j = Expr::symbol("vx factor");
    const Expr n = Expr::symbol("vx last factor");
    const Expr factor = replacedFree(body, variable, call("Plus", {start, call("Times", {step, j})}));
    const Expr form = value_(call("Product", {factor, call("List", {j, Expr::integer(0), n})}), true);
    if (!form.isFunction() || form.hasHead("Product"))
        return; // no closed form: Giac multiplies as before
    const std::optional<double> size = digits(form, n, Expr::integer(count - 1), 0);
    const std::string factors = "the product of " + std::to_string(count) + " factors";
    if (size && *size + 1 > kShownDigits)
        throw TranslationError(factors + " is a number of about " + std::to_string(static_cast<long long>(*size) + 1) +
                               " digits, too many to show");
    if (containsReal(form) && !containsReal(factor))
        throw TranslationError(factors + " has no exact closed form here, and too many factors to multiply out");
}

std::optional<double> LongProduct::digits(const Expr& form, const Expr& n, const Expr& last, int depth) const
{
    if (depth > kMaxDepth)
        return std::nullopt;
    if (form.type == wire::kTokenInteger)
        return integerSize(form.text);
    if (form.type == wire::kTokenReal)
        return 0.0;
    if (form == n)
        return integerSize(last.text);
    if (form.isSymbol())
        return 0.5; // a constant: Pi, E, I
    auto part = [&](std::size_t i) { return digits(form.arg(i), n, last, depth + 1); };
    auto atLast = [&](const Expr& e) { return number(replacedFree(e, n.text, last)); };
    if (form.hasHead("Times") || form.hasHead("Rational") || form.hasHead("Plus")) {
        // A product's factors, and a fraction's numerator and denominator, add
        // their digits; a sum has about as many as its longest term.
        const bool sum = form.hasHead("Plus");
        double total = 0;
        for (std::size_t i = 0; i < form.argCount(); ++i) {
            const std::optional<double> size = part(i);
            if (!size)
                return std::nullopt;
            total = sum ? std::max(total, *size) : total + *size;
        }
        return total;
    }
    if (form.hasHead("Power", 2) || form.hasHead("VXRadical", 2)) {
        const std::optional<double> base = part(0);
        const std::optional<double> exponent = atLast(form.arg(1));
        if (!base || !exponent)
            return std::nullopt;
        return form.hasHead("Power") ? *base * std::fabs(*exponent) : *base / std::fabs(*exponent);
    }
    if ((form.hasHead("Factorial", 1) || form.hasHead("Gamma", 1))) {
        const std::optional<double> argument = atLast(form.arg(0));
        if (!argument || *argument < 0)
            return std::nullopt;
        return std::lgamma(*argument + (form.hasHead("Factorial") ? 1.0 : 0.0)) / std::log(10.0);
    }
    const std::optional<double> value = atLast(form);
    if (!value)
        return std::nullopt;
    return std::log10(std::max(1.0, std::fabs(*value)));
}

std::optional<double> LongProduct::number(const Expr& e) const
{
    Expr value = value_(call("N", {e}), true);
    if (value.hasHead("Complex", 2))
        value = Expr(value.arg(0));
    try {
        if (value.type == wire::kTokenInteger || value.type == wire::kTokenReal) {
            const double x = std::stod(value.text);
            return std::isfinite(x) ? std::optional<double>(x) : std::nullopt;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

} // namespace kernelproc
