#pragma once
// Indefinite integration that a user can trust: Giac's antiderivative when it
// differentiates back to the integrand, else what a person would try next
// (simplifying, expanding, rewriting trigonometric products and powers,
// splitting a sum), each candidate checked the same way. Only the kernel's
// Giac code includes this header.
#include <giac/config.h>
#include <giac/giac.h>

#include <optional>

namespace kernelproc {

// A checked antiderivative of f by x, or nothing when none was found.
std::optional<giac::gen> checkedAntiderivative(const giac::gen& f, const giac::gen& x, giac::context* context);

// True when the derivative of F by x equals f, symbolically or, when
// simplification cannot tell, at several sample points.
bool differentiatesTo(const giac::gen& F, const giac::gen& f, const giac::gen& x, giac::context* context);

} // namespace kernelproc
