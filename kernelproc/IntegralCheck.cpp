#include "kernelproc/IntegralCheck.h"

#include "kernelproc/GiacBounds.h"
#include "kernelproc/GiacIntegration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace kernelproc {

namespace {

using Complex = std::complex<double>;

// The quadrature's share of a request: a refusal or an answer comes within seconds.
constexpr std::chrono::milliseconds kQuadratureTime(3000);
// An exact value agrees with the quadrature within this many of its
// estimated errors, or this share of the integral of |f| (rounding in the
// value's own terms); a value Giac computed in floating point, within the
// looser share: the quadrature's number is then the better one.
constexpr double kErrorMargin = 10;
constexpr double kExactMargin = 1e-9;
constexpr double kInexactMargin = 1e-6;
// The numbers the unknowns take in turn, in ten-thousandths, when a value is
// checked at points: irregular enough to miss the special values of
// ordinary integrands, and one negative. Agreement at two sets will do.
constexpr int kSampleValues[] = {3712, 12893, 8627, -8151, 24417};
constexpr int kAgreeingSamples = 2;
constexpr std::chrono::milliseconds kSamplingTime(4000);

enum class Verdict {
    agrees,
    roughly, // a value in floating point that agrees to its own precision
    contradicts,
    undecided,
};

bool finite(Complex z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

std::optional<Complex> numberOf(const giac::gen& g, giac::context* context)
{
    try {
        const giac::gen value = giac::evalf_double(g, 1, context);
        if (giacInterrupted() ||
            (value.type != giac::_DOUBLE_ && value.type != giac::_INT_ && value.type != giac::_CPLX))
            return std::nullopt;
        const Complex z = giac::gen2complex_d(value);
        return finite(z) ? std::optional<Complex>(z) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The unknowns of g; Giac counts its infinity among them.
giac::vecteur namesIn(const giac::gen& g, giac::context* context)
{
    giac::vecteur unknowns;
    try {
        const giac::gen names = giac::_lname(g, context);
        if (names.type == giac::_VECT)
            std::copy_if(names._VECTptr->begin(), names._VECTptr->end(), std::back_inserter(unknowns),
                         [](const giac::gen& name) { return !giac::is_inf(name) && !giac::is_undef(name); });
    } catch (const std::exception&) {
    }
    return unknowns;
}

// True when g holds a number in floating point.
bool inexact(const giac::gen& g)
{
    switch (g.type) {
    case giac::_DOUBLE_:
    case giac::_REAL:
    case giac::_FLOAT_: return true;
    case giac::_CPLX: return inexact(*g._CPLXptr) || inexact(*(g._CPLXptr + 1));
    case giac::_SYMB: return inexact(g._SYMBptr->feuille);
    case giac::_VECT: return std::any_of(g._VECTptr->begin(), g._VECTptr->end(), inexact);
    default: return false;
    }
}

bool holds(const giac::vecteur& names, const giac::gen& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The value of F at an end, or its limit there where F has none (at an
// infinite end, or a removable singularity).
std::optional<giac::gen> valueAtEnd(const giac::gen& F, const giac::gen& x, const giac::gen& end,
                                    giac::context* context)
{
    try {
        if (!giac::is_inf(end)) {
            const giac::gen value = giac::subst(F, x, end, false, context);
            if (!giac::is_undef(value) && !giac::is_inf(value) && !giacInterrupted())
                return value;
        }
        const giac::gen value = giac::_limit(giac::makesequence(F, x, end), context);
        if (giac::is_undef(value) || giac::is_inf(value) || giacInterrupted() || value.type == giac::_STRNG)
            return std::nullopt;
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// How a value, computed at a point, stands to the quadrature there.
Verdict compared(const giac::gen& value, const Quadrature& q, giac::context* context)
{
    const std::optional<Complex> v = numberOf(value, context);
    if (!v)
        return Verdict::contradicts;
    const double distance = std::abs(*v - q.value);
    const double margin = inexact(value) ? kInexactMargin : kExactMargin;
    if (distance > std::max(kErrorMargin * q.error, margin * q.magnitude))
        return Verdict::contradicts;
    return inexact(value) ? Verdict::roughly : Verdict::agrees;
}

// Judges the values proposed for one integral.
class Judge {
public:
    Judge(const giac::gen& f, const giac::gen& x, const giac::gen& a, const giac::gen& b, giac::context* context,
          std::optional<Quadrature> known)
        : f_(f), x_(x), a_(a), b_(b), context_(context),
          numericEnds_(realNumber(a, context).has_value() && realNumber(b, context).has_value()),
          quadratureTried_(known.has_value()), quadrature_(std::move(known))
    {
        for (const giac::gen& name : namesIn(giac::makevecteur(f, a, b), context)) {
            if (name != x)
                unknowns_.push_back(name);
        }
    }

    Verdict of(const giac::gen& value)
    {
        if (holds(namesIn(value, context_), x_))
            return Verdict::contradicts; // the value of a definite integral cannot depend on its variable
        if (unknowns_.empty()) {
            const std::optional<Quadrature>& q = numeric();
            return q ? compared(value, *q, context_) : Verdict::undecided;
        }
        const Verdict sampled = bySamples(value);
        const Verdict derived = numericEnds_ ? Verdict::undecided : byDerivative(value);
        if (sampled == Verdict::contradicts || derived == Verdict::contradicts)
            return Verdict::contradicts;
        return sampled == Verdict::undecided && derived == Verdict::undecided ? Verdict::undecided : Verdict::agrees;
    }

    // The integral's numeric value, where it holds no unknown but x.
    const std::optional<Quadrature>& numeric()
    {
        if (!quadratureTried_) {
            quadrature_ = numericIntegral(f_, x_, a_, b_, context_);
            quadratureTried_ = true;
        }
        return quadrature_;
    }

    // The change of a checked antiderivative between the ends.
    std::optional<giac::gen> byAntiderivative()
    {
        if (numericEnds_)
            return integralByAntiderivative(f_, x_, a_, b_, context_);
        std::optional<giac::gen> F;
        try {
            F = checkedAntiderivative(f_, x_, context_);
        } catch (const std::runtime_error&) {
            return std::nullopt;
        }
        const std::optional<giac::gen> upper = F ? valueAtEnd(*F, x_, b_, context_) : std::nullopt;
        const std::optional<giac::gen> lower = upper ? valueAtEnd(*F, x_, a_, context_) : std::nullopt;
        if (!lower)
            return std::nullopt;
        // Not simplified: Giac's simplification of roots under abs takes a minute and makes them worse.
        return *upper - *lower;
    }

private:
    // With numbers put in for the unknowns, the value against the quadrature,
    // at a few sets of numbers. A set where the integral does not converge,
    // or is not real (where branches of roots and logarithms part), tells nothing.
    Verdict bySamples(const giac::gen& value)
    {
        GiacTimeLimit time(kSamplingTime);
        int agreeing = 0;
        for (std::size_t k = 0; k < std::size(kSampleValues) && agreeing < kAgreeingSamples; ++k) {
            giac::vecteur values;
            for (std::size_t i = 0; i < unknowns_.size(); ++i)
                values.push_back(giac::gen(kSampleValues[(i + k) % std::size(kSampleValues)]) / giac::gen(10000));
            try {
                auto at = [&](const giac::gen& g) { return giac::subst(g, unknowns_, values, false, context_); };
                const std::optional<Quadrature> q = numericIntegral(at(f_), x_, at(a_), at(b_), context_);
                if (giacInterrupted() || !q || std::abs(q->value.imag()) > kErrorMargin * q->error)
                    continue;
                const giac::gen there = at(value);
                if (!numberOf(there, context_))
                    continue;
                if (compared(there, *q, context_) == Verdict::contradicts)
                    return Verdict::contradicts;
                ++agreeing;
            } catch (const std::exception&) {
                continue;
            }
        }
        return agreeing > 0 ? Verdict::agrees : Verdict::undecided;
    }

    // By each unknown s of the ends that the integrand does not hold, the
    // value's derivative is f(b) db/ds - f(a) da/ds.
    Verdict byDerivative(const giac::gen& value)
    {
        const giac::vecteur inIntegrand = namesIn(f_, context_);
        bool checked = false;
        for (const giac::gen& s : namesIn(giac::makevecteur(a_, b_), context_)) {
            if (holds(inIntegrand, s))
                continue;
            giac::gen expected = 0;
            try {
                for (const auto& [end, sign] : {std::pair{b_, 1}, {a_, -1}}) {
                    const giac::gen rate = giac::derive(end, s, context_);
                    if (!giac::is_zero(rate, context_))
                        expected = expected + giac::gen(sign) * giac::subst(f_, x_, end, false, context_) * rate;
                }
            } catch (const std::exception&) {
                return Verdict::undecided;
            }
            if (!differentiatesTo(value, expected, s, context_))
                return Verdict::contradicts;
            checked = true;
        }
        return checked ? Verdict::agrees : Verdict::undecided;
    }

    giac::gen f_, x_, a_, b_;
    giac::context* context_;
    bool numericEnds_;
    giac::vecteur unknowns_; // of the integrand and the ends, but x
    bool quadratureTried_ = false;
    std::optional<Quadrature> quadrature_;
};

// The quadrature's value as a number to the digits its error leaves
// (at most 12), real when its imaginary part is no more than its error.
giac::gen numberFrom(const Quadrature& q)
{
    const double size = std::abs(q.value);
    const int digits = q.error > 0 && size > 0 ? std::clamp(int(std::floor(std::log10(size / q.error))), 1, 12) : 12;
    auto rounded = [digits](double v) {
        char text[40];
        std::snprintf(text, sizeof text, "%.*g", digits, v);
        return giac::gen(std::strtod(text, nullptr));
    };
    if (std::abs(q.value.imag()) <= kErrorMargin * q.error)
        return rounded(q.value.real());
    return giac::gen(rounded(q.value.real()), rounded(q.value.imag()));
}

} // namespace

std::optional<Quadrature> numericIntegral(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                          const giac::gen& b, giac::context* context)
{
    const std::optional<double> lo = realNumber(a, context);
    const std::optional<double> hi = realNumber(b, context);
    const giac::vecteur names = namesIn(f, context);
    if (!lo || !hi || f.type == giac::_VECT ||
        std::any_of(names.begin(), names.end(), [&](const giac::gen& n) { return n != x; }))
        return std::nullopt;
    GiacTimeLimit time(kQuadratureTime);
    const Integrand integrand = [&](double t) -> std::optional<Complex> {
        try {
            return numberOf(giac::subst(f, x, giac::gen(t), false, context), context);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    };
    QuadratureLimits limits;
    limits.stopped = [] { return giacInterrupted(); };
    const std::vector<double> breaks = singularPlaces(f, x, std::min(*lo, *hi), std::max(*lo, *hi), context);
    return integrateNumerically(integrand, *lo, *hi, breaks, limits);
}

IntegralAnswer checkedIntegral(const giac::gen& answer, const giac::gen& f, const giac::gen& x, const giac::gen& a,
                               const giac::gen& b, giac::context* context, std::optional<Quadrature> known)
{
    if (answer.type != giac::_STRNG && (giac::is_inf(answer) || giac::is_undef(answer)))
        return {IntegralAnswer::held, answer, "The integral has no finite value."};
    Judge judge(f, x, a, b, context, std::move(known));
    // Two values are Giac's when it could not choose between them; a sentence is none.
    giac::vecteur candidates(1, answer);
    if (answer.type == giac::_VECT && f.type != giac::_VECT)
        candidates = *answer._VECTptr;
    if (answer.type == giac::_STRNG)
        candidates.clear();
    bool contradicted = candidates.empty();
    for (const giac::gen& candidate : candidates) {
        const Verdict verdict = judge.of(candidate);
        if (verdict == Verdict::agrees || (verdict == Verdict::undecided && candidates.size() == 1))
            return {IntegralAnswer::exact, candidate, ""};
        if (verdict == Verdict::roughly)
            return {IntegralAnswer::numeric, numberFrom(*judge.numeric()), ""};
        contradicted = contradicted || verdict == Verdict::contradicts;
    }
    if (std::optional<giac::gen> own = judge.byAntiderivative(); own && judge.of(*own) != Verdict::contradicts)
        return {IntegralAnswer::exact, *own, ""};
    if (const std::optional<Quadrature>& q = judge.numeric())
        return {IntegralAnswer::numeric, numberFrom(*q),
                "No exact value of the integral agreed with its numeric value, so the numeric value is given."};
    if (contradicted)
        return {IntegralAnswer::held, answer,
                "No value found for the integral passed its check against the integrand (the derivative by an end, "
                "or a numeric quadrature with numbers for the unknowns), so it is not given one."};
    return {IntegralAnswer::held, answer, "Giac's value of the integral could not be confirmed, so it is not given one."};
}

} // namespace kernelproc
