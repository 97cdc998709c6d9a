#pragma once
// Turns a freehand stroke into one cubic Bezier curve. The stroke is thinned
// to at most 32 points; its inner points are held on the curve at the
// parameters of their share of the stroke's length, and a few least-squares
// Newton steps move the two control points (and the parameters) until the
// curve passes near them. A fit that goes astray keeps the starting
// control points, so a stroke always yields a curve.
#include "foundation/DPoint.h"
#include "foundation/IntPoint.h"

#include <vector>

class CurveShape;

namespace freehand {

constexpr int kMaxPoints = 32;
constexpr int kMaxIterations = 30;
// The tolerance in points at the drawing's present zoom.
constexpr double kTolerancePoints = 0.05;
// A fit whose mean residual stays above this many tolerances has failed.
constexpr double kFailureFactor = 100.0;

// Halves the stroke (keeping every other point, and always the last one)
// until it has at most 32 points.
std::vector<IntPoint> Reduce(std::vector<IntPoint> stroke);

// The control points the fit starts from: a quarter of the way to the mean
// of the three points next to each end, scaled by four; with three points,
// the opposite ends.
void InitialControls(const std::vector<DPoint>& points, DPoint& first, DPoint& second);

struct Fit {
    // A new curve with vertices of its own, standing out of any drawing.
    CurveShape* curve = nullptr;
    int iterations = 0;
    // The mean absolute residual of the equations after the last step.
    double residual = 0.0;
    // The fit went astray and the starting control points were kept.
    bool failed = false;
};

// The curve through at least three drawing points; scale: drawing units
// per point.
Fit FitCurve(const std::vector<DPoint>& points, double scale);

} // namespace freehand
