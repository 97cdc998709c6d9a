#include "drawing/ShapeMakers.h"

#include "drawing/AngleMakers.h"
#include "drawing/CircleShape.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"

#include <algorithm>
#include <vector>

using namespace drawing;

namespace {

double MakerSize(const DiagramDC& dc)
{
    return kMakerSizePoints * dc.GetCurrentScale();
}

int CountVertices(const ItemArray<DiagramShape>& selected)
{
    return static_cast<int>(
        std::count_if(selected.begin(), selected.end(), [](DiagramShape* s) { return s->IsVertexShape(); }));
}

int CountSegments(const ItemArray<DiagramShape>& selected)
{
    return static_cast<int>(
        std::count_if(selected.begin(), selected.end(), [](DiagramShape* s) { return s->IsSegment(); }));
}

VertexShape* VertexOf(const ItemArray<DiagramShape>& selected, int i)
{
    return static_cast<VertexShape*>(selected.GetAt(i));
}

SegmentShape* SegmentOf(const ItemArray<DiagramShape>& selected, int i)
{
    return static_cast<SegmentShape*>(selected.GetAt(i));
}

VertexShape* NewVertex(const DPoint& point)
{
    return new VertexShape(point.x, point.y);
}

// A free vertex is taken; one another shape holds is copied at its place.
VertexShape* Own(VertexShape* vertex)
{
    return vertex->GetOwnerShape() ? NewVertex(vertex->GetPoint()) : vertex;
}

// The chord turned a quarter turn counter-clockwise.
DPoint QuarterTurn(const DPoint& from, const DPoint& to)
{
    return {-(to.y - from.y), to.x - from.x};
}

// None, one or two selected vertices and nothing else.
bool UpToTwoVertices(const ItemArray<DiagramShape>& selected)
{
    return selected.GetCount() <= 2 && CountVertices(selected) == selected.GetCount();
}

// The ends of a segment or curve: the two selected vertices, or from the
// one selected vertex (or the insertion point) the maker's size to the right.
std::pair<VertexShape*, VertexShape*> Ends(const ItemArray<DiagramShape>& selected, const DiagramDC& dc,
                                           const DPoint& at)
{
    if (selected.GetCount() == 2)
        return {Own(VertexOf(selected, 0)), Own(VertexOf(selected, 1))};
    VertexShape* start = selected.GetCount() == 1 ? Own(VertexOf(selected, 0)) : NewVertex(at);
    return {start, NewVertex(start->GetPoint() + DPoint(MakerSize(dc), 0))};
}

// The corners of two segments, first one's (s0, s1), second's (t0, t1):
// the far end of the one, the shared corner, the far end of the other.
std::vector<DPoint> TwoSegmentCorners(const SegmentShape& s, const SegmentShape& t)
{
    VertexShape* s0 = s.GetStart();
    VertexShape* s1 = s.GetEnd();
    VertexShape* t0 = t.GetStart();
    VertexShape* t1 = t.GetEnd();
    if (s0 == t0)
        return {t1->GetPoint(), t0->GetPoint(), s1->GetPoint()};
    if (s0 == t1)
        return {t0->GetPoint(), t1->GetPoint(), s1->GetPoint()};
    return {s0->GetPoint(), s1->GetPoint(), (s1 == t0 ? t1 : t0)->GetPoint()};
}

// What a triangle or rectangle builds on: one corner (nothing or a vertex
// selected), two (two vertices or a segment's ends) or three (two segments
// or three vertices). keepGiven: the rectangle takes a segment's ends and
// three vertices as they are.
std::vector<VertexShape*> BasisCorners(const ItemArray<DiagramShape>& selected, const DPoint& at, bool keepGiven)
{
    const int count = selected.GetCount();
    std::vector<VertexShape*> corners;
    if (count == 0)
        return {NewVertex(at)};
    if (CountSegments(selected) == 2) {
        for (const DPoint& p : TwoSegmentCorners(*SegmentOf(selected, 0), *SegmentOf(selected, 1)))
            corners.push_back(NewVertex(p));
        return corners;
    }
    if (count == 1 && selected.GetAt(0)->IsSegment()) {
        SegmentShape* segment = SegmentOf(selected, 0);
        if (keepGiven)
            return {segment->GetStart(), segment->GetEnd()};
        return {NewVertex(segment->GetStart()->GetPoint()), NewVertex(segment->GetEnd()->GetPoint())};
    }
    for (int i = 0; i < count; ++i)
        corners.push_back(keepGiven && count == 3 ? VertexOf(selected, i) : Own(VertexOf(selected, i)));
    return corners;
}

bool SuitsSidedShape(const ItemArray<DiagramShape>& selected, const DiagramDC& dc)
{
    const int vertices = CountVertices(selected);
    const int segments = CountSegments(selected);
    switch (selected.GetCount()) {
    case 0: return true;
    case 1: return vertices == 1 || segments == 1;
    case 2: return vertices == 2 || (segments == 2 && SegmentsShareEnd(*SegmentOf(selected, 0), *SegmentOf(selected, 1), dc));
    case 3: return vertices == 3;
    default: return false;
    }
}

} // namespace

