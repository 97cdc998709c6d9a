#pragma once
// Whether Giac's value of a definite integral that converges can be trusted,
// and what is answered when it cannot. With numbers for ends, a value must
// agree with a numeric quadrature of the integrand; with an end that is not
// a number, its derivative by that end must be the integrand there (signed
// by the end's side). A quadrature contradicts a value only where it has
// seen the integrand: a quadrature whose samples were all 0 somewhere is
// evidence only once it has looked at the integrand's peaks. A value that
// fails is replaced by one that passes: the other of two values Giac could
// not choose between, or the change of a checked antiderivative between the
// ends, which also confirms a value no quadrature could check; else by the
// quadrature's number, said so; else the integral is held, and the reason
// says why. A value nothing could check is answered only where no
// quadrature could be expected to settle (an infinite end, a parameter).
// Only the kernel's Giac code includes this header.
#include "kernelproc/NumericQuadrature.h"

#include <giac/config.h>
#include <giac/giac.h>

#include <string>

namespace kernelproc {

struct IntegralAnswer {
    enum Kind {
        exact,   // `value` is the integral's value
        numeric, // `value` is its numeric value; `reason`, when there is one, says why no exact one is given
        held,    // the integral keeps its written form, and `reason` says why
    };
    Kind kind;
    giac::gen value;
    std::string reason;
};

// Giac's answer to the integral of f by x from a to b, which converges,
// checked; `known` is the integral's numeric value when it has been had.
IntegralAnswer checkedIntegral(const giac::gen& answer, const giac::gen& f, const giac::gen& x, const giac::gen& a,
                               const giac::gen& b, giac::context* context, std::optional<Quadrature> known = {});

// The integral's numeric value, when the ends are numbers or infinities and
// x is the integrand's only unknown; nothing when it cannot be had, or the
// quadrature has not seen where the integrand lives.
std::optional<Quadrature> numericIntegral(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                          const giac::gen& b, giac::context* context);

} // namespace kernelproc
