#include "kernelproc/GiacIntegration.h"

#include "kernelproc/GiacBounds.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <deque>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace kernelproc {

namespace {

using std::chrono::milliseconds;

// The whole search: the user has an antiderivative or a refusal by then.
constexpr milliseconds kSearchTime(5000);
// The steps of one check, each within the search's time.
constexpr milliseconds kDerivativeTime(1000);
constexpr milliseconds kSampleTime(1500);
constexpr milliseconds kSymbolicTime(1000);

// Agreement at this many sample points accepts an antiderivative; no more
// than kUsedPoints are looked at.
constexpr int kAgreeingPoints = 3;
constexpr int kUsedPoints = 6;
constexpr double kTolerance = 1e-7;
// A disagreement in machine precision is looked at again with this many digits:
// a sum of large terms can lose all its digits to rounding.
constexpr int kRecheckDigits = 100;

// Sample points in ten-thousandths: both sides of zero in turn, inside and
// outside [-1, 1], irregular enough to miss the special points of ordinary
// integrands.
struct Point {
    int re;
    int im;
};
constexpr Point kRealPoints[] = {{3712, 0},  {-8151, 0},  {12893, 0}, {-2461, 0}, {8627, 0}, {-19371, 0},
                                 {24417, 0}, {-42719, 0}, {1307, 0},  {37303, 0}, {61130, 0}};
// Used only when the integrand is real at too few of the real points.
constexpr Point kComplexPoints[] = {{3712, 5417}, {-8151, 2893}, {12893, -7303}, {-14417, -6113}};
// The values the other unknowns take at every point.
constexpr int kOtherValues[] = {7130, 14170, 3770, 19130, 5900, 12100};

enum class Samples { agree, disagree, undecided };

giac::gen exactNumber(int tenThousandths)
{
    return giac::gen(tenThousandths) / giac::gen(10000);
}

giac::gen withDigits(const giac::gen& g, int digits, giac::context* context)
{
    return giac::eval(giac::symbolic(giac::at_evalf, giac::makesequence(g, digits)), 1, context);
}

bool containsIntegral(const giac::gen& g)
{
    if (g.type == giac::_SYMB) {
        const std::string name = g._SYMBptr->sommet.ptr()->s;
        if (name == "integrate" || name == "int")
            return true;
        return containsIntegral(g._SYMBptr->feuille);
    }
    if (g.type == giac::_VECT) {
        for (const giac::gen& item : *g._VECTptr) {
            if (containsIntegral(item))
                return true;
        }
    }
    return false;
}

// True when g holds a limit Giac left as it was asked.
bool containsLimit(const giac::gen& g)
{
    if (g.is_symb_of_sommet(giac::at_limit))
        return true;
    if (g.type == giac::_SYMB)
        return containsLimit(g._SYMBptr->feuille);
    if (g.type == giac::_VECT)
        return std::any_of(g._VECTptr->begin(), g._VECTptr->end(), containsLimit);
    return false;
}

bool isError(const giac::gen& g)
{
    return g.type == giac::_STRNG && g._STRNGptr->find("Error") != std::string::npos;
}

std::optional<giac::gen> tryIntegral(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    try {
        giac::gen F = giac::_integrate(giac::makesequence(f, x), context);
        if (giacInterrupted() || isError(F) || containsIntegral(F))
            return std::nullopt;
        return F;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool finite(std::complex<double> z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// The substitutions that put one sample point in: machine numbers for a
// quick value, numbers of many digits for a value that rounding cannot spoil.
class PointValues {
public:
    PointValues(const giac::gen& x, const giac::vecteur& names, Point point)
    {
        std::size_t other = 0;
        for (const giac::gen& name : names) {
            from_.push_back(name);
            int re = name == x ? point.re : kOtherValues[other++ % std::size(kOtherValues)];
            int im = name == x ? point.im : 0;
            exact_.push_back(im == 0 ? exactNumber(re) : giac::gen(exactNumber(re), exactNumber(im)));
            machine_.push_back(im == 0 ? giac::gen(re / 10000.0)
                                       : giac::gen(giac::gen(re / 10000.0), giac::gen(im / 10000.0)));
        }
    }

    // The value of e at the point, in machine precision or with `digits` digits.
    std::optional<std::complex<double>> of(const giac::gen& e, int digits, giac::context* context) const
    {
        try {
            giac::gen value;
            if (digits > 0) {
                giac::vecteur to;
                for (const giac::gen& number : exact_)
                    to.push_back(withDigits(number, digits, context));
                value = withDigits(giac::subst(e, from_, to, false, context), digits, context);
            } else {
                value = giac::evalf(giac::subst(e, from_, machine_, false, context), 1, context);
            }
            if (giacInterrupted())
                return std::nullopt;
            std::complex<double> z = giac::gen2complex_d(giac::evalf_double(value, 1, context));
            if (!finite(z))
                return std::nullopt;
            return z;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

private:
    giac::vecteur from_, exact_, machine_;
};

bool isReal(std::complex<double> z)
{
    return std::abs(z.imag()) <= 1e-12 * (1 + std::abs(z.real()));
}

bool small(std::complex<double> difference, std::complex<double> value)
{
    return std::abs(difference) <= kTolerance * (1 + std::abs(value));
}

// Compares derivative - f with zero at sample points: first all in machine
// precision, which is cheap, then each point that disagreed once more with many
// digits, which is decisive.
class SampleComparison {
public:
    SampleComparison(const giac::gen& difference, const giac::gen& f, const giac::gen& x, giac::context* context)
        : difference_(difference), f_(f), x_(x), context_(context)
    {
        try {
            names_ = *giac::_lname(giac::makevecteur(difference, f), context)._VECTptr;
        } catch (const std::exception&) {
            names_.clear();
        }
    }

    // The real points where the integrand is real and finite decide; complex
    // points count only when there are too few of those.
    Samples verdict()
    {
        if (names_.empty())
            return Samples::undecided;
        Tally real = tally(kRealPoints, true);
        if (real.disagreeing > 0)
            return Samples::disagree;
        if (real.agreeing >= kAgreeingPoints)
            return Samples::agree;
        if (real.unresolved > 0 || giacInterrupted())
            return Samples::undecided;
        Tally complex = tally(kComplexPoints, false);
        if (complex.disagreeing > 0 || complex.unresolved > 0)
            return Samples::undecided;
        return real.agreeing + complex.agreeing >= kAgreeingPoints ? Samples::agree : Samples::undecided;
    }

private:
    struct Tally {
        int agreeing = 0;
        int disagreeing = 0;
        int unresolved = 0; // disagreed in machine precision, not looked at again in time
    };

    template <std::size_t N>
    Tally tally(const Point (&points)[N], bool wantReal)
    {
        Tally t;
        std::vector<PointValues> doubtful;
        for (Point p : points) {
            if (t.agreeing + static_cast<int>(doubtful.size()) >= kUsedPoints || giacInterrupted())
                break;
            PointValues point(x_, names_, p);
            std::optional<std::complex<double>> value = point.of(f_, 0, context_);
            if (!value || (wantReal && !isReal(*value)))
                continue; // tells nothing about an antiderivative meant where f is real
            std::optional<std::complex<double>> d = point.of(difference_, 0, context_);
            if (!d)
                continue;
            if (small(*d, *value))
                ++t.agreeing;
            else
                doubtful.push_back(point);
        }
        // A sum of large terms can lose all its digits to rounding: look again with many.
        for (const PointValues& point : doubtful) {
            std::optional<std::complex<double>> value = point.of(f_, kRecheckDigits, context_);
            std::optional<std::complex<double>> d = point.of(difference_, kRecheckDigits, context_);
            if (giacInterrupted()) {
                ++t.unresolved;
                continue;
            }
            if (value && d && small(*d, *value)) {
                ++t.agreeing;
            } else {
                ++t.disagreeing;
                break;
            }
        }
        return t;
    }

    const giac::gen& difference_;
    const giac::gen& f_;
    const giac::gen& x_;
    giac::context* context_;
    giac::vecteur names_;
};

bool simplifiesToZero(const giac::gen& difference, giac::context* context)
{
    GiacTimeLimit limit(kSymbolicTime);
    try {
        giac::gen simplified = giac::simplify(difference, context);
        return !giacInterrupted() && giac::is_zero(simplified, context);
    } catch (const std::exception&) {
        return false;
    }
}

// The outcomes of the latest searches, by integrand and variable: one
// integral's convergence and value are checked with the same antiderivative,
// and a search that finds none takes seconds.
constexpr std::size_t kRememberedSearches = 16;
struct Searched {
    std::string integrand;
    std::optional<giac::gen> F;
    std::string why; // why the search was cut short
};
using Searches = std::deque<Searched>;

// Kept to the end of the process: Giac's values are not freed after Giac's own globals.
Searches& searched()
{
    static Searches* searches = new Searches;
    return *searches;
}

// The search for an antiderivative, within its time. Everything it tries is checked.
class Search {
public:
    Search(const giac::gen& x, giac::context* context) : x_(x), context_(context) {}

    std::optional<giac::gen> run(const giac::gen& f)
    {
        std::optional<giac::gen> F = tryIntegral(f, x_, context_);
        if (accepted(F, f))
            return F;
        // What a person tries next: a simpler form, the expanded form, trigonometric
        // products and powers rewritten as sums, powers and roots rewritten.
        for (const char* rewrite : {"simplify", "expand", "tlin", "tcollect", "texpand", "powexpand", "exp2pow",
                                    "pow2exp", "trig2exp", "halftan"}) {
            if (over())
                return std::nullopt;
            std::optional<giac::gen> rewritten = rewrittenBy(rewrite, f);
            if (!rewritten)
                continue;
            F = tryIntegral(*rewritten, x_, context_);
            if (accepted(F, f))
                return F;
        }
        return termByTerm(f);
    }

    // Why the search ended without an answer, when it was cut short.
    std::string cutShort() const
    {
        if (giacStoppedByUser())
            return "";
        if (time_.passed())
            return "No antiderivative was found within " + std::to_string(kSearchTime.count() / 1000) + " seconds.";
        if (giacInterrupted())
            return "The integration went too deep into Giac and was stopped.";
        return "";
    }

private:
    bool over() const { return time_.passed() || giacInterrupted(); }

    bool accepted(const std::optional<giac::gen>& F, const giac::gen& f) const
    {
        return F && !over() && differentiatesTo(*F, f, x_, context_);
    }

    std::optional<giac::gen> rewrittenBy(const char* rewrite, const giac::gen& f) const
    {
        try {
            giac::gen rewritten =
                giac::eval(giac::gen(std::string(rewrite) + "(" + f.print(context_) + ")", context_), 1, context_);
            if (giacInterrupted() || isError(rewritten) || rewritten == f)
                return std::nullopt;
            return rewritten;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

    // A sum term by term, each term found its own way.
    std::optional<giac::gen> termByTerm(const giac::gen& f)
    {
        giac::gen expanded;
        try {
            expanded = giac::expand(f, context_);
        } catch (const std::exception&) {
            return std::nullopt;
        }
        if (over() || !expanded.is_symb_of_sommet(giac::at_plus) || expanded._SYMBptr->feuille.type != giac::_VECT)
            return std::nullopt;
        giac::gen total = 0;
        for (const giac::gen& term : *expanded._SYMBptr->feuille._VECTptr) {
            std::optional<giac::gen> part = run(term);
            if (!part)
                return std::nullopt;
            total = total + *part;
        }
        if (accepted(total, f))
            return total;
        return std::nullopt;
    }

    giac::gen x_;
    giac::context* context_;
    GiacTimeLimit time_{kSearchTime};
};

// Convergence of a definite integral: the singular points of the integrand
// in the range, and each side of each looked at on its own.
constexpr milliseconds kConvergenceTime(8000);
constexpr milliseconds kLimitTime(1500);
constexpr milliseconds kCriticalTime(1000);
// Singular points closer than this (relative) to an end are at that end.
constexpr double kSamePoint = 1e-12;
// The digits an exact number is rounded from to a double.
constexpr int kPreciseDigits = 20;

bool samePoint(double a, double b)
{
    if (std::isinf(a) || std::isinf(b))
        return a == b;
    return std::abs(a - b) <= kSamePoint * std::max(std::abs(a), std::abs(b));
}

// True when the point lies in [lo, hi], or at one of its ends.
bool within(double point, double lo, double hi)
{
    return (point >= lo || samePoint(point, lo)) && (point <= hi || samePoint(point, hi));
}

// A real number, with the infinities as such; nothing for anything else.
std::optional<double> realValue(const giac::gen& g, giac::context* context)
{
    try {
        if (giac::is_inf(g)) {
            if (g.is_symb_of_sommet(giac::at_plus))
                return HUGE_VAL;
            if (g.is_symb_of_sommet(giac::at_neg))
                return -HUGE_VAL;
            return std::nullopt; // the unsigned infinity
        }
        giac::gen value = giac::evalf_double(g, 1, context);
        if (value.type == giac::_INT_)
            return value.val;
        if (value.type != giac::_DOUBLE_ || !std::isfinite(value._DOUBLE_val))
            return std::nullopt;
        if (g.type == giac::_DOUBLE_)
            return value._DOUBLE_val;
        // Giac's machine numbers keep fewer bits than a double: an exact
        // number (a singular point, an end) is rounded from more digits.
        const giac::gen precise = withDigits(g, kPreciseDigits, context);
        if (precise.type == giac::_REAL && !giacInterrupted()) {
            const double rounded = std::strtod(precise.print(context).c_str(), nullptr);
            if (std::isfinite(rounded) && std::abs(rounded - value._DOUBLE_val) <= 1e-9 * std::abs(rounded))
                return rounded;
        }
        return value._DOUBLE_val;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

// A limit Giac found to be finite: a number, real or complex, or an
// expression in other unknowns without an infinity (c Pi/2 for c ArcSin[x] at 1).
bool finiteLimit(const giac::gen& limit, giac::context* context)
{
    if (giacInterrupted() || isError(limit) || limit.type == giac::_STRNG || giac::has_inf_or_undef(limit) ||
        containsLimit(limit))
        return false;
    try {
        giac::gen value = giac::evalf_double(limit, 1, context);
        if (value.type == giac::_DOUBLE_ || value.type == giac::_INT_ || value.type == giac::_CPLX)
            return finite(giac::gen2complex_d(value));
        const giac::gen names = giac::_lname(limit, context);
        return names.type == giac::_VECT && !names._VECTptr->empty();
    } catch (const std::exception&) {
        return false;
    }
}

// A finite limit of F for every value of the other unknowns: a number, or
// an expression in them that stays finite when they take a few values, a
// negative one among them, before the limit is taken (c Pi/2 for c ArcSin[x]
// at 1; not Sqrt[Pi]/(2 Sqrt[a]) for the antiderivative of Exp[-a x^2] at
// -Infinity, which has none for a < 0).
bool finiteForEveryValue(const giac::gen& limit, const giac::gen& F, const giac::gen& x,
                         const std::function<giac::gen(const giac::gen&)>& limitOf, giac::context* context)
{
    auto unknownsOf = [&](const giac::gen& g) {
        const giac::gen names = giac::_lname(g, context);
        giac::vecteur unknowns;
        if (names.type == giac::_VECT)
            std::copy_if(names._VECTptr->begin(), names._VECTptr->end(), std::back_inserter(unknowns),
                         [&](const giac::gen& name) { return name != x && !giac::is_inf(name); });
        return unknowns;
    };
    if (!finiteLimit(limit, context))
        return false;
    const giac::vecteur unknowns = unknownsOf(F);
    if (unknownsOf(limit).empty() || unknowns.empty())
        return true;
    for (const int value : {3712, -8151, 12893}) {
        const giac::vecteur values(unknowns.size(), giac::gen(value) / giac::gen(10000));
        const giac::gen there = limitOf(giac::subst(F, unknowns, values, false, context));
        if (!finiteLimit(there, context) || !unknownsOf(there).empty())
            return false;
    }
    return true;
}

// g with each call rewritten, from the inside out: `by` gives the new form
// of a call to a function with its argument rewritten, or nothing to keep it.
using Rewrite = std::function<std::optional<giac::gen>(const giac::gen& call, const giac::gen& argument)>;
giac::gen rewritten(const giac::gen& g, const Rewrite& by)
{
    if (g.type == giac::_VECT) {
        giac::vecteur items;
        for (const giac::gen& item : *g._VECTptr)
            items.push_back(rewritten(item, by));
        return giac::gen(items, g.subtype);
    }
    if (g.type != giac::_SYMB)
        return g;
    const giac::gen argument = rewritten(g._SYMBptr->feuille, by);
    return by(g, argument).value_or(giac::symbolic(g._SYMBptr->sommet, argument));
}

// f with each step Heaviside(u) written as (1 + sign(u))/2, each maximum
// and minimum of two as (a + b +- |a - b|)/2, and each test u == 0 of an
// expression in x taken for 0, expanded: the same function but on a set of
// no length, whose antiderivative Giac writes without jumps, term by term
// (for the step at a, x for x > a and 0 elsewhere jumps by a; (x + |x - a|)/2
// does not).
giac::gen stepsAsSigns(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    bool pieces = false;
    const giac::gen signs =
        rewritten(f, [&](const giac::gen& call, const giac::gen& argument) -> std::optional<giac::gen> {
            const bool two = argument.type == giac::_VECT && argument._VECTptr->size() == 2;
            pieces = pieces || call.is_symb_of_sommet(giac::at_sign) || call.is_symb_of_sommet(giac::at_abs);
            if (call.is_symb_of_sommet(giac::at_Heaviside)) {
                pieces = true;
                return (1 + giac::symbolic(giac::at_sign, argument)) / 2;
            }
            if (two && (call.is_symb_of_sommet(giac::at_max) || call.is_symb_of_sommet(giac::at_min))) {
                pieces = true;
                const giac::gen& a = argument._VECTptr->front();
                const giac::gen& b = argument._VECTptr->back();
                const giac::gen spread = giac::symbolic(giac::at_abs, a - b);
                return (a + b + (call.is_symb_of_sommet(giac::at_max) ? spread : -spread)) / 2;
            }
            if (call.is_symb_of_sommet(giac::at_same) && giac::contains(argument, x))
                return giac::gen(0);
            return std::nullopt;
        });
    if (!pieces)
        return signs;
    try {
        return giac::expand(signs, context);
    } catch (const std::exception&) {
        return signs;
    }
}

// The slope of f between its jumps, where a step or sign is flat: each
// branch of it has the critical points of what it multiplies.
giac::gen slopeBetweenJumps(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    const giac::gen slope = giac::derive(stepsAsSigns(f, x, context), x, context);
    return rewritten(slope, [](const giac::gen& call, const giac::gen&) -> std::optional<giac::gen> {
        if (call.is_symb_of_sommet(giac::at_Dirac))
            return giac::gen(0);
        if (call.is_symb_of_sommet(giac::at_sign))
            return giac::gen(1);
        return std::nullopt;
    });
}

// The real roots of u = 0 in [lo, hi], as Giac solves for them; nothing
// where it cannot.
std::optional<std::vector<double>> rootsWithin(const giac::gen& u, const giac::gen& x, double lo, double hi,
                                               giac::context* context)
{
    giac::gen found;
    try {
        found = giac::_solve(giac::makesequence(giac::symbolic(giac::at_equal, giac::makesequence(u, 0)), x), context);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (giacInterrupted() || found.type != giac::_VECT)
        return std::nullopt;
    std::vector<double> roots;
    for (const giac::gen& root : *found._VECTptr) {
        const std::optional<double> value = realValue(root, context);
        if (value && within(*value, lo, hi))
            roots.push_back(*value);
    }
    return roots;
}

// Where a step, sign, absolute value, maximum or minimum in f switches
// between its branches, in [lo, hi]: the integrand jumps or bends there.
std::vector<double> switchPlaces(const giac::gen& f, const giac::gen& x, double lo, double hi, giac::context* context)
{
    giac::vecteur switches;
    rewritten(f, [&](const giac::gen& call, const giac::gen& argument) -> std::optional<giac::gen> {
        if (call.is_symb_of_sommet(giac::at_Heaviside) || call.is_symb_of_sommet(giac::at_sign) ||
            call.is_symb_of_sommet(giac::at_abs))
            switches.push_back(argument);
        if ((call.is_symb_of_sommet(giac::at_max) || call.is_symb_of_sommet(giac::at_min)) &&
            argument.type == giac::_VECT && argument._VECTptr->size() == 2)
            switches.push_back(argument._VECTptr->front() - argument._VECTptr->back());
        return std::nullopt;
    });
    GiacTimeLimit limit(kCriticalTime);
    std::vector<double> places;
    for (const giac::gen& u : switches) {
        if (!giac::contains(u, x))
            continue;
        const std::optional<std::vector<double>> roots = rootsWithin(u, x, lo, hi, context);
        if (roots)
            places.insert(places.end(), roots->begin(), roots->end());
    }
    return places;
}

// Giac finds no singular points through abs; |u| is singular where u is.
giac::gen withoutAbs(const giac::gen& g)
{
    return rewritten(g, [](const giac::gen& call, const giac::gen& argument) -> std::optional<giac::gen> {
        if (call.is_symb_of_sommet(giac::at_abs))
            return argument;
        return std::nullopt;
    });
}

// The value of f at x = point in machine precision; nothing where it has none.
std::optional<std::complex<double>> numberAt(const giac::gen& f, const giac::gen& x, const giac::gen& point,
                                             giac::context* context)
{
    try {
        const giac::gen value = giac::evalf_double(giac::subst(f, x, point, false, context), 1, context);
        const std::complex<double> z = giac::gen2complex_d(value);
        if (giacInterrupted() || !finite(z))
            return std::nullopt;
        return z;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// False when f(x + period) and f(x) differ at a sample point: a quick answer
// where simplifying their difference can take seconds (ArcSin[x + Pi] - ArcSin[x]).
bool mayHavePeriod(const giac::gen& f, const giac::gen& x, const giac::gen& period, giac::context* context)
{
    for (const Point p : {kRealPoints[0], kRealPoints[1], kRealPoints[2]}) {
        const giac::gen at = exactNumber(p.re);
        const std::optional<std::complex<double>> here = numberAt(f, x, at, context);
        const std::optional<std::complex<double>> shifted = numberAt(f, x, at + period, context);
        if (here && shifted && !small(*shifted - *here, *here))
            return false;
    }
    return true;
}

// The least period among pi and 2 pi that f has, or nothing. Giac lists the
// singular points of one period only.
std::optional<giac::gen> periodOf(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    // Giac's named constants are read from text: their globals are declared
    // differently by different builds of its headers.
    for (const char* text : {"pi", "2*pi"}) {
        const giac::gen period(text, context);
        if (!mayHavePeriod(f, x, period, context))
            continue;
        GiacTimeLimit limit(kLimitTime);
        try {
            giac::gen shifted = giac::subst(f, x, x + period, false, context) - f;
            if (giac::is_zero(giac::simplify(shifted, context), context) && !giacInterrupted())
                return period;
        } catch (const std::exception&) {
        }
    }
    return std::nullopt;
}

struct SingularPoint {
    giac::gen at;
    double value;
};

// Where f has singular points in [lo, hi]. For a periodic f, where its
// behaviour near each kind of point shows: the first and second point of each
// kind from the low end, and the last before the high end.
std::vector<SingularPoint> singularPoints(const giac::gen& f, const giac::gen& x, double lo, double hi,
                                          giac::context* context)
{
    giac::gen found;
    try {
        found = giac::_singular(giac::makesequence(withoutAbs(f), x), context);
    } catch (const std::exception&) {
        return {};
    }
    if (found.type != giac::_VECT || found._VECTptr->empty() || giacInterrupted())
        return {};
    const std::optional<giac::gen> period = periodOf(f, x, context);
    const std::optional<double> step = period ? realValue(*period, context) : std::nullopt;
    std::vector<SingularPoint> points;
    auto keep = [&](const giac::gen& at) {
        std::optional<double> value = realValue(at, context);
        if (!value || !within(*value, lo, hi))
            return;
        for (const SingularPoint& p : points) {
            if (samePoint(p.value, *value))
                return;
        }
        points.push_back({at, *value});
    };
    for (const giac::gen& base : *found._VECTptr) {
        std::optional<double> value = realValue(base, context);
        if (!value)
            continue;
        if (!step) {
            keep(base);
            continue;
        }
        // The shifts of the point into the range; an infinite range has infinitely many.
        double first = std::ceil((lo - *value) / *step - kSamePoint);
        double last = std::floor((hi - *value) / *step + kSamePoint);
        if (!std::isfinite(lo))
            first = std::isfinite(hi) ? last - 1 : -1;
        if (!std::isfinite(hi))
            last = first + 1;
        for (double k : {first, first + 1, last}) {
            if (k >= first && k <= last && std::abs(k) < 1e9)
                keep(giac::ratnormal(base + giac::gen(static_cast<int>(k)) * *period, context));
        }
    }
    return points;
}

bool isRational(const giac::gen& g)
{
    return g.type == giac::_INT_ || g.type == giac::_ZINT || g.type == giac::_FRAC;
}

// A rational multiple of pi as the kernel writes it: Pi/2, -3 Pi/2, 2 Pi.
std::optional<std::string> piMultiple(const giac::gen& g, giac::context* context)
{
    try {
        const giac::gen ratio = giac::ratnormal(g / giac::gen("pi", context), context);
        if (!isRational(ratio) || giac::is_zero(ratio, context))
            return std::nullopt;
        const giac::gen top = giac::_numer(ratio, context);
        const giac::gen bottom = giac::_denom(ratio, context);
        std::string text = top == 1 ? "Pi" : top == -1 ? "-Pi" : top.print(context) + " Pi";
        return bottom == 1 ? text : text + "/" + bottom.print(context);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The place of a point in the user's words: exact when it is a rational
// number or a rational multiple of pi, else its value to six digits.
std::string pointText(const SingularPoint& point, const std::string& name, giac::context* context)
{
    if (isRational(point.at))
        return "at " + name + " = " + point.at.print(context);
    if (std::optional<std::string> text = piMultiple(point.at, context))
        return "at " + name + " = " + *text;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.6g", point.value);
    return "near " + name + " = " + digits;
}

enum class Side { converges, diverges, undecided };

// How the integral behaves as x comes to `at` from one side (direction 1
// from above, -1 from below, 0 for an infinite end): the antiderivative has
// a finite limit there, or, without one, the integrand vanishes faster than
// 1/(x - at), or 1/x at an infinite end.
Side sideOf(const std::optional<giac::gen>& F, const giac::gen& f, const giac::gen& x, const giac::gen& at,
            int direction, giac::context* context)
{
    GiacTimeLimit limit(kLimitTime);
    try {
        auto limitOf = [&](const giac::gen& g) {
            return giac::_limit(direction == 0 ? giac::makesequence(g, x, at)
                                               : giac::makesequence(g, x, at, giac::gen(direction)),
                                context);
        };
        giac::gen value = limitOf(F ? *F : direction == 0 ? x * f : (x - at) * f);
        if (giacInterrupted())
            return Side::undecided;
        if (F)
            return finiteForEveryValue(value, *F, x, limitOf, context) ? Side::converges : Side::diverges;
        if (isError(value) || giac::is_undef(value))
            return Side::undecided;
        return giac::is_zero(value, context) ? Side::converges : Side::diverges;
    } catch (const std::exception&) {
        return Side::undecided;
    }
}

// One side of a point where the integral may diverge, and why it would.
struct Look {
    giac::gen at;
    int direction; // as for sideOf
    std::string where;
    std::string why;
};

// The infinite ends of [lo, hi] and both sides of each singular point in it.
std::vector<Look> placesToLook(const giac::gen& f, const giac::gen& x, double lo, double hi, const std::string& name,
                               giac::context* context)
{
    std::vector<Look> looks;
    for (bool high : {false, true}) {
        if (std::isinf(high ? hi : lo)) {
            const std::string where = "as " + name + " goes to " + (high ? "Infinity" : "-Infinity");
            looks.push_back({giac::gen(high ? "+infinity" : "-infinity", context), 0, where,
                             "the integrand does not fall off fast enough " + where});
        }
    }
    for (const SingularPoint& p : singularPoints(f, x, lo, hi, context)) {
        const std::string where = pointText(p, name, context);
        const std::string why = "the integrand is not integrable " + where;
        if (p.value > lo && !samePoint(p.value, lo))
            looks.push_back({p.at, -1, where, why});
        if (p.value < hi && !samePoint(p.value, hi))
            looks.push_back({p.at, 1, where, why});
    }
    return looks;
}

std::optional<giac::gen> antiderivativeOf(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    try {
        return checkedAntiderivative(f, x, context);
    } catch (const std::runtime_error&) {
        return std::nullopt; // without one the integrand's own order decides
    }
}

Divergence undecidedAt(const std::string& where)
{
    return {Divergence::undecided,
            "Whether the integral converges " + where + " could not be decided, so it is not given a value."};
}

// The verdict of one side of a place the integral may diverge at.
std::optional<Divergence> verdict(Side side, const Look& look)
{
    switch (side) {
    case Side::converges: break;
    case Side::diverges: return Divergence{Divergence::diverges, "The integral does not converge: " + look.why + "."};
    case Side::undecided: return undecidedAt(look.where);
    }
    return std::nullopt;
}

// An end is not a number (`known` is the other end when it is one): every
// singular point may lie between the ends, and may be an end. One the
// integrand is not integrable at on either side keeps the integral from a value.
std::optional<Divergence> divergenceBetween(const giac::gen& f, const giac::gen& x, std::optional<double> known,
                                            const std::string& name, giac::context* context)
{
    std::optional<Look> infiniteEnd;
    if (known && std::isinf(*known)) {
        const std::string where = "as " + name + " goes to " + (*known > 0 ? "Infinity" : "-Infinity");
        infiniteEnd = Look{giac::gen(*known > 0 ? "+infinity" : "-infinity", context), 0, where,
                           "the integrand does not fall off fast enough " + where};
    }
    std::vector<SingularPoint> points = singularPoints(f, x, -HUGE_VAL, HUGE_VAL, context);
    if (points.empty() && !infiniteEnd)
        return std::nullopt;
    if (known && std::isfinite(*known)) { // the range meets the nearest first
        std::stable_sort(points.begin(), points.end(), [&](const SingularPoint& p, const SingularPoint& q) {
            return std::abs(p.value - *known) < std::abs(q.value - *known);
        });
    }
    const std::optional<giac::gen> F = antiderivativeOf(f, x, context);
    if (infiniteEnd) {
        const Side side = sideOf(F, f, x, infiniteEnd->at, 0, context);
        if (giacStoppedByUser())
            return std::nullopt;
        if (std::optional<Divergence> found = verdict(side, *infiniteEnd))
            return found;
    }
    for (const SingularPoint& p : points) {
        const std::string where = pointText(p, name, context);
        const std::string why = "the integrand is not integrable " + where;
        const Side below = sideOf(F, f, x, p.at, -1, context);
        const Side above = sideOf(F, f, x, p.at, 1, context);
        if (giacStoppedByUser())
            return std::nullopt;
        const bool both = below == Side::diverges && above == Side::diverges;
        if (both && known && std::isfinite(*known) && samePoint(p.value, *known))
            return Divergence{Divergence::diverges, "The integral does not converge: " + why + "."};
        if (below == Side::diverges || above == Side::diverges)
            return Divergence{Divergence::diverges,
                              "The integral is not given a value: " + why +
                                  ", which lies in the range for some values of its ends."};
        if (below == Side::undecided || above == Side::undecided)
            return undecidedAt(where);
    }
    return std::nullopt;
}

// The finite limit of F as x comes to `at` (from above for direction 1, from
// below for -1, plainly for an infinite end), or nothing.
std::optional<giac::gen> limitAt(const giac::gen& F, const giac::gen& x, const giac::gen& at, int direction,
                                 giac::context* context)
{
    GiacTimeLimit limit(kLimitTime);
    try {
        const giac::gen args =
            direction == 0 ? giac::makesequence(F, x, at) : giac::makesequence(F, x, at, giac::gen(direction));
        const giac::gen value = giac::_limit(args, context);
        if (!finiteLimit(value, context))
            return std::nullopt;
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool sameNumber(const giac::gen& a, const giac::gen& b, giac::context* context)
{
    try {
        const std::complex<double> left = giac::gen2complex_d(giac::evalf_double(a, 1, context));
        const std::complex<double> right = giac::gen2complex_d(giac::evalf_double(b, 1, context));
        return finite(left) && finite(right) && small(left - right, left);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

std::optional<Divergence> integralDivergence(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                             const giac::gen& b, const std::string& name, giac::context* context)
{
    std::optional<double> lo = realValue(a, context);
    std::optional<double> hi = realValue(b, context);
    if (lo && hi && *lo == *hi)
        return std::nullopt;
    GiacTimeLimit time(kConvergenceTime);
    if (!lo || !hi)
        return divergenceBetween(f, x, lo ? lo : hi, name, context);
    if (*lo > *hi)
        std::swap(lo, hi);
    const std::vector<Look> looks = placesToLook(f, x, *lo, *hi, name, context);
    if (looks.empty())
        return std::nullopt;
    const std::optional<giac::gen> F = antiderivativeOf(f, x, context);
    for (const Look& look : looks) {
        const Side side = sideOf(F, f, x, look.at, look.direction, context);
        if (giacStoppedByUser())
            return std::nullopt; // the user's stop is the answer
        if (std::optional<Divergence> found = verdict(side, look))
            return found;
    }
    return std::nullopt;
}

std::optional<Divergence> divergenceWithin(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                           const giac::gen& b, const std::string& name,
                                           const std::vector<OuterRange>& outer, giac::context* context)
{
    if (outer.empty())
        return std::nullopt;
    for (const OuterRange& r : outer) {
        const std::optional<double> low = realValue(r.low, context);
        const std::optional<double> high = realValue(r.high, context);
        if (!low || !high || std::isinf(*low) || std::isinf(*high))
            return std::nullopt;
    }
    GiacTimeLimit time(kConvergenceTime);
    // Points 2/7, 4/7 and 6/7 of the way along each range: inside, and clear
    // of the middle, where special values gather.
    for (int sevenths : {2, 4, 6}) {
        giac::vecteur from;
        giac::vecteur to;
        std::string where;
        try {
            for (const OuterRange& r : outer) {
                from.push_back(r.variable);
                to.push_back(giac::ratnormal(r.low + (r.high - r.low) * giac::gen(sevenths) / giac::gen(7), context));
                const std::optional<double> value = realValue(to.back(), context);
                where += std::string(where.empty() ? "" : " and ") +
                    pointText({to.back(), value.value_or(0)}, r.name, context);
            }
        } catch (const std::exception&) {
            return std::nullopt;
        }
        auto at = [&](const giac::gen& g) { return giac::subst(g, from, to, false, context); };
        const std::optional<Divergence> found = integralDivergence(at(f), x, at(a), at(b), name, context);
        if (giacStoppedByUser())
            return std::nullopt;
        if (found && found->kind == Divergence::diverges) {
            const std::string why = found->text.substr(found->text.find(": ") + 2);
            return Divergence{Divergence::diverges,
                              "The integral does not converge for every value in the range around it: " + where + ", " +
                                  why};
        }
    }
    return std::nullopt;
}

std::optional<giac::gen> integralByAntiderivative(const giac::gen& f, const giac::gen& x, const giac::gen& a,
                                                  const giac::gen& b, giac::context* context)
{
    const std::optional<double> lo = realValue(a, context);
    const std::optional<double> hi = realValue(b, context);
    if (!lo || !hi)
        return std::nullopt;
    GiacTimeLimit time(kConvergenceTime);
    const std::optional<giac::gen> F = antiderivativeOf(stepsAsSigns(f, x, context), x, context);
    if (!F)
        return std::nullopt;
    const double low = std::min(*lo, *hi);
    const double high = std::max(*lo, *hi);
    // Where the antiderivative is singular inside the range it must not jump.
    for (const SingularPoint& p : singularPoints(*F, x, low, high, context)) {
        if (samePoint(p.value, low) || samePoint(p.value, high))
            continue;
        const std::optional<giac::gen> below = limitAt(*F, x, p.at, -1, context);
        const std::optional<giac::gen> above = limitAt(*F, x, p.at, 1, context);
        if (!below || !above || !sameNumber(*below, *above, context))
            return std::nullopt;
    }
    // Each end approached from inside the range; where Giac cannot take the
    // limit (of a function of an unknown, UnitStep[x - a]), the value there.
    auto atEnd = [&](const giac::gen& end, double value) -> std::optional<giac::gen> {
        const int inside = std::isinf(value) ? 0 : value == high ? -1 : 1;
        if (std::optional<giac::gen> limit = limitAt(*F, x, end, inside, context))
            return limit;
        if (std::isinf(value))
            return std::nullopt;
        try {
            const giac::gen at = giac::subst(*F, x, end, false, context);
            if (giacInterrupted() || isError(at) || at.type == giac::_STRNG || giac::is_undef(at) || giac::is_inf(at))
                return std::nullopt;
            return at;
        } catch (const std::exception&) {
            return std::nullopt;
        }
    };
    const std::optional<giac::gen> upper = atEnd(b, *hi);
    const std::optional<giac::gen> lower = atEnd(a, *lo);
    if (!upper || !lower || giacInterrupted())
        return std::nullopt;
    try {
        return giac::simplify(*upper - *lower, context);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<double> realNumber(const giac::gen& g, giac::context* context)
{
    return realValue(g, context);
}

std::vector<double> singularPlaces(const giac::gen& f, const giac::gen& x, double lo, double hi, giac::context* context)
{
    std::vector<double> places = switchPlaces(f, x, lo, hi, context);
    for (const SingularPoint& p : singularPoints(f, x, lo, hi, context))
        places.push_back(p.value);
    return places;
}

std::optional<std::vector<double>> criticalPlaces(const giac::gen& f, const giac::gen& x, double lo, double hi,
                                                  giac::context* context)
{
    GiacTimeLimit limit(kCriticalTime);
    try {
        const giac::gen slope = giac::ratnormal(slopeBetweenJumps(f, x, context), context);
        if (giac::is_zero(slope, context))
            return std::vector<double>(); // flat between its jumps
        return rootsWithin(slope, x, lo, hi, context);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool differentiatesTo(const giac::gen& F, const giac::gen& f, const giac::gen& x, giac::context* context)
{
    giac::gen difference;
    {
        GiacTimeLimit limit(kDerivativeTime);
        try {
            difference = giac::derive(F, x, context) - f;
            if (giacInterrupted())
                return false;
        } catch (const std::exception&) {
            return false;
        }
    }
    Samples samples = Samples::undecided;
    {
        GiacTimeLimit limit(kSampleTime);
        samples = SampleComparison(difference, f, x, context).verdict();
    }
    switch (samples) {
    case Samples::disagree: return false;
    case Samples::agree: return true;
    case Samples::undecided: break;
    }
    return simplifiesToZero(difference, context);
}

std::optional<giac::gen> checkedAntiderivative(const giac::gen& f, const giac::gen& x, giac::context* context)
{
    const std::string key = f.print(context) + " by " + x.print(context);
    Searches& memory = searched();
    for (const Searched& earlier : memory) {
        if (earlier.integrand != key)
            continue;
        if (!earlier.why.empty())
            throw std::runtime_error(earlier.why);
        return earlier.F;
    }
    const auto start = std::chrono::steady_clock::now();
    Search search(x, context);
    Searched outcome{key, search.run(f), ""};
    if (!outcome.F)
        outcome.why = search.cutShort();
    // A search stopped from outside, before its own time was up, may yet find one: it is not remembered.
    const bool ownTime = std::chrono::steady_clock::now() - start >= kSearchTime;
    const bool stoppedEarly = !outcome.F && giacInterrupted() && (outcome.why.empty() || !ownTime);
    if (!stoppedEarly) {
        if (memory.size() == kRememberedSearches)
            memory.pop_front();
        memory.push_back(outcome);
    }
    if (!outcome.why.empty())
        throw std::runtime_error(outcome.why);
    return outcome.F;
}

void forgetAntiderivatives()
{
    searched().clear();
}

} // namespace kernelproc
