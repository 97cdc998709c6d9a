#include "drawing/LineMakers.h"

#include "drawing/CircleShape.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/LineConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"

namespace {

// The segment's ends or the two selected vertices; false for anything else.
bool TwoPoints(const ItemArray<DiagramShape>& selected, VertexShape*& p1, VertexShape*& p2)
{
    if (selected.GetCount() == 1 && selected.GetAt(0)->IsSegment()) {
        auto* segment = static_cast<SegmentShape*>(selected.GetAt(0));
        p1 = segment->GetStart();
        p2 = segment->GetEnd();
        return true;
    }
    if (selected.GetCount() == 2 && selected.GetAt(0)->IsVertexShape() && selected.GetAt(1)->IsVertexShape()) {
        p1 = static_cast<VertexShape*>(selected.GetAt(0));
        p2 = static_cast<VertexShape*>(selected.GetAt(1));
        return true;
    }
    return false;
}

} // namespace

bool TwoPointMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    VertexShape* p1 = nullptr;
    VertexShape* p2 = nullptr;
    return TwoPoints(selected, p1, p2);
}

TAction* TwoPointMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                             const DPoint&) const
{
    VertexShape* p1 = nullptr;
    VertexShape* p2 = nullptr;
    if (!TwoPoints(selected, p1, p2))
        return nullptr;
    return new TAddStartedConstraintAction(&diagram, NewConstraint(p1, p2), StartOf(p1, p2));
}

std::string HorizontalMaker::GetErrorMessage() const
{
    return "To make a horizontal constraint you must have a segment or two vertices selected.";
}

DrawConstraint* HorizontalMaker::NewConstraint(VertexShape* p1, VertexShape* p2) const
{
    return new HorizontalConstraint(p1, p2);
}

TAddStartedConstraintAction::Start HorizontalMaker::StartOf(VertexShape* p1, VertexShape* p2) const
{
    return TurnedTo(p1, p2, DPoint(1, 0));
}

std::string VerticalMaker::GetErrorMessage() const
{
    return "To make a vertical constraint you must have a segment or two vertices selected.";
}

TAddStartedConstraintAction::Start VerticalMaker::StartOf(VertexShape* p1, VertexShape* p2) const
{
    return TurnedTo(p1, p2, DPoint(0, 1));
}

DrawConstraint* VerticalMaker::NewConstraint(VertexShape* p1, VertexShape* p2) const
{
    return new VerticalConstraint(p1, p2);
}

std::string FixSlopeMaker::GetErrorMessage() const
{
    return "To make a slope constraint you must have a segment or two vertices selected.";
}

DrawConstraint* FixSlopeMaker::NewConstraint(VertexShape* p1, VertexShape* p2) const
{
    return new SlopeConstraint(p1, p2);
}

bool DistanceMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const
{
    return (selected.GetCount() == 1 && selected.GetAt(0)->IsCircle()) || TwoPointMaker::CanMake(selected, dc);
}

TAction* DistanceMaker::Make(ActionView* view, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                             const DPoint& at) const
{
    if (selected.GetCount() == 1 && selected.GetAt(0)->IsCircle()) {
        auto* circle = static_cast<CircleShape*>(selected.GetAt(0));
        return new TAddConstraintAction(&diagram, new RadiusConstraint(circle->GetCentre(), circle->GetRadiusVar()));
    }
    return TwoPointMaker::Make(view, selected, diagram, at);
}

std::string DistanceMaker::GetErrorMessage() const
{
    return "To make a length constraint you must have a circle, a segment, or two vertices selected.";
}

DrawConstraint* DistanceMaker::NewConstraint(VertexShape* p1, VertexShape* p2) const
{
    return new DistanceConstraint(p1, p2);
}
