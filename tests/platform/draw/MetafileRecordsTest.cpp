// Every kind of drawing the recorder turns into records, and the records of
// other programs' pictures that the player reads.
#include "DrawTestSupport.h"

#include "platform/draw/EmfFormat.h"
#include "platform/draw/EmfWriter.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/EnhMetafilePlayer.h"
#include "platform/draw/ImageDC.h"
#include "platform/draw/MeasureDC.h"
#include "platform/draw/MetaFileDC.h"

#include <gtest/gtest.h>

namespace {

constexpr int kSize = 160;

void drawShapes(CDC& dc)
{
    dc.FillSolidRect(CRect(0, 0, kSize, kSize), RGB(255, 255, 255));
    CPen dashed(PS_DASH, 1, RGB(0, 0, 0));
    CPen thick(PS_SOLID, 2, RGB(128, 0, 128));
    CBrush yellow(RGB(255, 255, 0));
    CBrush teal(RGB(0, 128, 128));

    dc.SelectObject(&dashed);
    dc.MoveTo(5, 150);
    dc.LineTo(155, 150);

    dc.SelectObject(&thick);
    dc.SelectObject(CBrush::NullBrush());
    dc.Arc(CRect(10, 10, 60, 60), CPoint(60, 35), CPoint(35, 10));  // the upper right quarter
    dc.Rectangle(5, 70, 40, 100);                                    // outline only

    dc.SelectObject(&yellow);
    dc.Pie(CRect(70, 10, 120, 60), CPoint(120, 35), CPoint(95, 60));
    dc.Chord(CRect(120, 10, 155, 60), CPoint(155, 35), CPoint(120, 35));

    const CPoint curve[] = {{10, 120}, {30, 100}, {50, 140}, {70, 120}};
    dc.PolyBezier(curve, 4);

    dc.SelectObject(&teal);
    dc.SetPolyFillMode(WINDING);
    const CPoint star[] = {{100, 70}, {115, 110}, {80, 85}, {120, 85}, {85, 110}};
    dc.Polygon(star, 5);

    dc.BeginPath();
    dc.MoveTo(125, 70);
    dc.LineTo(155, 70);
    const CPoint bend[] = {{155, 90}, {140, 110}, {125, 100}};
    dc.PolyBezierTo(bend, 3);
    dc.CloseFigure();
    dc.EndPath();
    dc.StrokeAndFillPath();

    // A line far beyond 16-bit coordinates, clipped by the device.
    dc.MoveTo(-40000, 140);
    dc.LineTo(40000, 140);

    QImage checks(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checks.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 128, 0));
    dc.StretchImage(CRect(50, 70, 74, 94), checks);

    CFont font;
    font.CreatePixelFont("Arial", 14);
    dc.SelectObject(&font);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(0, 255, 255));
    dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.TextOut(155, 135, "Right");
    dc.InvertRect(CRect(60, 125, 70, 135));
}

EnhMetafile record(void (*draw)(CDC&))
{
    CMeasureDC reference;
    CMetaFileDC recorder;
    CRect frame(0, 0, kSize, kSize);
    recorder.CreateEnhanced(&reference, &frame);
    draw(recorder);
    return recorder.CloseEnhanced();
}

int differing(const QImage& a, const QImage& b)
{
    return countPixels(a, a.rect(), [&](int x, int y) {
        QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
        return std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 96;
    });
}

}  // namespace

