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
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

using Complex = std::complex<double>;

bool finite(Complex z)
{
    return std::isfinite(z.real()) && std::isfinite(z.imag());
}

// One piece of the range, as a function of t on a finite interval: the
// integrand itself, or mapped from an infinite end.
class Piece {
public:
    enum Kind { bounded, toInfinity, fromInfinity };
    Piece(const Integrand& f, Kind kind, double end) : f_(f), kind_(kind), end_(end) {}

    std::optional<Complex> at(double t) const
    {
        std::optional<Complex> value;
        switch (kind_) {
        case bounded: value = f_(t); break;
        case toInfinity: value = mapped(end_ + t / (1 - t), t); break;
        case fromInfinity: value = mapped(end_ - t / (1 - t), t); break;
        }
        if (value && !finite(*value))
            return std::nullopt;
        return value;
    }

private:
    std::optional<Complex> mapped(double x, double t) const
    {
        const std::optional<Complex> value = f_(x);
        if (!value)
            return std::nullopt;
        const double stretch = 1 / ((1 - t) * (1 - t));
        // Far out the integrand has vanished, whatever the stretch.
        return *value == Complex(0) ? Complex(0) : *value * stretch;
    }

    const Integrand& f_;
    Kind kind_;
    double end_;
};

struct Interval {
    const Piece* piece;
    double a, b;
    Complex value;
    double error;
    double magnitude;
    bool last; // too narrow to split further
};

class Adaptive {
public:
    explicit Adaptive(const QuadratureLimits& limits) : limits_(limits) {}

    bool add(const Piece& piece, double a, double b)
    {
        for (int i = 0; i < kInitialParts; ++i) {
            const double from = a + (b - a) * i / kInitialParts;
            const double to = i + 1 == kInitialParts ? b : a + (b - a) * (i + 1) / kInitialParts;
            if (!rule(piece, from, to))
                return false;
        }
        return true;
    }

    std::optional<Quadrature> run()
    {
        for (;;) {
            Quadrature total;
            for (const Interval& i : intervals_) {
                total.value += i.value;
                total.error += i.error;
                total.magnitude += i.magnitude;
            }
            if (total.error <= std::max(limits_.absoluteTolerance, limits_.relativeTolerance * total.magnitude))
                return total;
            // The worst interval that can still be split: one at a singular
            // end can shrink only as far as the numbers there are apart.
            auto worst =
                std::max_element(intervals_.begin(), intervals_.end(), [](const Interval& p, const Interval& q) {
                    return (p.last ? -1 : p.error) < (q.last ? -1 : q.error);
                });
            if (worst->last || evaluations_ + 2 * kRulePoints > limits_.evaluations) {
                if (total.error <= std::max(limits_.absoluteTolerance, limits_.looseTolerance * total.magnitude))
                    return total;
                return std::nullopt;
            }
            const Interval split = *worst;
            intervals_.erase(worst);
            const double middle = 0.5 * (split.a + split.b);
            if (!rule(*split.piece, split.a, middle) || !rule(*split.piece, middle, split.b))
                return std::nullopt;
        }
    }

private:
    // The value of f at a node; a node that meets a point without a value
    // (sin(x)/x at 0) is moved a little towards the middle of its interval.
    std::optional<Complex> sample(const Piece& piece, double t, double middle)
    {
        if (limits_.stopped && limits_.stopped())
            return std::nullopt;
        ++evaluations_;
        if (std::optional<Complex> value = piece.at(t))
            return value;
        ++evaluations_;
        return piece.at(t + (middle - t) * 1e-9);
    }

    bool rule(const Piece& piece, double a, double b)
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
        const bool last = centre <= a || centre >= b || b - a <= 1e3 * kEpsilon * std::max(std::abs(a), std::abs(b));
        intervals_.push_back({&piece, a, b, kronrod * half, error, absolute, last});
        return true;
    }

    const QuadratureLimits& limits_;
    std::vector<Interval> intervals_;
    int evaluations_ = 0;
};

} // namespace

std::optional<Quadrature> integrateNumerically(const Integrand& f, double a, double b, std::vector<double> breaks,
                                               const QuadratureLimits& limits)
{
    if (std::isnan(a) || std::isnan(b))
        return std::nullopt;
    if (a == b)
        return Quadrature{};
    const double sign = a < b ? 1 : -1;
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
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
        if (std::isinf(from))
            pieces.emplace_back(f, Piece::fromInfinity, to);
        else if (std::isinf(to))
            pieces.emplace_back(f, Piece::toInfinity, from);
        else
            pieces.emplace_back(f, Piece::bounded, 0);
        const bool mapped = std::isinf(from) || std::isinf(to);
        if (!adaptive.add(pieces.back(), mapped ? 0 : from, mapped ? 1 : to))
            return std::nullopt;
    }
    std::optional<Quadrature> result = adaptive.run();
    if (result)
        result->value *= sign;
    return result;
}

} // namespace kernelproc
