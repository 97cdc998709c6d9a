#pragma once
// The axes and grid a drawing shows behind its shapes, built as plot items
// in world coordinates over the visible rectangle. Each axis steps by 1, 2
// or 5 times a power of ten, at least five steps across; it crosses the
// other axis at 0 when 0 is in view, else at the step nearest the view.
#include "foundation/DPoint.h"

#include <memory>
#include <vector>

class PlotCurveSet;

struct AxisPlacement {
    double step = 0.0;
    double crossing = 0.0;
    // 1 when the range lies at or below 0: the labels go to the other side.
    int side = 0;
};

// False (and nothing placed) for a range without extent or not finite.
bool PlaceAxis(double min, double max, AxisPlacement& out);

// Ticks along both axes (none at the crossing) and the two axis lines, as
// one curve; null when the rectangle has no extent. Top-left gives the
// smallest x and largest y.
std::unique_ptr<PlotCurveSet> BuildAxesFigure(const DPoint& topLeft, const DPoint& bottomRight);
// Lines across the view at the crossing and every step from it.
std::unique_ptr<PlotCurveSet> BuildGridFigure(const DPoint& topLeft, const DPoint& bottomRight);

// The groups of tick marks of equal-length constraints: constraint i starts
// in group i; two constraints that bind a common segment join the lower
// group; the groups left are numbered 1, 2, ... in order. The answer holds
// each constraint's number of ticks.
std::vector<int> TickGroups(const std::vector<std::vector<const void*>>& segmentsOfEach);
