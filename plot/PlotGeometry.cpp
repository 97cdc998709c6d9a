#include "plot/PlotGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Device offsets are held within this many pixels of the plot area.
constexpr double kFarOutside = 16000;

// The place of value in [from, to] as a fraction of the range, or the middle
// of an empty range.
double Fraction(double value, double from, double to)
{
    const double span = to - from;
    if (span == 0 || !std::isfinite(span))
        return 0.5;
    return (value - from) / span;
}

int Pixels(double offset)
{
    if (std::isnan(offset))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(offset, -kFarOutside, kFarOutside)));
}

// Margins are lengths, and two opposite ones leave at least half the picture
// to the plot area, so that no margins (a damaged record's) hide the plot.
void FitMargins(int& low, int& high, int size)
{
    low = std::max(0, low);
    high = std::max(0, high);
    const int64_t room = std::max(0, size / 2), both = int64_t(low) + high;
    if (both > room) {
        low = static_cast<int>(low * room / both);
        high = static_cast<int>(room - low);
    }
}

PlotMargins Fitted(PlotMargins margins, int width, int height)
{
    FitMargins(margins.left, margins.right, width);
    FitMargins(margins.top, margins.bottom, height);
    return margins;
}

} // namespace

PlotGeometry::PlotGeometry(const PlotRanges& ranges, const PlotMargins& margins, int width, int height)
    : m_ranges(ranges), m_margins(Fitted(margins, width, height)),
      m_width(std::max(1, width - m_margins.left - m_margins.right)),
      m_height(std::max(1, height - m_margins.top - m_margins.bottom))
{}

IntPoint PlotGeometry::PlotToDevice(const DPoint& point) const
{
    const double fx = Fraction(point.x, m_ranges.xMin, m_ranges.xMax);
    const double fy = Fraction(point.y, m_ranges.yMin, m_ranges.yMax);
    return IntPoint(Pixels(fx * m_width + m_margins.left), Pixels(-fy * m_height) + m_margins.top + m_height);
}

DPoint PlotGeometry::DeviceToPlot(const IntPoint& device) const
{
    const double fx = static_cast<double>(device.x - m_margins.left) / m_width;
    const double fy = static_cast<double>(m_margins.top + m_height - device.y) / m_height;
    return {m_ranges.xMin + fx * (m_ranges.xMax - m_ranges.xMin), m_ranges.yMin + fy * (m_ranges.yMax - m_ranges.yMin)};
}

double PlotGeometry::PixelsToWorld(double pixels) const
{
    return pixels * std::abs(m_ranges.xMax - m_ranges.xMin) / m_width;
}
