#pragma once
// The axes of a 2-D plot for its ranges: the tick step of each axis, where
// the axes cross, the margins that leave room for the labels, and the axes
// as plot items (ticks and the two axis lines, one curve).
//
// Each tick stands at the crossing plus a whole number of steps, computed
// from its index, so that a tick on a range's end is not lost to the drift
// of repeated addition. A range whose ends are equal, reversed only in
// order, not finite, or too small for a step gets no ticks of its own; its
// axis line is still drawn.
#include "plot/PlotGeometry.h"

#include <memory>

class PlotCurveSet;

namespace plot {
// Margins in points: on the side where an axis with labels sits, and elsewhere.
constexpr int kNarrowMarginX = 20;
constexpr int kWideMarginX = 48;
constexpr int kNarrowMarginY = 12;
constexpr int kWideMarginY = 24;
// No axis gets more ticks than this, whatever its range.
constexpr int kMaxTicks = 200;
} // namespace plot

// One axis: its step (0 when it gets no ticks), where the other axis crosses
// it, and whether that axis sits at the range's high end (its labels then
// go on the outer side).
struct AxisLayout {
    double step = 0;
    double crossing = 0;
    bool atHighEnd = false;
    bool oneSided = false;
};

// The step of a range: the largest of 1, 0.5, 0.2 and 0.1 times the power of
// ten at or below it that fits at least five times; 0 when there is none.
double AxisStep(double range);
AxisLayout LayoutAxis(double minimum, double maximum);

// Appends the axes as one curve to the set and answers the margins, in
// pixels at the drawing context's resolution.
PlotMargins BuildAxes(PlotCurveSet& set, const PlotRanges& ranges);
