#pragma once
// The numeric value of an integral of a function of one real variable, for
// checking an exact value against: adaptive 15-point Gauss-Kronrod
// quadrature, which never evaluates the function at the ends of a piece (an
// integrable singularity there does no harm), refines where its error
// estimate is largest, and maps an infinite end onto a finite one by
// x = a + t / (1 - t). A value is given only when its estimated error is
// within the tolerance (or, where that cannot be reached, a looser one, and
// the error says so); the number of evaluations is bounded, and the caller
// may stop the work at any time. Independent of Giac.
//
// Where every sample of a part of the range is 0, the rule has not seen the
// integrand there: it may be 0, or live between the samples (a narrow peak
// far out, a decay over a small part of a long range). A part at a finite
// end of a piece is looked at ever closer to that end, where the integrand
// may live short of the first sample; such a stretch is probed, evenly and
// at powers of 2 out, and where a probe finds the integrand the range is
// split there and integrated again. What stays unseen is reported: the
// caller decides whether the value can be evidence.
#include <complex>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kernelproc {

// The integrand's value at a point; nothing where it has none.
using Integrand = std::function<std::optional<std::complex<double>>(double)>;

struct Quadrature {
    std::complex<double> value;
    double error = 0;     // the estimated error of value
    double magnitude = 0; // the integral of |f|: the scale that rounding works on
    // The stretches of the range [from, to] where every sample (and every
    // probe) was 0, in order; an end may be infinite.
    std::vector<std::pair<double, double>> unseen;
};

struct QuadratureLimits {
    int evaluations = 20000;
    // Of the magnitude only: a value that is small beside 1 may still be all
    // the integral there is (e^-1000x over a long range), so no error is
    // small enough in itself.
    double relativeTolerance = 1e-10;
    // Where the tolerance cannot be reached (at a singular end, or within
    // the evaluations), an error within this share still gives a value.
    double looseTolerance = 1e-6;
    std::function<bool()> stopped; // asked between evaluations; may be empty
};

// The integral of f over [a, b] (either end may be infinite; b < a gives the
// negative), split first at `breaks` (points where f is singular or jumps),
// or nothing when f has no value at a point the rule needs, or the
// tolerance is not reached within the limits.
std::optional<Quadrature> integrateNumerically(const Integrand& f, double a, double b, std::vector<double> breaks,
                                               const QuadratureLimits& limits = {});

} // namespace kernelproc
