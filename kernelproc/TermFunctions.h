#pragma once
// Small numeric and structural helpers the expression compilers share: the
// reciprocal trigonometric functions, real powers and an expression's head.
#include "kernelproc/GiacNames.h"
#include "mathlink/Expr.h"

#include <cmath>
#include <string_view>

namespace kernelproc {

inline double sec(double x)
{
    return 1 / std::cos(x);
}
inline double csc(double x)
{
    return 1 / std::sin(x);
}
inline double cot(double x)
{
    return 1 / std::tan(x);
}

// Real powers: an odd root of a negative number is the real root.
inline double realPower(double b, double e)
{
    if (b < 0 && std::isfinite(e) && e != std::floor(e)) {
        const double inverse = 1 / e;
        if (std::abs(inverse - std::round(inverse)) < 1e-12 && std::fmod(std::round(inverse), 2) != 0)
            return -std::pow(-b, e);
    }
    return std::pow(b, e);
}

// The plain name of a function's symbol head; empty for anything else.
inline std::string_view headOf(const wire::Expr& e)
{
    return e.isFunction() && e.head().isSymbol() ? plainHead(e.head().text) : std::string_view();
}

} // namespace kernelproc
