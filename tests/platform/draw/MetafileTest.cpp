// Recording drawings as enhanced metafiles and playing them back.
#include "DrawTestSupport.h"

#include "platform/draw/EmfFormat.h"
#include "platform/draw/EmfWriter.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/EnhMetafilePlayer.h"
#include "platform/draw/ImageDC.h"
#include "platform/draw/MeasureDC.h"
#include "platform/draw/MetaFileDC.h"
#include "platform/draw/SvgDC.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 140;

// Text, lines, an ellipse and a filled region, as the document's drawing code makes them.
void drawScene(CDC& dc)
{
    dc.FillSolidRect(CRect(0, 0, kWidth, kHeight), RGB(255, 255, 255));
    CPen blue(PS_SOLID, 3, RGB(0, 0, 255));
    CPen* oldPen = dc.SelectObject(&blue);
    dc.MoveTo(10, 10);
    dc.LineTo(230, 10);
    dc.MoveTo(10, 10);
    dc.LineTo(10, 130);

    CBrush red(RGB(255, 0, 0));
    CBrush* oldBrush = dc.SelectObject(&red);
    CPen thin(PS_SOLID, 1, RGB(0, 0, 0));
    dc.SelectObject(&thin);
    dc.Ellipse(150, 30, 230, 90);

    CRgn region(CRect(20, 100, 60, 130));
    region.UnionWith(CRgn(CRect(70, 100, 110, 130)));
    CBrush green(RGB(0, 160, 0));
    dc.FillRgn(&region, &green);

    CFont font;
    font.CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, 0, PROOF_QUALITY, FF_ROMAN,
                    "Corvell Roman");
    CFont* oldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetTextAlign(TA_BASELINE);
    dc.TextOut(20, 50, "Quorvant x\x8E" "1");  // x <= 1

    CFont math;
    math.CreateFont(-28, 0, 0, 0, FW_NORMAL, 0, 0, 0, SYMBOL_CHARSET, OUT_TT_PRECIS, 0, PROOF_QUALITY, FF_ROMAN,
                    "Corvell Math");
    dc.SelectObject(&math);
    dc.TextOut(20, 85, "\xBD\xBE\xBC");  // integral, sum, pi

    dc.SelectObject(oldFont);
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

EnhMetafile recordScene()
{
    CMeasureDC reference;
    CMetaFileDC recorder;
    CRect frame(0, 0, kWidth, kHeight);
    EXPECT_TRUE(recorder.CreateEnhanced(&reference, &frame, "Quorvant scene"));
    drawScene(recorder);
    return recorder.CloseEnhanced();
}

int differingPixels(const QImage& a, const QImage& b)
{
    return countPixels(a, a.rect(), [&](int x, int y) {
        QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
        return std::abs(p.red() - q.red()) > 64 || std::abs(p.green() - q.green()) > 64
            || std::abs(p.blue() - q.blue()) > 64;
    });
}

}  // namespace

