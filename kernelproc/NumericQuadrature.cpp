#include "kernelproc/NumericQuadrature.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kernelproc {

namespace {

// The 15-point Kronrod rule and the 7-point Gauss rule embedded in it, on
// [-1, 1]: nodes from the outside in, the centre last.
constexpr double kKronrodNodes[8] = {0.991455371120812639206854697526329, 0.949107912342758524526189684047851,
                                     0.864864423359769072789712788640926, 0.741531185599394439863864773280788,
                                     0.586087235467691130294144845693013, 0.405845151377397166906606412076961,
                                     0.207784955007898467600689403773245, 0.0};
constexpr double kKronrodWeights[8] = {0.022935322010529224963732008058970, 0.063092092629978553290700663189204,
                                       0.104790010322250183839876322541518, 0.140653259715525918745189590510238,
                                       0.169004726639267902826583426598550, 0.190350578064785409913256402421014,
                                       0.204432940075298892414161999234649, 0.209482141084727828012999174891714};
// For the nodes 1, 3, 5 and the centre.
constexpr double kGaussWeights[4] = {0.129484966168869693270611432679082, 0.279705391489276667901467771423780,
                                     0.381830050505118944950369775488975, 0.417959183673469387755102040816327};
constexpr int kRulePoints = 15;
// Each piece starts in this many parts: one rule over a whole piece could
// miss a narrow feature and still estimate a small error.
constexpr int kInitialParts = 4;
// A part of a piece whose samples are all 0, at a finite end of the piece, is
// looked at again in its share nearest the end, this many times smaller, up
// to this many times: 64^12 is over 10^21.
constexpr double kZoomFactor = 64;
constexpr int kMaxZooms = 12;
// A node where the integrand has no finite value is moved towards the middle
// of its interval by these shares of the way, in turn.
constexpr double kNodeShifts[] = {1e-9, 1e-6, 1e-3};
// Where the rule saw only zeros: how many probes lie evenly across a finite
// stretch, the first power of 2 probed out along an infinite one, and how
// often the range is split where the probes found the integrand.
constexpr int kEvenProbes = 64;
constexpr int kFirstPowerOut = -30;
constexpr int kProbeRounds = 3;
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

using Complex = std::complex<double>;

bool finite(Complex z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// One piece of the range as a function of t on [0, 1]. A bounded piece
// [from, to] is x = from + (to - from)(3t^2 - 2t^3), whose nodes crowd
// towards both ends: an integrable singularity there (a root's, a
// logarithm's) becomes bounded, or nearly. A piece with an infinite end
// is x = end + t / (1 - t), or its mirror.
class Piece {
public:
    enum Kind { bounded, toInfinity, fromInfinity };
    Piece(const Integrand& f, Kind kind, double from, double to) : f_(f), kind_(kind), from_(from), to_(to) {}

    std::optional<Complex> at(double t) const
    {
        const double x = place(t);
        if (!std::isfinite(x))
            return std::nullopt;
        const std::optional<Complex> value = f_(x);
        if (!value || !finite(*value))
            return std::nullopt;
        // Where the integrand has vanished it stays 0, whatever the stretch.
        return *value == Complex(0) ? Complex(0) : *value * stretch(t);
    }

    // The point of the range that t stands for.
    double place(double t) const
    {
        switch (kind_) {
        case bounded: return t >= 1 ? to_ : from_ + (to_ - from_) * t * t * (3 - 2 * t);
        case toInfinity: return t >= 1 ? HUGE_VAL : from_ + t / (1 - t);
        case fromInfinity: return t >= 1 ? -HUGE_VAL : to_ - t / (1 - t);
        }
        return t;
    }

private:
    double stretch(double t) const
    {
        if (kind_ == bounded)
            return 6 * (to_ - from_) * t * (1 - t);
        return 1 / ((1 - t) * (1 - t));
    }

    const Integrand& f_;
    Kind kind_;
    double from_, to_;
};

// Towards which finite end of its piece an interval lies, when it lies at one.
enum class End { none, low, high };

struct Interval {
    const Piece* piece;
    double a, b;
    Complex value;
    double error;
    double magnitude;
    bool last;  // too narrow to split further
    bool blank; // every sample was 0
    End end;
    int zooms; // how often it was cut towards its end
};

class Adaptive {
public:
    explicit Adaptive(const QuadratureLimits& limits) : limits_(limits) {}

    // A piece over t in [0, 1]. Its end at t = 0 is a point of the range;
    // the one at t = 1 is too when `highFinite`, and an infinity otherwise.
    bool add(const Piece& piece, bool highFinite)
    {
        for (int i = 0; i < kInitialParts; ++i) {
            const double from = double(i) / kInitialParts;
            const double to = double(i + 1) / kInitialParts;
            End end = End::none;
            if (i == 0)
                end = End::low;
            else if (i + 1 == kInitialParts && highFinite)
                end = End::high;
            if (!rule(piece, from, to, end, 0))
                return false;
        }
        return true;
    }

    std::optional<Quadrature> run()
    {
        for (;;) {
            if (std::optional<bool> zoomed = zoomAtAnEnd()) {
                if (!*zoomed)
                    return std::nullopt;
                continue;
            }
            Quadrature total;
            for (const Interval& i : intervals_) {
                total.value += i.value;
                total.error += i.error;
                total.magnitude += i.magnitude;
            }
            if (total.error <= limits_.relativeTolerance * total.magnitude)
                return withUnseen(total);
            // The worst interval that can still be split: one at a singular
            // end can shrink only as far as the numbers there are apart.
            auto worst =
                std::max_element(intervals_.begin(), intervals_.end(), [](const Interval& p, const Interval& q) {
                    return (p.last ? -1 : p.error) < (q.last ? -1 : q.error);
                });
            if (worst->last || evaluations_ + 2 * kRulePoints > limits_.evaluations) {
                if (total.error <= limits_.looseTolerance * total.magnitude)
                    return withUnseen(total);
                return std::nullopt;
            }
            const Interval split = *worst;
            intervals_.erase(worst);
            const double middle = 0.5 * (split.a + split.b);
            if (!rule(*split.piece, split.a, middle, split.end == End::low ? End::low : End::none, split.zooms) ||
                !rule(*split.piece, middle, split.b, split.end == End::high ? End::high : End::none, split.zooms))
                return std::nullopt;
        }
    }

private:
    // An interval with only zeros at a finite end of its piece is cut
    // towards that end: the share next to the end gets a rule of its own.
    // Nothing when there is none to cut; false when a rule failed.
    std::optional<bool> zoomAtAnEnd()
    {
        auto hidden = std::find_if(intervals_.begin(), intervals_.end(), [](const Interval& i) {
            return i.blank && i.end != End::none && i.zooms < kMaxZooms && !i.last;
        });
        if (hidden == intervals_.end() || evaluations_ + 2 * kRulePoints > limits_.evaluations)
            return std::nullopt;
        const Interval cut = *hidden;
        intervals_.erase(hidden);
        if (cut.end == End::low) {
            const double near = cut.a + (cut.b - cut.a) / kZoomFactor;
            return rule(*cut.piece, cut.a, near, End::low, cut.zooms + 1) &&
                rule(*cut.piece, near, cut.b, End::none, cut.zooms);
        }
        const double near = cut.b - (cut.b - cut.a) / kZoomFactor;
        return rule(*cut.piece, cut.a, near, End::none, cut.zooms) &&
            rule(*cut.piece, near, cut.b, End::high, cut.zooms + 1);
    }

    // The total with the blank intervals as stretches of the range, joined where they meet.
    Quadrature withUnseen(Quadrature total) const
    {
        std::vector<std::pair<double, double>> spans;
        for (const Interval& i : intervals_) {
            if (!i.blank)
                continue;
            const double from = i.piece->place(i.a);
            const double to = i.piece->place(i.b);
            spans.emplace_back(std::min(from, to), std::max(from, to));
        }
        std::sort(spans.begin(), spans.end());
        std::vector<std::pair<double, double>> joined;
        for (const auto& span : spans) {
            if (!joined.empty() && span.first <= joined.back().second)
                joined.back().second = std::max(joined.back().second, span.second);
            else
                joined.push_back(span);
        }
        total.unseen = std::move(joined);
        return total;
    }

    // The value of f at a node; a node that meets a point without a value
    // (sin(x)/x at 0, or a singular point that the integrand's arithmetic
    // rounds the node onto) is moved towards the middle of its interval.
    std::optional<Complex> sample(const Piece& piece, double t, double middle)
    {
        if (limits_.stopped && limits_.stopped())
            return std::nullopt;
        ++evaluations_;
        if (std::optional<Complex> value = piece.at(t))
            return value;
        for (double shift : kNodeShifts) {
            ++evaluations_;
            if (std::optional<Complex> value = piece.at(t + (middle - t) * shift))
                return value;
        }
        return std::nullopt;
    }

    bool rule(const Piece& piece, double a, double b, End end, int zooms)
    {
        const double centre = 0.5 * (a + b);
        const double half = 0.5 * (b - a);
        Complex values[kRulePoints];
        for (int j = 0; j < 7; ++j) {
            const std::optional<Complex> left = sample(piece, centre - half * kKronrodNodes[j], centre);
            const std::optional<Complex> right = sample(piece, centre + half * kKronrodNodes[j], centre);
            if (!left || !right)
                return false;
            values[2 * j] = *left;
            values[2 * j + 1] = *right;
        }
        const std::optional<Complex> middle = sample(piece, centre, centre);
        if (!middle)
            return false;
        values[14] = *middle;
        Complex kronrod = values[14] * kKronrodWeights[7];
        Complex gauss = values[14] * kGaussWeights[3];
        double absolute = std::abs(values[14]) * kKronrodWeights[7];
        for (int j = 0; j < 7; ++j) {
            const Complex pair = values[2 * j] + values[2 * j + 1];
            kronrod += kKronrodWeights[j] * pair;
            if (j % 2 == 1)
                gauss += kGaussWeights[j / 2] * pair;
            absolute += kKronrodWeights[j] * (std::abs(values[2 * j]) + std::abs(values[2 * j + 1]));
        }
        // How far f strays from its mean: the scale of the error estimate.
        const Complex mean = 0.5 * kronrod;
        double spread = kKronrodWeights[7] * std::abs(values[14] - mean);
        for (int j = 0; j < 7; ++j)
            spread += kKronrodWeights[j] * (std::abs(values[2 * j] - mean) + std::abs(values[2 * j + 1] - mean));
        const double width = std::abs(half);
        spread *= width;
        absolute *= width;
        double error = std::abs((kronrod - gauss) * half);
        if (spread != 0 && error != 0)
            error = spread * std::min(1.0, std::pow(200 * error / spread, 1.5));
        error = std::max(error, 50 * kEpsilon * absolute);
        // Too narrow to split, in t or in the range.
        auto narrow = [](double p, double q) {
            return std::isfinite(p) && std::isfinite(q) &&
                std::abs(q - p) <= 1e3 * kEpsilon * std::max(std::abs(p), std::abs(q));
        };
        const bool last = centre <= a || centre >= b || narrow(a, b) || narrow(piece.place(a), piece.place(b));
        const bool blank = std::all_of(std::begin(values), std::end(values), [](Complex v) { return v == Complex(0); });
        intervals_.push_back({&piece, a, b, kronrod * half, error, absolute, last, blank, end, zooms});
        return true;
    }

    const QuadratureLimits& limits_;
    std::vector<Interval> intervals_;
    int evaluations_ = 0;
};

// One adaptive quadrature of f over [lo, hi], split at the breaks within it.
std::optional<Quadrature> integrateOnce(const Integrand& f, double lo, double hi, std::vector<double> breaks,
                                        const QuadratureLimits& limits)
{
    std::vector<double> ends = {lo};
    std::sort(breaks.begin(), breaks.end());
    for (double p : breaks) {
        if (std::isfinite(p) && p > ends.back() && p < hi)
            ends.push_back(p);
    }
    if (std::isinf(lo) && std::isinf(hi) && ends.size() == 1)
        ends.push_back(0);
    ends.push_back(hi);
    std::vector<Piece> pieces;
    pieces.reserve(ends.size());
    Adaptive adaptive(limits);
    for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
        const double from = ends[i];
        const double to = ends[i + 1];
        const Piece::Kind kind = std::isinf(from) ? Piece::fromInfinity
            : std::isinf(to)                      ? Piece::toInfinity
                                                  : Piece::bounded;
        pieces.emplace_back(f, kind, from, to);
        // A piece with an infinite end has its finite end at t = 0.
        if (!adaptive.add(pieces.back(), kind == Piece::bounded))
            return std::nullopt;
    }
    return adaptive.run();
}

// Points of a stretch of the range where the rule saw only zeros, spread
// to find an integrand that lives between its samples: evenly, and ever
// closer to each end; along an infinite end, at every power of 2 out.
std::vector<double> probePoints(double from, double to)
{
    std::vector<double> points;
    if (std::isfinite(from) && std::isfinite(to)) {
        const double width = to - from;
        for (int i = 1; i < kEvenProbes; ++i)
            points.push_back(from + width * i / kEvenProbes);
        for (int k = 7; k <= 60; ++k) {
            points.push_back(from + std::ldexp(width, -k));
            points.push_back(to - std::ldexp(width, -k));
        }
        return points;
    }
    for (int k = kFirstPowerOut; k <= std::numeric_limits<double>::max_exponent; ++k) {
        const double step = std::ldexp(1.0, k);
        if (std::isinf(from) && std::isinf(to)) {
            points.push_back(step);
            points.push_back(-step);
        } else {
            points.push_back(std::isinf(to) ? from + step : to - step);
        }
    }
    return points;
}

// Where in the stretch the integrand is largest among the probe points,
// when it is not 0 at all of them.
std::optional<double> probe(const Integrand& f, std::pair<double, double> span, const QuadratureLimits& limits)
{
    std::optional<double> largestAt;
    double largest = 0;
    for (double x : probePoints(span.first, span.second)) {
        if (!std::isfinite(x) || x <= span.first || x >= span.second)
            continue;
        if (limits.stopped && limits.stopped())
            return std::nullopt;
        const std::optional<Complex> value = f(x);
        if (!value || !finite(*value))
            continue;
        if (std::abs(*value) > largest) {
            largest = std::abs(*value);
            largestAt = x;
        }
    }
    return largestAt;
}

} // namespace

std::optional<Quadrature> integrateNumerically(const Integrand& f, double a, double b, std::vector<double> breaks,
                                               const QuadratureLimits& limits)
{
    if (std::isnan(a) || std::isnan(b))
        return std::nullopt;
    if (a == b)
        return Quadrature{};
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    for (int round = 0;; ++round) {
        std::optional<Quadrature> result = integrateOnce(f, lo, hi, breaks, limits);
        if (!result)
            return std::nullopt;
        // Where the probes find the integrand in a stretch the rule saw only
        // as 0, the range is split, and integrated again.
        std::vector<double> found;
        for (const auto& span : result->unseen) {
            if (const std::optional<double> at = probe(f, span, limits))
                found.push_back(*at);
        }
        if (found.empty() || round + 1 == kProbeRounds) {
            result->value *= a < b ? 1 : -1;
            return result;
        }
        breaks.insert(breaks.end(), found.begin(), found.end());
    }
}

} // namespace kernelproc
