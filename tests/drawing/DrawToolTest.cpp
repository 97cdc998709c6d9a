// The drawing tools driven by presses at device points, headless: what each
// tool does at once and which tracker it answers, and the trackers of the
// pointer, grabber and rubber band driven through a whole gesture.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawTool.h"
#include "drawing/DrawTrackers.h"
#include "drawing/DrawVariable.h"
#include "drawing/LineConstraints.h"
#include "drawing/PolygonShape.h"
#include "drawing/VertexDragTracker.h"
#include "foundation/TAction.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/SelectionTracker.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

class DrawToolTest : public DrawingTest {
protected:
    DrawToolTest() : drawing(new DiagramComp), list(ListOf(drawing))
    {
        drawing->SetSize(2000, 2000);
        drawing->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
        vertex = new VertexShape(-3.0, 2.0);
        drawing->AddShape(vertex);
        segment = new SegmentShape(new VertexShape(1.0, -1.0), new VertexShape(3.0, -1.0));
        drawing->AddShape(segment);
        drawing->Measure();
        drawing->SetOrigin(IntPoint(20, 300));
    }

    IntPoint At(double x, double y) const { return drawing->GetDC().WorldToScreen(DPoint(x, y)); }

    // Presses, moves through the points and releases at the last one.
    void Gesture(MouseTracker& tracker, const IntPoint& from, const std::vector<IntPoint>& moves)
    {
        tracker.MouseDown(from);
        for (const IntPoint& point : moves)
            tracker.MouseMove(point);
        tracker.MouseUp(moves.empty() ? from : moves.back());
    }

    bool SelectsWholeDrawing() const
    {
        const DocSelection whole = DocSelection::SelectObject(drawing);
        return view.selection.GetStart() == whole.GetStart() && view.selection.GetEnd() == whole.GetEnd();
    }

    DiagramComp* drawing;
    ListPtr list;
    DrawingView view;
    VertexShape* vertex = nullptr;
    SegmentShape* segment = nullptr;
};

TEST_F(DrawToolTest, ToolbarCommandsChooseToolsAndEachToolItsCursor)
{
    using drawing::ToolKind;
    struct Case {
        int command;
        ToolKind kind;
        int cursor;
        int shiftCursor;
    };
    const Case cases[] = {
        {drawing::kPointerToolCommand, ToolKind::Pointer, 0, 0},
        {drawing::kPencilToolCommand, ToolKind::Pencil, drawing::kPencilCursor, drawing::kPencilCursor},
        {drawing::kGrabberToolCommand, ToolKind::Grabber, drawing::kGrabCursor, drawing::kGrabCursor},
        {drawing::kMagnifierToolCommand, ToolKind::Magnifier, drawing::kZoomInCursor, drawing::kZoomOutCursor},
    };
    const IntPoint empty = At(-1.0, 3.0);
    for (const Case& c : cases) {
        ToolKind kind{};
        ASSERT_TRUE(ToolOfCommand(c.command, kind));
        EXPECT_EQ(kind, c.kind);
        drawing->SetTool(kind);
        DrawTool* tool = drawing->GetTool();
        drawing->SetTool(kind);
        EXPECT_EQ(drawing->GetTool(), tool) << "the same kind keeps its tool";
        EXPECT_EQ(tool->GetKind(), c.kind);
        EXPECT_EQ(drawing->GetCursor(empty, false, false), c.cursor);
        EXPECT_EQ(drawing->GetCursor(empty, true, false), c.shiftCursor);
        EXPECT_EQ(drawing->GetCursor(empty, true, true), 0) << "Ctrl answers as the pointer";
    }
    drawing::ToolKind unchanged = drawing::ToolKind::Grabber;
    EXPECT_FALSE(ToolOfCommand(34050, unchanged));
    EXPECT_EQ(unchanged, drawing::ToolKind::Grabber);
}

