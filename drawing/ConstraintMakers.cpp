#include "drawing/ConstraintMakers.h"

#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"

namespace {

// The shape of the wanted kind and, when there are two, the vertex beside it.
template <class Shape>
bool FindPair(const ItemArray<DiagramShape>& selected, bool (DiagramShape::*isKind)() const, Shape*& shape,
              VertexShape*& vertex)
{
    shape = nullptr;
    vertex = nullptr;
    if (selected.GetCount() < 1 || selected.GetCount() > 2)
        return false;
    for (DiagramShape* item : selected) {
        if ((item->*isKind)() && !shape)
            shape = static_cast<Shape*>(item);
        else if (item->IsVertexShape() && !vertex)
            vertex = static_cast<VertexShape*>(item);
        else
            return false;
    }
    return shape != nullptr;
}

} // namespace

DPoint ArcCentre(const CurveShape& curve)
{
    const DPoint p0 = curve.GetStart()->GetPoint();
    const DPoint p1 = curve.GetControl1()->GetPoint();
    const DPoint p2 = curve.GetControl2()->GetPoint();
    const DPoint p3 = curve.GetEnd()->GetPoint();
    const DPoint d0 = p1 - p0;
    const DPoint d3 = p2 - p3;
    const bool vertical = p0.x == p1.x && p2.x == p3.x;
    const bool horizontal = p0.y == p1.y && p2.y == p3.y;
    const double det = d0.x * d3.y - d3.x * d0.y;
    if (vertical || horizontal || det == 0)
        return (p0 + p3) / 2.0;
    const double c0 = d0.x * p0.x + d0.y * p0.y;
    const double c3 = d3.x * p3.x + d3.y * p3.y;
    return {(c0 * d3.y - d0.y * c3) / det, (d0.x * c3 - c0 * d3.x) / det};
}

// ---- midpoint ----

bool MidpointMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    SegmentShape* segment = nullptr;
    VertexShape* vertex = nullptr;
    return FindPair(selected, &DiagramShape::IsSegment, segment, vertex);
}

TAction* MidpointMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                             const DPoint&) const
{
    SegmentShape* segment = nullptr;
    VertexShape* middle = nullptr;
    if (!FindPair(selected, &DiagramShape::IsSegment, segment, middle))
        return nullptr;
    VertexShape* made = nullptr;
    if (!middle) {
        const DPoint at = (segment->GetStart()->GetPoint() + segment->GetEnd()->GetPoint()) / 2.0;
        middle = made = new VertexShape(at.x, at.y);
    }
    auto* constraint = new MidpointConstraint(segment->GetStart(), middle, segment->GetEnd());
    return new TAddConstraintAction(&diagram, constraint, made);
}

std::string MidpointMaker::GetErrorMessage() const
{
    return "To make a midpoint constraint you must have a segment or a segment and a vertex selected.";
}

// ---- arc ----

bool ArcMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    CurveShape* curve = nullptr;
    VertexShape* vertex = nullptr;
    return FindPair(selected, &DiagramShape::IsCurve, curve, vertex);
}

TAction* ArcMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram, const DPoint&) const
{
    CurveShape* curve = nullptr;
    VertexShape* centre = nullptr;
    if (!FindPair(selected, &DiagramShape::IsCurve, curve, centre))
        return nullptr;
    VertexShape* made = nullptr;
    if (!centre) {
        const DPoint at = ArcCentre(*curve);
        centre = made = new VertexShape(at.x, at.y);
    }
    return new TAddConstraintAction(&diagram, new ArcConstraint(curve, centre), made);
}

std::string ArcMaker::GetErrorMessage() const
{
    return "To make an arc constraint you must have a curve segment selected.";
}