TEST(Metafile, RecordedDrawingPlaysBackAlike)
{
    QImage direct = whiteImage(kWidth, kHeight);
    {
        CImageDC dc(direct);
        drawScene(dc);
    }
    EXPECT_TRUE(isColour(direct, 100, 10, RGB(0, 0, 255)));      // the top line
    EXPECT_TRUE(isColour(direct, 190, 60, RGB(255, 0, 0)));      // inside the ellipse
    EXPECT_TRUE(isColour(direct, 152, 32, RGB(255, 255, 255)));  // outside its curve
    EXPECT_TRUE(isColour(direct, 65, 115, RGB(255, 255, 255)));  // the region's gap
    // Text stands on its baseline at y = 50.
    EXPECT_GT(darkPixels(direct, QRect(20, 30, 120, 21)), 60);
    EXPECT_GT(darkPixels(direct, QRect(20, 60, 60, 30)), 40);

    EnhMetafile picture = recordScene();
    ASSERT_TRUE(picture.IsValid());
    EXPECT_EQ(picture.FrameInPixels(), CRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(picture.GetFrame(), CRect(0, 0, kWidth * 2540 / 96, kHeight * 2540 / 96));
    CRect bounds = picture.GetBounds();
    EXPECT_LE(bounds.left, 10);
    EXPECT_GE(bounds.right, 230);

    QImage played = whiteImage(kWidth, kHeight);
    {
        CImageDC dc(played);
        EnhMetafilePlayer::Result result = EnhMetafilePlayer::Play(dc, picture, CRect(0, 0, kWidth, kHeight));
        EXPECT_TRUE(result.complete);
        EXPECT_GT(result.recordsPlayed, 10);
    }
    played.save(testOutput("scene-played.png"));
    EXPECT_LE(differingPixels(direct, played), kWidth * kHeight / 200);

    // Played twice as large into an offset rectangle, the shapes scale with it.
    QImage large = whiteImage(2 * kWidth + 20, 2 * kHeight + 20);
    {
        CImageDC dc(large);
        dc.PlayEnhMetaFile(picture, CRect(20, 20, 20 + 2 * kWidth, 20 + 2 * kHeight));
    }
    EXPECT_TRUE(isColour(large, 20 + 380, 20 + 120, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(large, 20 + 80, 20 + 230, RGB(0, 160, 0)));
    EXPECT_TRUE(isColour(large, 20 + 130, 20 + 230, RGB(255, 255, 255)));
}

TEST(Metafile, RecordingIsRealEmfThatEmf2SvgConverts)
{
    EnhMetafile picture = recordScene();
    // The header's counts agree with the bytes.
    const QByteArray& bytes = picture.Bytes();
    emf::Reader r(bytes.constData(), std::size_t(bytes.size()));
    std::uint32_t total = 0, lastType = 0;
    r.u32(48, total);
    EXPECT_EQ(total, std::uint32_t(bytes.size()));
    r.u32(std::size_t(bytes.size()) - 20, lastType);
    EXPECT_EQ(lastType, std::uint32_t(emf::EMR_EOF));

    QString svg = convertWithEmf2Svg(picture, "scene");
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("Quorvant"));
    EXPECT_TRUE(svg.contains(QString::fromUtf8("x≤1")));
    EXPECT_TRUE(svg.contains(QString::fromUtf8("∫∑π")));
    EXPECT_TRUE(svg.contains("Liberation Serif"));
    EXPECT_TRUE(svg.contains("<ellipse") || svg.contains("<path"));
    for (const char* colour : {"0000FF", "FF0000", "00A000"})
        EXPECT_TRUE(svg.contains(colour, Qt::CaseInsensitive)) << colour;
}

TEST(Metafile, PicturesConvertToImagesAndSvgAndCopiesAreIndependent)
{
    EnhMetafile picture = recordScene();
    QImage image = RenderPictureToImage(picture, 2.0);
    ASSERT_EQ(image.size(), QSize(2 * kWidth, 2 * kHeight));
    EXPECT_TRUE(isColour(image, 380, 120, RGB(255, 0, 0)));
    QByteArray svg = RenderPictureToSvg(picture);
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 240 140\""));
    EXPECT_TRUE(svg.contains("#ff0000") || svg.contains("#FF0000"));
    EXPECT_TRUE(RenderPictureToImage(EnhMetafile()).isNull());
    EXPECT_TRUE(RenderPictureToSvg(EnhMetafile(QByteArray("junk"))).isEmpty());

    HENHMETAFILE handle = new EnhMetafile(picture);
    HENHMETAFILE copy = CopyEnhMetaFile(handle);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(DeleteEnhMetaFile(handle));
    EXPECT_EQ(*copy, picture);
    EXPECT_TRUE(DeleteEnhMetaFile(copy));
    EXPECT_FALSE(DeleteEnhMetaFile(nullptr));
}

TEST(Metafile, ClippingAndFrameWithoutAGivenFrame)
{
    CMeasureDC reference;
    CMetaFileDC recorder;
    ASSERT_TRUE(recorder.CreateEnhanced(&reference));
    recorder.SetWindowOrg(100, 100);
    recorder.IntersectClipRect(100, 100, 140, 140);
    recorder.FillSolidRect(CRect(100, 100, 200, 200), RGB(255, 0, 0));
    recorder.SelectClipRgn(nullptr);
    recorder.FillSolidRect(CRect(150, 100, 160, 110), RGB(0, 0, 255));
    EnhMetafile picture = recorder.CloseEnhanced();
    EXPECT_FALSE(recorder.IsRecording());
    // The frame is the box of what was drawn, clipping included.
    EXPECT_EQ(picture.FrameInPixels(), CRect(0, 0, 60, 40));

    QImage image = whiteImage(60, 40);
    {
        CImageDC dc(image);
        dc.PlayEnhMetaFile(picture, CRect(0, 0, 60, 40));
    }
    EXPECT_TRUE(isColour(image, 39, 39, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 45, 20, RGB(255, 255, 255)));  // clipped away
    EXPECT_TRUE(isColour(image, 55, 5, RGB(0, 0, 255)));
}

