// A drawing solved by the kernel, on a real X display. The triangle's left
// side is labelled "a"; the drawing's named variable a is locked at 5 while
// the side is drawn 4 long. With the kernel started from the Kernel menu, a
// drag of the free corner is solved by the kernel, which holds the side at
// a: the corner moves out to 5. (The drawing is written through the document
// model: the editor has no command yet that labels a side or edits a named
// variable's value.) Screenshots are kept.
//
// The second test goes the user's whole way: a triangle drawn with the tools,
// its bottom side given a distance constraint whose label is retyped as the
// name b, an equation constraint b=5 typed into the drawing, then a corner of
// that side dragged a little: the kernel makes the side 5 long. Retyped as
// b=6, the next drag makes it 6 long.
//
// With the kernel running, a tangency made with the toolbar moves the
// segment onto the circle at once, and a length typed into its value
// display's dialog is measured by the side at once, without a drag.
#include "DrawingScreen.h"
#include "EditorSession.h"
#include "app/CCorvellDoc.h"
#include "drawing/DiagramComp.h"
#include "drawing/CircleShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/PlotShape.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <functional>
#include <optional>
#include <vector>

namespace {

using namespace drawing_screen;

bool IsBlue(QRgb pixel) { return qBlue(pixel) > 180 && qRed(pixel) < 80 && qGreen(pixel) < 80; }

// The free corner (the topmost blue pixel) and the fixed corner under it
// (the leftmost blue pixel of the bottom row), within an area of the
// screen: below the bars unless another is given.
struct Corners {
    QPoint apex;
    QPoint origin;
    double Height() const { return origin.y() - apex.y(); }
};

std::optional<Corners> Find(const QImage& shot, const QRect& area = {})
{
    const QRect within = area.isEmpty() ? QRect(0, 60, shot.width(), shot.height() - 60) : area;
    std::optional<QPoint> top;
    std::optional<QPoint> bottom;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (IsBlue(shot.pixel(x, y))) {
                if (!top)
                    top = QPoint(x, y);
                if (!bottom || y > bottom->y())
                    bottom = QPoint(x, y);
            }
    if (!top || !bottom)
        return std::nullopt;
    return Corners{*top, *bottom};
}

// The longest horizontal run of dark pixels in the rows of band: its ends.
std::optional<std::pair<QPoint, QPoint>> LongestRun(const QImage& shot, const QRect& band)
{
    std::optional<std::pair<QPoint, QPoint>> longest;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        int start = -1;
        for (int x = band.left(); x <= band.right() + 1; ++x) {
            const bool dark = x <= band.right() && IsDark(shot.pixel(x, y));
            if (dark && start < 0)
                start = x;
            if (!dark && start >= 0) {
                if (!longest || x - 1 - start > longest->second.x() - longest->first.x())
                    longest = std::make_pair(QPoint(start, y), QPoint(x - 1, y));
                start = -1;
            }
        }
    }
    return longest;
}


void WriteDocument(const QString& path)
{
    SaveTriangleDocument(path, 0.0, 4.0, [](DiagramComp& drawing, TriangleShape& triangle) {
        auto* side = new DistanceConstraint(triangle.GetVertex(0), triangle.GetVertex(2));
        auto* text = new CompList;
        ExprNode::AppendCharacters("a", *text);
        side->SetLabel(new DrawLabel(side, &drawing, text));
        drawing.AddConstraint(side);
        drawing.GetVariables().SetNamed("a", 5.0);
        drawing.GetVariables().GetAt(0).variable->SetFixed(true);
    });
}

} // namespace

TEST(DrawingKernelEndToEndTest, TheKernelHoldsTheSideLabelledAAtTheValueOfA)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-kernel";
    EditorSession editor(folder);
    const QString file = folder + "/named-side.vxm";
    WriteDocument(file);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "named-side\\.vxm")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();

    std::optional<Corners> opened;
    ASSERT_TRUE(editor.WaitUntil([&] { return (opened = Find(editor.Grab())).has_value(); }));
    editor.Grab().save(folder + "/opened.png");
    // A small drag to the right: the kernel puts the corner where the side is a long.
    const QPoint start = opened->apex + QPoint(2, 2);
    // The first click on the drawing selects it for editing.
    editor.Click(start.x() + 20, start.y() + 40);
    ASSERT_TRUE(editor.Drag(start, {start + QPoint(3, 0), start + QPoint(6, 0)}));
    std::optional<Corners> solved;
    const bool followed = editor.WaitUntil([&] {
        solved = Find(editor.Grab());
        return solved && solved->Height() > opened->Height() * 1.15;
    });
    editor.Grab().save(folder + "/solved.png");
    ASSERT_TRUE(solved);
    EXPECT_TRUE(followed) << "the side is " << solved->Height() << " pixels high, was " << opened->Height();
    EXPECT_NEAR(std::hypot(solved->apex.x() - solved->origin.x(), solved->Height()), opened->Height() * 5.0 / 4.0,
                opened->Height() * 0.06);
}

