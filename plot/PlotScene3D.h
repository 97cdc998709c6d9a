#pragma once
// The frame around a 3-D plot's items: the box of whole tick steps that holds
// the ranges, which of its faces show their grid for the current view, and
// the tick labels along the edges that face the viewer.
//
// The renderer's space exchanges the axes: its x is the plot's y, its y the
// plot's z (up) and its z minus the plot's x.
#include "plot/PlotCurveSet.h"
#include "render3d/Render3d.h"

// The faces of the box that show their grid, one per renderer axis: x 4 or
// 1, y 3 or 0, z 5 or 2 (the box item's face numbers).
struct BoxFaces3D {
    int x = 1;
    int y = 0;
    int z = 2;
};

// The box, its steps, and the labels of one view.
struct PlotFrame3D {
    Point3D boxMinimum{-1, -1, -1};
    Point3D steps{0.5, 0.5, 0.5};
    Point3D boxMaximum{1, 1, 1};
};

namespace plot3d {
// The tick step of a range: 1, 0.5, 0.25 or 0.1 times a power of ten, the
// largest that still leaves five steps.
double TickStep(double range);
// The smallest run of whole steps holding minimum..maximum. Reversed ends
// are taken in order; equal or non-finite ones widen to a unit around them.
void BoxRange(double minimum, double maximum, double step, double& low, double& high);
// Steps and box of all three axes for these ranges.
PlotFrame3D FrameFor(const PlotBounds3D& ranges);
// Whether the words are a turn as the trackball leaves them: the fourth row
// and column those of the identity, and the rest a turn within rounding (no
// word beyond one, neither mirrored nor collapsed).
bool IsRotation(const Matrix3d& rotation);
// Whether the frame holds a box: on every axis finite ends whose extent is
// finite and positive, and a finite positive step.
bool IsFrame(const PlotFrame3D& frame);
// Where the eye lies as the model sees it: the eye carried back through the
// rotation (its transpose).
Point3d ViewDirection(const Matrix3d& rotation, const Point3d& eye);
// The faces on the far side of the box from the eye.
BoxFaces3D FacesFor(const Point3d& view);
// The frame box item.
PlotItemList BoxCurve(const BoxFaces3D& faces, const Point3D& steps);
// The tick labels and their ticks along the edges nearest the viewer.
PlotItemList LabelCurve(const PlotFrame3D& frame, const BoxFaces3D& faces, const Point3d& view);
// The text of a tick: "0.0" near zero, else as "%g" writes it.
std::string TickLabel(double value);
} // namespace plot3d
