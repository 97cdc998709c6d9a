// The drawing's trackers driven through the view by mouse events, headless:
// pencil strokes that join what their ends land on and a drag through a
// temporary vertex, undone and redone through the view's undo.
#include "ViewFixture.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawingCodes.h"
#include "drawing/DrawingComponents.h"
#include "drawing/DrawPile.h"
#include "drawing/PilePane.h"
#include "drawing/LineConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/DocWriter.h"
#include "platform/framework/Cursors.h"
#include "support/drawing/RecordingPilePane.h"
#include "support/model/ArchiveStore.h"

#include <QMouseEvent>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

class DrawingTrackersTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        RegisterDrawingComponents();
        drawing = new DiagramComp;
        Row(1)->Append(drawing);
        view->UpdateLayoutFrom(1, 1);
        drawing->GetVisibleWorld(topLeft, bottomRight);
        // Presses go to the tools of the drawing being edited.
        view->SetSelection(DocSelection::SelectObject(drawing), true);
    }

    // The drawing point at fractions of the visible area, from its top left.
    DPoint W(double fx, double fy) const
    {
        return {topLeft.x + fx * (bottomRight.x - topLeft.x), topLeft.y + fy * (bottomRight.y - topLeft.y)};
    }
    IntPoint P(const DPoint& w) const { return drawing->GetDC().WorldToScreen(w); }

    void Drag(const DPoint& from, const DPoint& to, UINT flags = 0)
    {
        Mouse(QEvent::MouseButtonPress, P(from), flags);
        const IntPoint a = P(from);
        const IntPoint b = P(to);
        for (int i = 1; i <= 8; ++i)
            Mouse(QEvent::MouseMove, IntPoint(a.x + (b.x - a.x) * i / 8, a.y + (b.y - a.y) * i / 8), flags);
        Mouse(QEvent::MouseButtonRelease, b, flags);
    }

    std::vector<uint8_t> Bytes() const
    {
        return StoreArchive([this](DocWriter& writer) { writer.WriteComponentRecord(drawing); });
    }

    // The listed shapes as letters: V a vertex, S a segment, C a curve, Pn
    // a path of n edges (Pnc closed).
    std::string Summary() const
    {
        std::string summary;
        for (DiagramShape* shape : drawing->GetShapes()) {
            if (!summary.empty())
                summary += ' ';
            if (auto* path = dynamic_cast<PolygonShape*>(shape))
                summary += "P" + std::to_string(path->GetEdges().GetCount()) + (path->IsClosed() ? "c" : "");
            else
                summary += shape->IsVertexShape() ? "V" : shape->IsCurve() ? "C" : "S";
        }
        return summary;
    }

    // Undo gives back the bytes from before the last step; undo again (the
    // view's redo) the bytes after it.
    void ExpectUndoAndRedo(const std::vector<uint8_t>& before)
    {
        const std::vector<uint8_t> after = Bytes();
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Bytes(), before) << "undone";
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(Bytes(), after) << "redone";
    }

    DiagramComp* drawing = nullptr;
    DPoint topLeft;
    DPoint bottomRight;
};

TEST_F(DrawingTrackersTest, PencilStrokesJoinALoneEdgeIntoAPathAndCloseIt)
{
    drawing->SetTool(drawing::ToolKind::Pencil);
    const DPoint a = W(0.2, 0.3), b = W(0.6, 0.3), c = W(0.6, 0.7);
    Click(P(a));
    EXPECT_EQ(Summary(), "V") << "a click makes a vertex";
    std::vector<uint8_t> before = Bytes();
    Drag(a, b);
    EXPECT_EQ(Summary(), "S") << "the free vertex became the segment's start";
    ExpectUndoAndRedo(before);
    before = Bytes();
    Drag(b, c);
    EXPECT_EQ(Summary(), "P2") << "the lone edge joined into a path";
    ExpectUndoAndRedo(before);
    before = Bytes();
    Drag(c, a);
    EXPECT_EQ(Summary(), "P3c") << "drawn back to the path's first vertex";
    ExpectUndoAndRedo(before);
    EXPECT_EQ(view->GetTracker(), nullptr);
}

