#include "plot/PlotAxes.h"

#include "foundation/DrawContext.h"
#include "plot/PlotCurveSet.h"

#include <algorithm>
#include <cmath>

using namespace plot;

namespace {

// The smallest multiple of the step not below value.
double MultipleAtOrAbove(double value, double step)
{
    const double q = std::floor(value / step);
    return q * step < value ? (q + 1) * step : q * step;
}

// The largest multiple of the step not above value.
double MultipleAtOrBelow(double value, double step)
{
    const double q = std::floor(value / step);
    return value < (q + 1) * step ? q * step : (q + 1) * step;
}

// Ticks at crossing - k * step (direction -1) or + k * step (direction +1)
// for k = 1, 2, ... while they stay within [low, high], allowing for the
// rounding of the range's own ends.
template <class Add>
void AddTicks(const AxisLayout& axis, double low, double high, int direction, Add add)
{
    if (axis.step <= 0)
        return;
    const double slack = axis.step * 1e-9;
    for (int k = 1; k <= kMaxTicks; ++k) {
        const double t = axis.crossing + direction * k * axis.step;
        if (t < low - slack || t > high + slack)
            break;
        add(t);
    }
}

} // namespace

double AxisStep(double range)
{
    if (!(range > 0) || !std::isfinite(range))
        return 0;
    const double base = std::pow(10.0, std::floor(std::log10(range)));
    if (!(base > 0) || !std::isfinite(base))
        return 0;
    for (double factor : {1.0, 0.5, 0.2}) {
        if (range / (base * factor) >= 5)
            return base * factor;
    }
    const double step = base * 0.1;
    return step > 0 ? step : 0;
}

AxisLayout LayoutAxis(double minimum, double maximum)
{
    AxisLayout axis;
    const double low = std::min(minimum, maximum);
    const double high = std::max(minimum, maximum);
    // Ends that are no numbers cross at zero, as a range around it does.
    if (!std::isfinite(low) || !std::isfinite(high))
        return axis;
    axis.step = AxisStep(high - low);
    if (low < 0 && high > 0)
        return axis;
    axis.oneSided = true;
    axis.atHighEnd = low < 0;
    if (axis.step > 0)
        axis.crossing = axis.atHighEnd ? MultipleAtOrBelow(high, axis.step) : MultipleAtOrAbove(low, axis.step);
    else
        axis.crossing = axis.atHighEnd ? high : low;
    return axis;
}

PlotMargins BuildAxes(PlotCurveSet& set, const PlotRanges& ranges)
{
    const AxisLayout x = LayoutAxis(ranges.xMin, ranges.xMax);
    const AxisLayout y = LayoutAxis(ranges.yMin, ranges.yMax);
    const int xSide = x.atHighEnd ? 1 : 0;
    const int ySide = y.atHighEnd ? 1 : 0;
    const double xLow = std::min(ranges.xMin, ranges.xMax), xHigh = std::max(ranges.xMin, ranges.xMax);
    const double yLow = std::min(ranges.yMin, ranges.yMax), yHigh = std::max(ranges.yMin, ranges.yMax);

    set.BeginCurve();
    auto tickX = [&](double t) { set.AddItem(std::make_unique<PlotTickX>(DPoint(t, y.crossing), ySide)); };
    auto tickY = [&](double t) { set.AddItem(std::make_unique<PlotTickY>(DPoint(x.crossing, t), xSide)); };
    AddTicks(x, xLow, xHigh, -1, tickX);
    AddTicks(x, xLow, xHigh, +1, tickX);
    AddTicks(y, yLow, yHigh, -1, tickY);
    AddTicks(y, yLow, yHigh, +1, tickY);
    set.AddItem(std::make_unique<PlotLine>(DPoint(ranges.xMin, y.crossing), DPoint(ranges.xMax, y.crossing)));
    set.AddItem(std::make_unique<PlotLine>(DPoint(x.crossing, ranges.yMax), DPoint(x.crossing, ranges.yMin)));
    set.EndCurve();

    PlotMargins margins;
    const int narrowX = gDrawContext.PointsToDevX(kNarrowMarginX), wideX = gDrawContext.PointsToDevX(kWideMarginX);
    const int narrowY = gDrawContext.PointsToDevY(kNarrowMarginY), wideY = gDrawContext.PointsToDevY(kWideMarginY);
    margins.left = x.oneSided && !x.atHighEnd ? wideX : narrowX;
    margins.right = x.oneSided && x.atHighEnd ? wideX : narrowX;
    margins.top = y.oneSided && y.atHighEnd ? wideY : narrowY;
    margins.bottom = y.oneSided && !y.atHighEnd ? wideY : narrowY;
    return margins;
}
