// A drawing as a person uses it, on a real X display: a triangle whose two
// sides are held equal, with two corners fixed, is opened; its free corner
// is dragged with the mouse, the drag is undone and redone. After each step
// a screenshot must show the drawing as the model holds it: the screen
// used to keep the old picture until another window covered it.
#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include "DrawingScreen.h"
#include "EditorSession.h"
#include "ModelDocument.h"
#include "app/CCorvellDoc.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/LineConstraints.h"
#include "drawing/GroupConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>

namespace {

using namespace drawing_screen;

// The triangle's line colour: blue, or red while it is selected.
bool IsTriangle(QRgb pixel)
{
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    return g < 80 && ((b > 180 && r < 80) || (r > 180 && b < 80));
}

// The topmost pixel of the triangle on the screen: its free corner. The
// search starts below the menu bar and the tool bar, whose icons have blue.
std::optional<QPoint> Apex(const QString& path)
{
    constexpr int kBelowBars = 60;
    const QImage shot(path);
    for (int y = kBelowBars; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (IsTriangle(shot.pixel(x, y)))
                return QPoint(x, y);
    return std::nullopt;
}

// Takes screenshots until the apex satisfies the test (or time runs out);
// answers the last apex seen.
std::optional<QPoint> WaitForApex(EditorSession& editor, const QString& path,
                                  const std::function<bool(const QPoint&)>& test)
{
    QElapsedTimer timer;
    timer.start();
    std::optional<QPoint> apex;
    do {
        if (editor.Screenshot(path))
            apex = Apex(path);
        if (apex && test(*apex))
            break;
        QThread::msleep(200);
    } while (timer.elapsed() < EditorSession::kPatience);
    return apex;
}

// An equilateral triangle of side 4: corners 0 and 1 fixed, sides 0 and 1
// equal, so the free corner moves on a circle about corner 1.
void WriteTriangleDocument(const QString& path)
{
    SaveTriangleDocument(path, 2.0, 2.0 * std::sqrt(3.0), [](DiagramComp& drawing, TriangleShape& triangle) {
        drawing.AddConstraint(new EqualLengthConstraint({triangle.GetSide(0), triangle.GetSide(1)}));
    });
}

} // namespace

TEST(DrawingEndToEndTest, ADraggedCornerShowsWhereTheModelHoldsItThroughUndoAndRedo)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing";
    EditorSession editor(folder);
    const QString file = folder + "/triangle.vxm";
    WriteTriangleDocument(file);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "triangle\\.vxm")) << editor.LastError().toStdString();

    const std::optional<QPoint> opened =
        WaitForApex(editor, folder + "/opened.png", [](const QPoint&) { return true; });
    ASSERT_TRUE(opened) << "no triangle on the screen";
    // The topmost pixel is the corner of the vertex mark, two pixels from its middle.
    const QPoint start = *opened + QPoint(2, 2);
    // The first click on the drawing selects it for editing.
    editor.Click(start.x(), start.y() + 40);
    // Left and down, along the circle about the fixed corner.
    ASSERT_TRUE(editor.Drag(start, {start + QPoint(-8, 4), start + QPoint(-20, 10), start + QPoint(-40, 30)}));
    auto moved = [&](const QPoint& apex) { return (apex - *opened).manhattanLength() > 10; };
    const std::optional<QPoint> dragged = WaitForApex(editor, folder + "/dragged.png", moved);
    ASSERT_TRUE(dragged && moved(*dragged))
        << "the dragged corner does not show where it went: from " << opened->x() << "," << opened->y() << " to "
        << (dragged ? dragged->x() : -1) << "," << (dragged ? dragged->y() : -1);

    ASSERT_TRUE(editor.FocusMain());
    editor.Key("ctrl+z");
    auto back = [&](const QPoint& apex) { return (apex - *opened).manhattanLength() <= 2; };
    const std::optional<QPoint> undone = WaitForApex(editor, folder + "/undone.png", back);
    EXPECT_TRUE(undone && back(*undone)) << "undo does not show the corner back in its place";

    editor.Key("ctrl+z");
    auto again = [&](const QPoint& apex) { return (apex - *dragged).manhattanLength() <= 2; };
    const std::optional<QPoint> redone = WaitForApex(editor, folder + "/redone.png", again);
    EXPECT_TRUE(redone && again(*redone)) << "redo does not show the corner moved again";
}

