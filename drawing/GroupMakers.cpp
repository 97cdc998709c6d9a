#include "drawing/GroupMakers.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/GroupConstraints.h"
#include "drawing/PlotShape.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/TAddStartedConstraintAction.h"
#include "drawing/VertexShape.h"
#include "drawing/DrawVariable.h"

#include <algorithm>
#include <cmath>

namespace {

struct TangentParts {
    SegmentShape* segment = nullptr;
    VertexShape* vertex = nullptr;
    DiagramShape* curve = nullptr;
};

bool IsTangentCurve(const DiagramShape* shape)
{
    return shape->IsCircle() || shape->IsCurve() || shape->IsPlot();
}

// One of each kind, in any order; false for anything else.
bool FindTangentParts(const ItemArray<DiagramShape>& selected, TangentParts& parts)
{
    if (selected.GetCount() != 3)
        return false;
    for (DiagramShape* shape : selected) {
        if (shape->IsSegment() && !parts.segment)
            parts.segment = static_cast<SegmentShape*>(shape);
        else if (shape->IsVertexShape() && !parts.vertex)
            parts.vertex = static_cast<VertexShape*>(shape);
        else if (IsTangentCurve(shape) && !parts.curve)
            parts.curve = shape;
        else
            return false;
    }
    return true;
}

// The point of a circle where a tangency starts. Both solvers move the free
// values as little as they can, and from a point of tangency on the far side
// of the circle the least move shrinks the circle and draws the segment onto
// the point, down to a dot. From the point of the circle nearest the
// segment's line only the line has to come to the circle. When the point is
// an end of the segment, it starts where the line from the other end
// touches the circle, on its own side; inside the circle it stays.
DPoint CircleTouch(const SegmentShape& segment, const VertexShape& t, const CircleShape& circle)
{
    const DPoint p = t.GetPoint();
    const DPoint c = circle.GetCentre()->GetPoint();
    const double r = circle.GetRadius();
    const bool ends = &t == segment.GetStart() || &t == segment.GetEnd();
    const VertexShape* other = &t == segment.GetStart() ? segment.GetEnd() : segment.GetStart();
    if (!(r > 0.0) || !std::isfinite(r))
        return p;
    if (ends) {
        const DPoint q = other->GetPoint();
        const double d = q.Distance(c);
        if (!(d > r))
            return p;
        // The two touching points from q, at angle acos(r / d) either side of c-q.
        const DPoint u = (q - c) / d;
        const DPoint w(-u.y, u.x);
        const double along = r * r / d;
        const double across = r * std::sqrt(1.0 - (r / d) * (r / d));
        const DPoint one = c + u * along + w * across;
        const DPoint two = c + u * along - w * across;
        return one.SquaredDistance(p) <= two.SquaredDistance(p) ? one : two;
    }
    const DPoint a = segment.GetStart()->GetPoint();
    const DPoint line = segment.GetEnd()->GetPoint() - a;
    const double length2 = line.Dot(line);
    if (!(length2 > 0.0))
        return p;
    DPoint normal = a + line * ((c - a).Dot(line) / length2) - c;
    // A line through the centre: the side the point is on.
    if (!(normal.Dot(normal) > 1e-12 * length2))
        normal = DPoint(-line.y, line.x) * ((p - c).Dot(DPoint(-line.y, line.x)) < 0.0 ? -1.0 : 1.0);
    return c + normal * (r / std::sqrt(normal.Dot(normal)));
}

DrawConstraint* NewTangent(const TangentParts& parts)
{
    if (parts.curve->IsCircle())
        return new CircleTangentConstraint(parts.segment, parts.vertex, static_cast<CircleShape*>(parts.curve));
    if (parts.curve->IsCurve())
        return new CurveTangentConstraint(parts.segment, parts.vertex, static_cast<CurveShape*>(parts.curve));
    return new PlotTangentConstraint(parts.segment, parts.vertex, static_cast<PlotShape*>(parts.curve));
}

} // namespace

std::vector<SegmentShape*> StraightEdges(const ItemArray<DiagramShape>& selected)
{
    std::vector<SegmentShape*> edges;
    for (DiagramShape* shape : selected)
        for (DiagramShape* side : shape->GetSides()) {
            auto* segment = side->IsSegment() ? static_cast<SegmentShape*>(side) : nullptr;
            if (segment && std::find(edges.begin(), edges.end(), segment) == edges.end())
                edges.push_back(segment);
        }
    return edges;
}

// ---- equal length ----

bool EqualLengthMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    return StraightEdges(selected).size() >= 2;
}

TAction* EqualLengthMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                                const DPoint&) const
{
    std::vector<SegmentShape*> edges = StraightEdges(selected);
    if (edges.size() < 2)
        return nullptr;
    return new TAddConstraintAction(&diagram, new EqualLengthConstraint(std::move(edges)));
}

std::string EqualLengthMaker::GetErrorMessage() const
{
    return "To make an equal length constraint you must have at least two segments selected.";
}

// ---- fixed points ----

bool FixPointMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    return !CollectVertices(selected).IsEmpty();
}

TAction* FixPointMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                             const DPoint&) const
{
    ItemArray<DrawConstraint> constraints;
    for (VertexShape* vertex : CollectVertices(selected)) {
        if (vertex->IsFixed())
            continue;
        // Making the constraint fixes its vertex; the action fixes it when
        // it adds the constraint, and not before.
        constraints.Add(new FixedPointConstraint(vertex));
        vertex->Unfix();
    }
    if (constraints.IsEmpty())
        return nullptr;
    return new TAddConstraintsAction(&diagram, std::move(constraints));
}

std::string FixPointMaker::GetErrorMessage() const
{
    return "To make a fixed vertex constraint you need to have at least one vertex selected.";
}

// ---- tangency ----

bool TangentMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    TangentParts parts;
    return FindTangentParts(selected, parts);
}

TAction* TangentMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                            const DPoint&) const
{
    TangentParts parts;
    if (!FindTangentParts(selected, parts))
        return nullptr;
    VertexShape* t = parts.vertex;
    const bool free = !t->GetXVar()->IsFixed() && !t->GetYVar()->IsFixed();
    auto* circle = parts.curve->IsCircle() ? static_cast<CircleShape*>(parts.curve) : nullptr;
    // The centre as the point of tangency moves its circle with it: it stays
    // where it is, and only a circle of no size would meet the tangency.
    if (!free || !circle || t == circle->GetCentre())
        return new TAddConstraintAction(&diagram, NewTangent(parts));
    auto* tangent = static_cast<TangentConstraint*>(NewTangent(parts));
    return new TAddStartedConstraintAction(&diagram, tangent, {{t, CircleTouch(*parts.segment, *t, *circle)}},
                                           [tangent] { tangent->AlignDirection(); });
}

std::string TangentMaker::GetErrorMessage() const
{
    return "To make a tangency constraint you must have a segment, a vertex, and a curve selected. The vertex marks "
           "the point of tangency.";
}
