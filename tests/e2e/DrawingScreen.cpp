#include "DrawingScreen.h"

#include "EditorSession.h"

#include "ModelDocument.h"
#include "app/CCorvellDoc.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawingCodes.h"
#include "drawing/PointConstraints.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace drawing_screen {

bool IsActiveFrame(QRgb pixel)
{
    return std::abs(qRed(pixel) - 0) < 10 && std::abs(qGreen(pixel) - 128) < 10 && std::abs(qBlue(pixel) - 17) < 10;
}

bool IsPlotFrame(QRgb pixel)
{
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 128;
}

bool IsDark(QRgb pixel)
{
    return qRed(pixel) < 90 && qGreen(pixel) < 90 && qBlue(pixel) < 90;
}

std::optional<QRect> BoxOf(const QRect& within, const std::function<bool(int x, int y)>& test)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (test(x, y))
                box |= QRect(x, y, 1, 1);
    return box.isEmpty() ? std::nullopt : std::optional<QRect>(box);
}

std::optional<QRect> BoxOf(const QImage& shot, const std::function<bool(QRgb)>& test, const QRect& within)
{
    return BoxOf(within, [&](int x, int y) { return test(shot.pixel(x, y)); });
}

std::optional<QRect> InsertDrawing(EditorSession& editor, const QRect& area)
{
    if (!editor.Menu("E&lement", QChar()))
        return std::nullopt;
    editor.Key("Up");
    editor.Key("Return");
    std::optional<QRect> box;
    const bool shown = editor.WaitUntil([&] {
        box = BoxOf(editor.Grab(), IsActiveFrame, area);
        return box && box->width() > 50;
    });
    return shown ? box : std::nullopt;
}

QPoint BarButton(const QRect& bar, int command)
{
    constexpr int kColumns = 4, kRows = 6, kMargin = 2;
    const int index = command - kPointerTool;
    const double width = (bar.width() - 2.0 * kMargin) / kColumns;
    const double height = (bar.height() - 2.0 * kMargin) / kRows;
    return QPoint(bar.left() + kMargin + int((index % kColumns + 0.5) * width),
                  bar.top() + kMargin + int((index / kColumns + 0.5) * height));
}

void SaveNewDocument(const QString& path, const std::function<void(ParagraphList&)>& fill)
{
    ModelDocument model(true);
    CCorvellDoc& doc = model.doc;
    doc.OnNewDocument();
    if (fill)
        fill(*doc.GetParagraphList());
    ASSERT_TRUE(doc.OnSaveDocument(path.toUtf8().constData()));
}

void SaveTriangleDocument(const QString& path, double apexX, double apexY,
                          const std::function<void(DiagramComp&, TriangleShape&)>& constrain)
{
    SaveNewDocument(path, [&](ParagraphList& paragraphs) {
        auto* drawing = new DiagramComp;
        drawing->GetDC().SetWorldOrigin(DPoint(-2.0, 8.0));
        auto* triangle =
            new TriangleShape(new VertexShape(0.0, 0.0), new VertexShape(4.0, 0.0), new VertexShape(apexX, apexY));
        ShapeStyle blue;
        blue.lineColour = RGB(0, 0, 255);
        blue.penStyle = drawing::kThick;
        triangle->SetStyle(blue);
        drawing->AddShape(triangle);
        drawing->AddConstraint(new FixedPointConstraint(triangle->GetVertex(0)));
        drawing->AddConstraint(new FixedPointConstraint(triangle->GetVertex(1)));
        constrain(*drawing, *triangle);
        auto* paragraph = new ParagraphComp(3);
        paragraph->GetRow()->Append(drawing);
        paragraphs.Append(paragraph);
    });
}

bool ChooseTool(EditorSession& editor, const QRect& bar, int command, int previous, const QPoint& away)
{
    auto look = [&](int button) {
        editor.MouseMove(away);
        const QPoint at = BarButton(bar, button);
        return editor.Grab().copy(QRect(at - QPoint(9, 9), QSize(19, 19)));
    };
    const QImage before = look(previous), chosen = look(command);
    editor.Click(BarButton(bar, command).x(), BarButton(bar, command).y());
    return editor.WaitUntil([&] { return look(command) != chosen && look(previous) != before; });
}

void UseEachTool(EditorSession& editor, const QRect& bar, const QRect& inside, const QPoint& away,
                 const std::function<std::optional<QPoint>()>& apex)
{
    // The pencil: a segment along the drag, in an empty corner.
    ASSERT_TRUE(ChooseTool(editor, bar, kPencilTool, kPointerTool, away)) << "the pencil's button does not show chosen";
    const QPoint from = inside.bottomLeft() + QPoint(15, -15), to = from + QPoint(60, -20);
    const QPoint middle = (from + to) / 2;
    ASSERT_TRUE(editor.Drag(from, {from + QPoint(20, -7), to}));
    EXPECT_TRUE(editor.WaitUntil([&] {
        return BoxOf(editor.Grab(), IsDark, QRect(middle - QPoint(2, 2), QSize(5, 5))).has_value();
    })) << "the pencil drew no segment";

    // The grabber: the apex moves by the drag.
    ASSERT_TRUE(ChooseTool(editor, bar, kGrabberTool, kPencilTool, away)) << "the grabber's button does not show chosen";
    const std::optional<QPoint> top = apex();
    ASSERT_TRUE(top);
    const QPoint grab = inside.topRight() + QPoint(-20, 20);
    ASSERT_TRUE(editor.Drag(grab, {grab + QPoint(-10, 10), grab + QPoint(-30, 24)}));
    EXPECT_TRUE(editor.WaitUntil([&] {
        const std::optional<QPoint> now = apex();
        return now && (*now - (*top + QPoint(-30, 24))).manhattanLength() <= 2;
    })) << "the grabber did not move the view";

    // The magnifier: a click below the apex doubles its distance from there.
    ASSERT_TRUE(ChooseTool(editor, bar, kMagnifierTool, kGrabberTool, away))
        << "the magnifier's button does not show chosen";
    const std::optional<QPoint> before = apex();
    ASSERT_TRUE(before);
    const QPoint click = *before + QPoint(-10, 40);
    editor.Click(click.x(), click.y());
    // The apex's pixel rounds to one either way, which the zoom doubles.
    std::optional<QPoint> zoomed;
    EXPECT_TRUE(editor.WaitUntil([&] {
        zoomed = apex();
        return zoomed && (*zoomed - (click + 2 * (*before - click))).manhattanLength() <= 6;
    })) << "the magnifier did not zoom in about the click: the apex went from " << before->x() << "," << before->y()
        << " to " << (zoomed ? zoomed->x() : -1) << "," << (zoomed ? zoomed->y() : -1);
    ASSERT_TRUE(ChooseTool(editor, bar, kPointerTool, kMagnifierTool, away))
        << "the pointer's button does not show chosen";
}

}  // namespace drawing_screen