namespace {

// The dark pixels inside the drawing (its frame left out): the figure.
std::vector<QPoint> Figure(const QImage& shot, const QRect& box)
{
    std::vector<QPoint> points;
    const QRect inside = box.adjusted(3, 3, -3, -3);
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (IsDark(shot.pixel(x, y)))
                points.emplace_back(x, y);
    return points;
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Reads a document as the editor does and writes it again elsewhere.
void Resave(const QString& from, const QString& to, const std::function<void(DiagramComp&)>& check)
{
    ModelDocument model(true);
    CCorvellDoc& doc = model.doc;
    ASSERT_TRUE(doc.OnOpenDocument(from.toUtf8().constData()));
    DiagramComp* drawing = nullptr;
    ParagraphList& paragraphs = *doc.GetParagraphList();
    for (int p = 1; p <= paragraphs.GetCount() && !drawing; ++p)
        for (int i = 1; i <= paragraphs.GetAt(p)->GetRow()->GetCount() && !drawing; ++i)
            drawing = dynamic_cast<DiagramComp*>(paragraphs.GetAt(p)->GetRow()->GetAt(i));
    ASSERT_NE(drawing, nullptr) << "the saved document holds no drawing";
    check(*drawing);
    ASSERT_TRUE(doc.OnSaveDocument(to.toUtf8().constData()));
}

// The length of the longest horizontal run of figure pixels.
int LongestRow(const std::vector<QPoint>& figure)
{
    int longest = 0, run = 0;
    QPoint last(-10, -10);
    for (const QPoint& p : figure) {  // row by row, left to right
        run = (p.y() == last.y() && p.x() == last.x() + 1) ? run + 1 : 1;
        longest = std::max(longest, run);
        last = p;
    }
    return longest;
}

} // namespace

// The whole way of a user: a drawing inserted from the Element menu, three
// pencil clicks, the corners selected by a band and made a triangle, one
// side held horizontal and a right angle made between two sides from the
// toolbar, a corner dragged and the drag undone, the document saved and
// opened again.
TEST(DrawingEndToEndTest, ATriangleDrawnWithTheToolsIsConstrainedDraggedUndoneSavedAndReopened)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-tools";
    EditorSession editor(folder);
    const QString file = folder + "/drawn.vxm";
    drawing_screen::SaveNewDocument(file);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "drawn\\.vxm")) << editor.LastError().toStdString();
    const QRect screen(0, 60, 1280, 1024 - 60);

    // Insert / Drawing: the last item of the Element menu before its separator.
    ASSERT_TRUE(editor.FocusMain());
    const std::optional<QRect> box = InsertDrawing(editor, screen);
    ASSERT_TRUE(box) << "no drawing being edited on the screen " << editor.LastError().toStdString();

    const QString barWindow = editor.WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QRect bar = editor.WindowRect(barWindow);

    // Three pencil clicks: three corners, the first a right angle nearly.
    auto at = [&](double fx, double fy) {
        return QPoint(box->left() + int(fx * box->width()), box->top() + int(fy * box->height()));
    };
    const QPoint a = at(0.3, 0.72), b = at(0.7, 0.64), c = at(0.36, 0.3);
    editor.Click(BarButton(bar, kPencilTool).x(), BarButton(bar, kPencilTool).y());
    for (const QPoint& corner : {a, b, c})
        editor.Click(corner.x(), corner.y());
    ASSERT_TRUE(editor.Screenshot(folder + "/corners.png"));

    // The pointer's band selects the corners; Triangle joins them.
    editor.Click(BarButton(bar, kPointerTool).x(), BarButton(bar, kPointerTool).y());
    ASSERT_TRUE(editor.Drag(at(0.05, 0.05), {at(0.5, 0.5), at(0.95, 0.95)}));
    editor.Click(BarButton(bar, kTriangle).x(), BarButton(bar, kTriangle).y());
    ASSERT_TRUE(editor.Screenshot(folder + "/triangle.png"));
    ASSERT_TRUE(editor.WaitForWindow("^Quorvant$", 500).isEmpty()) << "the triangle maker refused the corners";

    // The side from a to b, selected by a click on its middle, is held horizontal.
    const QPoint middle = (a + b) / 2;
    editor.Click(middle.x(), middle.y());
    editor.Click(BarButton(bar, kHorizontal).x(), BarButton(bar, kHorizontal).y());
    ASSERT_TRUE(editor.WaitForWindow("^Quorvant$", 500).isEmpty()) << "the horizontal constraint was refused";
    // The sides from a to b and from a to c make a right angle; a and b
    // have met half way at once, level with the middle of their side.
    editor.Click(middle.x(), middle.y());
    const QPoint other = (QPoint(a.x(), middle.y()) + c) / 2;
    editor.ClickWith("shift", other.x(), other.y());
    editor.Click(BarButton(bar, kPerpendicular).x(), BarButton(bar, kPerpendicular).y());
    ASSERT_TRUE(editor.WaitForWindow("^Quorvant$", 500).isEmpty()) << "the right angle was refused";

    // A click beside the drawing ends its editing: the picture shows no selection.
    const QRect main = editor.MainWindowRect();
    const QPoint beside(std::min(main.right() - 20, box->right() + 40), box->bottom() + 10);
    // The figure once two screenshots in a row agree: the screen has caught up.
    auto settled = [&](const QString& name) {
        std::vector<QPoint> last, figure;
        editor.WaitUntil([&] {
            last = std::exchange(figure, {});
            editor.Screenshot(folder + "/" + name);
            figure = Figure(QImage(folder + "/" + name), *box);
            return !figure.empty() && figure == last;
        });
        return figure;
    };
    editor.Click(beside.x(), beside.y());
    const std::vector<QPoint> constrained = settled("constrained.png");
    ASSERT_FALSE(constrained.empty());
    // The corner b is the figure's rightmost mark.
    const int right = std::max_element(constrained.begin(), constrained.end(), [](const QPoint& p, const QPoint& q) {
                          return p.x() < q.x();
                      })->x();
    QPoint corner;
    int marks = 0;
    for (const QPoint& p : constrained)
        if (p.x() >= right - 4) {
            corner += p;
            ++marks;
        }
    corner /= marks;

    // The corner b dragged down: the horizontal side and the right angle
    // are kept on the way; undo puts everything back.
    editor.Click(box->center().x(), box->center().y());  // the drawing again
    ASSERT_TRUE(editor.Drag(corner, {corner + QPoint(5, 10), corner + QPoint(10, 20), corner + QPoint(10, 30)}));
    editor.Click(beside.x(), beside.y());
    const std::vector<QPoint> dragged = settled("dragged.png");
    editor.Click(box->center().x(), box->center().y());
    ASSERT_TRUE(editor.FocusMain());
    editor.Key("ctrl+z");
    editor.Click(beside.x(), beside.y());
    const std::vector<QPoint> undone = settled("undone.png");
    EXPECT_NE(dragged, constrained) << "the drag moved nothing";
    EXPECT_EQ(undone, constrained) << "undo did not put the figure back";
    EXPECT_GT(LongestRow(dragged), (b - a).x() / 2) << "the dragged side is not horizontal";

    // Saved, closed and opened again, the drawing looks the same.
    ASSERT_TRUE(editor.FocusMain());
    ASSERT_TRUE(editor.SaveWithKeys(file)) << "the document was not saved";
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
    ASSERT_TRUE(editor.Start({file}, "drawn\\.vxm")) << editor.LastError().toStdString();
    std::vector<QPoint> reopened;
    editor.WaitUntil([&] {
        reopened = settled("reopened.png");
        return reopened == undone;
    });
    EXPECT_EQ(reopened, undone) << "the reopened drawing looks different";
    EXPECT_EQ(editor.QuitDiscarding(), 0);

    // The model: a triangle with a right angle whose side a-b is
    // horizontal, written back byte for byte.
    const QString again = folder + "/drawn-again.vxm";
    Resave(file, again, [](DiagramComp& drawing) {
        ASSERT_EQ(drawing.GetShapes().GetCount(), 1);
        auto* triangle = dynamic_cast<TriangleShape*>(drawing.GetShapes().GetAt(0));
        ASSERT_NE(triangle, nullptr) << "the shape is no triangle";
        ASSERT_EQ(drawing.GetConstraints().GetCount(), 2);
        EXPECT_TRUE(drawing.GetConstraints().GetAt(0)->GetTag() == tag_horC);
        EXPECT_TRUE(drawing.GetConstraints().GetAt(1)->GetTag() == tag_PerC);
        // One of the corners is a right angle.
        double leastCosine = 1;
        for (int i = 0; i < 3; ++i) {
            const DPoint p = triangle->GetVertex(i)->GetPoint(), q = triangle->GetVertex((i + 1) % 3)->GetPoint(),
                         r = triangle->GetVertex((i + 2) % 3)->GetPoint();
            const double dot = (q.x - p.x) * (r.x - p.x) + (q.y - p.y) * (r.y - p.y);
            leastCosine = std::min(leastCosine, std::abs(dot) / (std::hypot(q.x - p.x, q.y - p.y) *
                                                                 std::hypot(r.x - p.x, r.y - p.y)));
        }
        EXPECT_LT(leastCosine, 1e-6) << "the triangle has no right angle";
    });
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(Bytes(again), Bytes(file)) << "the reopened document is not written back identically";
}

