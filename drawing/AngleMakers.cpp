#include "drawing/AngleMakers.h"

#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/LineConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/TAddStartedConstraintAction.h"
#include "drawing/VertexShape.h"

#include <utility>

namespace {

// The distance, in pixels, within which an end touches the other segment.
constexpr double kTouchPixels = 2.0;

bool Coincide(const VertexShape* a, const VertexShape* b, const DiagramDC& dc)
{
    return a == b || a->IsNear(*b, dc);
}

bool LiesOn(const VertexShape* end, const SegmentShape& segment, const DiagramDC& dc)
{
    return DPoint::DistanceToSegment(segment.GetStart()->GetPoint(), segment.GetEnd()->GetPoint(), end->GetPoint()) <=
           dc.PixelsToWorld(kTouchPixels);
}

// The two selected segments, in selection order.
bool TwoSegments(const ItemArray<DiagramShape>& selected, SegmentShape*& s, SegmentShape*& t)
{
    if (selected.GetCount() != 2 || !selected.GetAt(0)->IsSegment() || !selected.GetAt(1)->IsSegment())
        return false;
    s = static_cast<SegmentShape*>(selected.GetAt(0));
    t = static_cast<SegmentShape*>(selected.GetAt(1));
    return true;
}

bool SegmentsMeet(const ItemArray<DiagramShape>& selected, const DiagramDC& dc)
{
    SegmentShape* s = nullptr;
    SegmentShape* t = nullptr;
    return TwoSegments(selected, s, t) && (SegmentsShareEnd(*s, *t, dc) || SegmentsTouch(*s, *t, dc));
}

bool ThreeVertices(const ItemArray<DiagramShape>& selected)
{
    if (selected.GetCount() != 3)
        return false;
    for (DiagramShape* shape : selected)
        if (!shape->IsVertexShape())
            return false;
    return true;
}

// The angle of the selection: three vertices in selection order, or the
// corner of two segments.
bool AngleOf(const ItemArray<DiagramShape>& selected, const DiagramDC& dc, std::array<VertexShape*, 3>& angle)
{
    if (ThreeVertices(selected)) {
        for (int i = 0; i < 3; ++i)
            angle[static_cast<size_t>(i)] = static_cast<VertexShape*>(selected.GetAt(i));
        return true;
    }
    SegmentShape* s = nullptr;
    SegmentShape* t = nullptr;
    return TwoSegments(selected, s, t) && FindCorner(*s, *t, dc, angle);
}

} // namespace

bool SegmentsShareEnd(const SegmentShape& s, const SegmentShape& t, const DiagramDC& dc)
{
    for (const VertexShape* p : {s.GetStart(), s.GetEnd()})
        for (const VertexShape* q : {t.GetStart(), t.GetEnd()})
            if (Coincide(p, q, dc))
                return true;
    return false;
}

bool SegmentsTouch(const SegmentShape& s, const SegmentShape& t, const DiagramDC& dc)
{
    return LiesOn(s.GetStart(), t, dc) || LiesOn(s.GetEnd(), t, dc) || LiesOn(t.GetStart(), s, dc) ||
           LiesOn(t.GetEnd(), s, dc);
}

bool FindCorner(const SegmentShape& s, const SegmentShape& t, const DiagramDC& dc, std::array<VertexShape*, 3>& angle)
{
    VertexShape* s0 = s.GetStart();
    VertexShape* s1 = s.GetEnd();
    VertexShape* t0 = t.GetStart();
    VertexShape* t1 = t.GetEnd();
    // A shared end: the far ends are the arms.
    if (Coincide(s0, t0, dc))
        angle = {s1, s0, t1};
    else if (Coincide(s0, t1, dc))
        angle = {s1, s0, t0};
    else if (Coincide(s1, t0, dc))
        angle = {s0, s1, t1};
    else if (Coincide(s1, t1, dc))
        angle = {s0, s1, t0};
    // An end on the other segment is the corner; an arm of that other
    // segment lying at the corner gives way to its other end.
    else if (LiesOn(s0, t, dc))
        angle = {Coincide(t0, s0, dc) ? t1 : t0, s0, s1};
    else if (LiesOn(s1, t, dc))
        angle = {s0, s1, Coincide(t0, s1, dc) ? t1 : t0};
    else if (LiesOn(t0, s, dc))
        angle = {Coincide(s0, t0, dc) ? s1 : s0, t0, t1};
    else if (LiesOn(t1, s, dc))
        angle = {t0, t1, Coincide(s0, t1, dc) ? s1 : s0};
    else
        return false;
    return true;
}

// ---- parallel ----

bool ParallelMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const
{
    SegmentShape* s = nullptr;
    SegmentShape* t = nullptr;
    return TwoSegments(selected, s, t) && !SegmentsShareEnd(*s, *t, dc);
}

TAction* ParallelMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                             const DPoint&) const
{
    SegmentShape* s = nullptr;
    SegmentShape* t = nullptr;
    if (!TwoSegments(selected, s, t))
        return nullptr;
    // The second segment turns to the first's direction, or the first to the second's.
    TAddStartedConstraintAction::Start start =
        TurnedTo(t->GetStart(), t->GetEnd(), s->GetEnd()->GetPoint() - s->GetStart()->GetPoint());
    if (start.empty())
        start = TurnedTo(s->GetStart(), s->GetEnd(), t->GetEnd()->GetPoint() - t->GetStart()->GetPoint());
    return new TAddStartedConstraintAction(
        &diagram, new ParallelConstraint(s->GetStart(), s->GetEnd(), t->GetStart(), t->GetEnd()), std::move(start));
}

std::string ParallelMaker::GetErrorMessage() const
{
    return "To make a parallel constraint you must have two segments selected.";
}

// ---- perpendicular ----

bool PerpendicularMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const
{
    return SegmentsMeet(selected, dc);
}

TAction* PerpendicularMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                                  const DPoint&) const
{
    SegmentShape* s = nullptr;
    SegmentShape* t = nullptr;
    std::array<VertexShape*, 3> angle{};
    if (!TwoSegments(selected, s, t) || !FindCorner(*s, *t, diagram.GetDC(), angle))
        return nullptr;
    return new TAddStartedConstraintAction(&diagram, new PerpendicularConstraint(angle[0], angle[1], angle[2]),
                                           TurnedSquare(angle[0], angle[1], angle[2]));
}

std::string PerpendicularMaker::GetErrorMessage() const
{
    return "To make a right angle constraint you must have two segments selected.";
}

// ---- fixed angle ----

bool FixAngleMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const
{
    return ThreeVertices(selected) || SegmentsMeet(selected, dc);
}

TAction* FixAngleMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                             const DPoint&) const
{
    std::array<VertexShape*, 3> angle{};
    if (!AngleOf(selected, diagram.GetDC(), angle))
        return nullptr;
    return new TAddConstraintAction(&diagram, new AngleConstraint(angle[0], angle[1], angle[2]));
}

std::string FixAngleMaker::GetErrorMessage() const
{
    return "To make an angle constraint you must have two segments or three vertices selected.";
}
