// The device context over images, the measuring context and the printer.
#include "DrawTestSupport.h"

#include "platform/draw/FontMap.h"
#include "platform/draw/ImageDC.h"
#include "platform/draw/MeasureDC.h"
#include "platform/draw/PrinterDC.h"

#include <QFile>
#include <QFontInfo>
#include <QRawFont>
#include <QPrinter>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

CFont textFont(int pixels, const char* face = "Corvell Roman", int charSet = ANSI_CHARSET)
{
    CFont font;
    font.CreateFont(-pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, std::uint8_t(charSet), OUT_TT_PRECIS, 0,
                    PROOF_QUALITY, FF_ROMAN, face);
    return font;
}

}  // namespace

TEST(Canvas, ResolutionAndSizeComeFromTheDevice)
{
    QImage image = whiteImage(200, 100);
    CImageDC dc(image);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 200);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 100);
    EXPECT_EQ(dc.GetDeviceCaps(PLANES), 1);
    EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 32);
    EXPECT_FALSE(dc.IsPrinting());

    CMeasureDC measure;
    EXPECT_EQ(measure.GetDeviceCaps(LOGPIXELSY), 96);
    CMeasureDC fine(300);
    EXPECT_EQ(fine.GetDeviceCaps(LOGPIXELSX), 300);
}

TEST(Canvas, MeasuringMatchesDrawingContexts)
{
    QImage image = whiteImage(10, 10);
    CImageDC dc(image);
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
    EXPECT_GT(a.tmAveCharWidth, 0);

    const std::string text = "Equation x";
    EXPECT_EQ(dc.GetTextExtent(text), measure.GetTextExtent(text));
    int extents[10] = {};
    CSize size;
    ASSERT_TRUE(measure.GetTextExtentExPoint(text.data(), 10, extents, &size));
    for (int i = 1; i < 10; ++i)
        EXPECT_GE(extents[i], extents[i - 1]);
    EXPECT_EQ(extents[9], size.cx);
    EXPECT_EQ(size.cx, measure.GetTextExtent(text).cx);
    EXPECT_EQ(extents[0], measure.GetCharWidth('E'));
    // A wider letter is wider, and a larger font is larger.
    EXPECT_GT(measure.GetCharWidth('M'), measure.GetCharWidth('i'));
    CFont large = textFont(36);
    measure.SelectObject(&large);
    EXPECT_GT(measure.GetTextExtent(text).cx, size.cx * 3 / 2);
}

TEST(Canvas, SelectObjectAnswersThePreviousObjectAndSaveDCRestoresState)
{
    QImage image = whiteImage(10, 10);
    CImageDC dc(image);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
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
    EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(0, 0));
    EXPECT_FALSE(dc.DeviceClip().has_value());
    EXPECT_FALSE(dc.RestoreDC(-1));  // nothing saved any more
}

TEST(Canvas, WindowAndViewportOriginsMoveDrawing)
{
    QImage image = whiteImage(40, 40);
    CImageDC dc(image);
    dc.SetWindowOrg(100, 200);  // device = logical - window origin
    dc.FillSolidRect(CRect(100, 200, 103, 202), RGB(255, 0, 0));
    dc.SetViewportOrg(10, 10);
    dc.FillSolidRect(CRect(100, 200, 101, 201), RGB(0, 0, 255));
    EXPECT_TRUE(isColour(image, 0, 0, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 2, 1, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 3, 1, RGB(255, 255, 255)));  // right edge excluded
    EXPECT_TRUE(isColour(image, 0, 2, RGB(255, 255, 255)));  // bottom edge excluded
    EXPECT_TRUE(isColour(image, 10, 10, RGB(0, 0, 255)));
    CPoint p(100, 200);
    dc.LPtoDP(&p);
    EXPECT_EQ(p, CPoint(10, 10));
    dc.DPtoLP(&p);
    EXPECT_EQ(p, CPoint(100, 200));
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
    EXPECT_GT(countPixels(image, QRect(10, 40, 30, 20), [&](int x, int y) { return isDark(image, x, y); }), 20);
    EXPECT_EQ(countPixels(image, QRect(0, 61, 120, 39), [&](int x, int y) { return isDark(image, x, y); }), 0);

    image.fill(Qt::white);
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.TextOut(10, 10, "H");
    // Top alignment: the cell starts at y = 10, the baseline is an ascent lower.
    EXPECT_EQ(countPixels(image, QRect(0, 0, 120, 10), [&](int x, int y) { return isDark(image, x, y); }), 0);
    EXPECT_EQ(countPixels(image, QRect(0, 10 + tm.tmAscent + 1, 120, 50), [&](int x, int y) { return isDark(image, x, y); }), 0);
    EXPECT_GT(countPixels(image, QRect(0, 10, 120, tm.tmAscent + 1), [&](int x, int y) { return isDark(image, x, y); }), 20);

    // An opaque background fills the text's cell; the current position advances.
    image.fill(Qt::white);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(255, 0, 0));
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(5, 5);
    dc.TextOut(0, 0, "i");
    int width = dc.GetTextExtent("i").cx;
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(5 + width, 5));
    EXPECT_TRUE(isColour(image, 5, 5 + tm.tmHeight - 1, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 5, 5 + tm.tmHeight + 1, RGB(255, 255, 255)));
}