TEST(MetafileRecords, ShapesPathsImagesAndTextPlayBackAlike)
{
    QImage direct = whiteImage(kSize, kSize);
    {
        CImageDC dc(direct);
        drawShapes(dc);
    }
    // The arc runs counter-clockwise from the right to the top.
    EXPECT_TRUE(isColour(direct, 52, 18, RGB(128, 0, 128), 40) || isColour(direct, 51, 17, RGB(128, 0, 128), 40)
                || isColour(direct, 53, 19, RGB(128, 0, 128), 40));
    EXPECT_EQ(countPixels(direct, QRect(10, 36, 25, 25),
                          [&](int x, int y) { return !isColour(direct, x, y, RGB(255, 255, 255)); }),
              0);
    // The pie runs counter-clockwise from the right to the bottom: three quarters.
    EXPECT_TRUE(isColour(direct, 85, 25, RGB(255, 255, 0)));
    EXPECT_TRUE(isColour(direct, 85, 45, RGB(255, 255, 0)));
    EXPECT_TRUE(isColour(direct, 105, 45, RGB(255, 255, 255)));
    EXPECT_TRUE(isColour(direct, 100, 95, RGB(0, 128, 128)));   // the star's centre, filled with winding
    EXPECT_TRUE(isColour(direct, 140, 80, RGB(0, 128, 128)));   // the path
    EXPECT_TRUE(isColour(direct, 2, 140, RGB(128, 0, 128)));    // the long line
    EXPECT_TRUE(isColour(direct, 51, 71, RGB(255, 128, 0)));    // the image's first square
    EXPECT_TRUE(isColour(direct, 57, 71, RGB(0, 0, 0)));

    EnhMetafile picture = record(drawShapes);
    ASSERT_TRUE(picture.IsValid());
    QImage played = whiteImage(kSize, kSize);
    {
        CImageDC dc(played);
        EXPECT_TRUE(EnhMetafilePlayer::Play(dc, picture, CRect(0, 0, kSize, kSize)).complete);
    }
    played.save(testOutput("shapes-played.png"));
    EXPECT_LE(differing(direct, played), kSize * kSize / 100);
    EXPECT_TRUE(isColour(played, 65, 130, RGB(0, 0, 0)));  // white inverted
    EXPECT_TRUE(isColour(played, 150, 130, RGB(0, 255, 255)) || isDark(played, 150, 130));  // the text's cell
}

TEST(MetafileRecords, Emf2SvgReadsEveryRecordKindTheRecorderWrites)
{
    EnhMetafile picture = record(drawShapes);
    QString svg = convertWithEmf2Svg(picture, "shapes");
    EXPECT_TRUE(svg.contains("Right"));
    EXPECT_TRUE(svg.contains("<image"));                        // the bitmap
    EXPECT_TRUE(svg.contains("#008080", Qt::CaseInsensitive));  // the filled path and star
    EXPECT_TRUE(svg.contains("#FFFF00", Qt::CaseInsensitive));  // the pie and chord

    // Coordinates beyond 16 bits go into full-size records; the rest into short ones.
    const QByteArray& bytes = picture.Bytes();
    emf::Reader r(bytes.constData(), std::size_t(bytes.size()));
    std::uint32_t offset = 0, size = 0, type = 0;
    r.u32(4, offset);
    bool longLine = false, shortLine = false;
    while (r.u32(offset, type) && r.u32(offset + 4, size) && size >= 8) {
        longLine = longLine || type == emf::EMR_POLYLINE;
        shortLine = shortLine || type == emf::EMR_POLYLINE16;
        offset += size;
    }
    EXPECT_EQ(offset, std::uint32_t(bytes.size()));
    EXPECT_TRUE(longLine);
    EXPECT_TRUE(shortLine);
}

