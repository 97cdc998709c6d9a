// A drawing as a person uses it, on a real X display: a triangle whose two
// sides are held equal, with two corners fixed, is opened; its free corner
// is dragged with the mouse, the drag is undone and redone. After each step
// a screenshot must show the drawing as the model holds it: the screen
// used to keep the old picture until another window covered it.
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include "EditorSession.h"
#include "app/CCorvellDoc.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawingComponents.h"
#include "drawing/GroupConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "math/MathComponents.h"

#include <QElapsedTimer>
#include <QThread>

#include <cmath>
#include <functional>
#include <optional>

namespace {

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
    } while (timer.elapsed() < 10000);
    return apex;
}

// An equilateral triangle of side 4: corners 0 and 1 fixed, sides 0 and 1
// equal, so the free corner moves on a circle about corner 1.
void WriteTriangleDocument(const QString& path)
{
    TextPrefs prefs;
    FontManager fonts(prefs);
    InstallTextLayout();
    RegisterMathComponents();
    RegisterDrawingComponents();
    CCorvellDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.OnNewDocument();
    auto* drawing = new DiagramComp;
    drawing->GetDC().SetWorldOrigin(DPoint(-2.0, 8.0));
    auto* triangle = new TriangleShape(new VertexShape(0.0, 0.0), new VertexShape(4.0, 0.0),
                                       new VertexShape(2.0, 2.0 * std::sqrt(3.0)));
    ShapeStyle blue;
    blue.lineColour = RGB(0, 0, 255);
    blue.penStyle = drawing::kThick;
    triangle->SetStyle(blue);
    drawing->AddShape(triangle);
    drawing->AddConstraint(new FixedPointConstraint(triangle->GetVertex(0)));
    drawing->AddConstraint(new FixedPointConstraint(triangle->GetVertex(1)));
    drawing->AddConstraint(new EqualLengthConstraint({triangle->GetSide(0), triangle->GetSide(1)}));
    auto* paragraph = new ParagraphComp(3);
    paragraph->GetRow()->Append(drawing);
    doc.GetParagraphList()->Append(paragraph);
    ASSERT_TRUE(doc.OnSaveDocument(path.toUtf8().constData()));
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