TEST(Canvas, MathFaceTextDrawsItsSymbols)
{
    QImage image = whiteImage(60, 60);
    CImageDC dc(image);
    CFont math = textFont(30, "Corvell Math", SYMBOL_CHARSET);
    dc.SelectObject(&math);
    dc.SetBkMode(TRANSPARENT);
    const char integral[] = {'\xBD'};
    dc.TextOut(10, 5, integral, 1);
    EXPECT_GT(countPixels(image, image.rect(), [&](int x, int y) { return isDark(image, x, y); }), 15);
    EXPECT_EQ(QFontInfo(dc.CurrentQFont()).family(), FontMap::MathFamily());
}

TEST(Canvas, ThinLinesLeaveOutTheirLastPixel)
{
    QImage image = whiteImage(40, 40);
    CImageDC dc(image);
    dc.MoveTo(10, 5);
    dc.LineTo(20, 5);
    dc.LineTo(20, 15);
    EXPECT_TRUE(isColour(image, 10, 5, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 19, 5, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 20, 5, RGB(0, 0, 0)));    // the start of the second line
    EXPECT_TRUE(isColour(image, 20, 14, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 20, 15, RGB(255, 255, 255)));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(20, 15));
}

TEST(Canvas, UnicodeTextFallsBackForCharactersTheFontLacks)
{
    QImage image = whiteImage(60, 40);
    CImageDC dc(image);
    CFont font = textFont(24);
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    QRawFont raw = QRawFont::fromFont(dc.CurrentQFont());
    ASSERT_FALSE(raw.supportsCharacter(QChar(0x2295)));  // circled plus: not in the serif text family
    dc.TextOutW(5, 5, QString(QChar(0x2295)));
    EXPECT_GT(countPixels(image, image.rect(), [&](int x, int y) { return isDark(image, x, y); }), 10);
}