// A label typed into a drawing shows; closing the document while a corner
// is being dragged ends the drag with the window: the program goes on and
// quits cleanly.
TEST(DrawingEndToEndTest, ClosingTheDocumentDuringADragEndsItCleanly)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-close";
    EditorSession editor(folder);
    const QString file = folder + "/triangle.vxm";
    WriteTriangleDocument(file);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "triangle\\.vxm")) << editor.LastError().toStdString();
    const std::optional<QPoint> opened =
        WaitForApex(editor, folder + "/opened.png", [](const QPoint&) { return true; });
    ASSERT_TRUE(opened) << "no triangle on the screen";
    const QPoint start = *opened + QPoint(2, 2);
    editor.Click(start.x(), start.y() + 40);  // selects the drawing for editing

    // A free text label, typed into.
    const QString barWindow = editor.WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QRect bar = editor.WindowRect(barWindow);
    ASSERT_TRUE(editor.Screenshot(folder + "/selected.png"));
    const std::optional<QRect> box = BoxOf(QImage(folder + "/selected.png"), IsActiveFrame, QRect(0, 60, 1280, 964));
    ASSERT_TRUE(box) << "the drawing is not being edited";
    const size_t marks = Figure(QImage(folder + "/selected.png"), *box).size();
    editor.Click(BarButton(bar, kTextLabel).x(), BarButton(bar, kTextLabel).y());
    editor.Type("abc");
    EXPECT_TRUE(editor.WaitUntil([&] {
        editor.Screenshot(folder + "/typed.png");
        return Figure(QImage(folder + "/typed.png"), *box).size() > marks + 20;
    })) << "the typed label does not show";

    editor.MouseMove(start);
    editor.MouseDown();
    editor.MouseMove(start + QPoint(-10, 5));
    editor.MouseMove(start + QPoint(-20, 10));
    ASSERT_TRUE(editor.FocusMain());
    ASSERT_TRUE(editor.Menu("&File", 'c')) << editor.LastError().toStdString();
    const QString ask = editor.WaitForWindow("^Quorvant$", 5000);
    if (!ask.isEmpty()) {
        editor.Focus(ask);
        editor.Key("alt+n");
    }
    editor.MouseMove(start + QPoint(-30, 20));
    editor.MouseUp();
    ASSERT_TRUE(editor.WaitForWindowGone("triangle\\.vxm")) << "the document did not close";
    editor.Screenshot(folder + "/closed.png");
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}

