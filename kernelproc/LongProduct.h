#pragma once
// A product of more factors than Giac multiplies out one by one comes from
// its closed form in the number of factors. Before that form is computed for
// the number asked, its size is worked out from the form itself: a value of
// more digits than can be shown is refused with its size (Product[k, {k, 1,
// 10^7}] is an integer of 65657060 digits), and so is a closed form that holds
// an inexact number where the factors hold none, for Giac's form is not the
// product then.
#include "kernelproc/GiacInput.h"
#include "mathlink/Expr.h"

#include <optional>
#include <string>

namespace kernelproc {

class LongProduct {
public:
    // `value` evaluates a part of the request (see GiacInput::Value).
    explicit LongProduct(const GiacInput::Value& value) : value_(value) {}

    // Throws TranslationError where the product of `body` over `count`
    // factors, the variable of the product standing for `start + step j`
    // in the factor j (j from 0), is refused; returns where Giac may compute it.
    void check(const wire::Expr& body, const std::string& variable, const wire::Expr& start, const wire::Expr& step,
               long long count) const;

private:
    // About how many digits the value of `form` has when `n` is `last`.
    std::optional<double> digits(const wire::Expr& form, const wire::Expr& n, const wire::Expr& last, int depth) const;
    // The real part of e's numeric value, when it has one.
    std::optional<double> number(const wire::Expr& e) const;

    const GiacInput::Value& value_;
};

} // namespace kernelproc
