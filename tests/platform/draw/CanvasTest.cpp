// The device context over images, the measuring context and the printer.
#include "DrawTestSupport.h"

#include "platform/draw/FontMap.h"
#include "platform/draw/ImageDC.h"
#include "platform/draw/MeasureDC.h"
#include "platform/draw/PainterDC.h"

#include <QFontInfo>
#include <QPainter>
#include <QPicture>
#include <QRawFont>

#include <gtest/gtest.h>

namespace {

CFont textFont(int pixels, const char* face = "Corvell Roman", int charSet = ANSI_CHARSET)
{
    CFont font;
    font.CreateFont(-pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, std::uint8_t(charSet), OUT_TT_PRECIS, 0,
                    PROOF_QUALITY, FF_ROMAN, face);
    return font;
}

const COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
               kBlue = RGB(0, 0, 255);

}  // namespace

TEST(Canvas, MeasuringMatchesDrawingContexts)
{
    QImage image = whiteImage(200, 100);
    CImageDC dc(image);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 200);
    EXPECT_EQ(CMeasureDC(300).GetDeviceCaps(LOGPIXELSX), 300);
    CMeasureDC measure;
    CFont font = textFont(18);
    dc.SelectObject(&font);
    measure.SelectObject(&font);

    TEXTMETRIC a, b;
    ASSERT_TRUE(dc.GetTextMetrics(&a));
    ASSERT_TRUE(measure.GetTextMetrics(&b));
    EXPECT_EQ(a.tmAscent, b.tmAscent);
    EXPECT_EQ(a.tmDescent, b.tmDescent);
    EXPECT_EQ(a.tmHeight, a.tmAscent + a.tmDescent);
    EXPECT_GE(a.tmHeight, 18);
    EXPECT_LE(a.tmHeight, 24);
    EXPECT_GT(a.tmMaxCharWidth, a.tmAveCharWidth);

    const std::string text = "Equation x";
    EXPECT_EQ(dc.GetTextExtent(text), measure.GetTextExtent(text));
    int extents[10] = {};
    CSize size;
    ASSERT_TRUE(measure.GetTextExtentExPoint(text.data(), 10, extents, &size));
    for (int i = 1; i < 10; ++i)
        EXPECT_GE(extents[i], extents[i - 1]);
    EXPECT_EQ(extents[9], size.cx);
    EXPECT_EQ(extents[0], measure.GetCharWidth('E'));
    CFont large = textFont(36);
    measure.SelectObject(&large);
    EXPECT_GT(measure.GetTextExtent(text).cx, size.cx * 3 / 2);
}

TEST(Canvas, SelectObjectAnswersThePreviousObjectAndSaveDCRestoresState)
{
    QImage image = whiteImage(10, 10);
    CImageDC dc(image);
    CPen red(PS_SOLID, 1, kRed);
    CPen* first = dc.SelectObject(&red);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(dc.SelectObject(first), &red);

    CFont font = textFont(12);
    int level = dc.SaveDC();
    dc.SelectObject(&font);
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetWindowOrg(5, 5);
    dc.IntersectClipRect(0, 0, 5, 5);
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_NE(dc.GetCurrentFont(), &font);
    EXPECT_EQ(dc.GetTextColor(), kBlack);
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(0, 0));
    EXPECT_FALSE(dc.DeviceClip().has_value());
    EXPECT_FALSE(dc.RestoreDC(-1));  // nothing saved any more
}

TEST(Canvas, OriginsMoveDrawingAndThinLinesLeaveOutTheirLastPixel)
{
    QImage image = whiteImage(40, 40);
    CImageDC dc(image);
    dc.SetWindowOrg(100, 200);  // device = logical - window origin
    dc.FillSolidRect(CRect(100, 200, 103, 202), kRed);
    dc.SetViewportOrg(10, 10);
    dc.FillSolidRect(CRect(100, 200, 101, 201), kBlue);
    EXPECT_TRUE(isColour(image, 2, 1, kRed));
    EXPECT_TRUE(isColour(image, 3, 1, kWhite));  // right edge excluded
    EXPECT_TRUE(isColour(image, 0, 2, kWhite));  // bottom edge excluded
    EXPECT_TRUE(isColour(image, 10, 10, kBlue));
    CPoint p(100, 200);
    dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(10, 10));
    dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(100, 200));

    image.fill(Qt::white);
    dc.SetWindowOrg(0, 0);
    dc.SetViewportOrg(0, 0);
    dc.MoveTo(10, 5);
    dc.LineTo(20, 5);
    dc.LineTo(20, 15);
    EXPECT_TRUE(isColour(image, 10, 5, kBlack));
    EXPECT_TRUE(isColour(image, 20, 5, kBlack));  // the start of the second line
    EXPECT_TRUE(isColour(image, 20, 14, kBlack));
    EXPECT_TRUE(isColour(image, 20, 15, kWhite));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(20, 15));
}