namespace {

// A picture as another program writes it: metric mapping with a window and
// viewport, a world transform, and a 24-bit device-independent bitmap.
EnhMetafile foreignPicture()
{
    EmfWriter writer(96, QString());
    addRecord(writer, emf::EMR_SETMAPMODE, {8});                   // anisotropic
    addRecord(writer, emf::EMR_SETWINDOWEXTEX, {1000, 1000});
    addRecord(writer, emf::EMR_SETVIEWPORTEXTEX, {100, 100});
    // A 2 x 2 bitmap, rows bottom-up: blue, white / red, green.
    EmfWriter::Record bitmap(emf::EMR_STRETCHDIBITS);
    bitmap.i32(0).i32(0).i32(49).i32(49);
    bitmap.i32(0).i32(0).i32(0).i32(0).i32(2).i32(2);
    bitmap.u32(80).u32(40).u32(120).u32(16).u32(0).u32(emf::SRCCOPY).i32(500).i32(500);
    bitmap.u32(40).i32(2).i32(2).u16(1).u16(24).u32(0).u32(16).i32(0).i32(0).u32(0).u32(0);
    const unsigned char bits[16] = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    bitmap.bytes(QByteArray(reinterpret_cast<const char*>(bits), 16));
    writer.add(bitmap);
    // A black square, moved by a world transform.
    EmfWriter::Record transform(emf::EMR_SETWORLDTRANSFORM);
    transform.f32(1).f32(0).f32(0).f32(1).f32(500).f32(500);
    writer.add(transform);
    addRecord(writer, emf::EMR_SELECTOBJECT, {std::int32_t(emf::kStockObject | emf::BLACK_BRUSH)});
    addRecord(writer, emf::EMR_SELECTOBJECT, {std::int32_t(emf::kStockObject | emf::NULL_PEN)});
    addRecord(writer, emf::EMR_RECTANGLE, {0, 0, 300, 300});
    return EnhMetafile(writer.Finish(QRect(0, 0, 100, 100), QRect(0, 0, 100, 100)));
}

}  // namespace

TEST(Metafile, PlaysOtherProgramsMappingAndBitmaps)
{
    EnhMetafile picture = foreignPicture();
    QImage image = whiteImage(200, 200);
    {
        CImageDC dc(image);
        EXPECT_TRUE(EnhMetafilePlayer::Play(dc, picture, CRect(0, 0, 200, 200)).complete);
    }
    image.save(testOutput("foreign.png"));
    EXPECT_TRUE(isColour(image, 20, 20, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 80, 20, RGB(0, 255, 0)));
    EXPECT_TRUE(isColour(image, 20, 80, RGB(0, 0, 255)));
    EXPECT_TRUE(isColour(image, 80, 80, RGB(255, 255, 255)));
    EXPECT_TRUE(isColour(image, 120, 120, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 170, 170, RGB(255, 255, 255)));
}

TEST(Metafile, DamagedBytesAreDrawnAsFarAsTheyAreSound)
{
    EnhMetafile good = recordScene();
    const QByteArray& bytes = good.Bytes();
    QImage image = whiteImage(kWidth, kHeight);
    CImageDC dc(image);

    // Every truncation: no crash, never complete.
    for (int length = 0; length < bytes.size(); length += 3) {
        EnhMetafilePlayer::Result result =
            EnhMetafilePlayer::Play(dc, EnhMetafile(bytes.left(length)), CRect(0, 0, kWidth, kHeight));
        EXPECT_FALSE(result.complete);
    }
    EXPECT_FALSE(EnhMetafile(bytes.left(60)).IsValid());
    EXPECT_FALSE(dc.PlayEnhMetaFile(EnhMetafile(QByteArray("not a picture at all")), CRect(0, 0, 10, 10)));

    // Random damage inside the records (the header kept): no crash, no
    // read outside the bytes (the sanitizers watch).
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        QByteArray damaged = bytes;
        int changes = 1 + int(random() % 8);
        for (int k = 0; k < changes; ++k) {
            int at = 108 + int(random() % std::uint32_t(damaged.size() - 108));
            damaged[at] = char(random() & 0xFF);
        }
        EnhMetafilePlayer::Play(dc, EnhMetafile(damaged), CRect(0, 0, kWidth, kHeight));
    }

    // Records whose counts and offsets point outside the record.
    EmfWriter writer(96, QString());
    EmfWriter::Record poly(emf::EMR_POLYLINE16);
    poly.i32(0).i32(0).i32(10).i32(10).u32(0x40000000).u16(1).u16(1);
    writer.add(poly);
    EmfWriter::Record text(emf::EMR_EXTTEXTOUTW);
    text.i32(0).i32(0).i32(10).i32(10).u32(1).f32(0).f32(0).i32(0).i32(0).u32(1000).u32(0x7FFFFFF0).u32(0);
    text.i32(0).i32(0).i32(0).i32(0).u32(0xFFFFFFF0);
    writer.add(text);
    EmfWriter::Record dib(emf::EMR_STRETCHDIBITS);
    dib.i32(0).i32(0).i32(9).i32(9).i32(0).i32(0).i32(0).i32(0).i32(100000).i32(100000);
    dib.u32(80).u32(40).u32(120).u32(0x7FFFFFFF).u32(0).u32(emf::SRCCOPY).i32(10).i32(10);
    dib.u32(40).i32(100000).i32(-100000).u16(1).u16(32).u32(0).u32(0).i32(0).i32(0).u32(0).u32(0);
    writer.add(dib);
    EnhMetafile hostile(writer.Finish(QRect(0, 0, 10, 10), QRect(0, 0, 10, 10)));
    EnhMetafilePlayer::Result result = EnhMetafilePlayer::Play(dc, hostile, CRect(0, 0, 10, 10));
    EXPECT_TRUE(result.headerValid);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.recordsPlayed, 0);
}