TEST_F(DrawToolTest, TheMagnifierZoomsByTwoOrAHalfAboutTheClickedPoint)
{
    drawing->SetTool(drawing::ToolKind::Magnifier);
    const IntPoint click = At(-1.0, 1.0);
    const DPoint under = drawing->GetDC().ScreenToWorld(click);
    auto span = [&] { return At(2.0, 0.0).x - At(0.0, 0.0).x; };
    const int before = span();
    EXPECT_EQ(drawing->OnMouseDown(view, click, false, false), nullptr);
    EXPECT_NEAR(span(), 2 * before, 1);
    EXPECT_TRUE(view.modified);
    const DPoint still = drawing->GetDC().ScreenToWorld(click);
    EXPECT_NEAR(still.x, under.x, 0.05);
    EXPECT_NEAR(still.y, under.y, 0.05);
    drawing->OnMouseDown(view, click, true, false);
    EXPECT_NEAR(span(), before, 1);
}

TEST_F(DrawToolTest, PressesOfThePointerSelectAndAnswerTheirTrackers)
{
    // A vertex: selected, the drawing selected as one object, and dragged.
    auto drag = drawing->OnMouseDown(view, At(-3.0, 2.0), false, false);
    EXPECT_NE(dynamic_cast<VertexDragTracker*>(drag.get()), nullptr);
    EXPECT_TRUE(drawing->GetSelectedShapes().Contains(vertex));
    EXPECT_TRUE(SelectsWholeDrawing());
    // Shift on a selected vertex deselects it.
    drawing->OnMouseDown(view, At(-3.0, 2.0), true, false);
    EXPECT_FALSE(drawing->GetSelectedShapes().Contains(vertex));

    // Empty area: a rubber band that takes what it covers and no more.
    auto band = drawing->OnMouseDown(view, At(0.0, 0.0), false, false);
    ASSERT_NE(dynamic_cast<SelectRectTracker*>(band.get()), nullptr);
    Gesture(*band, At(0.0, 0.0), {At(2.0, -0.5), At(4.0, -2.0)});
    EXPECT_TRUE(drawing->GetSelectedShapes().Contains(segment));
    EXPECT_FALSE(drawing->GetSelectedShapes().Contains(vertex));
    EXPECT_FALSE(drawing->IsBandVisible());

    // Under the pencil, Ctrl presses as the pointer (without it, the pencil).
    drawing->SetTool(drawing::ToolKind::Pencil);
    auto pointer = drawing->OnMouseDown(view, At(0.0, 0.0), false, true);
    EXPECT_NE(dynamic_cast<SelectRectTracker*>(pointer.get()), nullptr);
    drawing->SetToolBusy(true);
    EXPECT_EQ(drawing->OnMouseDown(view, At(0.0, 0.0), false, false), nullptr) << "a busy pencil answers nothing";
    EXPECT_EQ(OwnershipFaults({drawing}), "");
}

TEST_F(DrawToolTest, TheGrabberKeepsTheGrabbedPointUnderTheMouse)
{
    drawing->SetTool(drawing::ToolKind::Grabber);
    const IntPoint from = At(-1.0, 1.0);
    const IntPoint to(from.x + 40, from.y - 25);
    const DPoint grabbed = drawing->GetDC().ScreenToWorld(from);
    auto grab = drawing->OnMouseDown(view, from, false, false);
    ASSERT_NE(grab, nullptr);
    Gesture(*grab, from, {IntPoint(from.x + 10, from.y), to});
    const DPoint now = drawing->GetDC().ScreenToWorld(to);
    EXPECT_NEAR(now.x, grabbed.x, 0.05);
    EXPECT_NEAR(now.y, grabbed.y, 0.05);
    EXPECT_TRUE(view.modified);
}

TEST_F(DrawToolTest, ALabelDraggedByItsFrameMovesByTheDrawingDistance)
{
    auto* label = new DrawLabel(drawing, DPoint(-1.0, -2.0), DPoint(0.0, 0.0), true, nullptr);
    drawing->AddLabel(label);
    LabelDragTracker drag(view, drawing, label);
    Gesture(drag, At(0.0, 0.0), {At(1.0, 0.0), At(2.0, 0.5)});
    EXPECT_NEAR(label->GetOffset().x, 2.0, 0.05);
    EXPECT_NEAR(label->GetOffset().y, 0.5, 0.05);
    EXPECT_TRUE(view.modified) << "closing asks before the drag is lost";
}

