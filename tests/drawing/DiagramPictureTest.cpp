// The sample document painted at 96 dpi against a kept reference, and the
// drawing's recorded picture converted by another program.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/PointConstraints.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/ParagraphComp.h"
#include "math/ExportElementWriters.h"
#include "support/PictureCompare.h"
#include "support/model/TextOnlyLaTeXWriter.h"

#include <QFile>
#include <QProcess>

#include <cmath>
#include <limits>

TEST_F(DrawingTest, SampleDocumentMatchesTheReferencePictureAt96Dpi)
{
    auto list = MakeSampleDocument();
    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    image.save(OutputDir() + "/sample-document.png");
    const QImage reference = LoadReference(image, QStringLiteral(QV_TEST_DATA) + "/sample-document.png");
    ASSERT_FALSE(reference.isNull()) << "no reference picture";
    ASSERT_EQ(reference.size(), image.size());
    // The font engine may anti-alias a few pixels differently between
    // builds; a moved shape or a lost label differs by many more.
    EXPECT_LT(DifferentPixels(reference, image, 48), 60)
        << "compare " << OutputDir().toStdString() << "/sample-document.png with the reference";
}

TEST_F(DrawingTest, RecordedPictureConvertsWithEmf2Svg)
{
    auto list = MakeSampleDocument();
    list->RelayoutAll(false);
    auto* drawing = static_cast<DiagramComp*>(list->GetAt(1)->GetRow()->GetAt(9));
    ASSERT_NE(drawing->GetPicture(), nullptr) << "placing the drawing records its picture";
    HENHMETAFILE picture = drawing->RecordPicture(true);
    ASSERT_NE(picture, nullptr);
    const QString emfPath = OutputDir() + "/sample-drawing.emf";
    const QString svgPath = OutputDir() + "/sample-drawing.svg";
    QFile emf(emfPath);
    ASSERT_TRUE(emf.open(QIODevice::WriteOnly));
    emf.write(picture->Bytes());
    emf.close();
    DrawContext::DeleteMetafile(picture);

    QFile::remove(svgPath);
    QProcess convert;
    convert.start("emf2svg-conv", {"-i", emfPath, "-o", svgPath});
    ASSERT_TRUE(convert.waitForFinished(60000));
    ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    QFile svgFile(svgPath);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QByteArray svg = svgFile.readAll();
    EXPECT_GE(svg.count("<ellipse"), 4) << "three circles and a disc";
    EXPECT_GE(svg.count("<rect"), 3) << "the frame and two vertex marks";
    EXPECT_GE(svg.count("<text"), 5) << "the label texts";
}

namespace {

class PictureLaTeX : public TextOnlyLaTeXWriter, public LaTeXObjectWriter {
public:
    void BeginRow(int) override {}
    void EndRow(int) override {}
    void WriteString(const char* text) override { log += text; }
    void WriteChar(TextComp&, bool) override {}
    void WritePicture(int width, int height, HENHMETAFILE picture) override
    {
        log += std::to_string(width) + "x" + std::to_string(height);
        recorded = picture && picture->IsValid();
    }
    void WriteDocLink(const Str255&, const Str255&) override {}
    void WriteReference(const Str255&, const Str255&) override {}

    std::string log;
    bool recorded = false;
};

} // namespace

TEST_F(DrawingTest, LaTeXHoldsTheDrawingAsABoxedPictureInPoints)
{
    auto list = MakeSampleDocument();
    list->RelayoutAll(false);
    PictureLaTeX writer;
    list->GetAt(1)->GetRow()->GetAt(9)->WriteLaTeX(writer);
    EXPECT_EQ(writer.log, "\\fbox{$223x168$} ") << "298 x 224 pixels at 96 dpi";
    EXPECT_TRUE(writer.recorded);
}

// Coordinates from a damaged file may be huge or no numbers at all; the
// transform keeps device points within reach, so drawing stays bounded.
TEST_F(DrawingTest, HugeAndInvalidCoordinatesDrawWithoutOverflow)
{
    auto list = NewList();
    auto* drawing = new DiagramComp;
    drawing->SetSize(1000, 1000);
    drawing->AddShape(new CircleShape(new VertexShape(1e300, -1e300), new DrawVariable(1e300, false)));
    drawing->AddShape(new CircleShape(new VertexShape(std::nan(""), 0.0), new DrawVariable(-1e300, false)));
    drawing->AddShape(new VertexShape(-1e308, std::numeric_limits<double>::infinity()));
    auto row = std::make_unique<CompArray>();
    row->Append(drawing);
    list->Append(new ParagraphComp(std::move(row), 3));
    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    EXPECT_NE(drawing->GetPicture(), nullptr);
}

namespace {

// Pixels of exactly the colour inside the square of the given half side.
int PixelsOf(const QImage& image, const IntPoint& centre, int half, QRgb colour)
{
    int count = 0;
    for (int y = centre.y - half; y <= centre.y + half; ++y)
        for (int x = centre.x - half; x <= centre.x + half; ++x)
            if (image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++count;
    return count;
}

} // namespace

// A constraint shows right after the shape it binds, so that a shape later
// in the list covers it as it covers the shape.
TEST_F(DrawingTest, AShapeLaterInTheListCoversTheConstraintsOfTheShapesBelowIt)
{
    auto* drawing = new DiagramComp;
    drawing->SetSize(2000, 2000);
    drawing->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
    auto* point = new VertexShape(0.0, 0.0);
    drawing->AddShape(point);
    drawing->AddConstraint(new FixedPointConstraint(point));
    ShapeStyle filled;
    filled.filled = true;
    filled.fillColour = RGB(200, 220, 255);
    drawing->AddShape(new CircleShape(new VertexShape(0.0, 0.0), new DrawVariable(1.0, false), filled));
    auto list = ListOf(drawing);
    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    const IntPoint centre = drawing->GetDC().WorldToScreen(DPoint(0.0, 0.0));
    EXPECT_GT(PixelsOf(image, centre, 12, qRgb(200, 220, 255)), 100) << "the disc is painted";
    EXPECT_EQ(PixelsOf(image, centre, 12, qRgb(193, 193, 193)), 0) << "the fixed point's ring is under the disc";
}

// The rubber band and the frame of a selected label are grey, not in
// whatever pen was drawn with last.
TEST_F(DrawingTest, TheRubberBandAndLabelFramesAreGrey)
{
    auto* drawing = new DiagramComp;
    drawing->SetSize(2000, 2000);
    drawing->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
    drawing->AddShape(new VertexShape(2.0, 2.0));
    auto* label = new DrawLabel(drawing, DPoint(-2.0, 0.0), DPoint(0.0, 0.0), true, new CompList(Str255("label")));
    drawing->AddLabel(label);
    drawing->ClickLabel(label, false);
    auto list = ListOf(drawing);
    list->RelayoutAll(false);
    Rect box;
    drawing->GetAbsBounds(box);
    const Rect band(box.left + 150, box.top + 20, box.left + 250, box.top + 60);
    drawing->ShowBand(band);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    image.save(OutputDir() + "/band-and-frame.png");
    const QRgb grey = qRgb(193, 193, 193);
    EXPECT_EQ(image.pixel((band.left + band.right) / 2, band.top) & 0xFFFFFF, grey & 0xFFFFFF) << "the band";
    const IntPoint a = drawing->GetDC().WorldToScreen(label->GetFrameTopLeft());
    const IntPoint b = drawing->GetDC().WorldToScreen(label->GetFrameBottomRight());
    EXPECT_EQ(image.pixel((a.x + b.x) / 2, a.y) & 0xFFFFFF, grey & 0xFFFFFF) << "the label's frame";
}