TEST(DrawingKernelEndToEndTest, AnEquationTypedIntoTheDrawingDrivesTheSideNamedByItsDistanceLabel)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-kernel-equation";
    EditorSession editor(folder);
    const QString file = folder + "/equation.vxm";
    drawing_screen::SaveNewDocument(file);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "equation\\.vxm")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();
    const QRect screen(0, 60, 1280, 1024 - 60);

    // Element / Drawing: the last item of the Element menu before its separator.
    const std::optional<QRect> box = InsertDrawing(editor, screen);
    ASSERT_TRUE(box) << "no drawing being edited on the screen " << editor.LastError().toStdString();
    const QString barWindow = editor.WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QRect bar = editor.WindowRect(barWindow);
    auto click = [&](const QPoint& at) { editor.Click(at.x(), at.y()); };
    auto at = [&](double fx, double fy) {
        return QPoint(box->left() + int(fx * box->width()), box->top() + int(fy * box->height()));
    };

    // Three corners with the pencil, joined by Triangle; the bottom side is level.
    const QPoint a = at(0.3, 0.75), b = at(0.6, 0.75), c = at(0.4, 0.3);
    click(BarButton(bar, kPencilTool));
    for (const QPoint& corner : {a, b, c})
        click(corner);
    click(BarButton(bar, kPointerTool));
    ASSERT_TRUE(editor.Drag(at(0.05, 0.05), {at(0.5, 0.5), at(0.95, 0.95)}));
    click(BarButton(bar, kTriangle));
    ASSERT_TRUE(editor.WaitForWindow("^Quorvant$", 500).isEmpty()) << "the triangle maker refused the corners";

    // The bottom side gets a distance constraint, and the constraint a label typed as b.
    click((a + b) / 2);
    click(BarButton(bar, kDistance));
    ASSERT_TRUE(editor.WaitForWindow("^Quorvant$", 500).isEmpty()) << "the distance constraint was refused";
    click(BarButton(bar, kTextLabel));
    editor.Type("b");
    const QImage named = editor.Grab();
    named.save(folder + "/named.png");

    // Drawing / Make Equation Constraint, typed b=5; the new dark pixels are its text and underline.
    ASSERT_TRUE(editor.Menu("D&rawing", 'e')) << editor.LastError().toStdString();
    editor.Type("b=5");
    const QImage typed = editor.Grab();
    typed.save(folder + "/typed.png");
    const auto added = BoxOf(box->adjusted(3, 3, -3, -3),
                             [&](int x, int y) { return IsDark(typed.pixel(x, y)) && !IsDark(named.pixel(x, y)); });
    ASSERT_TRUE(added) << "the equation's text does not show";

    // Update solves value edits only; the side follows the equation once a
    // corner of it is dragged with the kernel running.
    click(at(0.9, 0.95));
    ASSERT_TRUE(editor.Menu("D&rawing", 'u')) << editor.LastError().toStdString();
    const QRect sideBand(box->left() + 3, a.y() - 6, box->width() - 6, 13);
    const auto drawn = LongestRun(editor.Grab(), sideBand);
    ASSERT_TRUE(drawn);
    // Drags the right end of the side a little to the right; answers the side's length in pixels once settled.
    auto dragSide = [&](const QString& name) {
        const auto side = LongestRun(editor.Grab(), sideBand);
        EXPECT_TRUE(side);
        if (!side)
            return 0;
        const QPoint end = side->second;
        EXPECT_TRUE(editor.Drag(end, {end + QPoint(3, 0), end + QPoint(6, 0)}));
        int last = -1, length = -2;
        editor.WaitUntil([&] {
            last = std::exchange(length, -2);
            const auto now = LongestRun(editor.Grab(), sideBand);
            length = now ? now->second.x() - now->first.x() : -2;
            return length == last;
        });
        editor.Grab().save(folder + "/" + name);
        return length;
    };
    const int five = dragSide("five.png");
    EXPECT_GT(std::abs(five - (drawn->second.x() - drawn->first.x())), 8) << "the side did not follow b=5";

    // b=6: a click at the right of the 5 puts the caret after it.
    const QPoint afterFive(added->right() - 1, added->top() + added->height() / 3);
    click(afterFive);
    editor.Key("BackSpace");
    editor.Type("6");
    click(at(0.9, 0.95));
    const int six = dragSide("six.png");
    EXPECT_NEAR(double(six) / std::max(five, 1), 6.0 / 5.0, 0.05) << "five: " << five << " px, six: " << six << " px";
}

