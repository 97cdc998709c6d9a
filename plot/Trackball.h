#pragma once
// The arithmetic of the trackball that turns a 3-D plot: a point of the
// picture on a ball that fills it, the turn between two such points, and that
// turn as the plot's rotation sees it through its camera.
#include "render3d/Render3d.h"

#include <array>

namespace trackball {

using Vector = std::array<double, 3>;
using Matrix = std::array<std::array<double, 3>, 3>;

struct Ball {
    int centreX = 0;
    int centreY = 0;
    int radius = 1;
};

// The ball of a picture rectangle: centred in it, of half its larger side.
Ball BallOf(int left, int top, int right, int bottom);
// The point on the ball under (x, y) (screen y down, ball y up); points off
// the ball go to its rim.
Vector MapToSphere(const Ball& ball, int x, int y);
// The turn carrying ball point a onto b, written as the transpose of the
// usual axis-angle matrix (rows act on row vectors).
Matrix RotationBetween(const Vector& a, const Vector& b);
// The turn expressed in the camera frame (right, up, eye; 16.16 vectors):
// F R Ft, with F's columns the frame's unit vectors, as a 16.16 4 x 4
// matrix.
Matrix3d ComposeWithView(const Matrix& turn, const Point3d& right, const Point3d& up, const Point3d& eye);
// Moves shorter than this (squared pixels) are ignored while dragging.
constexpr int kMinMoveSquared = 5;

} // namespace trackball