namespace {

// A value display's text while it shows its variable's value.
bool IsPurple(QRgb pixel)
{
    return qRed(pixel) > 130 && qGreen(pixel) < 70 && qBlue(pixel) > 160;
}

bool IsBlue(QRgb pixel)
{
    return qBlue(pixel) > 180 && qRed(pixel) < 80 && qGreen(pixel) < 80;
}

// The screen below the menu bar and the tool bar, whose icons have colours.
const QRect kBelowBars(0, 60, 1280, 1024 - 60);

// The topmost blue pixel: the triangle's free corner.
std::optional<QPoint> BlueApex(const QImage& shot)
{
    for (int y = kBelowBars.top(); y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (IsBlue(shot.pixel(x, y)))
                return QPoint(x, y);
    return std::nullopt;
}

} // namespace

// A value display of the free corner's x stands beside the triangle. A
// Ctrl+click on it opens its variable's properties: the value typed as 3
// and "Locked" checked, the corner moves to x = 3; Edit > Undo puts it back,
// Edit > Redo moves it again, and it stays locked there, as the saved
// document shows.
TEST(DrawingEndToEndTest, AValueDisplayLocksAndMovesItsVariableThroughItsDialog)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-value";
    EditorSession editor(folder);
    const QString file = folder + "/value.vxm";
    SaveTriangleDocument(file, 2.0, 3.0, [](DiagramComp& drawing, TriangleShape& triangle) {
        auto* row = new CompList;
        row->Append(new DrawValueComp(triangle.GetVertex(2)->GetXVar()));
        drawing.AddLabel(new DrawLabel(&drawing, DPoint(6.0, 4.0), DPoint(0.0, 0.0), true, row));
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "value\\.vxm")) << editor.LastError().toStdString();

