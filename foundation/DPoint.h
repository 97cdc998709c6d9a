#pragma once
// A point of two doubles for the drawings' geometry and numeric solving.
// (The conversions to and from kernel point nodes are defined with the kernel
// expression code, which builds on this type.)
class ExprNode;

struct DPoint {
    double x = 0.0;
    double y = 0.0;

    constexpr DPoint() = default;
    constexpr DPoint(double px, double py) : x(px), y(py) {}

    constexpr bool operator==(const DPoint& o) const { return x == o.x && y == o.y; }
    constexpr DPoint operator+(const DPoint& o) const { return {x + o.x, y + o.y}; }
    constexpr DPoint operator-(const DPoint& o) const { return {x - o.x, y - o.y}; }
    constexpr DPoint operator*(double s) const { return {x * s, y * s}; }
    constexpr DPoint operator/(double s) const { return {x / s, y / s}; }
    DPoint& operator+=(const DPoint& o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }

    constexpr double Dot(const DPoint& o) const { return x * o.x + y * o.y; }
    constexpr double SquaredDistance(const DPoint& o) const { return (*this - o).Dot(*this - o); }
    double Distance(const DPoint& o) const;

    // Distance from p to the segment a-b (to a when a and b coincide).
    static double DistanceToSegment(const DPoint& a, const DPoint& b, const DPoint& p);
    // p projects into the segment a-b and lies within tolerance of it.
    static bool IsNearSegment(const DPoint& p, const DPoint& a, const DPoint& b, double tolerance);
    static constexpr DPoint Lerp(const DPoint& a, const DPoint& b, double t) { return a + (b - a) * t; }
    // The kernel list {x, y} of two real numbers (a new node owned by the caller).
    ExprNode* ToKernelList() const;
};

inline bool IsNearSegment(const DPoint& p, const DPoint& a, const DPoint& b, double tolerance)
{
    return DPoint::IsNearSegment(p, a, b, tolerance);
}

// The point of a kernel point or list {x, y}: the numeric values of its first
// two elements; a missing one counts as 0.
DPoint NodeToDPoint(const ExprNode* node);
