#include "plot/PlotScene3D.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace {

// No axis holds more ticks than this, whatever its range.
constexpr int kMaxTicks = 1000;
// How far out of the box a label stands, as a share of the box's depth.
constexpr double kLabelOffset = 0.09375;
// A turn's words stay within one by far less than this rounding, and its
// size (the determinant) shrinks by far less than to this.
constexpr Fixed kRoundingWords = 64;
constexpr double kSmallestTurnSize = 1.0 / 64;

// What share of ticks an axis labels, by how nearly it points at the viewer.
enum class Labelling { None, Every, EveryOther };

Labelling LabellingFor(double component, double length)
{
    const double ratio = length > 0 ? std::abs(component) / length : 1;
    if (ratio >= 0.9)
        return Labelling::None;
    return ratio >= 0.8 ? Labelling::Every : Labelling::EveryOther;
}

// The labels of one axis: ticks from `first` to `last` by `step`, each at
// `edge` with the coordinate along the axis set, labelled at `label`.
struct AxisLabels {
    double first;
    double last;
    double step;
    Point3D edge;
    Point3D label;
    double Point3D::*along;
};

void AddAxis(PlotItemList& curve, const AxisLabels& axis, Labelling labelling)
{
    if (labelling == Labelling::None || !(axis.step > 0))
        return;
    int index = 0;
    const double end = axis.last + axis.step * 1e-9;
    for (double value = axis.first; value <= end && index < kMaxTicks; value += axis.step, ++index) {
        if (labelling == Labelling::EveryOther && index % 2 == 1)
            continue;
        Point3D edge = axis.edge, label = axis.label;
        edge.*axis.along = value;
        label.*axis.along = value;
        const Point3D half{(edge.x + label.x) / 2, (edge.y + label.y) / 2, (edge.z + label.z) / 2};
        curve.push_back(std::make_unique<PlotText3D>(label, plot3d::TickLabel(value)));
        curve.push_back(std::make_unique<PlotLine3D>(edge, half));
    }
}

} // namespace

namespace plot3d {

double TickStep(double range)
{
    if (!(range > 0) || !std::isfinite(range))
        return 1;
    const double base = std::pow(10.0, std::floor(std::log10(range)));
    for (double factor : {1.0, 0.5, 0.25})
        if (range / (base * factor) >= 5)
            return base * factor;
    return base * 0.1;
}

void BoxRange(double minimum, double maximum, double step, double& low, double& high)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) {
        minimum = -1;
        maximum = 1;
    }
    if (minimum > maximum)
        std::swap(minimum, maximum);
    if (minimum == maximum) {
        minimum -= 1;
        maximum += 1;
    }
    low = minimum - std::fmod(minimum, step);
    if (low > minimum)
        low -= step;
    high = maximum - std::fmod(maximum, step);
    if (high < maximum)
        high += step;
}

PlotFrame3D FrameFor(const PlotBounds3D& ranges)
{
    PlotFrame3D frame;
    for (double Point3D::*axis : {&Point3D::x, &Point3D::y, &Point3D::z}) {
        double minimum = ranges.minimum.*axis, maximum = ranges.maximum.*axis;
        double range = std::abs(maximum - minimum);
        if (!(range > 0) || !std::isfinite(range))
            range = 2;  // the unit each side that BoxRange widens to
        const double step = TickStep(range);
        frame.steps.*axis = step;
        BoxRange(minimum, maximum, step, frame.boxMinimum.*axis, frame.boxMaximum.*axis);
    }
    return frame;
}

bool IsRotation(const Matrix3d& rotation)
{
    for (int i = 0; i < 3; ++i)
        if (rotation.m[i][3] != 0 || rotation.m[3][i] != 0)
            return false;
    if (rotation.m[3][3] != kFixedOne)
        return false;
    double r[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const Fixed word = rotation.m[i][j];
            if (word > kFixedOne + kRoundingWords || word < -kFixedOne - kRoundingWords)
                return false;
            r[i][j] = word / 65536.0;
        }
    // The turn's size: the determinant, by the first row.
    double size = 0;
    for (int j = 0; j < 3; ++j) {
        const int k = (j + 1) % 3, l = (j + 2) % 3;
        size += r[0][j] * (r[1][k] * r[2][l] - r[1][l] * r[2][k]);
    }
    return size >= kSmallestTurnSize;
}

