// The printer's context printing to a PDF file keeps the colour mode the
// user chose, for fills and pictures alike, as poppler renders the page.
#include "DrawTestSupport.h"

#include "platform/draw/PrinterDC.h"

#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

// A red band, and under it a blue picture whose left half is transparent:
// in grayscale both print as greys, and the transparent half as paper.
TEST(PrinterDC, APdfPrintedInGrayscaleHoldsGreysAndKeepsWhatIsTransparent)
{
    for (const QPrinter::ColorMode mode : {QPrinter::Color, QPrinter::GrayScale}) {
        SCOPED_TRACE(mode);
        const QString pdf = testOutput(QString("colours%1.pdf").arg(mode));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(pdf);
        printer.setColorMode(mode);
        {
            CPrinterDC dc(printer);
            ASSERT_EQ(dc.StartDoc("Colours"), 1);
            dc.StartPage();
            const int inch = dc.GetDeviceCaps(LOGPIXELSX);
            dc.FillSolidRect(CRect(0, 0, 2 * inch, inch), RGB(220, 30, 30));
            QImage picture(20, 10, QImage::Format_ARGB32);
            picture.fill(Qt::transparent);
            QPainter(&picture).fillRect(10, 0, 10, 10, QColor(30, 30, 220));
            dc.StretchImage(CRect(0, inch, 2 * inch, 2 * inch), picture);
            dc.EndPage();
            ASSERT_EQ(dc.EndDoc(), 1);
        }
        ASSERT_EQ(QProcess::execute("pdftoppm", {"-png", "-r", "20", "-singlefile", pdf, pdf}), 0);
        const QImage page = QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
        const auto count = [&](auto test) {
            return countPixels(page, page.rect(), [&](int x, int y) { return test(QColor(page.pixel(x, y))); });
        };
        const int red = count([](QColor c) { return c.red() > 180 && c.green() < 80; });
        const int blue = count([](QColor c) { return c.blue() > 180 && c.red() < 80; });
        const int grey = count([](QColor c) { return c.red() == c.green() && c.green() == c.blue() && c.red() < 200; });
        // Two square inches of red and one of blue, at 20 dpi.
        EXPECT_TRUE(mode == QPrinter::Color ? red > 700 && blue > 300 : red + blue == 0 && grey > 1000)
            << red << " red, " << blue << " blue, " << grey << " grey";
        EXPECT_EQ(count([](QColor c) { return qGray(c.rgb()) < 32; }), 0);
    }
}