// The kernel program killed while the free corner of a triangle whose left
// side keeps its length is dragged: the editor's own solver goes on silently,
// the release ends the drag, and only then do the link's error and the
// take-over show. After them the corner stays where it was released whatever
// the pointer does, and each tool of the bar acts.
TEST(DrawingKernelEndToEndTest, AKernelKilledMidDragEndsTheDragAtTheReleaseAndTheToolsWorkAfter)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-kernel-killed";
    EditorSession editor(folder);
    const QString file = folder + "/killed.vxm";
    SaveTriangleDocument(file, 2.0, 3.0, [](DiagramComp& drawing, TriangleShape& triangle) {
        drawing.AddConstraint(new DistanceConstraint(triangle.GetVertex(0), triangle.GetVertex(2)));
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "killed\\.vxm")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();
    std::optional<Corners> opened;
    ASSERT_TRUE(editor.WaitUntil([&] { return (opened = Find(editor.Grab())).has_value(); }));
    const QPoint start = opened->apex + QPoint(2, 2);
    // The first click, inside the triangle, selects the drawing for editing.
    editor.Click(start.x() + 20, start.y() + 40);
    std::optional<QRect> box;
    const QRect screen(0, 60, 1280, 1024 - 60);
    ASSERT_TRUE(editor.WaitUntil([&] { return (box = BoxOf(editor.Grab(), IsActiveFrame, screen)).has_value(); }));
    const QString barWindow = editor.WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QRect bar = editor.WindowRect(barWindow);
    const QRect inside = box->adjusted(4, 4, -4, -4);
    const auto corners = [&] { return Find(editor.Grab(), inside); };
    const auto side = [](const Corners& c) { return std::hypot(c.apex.x() - c.origin.x(), c.Height()); };

    editor.MouseMove(start);
    editor.MouseDown();
    editor.MouseMove(start + QPoint(8, 0));
    std::optional<Corners> moved;
    ASSERT_TRUE(editor.WaitUntil([&] { return (moved = corners()) && moved->apex.x() > opened->apex.x() + 3; }))
        << "the kernel's drag did not move the corner";
    const qint64 kernel = editor.KernelProcessId();
    ASSERT_GT(kernel, 0);
    ASSERT_EQ(::kill(pid_t(kernel), SIGKILL), 0);
    // The next move finds the kernel gone; the editor's solver goes on.
    editor.MouseMove(start + QPoint(30, 6));
    const bool followed = editor.WaitUntil(
        [&] { return editor.Shows("^Quorvant$") || ((moved = corners()) && moved->apex.x() > opened->apex.x() + 15); });
    editor.Grab().save(folder + "/held.png");
    EXPECT_FALSE(editor.Shows("^Quorvant$")) << "a message opened while the button was held";
    EXPECT_TRUE(followed) << "the editor's solver did not go on with the drag";
    editor.MouseUp();
    for (const char* message : {"the link's error", "the editor's solver taking over"})
        ASSERT_TRUE(editor.Answer("^Quorvant$", "Return")) << message << ": " << editor.LastError().toStdString();

    // The pointer wanders over the drawing with no button held, then
    // chooses the Pencil on the bar: the corner stays where it was released.
    const std::optional<Corners> released = corners();
    ASSERT_TRUE(released);
    EXPECT_NEAR(side(*released), side(*opened), 3.0) << "the left side keeps its length";
    for (const QPoint& at : {start + QPoint(-40, 30), start + QPoint(50, 60), start})
        editor.MouseMove(at);
    const QPoint away = box->bottomRight() + QPoint(-5, 30);
    EXPECT_TRUE(ChooseTool(editor, bar, kPencilTool, kPointerTool, away)) << "the pencil's button does not show chosen";
    const std::optional<Corners> after = corners();
    editor.Grab().save(folder + "/released.png");
    ASSERT_TRUE(after);
    EXPECT_LE((after->apex - released->apex).manhattanLength(), 1)
        << "the corner went from " << released->apex.x() << "," << released->apex.y() << " to " << after->apex.x()
        << "," << after->apex.y();
    ASSERT_TRUE(ChooseTool(editor, bar, kPointerTool, kPencilTool, away)) << "the pointer's button does not show chosen";
    UseEachTool(editor, bar, inside, away, [&]() -> std::optional<QPoint> {
        const std::optional<Corners> now = corners();
        return now ? std::optional<QPoint>(now->apex) : std::nullopt;
    });
    editor.Grab().save(folder + "/tools.png");
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}

