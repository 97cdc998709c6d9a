#include "drawing/FreehandFit.h"

#include "drawing/ConstraintEqn.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawVariable.h"
#include "drawing/VertexShape.h"

#include <Eigen/Dense>

#include <cmath>
#include <memory>

namespace freehand {

namespace {

VertexShape* NewVertex(const DPoint& p)
{
    return new VertexShape(p.x, p.y);
}

DPoint Mean(const DPoint& a, const DPoint& b, const DPoint& c)
{
    return (a + b + c) / 3.0;
}

// The working system: inner vertices held on the curve at their parameters.
struct System {
    std::vector<std::unique_ptr<VertexShape>> inner;
    std::vector<std::unique_ptr<PointOnCurveConstraint>> holds;
    std::vector<ConstraintEqn*> equations;
    std::vector<DrawVariable*> unknowns;

    double MeanResidual() const
    {
        double sum = 0.0;
        for (const ConstraintEqn* equation : equations)
            sum += equation->AbsResidual();
        return equations.empty() ? 0.0 : sum / static_cast<double>(equations.size());
    }

    // x += pinv(J) (-F) over the free unknowns; false when the step is not finite.
    bool Step()
    {
        const auto rows = static_cast<Eigen::Index>(equations.size());
        const auto cols = static_cast<Eigen::Index>(unknowns.size());
        Eigen::MatrixXd jacobian(rows, cols);
        Eigen::VectorXd residuals(rows);
        for (Eigen::Index r = 0; r < rows; ++r) {
            const ConstraintEqn* equation = equations[static_cast<size_t>(r)];
            residuals(r) = -equation->Residual();
            for (Eigen::Index c = 0; c < cols; ++c)
                jacobian(r, c) = equation->Derivative(unknowns[static_cast<size_t>(c)]);
        }
        const Eigen::VectorXd step = jacobian.completeOrthogonalDecomposition().solve(residuals);
        if (!step.allFinite())
            return false;
        for (Eigen::Index c = 0; c < cols; ++c) {
            DrawVariable* unknown = unknowns[static_cast<size_t>(c)];
            unknown->SetValue(unknown->GetValue() + step(c));
        }
        return true;
    }
};

} // namespace

std::vector<IntPoint> Reduce(std::vector<IntPoint> stroke)
{
    while (stroke.size() > static_cast<size_t>(kMaxPoints)) {
        const IntPoint last = stroke.back();
        const size_t half = stroke.size() / 2;
        for (size_t k = 0; k < half; ++k)
            stroke[k] = stroke[2 * k];
        stroke.resize(half);
        stroke.back() = last;
    }
    return stroke;
}

void InitialControls(const std::vector<DPoint>& points, DPoint& first, DPoint& second)
{
    const size_t n = points.size();
    if (n < 4) {
        first = points.back();
        second = points.front();
        return;
    }
    first = points[0] + (Mean(points[1], points[2], points[3]) - points[0]) * 4.0;
    second = points[n - 1] + (Mean(points[n - 4], points[n - 3], points[n - 2]) - points[n - 1]) * 4.0;
}

Fit FitCurve(const std::vector<DPoint>& points, double scale)
{
    const size_t n = points.size();
    std::vector<double> lengths(n, 0.0);
    for (size_t i = 1; i < n; ++i)
        lengths[i] = lengths[i - 1] + points[i].Distance(points[i - 1]);
    const double total = lengths.back() > 0.0 ? lengths.back() : 1.0;

    DPoint first;
    DPoint second;
    InitialControls(points, first, second);
    VertexShape* start = NewVertex(points.front());
    VertexShape* end = NewVertex(points.back());
    end->Fix();
    auto* curve = new CurveShape(start, end, NewVertex(first), NewVertex(second));

    System system;
    for (int k = 1; k <= 2; ++k) {
        system.unknowns.push_back(curve->GetControlPoint(k)->GetXVar());
        system.unknowns.push_back(curve->GetControlPoint(k)->GetYVar());
    }
    for (size_t i = 1; i + 1 < n; ++i) {
        auto& vertex = system.inner.emplace_back(NewVertex(points[i]));
        vertex->Fix();
        auto* parameter = new DrawVariable(lengths[i] / total, false);
        auto& hold = system.holds.emplace_back(new PointOnCurveConstraint(curve, vertex.get(), parameter, true));
        for (int e = 0; e < hold->GetEquationCount(); ++e)
            system.equations.push_back(hold->GetEquation(e));
        system.unknowns.push_back(parameter);
    }

    Fit fit;
    const double tolerance = kTolerancePoints * scale;
    fit.residual = 10.0 * tolerance;
    while (fit.residual > tolerance && fit.iterations < kMaxIterations) {
        ++fit.iterations;
        if (!system.Step()) {
            fit.residual = HUGE_VAL;
            break;
        }
        fit.residual = system.MeanResidual();
    }
    end->Unfix();
    start->Unfix();
    if (!(fit.residual <= kFailureFactor * tolerance)) {
        fit.failed = true;
        curve->GetControlPoint(1)->SetPoint(first);
        curve->GetControlPoint(2)->SetPoint(second);
    }
    fit.curve = curve;
    return fit;
}

} // namespace freehand