    std::optional<QRect> display;
    std::optional<QPoint> apex;
    ASSERT_TRUE(editor.WaitUntil([&] {
        const QImage shot = editor.Grab();
        display = BoxOf(shot, IsPurple, kBelowBars);
        apex = BlueApex(shot);
        return display && apex;
    })) << "no value display or triangle on the screen";
    editor.Grab().save(folder + "/opened.png");

    editor.ClickWith("ctrl", display->center().x(), display->center().y());
    const QString dialog = editor.WaitForWindow("^Variable Properties$");
    ASSERT_FALSE(dialog.isEmpty()) << "Ctrl+click on the value display opened nothing";
    editor.Grab().save(folder + "/dialog.png");
    editor.Key("ctrl+a");
    editor.Type("3");
    editor.Key("Tab");
    editor.Key("space");
    editor.Grab().save(folder + "/locking.png");
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForWindowGone("^Variable Properties$"));

    // The corner goes right by a quarter of the base (some 33 pixels).
    std::optional<QPoint> moved;
    const bool followed = editor.WaitUntil(
        [&] {
            moved = BlueApex(editor.Grab());
            return moved && moved->x() > apex->x() + 20 && std::abs(moved->y() - apex->y()) <= 2;
        },
        20000);
    editor.Grab().save(folder + "/locked.png");
    ASSERT_TRUE(followed) << "the corner did not move to the value typed";

    // The value typed is one step: undo shows the corner back in its place, redo moves it again.
    ASSERT_TRUE(editor.FocusMain());
    for (const auto& step : {std::pair{"/undone.png", *apex}, std::pair{"/redone.png", *moved}}) {
        const QString shot = step.first;
        const QPoint place = step.second;
        editor.Key("ctrl+z");
        std::optional<QPoint> shown;
        const bool there = editor.WaitUntil([&] {
            shown = BlueApex(editor.Grab());
            return shown && (*shown - place).manhattanLength() <= 2;
        });
        editor.Grab().save(folder + shot);
        EXPECT_TRUE(there) << shot.toStdString() << ": the corner is not where the step leaves it";
    }
    ASSERT_TRUE(editor.SaveWithKeys(file)) << "the document was not saved";
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
    Resave(file, folder + "/value-again.vxm", [](DiagramComp& drawing) {
        auto* shape = dynamic_cast<TriangleShape*>(drawing.GetShapes().GetAt(0));
        ASSERT_NE(shape, nullptr);
        DrawVariable* x = shape->GetVertex(2)->GetXVar();
        EXPECT_TRUE(x->IsFixed()) << "the corner's x is not locked";
        EXPECT_NEAR(x->GetValue(), 3.0, 1e-9);
    });
}