namespace {

bool IsRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

// The columns the red curve covers inside the drawing (its frame left out).
std::optional<QRect> Curve(const QImage& shot, const QRect& box)
{
    return BoxOf(shot, IsRed, box.adjusted(3, 3, -3, -3));
}

// The curve reaches both sides of the drawing.
bool SpansTheDrawing(const std::optional<QRect>& curve, const QRect& box)
{
    constexpr int kSlack = 12;
    return curve && curve->left() <= box.left() + kSlack && curve->right() >= box.right() - kSlack;
}

} // namespace

// A drawing holding a red plot of sin(x) that a file left waiting for the
// kernel. With the kernel started, the first click that edits the drawing
// computes the curve across it; zoomed out with the magnifier and panned
// with the grabber, the curve is computed again over what the drawing
// shows, so that it always spans the drawing from side to side.
TEST(DrawingKernelEndToEndTest, APlotSpansItsDrawingAfterAZoomAndAPan)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-plot";
    EditorSession editor(folder);
    const QString file = folder + "/plot.vxm";
    drawing_screen::SaveNewDocument(file, [](ParagraphList& paragraphs) {
        auto* drawing = new DiagramComp;
        drawing->GetDC().SetWorldOrigin(DPoint(-2.0, 3.0));
        drawing->SetShowAxes(true);
        auto* function = new CompList;
        ExprNode::AppendCharacters("sin(x)", *function);
        auto* plot = new PlotShape(function, false);
        ShapeStyle red;
        red.lineColour = RGB(255, 0, 0);
        red.penStyle = drawing::kThick;
        plot->SetStyle(red);
        plot->SetPending(true);
        drawing->AddShape(plot);
        auto* paragraph = new ParagraphComp(3);
        paragraph->GetRow()->Append(drawing);
        paragraphs.Append(paragraph);
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "plot\\.vxm")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();
    const QRect screen(0, 60, 1280, 1024 - 60);
    // The drawing's frame: the first thing drawn below the bars.
    std::optional<QRect> frame;
    ASSERT_TRUE(editor.WaitUntil([&] { return (frame = BoxOf(editor.Grab(), IsDark, screen)).has_value(); }));
    editor.Grab().save(folder + "/opened.png");
    EXPECT_FALSE(Curve(editor.Grab(), *frame)) << "a pending plot shows a curve before it was computed";

    editor.Click(frame->center().x(), frame->center().y());
    std::optional<QRect> box;
    ASSERT_TRUE(editor.WaitUntil([&] { return (box = BoxOf(editor.Grab(), IsActiveFrame, screen)).has_value(); }));
    std::optional<QRect> curve;
    const bool computed =
        editor.WaitUntil([&] { return SpansTheDrawing(curve = Curve(editor.Grab(), *box), *box); }, 30000);
    editor.Grab().save(folder + "/computed.png");
    ASSERT_TRUE(computed) << "editing the drawing did not compute its curve across it";

    const QString barWindow = editor.WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QRect bar = editor.WindowRect(barWindow);
    constexpr int kGrabber = drawing_screen::kPointerTool + 2, kMagnifier = drawing_screen::kPointerTool + 3;
    auto click = [&](const QPoint& at) { editor.Click(at.x(), at.y()); };
    const QImage before = editor.Grab();

    // Zoomed out about the middle: the waves come closer and still fill the width.
    click(BarButton(bar, kMagnifier));
    editor.ClickWith("shift", box->center().x(), box->center().y());
    const bool zoomed = editor.WaitUntil(
        [&] {
            const QImage shot = editor.Grab();
            curve = Curve(shot, *box);
            return SpansTheDrawing(curve, *box) && curve->height() < Curve(before, *box)->height() * 3 / 4;
        },
        30000);
    editor.Grab().save(folder + "/zoomed.png");
    EXPECT_TRUE(zoomed) << "after zooming out the curve does not span the drawing";

    // Panned to the right by a fifth of the width: the curve still reaches the left side.
    click(BarButton(bar, kGrabber));
    const QPoint from = box->center();
    ASSERT_TRUE(editor.Drag(from, {from + QPoint(box->width() / 10, 0), from + QPoint(box->width() / 5, 0)}));
    const bool panned =
        editor.WaitUntil([&] { return SpansTheDrawing(curve = Curve(editor.Grab(), *box), *box); }, 30000);
    editor.Grab().save(folder + "/panned.png");
    EXPECT_TRUE(panned) << "after panning the curve does not span the drawing";
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}

