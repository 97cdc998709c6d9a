// Paragraph and character styles, Enter and Ctrl+Enter, the display sizes,
// the frame's placement, an empty document, page numbering and printing.
#include "ViewFixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMenu>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <cmath>
#include <fstream>
#include <functional>

#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/DisplayRecord.h"
#include "app/PageBreakList.h"
#include "app/WorkStatus.h"
#include "foundation/DrawTargetScope.h"
#include "foundation/LongWork.h"
#include "platform/InputGate.h"
#include "platform/draw/ImageDC.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CPrintInfo.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/InputGateFilter.h"
#include "drawing/DrawingComponents.h"
#include "plot/PlotComponents.h"
#include "plot/TwoDPlotComp.h"
#include "support/ScopedInstall.h"
#include "support/SmallDisk.h"

namespace {

constexpr UINT kStyle = 32701;

TEST_F(ViewTest, ParagraphAndCharacterStylesAreChecked)
{
    Command(kStyle + 2);
    EXPECT_EQ(Style(1), 2);
    EXPECT_EQ(Update(kStyle + 2).check, 1);
    EXPECT_EQ(Update(kStyle + 5).check, 0);
    // The same style again keeps no new undo step.
    TAction* kept = view->GetKeptAction();
    Command(kStyle + 2);
    EXPECT_EQ(view->GetKeptAction(), kept);

    Command(kStyle + 3);
    Type("a");
    EXPECT_EQ(Update(32601).check, 1);
    EXPECT_EQ(Update(32604).check, 0);
    Command(32901);  // a symbol types in the math face
    EXPECT_EQ(Update(32604).check, 1);
    EXPECT_EQ(Update(32601).check, 0);
}

TEST_F(ViewTest, EnterSplitsIntoTheFollowingStyleAndCtrlEnterToggles)
{
    Command(kStyle + 3);
    Type("abcd");
    Key(VK_ESCAPE, 27);
    Key('B', 2, Qt::ControlModifier);  // control characters are not typed
    PutCaret(1, 3);
    Key(VK_RETURN, 13);
    EXPECT_EQ(Text(1), "ab");
    EXPECT_EQ(Text(2), "cd");
    Key(VK_BACK, 8);  // at a paragraph's start: joins it to the one before
    ASSERT_EQ(Paragraphs().GetCount(), 1);
    EXPECT_EQ(Text(1), "abcd");

    Command(kStyle + 0);  // after a title comes plain text
    Key(VK_END);
    Key(VK_RETURN, 13);
    EXPECT_EQ(Style(2), 3);
    Command(kStyle + 6);
    Key(VK_RETURN, 13);
    EXPECT_EQ(Style(3), 6);
    for (int expected : {3, 5, 3}) {
        Key(VK_RETURN, 10, Qt::ControlModifier);
        EXPECT_EQ(Style(Paragraphs().GetCount()), expected);
    }
    EXPECT_EQ(Paragraphs().GetCount(), 6);
}

TEST_F(ViewTest, CtrlEnterInsideAStructureTogglesANewParagraphAfterTheStructure)
{
    Command(kStyle + 3);
    Type("ab");
    Command(32850);  // a fraction, the caret in its numerator
    Type("x");
    Key(VK_RETURN, 10, Qt::ControlModifier);
    ASSERT_EQ(Paragraphs().GetCount(), 2);
    EXPECT_EQ(Text(1), "ab#");
    EXPECT_EQ(Row(1)->GetAt(3)->GetChild(1)->GetCount(), 1);
    EXPECT_EQ(Style(2), 5);
    EXPECT_EQ(view->GetSelection().GetStart(), DocPosition(Row(2), 1));
}

TEST_F(ViewTest, EveryDisplaySizeHasItsCommandAndMenuItem)
{
    const int expected[] = {7, 6, 5, 4, 3};
    Doc()->SetModifiedFlag(FALSE);
    for (UINT id = 15000; id <= 15004; ++id) {
        Command(id);
        EXPECT_EQ(view->GetDisplaySize(), expected[id - 15000]) << id;
        EXPECT_EQ(Doc()->GetDisplayRecord().displaySize, expected[id - 15000]);
        EXPECT_EQ(Update(id).check, 1) << id;
    }
    EXPECT_TRUE(Doc()->IsModified());

    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(129));
    QMenu* display = nullptr;
    for (int i = 0; i < bar.GetMenuItemCount(); ++i)
        if (QMenu* popup = bar.GetSubMenu(i); popup && popup->title().remove('&') == "Display")
            display = popup;
    ASSERT_NE(display, nullptr);
    CMenu::UpdatePopup(display, view, true);
    int sizes = 0;
    for (QAction* item : display->actions()) {
        if (item->isSeparator())
            continue;
        const std::string name = item->text().toStdString();
        EXPECT_TRUE(view->HasCommandHandler(CMenu::IdOf(item))) << name;
        EXPECT_TRUE(item->isEnabled()) << name;
        if (item->text().contains("Point")) {
            ++sizes;
            EXPECT_EQ(item->isChecked(), item->text().remove('&').startsWith("18")) << name;
        }
    }
    EXPECT_EQ(sizes, 5);

