#include "kernelproc/ConstraintProjection.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kernelproc {

namespace {

// How far from where it holds an equation may be, as a share of the size of
// the values it reads: a few units in their last place, which the
// coordinates can meet, not a share that a small figure far from the origin
// could miss by a good part of itself.
constexpr double kRelativeTolerance = 16 * std::numeric_limits<double>::epsilon();
// How many times the rounding in its terms a residual may be and hold.
constexpr double kRoundings = 4;
constexpr double kMaxDamping = 1e2;
// Accepted steps in a row that each leave more than this share of the
// residual mean the equations cannot be met from here.
constexpr double kStall = 0.5;
constexpr int kStalls = 3;
constexpr int kHalvings = 8;
constexpr int kCorrections = 20;
// An unknown that may not move counts this much in the distance to the wanted values.
constexpr double kLargestWeight = 1e12;

struct Linearised {
    Eigen::VectorXd residuals;
    Eigen::MatrixXd jacobian;
    Eigen::VectorXd roundings;
};

// The residual over the length of its gradient is the distance to where the
// equation holds, in the units of the values: a length for the equations of
// a drawing, whatever their degree. It is held to a share of the size of the
// values the equation reads where it is taken, not where a search began, so
// that a figure brought back from a great size is solved as exactly as one
// that never left its own. Where the gradient vanishes with the residual (an
// angle's equation at a straight angle) that distance says nothing: a
// residual within the rounding of its own terms holds there. The largest
// residual that holds, given the slope and rounding where it is taken; not
// a number when the slope is none.
double allowance(const DrawTerm& e, const std::vector<double>& values, double slope, double rounding)
{
    double size = 0;
    for (int variable : e.variables())
        size = std::max(size, std::fabs(values[std::size_t(variable)]));
    if (!std::isfinite(slope))
        return NAN;
    return std::max(kRelativeTolerance * size * slope, std::isfinite(rounding) ? kRoundings * rounding : 0.0);
}

bool withinTolerance(const DrawTerm& e, const std::vector<double>& values, double residual, double slope,
                     double rounding)
{
    return std::isfinite(residual) && std::fabs(residual) <= allowance(e, values, slope, rounding);
}

bool evaluate(const std::vector<DrawTerm>& equations, const std::vector<double>& values, Linearised& out)
{
    const auto m = Eigen::Index(equations.size());
    out.residuals.resize(m);
    out.roundings.resize(m);
    out.jacobian.setZero(m, Eigen::Index(values.size()));
    std::vector<std::pair<int, double>> partials;
    for (Eigen::Index i = 0; i < m; ++i) {
        const double r = equations[std::size_t(i)].gradient(values, partials);
        if (!std::isfinite(r))
            return false;
        out.residuals[i] = r;
        out.roundings[i] = equations[std::size_t(i)].rounding();
        for (const auto& [variable, partial] : partials)
            out.jacobian(i, variable) = partial;
    }
    return true;
}

// Whether each equation holds at the values whose residuals and gradients
// `at` holds.
bool allHold(const std::vector<DrawTerm>& equations, const std::vector<double>& values, const Linearised& at)
{
    for (Eigen::Index i = 0; i < at.residuals.size(); ++i)
        if (!withinTolerance(equations[std::size_t(i)], values, at.residuals[i], at.jacobian.row(i).norm(),
                             at.roundings[i]))
            return false;
    return true;
}

// How far the equations are from holding, to judge a correction step by:
// each residual beyond what it may be (taken where the step starts), over
// the length of its gradient there. Equations of very different sizes (a
// length of a millionth beside sides of a few units) weigh alike, and one
// that holds to its rounding but can move no further does not hide what a
// step does to the others.
class Excess {
public:
    Excess(const std::vector<DrawTerm>& equations, const std::vector<double>& values, const Linearised& at)
        : equations_(equations), allowed_(at.residuals.size()), scales_(at.residuals.size())
    {
        for (Eigen::Index i = 0; i < scales_.size(); ++i) {
            const double slope = at.jacobian.row(i).norm();
            allowed_[i] = allowance(equations[std::size_t(i)], values, slope, at.roundings[i]);
            scales_[i] = slope > 0 && std::isfinite(slope) ? 1 / slope : 1;
        }
    }

    double of(const Eigen::VectorXd& residuals) const
    {
        double largest = 0;
        for (Eigen::Index i = 0; i < residuals.size(); ++i)
            largest = std::max(largest, beyond(residuals[i], i));
        return largest;
    }

    // Infinity when a residual is no number.
    double at(const std::vector<double>& values) const
    {
        double largest = 0;
        for (std::size_t i = 0; i < equations_.size(); ++i)
            largest = std::max(largest, beyond(equations_[i].value(values), Eigen::Index(i)));
        return largest;
    }

private:
    double beyond(double residual, Eigen::Index i) const
    {
        if (!std::isfinite(residual))
            return INFINITY;
        const double allowed = std::isfinite(allowed_[i]) ? allowed_[i] : 0.0;
        return std::max(0.0, std::fabs(residual) - allowed) * scales_[i];
    }

    const std::vector<DrawTerm>& equations_;
    Eigen::VectorXd allowed_;
    Eigen::VectorXd scales_;
};

double scaleOf(const std::vector<double>& values)
{
    double scale = 0;
    for (double v : values)
        if (std::isfinite(v))
            scale = std::max(scale, std::fabs(v));
    return scale;
}

class Projection {
public:
    Projection(const std::vector<DrawTerm>& equations, const std::vector<double>& weights,
               const ProjectionLimits& limits)
        : equations_(equations), limits_(limits), inverseWeights_(Eigen::Index(weights.size())), weights_(weights)
    {
        for (std::size_t i = 0; i < weights.size(); ++i) {
            inverseWeights_[Eigen::Index(i)] = weights[i] > 0 ? 1 / weights[i] : 1;
            weights_[i] = std::min(weights[i], kLargestWeight);
        }
    }