namespace {

bool IsOrange(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) > 100 && qGreen(pixel) < 190 && qBlue(pixel) < 60; }
bool IsCyan(QRgb pixel) { return qRed(pixel) < 60 && qGreen(pixel) > 140 && qBlue(pixel) > 140; }
// A value display's text while it shows its variable's value.
bool IsPurple(QRgb pixel) { return qRed(pixel) > 130 && qGreen(pixel) < 70 && qBlue(pixel) > 160; }

const QRect kBelowBars(0, 60, 1280, 1024 - 60);
constexpr int kTangent = 34069;

ShapeStyle Thick(COLORREF colour)
{
    ShapeStyle style;
    style.lineColour = colour;
    style.penStyle = drawing::kThick;
    return style;
}

// The leftmost and the rightmost cyan pixel within: the segment's ends.
std::optional<std::pair<QPoint, QPoint>> SegmentEnds(const QImage& shot, const QRect& within)
{
    std::optional<QPoint> left, right;
    for (int x = within.left(); x <= within.right(); ++x)
        for (int y = within.top(); y <= within.bottom(); ++y)
            if (IsCyan(shot.pixel(x, y))) {
                if (!left)
                    left = QPoint(x, y);
                right = QPoint(x, y);
            }
    if (!left)
        return std::nullopt;
    return std::make_pair(*left, *right);
}

double DistanceToLine(const QPointF& p, const std::pair<QPoint, QPoint>& line)
{
    const QPointF a = line.first, b = line.second;
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    return std::abs((b.x() - a.x()) * (a.y() - p.y()) - (a.x() - p.x()) * (b.y() - a.y())) / std::max(length, 1.0);
}

} // namespace