    Command(32790);  // Larger Equations
    EXPECT_TRUE(Doc()->GetLargerEquations());
    EXPECT_EQ(Update(32790).check, 1);
}

TEST_F(ViewTest, FramePlacementIsClampedIntoTheWindowArea)
{
    const std::pair<Rect, Rect> cases[] = {  // empty expectation: anywhere inside
        {Rect(10, 20, 410, 320), Rect(10, 20, 410, 320)},
        {Rect(50000, 40000, 50300, 40200), Rect(0, 0, 300, 200)},  // outside: keeps its size
        {Rect(-50, -5, 100000, 100000), Rect()},
        {Rect(INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN), Rect()},
    };
    for (const auto& [in, expected] : cases) {
        DisplayRecord record, stored;
        record.left = in.left, record.top = in.top, record.right = in.right, record.bottom = in.bottom;
        view->ApplyFramePlacement(record);
        view->StoreFramePlacement(stored);
        const Rect got(stored.left, stored.top, stored.right, stored.bottom);
        EXPECT_TRUE(expected.IsEmpty() || got == expected) << in.left;
        EXPECT_TRUE(got.left >= 0 && got.top >= 0 && !got.IsEmpty()) << in.left;
        EXPECT_TRUE(got.right < 100000 && got.bottom < 100000) << in.left;
    }
}

TEST_F(ViewTest, AnEmptyParagraphListGetsAParagraphForTheCaret)
{
    Type("old");
    Doc()->GetParagraphList()->DeleteAll();
    view->SetParagraphList(Doc()->GetParagraphList());
    EXPECT_EQ(view->GetKeptAction(), nullptr);  // it went with the old paragraphs
    ASSERT_EQ(Paragraphs().GetCount(), 1);
    EXPECT_EQ(view->GetSelection().GetEnd().GetParagraphComp(), Paragraphs().GetAt(1));

    const std::string path = OutputPath("empty.vxm");
    std::ofstream(path, std::ios::binary).close();
    auto* doc = dynamic_cast<CCorvellDoc*>(app->OpenDocumentFile(path.c_str()));
    ASSERT_NE(doc, nullptr);
    view = dynamic_cast<CCorvellView*>(doc->GetMainView());
    ASSERT_GE(Paragraphs().GetCount(), 1);
    EXPECT_EQ(view->GetSelection().GetEnd().GetKind(), DocPosition::kListPlace);
    EXPECT_EQ(view->GetSelection().GetEnd().GetParagraphComp(), Paragraphs().GetAt(1));
    Type("z");
    EXPECT_EQ(Text(1), "z");
}

// A page as a printer draws it, on an image.
class PageImageDC : public CImageDC {
public:
    explicit PageImageDC(QImage& image) : CImageDC(image) { setPrinting(true); }
};

class PrintingTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Fill(150, "Lines of text fill the printed pages one after another");
    }
    // A page (1-based) printed on a letter-size image, at 96 dpi unless told.
    QImage Print(int page, bool numbered, int firstNumber, int dpi = 96)
    {
        Doc()->GetDisplayRecord().numberPrintedPages = numbered;
        Doc()->GetDisplayRecord().firstPageNumber = int16_t(firstNumber);
        QImage image(85 * dpi / 10, 11 * dpi, QImage::Format_RGB32);
        image.fill(Qt::white);
        SetImageDpi(image, dpi);
        PageImageDC dc(image);
        CPrintInfo info;
        view->OnBeginPrinting(&dc, &info);
        pageCount = int(info.GetMaxPage());
        info.m_nCurPage = UINT(page);
        view->OnPrint(&dc, &info);
        view->OnEndPrinting(&dc, &info);
        return image;
    }
    QImage Foot(int page, bool numbered, int first) { return Print(page, numbered, first).copy(0, 976, 816, 80); }
    // The pixels of the area inked in one image with no trace of ink at or
    // beside them in the other.
    static int InkApart(const QImage& inked, const QImage& other, const QRect& area)
    {
        // Hairlines come back from a finer resolution grey: any grey is ink
        // enough to stand beside.
        auto ink = [](const QImage& image, int x, int y, int below) { return qGray(image.pixel(x, y)) < below; };
        int apart = 0;
        for (int y = area.top() + 1; y < area.bottom(); ++y)
            for (int x = area.left() + 1; x < area.right(); ++x) {
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = ink(other, x + dx, y + dy, 240);
                apart += ink(inked, x, y, 128) && !near;
            }
        return apart;
    }
    // The document printed into a PDF of the name, on letter paper.
    QString PrintPdf(const std::string& name)
    {
        QPrinter& printer = AfxGetPrinter();
        const QString pdf = QString::fromStdString(OutputPath(name));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(view->PrintDocument(TRUE));
        printer.setOutputFileName(QString());
        return pdf;
    }
    // Shows the print preview at every zoom its box offers, and at those it
    // opened at and showed a user, and lets `look` read its view at each.
    void PreviewAtEveryZoom(const std::function<void(const QString&, QGraphicsView*)>& look)
    {
        bool shown = false;
        ScopedInstall<CommonDialogHook> preview(SetCommonDialogHook, [&](QDialog& dialog) {
            dialog.resize(1600, 1000);
            dialog.show();
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            auto* zooms = dialog.findChild<QComboBox*>();
            auto* scene = widget ? widget->findChild<QGraphicsView*>() : nullptr;
            QStringList factors = {"77.2%", "51.2%", "33.3%"};
            for (int i = 0; zooms && i < zooms->count(); ++i)
                factors << zooms->itemText(i);
            shown = scene && factors.size() > 3;
            for (const QString& factor : shown ? factors : QStringList()) {
                widget->setZoomFactor(QString(factor).remove('%').toDouble() / 100);
                look(factor, scene);
            }
            return int(QDialog::Rejected);
        });
        Command(ID_FILE_PRINT_PREVIEW);
        EXPECT_TRUE(shown) << "no preview, or no zoom box";
    }
    static QByteArray Bytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The hidden files beside a file: its temporaries.
    static QStringList HiddenBeside(const QString& path)
    {
        return QDir(QFileInfo(path).path()).entryList({".*"}, QDir::Hidden | QDir::Files);
    }
    // The pages pdfinfo reads in a PDF; -1 when it cannot read it.
    static int PdfInfoPages(const QString& path)
    {
        QProcess info;
        info.start("pdfinfo", {path});
        const bool read = info.waitForFinished(60000) && info.exitCode() == 0;
        const QString said = QString::fromUtf8(info.readAllStandardOutput());
        return read ? said.section("Pages:", 1).section('\n', 0, 0).trimmed().toInt() : -1;
    }
    static bool Blank(const QImage& image)
    {
        QImage white(image.size(), image.format());
        white.fill(Qt::white);
        return image == white;
    }
    int pageCount = 0;
};

TEST_F(PrintingTest, PageNumbersCountFromTheNumberGivenInTheDialog)
{
    EXPECT_FALSE(Blank(Print(1, false, 1)));
    EXPECT_TRUE(Blank(Foot(1, false, 1)));
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemInt(1000, 9);
        dialog.PressButton(IDCANCEL);
    });
    Command(32789);
    EXPECT_EQ(Doc()->GetDisplayRecord().firstPageNumber, 1);
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemInt(1000, 5);
        dialog.PressButton(IDOK);
    });
    Doc()->SetModifiedFlag(FALSE);
    Command(32789);
    EXPECT_TRUE(Doc()->IsModified());
    const QImage fromFive = Foot(1, true, Doc()->GetDisplayRecord().firstPageNumber);
    ASSERT_GE(pageCount, 5);
    EXPECT_FALSE(Blank(fromFive));
    // Page 1 numbered from 5 shows what page 5 numbered from 1 shows: "5".
    EXPECT_EQ(fromFive, Foot(5, true, 1));
    EXPECT_NE(fromFive, Foot(1, true, 1));
}