// The move action of a drag used to compare two snapshots and change
// nothing on undo: undo must put every moved and every solved value back.
TEST_F(DrawToolTest, UndoOfAVertexDragPutsEveryMovedAndSolvedValueBack)
{
    drawing->AddConstraint(new HorizontalConstraint(segment));
    auto values = [&] {
        return std::vector<double>{segment->GetStart()->GetXVar()->GetValue(), segment->GetStart()->GetYVar()->GetValue(),
                                   segment->GetEnd()->GetXVar()->GetValue(), segment->GetEnd()->GetYVar()->GetValue()};
    };
    const std::vector<double> before = values();
    auto drag = drawing->OnMouseDown(view, At(3.0, -1.0), false, false);
    ASSERT_NE(drag, nullptr);
    Gesture(*drag, At(3.0, -1.0), {At(3.5, 0.0), At(4.0, 1.0)});
    const std::vector<double> dragged = values();
    EXPECT_NEAR(dragged[2], 4.0, 0.1);
    EXPECT_NEAR(dragged[1], dragged[3], 1e-6) << "the segment stays horizontal";
    EXPECT_NE(dragged[1], before[1]);
    std::unique_ptr<TAction> action(drag->TakeAction());
    ASSERT_NE(action, nullptr);
    action->Perform();
    EXPECT_EQ(values(), dragged) << "performing after the drag changes nothing";
    for (int round = 0; round < 2; ++round) {
        action->Revert();
        EXPECT_EQ(values(), before);
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Redo();
        EXPECT_EQ(values(), dragged);
    }
    action->Commit();
}

