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

}  // namespace drawing_screen