TEST_F(DrawingTrackersTest, ADragThroughATemporaryVertexIsUndoneExactly)
{
    drawing->AddShape(new SegmentShape(new VertexShape(W(0.2, 0.5).x, W(0.2, 0.5).y),
                                       new VertexShape(W(0.6, 0.5).x, W(0.6, 0.5).y)));
    drawing->SetTool(drawing::ToolKind::Pointer);
    view->UpdateLayoutFrom(1, 1);
    const std::vector<uint8_t> before = Bytes();
    Drag(W(0.4, 0.5), W(0.5, 0.3));
    ASSERT_EQ(Summary(), "S") << "the temporary vertex is gone";
    auto* segment = static_cast<SegmentShape*>(drawing->GetShapes().GetAt(0));
    EXPECT_NEAR(segment->GetStart()->GetY(), W(0.3, 0.3).y, drawing->GetDC().PixelsToWorld(2));
    Command(ID_EDIT_UNDO);
    drawing->DeselectAll(false);
    EXPECT_EQ(Bytes(), before) << "undone";
}

// Without the kernel a dragged corner stays under the pointer wherever the
// constraints let it: the other vertices give way, however the drag pulls.
TEST_F(DrawingTrackersTest, ADraggedCornerEndsWhereThePointerIsReleased)
{
    struct Row {
        const char* name;
        DrawConstraint* (*make)(TriangleShape& triangle);
        DPoint to; // from the dragged corner, as fractions of the visible area
    };
    const Row rows[] = {
        {"a length pulled along the side",
         [](TriangleShape& t) -> DrawConstraint* { return new DistanceConstraint(t.GetVertex(0), t.GetVertex(1)); },
         {-0.08, 0.0}},
        {"a level side pulled down",
         [](TriangleShape& t) -> DrawConstraint* { return new HorizontalConstraint(t.GetVertex(0), t.GetVertex(1)); },
         {0.02, 0.2}},
        {"an angle at the far corner",
         [](TriangleShape& t) -> DrawConstraint* {
             return new AngleConstraint(t.GetVertex(0), t.GetVertex(2), t.GetVertex(1));
         },
         {-0.05, 0.15}},
    };
    // Each triangle in a third of the drawing of its own.
    double left = 0.1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DPoint a = W(left, 0.6), b = W(left + 0.15, 0.6), c = W(left + 0.07, 0.35);
        const DPoint to = W(left + row.to.x, 0.6 + row.to.y);
        left += 0.33;
        auto* triangle =
            new TriangleShape(new VertexShape(a.x, a.y), new VertexShape(b.x, b.y), new VertexShape(c.x, c.y));
        drawing->AddShape(triangle);
        drawing->AddConstraint(row.make(*triangle));
        drawing->SetTool(drawing::ToolKind::Pointer);
        view->UpdateLayoutFrom(1, 1);
        Drag(a, to);
        const IntPoint released = P(to);
        const IntPoint corner = P(triangle->GetVertex(0)->GetPoint());
        EXPECT_LE(std::abs(corner.x - released.x) + std::abs(corner.y - released.y), 1)
            << "corner at " << corner.x << "," << corner.y << ", released at " << released.x << "," << released.y;
    }
}

