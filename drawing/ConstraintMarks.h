#pragma once
// Geometry shared by the constraint markers: strokes and rings on the
// screen, their hit tests and their SVG elements. Every SVG element is an
// empty "line", "path" or "circle" with stroke "lightgray" and stroke-width
// 5, written through the drawing's transform.
#include "drawing/ItemCopyMap.h"
#include "foundation/DPoint.h"

#include <initializer_list>

class DiagramDC;
class DiagramItem;
class DiagramShape;
class MathMLOutput;
class VertexShape;

namespace marks {

// Marker sizes in multiples of the base scale (the ring in the current scale).
constexpr double kHitReach = 2.0;
constexpr double kRingRadius = 6.0;
constexpr double kArcRadius = 12.0;

// The unit vector along d, or (0, 0) for a zero vector.
DPoint Unit(const DPoint& d);
double Cross(const DPoint& p, const DPoint& q);
// Closer to the stroke than 2b.
bool HitsStroke(const DPoint& point, const DPoint& a, const DPoint& b, const DiagramDC& dc);
// From b inside to 2b outside the ring of radius 6c.
bool HitsRing(const DPoint& point, const DPoint& centre, const DiagramDC& dc);
// Within 2b of the arc of radius 12b about the apex, inside the turn that
// DrawArc draws: counter-clockwise from the second arm to the first.
// The turn from one direction to another, counter-clockwise, in [0, 2 pi).
double CounterClockwiseTurn(const DPoint& from, const DPoint& to);
bool HitsArc(const DPoint& point, const DPoint& apex, const DPoint& first, const DPoint& second,
             const DiagramDC& dc);
void DrawRing(DiagramDC& dc, const DPoint& centre);
// The arc of radius 12b about the apex over the region that the hit test
// takes as inside the angle: counter-clockwise from the second arm to the
// first.
void DrawArc(DiagramDC& dc, const DPoint& apex, const DPoint& first, const DPoint& second);

void SvgLine(MathMLOutput& writer, const DiagramDC& dc, const DPoint& a, const DPoint& b);

// A marker that is a ring about a vertex: the vertex answers a hit first,
// then the ring answers for the marker; hidden markers draw and write nothing.
DiagramItem* HitRingMarker(DiagramItem* marker, VertexShape* vertex, const DPoint& point, const DiagramDC& dc);
void DrawRingMarker(DiagramDC& dc, bool visible, bool selected, const VertexShape* vertex);
void SvgRingMarker(MathMLOutput& writer, const DiagramDC& dc, bool visible, const VertexShape* vertex);

// A marker of three strokes: points 0-1, 2-3 and 4-5.
using Strokes3 = DPoint[6];
void DrawStrokes(DiagramDC& dc, const Strokes3& points);
void SvgStrokes(MathMLOutput& writer, const DiagramDC& dc, const Strokes3& points);
void SvgRing(MathMLOutput& writer, const DiagramDC& dc, const DPoint& centre);
void SvgArc(MathMLOutput& writer, const DiagramDC& dc, const DPoint& apex, const DPoint& first,
            const DPoint& second);

// 0 none of the items is selected, 5 all are, 4 some.
int SelectionCode(std::initializer_list<const DiagramItem*> items);
bool AllCopied(const ItemCopyMap& map, std::initializer_list<const DiagramItem*> items);
// The shape that answers for the vertex: its owner, or the vertex itself.
const DiagramShape* OwnerOf(const VertexShape* vertex);
bool AnyOwnedBy(const DiagramShape* shape, std::initializer_list<const VertexShape*> vertices);
// The copy of an item in the map, or null.
template <class T>
T* Image(const ItemCopyMap& map, T* item)
{
    return static_cast<T*>(map.LookupItem(item));
}

} // namespace marks