TEST(Canvas, TextIsPlacedByTheAlignment)
{
    QImage image = whiteImage(120, 100);
    CImageDC dc(image);
    CFont font = textFont(24);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);

    dc.SetTextAlign(TA_BASELINE);
    dc.TextOut(10, 60, "H");
    // "H" stands on the baseline: ink above y = 60, none below it.
    EXPECT_GT(darkPixels(image, QRect(10, 40, 30, 20)), 20);
    EXPECT_EQ(darkPixels(image, QRect(0, 61, 120, 39)), 0);

    image.fill(Qt::white);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.TextOut(10, 10, "H");
    // Top alignment: the cell starts at y = 10, the baseline is an ascent lower.
    EXPECT_EQ(darkPixels(image, QRect(0, 0, 120, 10)), 0);
    EXPECT_EQ(darkPixels(image, QRect(0, 10 + tm.tmAscent + 1, 120, 50)), 0);
    EXPECT_GT(darkPixels(image, QRect(0, 10, 120, tm.tmAscent + 1)), 20);

    // An opaque background fills the text's cell; the current position advances.
    image.fill(Qt::white);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kRed);
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(5, 5);
    dc.TextOut(0, 0, "i");
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(5 + dc.GetTextExtent("i").cx, 5));
    EXPECT_TRUE(isColour(image, 5, 5 + tm.tmHeight - 1, kRed));
    EXPECT_TRUE(isColour(image, 5, 5 + tm.tmHeight + 1, kWhite));
}

TEST(Canvas, MathSymbolsAndCharactersTheFontLacksAreDrawn)
{
    QImage image = whiteImage(60, 60);
    CImageDC dc(image);
    dc.SetBkMode(TRANSPARENT);
    CFont math = textFont(30, "Corvell Math", SYMBOL_CHARSET);
    dc.SelectObject(&math);
    dc.TextOut(10, 5, "\xBD", 1);  // the integral
    EXPECT_GT(darkPixels(image, image.rect()), 15);
    EXPECT_EQ(QFontInfo(dc.CurrentQFont()).family(), FontMap::MathFamily());

    image.fill(Qt::white);
    CFont font = textFont(24);
    dc.SelectObject(&font);
    ASSERT_FALSE(QRawFont::fromFont(dc.CurrentQFont()).supportsCharacter(QChar(0x2295)));  // circled plus
    dc.TextOutW(5, 5, QString(QChar(0x2295)));
    EXPECT_GT(darkPixels(image, image.rect()), 10);
}

namespace {

// A context that records its drawing as a picture, as the print preview
// records its pages.
class PictureDC : public CPainterDC {
public:
    explicit PictureDC(QPicture& picture) : m_picture(picture) { beginPainting(&m_picture); }
    ~PictureDC() override { endPainting(); }

protected:
    QPaintDevice* metricsDevice() const override { return &m_image; }
    int dpiX() const override { return 96; }
    int dpiY() const override { return 96; }
    CSize deviceSize() const override { return CSize(400, 400); }

private:
    QPicture& m_picture;
    mutable QImage m_image = whiteImage(1, 1);
};

} // namespace

// A recording keeps text as text, a few bytes a letter (as outlines a page
// took megabytes), and plays it back where it was drawn.
TEST(Canvas, RecordedTextStaysTextAndPlaysBack)
{
    QPicture picture;
    {
        PictureDC dc(picture);
        CFont font = textFont(24);
        dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        for (int line = 0; line < 10; ++line)
            dc.TextOut(10, 10 + 30 * line, "Twenty-six letters of text");
    }
    EXPECT_LT(picture.size(), 10 * 26 * 20);
    QImage image = whiteImage(400, 400);
    QPainter painter(&image);
    painter.drawPicture(0, 0, picture);
    painter.end();
    EXPECT_GT(darkPixels(image, QRect(0, 0, 400, 40)), 100);
    EXPECT_GT(darkPixels(image, QRect(0, 280, 400, 40)), 100);
}