    // Steps from values towards wanted: every accepted point satisfies the
    // equations and lies nearer wanted than the one before. True when values
    // end on the equations.
    bool run(std::vector<double>& values, const std::vector<double>& wanted)
    {
        bool onEquations = correct(values);
        const double stepFloor = 1e-9 * (1 + scaleOf(values) + scaleOf(wanted));
        for (int step = 0; step < limits_.maxSteps; ++step) {
            if (limits_.stopped && limits_.stopped())
                return false;
            Linearised at;
            Eigen::VectorXd delta;
            if (!evaluate(equations_, values, at) || !stepFrom(at, values, wanted, delta))
                return onEquations;
            const double before = distance(values, wanted);
            bool taken = false;
            double t = 1;
            std::vector<double> trial(values.size());
            for (int h = 0; h <= kHalvings && !taken; ++h, t /= 2) {
                for (std::size_t i = 0; i < values.size(); ++i)
                    trial[i] = values[i] + t * delta[Eigen::Index(i)];
                taken = correct(trial) && (!onEquations || distance(trial, wanted) < before);
            }
            if (!taken)
                return onEquations;
            values = trial;
            onEquations = true;
            if (2 * t * delta.cwiseAbs().maxCoeff() < stepFloor)
                return true;
        }
        return onEquations;
    }

private:
    // Newton steps of least weighted length back onto the equations, damped
    // when a step does not lower the residuals; true when every equation
    // ends up holding.
    bool correct(std::vector<double>& values)
    {
        double damping = 0;
        int stalls = 0;
        for (int step = 0; step < kCorrections; ++step) {
            if (limits_.stopped && limits_.stopped())
                return false;
            Linearised at;
            Eigen::VectorXd delta;
            if (!evaluate(equations_, values, at))
                return false;
            if (allHold(equations_, values, at))
                return true;
            const Excess excess(equations_, values, at);
            const double residual = excess.of(at.residuals);
            if (!stepFrom(at, values, values, delta, damping))
                return false;
            std::vector<double> trial(values.size());
            bool taken = false;
            double t = 1;
            double left = residual;
            for (int h = 0; h <= kHalvings && !taken; ++h, t /= 2) {
                for (std::size_t i = 0; i < values.size(); ++i)
                    trial[i] = values[i] + t * delta[Eigen::Index(i)];
                left = excess.at(trial);
                taken = left < residual;
            }
            if (taken) {
                stalls = left > kStall * residual ? stalls + 1 : 0;
                if (stalls >= kStalls)
                    return false;
                values = trial;
                damping /= 10;
            } else {
                damping = damping == 0 ? 1e-6 : damping * 100;
                if (damping > kMaxDamping)
                    return false;
            }
        }
        Linearised at;
        return evaluate(equations_, values, at) && allHold(equations_, values, at);
    }

    // The step of the linearised problem: delta = d - W^-1 J^T y with
    // (J W^-1 J^T + mu I) y = F + J d and d = wanted - values.
    bool stepFrom(const Linearised& at, const std::vector<double>& values, const std::vector<double>& wanted,
                  Eigen::VectorXd& delta, double damping = 0) const
    {
        const auto n = Eigen::Index(values.size());
        Eigen::VectorXd d(n);
        for (Eigen::Index i = 0; i < n; ++i)
            d[i] = wanted[std::size_t(i)] - values[std::size_t(i)];
        const Eigen::MatrixXd scaled = at.jacobian * inverseWeights_.asDiagonal();
        Eigen::MatrixXd normal = scaled * at.jacobian.transpose();
        const double diagonal = normal.diagonal().cwiseAbs().maxCoeff();
        normal.diagonal().array() += damping * (diagonal + 1) + 1e-14 * (diagonal + 1e-300);
        Eigen::LDLT<Eigen::MatrixXd> solver(normal);
        if (solver.info() != Eigen::Success)
            return false;
        const Eigen::VectorXd y = solver.solve(at.residuals + at.jacobian * d);
        delta = d - scaled.transpose() * y;
        return delta.allFinite();
    }

    double distance(const std::vector<double>& values, const std::vector<double>& wanted) const
    {
        double sum = 0;
        for (std::size_t i = 0; i < values.size(); ++i)
            sum += weights_[i] * (values[i] - wanted[i]) * (values[i] - wanted[i]);
        return sum;
    }

    const std::vector<DrawTerm>& equations_;
    const ProjectionLimits& limits_;
    Eigen::VectorXd inverseWeights_;
    std::vector<double> weights_;
};

} // namespace

bool equationHolds(const DrawTerm& equation, const std::vector<double>& values)
{
    std::vector<std::pair<int, double>> partials;
    const double residual = equation.gradient(values, partials);
    double squares = 0;
    for (const auto& [variable, partial] : partials)
        squares += partial * partial;
    return withinTolerance(equation, values, residual, std::sqrt(squares), equation.rounding());
}

bool projectOntoConstraints(const std::vector<DrawTerm>& equations, std::vector<double>& values,
                            const std::vector<double>& wanted, const std::vector<double>& weights,
                            const ProjectionLimits& limits)
{
    if (equations.empty()) {
        values = wanted;
        return true;
    }
    Projection projection(equations, weights, limits);
    return projection.run(values, wanted);
}

} // namespace kernelproc