// ---- segment ----

bool SegmentMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    return UpToTwoVertices(selected);
}

TAction* SegmentMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                            const DPoint& at) const
{
    return new TAddShapeAction(&diagram, [picked = selected, &diagram, at]() -> DiagramShape* {
        auto [start, end] = Ends(picked, diagram.GetDC(), at);
        return new SegmentShape(start, end);
    });
}

std::string SegmentMaker::GetErrorMessage() const
{
    return "To draw a segment you must have 0, 1, or 2 vertices selected.";
}

// ---- circle ----

bool CircleMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    return selected.GetCount() <= 1 && CountVertices(selected) == selected.GetCount();
}

TAction* CircleMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                           const DPoint& at) const
{
    return new TAddShapeAction(&diagram, [picked = selected, &diagram, at]() -> DiagramShape* {
        VertexShape* centre = picked.IsEmpty() ? NewVertex(at) : Own(VertexOf(picked, 0));
        return new CircleShape(centre, new DrawVariable(MakerSize(diagram.GetDC()), false));
    });
}

std::string CircleMaker::GetErrorMessage() const
{
    return "To make a circle you can have at most one vertex selected.";
}

// ---- triangle ----

bool TriangleMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const
{
    return SuitsSidedShape(selected, dc);
}

TAction* TriangleMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                             const DPoint& at) const
{
    return new TAddShapeAction(&diagram, [picked = selected, &diagram, at]() -> DiagramShape* {
        std::vector<VertexShape*> corners = BasisCorners(picked, at, false);
        const DPoint a = corners[0]->GetPoint();
        const double size = MakerSize(diagram.GetDC());
        if (corners.size() == 1) {
            corners.push_back(NewVertex(a + DPoint(size, 0)));
            corners.push_back(NewVertex(a + DPoint(size, size)));
        } else if (corners.size() == 2) {
            const DPoint b = corners[1]->GetPoint();
            corners.push_back(NewVertex(b + QuarterTurn(a, b)));
        }
        return new TriangleShape(corners[0], corners[1], corners[2]);
    });
}

std::string TriangleMaker::GetErrorMessage() const
{
    return "The present selection can not be used as the basis for drawing a triangle.";
}

// ---- rectangle ----

bool RectangleMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC& dc) const
{
    return SuitsSidedShape(selected, dc);
}

TAction* RectangleMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                              const DPoint& at) const
{
    return new TAddShapeAction(&diagram, [picked = selected, &diagram, at]() -> DiagramShape* {
        std::vector<VertexShape*> corners = BasisCorners(picked, at, true);
        const DPoint a = corners[0]->GetPoint();
        const double size = MakerSize(diagram.GetDC());
        if (corners.size() == 1) {
            corners.push_back(NewVertex(a + DPoint(size, 0)));
            corners.push_back(NewVertex(a + DPoint(size, size)));
            corners.push_back(NewVertex(a + DPoint(0, size)));
        } else if (corners.size() == 2) {
            const DPoint b = corners[1]->GetPoint();
            const DPoint q = QuarterTurn(a, b);
            corners.push_back(NewVertex(b + q));
            corners.push_back(NewVertex(a + q));
        } else {
            // The parallelogram completed opposite the middle corner.
            corners.push_back(NewVertex(a + corners[2]->GetPoint() - corners[1]->GetPoint()));
        }
        return new RectangleShape(corners[0], corners[1], corners[2], corners[3]);
    });
}

std::string RectangleMaker::GetErrorMessage() const
{
    return "The present selection can not be used as the basis for drawing a rectangle.";
}

// ---- curve ----

bool CurveMaker::CanMake(const ItemArray<DiagramShape>& selected, const DiagramDC&) const
{
    return UpToTwoVertices(selected);
}

TAction* CurveMaker::Make(ActionView*, const ItemArray<DiagramShape>& selected, DiagramComp& diagram,
                          const DPoint& at) const
{
    return new TAddShapeAction(&diagram, [picked = selected, &diagram, at]() -> DiagramShape* {
        auto [start, end] = Ends(picked, diagram.GetDC(), at);
        const DPoint n = QuarterTurn(start->GetPoint(), end->GetPoint()) / 3.0;
        return new CurveShape(start, end, NewVertex(start->GetPoint() + n), NewVertex(end->GetPoint() + n));
    });
}

std::string CurveMaker::GetErrorMessage() const
{
    return "To make a curve you must have 0, 1, or 2 vertices selected.";
}
