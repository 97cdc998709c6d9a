#include "drawing/DiagramAxes.h"

#include "plot/PlotCurveSet.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// However the coordinates round, an axis never takes more ticks than this
// either side of its crossing.
constexpr int kMaxTicks = 1000;
constexpr double kMinSteps = 5.0;

struct View {
    double xmin, xmax, ymin, ymax;
};

bool Place(const DPoint& topLeft, const DPoint& bottomRight, View& view, AxisPlacement& x, AxisPlacement& y)
{
    view = {topLeft.x, bottomRight.x, bottomRight.y, topLeft.y};
    return PlaceAxis(view.xmin, view.xmax, x) && PlaceAxis(view.ymin, view.ymax, y);
}

// The multiples of the step from the crossing outwards, within [min, max].
std::vector<double> Steps(const AxisPlacement& axis, double min, double max, bool withCrossing)
{
    std::vector<double> at;
    if (withCrossing)
        at.push_back(axis.crossing);
    for (int k = 1; k <= kMaxTicks; ++k) {
        const double p = axis.crossing - k * axis.step;
        if (p < min)
            break;
        at.push_back(p);
    }
    for (int k = 1; k <= kMaxTicks; ++k) {
        const double p = axis.crossing + k * axis.step;
        if (p > max)
            break;
        at.push_back(p);
    }
    return at;
}

} // namespace

bool PlaceAxis(double min, double max, AxisPlacement& out)
{
    const double span = max - min;
    if (!std::isfinite(span) || !(span > 0.0))
        return false;
    const double power = std::pow(10.0, std::floor(std::log10(span)));
    double step = power;
    for (double factor : {0.5, 0.2, 0.1})
        if (span / step < kMinSteps)
            step = factor * power;
    AxisPlacement axis;
    axis.step = step;
    if (min >= 0.0) {
        axis.crossing = (std::floor(min / step) + 1.0) * step;
    } else if (max <= 0.0) {
        axis.crossing = std::floor(max / step) * step;
        axis.side = 1;
    }
    out = axis;
    return true;
}

std::unique_ptr<PlotCurveSet> BuildAxesFigure(const DPoint& topLeft, const DPoint& bottomRight)
{
    View view;
    AxisPlacement x, y;
    if (!Place(topLeft, bottomRight, view, x, y))
        return nullptr;
    auto figure = std::make_unique<PlotCurveSet>();
    figure->BeginCurve();
    for (double at : Steps(x, view.xmin, view.xmax, false))
        figure->AddItem(std::make_unique<PlotTickX>(DPoint(at, y.crossing), y.side));
    for (double at : Steps(y, view.ymin, view.ymax, false))
        figure->AddItem(std::make_unique<PlotTickY>(DPoint(x.crossing, at), x.side));
    figure->AddItem(std::make_unique<PlotLine>(DPoint(view.xmin, y.crossing), DPoint(view.xmax, y.crossing)));
    figure->AddItem(std::make_unique<PlotLine>(DPoint(x.crossing, view.ymin), DPoint(x.crossing, view.ymax)));
    figure->EndCurve();
    return figure;
}

std::unique_ptr<PlotCurveSet> BuildGridFigure(const DPoint& topLeft, const DPoint& bottomRight)
{
    View view;
    AxisPlacement x, y;
    if (!Place(topLeft, bottomRight, view, x, y))
        return nullptr;
    auto figure = std::make_unique<PlotCurveSet>();
    figure->BeginCurve();
    for (double at : Steps(x, view.xmin, view.xmax, true))
        figure->AddItem(std::make_unique<PlotLine>(DPoint(at, view.ymin), DPoint(at, view.ymax)));
    for (double at : Steps(y, view.ymin, view.ymax, true))
        figure->AddItem(std::make_unique<PlotLine>(DPoint(view.xmin, at), DPoint(view.xmax, at)));
    figure->EndCurve();
    return figure;
}

// Union by lowest index over each segment's first constraint: linear in the
// number of segments listed, however often a file repeats one.
std::vector<int> TickGroups(const std::vector<std::vector<const void*>>& segmentsOfEach)
{
    const size_t n = segmentsOfEach.size();
    std::vector<size_t> group(n);
    std::iota(group.begin(), group.end(), size_t{0});
    auto root = [&group](size_t i) {
        while (group[i] != i)
            i = group[i] = group[group[i]];
        return i;
    };
    std::unordered_map<const void*, size_t> firstOf;
    for (size_t a = 0; a < n; ++a) {
        const void* previous = nullptr;
        for (const void* segment : segmentsOfEach[a]) {
            // A repeat changes nothing; files repeat one segment thousands of times.
            if (segment == std::exchange(previous, segment))
                continue;
            const auto [it, added] = firstOf.try_emplace(segment, a);
            if (added)
                continue;
            const size_t ra = root(a), rb = root(it->second);
            if (ra != rb)
                group[std::max(ra, rb)] = std::min(ra, rb);
        }
    }
    std::unordered_map<size_t, int> numbers;
    std::vector<int> ticks(n);
    for (size_t i = 0; i < n; ++i) {
        const auto [it, added] = numbers.try_emplace(root(i), static_cast<int>(numbers.size()) + 1);
        ticks[i] = it->second;
    }
    return ticks;
}
