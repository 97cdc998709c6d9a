// Printing: pagination into a PDF printer, page numbers at the foot of each
// page, the page-break record, and the screen layout afterwards.
#include "ViewFixture.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>

#include "app/CCorvellDoc.h"
#include "app/DisplayRecord.h"
#include "app/PageBreakList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "platform/draw/ImageDC.h"
#include "platform/framework/CPrintInfo.h"

namespace {

// A page as a printer draws it, on an image: the view prints on it as on paper.
class PageImageDC : public CImageDC {
public:
    explicit PageImageDC(QImage& image) : CImageDC(image) { setPrinting(true); }
};

class PrintingTest : public ViewTest {
protected:
    // Paragraphs enough for several pages.
    void FillDocument(int paragraphs)
    {
        Command(32701 + 3);
        for (int i = 0; i < paragraphs; ++i) {
            Type("Lines of text fill the printed pages one after another");
            if (i + 1 < paragraphs)
                Key(VK_RETURN, 13);
        }
    }

    // Prints one page (1-based) on a letter-size image at 96 dpi.
    QImage PrintPage(int page, bool numbered, int firstNumber)
    {
        DisplayRecord& record = Doc()->GetDisplayRecord();
        record.numberPrintedPages = numbered;
        record.firstPageNumber = int16_t(firstNumber);
        QImage image(816, 1056, QImage::Format_RGB32);
        image.fill(Qt::white);
        SetImageDpi(image, 96);
        PageImageDC dc(image);
        CPrintInfo info;
        view->OnBeginPrinting(&dc, &info);
        pageCount = int(info.GetMaxPage());
        info.m_nCurPage = UINT(page);
        view->OnPrint(&dc, &info);
        view->OnEndPrinting(&dc, &info);
        return image;
    }

    // The band at the foot of the page where the number stands.
    static QImage Foot(const QImage& page) { return page.copy(0, page.height() - 80, page.width(), 80); }
    static bool Blank(const QImage& image)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return true;
    }

    int pageCount = 0;
};

TEST_F(PrintingTest, PageNumbersCountFromTheFirstNumber)
{
    FillDocument(150);
    const QImage firstPage = PrintPage(1, true, 5);
    firstPage.save(QString::fromStdString(OutputPath("page1.png")));
    const QImage fromFive = Foot(firstPage);
    ASSERT_GE(pageCount, 5);
    const QImage pageFive = Foot(PrintPage(5, true, 1));
    const QImage pageOne = Foot(PrintPage(1, true, 1));
    EXPECT_FALSE(Blank(fromFive));
    // Page 1 numbered from 5 shows what page 5 numbered from 1 shows: "5".
    EXPECT_EQ(fromFive, pageFive);
    EXPECT_NE(fromFive, pageOne);
}

TEST_F(PrintingTest, UnnumberedPagesHaveNoNumber)
{
    FillDocument(150);
    EXPECT_TRUE(Blank(Foot(PrintPage(1, false, 1))));
    EXPECT_FALSE(Blank(PrintPage(1, false, 1)));
}

TEST_F(PrintingTest, PrintsEveryPageIntoAPdfAndRestoresTheScreen)
{
    FillDocument(150);
    Rect before;
    Paragraphs().GetAt(100)->GetAbsBounds(before);

    QPrinter& printer = AfxGetPrinter();
    const std::string path = OutputPath("document.pdf");
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    ASSERT_TRUE(view->PrintDocument(TRUE));
    printer.setOutputFileName(QString());

    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString pdf = QString::fromLatin1(file.readAll());
    const qsizetype pages = pdf.count(QRegularExpression("/Type\\s*/Page[^s]"));
    EXPECT_GE(pages, 5);
    EXPECT_EQ(view->GetPageBreaks(), nullptr);

    Rect after;
    Paragraphs().GetAt(100)->GetAbsBounds(after);
    EXPECT_EQ(after, before);
}

TEST(PageBreakListTest, PagesRunFromOneBreakToTheNext)
{
    PageBreakList breaks(10, 500);
    EXPECT_EQ(breaks.GetPageCount(), 0);
    breaks.SetPageStart(1, 900);
    breaks.SetPageStart(2, 1750);
    EXPECT_EQ(breaks.GetPageCount(), 2);
    EXPECT_EQ(breaks.GetPageRect(1), Rect(10, 0, 500, 900));
    EXPECT_EQ(breaks.GetPageRect(2), Rect(10, 900, 500, 1750));
    EXPECT_EQ(breaks.GetPageRect(3), Rect());
    EXPECT_EQ(breaks.GetPageRect(0), Rect());
    // Storing a page again does not lower the count.
    breaks.SetPageStart(1, 800);
    EXPECT_EQ(breaks.GetPageCount(), 2);
    EXPECT_EQ(breaks.GetPageRect(2).top, 800);
}

TEST(PageBreakListTest, GrowsByItsCapacityAtMostThirtyTwo)
{
    PageBreakList breaks(0, 100);
    EXPECT_EQ(breaks.GetCapacity(), 16);
    breaks.SetPageStart(17, 5);
    EXPECT_EQ(breaks.GetCapacity(), 32);
    breaks.SetPageStart(33, 5);
    EXPECT_EQ(breaks.GetCapacity(), 64);
    breaks.SetPageStart(65, 5);
    EXPECT_EQ(breaks.GetCapacity(), 96);
    EXPECT_EQ(breaks.GetPageCount(), 65);
}

} // namespace