// Printed at the printer's resolution every line shows on one page only, as
// pdftotext reads the pages; the empty numbered equation that ends the
// document prints its number. In the second pass numbered equations with sums
// and fractions stand among the lines, at 18 points with larger equations, so
// that they wrap: the line that starts a page used to be drawn at the foot of
// the page before as well, clipped to the tops of its tall letters.
TEST_F(PrintingTest, PrintsEveryPageIntoAPdfAndRestoresTheScreen)
{
    // An empty numbered equation ends the document.
    PutCaret(150, 1);
    Key(VK_END);
    Key(VK_RETURN, 13);
    Command(kStyle + 6);
    // Its number prints whole in the label column (the right quarter, where
    // nothing else prints), not the tops of its parentheses alone.
    Print(1, false, 1);
    const QImage last = Print(pageCount, false, 1, 300);
    int inkedRows = 0;
    for (int y = 0; y < last.height(); ++y) {
        bool inked = false;
        for (int x = last.width() * 3 / 4; x < last.width() && !inked; ++x)
            inked = qGray(last.pixel(x, y)) < 128;
        inkedRows += inked;
    }
    EXPECT_GT(inkedRows, 20);
    for (int pass : {0, 1, 2}) {
        SCOPED_TRACE(pass);
        // The third pass adds all the lines once more as one paragraph after
        // a word wider than the page: it prints scaled down, over pages.
        if (pass == 2) {
            Key(VK_END, -1, Qt::ControlModifier);
            Key(VK_RETURN, 13);
            Command(kStyle + 3);
            std::string text(150, 'W');
            for (int i = 0; i < 150; ++i)
                text += " Lines of text fill the printed pages one after another";
            for (char c : text)
                Row(Paragraphs().GetCount())->Append(fonts->GetFace(0)->GetCharacter(static_cast<unsigned char>(c)));
            view->Relayout();
        }
        for (int i = 2, step = 2; pass && i <= 150; i += step, step = step % 5 + 1) {
            PutCaret(i, 1);
            Command(kStyle + 6);
            PutCaret(i, 1);
            Command(i % 2 ? 32850 : 32860); // Element/Fraction, Element/Summation
        }
        if (pass) {
            Command(15004); // Display/18 Point
            Command(32790); // Display/Larger Equations
        }
        Rect before, after;
        Paragraphs().GetAt(100)->GetAbsBounds(before);
        QPrinter& printer = AfxGetPrinter();
        const QString path = QString::fromStdString(OutputPath("document " + std::to_string(pass) + ".pdf"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        ASSERT_TRUE(view->PrintDocument(TRUE));
        printer.setOutputFileName(QString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_GE(QString::fromLatin1(file.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")), 5);
        EXPECT_EQ(view->GetPageBreaks(), nullptr);
        Paragraphs().GetAt(100)->GetAbsBounds(after);
        EXPECT_EQ(after, before);
        QProcess text;
        text.start("pdftotext", {path, "-"});
        ASSERT_TRUE(text.waitForFinished(60000)) << "pdftotext did not run";
        EXPECT_EQ(QString::fromUtf8(text.readAllStandardOutput()).count("another"), pass == 2 ? 300 : 150);
    }
}

// Escape while the pages are prepared, and while they print: nothing is
// printed, an earlier PDF of the name stays byte for byte, no temporary is
// left, and the screen's layout is as it was.
TEST_F(PrintingTest, EscapeStopsPrintingAndTheScreenKeepsItsLayout)
{
    ScopedInstall<WorkWatcher*> watcher(&LongWork::Install, &WorkStatus::Instance());
    InputGateFilter::Install();
    QPrinter& printer = AfxGetPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    for (const auto& row :
         {std::pair<std::string, QByteArray>{"Preparing the pages", ""}, {"Printing the pages", "%PDF-1.4 earlier"}}) {
        const std::string& when = row.first;
        const QByteArray& earlier = row.second;
        SCOPED_TRACE(when);
        const QString path = QString::fromStdString(OutputPath(when + ".pdf"));
        QFile file(path);
        ASSERT_TRUE(earlier.isEmpty() ? !file.exists() || file.remove()
                                      : file.open(QIODevice::WriteOnly) && file.write(earlier) > 0);
        file.close();
        printer.setOutputFileName(path);
        Rect before, after;
        Paragraphs().GetAt(100)->GetAbsBounds(before);
        bool stopped = false;
        ui.onStatus = [&](const std::string& text) {
            if (stopped || text.rfind(when, 0) != 0)
                return;
            stopped = true;
            QCoreApplication::postEvent(view->widget(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        };
        view->PrintDocument(TRUE);
        ui.onStatus = nullptr;
        printer.setOutputFileName(QString());
        EXPECT_TRUE(stopped);
        EXPECT_EQ(ui.LastStatus(), "Stopped: the pages were not printed.");
        EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), earlier);
        EXPECT_TRUE(QDir(QFileInfo(path).path()).entryList({"*.pdf.*"}, QDir::Hidden | QDir::Files).isEmpty());
        Paragraphs().GetAt(100)->GetAbsBounds(after);
        EXPECT_EQ(after, before);
        EXPECT_FALSE(InputGate::IsHolding());
        EXPECT_FALSE(view->DrawingHeld());
    }
    // A folder under the PDF's name is said to be one and left as it is.
    const QString taken = QString::fromStdString(OutputPath("taken.pdf"));
    ASSERT_TRUE(QDir().mkpath(taken));
    printer.setOutputFileName(taken);
    view->PrintDocument(TRUE);
    printer.setOutputFileName(QString());
    EXPECT_NE(ui.LastBoxText().find("printed to \"taken.pdf\". That name belongs to a folder"), std::string::npos);
}

// A text as a PDF's document information holds it: UTF-16 after a byte-order
// mark, in parentheses.
QByteArray PdfText(const QString& text)
{
    QByteArray out("(\xFE\xFF");
    for (QChar c : text) {
        out.append(char(c.unicode() >> 8));
        out.append(char(c.unicode() & 0xFF));
    }
    return out + ")";
}

// The unsaved-changes mark of the title (or the blank a save leaves in its
// place) is no part of the printed document's name: not of the name the
// print dialog proposes a file by, nor of the PDF's title.
TEST_F(PrintingTest, APrintedDocumentIsNamedWithoutTheModifiedMark)
{
    QPrinter& printer = AfxGetPrinter();
    const QString path = QString::fromStdString(OutputPath("named.pdf"));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    Doc()->SetTitle("Notes");
    for (BOOL modified : {TRUE, FALSE}) {
        SCOPED_TRACE(modified ? "modified" : "saved");
        Doc()->SetModifiedFlag(modified);
        ASSERT_NE(Doc()->GetTitle().str(), "Notes");
        printer.setOutputFileName(path);
        ASSERT_TRUE(view->PrintDocument(TRUE));
        printer.setOutputFileName(QString());
        EXPECT_EQ(printer.docName(), "Notes");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        EXPECT_TRUE(pdf.contains("/Title " + PdfText("Notes"))) << pdf.left(600).toStdString();
    }
}

// The PDF last printed, whose name the printer keeps, stays byte for byte
// through a print preview, which writes no file, and through a print onto a
// disk that fills at the first byte, half-way or at the last byte: that print
// says so, naming the file, and while it says so no temporary stands beside
// the PDF. The next print, onto a disk with room, is a PDF pdfinfo reads.
TEST_F(PrintingTest, APreviewOrAPrintOntoAFullDiskLeavesTheEarlierPdfAsItWas)
{
    QPrinter& printer = AfxGetPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    const auto print = [&](const QString& path) {
        printer.setOutputFileName(path);
        view->PrintDocument(TRUE);
    };
    const auto forget = qScopeGuard([&] { printer.setOutputFileName(QString()); });
    const QString first = QString::fromStdString(OutputPath("first.pdf"));
    print(first);
    const QByteArray printed = Bytes(first);
    int previewed = 0;
    {
        ScopedInstall<CommonDialogHook> preview(SetCommonDialogHook, [&](QDialog& dialog) {
            dialog.show();
            previewed = dialog.findChild<QPrintPreviewWidget*>()->pageCount();
            return int(QDialog::Rejected);
        });
        Command(ID_FILE_PRINT_PREVIEW);
    }
    const int pages = PdfInfoPages(first);
    ASSERT_TRUE(pages > 1 && pages == previewed) << pages << " pages printed, " << previewed << " previewed";
    EXPECT_TRUE(Bytes(first) == printed && HiddenBeside(first).isEmpty());
    const int64_t size = printed.size();
    // Another document of as many pages, so that a PDF written anew differs.
    Row(1)->SetAt(fonts->GetFace(0)->GetCharacter('M'), 1);
    view->Relayout();

    const std::string skipped = OnFullDisks(
        OutputPath("hook"), OutputPath("small"), 2 * size + 16384, {0, size / 2, size - 1},
        [&](const std::string& folder) {
            QFile::remove(QString::fromStdString(folder + "/old.pdf"));
            EXPECT_TRUE(QFile::copy(first, QString::fromStdString(folder + "/old.pdf")));
        },
        [&](const std::string& folder) {
            const QString path = QString::fromStdString(folder + "/old.pdf");
            bool keptWhileShown = false;
            ui.boxes.clear();
            ui.onBox = [&](const std::string&) {
                keptWhileShown = Bytes(path) == printed && HiddenBeside(path).isEmpty();
            };
            print(path);
            ui.onBox = nullptr;
            ASSERT_EQ(ui.boxes.size(), 1u);
            EXPECT_NE(ui.LastBoxText().find("printed to \"old.pdf\". The disk is full."), std::string::npos)
                << ui.LastBoxText();
            EXPECT_TRUE(keptWhileShown && Bytes(path) == printed);
        });
    const QString after = QString::fromStdString(OutputPath("after.pdf"));
    ui.boxes.clear();
    print(after);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_EQ(PdfInfoPages(after), pages);
    EXPECT_NE(Bytes(after), printed);
    if (!skipped.empty())
        GTEST_SKIP() << skipped << ": the rows of a real full disk did not run";
}

// A drawing at its default size, ten inches wide, prints whole: scaled down
// to the printable width, its frame's right edge on the page.
TEST_F(PrintingTest, AWideDrawingPrintsScaledToThePrintableWidth)
{
    PutCaret(1, 1);
    Key(VK_RETURN, 13);
    PutCaret(1, 1);
    Command(32871); // Element/Drawing
    const QImage page = Print(1, false, 1);
    page.save(QString::fromStdString(OutputPath("wide drawing.png")));
    // The frame's sides are the only columns inked along most of the page.
    int right = -1;
    for (int x = 0; x < page.width(); ++x) {
        int inked = 0;
        for (int y = 0; y < page.height(); ++y)
            inked += qGray(page.pixel(x, y)) < 160;
        if (inked > 300)
            right = x;
    }
    const int margin = 56; // 42 points at 96 dpi
    EXPECT_LT(right, page.width() - margin);
    EXPECT_GT(right, page.width() - margin - 8);
}

// Whether the line from a to b (inclusive, along a row or a column) is
// inked black, as a frame prints: not the green of an active drawing.
bool BlackLine(const QImage& image, QPoint a, QPoint b)
{
    const QPoint step((b.x() > a.x()) - (b.x() < a.x()), (b.y() > a.y()) - (b.y() < a.y()));
    for (QPoint p = a;; p += step) {
        if (!image.rect().contains(p))
            return false;
        const QRgb ink = image.pixel(p);
        if (qGray(ink) > 140 || qGreen(ink) > 110)
            return false;
        if (p == b)
            return true;
    }
}

// The box around the longest black rows and columns of an image: a frame.
QRect FrameIn(const QImage& image)
{
    QRect frame;
    for (int y = 0; y < image.height(); ++y)
        if (BlackLine(image, QPoint(image.width() / 4, y), QPoint(image.width() * 3 / 4, y)))
            frame |= QRect(frame.isNull() ? image.width() / 2 : frame.left(), y, 1, 1);
    for (int x = 0; x < image.width(); ++x)
        if (frame.isValid() && BlackLine(image, QPoint(x, frame.top() + 2), QPoint(x, frame.bottom() - 2)))
            frame |= QRect(x, frame.top(), 1, 1);
    return frame;
}

// A drawing at the left margin, printed, shows its frame's four sides in the
// print preview at every zoom its box offers, whichever part of the page
// the preview shows: the preview scales the printed page down, and lines a
// printer's pixel wide on the edge of a clip, or under the edge of the
// drawing's picture, were rounded away. The frame prints black, the active
// drawing's green being a mark of editing.
TEST_F(PrintingTest, ThePreviewShowsADrawingsFourSidesAtEveryZoom)
{
    PutCaret(1, 1);
    Key(VK_RETURN, 13);
    PutCaret(1, 1);
    Command(32871); // Element/Drawing, active
    const QString pdf = PrintPdf("drawing.pdf");
    // The printed frame, in pixels of 100 dpi, then of the printer: the
    // preview's scene.
    const QString png = QString::fromStdString(OutputPath("drawing"));
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-png", "-r", "100", "-f", "1", "-l", "1", "-singlefile", pdf, png}), 0);
    const QRect printed = FrameIn(QImage(png + ".png"));
    ASSERT_GT(printed.width(), 600);
    ASSERT_GT(printed.height(), 300);
    const double toScene = AfxGetPrinter().resolution() / 100.0;
    const std::pair<QPointF, Qt::Orientation> sides[] = {
        {QPointF(printed.left(), printed.center().y()), Qt::Vertical},
        {QPointF(printed.right(), printed.center().y()), Qt::Vertical},
        {QPointF(printed.center().x(), printed.top()), Qt::Horizontal},
        {QPointF(printed.center().x(), printed.bottom()), Qt::Horizontal}};

    std::vector<std::string> lost;
    PreviewAtEveryZoom([&](const QString& factor, QGraphicsView* scene) {
        const double scale = scene->transform().m11();
        const int slack = int(toScene * scale) + 2;
        const int half = std::clamp(int(printed.height() * toScene * scale / 4), 2, 40);
        for (const auto& [side, along] : sides) {
            scene->centerOn(side * toScene);
            const QPoint at = scene->mapFromScene(side * toScene);
            const QImage shot = scene->viewport()->grab().toImage();
            bool found = false;
            for (int d = -slack; d <= slack && !found; ++d)
                found = along == Qt::Vertical ? BlackLine(shot, at + QPoint(d, -half), at + QPoint(d, half))
                                              : BlackLine(shot, at + QPoint(-half, d), at + QPoint(half, d));
            if (!found)
                lost.push_back(factor.toStdString() + " at " + std::to_string(int(side.x())) + "," +
                               std::to_string(int(side.y())));
        }
    });
    EXPECT_TRUE(lost.empty()) << lost.size() << " sides lost, the first: " << (lost.empty() ? "" : lost.front());
}

// Where a printed page holds ink, in square cells of the paper, `side`
// printer pixels wide, counted from the paper's corner.
class InkCells {
public:
    InkCells(QSizeF paper, double side)
        : m_side(side), m_columns(int(std::ceil(paper.width() / side))), m_rows(int(std::ceil(paper.height() / side))),
          m_inked(std::size_t(m_columns * m_rows)), m_seen(m_inked.size())
    {}
    // Ink at a point of the paper counts in every cell within `reach` of it.
    void Ink(QPointF at, double reach)
    {
        for (int row = Cell(at.y() - reach); row <= Cell(at.y() + reach); ++row)
            for (int column = Cell(at.x() - reach); column <= Cell(at.x() + reach); ++column)
                if (row >= 0 && row < m_rows && column >= 0 && column < m_columns)
                    m_inked[std::size_t(row * m_columns + column)] = 1;
    }
    // Ink read from an image whose pixel (x, y) shows the paper's point
    // x * scale + offset: pixels darker than `below` are ink.
    void Read(const QImage& image, QPointF offset, double scale, int below, double reach)
    {
        const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < grey.height(); ++y) {
            const uchar* line = grey.constScanLine(y);
            const double paperY = (y + 0.5) * scale + offset.y();
            for (int x = 0; x < grey.width(); ++x) {
                const QPointF at((x + 0.5) * scale + offset.x(), paperY);
                Seen(at);
                if (line[x] < below)
                    Ink(at, reach);
            }
        }
    }
    // The cells inked here and not in the preview, as points of the paper
    // in printer pixels; any cell the preview never showed counts.
    std::vector<QPoint> Missing(const InkCells& preview) const
    {
        std::vector<QPoint> missing;
        for (std::size_t i = 0; i < m_inked.size(); ++i)
            if ((m_inked[i] && !preview.m_inked[i]) || !preview.m_seen[i])
                missing.emplace_back(int((double(i % std::size_t(m_columns)) + 0.5) * m_side),
                                     int((double(i / std::size_t(m_columns)) + 0.5) * m_side));
        return missing;
    }

private:
    int Cell(double at) const { return int(std::floor(at / m_side)); }
    void Seen(QPointF at)
    {
        const int row = Cell(at.y()), column = Cell(at.x());
        if (row >= 0 && row < m_rows && column >= 0 && column < m_columns)
            m_seen[std::size_t(row * m_columns + column)] = 1;
    }

    double m_side;
    int m_columns, m_rows;
    std::vector<char> m_inked, m_seen;
};

// The pages of a PDF drawn at `dpi` without smoothing, so that a line
// thinner than a pixel prints a pixel rather than a trace of grey.
std::vector<QImage> PdfPages(const QString& pdf, int dpi)
{
    const QString prefix = pdf + "-pages";
    std::vector<QImage> pages;
    if (QProcess::execute("pdftoppm",
                          {"-png", "-r", QString::number(dpi), "-aa", "no", "-aaVector", "no", pdf, prefix}) != 0)
        return pages;
    const QFileInfo info(prefix);
    for (const QString& name : QDir(info.path()).entryList({info.fileName() + "-*.png"}, QDir::Files, QDir::Name))
        pages.emplace_back(info.path() + "/" + name);
    return pages;
}

// The preview's pages, top to bottom, each placed with the paper's corner
// at its position.
std::vector<QGraphicsItem*> PreviewPages(QGraphicsView* view)
{
    std::vector<QGraphicsItem*> pages;
    for (QGraphicsItem* item : view->scene()->items())
        if (!item->parentItem())
            pages.push_back(item);
    std::sort(pages.begin(), pages.end(), [](auto* a, auto* b) { return a->pos().y() < b->pos().y(); });
    return pages;
}

// The ink the preview shows of a page at its zoom, read a viewport at a time.
void ReadPreviewPage(QGraphicsView* view, const QGraphicsItem* page, QSizeF paper, InkCells& ink, double reach)
{
    const double scale = view->transform().m11();
    const QSizeF step = QSizeF(view->viewport()->size() - QSize(2, 2)) / scale;
    for (double y = step.height() / 2; y < paper.height() + step.height() / 2; y += step.height())
        for (double x = step.width() / 2; x < paper.width() + step.width() / 2; x += step.width()) {
            view->centerOn(page->pos() + QPointF(x, y));
            const QPointF corner = view->mapToScene(QPoint(0, 0)) - page->pos();
            ink.Read(view->viewport()->grab().toImage(), corner, 1 / scale, 250, reach);
        }
}

// Every stored test document, and a new one holding a typed empty fraction,
// shows in the print preview the ink its PDF prints: each cell of the page
// inked in the PDF has ink in the preview, or beside it within the rounding
// of either, at every zoom the box offers. The preview scales the printed
// page down, and an empty slot's one-pixel box, a picture's lines on its
// edges, or a drawing's vertex marks were rounded away.
TEST_F(PrintingTest, ThePreviewInksWhatThePdfInksForEveryStoredDocument)
{
    RegisterDrawingComponents();
    RegisterPlotComponents();
    const QDir data(QV_SOURCE_DIR "/tests/app/document/data");
    // First a new document holding an empty fraction, typed.
    const QStringList documents =
        QStringList{"typed empty fraction"} + data.entryList({"*.vxm"}, QDir::Files, QDir::Name);
    ASSERT_GE(documents.size(), 9);
    const int dpi = 150;
    const double resolution = AfxGetPrinter().resolution();
    for (const QString& name : documents) {
        SCOPED_TRACE(name.toStdString());
        const bool typed = !name.endsWith(".vxm");
        if (typed)
            app->OnFileNew();
        auto* doc = typed ? dynamic_cast<CCorvellView*>(frame->MDIGetActive()->GetActiveView())->GetDocument()
                          : dynamic_cast<CCorvellDoc*>(app->OpenDocumentFile(data.filePath(name).toUtf8().constData()));
        ASSERT_NE(doc, nullptr);
        view = dynamic_cast<CCorvellView*>(doc->GetMainView());
        ASSERT_NE(view, nullptr);
        if (typed) {
            Type("Empty: ");
            Command(32850); // Element/Fraction
        }
        const std::vector<QImage> printed = PdfPages(PrintPdf(name.toStdString() + ".pdf"), dpi);
        ASSERT_FALSE(printed.empty());
        const QSizeF paper = AfxGetPrinter().pageLayout().fullRectPixels(int(resolution)).size();
        std::vector<std::string> lost;
        PreviewAtEveryZoom([&](const QString& factor, QGraphicsView* preview) {
            const std::vector<QGraphicsItem*> pages = PreviewPages(preview);
            ASSERT_EQ(pages.size(), printed.size());
            // Cells four pixels of the preview wide, and no finer than
            // a sixteenth of an inch; ink may move by a pixel or so.
            const double scale = preview->transform().m11();
            const double side = std::max(4 / scale, resolution / 16);
            const double reach = std::max(1.5 / scale, 1.5 * resolution / dpi);
            for (std::size_t p = 0; p < pages.size(); ++p) {
                InkCells pdf(paper, side), shown(paper, side);
                pdf.Read(printed[p], QPointF(), resolution / dpi, 224, 0);
                ReadPreviewPage(preview, pages[p], paper, shown, reach);
                for (const QPoint& at : pdf.Missing(shown))
                    lost.push_back(factor.toStdString() + " page " + std::to_string(p + 1) + " at " +
                                   std::to_string(at.x() * 72 / int(resolution)) + "," +
                                   std::to_string(at.y() * 72 / int(resolution)) + " pt");
            }
        });
        EXPECT_TRUE(lost.empty()) << lost.size() << " cells lost, the first: " << (lost.empty() ? "" : lost.front())
                                  << (lost.size() > 1 ? ", the last: " + lost.back() : "");
        doc->OnCloseDocument();
    }
}

// A plot prints as the screen shows it at any printer's resolution: its
// picture's margins grow with its size, so that the outer labels ("-15",
// "15", the top "1.2") stay whole inside it; selected, it prints the same. The page printed at three
// times the screen's resolution and brought back to it inks what the page
// printed at the screen's resolution inks.
TEST_F(PrintingTest, APlotPrintsItsLabelsWholeAtThePrintersResolution)
{
    PutCaret(1, 1);
    Key(VK_RETURN, 13);
    auto* plot = new TwoDPlotComp;
    Row(1)->InsertAt(plot, 1);
    {
        DrawTargetScope draw(view);
        plot->SetXVariable("x", -15, 15);
        plot->SetYVariable("y", -1.2, 1.2);
        plot->ResetToAxes();
        view->LayOutAll();
    }
    Rect box;
    plot->GetAbsBounds(box);
    const QImage screen = Print(1, false, 1);
    const QImage printer =
        Print(1, false, 1, 288).scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    printer.save(QString::fromStdString(OutputPath("plot at 288 dpi.png")));
    const QRect area(0, 0, screen.width(), 56 + box.Height() + 8);
    EXPECT_LT(InkApart(screen, printer, area), 40);
    EXPECT_LT(InkApart(printer, screen, area), 40);
    // Selected, the plot shows its buttons on the screen, not on paper.
    view->SetSelection(DocSelection::SelectObject(plot), true);
    ASSERT_TRUE(plot->IsSelected());
    EXPECT_EQ(Print(1, false, 1), screen);
}

TEST(PageBreakListTest, PagesRunFromBreakToBreak)
{
    PageBreakList breaks(10, 500);
    breaks.SetPageStart(1, 900);
    breaks.SetPageStart(2, 1750);
    EXPECT_EQ(breaks.GetPageRect(2), Rect(10, 900, 500, 1750));
    EXPECT_EQ(breaks.GetPageRect(3), Rect());
    EXPECT_EQ(breaks.GetPageRect(0), Rect());
}

} // namespace
