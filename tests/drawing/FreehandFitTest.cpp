// The freehand curve fit: thinning a long stroke, the control points the
// fit starts from, and the fit of straight, bent and unfollowable strokes.
#include "drawing/CurveShape.h"
#include "drawing/FreehandFit.h"
#include "drawing/VertexShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

std::vector<IntPoint> Stroke(int n)
{
    std::vector<IntPoint> stroke;
    for (int i = 0; i < n; ++i)
        stroke.emplace_back(i, 1000 + i);
    return stroke;
}

TEST(FreehandFitTest, LongStrokesAreHalvedKeepingTheirEnds)
{
    struct Row {
        int points;
        int reduced;
    };
    for (const Row& row : {Row{100, 25}, Row{33, 16}, Row{32, 32}, Row{64, 32}, Row{65, 32}, Row{3, 3}}) {
        SCOPED_TRACE(row.points);
        const std::vector<IntPoint> reduced = freehand::Reduce(Stroke(row.points));
        ASSERT_EQ(static_cast<int>(reduced.size()), row.reduced);
        EXPECT_EQ(reduced.front().x, 0);
        EXPECT_EQ(reduced.back().x, row.points - 1) << "the last point stays";
    }
    // 100 -> 50 -> 25: every fourth point, then the last one.
    const std::vector<IntPoint> reduced = freehand::Reduce(Stroke(100));
    EXPECT_EQ(reduced[1].x, 4);
    EXPECT_EQ(reduced[23].x, 92);
}

TEST(FreehandFitTest, AThreePointStrokeStartsFromAStraightCurve)
{
    DPoint first;
    DPoint second;
    freehand::InitialControls({{0, 0}, {1, 1}, {2, 0}}, first, second);
    EXPECT_EQ(first, DPoint(2, 0)) << "the first control point on the last end";
    EXPECT_EQ(second, DPoint(0, 0));
}

// The curve's point at a parameter.
DPoint At(const CurveShape& curve, double t)
{
    const double u = 1.0 - t;
    const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
    DPoint p(0, 0);
    for (int k = 0; k < 4; ++k)
        p = p + curve.GetControlPoint(k)->GetPoint() * w[k];
    return p;
}

double DistanceToCurve(const CurveShape& curve, const DPoint& p)
{
    double best = HUGE_VAL;
    for (int i = 0; i <= 1000; ++i)
        best = std::min(best, At(curve, i / 1000.0).Distance(p));
    return best;
}

TEST(FreehandFitTest, StraightAndBentStrokesAreFollowedClosely)
{
    const double scale = 0.1; // drawing units per point
    const double tolerance = freehand::kTolerancePoints * scale;
    struct Row {
        const char* name;
        std::vector<DPoint> points;
        int maxIterations;
    };
    std::vector<DPoint> line;
    std::vector<DPoint> arc;
    for (int i = 0; i < 25; ++i) {
        line.emplace_back(0.5 * i, 0.25 * i);
        const double a = 1.5 * i / 24.0;
        arc.emplace_back(10 * std::cos(a), 10 * std::sin(a));
    }
    const Row rows[] = {{"a straight stroke", line, 5}, {"a bent stroke", arc, 30}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        freehand::Fit fit = freehand::FitCurve(row.points, scale);
        std::unique_ptr<CurveShape> curve(fit.curve);
        ASSERT_NE(curve, nullptr);
        EXPECT_FALSE(fit.failed);
        EXPECT_LE(fit.iterations, row.maxIterations);
        EXPECT_LE(fit.residual, 100 * tolerance);
        EXPECT_EQ(curve->GetStart()->GetPoint(), row.points.front());
        EXPECT_EQ(curve->GetEnd()->GetPoint(), row.points.back());
        EXPECT_FALSE(curve->GetStart()->IsFixed());
        EXPECT_FALSE(curve->GetEnd()->IsFixed());
        for (const DPoint& p : row.points)
            EXPECT_LT(DistanceToCurve(*curve, p), 0.05);
    }
}

TEST(FreehandFitTest, AStrokeTheCurveCannotFollowKeepsTheStartingControls)
{
    std::vector<DPoint> zigzag;
    for (int i = 0; i < 30; ++i)
        zigzag.emplace_back(i, i % 2 ? 40.0 : -40.0);
    DPoint first;
    DPoint second;
    freehand::InitialControls(zigzag, first, second);
    freehand::Fit fit = freehand::FitCurve(zigzag, 0.1);
    std::unique_ptr<CurveShape> curve(fit.curve);
    ASSERT_NE(curve, nullptr);
    EXPECT_TRUE(fit.failed);
    EXPECT_EQ(fit.iterations, freehand::kMaxIterations);
    EXPECT_EQ(curve->GetControl1()->GetPoint(), first);
    EXPECT_EQ(curve->GetControl2()->GetPoint(), second);
}

} // namespace