// The triangle selected by a band is copied and pasted inside its drawing:
// the copy comes in selected (red) over the original; undo takes it out
// again (the original shows blue), redo puts it back. The documents saved
// after each step hold the segment beside the triangle and two triangles,
// one, then two again. Then a rectangle is made on the segment (it takes
// the segment's own ends) and both ends are deleted: nothing stays at
// either end, the rectangle's far side alone is left; undo brings back the
// segment, the rectangle and the two ends selected; redo takes out the
// same again.
TEST(DrawingEndToEndTest, ShapesCopiedAndPastedWithinADrawingAreUndoneAndRedone)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/drawing-paste";
    EditorSession editor(folder);
    const QString file = folder + "/paste.vxm";
    SaveTriangleDocument(file, 2.0, 3.0, [](DiagramComp& drawing, TriangleShape&) {
        drawing.AddShape(new SegmentShape(new VertexShape(5.5, 0.0), new VertexShape(7.5, 0.0)));
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "paste\\.vxm")) << editor.LastError().toStdString();

    std::optional<QRect> triangle;
    ASSERT_TRUE(editor.WaitUntil([&] { return (triangle = BoxOf(editor.Grab(), IsBlue, kBelowBars)).has_value(); }));
    // The first click selects the drawing for editing; a band around the
    // triangle selects it (drawn red).
    editor.Click(triangle->center().x(), triangle->bottom() + 30);
    std::optional<QRect> box;
    ASSERT_TRUE(editor.WaitUntil([&] { return (box = BoxOf(editor.Grab(), IsActiveFrame, kBelowBars)).has_value(); }));
    const QPoint from = triangle->topLeft() - QPoint(15, 15);
    ASSERT_TRUE(editor.Drag(from, {from + QPoint(20, 20), triangle->bottomRight() + QPoint(15, 15)}));
    auto isRed = [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80; };
    ASSERT_TRUE(editor.WaitUntil([&] { return BoxOf(editor.Grab(), isRed, *box).has_value(); }))
        << "the band selected nothing";
    editor.Grab().save(folder + "/selected.png");

    auto saveAndCount = [&](const QString& name) {
        EXPECT_TRUE(editor.SaveWithKeys(file)) << "the document was not saved";
        int shapes = -1;
        Resave(file, folder + "/" + name, [&](DiagramComp& drawing) { shapes = drawing.GetShapes().GetCount(); });
        return shapes;
    };
    ASSERT_TRUE(editor.FocusMain());
    editor.Key("ctrl+c");
    editor.Key("ctrl+v");
    editor.Grab().save(folder + "/pasted.png");
    EXPECT_EQ(saveAndCount("pasted.vxm"), 3) << "the paste added no triangle";
    editor.Key("ctrl+z");
    ASSERT_TRUE(editor.WaitUntil([&] { return !BoxOf(editor.Grab(), isRed, *box).has_value(); }))
        << "the undone paste still shows selected";
    editor.Grab().save(folder + "/undone.png");
    EXPECT_EQ(saveAndCount("undone.vxm"), 2) << "undo left the pasted triangle";
    editor.Key("ctrl+z");
    ASSERT_TRUE(editor.WaitUntil([&] { return BoxOf(editor.Grab(), isRed, *box).has_value(); }))
        << "redo does not show the pasted triangle selected";
    editor.Grab().save(folder + "/redone.png");
    EXPECT_EQ(saveAndCount("redone.vxm"), 3) << "redo did not put the triangle back";

    // The segment is the drawing's only black figure; its ends are its marks.
    const QRect inside = box->adjusted(3, 3, -3, -3);
    const std::optional<QRect> segment = BoxOf(editor.Grab(), IsDark, inside);
    ASSERT_TRUE(segment) << "no segment on the screen";
    const QPoint start(segment->left() + 2, segment->center().y()), end(segment->right() - 2, segment->center().y());
    // What is drawn at an end: its mark, black or red while selected.
    auto isMark = [&](QRgb p) { return IsDark(p) || isRed(p); };
    auto marked = [&](const QImage& shot, const QPoint& at) {
        return BoxOf(shot, isMark, QRect(at - QPoint(3, 3), QSize(7, 7))).has_value();
    };
    auto ends = [&](bool shown) {
        return editor.WaitUntil([&] {
            const QImage shot = editor.Grab();
            return marked(shot, start) == shown && marked(shot, end) == shown;
        });
    };
    const QString barWindow = editor.WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QPoint rectangle = BarButton(editor.WindowRect(barWindow), kRectangle);
    editor.Click(segment->center().x(), segment->center().y());
    editor.Click(rectangle.x(), rectangle.y());
    ASSERT_TRUE(editor.WaitForWindow("^Quorvant$", 500).isEmpty()) << "the rectangle maker refused the segment";
    editor.Click(start.x(), start.y());
    editor.ClickWith("shift", end.x(), end.y());
    editor.Grab().save(folder + "/ends-selected.png");
    ASSERT_TRUE(editor.FocusMain());
    editor.Key("BackSpace");
    EXPECT_TRUE(ends(false)) << "a deleted end still shows";
    editor.Grab().save(folder + "/ends-deleted.png");
    EXPECT_EQ(saveAndCount("ends-deleted.vxm"), 3) << "two triangles and the rectangle's far side are not all left";
    editor.Key("ctrl+z");
    EXPECT_TRUE(ends(true)) << "undo does not show both ends again";
    editor.Grab().save(folder + "/ends-undone.png");
    EXPECT_EQ(saveAndCount("ends-undone.vxm"), 4) << "undo did not bring back the segment and the rectangle";
    editor.Key("ctrl+z");
    EXPECT_TRUE(ends(false)) << "redo leaves an end";
    editor.Grab().save(folder + "/ends-redone.png");
    EXPECT_EQ(saveAndCount("ends-redone.vxm"), 3) << "redo removed something else";

    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}