// An orange circle, a cyan segment above it and a point away from both,
// over the segment;
// the three selected with clicks, Make Tangent: the segment lies on the
// circle at once, before any drag.
TEST(DrawingKernelEndToEndTest, ATangencyMadeWithTheKernelRunningMovesTheSegmentAtOnce)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-kernel-tangent";
    EditorSession editor(folder);
    const QString file = folder + "/tangent.vxm";
    SaveTriangleDocument(file, 2.0, 3.0, [](DiagramComp& drawing, TriangleShape&) {
        auto* circle = new CircleShape(new VertexShape(7.0, 4.5), new DrawVariable(1.0, false), Thick(RGB(255, 150, 0)));
        drawing.AddShape(circle);
        auto* segment = new SegmentShape(new VertexShape(5.5, 6.0), new VertexShape(8.5, 6.3));
        segment->SetStyle(Thick(RGB(0, 200, 200)));
        drawing.AddShape(segment);
        drawing.AddShape(new VertexShape(7.3, 6.6));
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "tangent\\.vxm")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();

    std::optional<QRect> circle;
    std::optional<std::pair<QPoint, QPoint>> before;
    ASSERT_TRUE(editor.WaitUntil([&] {
        const QImage shot = editor.Grab();
        circle = BoxOf(shot, IsOrange, kBelowBars);
        before = SegmentEnds(shot, kBelowBars);
        return circle && before;
    })) << "no circle or segment on the screen";
    const QPointF centre = QRectF(*circle).center();
    const double unit = circle->width() / 2.0;
    const QPoint point = (centre + QPointF(0.3 * unit, -2.1 * unit)).toPoint();
    // The first click, inside the circle away from its centre, selects the
    // drawing for editing; then the segment, the circle and the point.
    editor.Click(int(centre.x()), int(centre.y() - unit / 2));
    std::optional<QRect> box;
    ASSERT_TRUE(editor.WaitUntil([&] { return (box = BoxOf(editor.Grab(), IsActiveFrame, kBelowBars)).has_value(); }));
    const QPoint middle = (before->first + before->second) / 2;
    editor.Click(middle.x(), middle.y());
    editor.ClickWith("shift", circle->left() + 1, int(centre.y()));
    editor.ClickWith("shift", point.x(), point.y());
    editor.Grab().save(folder + "/selected.png");
    const QString barWindow = editor.WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QPoint button = BarButton(editor.WindowRect(barWindow), kTangent);
    editor.Click(button.x(), button.y());
    ASSERT_TRUE(editor.WaitForWindow("^Quorvant$", 500).isEmpty()) << "the tangency maker refused the selection";

    // The circle may give way too: its centre and radius are read again,
    // inside the drawing (the floating bar has colours of its own), whose
    // frame is read from the same shot: one read while it was being painted
    // would hide the figure.
    std::optional<std::pair<QPoint, QPoint>> after;
    double apart = 0.0, radius = 0.0;
    const bool tangent = editor.WaitUntil([&] {
        const QImage shot = editor.Grab();
        box = BoxOf(shot, IsActiveFrame, kBelowBars);
        if (!box)
            return false;
        const QRect inside = box->adjusted(3, 3, -3, -3);
        after = SegmentEnds(shot, inside);
        circle = BoxOf(shot, IsOrange, inside);
        if (!after || !circle)
            return false;
        apart = DistanceToLine(QRectF(*circle).center(), *after);
        radius = circle->width() / 2.0;
        return *after != *before && std::abs(apart - radius) < 4.0;
    });
    editor.Grab().save(folder + "/tangent.png");
    EXPECT_TRUE(tangent) << "the segment's line passes " << apart << " pixels from the centre; the radius is "
                         << radius;
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}

// The triangle's left side has a locked length with a value display on its
// mark. Ctrl+click on the display, 4 typed, OK: the side measures 4 at once.
TEST(DrawingKernelEndToEndTest, ALengthTypedWithTheKernelRunningIsMeasuredAtOnce)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-kernel-length";
    EditorSession editor(folder);
    const QString file = folder + "/length.vxm";
    SaveTriangleDocument(file, 2.0, 3.0, [](DiagramComp& drawing, TriangleShape& triangle) {
        auto* side = new DistanceConstraint(triangle.GetVertex(0), triangle.GetVertex(2));
        auto* row = new CompList;
        row->Append(new DrawValueComp(side->GetVariable(0)));
        side->SetLabel(new DrawLabel(side, &drawing, row));
        drawing.AddConstraint(side);
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "length\\.vxm")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();

    std::optional<QRect> display;
    std::optional<Corners> opened;
    ASSERT_TRUE(editor.WaitUntil([&] {
        const QImage shot = editor.Grab();
        display = BoxOf(shot, IsPurple, kBelowBars);
        opened = Find(shot);
        return display && opened;
    })) << "no value display or triangle on the screen";
    editor.Grab().save(folder + "/opened.png");
    auto side = [](const Corners& c) { return std::hypot(c.apex.x() - c.origin.x(), c.Height()); };

    editor.ClickWith("ctrl", display->center().x(), display->center().y());
    ASSERT_FALSE(editor.WaitForWindow("^Variable Properties$").isEmpty()) << "Ctrl+click on the display opened nothing";
    editor.Key("ctrl+a");
    editor.Type("4");
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForWindowGone("^Variable Properties$"));
    const double wanted = side(*opened) * 4.0 / std::sqrt(13.0);
    std::optional<Corners> typed;
    const bool measured = editor.WaitUntil([&] {
        typed = Find(editor.Grab());
        return typed && std::abs(side(*typed) - wanted) < 4.0;
    });
    editor.Grab().save(folder + "/typed.png");
    ASSERT_TRUE(typed);
    EXPECT_TRUE(measured) << "the side is " << side(*typed) << " pixels long, " << wanted << " wanted";
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
