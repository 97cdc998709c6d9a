#include "drawing/ConstraintMarks.h"

#include "drawing/DiagramDC.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/VertexShape.h"
#include "kernel/MathMLOutput.h"

#include <cmath>
#include <string>

namespace marks {

DPoint Unit(const DPoint& d)
{
    const double length = std::sqrt(d.Dot(d));
    return length > 0.0 && std::isfinite(length) ? d / length : DPoint();
}

double Cross(const DPoint& p, const DPoint& q) { return p.x * q.y - p.y * q.x; }

bool HitsStroke(const DPoint& point, const DPoint& a, const DPoint& b, const DiagramDC& dc)
{
    return DPoint::DistanceToSegment(a, b, point) < kHitReach * dc.GetBaseScale();
}

bool HitsRing(const DPoint& point, const DPoint& centre, const DiagramDC& dc)
{
    const double distance = point.Distance(centre);
    const double ring = kRingRadius * dc.GetCurrentScale();
    const double b = dc.GetBaseScale();
    return distance >= ring - b && distance <= ring + kHitReach * b;
}

bool HitsArc(const DPoint& point, const DPoint& apex, const DPoint& first, const DPoint& second,
             const DiagramDC& dc)
{
    const double b = dc.GetBaseScale();
    const DPoint d = point - apex;
    if (std::fabs(point.Distance(apex) - kArcRadius * b) > kHitReach * b)
        return false;
    // Inside the turn the arc makes, whether it is reflex or not.
    const DPoint from = second - apex;
    const double toPoint = CounterClockwiseTurn(from, d);
    return toPoint > 0.0 && toPoint < CounterClockwiseTurn(from, first - apex);
}

double CounterClockwiseTurn(const DPoint& from, const DPoint& to)
{
    const double turn = std::atan2(Cross(from, to), from.Dot(to));
    return turn < 0.0 ? turn + 2.0 * M_PI : turn;
}

void DrawRing(DiagramDC& dc, const DPoint& centre) { dc.Circle(centre, kRingRadius * dc.GetCurrentScale()); }

// The context's arc turns counter-clockwise, from the second arm to the first.
void DrawArc(DiagramDC& dc, const DPoint& apex, const DPoint& first, const DPoint& second)
{
    const double radius = kArcRadius * dc.GetBaseScale();
    dc.Arc(apex, radius, apex + Unit(second - apex) * radius, apex + Unit(first - apex) * radius);
}

namespace {

void StartMark(MathMLOutput& writer, const char* name)
{
    writer.StartEmptyElement(name);
    writer.WriteAttribute("stroke", "lightgray");
    writer.WriteIntAttribute("stroke-width", 5);
}

void PointAttributes(MathMLOutput& writer, const DiagramDC& dc, const char* x, const char* y, const DPoint& p)
{
    const IntPoint device = dc.WorldToScreen(p);
    writer.WriteIntAttribute(x, device.x);
    writer.WriteIntAttribute(y, device.y);
}

} // namespace

void SvgLine(MathMLOutput& writer, const DiagramDC& dc, const DPoint& a, const DPoint& b)
{
    StartMark(writer, "line");
    PointAttributes(writer, dc, "x1", "y1", a);
    PointAttributes(writer, dc, "x2", "y2", b);
    writer.EndPendingTag(true);
}

DiagramItem* HitRingMarker(DiagramItem* marker, VertexShape* vertex, const DPoint& point, const DiagramDC& dc)
{
    if (DiagramItem* hit = vertex->HitTest(point, dc))
        return hit;
    return HitsRing(point, vertex->GetPoint(), dc) ? marker : nullptr;
}

void DrawRingMarker(DiagramDC& dc, bool visible, bool selected, const VertexShape* vertex)
{
    if (!visible)
        return;
    dc.SetConstraintPen(selected);
    DrawRing(dc, vertex->GetPoint());
}

void SvgRingMarker(MathMLOutput& writer, const DiagramDC& dc, bool visible, const VertexShape* vertex)
{
    if (visible)
        SvgRing(writer, dc, vertex->GetPoint());
}

void DrawStrokes(DiagramDC& dc, const Strokes3& points)
{
    for (int i = 0; i < 6; i += 2)
        dc.Line(points[i], points[i + 1]);
}

void SvgStrokes(MathMLOutput& writer, const DiagramDC& dc, const Strokes3& points)
{
    for (int i = 0; i < 6; i += 2)
        SvgLine(writer, dc, points[i], points[i + 1]);
}

// The ring has the radius of the screen's ring.
void SvgRing(MathMLOutput& writer, const DiagramDC& dc, const DPoint& centre)
{
    StartMark(writer, "circle");
    PointAttributes(writer, dc, "cx", "cy", centre);
    writer.WriteIntAttribute("r", dc.WorldToPixels(kRingRadius * dc.GetCurrentScale()));
    writer.WriteAttribute("fill", "none");
    writer.EndPendingTag(true);
}

void SvgArc(MathMLOutput& writer, const DiagramDC& dc, const DPoint& apex, const DPoint& first,
            const DPoint& second)
{
    const double radius = kArcRadius * dc.GetBaseScale();
    const IntPoint a = dc.WorldToScreen(apex + Unit(first - apex) * radius);
    const IntPoint b = dc.WorldToScreen(apex + Unit(second - apex) * radius);
    const int r = dc.WorldToPixels(radius);
    // From the first arm the path turns clockwise on the page (sweep 1), the
    // long way when the angle is reflex.
    const DPoint u1 = Unit(first - apex), u2 = Unit(second - apex);
    double turn = std::atan2(Cross(u2, u1), u2.Dot(u1));
    if (turn < 0.0)
        turn += 2.0 * M_PI;
    const char* large = turn > M_PI ? " 1 " : " 0 ";
    const std::string path = "M " + std::to_string(a.x) + " " + std::to_string(a.y) + " A " + std::to_string(r) +
                             " " + std::to_string(r) + " 0" + large + "1 " + std::to_string(b.x) + " " +
                             std::to_string(b.y);
    StartMark(writer, "path");
    writer.WriteAttribute("d", path.c_str());
    writer.WriteAttribute("fill", "none");
    writer.EndPendingTag(true);
}

int SelectionCode(std::initializer_list<const DiagramItem*> items)
{
    int selected = 0;
    for (const DiagramItem* item : items)
        selected += item && item->IsSelected() ? 1 : 0;
    if (selected == 0)
        return 0;
    return selected == static_cast<int>(items.size()) ? 5 : 4;
}

bool AllCopied(const ItemCopyMap& map, std::initializer_list<const DiagramItem*> items)
{
    for (const DiagramItem* item : items)
        if (!item || !map.LookupItem(const_cast<DiagramItem*>(item)))
            return false;
    return true;
}

const DiagramShape* OwnerOf(const VertexShape* vertex)
{
    if (!vertex)
        return nullptr;
    const DiagramShape* owner = vertex->GetOwnerShape();
    return owner ? owner : vertex;
}

bool AnyOwnedBy(const DiagramShape* shape, std::initializer_list<const VertexShape*> vertices)
{
    for (const VertexShape* vertex : vertices)
        if (OwnerOf(vertex) == shape)
            return true;
    return false;
}

} // namespace marks
