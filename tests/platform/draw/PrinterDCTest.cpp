// The printer's context printing to a PDF file: the colour mode the user
// chose holds for fills and pictures alike, as poppler renders the page.
#include "DrawTestSupport.h"

#include "platform/draw/PrinterDC.h"

#include <QPrinter>

#include <gtest/gtest.h>

namespace {

// A red band, and under it a blue picture whose left half is transparent.
QImage PrintColours(QPrinter::ColorMode mode, const QString& name)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setColorMode(mode);
    const QString pdf = testOutput(name + ".pdf");
    printer.setOutputFileName(pdf);
    CPrinterDC dc(printer);
    EXPECT_EQ(dc.StartDoc("Colours"), 1);
    dc.StartPage();
    const int inch = dc.GetDeviceCaps(LOGPIXELSX);
    dc.FillSolidRect(CRect(0, 0, 2 * inch, inch), RGB(220, 30, 30));
    QImage picture(2 * inch / 10, inch / 10, QImage::Format_ARGB32);
    picture.fill(QColor(30, 30, 220));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width() / 2; ++x)
            picture.setPixel(x, y, qRgba(0, 0, 0, 0));
    dc.StretchImage(CRect(0, inch, 2 * inch, 2 * inch), picture);
    dc.EndPage();
    EXPECT_EQ(dc.EndDoc(), 1);
    const QString png = testOutput(name);
    if (QProcess::execute("pdftoppm", {"-png", "-r", "20", "-singlefile", pdf, png}) != 0)
        return {};
    return QImage(png + ".png").convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(PrinterDC, APdfPrintedInGrayscaleHoldsGreysAndKeepsWhatIsTransparent)
{
    const auto count = [](const QImage& page, auto test) {
        return countPixels(page, page.rect(), [&](int x, int y) { return test(QColor(page.pixel(x, y))); });
    };
    const auto tinted = [](const QColor& c) {
        return std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()}) > 24;
    };
    const auto black = [](const QColor& c) { return qGray(c.rgb()) < 32; };
    const QImage colour = PrintColours(QPrinter::Color, "colour");
    const QImage grey = PrintColours(QPrinter::GrayScale, "grey");
    ASSERT_FALSE(colour.isNull() || grey.isNull()) << "pdftoppm did not run";
    // Two inches by one of red and one by one of blue, at 20 dpi.
    EXPECT_GT(count(colour, [](const QColor& c) { return c.red() > 180 && c.green() < 80; }), 700);
    EXPECT_GT(count(colour, [](const QColor& c) { return c.blue() > 180 && c.red() < 80; }), 300);
    EXPECT_EQ(count(grey, tinted), 0);
    EXPECT_GT(count(grey, [](const QColor& c) { return c.red() < 200; }), 1000);
    // The transparent half shows the paper, in either mode.
    EXPECT_EQ(count(colour, black) + count(grey, black), 0);
}
