// The axes of a 2-D plot for a table of ranges: step, crossing, margins and
// every tick, with reversed, equal, tiny and huge ranges that must give
// neither NaN nor a division by zero; and the plot's mapping to its picture.
#include "plot/PlotAxes.h"
#include "plot/PlotCurveSet.h"
#include "support/math/MathTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct AxesCase {
    const char* name;
    PlotRanges ranges;
    double xStep, yStep;
    // Ticks as their labels, in the order they are made.
    const char* xTicks;
    const char* yTicks;
    // Margins in points: left, right, top, bottom.
    int left, right, top, bottom;
};

std::string Labels(const PlotItemList& curve, int32_t kind)
{
    std::string text;
    for (const auto& item : curve)
        if (item->GetKind() == kind) {
            const auto* tick = static_cast<const PlotTick*>(item.get());
            text += (text.empty() ? "" : " ") + tick->GetLabel();
        }
    return text;
}

class PlotAxesTest : public MathTest {};

TEST_F(PlotAxesTest, StepsTicksAndMarginsFollowTheRanges)
{
    const char* const unit = "-0.2 -0.4 -0.6 -0.8 -1 0.2 0.4 0.6 0.8 1"; // the ticks of -1..1
    // clang-format off
    const std::vector<AxesCase> cases = {
        {"default", {-1, 1, -1, 1}, 0.2, 0.2, unit, unit, 20, 20, 12, 12},
        {"right of zero", {2, 10, -1, 1}, 1, 0.2, "3 4 5 6 7 8 9 10", unit, 48, 20, 12, 12},
        {"left of zero", {-10, -2, -1, 1}, 1, 0.2, "-3 -4 -5 -6 -7 -8 -9 -10", unit, 20, 48, 12, 12},
        {"y from zero", {-1, 1, 0, 100}, 0.2, 20, unit, "20 40 60 80 100", 20, 20, 12, 24},
        {"y below zero", {-1, 1, -100, -20}, 0.2, 10, unit, "-30 -40 -50 -60 -70 -80 -90 -100", 20, 20, 24, 12},
        {"a tenth of a step", {0.1, 0.7, -1, 1}, 0.1, 0.2, "0.2 0.3 0.4 0.5 0.6 0.7", unit, 48, 20, 12, 12},
        // Adding the step again and again would end short of these ranges' ends.
        {"a tick on the end", {0, 0.1, 0, 0.06}, 0.01, 0.01, "0.01 0.02 0.03 0.04 0.05 0.06 0.07 0.08 0.09 0.1",
         "0.01 0.02 0.03 0.04 0.05 0.06", 48, 20, 12, 24},
        {"reversed", {1, -1, 1, -1}, 0.2, 0.2, unit, unit, 20, 20, 12, 12},
        {"equal", {3, 3, -1, 1}, 0, 0.2, "", unit, 48, 20, 12, 12},
        {"tiny", {0, 1e-12, -1, 1}, 2e-13, 0.2, "2e-13 4e-13 6e-13 8e-13 1e-12", unit, 48, 20, 12, 12},
        {"below the smallest double", {0, 4e-324, -1, 1}, 0, 0.2, "", unit, 48, 20, 12, 12},
        {"beyond the largest double", {-1.7e308, 1.7e308, -1, 1}, 0, 0.2, "", unit, 20, 20, 12, 12},
        {"not a number", {NAN, 1, -1, 1}, 0, 0.2, "", unit, 20, 20, 12, 12},
    };
    // clang-format on
    for (const AxesCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(LayoutAxis(c.ranges.xMin, c.ranges.xMax).step, c.xStep);
        EXPECT_DOUBLE_EQ(LayoutAxis(c.ranges.yMin, c.ranges.yMax).step, c.yStep);
        PlotCurveSet set;
        const PlotMargins margins = BuildAxes(set, c.ranges);
        ASSERT_EQ(set.GetCurveCount(), 1);
        const PlotItemList& curve = set.GetCurve(0);
        EXPECT_EQ(Labels(curve, plot::kTickX), c.xTicks);
        EXPECT_EQ(Labels(curve, plot::kTickY), c.yTicks);
        EXPECT_EQ(margins.left, c.left * 96 / 72);
        EXPECT_EQ(margins.right, c.right * 96 / 72);
        EXPECT_EQ(margins.top, c.top * 96 / 72);
        EXPECT_EQ(margins.bottom, c.bottom * 96 / 72);
        // The two axis lines close the curve; every point is a number.
        ASSERT_GE(curve.size(), 2u);
        EXPECT_EQ(curve[curve.size() - 1]->GetKind(), plot::kLine);
        EXPECT_EQ(curve[curve.size() - 2]->GetKind(), plot::kLine);
        for (const auto& item : curve)
            if (item->GetKind() == plot::kTickX || item->GetKind() == plot::kTickY) {
                const DPoint p = static_cast<const PlotTick*>(item.get())->GetPoint();
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
            }
    }
}

