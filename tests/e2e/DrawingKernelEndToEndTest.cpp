// A drawing solved by the kernel, on a real X display. The triangle's left
// side is labelled "a"; the drawing's named variable a is locked at 5 while
// the side is drawn 4 long. With the kernel started from the Kernel menu, a
// drag of the free corner is solved by the kernel, which holds the side at
// a: the corner moves out to 5. (The drawing is written through the document
// model: the editor has no command yet that labels a side or edits a named
// variable's value.) Screenshots are kept.
#include "EditorSession.h"
#include "app/CCorvellDoc.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawingComponents.h"
#include "drawing/PointConstraints.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "math/MathComponents.h"

#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

bool IsBlue(QRgb pixel) { return qBlue(pixel) > 180 && qRed(pixel) < 80 && qGreen(pixel) < 80; }

// The free corner (the topmost blue pixel) and the fixed corner under it
// (the leftmost blue pixel of the bottom row), below the bars.
struct Corners {
    QPoint apex;
    QPoint origin;
    double Height() const { return origin.y() - apex.y(); }
};

std::optional<Corners> Find(const QImage& shot)
{
    constexpr int kBelowBars = 60;
    std::optional<QPoint> top;
    std::optional<QPoint> bottom;
    for (int y = kBelowBars; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
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

void WriteDocument(const QString& path)
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
    auto* triangle = new TriangleShape(new VertexShape(0.0, 0.0), new VertexShape(4.0, 0.0), new VertexShape(0.0, 4.0));
    ShapeStyle blue;
    blue.lineColour = RGB(0, 0, 255);
    blue.penStyle = drawing::kThick;
    triangle->SetStyle(blue);
    drawing->AddShape(triangle);
    drawing->AddConstraint(new FixedPointConstraint(triangle->GetVertex(0)));
    drawing->AddConstraint(new FixedPointConstraint(triangle->GetVertex(1)));
    auto* side = new DistanceConstraint(triangle->GetVertex(0), triangle->GetVertex(2));
    auto* text = new CompList;
    ExprNode::AppendCharacters("a", *text);
    side->SetLabel(new DrawLabel(side, drawing, text));
    drawing->AddConstraint(side);
    drawing->GetVariables().SetNamed("a", 5.0);
    drawing->GetVariables().GetAt(0).variable->SetFixed(true);
    auto* paragraph = new ParagraphComp(3);
    paragraph->GetRow()->Append(drawing);
    doc.GetParagraphList()->Append(paragraph);
    ASSERT_TRUE(doc.OnSaveDocument(path.toUtf8().constData()));
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