// A press on an edge, a curve or a circle away from its vertices drags the
// shape through a temporary vertex held on it: the shape follows the mouse
// without first jumping, the temporary vertex is gone after the release,
// and undo and redo give back the drawing byte for byte.
TEST_F(DrawToolTest, ADragThroughATemporaryVertexMovesTheShapeAndUndoesExactly)
{
    auto* curve = new CurveShape(new VertexShape(-4.0, -3.0), new VertexShape(0.0, -3.0), new VertexShape(-3.0, -1.5),
                                 new VertexShape(-1.0, -1.5));
    drawing->AddShape(curve);
    auto* circle = new CircleShape(new VertexShape(6.0, 1.0), new DrawVariable(1.0, false));
    drawing->AddShape(circle);
    struct Case {
        const char* name;
        DiagramShape* shape;
        DPoint press; // on the shape, away from its vertices
    };
    // The curve's point at a quarter of its parameter, not its middle.
    const double t = 0.25, u = 0.75;
    const DPoint quarter(-4.0 * u * u * u - 9.0 * u * u * t - 3.0 * u * t * t,
                         -3.0 * u * u * u - 4.5 * u * u * t - 4.5 * u * t * t - 3.0 * t * t * t);
    const Case cases[] = {
        {"a segment", segment, {2.0, -1.0}},
        {"a curve", curve, quarter},
        {"a circle", circle, {6.0, 2.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        drawing->DeselectAll(false);
        const std::vector<uint8_t> before = WriteComponent(*drawing);
        const int shapes = drawing->GetShapes().GetCount();
        std::vector<DPoint> points;
        for (VertexShape* v : c.shape->GetVertices())
            points.push_back(v->GetPoint());
        const IntPoint press = At(c.press.x, c.press.y);
        auto drag = drawing->OnMouseDown(view, press, false, false);
        ASSERT_NE(dynamic_cast<VertexDragTracker*>(drag.get()), nullptr);
        drag->MouseDown(press);
        EXPECT_EQ(drawing->GetShapes().GetCount(), shapes + 1) << "the temporary vertex joins while dragging";
        const IntPoint to(press.x + 15, press.y - 30);
        drag->MouseMove(IntPoint(press.x + 5, press.y - 10));
        drag->MouseMove(to);
        drag->MouseUp(to);
        EXPECT_EQ(drawing->GetShapes().GetCount(), shapes) << "and leaves at the release";
        EXPECT_TRUE(drawing->GetDragConstraints().IsEmpty());
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        const DPoint offset = drawing->GetDC().ScreenToWorld(to) - drawing->GetDC().ScreenToWorld(press);
        // The press lands on a whole pixel, at most a pixel off the shape.
        const double pixel = drawing->GetDC().PixelsToWorld(1);
        const ItemArray<VertexShape> moved = c.shape->GetVertices();
        for (int i = 0; i < moved.GetCount(); ++i) {
            EXPECT_NEAR(moved.GetAt(i)->GetX(), points[static_cast<size_t>(i)].x + offset.x, pixel) << i;
            EXPECT_NEAR(moved.GetAt(i)->GetY(), points[static_cast<size_t>(i)].y + offset.y, pixel) << i;
        }
        std::unique_ptr<TAction> action(drag->TakeAction());
        ASSERT_NE(action, nullptr);
        drag.reset();
        action->Perform();
        const std::vector<uint8_t> after = WriteComponent(*drawing);
        action->Revert();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        drawing->DeselectAll(false);
        EXPECT_EQ(WriteComponent(*drawing), before) << "undone";
        action->Redo();
        EXPECT_EQ(WriteComponent(*drawing), after) << "redone";
        action->Revert();
        action->Commit();
        drawing->DeselectAll(false);
        EXPECT_EQ(WriteComponent(*drawing), before);
    }
    // A click on an edge that moves nothing leaves neither a vertex nor an action.
    const int shapes = drawing->GetShapes().GetCount();
    auto click = drawing->OnMouseDown(view, At(2.0, -1.0), false, false);
    ASSERT_NE(click, nullptr);
    Gesture(*click, At(2.0, -1.0), {});
    EXPECT_EQ(click->TakeAction(), nullptr);
    EXPECT_EQ(drawing->GetShapes().GetCount(), shapes);
    // Nor does a drag the view drops before the release.
    auto dropped = drawing->OnMouseDown(view, At(2.0, -1.0), false, false);
    dropped->MouseDown(At(2.0, -1.0));
    dropped->MouseMove(At(2.5, 0.0));
    dropped.reset();
    EXPECT_EQ(drawing->GetShapes().GetCount(), shapes);
    EXPECT_TRUE(drawing->GetDragConstraints().IsEmpty());
}

TEST_F(DrawToolTest, AFixedVertexDoesNotMoveUnderADrag)
{
    vertex->Fix();
    auto drag = drawing->OnMouseDown(view, At(-3.0, 2.0), false, false);
    ASSERT_NE(drag, nullptr);
    Gesture(*drag, At(-3.0, 2.0), {At(-2.0, 1.0)});
    EXPECT_DOUBLE_EQ(vertex->GetXVar()->GetValue(), -3.0);
    EXPECT_DOUBLE_EQ(vertex->GetYVar()->GetValue(), 2.0);
}

// A pencil click adds a vertex and a pencil drag a segment from the press
// to the release; each is undone and redone with the ownership rule kept.
TEST_F(DrawToolTest, ThePencilMakesAVertexOnAClickAndASegmentOnADrag)
{
    drawing->SetTool(drawing::ToolKind::Pencil);
    struct Case {
        IntPoint press;
        std::vector<IntPoint> moves;
        bool segment;
    };
    const Case cases[] = {{At(-1.0, -1.0), {}, false},
                          {At(-1.0, -2.0), {At(0.0, 0.0), At(1.0, 1.0), At(2.0, 2.0)}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.segment);
        const int shapes = drawing->GetShapes().GetCount();
        const IntPoint press = c.press;
        auto pencil = drawing->OnMouseDown(view, press, false, false);
        ASSERT_NE(pencil, nullptr);
        Gesture(*pencil, press, c.moves);
        EXPECT_EQ(drawing->GetShapes().GetCount(), shapes) << "the release leaves the adding to the action";
        std::unique_ptr<TAction> action(pencil->TakeAction());
        ASSERT_NE(action, nullptr);
        action->Perform();
        ASSERT_EQ(drawing->GetShapes().GetCount(), shapes + 1);
        DiagramShape* made = drawing->GetShapes().GetAt(shapes);
        EXPECT_EQ(made->IsSegment(), c.segment);
        const DPoint start = drawing->GetDC().ScreenToWorld(press);
        if (c.segment) {
            auto* s = static_cast<SegmentShape*>(made);
            const DPoint end = drawing->GetDC().ScreenToWorld(c.moves.back());
            EXPECT_NEAR(s->GetStart()->GetX(), start.x, 1e-9);
            EXPECT_NEAR(s->GetEnd()->GetX(), end.x, 1e-9);
            EXPECT_NEAR(s->GetEnd()->GetY(), end.y, 1e-9);
        } else {
            EXPECT_NEAR(static_cast<VertexShape*>(made)->GetY(), start.y, 1e-9);
        }
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Revert();
        EXPECT_EQ(drawing->GetShapes().GetCount(), shapes);
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Redo();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Commit();
    }
    // A drag whose action the view never takes leaves nothing behind.
    auto dropped = drawing->OnMouseDown(view, At(-1.0, -1.0), false, false);
    const int shapes = drawing->GetShapes().GetCount();
    Gesture(*dropped, At(-1.0, -1.0), {At(0.0, 0.0)});
    dropped.reset();
    EXPECT_EQ(drawing->GetShapes().GetCount(), shapes);
}

// Shift with the pencil draws a freehand stroke: moves closer than the
// minimum step to the last stored point are not stored; the pencil is busy
// until the stroke's action is built; one point gives nothing, two a
// segment, more a fitted curve added as a pencil segment is.
TEST_F(DrawToolTest, AFreehandStrokeBecomesASegmentOrACurveOrNothing)
{
    drawing->SetTool(drawing::ToolKind::Pencil);
    const IntPoint press = At(-1.0, -2.0);
    auto offset = [&](int dx, int dy) { return IntPoint(press.x + dx, press.y + dy); };
    struct Case {
        const char* name;
        std::vector<IntPoint> moves; // the release is at the last one (or the press)
        size_t stored; // before the release
        const char* made; // "", "segment" or "curve"
    };
    std::vector<IntPoint> arc;
    for (int i = 1; i <= 60; ++i)
        arc.push_back(offset(3 * i, -static_cast<int>(std::lround(0.04 * i * i))));
    const Case cases[] = {
        {"a click", {}, 1, ""},
        {"moves within the minimum step", {offset(1, 1), offset(2, 0), offset(1, -1)}, 1, "segment"},
        {"a long bent stroke", arc, 61, "curve"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> before = WriteComponent(*drawing);
        auto tracker = drawing->OnMouseDown(view, press, true, false);
        auto* freehand = dynamic_cast<FreehandTracker*>(tracker.get());
        ASSERT_NE(freehand, nullptr);
        freehand->MouseDown(press);
        EXPECT_EQ(drawing->OnMouseDown(view, press, false, false), nullptr) << "the pencil is busy";
        for (const IntPoint& point : c.moves)
            freehand->MouseMove(point);
        const IntPoint release = c.moves.empty() ? press : c.moves.back();
        const size_t beforeRelease = freehand->GetStroke().size();
        freehand->MouseUp(release);
        EXPECT_EQ(beforeRelease, c.stored);
        EXPECT_TRUE(drawing->GetStroke().empty());
        std::unique_ptr<TAction> action(freehand->TakeAction());
        tracker.reset();
        auto next = drawing->OnMouseDown(view, press, false, false);
        EXPECT_NE(next, nullptr) << "the pencil works again";
        next.reset();
        if (std::string(c.made).empty()) {
            EXPECT_EQ(action, nullptr);
            continue;
        }
        ASSERT_NE(action, nullptr);
        action->Perform();
        DiagramShape* made = drawing->GetShapes().GetAt(drawing->GetShapes().GetCount() - 1);
        EXPECT_EQ(made->IsCurve(), std::string(c.made) == "curve");
        EXPECT_EQ(made->IsSegment(), std::string(c.made) == "segment");
        const ItemArray<VertexShape> ends = made->GetVertices();
        const DPoint start = drawing->GetDC().ScreenToWorld(press);
        const DPoint end = drawing->GetDC().ScreenToWorld(release);
        EXPECT_EQ(ends.GetAt(0)->GetPoint(), start);
        EXPECT_EQ(ends.GetAt(1)->GetPoint(), end);
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        const std::vector<uint8_t> done = WriteComponent(*drawing);
        action->Revert();
        EXPECT_EQ(WriteComponent(*drawing), before) << "undone";
        action->Redo();
        EXPECT_EQ(WriteComponent(*drawing), done) << "redone";
        action->Revert();
        action->Commit();
    }
    // A stroke the view drops before the release frees the pencil.
    auto dropped = drawing->OnMouseDown(view, press, true, false);
    ASSERT_NE(dropped, nullptr);
    dropped->MouseDown(press);
    dropped->MouseMove(offset(20, 20));
    EXPECT_FALSE(drawing->GetStroke().empty()) << "the stroke shows while it is drawn";
    dropped.reset();
    EXPECT_TRUE(drawing->GetStroke().empty());
    EXPECT_NE(drawing->OnMouseDown(view, press, false, false), nullptr);
}

// The listed shapes as letters: V a vertex, S a segment, Pn a path of n
// edges (Pnc closed).
std::string Summary(const DiagramComp& diagram)
{
    std::string summary;
    for (DiagramShape* shape : diagram.GetShapes()) {
        if (!summary.empty())
            summary += ' ';
        if (auto* path = dynamic_cast<PolygonShape*>(shape))
            summary += "P" + std::to_string(path->GetEdges().GetCount()) + (path->IsClosed() ? "c" : "");
        else
            summary += shape->IsVertexShape() ? "V" : "S";
    }
    return summary;
}

// Pencil strokes from the fixture's free vertex (-3, 2) and lone segment
// (1, -1)-(3, -1): each end that lands on a free vertex, a lone edge's end
// or a path's open end joins it. Undoing the last stroke gives back the
// drawing byte for byte (the vertex an end took over included), redoing it
// the joined figure, with the ownership rule kept at every step.
TEST_F(DrawToolTest, PencilSegmentsJoinVerticesEdgesAndPathsAndUndoExactly)
{
    struct Stroke {
        DPoint from;
        DPoint to;
    };
    struct Case {
        const char* name;
        std::vector<Stroke> strokes;
        const char* after;
    };
    const Case cases[] = {
        {"a free vertex taken by the start", {{{-3, 2}, {-1, 2}}}, "S S"},
        {"a lone edge joined into a new path", {{{3, -1}, {3, 1}}}, "V P2"},
        {"a path closed", {{{3, -1}, {3, 1}}, {{3, 1}, {1, -1}}}, "V P3c"},
        {"two paths merged", {{{-1, 1}, {-1, 3}}, {{-1, 3}, {-3, 3}}, {{3, -1}, {3, 1}}, {{3, 1}, {-3, 3}}}, "V P5"},
        {"a path's inner vertex left alone", {{{3, -1}, {3, 1}}, {{3, -1}, {5, -1}}}, "V P2 S"},
        {"a lone edge's ends joined to a free vertex", {{{1, -1}, {-3, 2}}}, "P2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* d = new DiagramComp;
        ListPtr owner = ListOf(d);
        d->SetSize(2000, 2000);
        d->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
        d->AddShape(new VertexShape(-3.0, 2.0));
        d->AddShape(new SegmentShape(new VertexShape(1.0, -1.0), new VertexShape(3.0, -1.0)));
        d->Measure();
        d->SetOrigin(IntPoint(20, 300));
        d->SetTool(drawing::ToolKind::Pencil);
        std::vector<std::unique_ptr<TAction>> actions;
        std::vector<uint8_t> before;
        for (const Stroke& stroke : c.strokes) {
            before = WriteComponent(*d);
            const IntPoint from = d->GetDC().WorldToScreen(stroke.from);
            auto pencil = d->OnMouseDown(view, from, false, false);
            ASSERT_NE(pencil, nullptr);
            Gesture(*pencil, from, {d->GetDC().WorldToScreen(stroke.to)});
            actions.emplace_back(pencil->TakeAction());
            ASSERT_NE(actions.back(), nullptr);
            actions.back()->Perform();
            ASSERT_EQ(OwnershipFaults({d}), "");
        }
        EXPECT_EQ(Summary(*d), c.after);
        const std::vector<uint8_t> after = WriteComponent(*d);
        actions.back()->Revert();
        EXPECT_EQ(OwnershipFaults({d}), "");
        EXPECT_EQ(WriteComponent(*d), before) << "undone";
        actions.back()->Redo();
        EXPECT_EQ(OwnershipFaults({d}), "");
        EXPECT_EQ(WriteComponent(*d), after) << "redone";
        actions.back()->Revert();
        for (auto& action : actions)
            action->Commit();
        actions.clear();
        EXPECT_EQ(OwnershipFaults({d}), "");
        EXPECT_EQ(WriteComponent(*d), before) << "committed undone";
    }
}

} // namespace

// The model moved while the screen kept the old picture: every drag step,
// undo and redo must record the picture again and ask for the box to be
// painted again.
TEST_F(DrawToolTest, EveryDragStepUndoAndRedoPaintsTheDrawingAgain)
{
    drawing->AddConstraint(new HorizontalConstraint(segment));
    Rect box;
    drawing->GetAbsBounds(box);
    const Rect device = gDrawContext.ToDevice(box);
    auto repainted = [&] {
        const bool asked = std::any_of(screen.invalidated.begin(), screen.invalidated.end(), [&](const Rect& r) {
            return r.left <= device.left && r.top <= device.top && r.right >= device.right &&
                   r.bottom >= device.bottom;
        });
        screen.invalidated.clear();
        return asked && !drawing->IsPictureStale();
    };
    auto drag = drawing->OnMouseDown(view, At(3.0, -1.0), false, false);
    ASSERT_NE(drag, nullptr);
    drag->MouseDown(At(3.0, -1.0));
    screen.invalidated.clear();
    for (const IntPoint& point : {At(3.5, 0.0), At(4.0, 1.0)}) {
        drag->MouseMove(point);
        EXPECT_TRUE(repainted()) << "a drag step";
    }
    drag->MouseUp(At(4.0, 1.0));
    std::unique_ptr<TAction> action(drag->TakeAction());
    ASSERT_NE(action, nullptr);
    action->Perform();
    screen.invalidated.clear();
    action->Revert();
    EXPECT_TRUE(repainted()) << "undo";
    action->Redo();
    EXPECT_TRUE(repainted()) << "redo";
    action->Commit();
    drawing->SelectShape(vertex, false);
    EXPECT_FALSE(screen.invalidated.empty()) << "a command in the drawing";
}

// The cursor asks what lies under the mouse: asking must not deselect.
TEST_F(DrawToolTest, AskingWhatLiesUnderTheMouseChangesNoSelection)
{
    auto row = std::make_unique<CompArray>();
    for (char c : std::string("text"))
        row->Append(fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(c)));
    auto* label = new DrawLabel(drawing, DPoint(-1.0, -2.0), DPoint(0.0, 0.0), true, new CompList(std::move(row)));
    drawing->AddLabel(label);
    list->RelayoutAll(false);
    drawing->SelectShape(vertex, false);
    const IntPoint inText = drawing->GetDC().WorldToScreen(label->GetAnchor());
    ASSERT_EQ(drawing->HitItem(inText).kind, DrawHitKind::LabelText);
    drawing->GetCursor(inText, false, false);
    EXPECT_TRUE(vertex->IsSelected());
    EXPECT_EQ(drawing->GetSelectedShapes().GetCount(), 1);
}
