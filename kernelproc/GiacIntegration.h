#pragma once
// Indefinite integration that a user can trust: Giac's antiderivative when it
// differentiates back to the integrand, else what a person would try next
// (simplifying, expanding, rewriting trigonometric products and powers,
// splitting a sum), each candidate checked the same way. The search and each
// check are bounded in time, so a refusal comes within seconds. Only the
// kernel's Giac code includes this header.
#include <giac/config.h>
#include <giac/giac.h>

#include <optional>
#include <string>
#include <vector>

namespace kernelproc {

// A checked antiderivative of f by x, or nothing when none was found (or the
// user stopped the search). Throws std::runtime_error saying why when the
// search ran out of time or Giac stopped a too deep recursion.
std::optional<giac::gen> checkedAntiderivative(const giac::gen& f, const giac::gen& x, giac::context* context);
// The outcomes of earlier searches are remembered for the request they were
// made in; this forgets them, before the next request.
void forgetAntiderivatives();

// True when the derivative of F by x equals f. Sample points come first: real
// points where f is real and finite, complex points only when there are too
// few of those; a disagreement there is final. When the points cannot tell,
// a simplification bounded in time decides.
bool differentiatesTo(const giac::gen& F, const giac::gen& f, const giac::gen& x, giac::context* context);

// Why a definite integral is not given a value.
struct Divergence {
    enum Kind {
        diverges,  // it does not converge, or may not for some values of a symbolic end
        undecided, // whether it converges could not be decided
    };
    Kind kind;
    std::string text;
};

// Why the integral of f by x from a to b cannot be given a value, or nothing
// when it converges. It diverges where the integrand is not integrable: at a
// pole or a logarithmic singularity inside the range or at an end, or at an
// infinite end it does not vanish fast enough to. A principal value, which
// cancels the two sides of a pole, is never a value here. `name` is the
// variable as the user wrote it, for the text. A range given backwards is
// the same range. Where an end is not a number, every singular point that is
// one may lie between the ends: one that is not integrable there keeps the
// integral from a value. Singular points that are not numbers are not looked at.
std::optional<Divergence> integralDivergence(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                             const giac::gen& b, const std::string& name, giac::context* context);

// The range of a variable of an integral around another: its identifier in
// Giac, its name as the user wrote it, and its ends.
struct OuterRange {
    giac::gen variable;
    std::string name;
    giac::gen low, high;
};

// Why the integral of f by x from a to b, which depends on the variables of
// the integrals around it, diverges for values they take within their
// ranges, or nothing when it converges at the values looked at (a few inside
// each range, which must have numbers for ends).
std::optional<Divergence> divergenceWithin(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                           const giac::gen& b, const std::string& name,
                                           const std::vector<OuterRange>& outer, giac::context* context);

// The integral of f by x from a to b (numbers or infinities) as the change of
// a checked antiderivative between the ends, approached from inside the
// range: for where Giac's own value is doubtful. Nothing when no
// antiderivative is found, a limit at an end is not finite, or the
// antiderivative jumps inside the range.
std::optional<giac::gen> integralByAntiderivative(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                                  const giac::gen& b, giac::context* context);

// A real number, with the infinities as such; nothing for anything else.
std::optional<double> realNumber(const giac::gen& g, giac::context* context);

// The points of [lo, hi] where f is singular that are numbers (for a
// periodic f, those near the ends of the range and of its first period), and
// those where a step, sign, absolute value, maximum or minimum in it switches.
std::vector<double> singularPlaces(const giac::gen& f, const giac::gen& x, double lo, double hi,
                                   giac::context* context);

// The points of [lo, hi] where the derivative of f by x is 0, where a peak
// of f would be, as Giac solves for them within a second; nothing when it
// cannot solve for them.
std::optional<std::vector<double>> criticalPlaces(const giac::gen& f, const giac::gen& x, double lo, double hi,
                                                  giac::context* context);

} // namespace kernelproc
