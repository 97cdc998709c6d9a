#pragma once
// Integer points in device units. IntPoint is the plain pair; Point adds the
// few operations the layout code applies to points.
#include <cstdint>

struct IntPoint {
    int32_t x = 0;
    int32_t y = 0;

    constexpr IntPoint() = default;
    constexpr IntPoint(int32_t px, int32_t py) : x(px), y(py) {}
};

struct Point : IntPoint {
    using IntPoint::IntPoint;
    constexpr Point(const IntPoint& p) : IntPoint(p) {}

    void CopyTo(Point& out) const { out = *this; }
    void Subtract(const IntPoint& other)
    {
        x -= other.x;
        y -= other.y;
    }
    void Assign(const IntPoint& other)
    {
        x = other.x;
        y = other.y;
    }
    bool operator!=(const IntPoint& other) const { return x != other.x || y != other.y; }
    bool operator==(const IntPoint& other) const { return !(*this != other); }
};