bool IsFrame(const PlotFrame3D& frame)
{
    for (double Point3D::*axis : {&Point3D::x, &Point3D::y, &Point3D::z}) {
        const double extent = frame.boxMaximum.*axis - frame.boxMinimum.*axis;
        const double step = frame.steps.*axis;
        if (!std::isfinite(extent) || !(extent > 0) || !std::isfinite(step) || !(step > 0))
            return false;
    }
    return true;
}

Point3d ViewDirection(const Matrix3d& rotation, const Point3d& eye)
{
    Matrix3d back = rotation;
    mTranspose(&back);
    Point3d view{};
    ApplyTransform(&eye, &view, &back);
    return view;
}

BoxFaces3D FacesFor(const Point3d& view)
{
    BoxFaces3D faces;
    faces.x = view.x >= 0 ? 4 : 1;
    faces.y = view.y <= 0 ? 3 : 0;
    faces.z = view.z >= 0 ? 5 : 2;
    return faces;
}

PlotItemList BoxCurve(const BoxFaces3D& faces, const Point3D& steps)
{
    PlotItemList curve;
    curve.push_back(std::make_unique<PlotBox3D>(faces.x, faces.y, faces.z, steps));
    return curve;
}

std::string TickLabel(double value)
{
    if (std::abs(value) <= 1e-6)
        return "0.0";
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

PlotItemList LabelCurve(const PlotFrame3D& frame, const BoxFaces3D& faces, const Point3d& view)
{
    const double vx = view.x / 65536.0, vy = view.y / 65536.0, vz = view.z / 65536.0;
    const double length = std::sqrt(vx * vx + vy * vy + vz * vz);
    const Point3D& lo = frame.boxMinimum;
    const Point3D& hi = frame.boxMaximum;
    const Point3D& step = frame.steps;
    PlotItemList curve;

    // Plot x: along the renderer's z.
    {
        const double d = kLabelOffset * (hi.z - lo.z);
        const double y = faces.x == 1 ? lo.y : hi.y;
        const double edgeZ = faces.y == 3 ? hi.z : lo.z;
        const double labelZ = faces.y == 3 ? hi.z + d : lo.z - d;
        const bool fromLow = faces.z != 2;
        AddAxis(curve,
                {fromLow ? lo.x : lo.x + step.x, fromLow ? hi.x - step.x : hi.x, step.x, {0, y, edgeZ},
                 {0, y, labelZ}, &Point3D::x},
                LabellingFor(vz, length));
    }
    // Plot y: along the renderer's x.
    {
        const double d = kLabelOffset * (hi.x - lo.x);
        const double z = faces.y == 0 ? lo.z : hi.z;
        const double edgeX = faces.z == 2 ? hi.x : lo.x;
        const double labelX = faces.z == 2 ? hi.x + d : lo.x - d;
        const bool fromLow = faces.x != 1;
        AddAxis(curve,
                {fromLow ? lo.y : lo.y + step.y, fromLow ? hi.y - step.y : hi.y, step.y, {edgeX, 0, z},
                 {labelX, 0, z}, &Point3D::y},
                LabellingFor(vx, length));
    }
    // Plot z: along the renderer's y.
    {
        const double d = kLabelOffset * (hi.y - lo.y);
        const double x = faces.z == 2 ? lo.x : hi.x;
        const double edgeY = faces.x == 4 ? hi.y : lo.y;
        const double labelY = faces.x == 4 ? hi.y + d : lo.y - d;
        const bool fromLow = faces.y != 0;
        AddAxis(curve,
                {fromLow ? lo.z : lo.z + step.z, fromLow ? hi.z - step.z : hi.z, step.z, {x, edgeY, 0},
                 {x, labelY, 0}, &Point3D::z},
                LabellingFor(vy, length));
    }
    return curve;
}

} // namespace plot3d