namespace {

// Another program's picture in hundredths of a millimetre with y upwards.
EnhMetafile metricPicture()
{
    EmfWriter writer(96, QString());
    const std::int32_t stock = std::int32_t(emf::kStockObject);
    addRecord(writer, emf::EMR_SETMAPMODE, {3});
    addRecord(writer, emf::EMR_SELECTOBJECT, {stock | std::int32_t(emf::NULL_PEN)});
    addRecord(writer, emf::EMR_SELECTOBJECT, {stock | std::int32_t(emf::GRAY_BRUSH)});
    addRecord(writer, emf::EMR_RECTANGLE, {0, 0, 1270, -1270});                       // top left quarter
    addRecord(writer, emf::EMR_SAVEDC, {});
    addRecord(writer, emf::EMR_SELECTOBJECT, {stock | std::int32_t(emf::BLACK_BRUSH)});
    addRecord(writer, emf::EMR_RESTOREDC, {-1});
    addRecord(writer, emf::EMR_RECTANGLE, {1270, 0, 2540, -1270});                    // top right, grey again
    addRecord(writer, emf::EMR_SETBKCOLOR, {std::int32_t(RGB(255, 0, 0))});
    // An opaque text rectangle without text paints the bottom left quarter.
    addRecord(writer, emf::EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 76, std::int32_t(emf::ETO_OPAQUE),
                                              0, -1270, 1270, -2540, 0});
    // An inversion without a source bitmap.
    addRecord(writer, emf::EMR_BITBLT, {0, 0, 0, 0, 0, -1270, 635, -635, std::int32_t(emf::DSTINVERT), 0, 0,
                                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    // A 2 x 1 bitmap of 8 bits per pixel with a palette of two colours.
    EmfWriter::Record bitmap(emf::EMR_STRETCHDIBITS);
    bitmap.i32(0).i32(0).i32(0).i32(0);
    bitmap.i32(1270).i32(-1270).i32(0).i32(0).i32(2).i32(1);
    bitmap.u32(80).u32(48).u32(128).u32(4).u32(0).u32(emf::SRCCOPY).i32(1270).i32(-1270);
    bitmap.u32(40).i32(2).i32(1).u16(1).u16(8).u32(0).u32(4).i32(0).i32(0).u32(2).u32(0);
    bitmap.u8(255).u8(0).u8(0).u8(0).u8(0).u8(255).u8(0).u8(0);  // blue, green
    bitmap.u8(0).u8(1).u8(0).u8(0);
    writer.add(bitmap);
    return EnhMetafile(writer.Finish(QRect(0, 0, 96, 96), QRect(0, 0, 96, 96)));
}

}  // namespace

TEST(MetafileRecords, MetricMappingSavedStatesOpaqueTextAndPalettes)
{
    QImage image = whiteImage(96, 96);
    {
        CImageDC dc(image);
        EnhMetafilePlayer::Result result = EnhMetafilePlayer::Play(dc, metricPicture(), CRect(0, 0, 96, 96));
        EXPECT_TRUE(result.complete);
    }
    image.save(testOutput("metric.png"));
    EXPECT_TRUE(isColour(image, 20, 20, RGB(128, 128, 128)));
    EXPECT_TRUE(isColour(image, 70, 20, RGB(128, 128, 128)));
    EXPECT_TRUE(isColour(image, 10, 60, RGB(0, 255, 255)));  // red, inverted
    EXPECT_TRUE(isColour(image, 30, 80, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 60, 70, RGB(0, 0, 255)));
    EXPECT_TRUE(isColour(image, 85, 70, RGB(0, 255, 0)));
}

TEST(MetafileRecords, PlayingLeavesTheTargetAsItWas)
{
    QImage image = whiteImage(96, 96);
    CImageDC dc(image);
    CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
    dc.SelectObject(&pen);
    dc.SetWindowOrg(-10, -10);
    dc.SetTextColor(RGB(9, 9, 9));
    dc.IntersectClipRect(-10, -10, 40, 40);
    EnhMetafilePlayer::Play(dc, metricPicture(), CRect(0, 0, 96, 96));
    EXPECT_EQ(dc.GetCurrentPen(), &pen);
    EXPECT_EQ(dc.GetTextColor(), RGB(9, 9, 9));
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(-10, -10));
    CRect clip;
    dc.GetClipBox(&clip);
    EXPECT_EQ(clip, CRect(-10, -10, 40, 40));
    // The picture was drawn at the logical rectangle, inside the clip.
    EXPECT_TRUE(isColour(image, 30, 30, RGB(128, 128, 128)));
    EXPECT_TRUE(isColour(image, 55, 55, RGB(255, 255, 255)));
}