TEST_F(PlotAxesTest, TicksOnTheAxesCarryTheOtherAxisSide)
{
    PlotCurveSet set;
    BuildAxes(set, {-10, -2, 0, 100});
    const PlotItemList& curve = set.GetCurve(0);
    for (const auto& item : curve) {
        if (item->GetKind() == plot::kTickX) {
            EXPECT_EQ(static_cast<const PlotTick*>(item.get())->GetSide(), 0); // x axis along the bottom
        }
        if (item->GetKind() == plot::kTickY) {
            EXPECT_EQ(static_cast<const PlotTick*>(item.get())->GetSide(), 1); // y axis on the right
        }
    }
}

TEST_F(PlotAxesTest, TheMappingPutsTheRangesOnThePlotAreaAndBack)
{
    const PlotMargins margins{26, 26, 16, 16};
    PlotGeometry geometry({-1, 1, -1, 1}, margins, 533, 400);
    EXPECT_EQ(geometry.PlotToDevice({-1, 1}).x, 26);
    EXPECT_EQ(geometry.PlotToDevice({-1, 1}).y, 16);
    EXPECT_EQ(geometry.PlotToDevice({1, -1}).x, 533 - 26);
    EXPECT_EQ(geometry.PlotToDevice({1, -1}).y, 400 - 16);
    const DPoint back = geometry.DeviceToPlot(geometry.PlotToDevice({0.5, -0.25}));
    EXPECT_NEAR(back.x, 0.5, 0.01);
    EXPECT_NEAR(back.y, -0.25, 0.01);

    // A damaged record's margins leave the plot area at least half the picture.
    for (int margin : {-32768, 32767}) {
        SCOPED_TRACE(margin);
        PlotGeometry damaged({-1, 1, -1, 1}, {margin, margin, margin, margin}, 533, 400);
        const IntPoint low = damaged.PlotToDevice({-1, -1}), high = damaged.PlotToDevice({1, 1});
        EXPECT_GE(high.x - low.x, 533 / 2 - 1);
        EXPECT_GE(low.y - high.y, 400 / 2 - 1);
        EXPECT_GE(low.x, 0);
        EXPECT_LE(low.y, 400);
    }
}

TEST_F(PlotAxesTest, EmptyRangesAndPicturesMapWithoutDividingByZero)
{
    const PlotMargins margins{26, 26, 16, 16};
    struct Case {
        const char* name;
        PlotRanges ranges;
        int width, height;
    };
    for (const Case& c :
         {Case{"zero width", {-1, 1, -1, 1}, 0, 0}, Case{"margins wider than the picture", {-1, 1, -1, 1}, 30, 20},
          Case{"equal ranges", {2, 2, 5, 5}, 533, 400},
          Case{"non-finite range", {-INFINITY, INFINITY, -1, 1}, 533, 400}}) {
        SCOPED_TRACE(c.name);
        PlotGeometry geometry(c.ranges, margins, c.width, c.height);
        for (DPoint p : {DPoint(0, 0), DPoint(2, 5), DPoint(1e300, -1e300), DPoint(NAN, NAN)}) {
            const IntPoint d = geometry.PlotToDevice(p);
            EXPECT_LT(std::abs(d.x), 20000);
            EXPECT_LT(std::abs(d.y), 20000);
        }
    }
    // A point far beyond the y range is held near the picture, not wrapped to the other side.
    PlotGeometry geometry({-1, 1, -1, 1}, margins, 533, 400);
    EXPECT_GT(geometry.PlotToDevice({0, -1e6}).y, 400);
    EXPECT_LT(geometry.PlotToDevice({0, 1e6}).y, 0);
}

} // namespace
