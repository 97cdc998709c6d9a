#pragma once
// An integer rectangle in device units: left, top, right, bottom, y growing
// downwards. Empty when right <= left or bottom <= top. Containment includes
// all four edges; the union and intersection treat empty rectangles like any
// other.
#include "foundation/IntPoint.h"
#include "platform/draw/GdiTypes.h"

#include <algorithm>
#include <cstdint>

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr Rect() = default;
    constexpr Rect(int32_t l, int32_t t, int32_t r, int32_t b) : left(l), top(t), right(r), bottom(b) {}
    constexpr explicit Rect(const CRect& r) : left(r.left), top(r.top), right(r.right), bottom(r.bottom) {}

    constexpr CRect ToCRect() const { return CRect(left, top, right, bottom); }
    constexpr int32_t Width() const { return right - left; }
    constexpr int32_t Height() const { return bottom - top; }

    void SetEmpty() { *this = Rect(); }
    void CopyTo(Rect& out) const { out = *this; }
    constexpr bool operator==(const Rect&) const = default;

    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(const IntPoint& p) const
    {
        return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom;
    }
    // A rectangle touching only this one's left or top edge overlaps it; one
    // touching only its right or bottom edge does not.
    constexpr bool Intersects(const Rect& other) const
    {
        return other.right >= left && other.left < right && other.bottom >= top && other.top < bottom;
    }

    void Offset(const IntPoint& p)
    {
        left += p.x;
        right += p.x;
        top += p.y;
        bottom += p.y;
    }
    void OffsetNeg(const IntPoint& p)
    {
        left -= p.x;
        right -= p.x;
        top -= p.y;
        bottom -= p.y;
    }
    // Negative amounts inflate.
    void Deflate(int32_t dx, int32_t dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
    }

    static void Intersection(const Rect& a, const Rect& b, Rect& out)
    {
        out = Rect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom));
    }
    static void Union(const Rect& a, const Rect& b, Rect& out)
    {
        out = Rect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                   std::max(a.bottom, b.bottom));
    }
};
