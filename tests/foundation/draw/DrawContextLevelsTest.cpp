// The stack of device contexts: what each level sets up and what ending it
// gives back.
#include "DrawTestSupport.h"

#include "support/FakeUserInterface.h"

#include "platform/Exceptions.h"
#include "platform/draw/PrinterDC.h"

#include <QDir>
#include <QPrinter>

#include <memory>

using DrawContextLevelsTest = DrawTest;

TEST_F(DrawContextLevelsTest, BeginDrawUsesTheViewsLevelAndScrollPosition)
{
    ImageView view;
    view.sizeLevel = 2;
    view.scroll = IntPoint(100, 40);
    gDrawContext.BeginDraw(&view);
    EXPECT_EQ(view.prepared, 1);
    EXPECT_EQ(gDrawContext.GetFontSize(), 20);
    EXPECT_EQ(gDrawContext.GetDC()->CurrentLogFont().lfHeight, -(96 * 20 / 72));

    gDrawContext.SetOrigin(IntPoint(10, 5));
    EXPECT_EQ(gDrawContext.ToDevice(IntPoint(150, 60)).x, 60);
    EXPECT_EQ(gDrawContext.ToDevice(IntPoint(150, 60)).y, 25);
    gDrawContext.InvalidateLogicalRect(Rect(100, 40, 120, 50));
    ASSERT_EQ(view.invalidated.size(), 1u);
    EXPECT_EQ(view.invalidated[0], Rect(10, 5, 30, 15));
    gDrawContext.EraseRect(Rect(0, 0, 400, 300));
    gDrawContext.InvertRect(Rect(100, 40, 102, 42));  // the view's top-left corner
    gDrawContext.EndDraw();
    EXPECT_EQ(InkedPixels(view.image), 4);
    EXPECT_NE(view.image.pixel(10, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(gDrawContext.GetDC(), nullptr);
    gDrawContext.EndDraw();  // nothing left to end
    EXPECT_EQ(gDrawContext.GetDepth(), 0);
}

TEST_F(DrawContextLevelsTest, EndDrawRestoresTheOuterLevelsPrintingResolutionAndFont)
{
    QImage screenImage(200, 100, QImage::Format_RGB32);
    SetImageDpi(screenImage, 96);
    CImageDC screen(screenImage);
    QImage sharpImage(200, 100, QImage::Format_RGB32);
    SetImageDpi(sharpImage, 300);
    CImageDC sharp(sharpImage);

    QDir().mkpath(QV_TEST_OUTPUT);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString(QV_TEST_OUTPUT) + "/levels.pdf");
    CPrinterDC paper(printer);
    const int paperDpi = paper.GetDeviceCaps(LOGPIXELSY);
    ASSERT_GT(paperDpi, 96);
    CFont* paperFontBefore = paper.GetCurrentFont();

    gDrawContext.BeginDrawOnDC(nullptr, &screen);
    gDrawContext.PushSize(1);
    EXPECT_EQ(screen.CurrentLogFont().lfHeight, -16);  // 12 points

    gDrawContext.BeginDrawOnDC(nullptr, &paper);
    EXPECT_EQ(paper.CurrentLogFont().lfHeight, -(paperDpi * 12 / 72));

    gDrawContext.BeginDrawOnDC(nullptr, &sharp);
    gDrawContext.SetFontFamily(DrawContext::kMathFamily);
    EXPECT_FALSE(gDrawContext.IsPrinting());

    gDrawContext.EndDraw();
    EXPECT_TRUE(gDrawContext.IsPrinting());
    EXPECT_EQ(gDrawContext.GetResolutionY(), paperDpi);
    EXPECT_EQ(gDrawContext.GetFontFamily(), 0);
    EXPECT_EQ(paper.CurrentLogFont().lfCharSet, ANSI_CHARSET);

    gDrawContext.EndDraw();
    EXPECT_FALSE(gDrawContext.IsPrinting());
    EXPECT_EQ(gDrawContext.GetAscent(), -(1413 * 12 / 2048 * 96 / 72) - 1);
    EXPECT_EQ(screen.CurrentLogFont().lfHeight, -16);
    // The printer's context has its own font back.
    EXPECT_EQ(paper.GetCurrentFont(), paperFontBefore);

    gDrawContext.PopSize();
    gDrawContext.EndDraw();
}

TEST_F(DrawContextLevelsTest, NestingIsLimitedTo31Levels)
{
    std::vector<std::unique_ptr<ImageView>> views;
    for (int i = 0; i < DrawContext::kMaxLevels; ++i) {
        views.push_back(std::make_unique<ImageView>(8, 8));
        gDrawContext.BeginDraw(views.back().get());
    }
    ImageView oneTooMany(8, 8);
    EXPECT_THROW(gDrawContext.BeginDraw(&oneTooMany), CException);
    EXPECT_EQ(gDrawContext.GetDepth(), DrawContext::kMaxLevels);
    EXPECT_EQ(gDrawContext.GetTarget(), views.back().get());
    while (gDrawContext.GetDepth() > 0)
        gDrawContext.EndDraw();
}

TEST_F(DrawContextLevelsTest, PrintedPagesUseTheDeviceWidth)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QDir().mkpath(QV_TEST_OUTPUT);
    printer.setOutputFileName(QString(QV_TEST_OUTPUT) + "/page.pdf");
    CPrinterDC paper(printer);
    gDrawContext.BeginDrawOnDC(nullptr, &paper);
    const int res = gDrawContext.GetResolutionX();
    const int horzRes = paper.GetDeviceCaps(HORZRES);
    const int margin = gDrawContext.GetMarginUnit();
    EXPECT_EQ(gDrawContext.GetLeftMargin(), 0);
    EXPECT_EQ(gDrawContext.GetPageWidth(), horzRes - 2 * margin);
    EXPECT_EQ(gDrawContext.GetPageHeight(), horzRes - (588 - 539) * res / 72 - 2 * margin);
    EXPECT_EQ(gDrawContext.GetPrintableHeight(), paper.GetDeviceCaps(VERTRES) - 5 * margin / 2);
    gDrawContext.EndDraw();
}

TEST(ShowMessageOrBeep, ShowsATextAndBeepsForNone)
{
    FakeUserInterface ui;
    ShowMessageOrBeep("The kernel is busy.");
    ShowMessageOrBeep("");
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "The kernel is busy.");
    EXPECT_EQ(ui.beeps.size(), 1u);
}

TEST_F(DrawContextLevelsTest, ALevelNestedOnTheSameContextSurvivesNewFaces)
{
    QImage image(100, 50, QImage::Format_RGB32);
    CImageDC dc(image);
    CFont* before = dc.GetCurrentFont();
    gDrawContext.BeginDrawOnDC(nullptr, &dc);
    gDrawContext.BeginDrawOnDC(nullptr, &dc);
    gDrawContext.SetFontFamily(2);
    TextPrefs chosen;
    chosen.boldFont.AssignText("DejaVu Sans");
    fonts.UpdateTextFaces(chosen);  // the fonts selected so far are gone
    gDrawContext.EndDraw();
    EXPECT_EQ(dc.CurrentLogFont().lfFaceName, "Corvell Roman");
    gDrawContext.EndDraw();
    EXPECT_EQ(dc.GetCurrentFont(), before);
}
