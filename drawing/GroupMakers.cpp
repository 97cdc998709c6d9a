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
#include "drawing/VertexShape.h"

#include <algorithm>

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
    return new TAddConstraintAction(&diagram, NewTangent(parts));
}

std::string TangentMaker::GetErrorMessage() const
{
    return "To make a tangency constraint you must have a segment, a vertex, and a curve selected. The vertex marks "
           "the point of tangency.";
}
