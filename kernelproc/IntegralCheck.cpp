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

// t as an exact number. Giac's machine numbers keep fewer bits than a
// double: next to a singular point the rounding can put a node onto it.
giac::gen exactly(double t)
{
    int exponent = 0;
    const double fraction = std::frexp(t, &exponent);
    const giac::gen whole(static_cast<long long>(std::ldexp(fraction, 53)));
    exponent -= 53;
    return exponent >= 0 ? whole * giac::pow(giac::gen(2), exponent) : whole / giac::pow(giac::gen(2), -exponent);
}

// The value of f at x = t, from the exact t where Giac's machine number has none.
std::optional<Complex> valueAt(const giac::gen& f, const giac::gen& x, double t, giac::context* context)
{
    try {
        if (std::optional<Complex> value = numberOf(giac::subst(f, x, giac::gen(t), false, context), context))
            return value;
        return numberOf(giac::eval(giac::subst(f, x, exactly(t), false, context), 1, context), context);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The integral of f over [lo, hi] by quadrature, split at the integrand's
// singular points. With `atPeaks` it is evidence or nothing: the range is
// split at the integrand's critical points too, where a peak would be, and
// the quadrature looks closely next to every end of a piece; what it still
// sees only as 0 is then 0, the integrand being monotone between samples
// that are 0. Where Giac cannot find those points, such a quadrature has
// not seen the integrand everywhere, and is no evidence.
std::optional<Quadrature> quadrature(const giac::gen& f, const giac::gen& x, double lo, double hi, bool atPeaks,
                                     giac::context* context)
{
    GiacTimeLimit time(kQuadratureTime);
    const double low = std::min(lo, hi);
    const double high = std::max(lo, hi);
    std::vector<double> breaks = singularPlaces(f, x, low, high, context);
    std::optional<std::vector<double>> peaks;
    if (atPeaks && (peaks = criticalPlaces(f, x, low, high, context)))
        breaks.insert(breaks.end(), peaks->begin(), peaks->end());
    QuadratureLimits limits;
    limits.stopped = [] { return giacInterrupted(); };
    const Integrand integrand = [&](double t) { return valueAt(f, x, t, context); };
    std::optional<Quadrature> q = integrateNumerically(integrand, lo, hi, std::move(breaks), limits);
    if (atPeaks && q && !q->unseen.empty() && !peaks)
        return std::nullopt;
    return q;
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

// True when g can be a value of an integral: not Giac's sentence, an
// infinity, undef or an integral left as it was asked.
bool isValue(const giac::gen& g)
{
    return g.type != giac::_STRNG && !giac::has_inf_or_undef(g) && !giac::has_op(g, *giac::at_integrate);
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
        : f_(f), x_(x), a_(a), b_(b), context_(context), lo_(realNumber(a, context)), hi_(realNumber(b, context)),
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
        if (unknowns_.empty())
            return byQuadrature(value);
        const Verdict sampled = bySamples(value);
        const Verdict derived = numericEnds() ? Verdict::undecided : byDerivative(value);
        if (sampled == Verdict::contradicts || derived == Verdict::contradicts)
            return Verdict::contradicts;
        return sampled == Verdict::undecided && derived == Verdict::undecided ? Verdict::undecided : Verdict::agrees;
    }

    // The integral's numeric value, where it holds no unknown but x: after a
    // value was contradicted, the one of the quadrature that looked at the peaks.
    const std::optional<Quadrature>& numeric()
    {
        if (!quadratureTried_) {
            quadrature_ = numericIntegral(f_, x_, a_, b_, context_);
            quadratureTried_ = true;
        }
        return quadrature_;
    }

    // True where a quadrature of the integral could be expected to settle:
    // numbers for ends and no unknown but x. Elsewhere (an integrand that
    // oscillates out to an infinite end) Giac's value may stand unchecked.
    bool quadratureExpected() const
    {
        return unknowns_.empty() && lo_ && hi_ && std::isfinite(*lo_) && std::isfinite(*hi_);
    }

    // True when the two values are the same number, with the first set of
    // sample numbers put in for the unknowns.
    bool same(const giac::gen& p, const giac::gen& q)
    {
        try {
            const giac::vecteur values = sampleSet(0);
            auto at = [&](const giac::gen& g) { return giac::subst(g, unknowns_, values, false, context_); };
            const std::optional<Complex> left = numberOf(at(p), context_);
            const std::optional<Complex> right = numberOf(at(q), context_);
            return left && right && std::abs(*left - *right) <= kExactMargin * (1 + std::abs(*left));
        } catch (const std::exception&) {
            return false;
        }
    }

    // The change of a checked antiderivative between the ends.
    std::optional<giac::gen> byAntiderivative()
    {
        if (numericEnds())
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
    bool numericEnds() const { return lo_ && hi_; }

    // The k-th set of sample numbers for the unknowns, in their order.
    giac::vecteur sampleSet(std::size_t k) const
    {
        giac::vecteur values;
        for (std::size_t i = 0; i < unknowns_.size(); ++i)
            values.push_back(giac::gen(kSampleValues[(i + k) % std::size(kSampleValues)]) / giac::gen(10000));
        return values;
    }

    // The value against the quadrature. A contradiction stands only where
    // the quadrature has looked at the integrand's peaks as well.
    Verdict byQuadrature(const giac::gen& value)
    {
        if (!numeric())
            return Verdict::undecided;
        const Verdict verdict = compared(value, *quadrature_, context_);
        if (verdict != Verdict::contradicts || lookedAtPeaks_)
            return verdict;
        lookedAtPeaks_ = true;
        quadrature_ = quadrature(f_, x_, *lo_, *hi_, true, context_);
        return quadrature_ ? compared(value, *quadrature_, context_) : Verdict::undecided;
    }

    // With numbers put in for the unknowns, the value against the quadrature,
    // at a few sets of numbers. A set where the integral does not converge,
    // or is not real (where branches of roots and logarithms part), tells nothing.
    Verdict bySamples(const giac::gen& value)
    {
        GiacTimeLimit time(kSamplingTime);
        int agreeing = 0;
        for (std::size_t k = 0; k < std::size(kSampleValues) && agreeing < kAgreeingSamples; ++k) {
            const giac::vecteur values = sampleSet(k);
            try {
                auto at = [&](const giac::gen& g) { return giac::subst(g, unknowns_, values, false, context_); };
                const giac::gen f = at(f_);
                std::optional<Quadrature> q = numericIntegral(f, x_, at(a_), at(b_), context_);
                const giac::gen there = at(value);
                auto tells = [&] {
                    return !giacInterrupted() && q && std::abs(q->value.imag()) <= kErrorMargin * q->error;
                };
                if (!tells())
                    continue;
                // A value without one where the integral has one is wrong (0/0 for y in (0, 1)).
                if (compared(there, *q, context_) == Verdict::contradicts) {
                    // Only where the quadrature has looked at the peaks too.
                    const std::optional<double> lo = realNumber(at(a_), context_);
                    const std::optional<double> hi = realNumber(at(b_), context_);
                    q = lo && hi ? quadrature(f, x_, *lo, *hi, true, context_) : std::nullopt;
                    if (!tells())
                        continue;
                    if (compared(there, *q, context_) == Verdict::contradicts)
                        return Verdict::contradicts;
                }
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
    std::optional<double> lo_, hi_; // the ends, where they are numbers
    giac::vecteur unknowns_;        // of the integrand and the ends, but x
    bool quadratureTried_ = false;
    bool lookedAtPeaks_ = false;
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
    std::optional<Quadrature> q = quadrature(f, x, *lo, *hi, false, context);
    // Where every sample was 0 the integrand may live unseen: look at its peaks.
    if (q && !q->unseen.empty() && !giacStoppedByUser())
        q = quadrature(f, x, *lo, *hi, true, context);
    return q;
}

IntegralAnswer checkedIntegral(const giac::gen& answer, const giac::gen& f, const giac::gen& x, const giac::gen& a,
                               const giac::gen& b, giac::context* context, std::optional<Quadrature> known)
{
    Judge judge(f, x, a, b, context, std::move(known));
    // Two values are Giac's when it could not choose between them; a
    // sentence, an infinity, undef or the integral given back are none.
    giac::vecteur candidates(1, answer);
    if (answer.type == giac::_VECT && f.type != giac::_VECT)
        candidates = *answer._VECTptr;
    candidates.erase(
        std::remove_if(candidates.begin(), candidates.end(), [](const giac::gen& c) { return !isValue(c); }),
        candidates.end());
    bool contradicted = false;
    bool rough = false;
    std::optional<giac::gen> unchecked;
    for (const giac::gen& candidate : candidates) {
        switch (judge.of(candidate)) {
        case Verdict::agrees: return {IntegralAnswer::exact, candidate, ""};
        case Verdict::roughly: rough = true; break;
        case Verdict::contradicts: contradicted = true; break;
        case Verdict::undecided:
            if (!unchecked)
                unchecked = candidate;
            break;
        }
    }
    // The change of a checked antiderivative between the ends is an exact
    // value of its own; Giac's form of it where the two agree.
    if (std::optional<giac::gen> own = judge.byAntiderivative(); own && !inexact(*own)) {
        const Verdict verdict = judge.of(*own);
        if (verdict == Verdict::agrees || verdict == Verdict::undecided)
            return {IntegralAnswer::exact, unchecked && judge.same(*unchecked, *own) ? *unchecked : *own, ""};
    }
    if (const std::optional<Quadrature>& q = judge.numeric())
        return {IntegralAnswer::numeric, numberFrom(*q),
                "No exact value of the integral agreed with its numeric value, so the numeric value is given."};
    if (unchecked && !judge.quadratureExpected())
        return {IntegralAnswer::exact, *unchecked, ""};
    if (contradicted || rough)
        return {IntegralAnswer::held, answer,
                "No value found for the integral passed its check against the integrand (the derivative by an end, "
                "or a numeric quadrature with numbers for the unknowns), so it is not given one."};
    if (unchecked)
        return {IntegralAnswer::held, answer,
                "The integral's value could not be checked: no numeric quadrature of it settled and no antiderivative "
                "confirmed it, so it is not given one."};
    // Giac's infinity is no value either: the integral was found to converge.
    return {IntegralAnswer::held, answer, "No value was found for the integral, so it is not given one."};
}

} // namespace kernelproc
