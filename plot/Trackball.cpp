#include "plot/Trackball.h"

#include <cmath>

namespace trackball {

namespace {

Vector Unit(const Point3d& p)
{
    Vector v{p.x / 65536.0, p.y / 65536.0, p.z / 65536.0};
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0)
        for (double& c : v)
            c /= length;
    return v;
}

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix out{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                out[i][j] += a[i][k] * b[k][j];
    return out;
}

} // namespace

Ball BallOf(int left, int top, int right, int bottom)
{
    Ball ball;
    ball.centreX = (left + right) / 2;
    ball.centreY = (top + bottom) / 2;
    ball.radius = right - left <= bottom - top ? bottom - ball.centreY : right - ball.centreX;
    if (ball.radius <= 0)
        ball.radius = 1;
    return ball;
}

Vector MapToSphere(const Ball& ball, int x, int y)
{
    double bx = double(x - ball.centreX) / ball.radius;
    double by = double(ball.centreY - y) / ball.radius;
    const double d = bx * bx + by * by;
    if (d <= 1)
        return {bx, by, std::sqrt(1 - d)};
    const double s = std::sqrt(d);
    return {bx / s, by / s, 0};
}

Matrix RotationBetween(const Vector& a, const Vector& b)
{
    Vector n{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double s = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    const double c = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    const double t = 1 - c;
    if (s > 0)
        for (double& component : n)
            component /= s;
    const double x = n[0], y = n[1], z = n[2];
    return Matrix{{{t * x * x + c, t * x * y + s * z, t * x * z - s * y},
                   {t * x * y - s * z, t * y * y + c, t * y * z + s * x},
                   {t * x * z + s * y, t * y * z - s * x, t * z * z + c}}};
}

Matrix3d ComposeWithView(const Matrix& turn, const Point3d& right, const Point3d& up, const Point3d& eye)
{
    const Vector columns[3] = {Unit(right), Unit(up), Unit(eye)};
    Matrix frame{}, transposed{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            frame[i][j] = columns[j][i];
            transposed[j][i] = columns[j][i];
        }
    const Matrix m = Multiply(frame, Multiply(turn, transposed));
    Matrix3d out;
    mIdentity(&out);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            out.m[i][j] = static_cast<Fixed>(std::trunc(m[i][j] * 65536));
    return out;
}

} // namespace trackball