// A drag whose release never reaches the view ends where the corner was
// last moved: the release went to another window, a modal window opened
// over the view, or the pointer moves on with no button held. The pointer
// wandering on leaves the corner there, and the drag is one step to undo.
TEST_F(DrawingTrackersTest, ADragWhoseReleaseIsLostEndsWhereTheCornerWas)
{
    QWidget elsewhere;
    QWidget* surface = view->drawingWidget();
    const auto send = [](QObject* to, QEvent&& event) { QCoreApplication::sendEvent(to, &event); };
    const auto move = [&](QEvent::Type type, const IntPoint& p, Qt::MouseButtons buttons) {
        const QPointF at(p.x - view->GetScrollPosition().x, p.y - view->GetScrollPosition().y);
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        return QMouseEvent(type, at, surface->mapToGlobal(at), button, buttons, Qt::NoModifier);
    };
    const struct {
        const char* name;
        std::function<void(const IntPoint& on)> lose;
    } rows[] = {
        {"the release goes to another window",
         [&](const IntPoint& on) { send(&elsewhere, move(QEvent::MouseButtonRelease, on, Qt::NoButton)); }},
        {"a modal window opens over the view",
         [&](const IntPoint&) { send(surface->window(), QEvent(QEvent::WindowBlocked)); }},
        {"the pointer moves on with no button held",
         [&](const IntPoint& on) { send(surface, move(QEvent::MouseMove, on, Qt::NoButton)); }},
    };
    // Each triangle in a third of the drawing of its own.
    double left = 0.05;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const DPoint a = W(left + 0.05, 0.6), to = W(left, 0.7), on = W(left + 0.2, 0.15);
        auto* triangle = new TriangleShape(new VertexShape(a.x, a.y), new VertexShape(W(left + 0.2, 0.6).x, a.y),
                                           new VertexShape(W(left + 0.12, 0.35).x, W(left + 0.12, 0.35).y));
        left += 0.33;
        drawing->AddShape(triangle);
        view->UpdateLayoutFrom(1, 1);
        Mouse(QEvent::MouseButtonPress, P(a));
        Mouse(QEvent::MouseMove, P(to));
        row.lose(P(on));
        EXPECT_EQ(view->GetTracker(), nullptr) << "the drag goes on";
        Mouse(QEvent::MouseMove, P(on));
        const IntPoint corner = P(triangle->GetVertex(0)->GetPoint());
        EXPECT_LE(std::abs(corner.x - P(to).x) + std::abs(corner.y - P(to).y), 1)
            << "corner at " << corner.x << "," << corner.y;
        Command(ID_EDIT_UNDO);
        EXPECT_EQ(triangle->GetVertex(0)->GetPoint(), a) << "undone";
    }
}

// Releasing a dragged vertex lists what lies under it in the pile pane, and
// the pane follows what undo does to the drawing.
TEST_F(DrawingTrackersTest, AVertexReleaseFillsThePilePaneAndUndoRedrawsIt)
{
    RecordingPilePane pane;
    auto* start = new VertexShape(W(0.2, 0.5).x, W(0.2, 0.5).y);
    drawing->AddShape(new SegmentShape(start, new VertexShape(W(0.6, 0.5).x, W(0.6, 0.5).y)));
    drawing->SetTool(drawing::ToolKind::Pointer);
    view->UpdateLayoutFrom(1, 1);
    Drag(W(0.2, 0.5), W(0.3, 0.4));
    ASSERT_NE(drawing->GetPile(), nullptr);
    EXPECT_EQ(pane.shown, drawing);
    ASSERT_GE(drawing->GetPile()->GetEntryCount(), 1);
    EXPECT_EQ(drawing->GetPile()->GetEntry(0).centre, start);
    const int shownBefore = pane.calls;
    Command(ID_EDIT_UNDO);
    EXPECT_GT(pane.calls, shownBefore) << "the pane is drawn again after the undo";
    drawing->DropPile();
}

// While the grabber pans, the view shows the panning cursor.
TEST_F(DrawingTrackersTest, PanningShowsThePanningCursor)
{
    drawing->SetTool(drawing::ToolKind::Grabber);
    const auto shown = [this] { return view->drawingWidget()->cursor().pixmap().toImage(); };
    const IntPoint from = P(W(0.5, 0.5));
    Mouse(QEvent::MouseButtonPress, from);
    Mouse(QEvent::MouseMove, IntPoint(from.x + 12, from.y + 5));
    EXPECT_EQ(shown(), LoadAppCursor(drawing::kPanningCursor).pixmap().toImage());
    Mouse(QEvent::MouseButtonRelease, IntPoint(from.x + 12, from.y + 5));
}

} // namespace