TEST(Canvas, ShapesFillsAndClipping)
{
    QImage image = whiteImage(100, 100);
    CImageDC dc(image);
    CBrush green(kGreen);
    dc.SelectObject(&green);
    dc.Rectangle(10, 10, 30, 30);
    EXPECT_TRUE(isColour(image, 29, 29, kBlack));
    EXPECT_TRUE(isColour(image, 30, 30, kWhite));
    EXPECT_TRUE(isColour(image, 20, 20, kGreen));
    dc.Ellipse(40, 40, 80, 80);
    EXPECT_TRUE(isColour(image, 60, 60, kGreen));
    EXPECT_TRUE(isColour(image, 41, 41, kWhite));  // outside the curve

    CRgn region(CRect(0, 90, 10, 100));
    region.UnionWith(CRgn(CRect(20, 90, 30, 100)));
    CBrush blue(kBlue);
    dc.FillRgn(&region, &blue);
    EXPECT_TRUE(isColour(image, 15, 95, kWhite));
    dc.FrameRgn(&region, CBrush::BlackBrush(), 1, 1);
    EXPECT_TRUE(isColour(image, 0, 95, kBlack));
    EXPECT_TRUE(isColour(image, 5, 95, kBlue));
    dc.InvertRect(CRect(0, 90, 2, 92));
    EXPECT_TRUE(isColour(image, 1, 90, kWhite));              // was the black frame
    EXPECT_TRUE(isColour(image, 1, 91, RGB(255, 255, 0)));    // was blue

    dc.IntersectClipRect(0, 0, 50, 50);
    dc.FillSolidRect(CRect(0, 0, 100, 100), kRed);
    EXPECT_TRUE(isColour(image, 49, 49, kRed));
    EXPECT_TRUE(isColour(image, 50, 50, kGreen));
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 50, 50));
    dc.SelectClipRgn(nullptr);
    dc.FillSolidRect(CRect(99, 99, 100, 100), kRed);
    EXPECT_TRUE(isColour(image, 99, 99, kRed));
}

TEST(Canvas, NestedContextsOnOneImageBothDraw)
{
    QImage image = whiteImage(40, 40);
    CImageDC outer(image);
    outer.IntersectClipRect(0, 0, 10, 10);
    {
        CImageDC inner(image);  // as a nested drawing pass on the view's image
        inner.FillSolidRect(CRect(20, 20, 30, 30), kBlue);
        outer.FillSolidRect(CRect(0, 0, 40, 40), kRed);
        inner.FillSolidRect(CRect(30, 30, 40, 40), kGreen);
    }
    outer.FillSolidRect(CRect(5, 5, 40, 6), kBlack);
    EXPECT_TRUE(isColour(image, 25, 25, kBlue));
    EXPECT_TRUE(isColour(image, 5, 5, kBlack));
    EXPECT_TRUE(isColour(image, 9, 9, kRed));
    EXPECT_TRUE(isColour(image, 15, 5, kWhite));  // the outer context's clip holds
    EXPECT_TRUE(isColour(image, 35, 35, kGreen));  // the inner one has none
}

TEST(Canvas, PathsAreCollectedThenDrawn)
{
    QImage image = whiteImage(60, 60);
    CImageDC dc(image);
    CBrush red(kRed);
    dc.SelectObject(&red);
    dc.BeginPath();
    dc.MoveTo(10, 10);
    dc.LineTo(50, 10);
    dc.LineTo(50, 50);
    dc.CloseFigure();
    EXPECT_TRUE(isColour(image, 45, 20, kWhite));  // nothing drawn yet
    dc.EndPath();
    EXPECT_TRUE(dc.FillPath());
    EXPECT_TRUE(isColour(image, 45, 20, kRed));
    EXPECT_TRUE(isColour(image, 15, 40, kWhite));
    EXPECT_FALSE(dc.StrokePath());  // the path is used up
}