// Each tool chosen with its own button on the floating drawing bar, after a
// triangle was made, with the kernel running and not: the pointer's band
// leaves no line behind; each button shows pressed (the pointer's no
// longer); the pencil draws a segment where the mouse is dragged, the
// grabber moves the figure by the drag, the magnifier zooms in about the
// click.
TEST(DrawingEndToEndTest, EachToolOfTheDrawingBarActsInTheDrawing)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    for (const bool withKernel : {false, true}) {
        SCOPED_TRACE(withKernel ? "kernel running" : "no kernel");
        const QString folder = QString(QV_TEST_OUTPUT) + (withKernel ? "/drawing-tools-kernel" : "/drawing-tools-alone");
        EditorSession editor(folder);
        const QString file = folder + "/tools.vxm";
        SaveNewDocument(file);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(editor.Start({file}, "tools\\.vxm")) << editor.LastError().toStdString();
        if (withKernel) {
            ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();
        }
        // A new drawing, and a triangle made in it.
        ASSERT_TRUE(editor.FocusMain());
        const std::optional<QRect> box = InsertDrawing(editor, kBelowBars);
        ASSERT_TRUE(box) << "no drawing being edited on the screen " << editor.LastError().toStdString();
        const QString barWindow = editor.WaitForWindow("^Drawing$");
        ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
        const QRect bar = editor.WindowRect(barWindow);
        const QRect inside = box->adjusted(4, 4, -4, -4);
        auto figure = [&](const QImage& shot) { return BoxOf(shot, IsDark, inside); };
        editor.Click(BarButton(bar, kTriangle).x(), BarButton(bar, kTriangle).y());
        std::optional<QRect> triangle;
        ASSERT_TRUE(editor.WaitUntil([&] { return (triangle = figure(editor.Grab())).has_value(); }))
            << "the triangle maker drew nothing";

        // The pointer's band in an empty corner: once released, the corner
        // shows as it did before.
        const QRect corner(inside.topLeft() + QPoint(6, 6), QSize(60, 50));
        const QImage empty = editor.Grab().copy(corner);
        ASSERT_TRUE(editor.Drag(corner.topLeft() + QPoint(4, 4), {corner.center(), corner.bottomRight() - QPoint(8, 8)}));
        EXPECT_TRUE(editor.WaitUntil([&] { return editor.Grab().copy(corner) == empty; }))
            << "the band's line stays on the screen";

        // The grabber and the magnifier act on the triangle's apex, its topmost pixel.
        const auto apex = [&]() -> std::optional<QPoint> {
            const QImage shot = editor.Grab();
            const std::optional<QRect> found = figure(shot);
            if (!found)
                return std::nullopt;
            return BoxOf(shot, IsDark, QRect(found->topLeft(), QSize(found->width(), 1)))->topLeft();
        };
        UseEachTool(editor, bar, inside, box->bottomRight() + QPoint(-5, 30), apex);
        editor.Grab().save(folder + "/tools.png");
        EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
    }
}
