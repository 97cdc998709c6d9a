#include "foundation/DPoint.h"

#include <cmath>

double DPoint::Distance(const DPoint& o) const
{
    return std::sqrt(SquaredDistance(o));
}

double DPoint::DistanceToSegment(const DPoint& a, const DPoint& b, const DPoint& p)
{
    DPoint ab = b - a;
    double t = (p - a).Dot(ab) / ab.Dot(ab);
    if (!(t >= 0.0)) // also when a = b: 0 / 0 is no number
        return p.Distance(a);
    if (t <= 1.0)
        return p.Distance(Lerp(a, b, t));
    return p.Distance(b);
}

bool DPoint::IsNearSegment(const DPoint& p, const DPoint& a, const DPoint& b, double tolerance)
{
    DPoint ab = b - a;
    double length2 = ab.Dot(ab);
    if (length2 == 0.0)
        return p.Distance(a) <= tolerance;
    double t = (p - a).Dot(ab) / length2;
    if (t < 0.0 || t > 1.0)
        return false;
    return p.Distance(Lerp(a, b, t)) <= tolerance;
}