TEST(Canvas, ShapesFillsAndClipping)
{
    QImage image = whiteImage(100, 100);
    CImageDC dc(image);
    CBrush green(RGB(0, 255, 0));
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    dc.SelectObject(&green);
    dc.SelectObject(&black);
    dc.Rectangle(10, 10, 30, 30);
    EXPECT_TRUE(isColour(image, 10, 10, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 29, 29, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 30, 30, RGB(255, 255, 255)));
    EXPECT_TRUE(isColour(image, 20, 20, RGB(0, 255, 0)));

    dc.Ellipse(40, 40, 80, 80);
    EXPECT_TRUE(isColour(image, 60, 60, RGB(0, 255, 0)));
    EXPECT_TRUE(isColour(image, 41, 41, RGB(255, 255, 255)));  // outside the curve

    CRgn region(CRect(0, 90, 10, 100));
    region.UnionWith(CRgn(CRect(20, 90, 30, 100)));
    CBrush blue(RGB(0, 0, 255));
    dc.FillRgn(&region, &blue);
    EXPECT_TRUE(isColour(image, 5, 95, RGB(0, 0, 255)));
    EXPECT_TRUE(isColour(image, 15, 95, RGB(255, 255, 255)));
    dc.FrameRgn(&region, CBrush::BlackBrush(), 1, 1);
    EXPECT_TRUE(isColour(image, 0, 95, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 5, 95, RGB(0, 0, 255)));

    dc.InvertRect(CRect(0, 90, 2, 92));
    EXPECT_TRUE(isColour(image, 1, 90, RGB(255, 255, 255)));  // was the black frame
    EXPECT_TRUE(isColour(image, 1, 91, RGB(255, 255, 0)));    // was blue
    EXPECT_TRUE(isColour(image, 2, 91, RGB(0, 0, 255)));

    dc.IntersectClipRect(0, 0, 50, 50);
    dc.FillSolidRect(CRect(0, 0, 100, 100), RGB(255, 0, 0));
    EXPECT_TRUE(isColour(image, 49, 49, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 50, 50, RGB(0, 255, 0)));
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(0, 0, 50, 50));
    dc.SelectClipRgn(nullptr);
    dc.FillSolidRect(CRect(99, 99, 100, 100), RGB(255, 0, 0));
    EXPECT_TRUE(isColour(image, 99, 99, RGB(255, 0, 0)));
}

TEST(Canvas, NestedContextsOnOneImageBothDraw)
{
    QImage image = whiteImage(40, 40);
    CImageDC outer(image);
    outer.IntersectClipRect(0, 0, 10, 10);
    {
        CImageDC inner(image);  // as a nested drawing pass on the view's image
        inner.FillSolidRect(CRect(20, 20, 30, 30), RGB(0, 0, 255));
        outer.FillSolidRect(CRect(0, 0, 40, 40), RGB(255, 0, 0));
        inner.FillSolidRect(CRect(30, 30, 40, 40), RGB(0, 255, 0));
    }
    outer.FillSolidRect(CRect(5, 5, 40, 6), RGB(0, 0, 0));
    EXPECT_TRUE(isColour(image, 25, 25, RGB(0, 0, 255)));
    EXPECT_TRUE(isColour(image, 5, 5, RGB(0, 0, 0)));
    EXPECT_TRUE(isColour(image, 9, 9, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 15, 5, RGB(255, 255, 255)));  // the outer context's clip holds
    EXPECT_TRUE(isColour(image, 35, 35, RGB(0, 255, 0)));     // the inner one has none
}

TEST(Canvas, PathsAreCollectedThenDrawn)
{
    QImage image = whiteImage(60, 60);
    CImageDC dc(image);
    CBrush red(RGB(255, 0, 0));
    dc.SelectObject(&red);
    dc.BeginPath();
    dc.MoveTo(10, 10);
    dc.LineTo(50, 10);
    dc.LineTo(50, 50);
    dc.CloseFigure();
    EXPECT_TRUE(isColour(image, 45, 20, RGB(255, 255, 255)));  // nothing drawn yet
    dc.EndPath();
    EXPECT_TRUE(dc.FillPath());
    EXPECT_TRUE(isColour(image, 45, 20, RGB(255, 0, 0)));
    EXPECT_TRUE(isColour(image, 15, 40, RGB(255, 255, 255)));
    EXPECT_FALSE(dc.StrokePath());  // the path is used up
}

TEST(Canvas, PrinterMakesAPdfWithTwoPages)
{
    QString path = testOutput("two-pages.pdf");
    QFile::remove(path);
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setResolution(96);
        CPrinterDC dc(printer);
        EXPECT_TRUE(dc.IsPrinting());
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
        EXPECT_GT(dc.GetDeviceCaps(HORZRES), 500);
        ASSERT_GT(dc.StartDoc("Two pages"), 0);
        ASSERT_GT(dc.StartPage(), 0);
        CFont font = textFont(20);
        dc.SelectObject(&font);
        dc.TextOut(50, 50, "First page");
        dc.EndPage();
        ASSERT_GT(dc.StartPage(), 0);
        dc.Ellipse(50, 50, 200, 150);
        dc.EndPage();
        EXPECT_GT(dc.EndDoc(), 0);
        EXPECT_EQ(dc.PageCount(), 2);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page\\b(?!s)")), 2);
}
