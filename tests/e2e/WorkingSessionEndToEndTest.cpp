// A whole working session on the real editor with its real kernel, in the
// order a teacher might spend an afternoon: a lesson with calculations, a
// term dragged across "=" and the drag undone and redone, a 2-D and a turned
// 3-D plot, a drawing with two triangles, a circle, a refused and an accepted
// constraint and a corner dragged, undone and redone; the lesson exported to
// every format (two refuse its badly formed formula), closed and opened
// again, printed to a PDF file and previewed, searched, spell-checked and
// copied in every form; every element, the Symbols palette, slides made,
// organised and shown, the windows tiled and cascaded; eight files that are
// not documents opened; 100,000 characters pasted; a fraction nested 200
// deep selected; code evaluated, with the kernel killed in the middle of a
// factorisation and started again. Six documents are closed unsaved and the
// program must then end cleanly at File > Exit: heap damage done anywhere on
// the way shows there, when the allocator walks its lists.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "DrawingScreen.h"
#include "EditorSession.h"
#include "ModelDocument.h"
#include "foundation/CharComp.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleKinds.h"
#include "math/FractionComp.h"
#include "support/PictureCompare.h"

#include <csignal>
#include <functional>
#include <memory>
#include <random>

namespace {

using namespace drawing_screen;

// The screen below the menu bar and the toolbar, above the status bar.
const QRect kPage(0, 60, 1280, 1024 - 60 - 30);
// The status bar's text.
const QRect kStatus(2, 1024 - 20, 640, 16);

bool IsInk(QRgb pixel)
{
    return qGray(pixel) < 160;
}

// The box of the lowest run of rows holding pixels that pass the test: of
// frames one above the other, the lowest.
std::optional<QRect> LowestBox(const QImage& shot, const std::function<bool(QRgb)>& test, const QRect& within)
{
    auto rowHas = [&](int y) { return BoxOf(shot, test, QRect(within.left(), y, within.width(), 1)).has_value(); };
    int bottom = within.bottom();
    while (bottom >= within.top() && !rowHas(bottom))
        --bottom;
    int top = bottom;
    while (top > within.top() && rowHas(top - 1))
        --top;
    return bottom < within.top() ? std::nullopt
                                 : BoxOf(shot, test, QRect(within.left(), top, within.width(), bottom - top + 1));
}

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A document of one equation: a fraction whose numerator holds a fraction,
// 200 deep.
void SaveNestedFraction(const QString& path)
{
    SaveNewDocument(path, [](ParagraphList& paragraphs) {
        auto chars = [](const char* text) {
            auto array = std::make_unique<CompArray>();
            for (const char* c = text; *c; ++c)
                array->Append(gMathFace->GetCharacter(static_cast<unsigned char>(*c)));
            return array;
        };
        auto* fraction = new FractionComp(chars("1"), chars("2"));
        for (int depth = 1; depth < 200; ++depth) {
            auto numerator = std::make_unique<CompArray>();
            numerator->Append(fraction);
            fraction = new FractionComp(std::move(numerator), chars("x"));
        }
        auto* paragraph = new ParagraphComp(StyleKind::kEquation);
        paragraph->GetRow()->Append(fraction);
        paragraphs.Append(paragraph);
    });
}

// 100,000 characters of plain text in lines of 80.
QByteArray LongText()
{
    std::mt19937 random(7);
    const char letters[] = "abcdefghijklmnopqrstuvwxyz  0123456789+-=.,";
    QByteArray text;
    while (text.size() < 100000)
        text += (text.size() % 80 == 79) ? '\n' : letters[random() % (sizeof letters - 1)];
    return text;
}

class WorkingSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString reason;
        if (!EditorSession::CanRun(&reason))
            GTEST_SKIP() << reason.toStdString();
        folder = QString(QV_TEST_OUTPUT) + "/working-session";
        editor = std::make_unique<EditorSession>(folder);
        ASSERT_TRUE(editor->Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor->LastError().toStdString();
        ASSERT_TRUE(editor->StartKernel()) << editor->LastError().toStdString();
    }

    QString File(const QString& name) const { return folder + "/" + name; }
    QImage Shot(const QString& name)
    {
        const QImage screen = editor->Grab();
        screen.save(File(name + ".png"));
        return screen;
    }
    void Command(const QString& menu, QChar item)
    {
        ASSERT_TRUE(editor->Menu(menu, item)) << editor->LastError().toStdString();
    }
    void Answer(const QString& title, const QString& keys)
    {
        ASSERT_TRUE(editor->Answer(title, keys)) << editor->LastError().toStdString();
    }
    void ChooseFile(const QString& title, const QString& path)
    {
        ASSERT_TRUE(editor->ChooseFile(title, path)) << editor->LastError().toStdString();
    }
    // File > New; the new window's title is Quorvant and its number.
    void NewDocument()
    {
        ASSERT_TRUE(editor->FocusMain());
        editor->Key("ctrl+n");
        ASSERT_NE(editor->WaitForWindow(QString("Quorvant%1").arg(++untitled)), "") << "no new document";
        ++documents;
    }
    // A new paragraph at the end in the style of the Format menu's item.
    void NewParagraph(QChar style)
    {
        editor->Key("ctrl+End Return");
        Command("F&ormat", style);
    }
    // Waits until the area of the screen differs from what it showed.
    bool Changes(const QImage& before, const QRect& area, int pixels = 1)
    {
        return editor->WaitUntil([&] {
            const QImage now = editor->Grab();
            return !now.isNull() && DifferentPixels(before.copy(area), now.copy(area), 32) >= pixels;
        });
    }
    // Runs the first calculation offered for the line typed last.
    void Calculate()
    {
        editor->Key("shift+Home");
        const QImage before = editor->Grab();
        editor->Key("shift+Return");
        ASSERT_TRUE(Changes(before, kPage)) << "no answer appeared";
    }
    // Runs Evaluate Code on the code line typed last; the status bar shows
    // how it ended.
    void EvaluateCode()
    {
        editor->Key("shift+Home");
        const QImage before = editor->Grab();
        Command("&Kernel", 'e');
        ASSERT_TRUE(Changes(before, kStatus)) << "the status bar did not show the end of the evaluation";
    }

    // File > Open: answers the messages still shown (a file may be refused
    // with more than one) until the Open dialog shows.
    void OpenDialog()
    {
        for (;;) {
            ASSERT_TRUE(editor->FocusMain());
            editor->Key("ctrl+o");
            ASSERT_TRUE(editor->WaitUntil([&] { return editor->Shows("^Open$") || editor->Shows("^Quorvant$"); }));
            if (!editor->Shows("^Quorvant$"))
                return;
            Answer("^Quorvant$", "Return");
        }
    }
    // File > Close, answering No when asked to save.
    void CloseDocument()
    {
        const QString title = editor->MainTitle();
        Command("&File", 'c');
        ASSERT_TRUE(editor->WaitUntil([&] { return editor->Shows("^Quorvant$") || editor->MainTitle() != title; }));
        if (editor->Shows("^Quorvant$"))
            Answer("^Quorvant$", "alt+n");
        ASSERT_TRUE(editor->WaitUntil([&] { return editor->MainTitle() != title; })) << "the document stayed open";
    }

    void Lesson();
    void TermDrag();
    void Plots();
    void Drawing();
    void ExportsReopenAndPrint();
    void FindSpellAndCopy();
    void ElementsSymbolsSlidesWindows();
    void FilesThatAreNotDocuments();
    void PasteAndNesting();
    void CodeAndAKilledKernel();
    void CloseAllAndExit();

    QString folder;
    std::unique_ptr<EditorSession> editor;
    // The documents open, and the number of the last untitled one.
    int documents = 1, untitled = 1;
};

void WorkingSession::Lesson()
{
    Command("F&ormat", 'l');
    editor->Type("Quadratic equations");
    editor->Key("Return");
    Command("F&ormat", 's');
    editor->Type("Squares");
    editor->Key("Return");
    Command("F&ormat", 'a');
    editor->Type("Teh square of a sum is a quadratc polynomial.");
    NewParagraph('q');
    editor->Type("(x+1)^2");
    Calculate();
    NewParagraph('q');
    editor->Type("12*12");
    Calculate();
    Shot("lesson");
}

// "2x+3=7": the 3 is found on the screen by selecting it, dragged onto the
// 7 and dropped; Undo and Undo again (redo) follow.
void WorkingSession::TermDrag()
{
    NewParagraph('q');
    editor->Type("2x+3=7");
    editor->Key("Home Right Right Right");
    const QImage caret = editor->Grab();
    editor->Key("shift+Right");
    QImage selected;
    std::optional<QRect> three;
    ASSERT_TRUE(editor->WaitUntil([&] {
        selected = editor->Grab();
        three = BoxOf(kPage, [&](int x, int y) { return caret.pixel(x, y) != selected.pixel(x, y); });
        return three && three->width() > 3 && three->height() > 6;
    })) << "the selected 3 does not show";
    const std::optional<QRect> line = BoxOf(QRect(three->right() + 1, three->top(), 300, three->height()),
                                            [&](int x, int y) { return IsInk(selected.pixel(x, y)); });
    ASSERT_TRUE(line) << "nothing right of the 3";
    const QPoint seven(line->right() - 2, three->center().y());
    const QRect row(0, three->top() - 20, 1280, three->height() + 40);

    editor->MouseMove(three->center());
    editor->MouseDown();
    editor->MouseMove((three->center() + seven) / 2);
    editor->MouseMove(seven);
    // Held long enough, the status bar says what releasing will do.
    EXPECT_TRUE(editor->WaitUntil([&] { return BoxOf(editor->Grab(), IsInk, kStatus).has_value(); }))
        << "the drag shows nothing in the status bar";
    editor->MouseUp();
    ASSERT_TRUE(Changes(selected, row, 50)) << "the drop changed nothing";
    const QImage dropped = Shot("term-dropped");
    editor->Key("ctrl+z");
    ASSERT_TRUE(Changes(dropped, row, 50)) << "undo changed nothing";
    const QImage undone = Shot("term-undone");
    editor->Key("ctrl+z");
    ASSERT_TRUE(Changes(undone, row, 50)) << "redo changed nothing";
    const QRegularExpression rearranged("2\\s*x\\s*=\\s*7\\s*(-|\\x{2212})\\s*3");
    const QString text = editor->DocumentText();
    EXPECT_TRUE(rearranged.match(text).hasMatch()) << text.toStdString();
    EXPECT_TRUE(text.contains("144")) << text.toStdString();
}

// sin x plotted from its choices; a 3-D plot from the Element menu, computed
// with its Plot button and turned with the mouse.
void WorkingSession::Plots()
{
    NewParagraph('q');
    editor->Type("sin x");
    editor->Key("shift+Home");
    QImage before = editor->Grab();
    editor->Key("Menu");
    editor->Key("Up Up Up Return"); // ..., Plot, Laplace transform, Fourier transform
    ASSERT_TRUE(Changes(before, kPage, 2000)) << "the 2-D plot does not show";
    Shot("plot-2d");

    editor->Key("ctrl+End Return");
    Command("E&lement", 'h');
    Answer("^Plot Parameters$", "Return");
    editor->Type("x*y");
    std::optional<QRect> plot;
    ASSERT_TRUE(editor->WaitUntil([&] {
        plot = LowestBox(editor->Grab(), IsPlotFrame, kPage); // the 2-D plot stands above
        return plot && plot->width() > 150 && plot->height() > 150;
    })) << "no selected 3-D plot on the screen";
    before = Shot("plot-3d-inserted");
    editor->Click(plot->right() - 6, plot->top() + 5); // its Plot button
    ASSERT_TRUE(Changes(before, *plot, 2000)) << "the computed surface does not show";
    before = Shot("plot-3d");
    const QPoint middle(plot->center().x(), plot->top() + plot->height() * 2 / 5);
    ASSERT_TRUE(editor->Drag(middle, {middle + QPoint(20, 0), middle + QPoint(45, -5), middle + QPoint(70, -10)}));
    ASSERT_TRUE(Changes(before, *plot, 2000)) << "the drag did not turn the plot";
    Shot("plot-3d-turned");
}

// A drawing: Triangle twice and Circle from the toolbar, Perpendicular with
// nothing selected (refused), two sides made equal, the top corner dragged,
// undone and redone, and the drawing copied as SVG.
void WorkingSession::Drawing()
{
    editor->Key("ctrl+End Return");
    Command("E&lement", QChar());
    editor->Key("Up Return"); // Drawing, the last item before the separator
    std::optional<QRect> frame;
    ASSERT_TRUE(editor->WaitUntil([&] {
        frame = BoxOf(editor->Grab(), IsActiveFrame, kPage);
        return frame && frame->width() > 50;
    })) << "no drawing being edited on the screen";
    const QString barWindow = editor->WaitForWindow("^Drawing$");
    ASSERT_FALSE(barWindow.isEmpty()) << "the drawing toolbar did not show";
    const QRect bar = editor->WindowRect(barWindow);
    auto tool = [&](int command) { editor->Click(BarButton(bar, command).x(), BarButton(bar, command).y()); };
    const QRect inside = frame->adjusted(4, 4, -4, -4);
    auto figure = [&] { return BoxOf(editor->Grab(), IsInk, inside); };

    tool(kTriangle);
    tool(kTriangle);
    std::optional<QRect> triangle;
    ASSERT_TRUE(editor->WaitUntil([&] { return (triangle = figure()).has_value(); })) << "no triangle drawn";
    tool(kCircle);
    ASSERT_TRUE(editor->WaitUntil([&] { return figure() != triangle; })) << "no circle drawn";

    editor->Click(inside.left() + 10, inside.bottom() - 10); // nothing selected
    tool(kPerpendicular);
    Answer("^Quorvant$", "Return");

    // The triangle's right angle stands at its lower right; its sides there
    // are made equal.
    editor->Click(triangle->center().x(), triangle->bottom());
    editor->ClickWith("shift", triangle->right(), triangle->center().y());
    tool(kEqualLength);
    QImage before = Shot("drawing");
    ASSERT_FALSE(editor->Shows("^Quorvant$")) << "equal lengths were refused";

    const QPoint corner = triangle->topRight() + QPoint(-1, 1);
    ASSERT_TRUE(editor->Drag(corner, {corner + QPoint(8, -6), corner + QPoint(20, -18), corner + QPoint(40, -30)}));
    ASSERT_TRUE(Changes(before, inside, 20)) << "the corner did not move";
    const QImage dragged = Shot("drawing-dragged");
    ASSERT_TRUE(editor->FocusMain());
    editor->Key("ctrl+z");
    ASSERT_TRUE(Changes(dragged, inside, 20)) << "undo did not move the corner back";
    before = editor->Grab();
    editor->Key("ctrl+z");
    ASSERT_TRUE(Changes(before, inside, 20)) << "redo did not move the corner again";

    const QByteArray svg = editor->Copied([&] {
        Command("&Edit", 'a');
        editor->Key("s");
    });
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    // A click beside the drawing ends its editing.
    editor->Click(std::min(1200, frame->right() + 40), frame->center().y());
}

// The lesson ends with a badly formed formula, saved; exported to every
// format, of which the two that read its mathematics refuse; closed, opened
// again, printed to a PDF file and previewed, which leaves the PDF as it was.
void WorkingSession::ExportsReopenAndPrint()
{
    NewParagraph('q');
    editor->Type("1+*2");
    const QString lesson = File("lesson.vxm");
    editor->Key("ctrl+s");
    ChooseFile("^Save As$", lesson);
    ASSERT_NE(editor->WaitForWindow("lesson\\.vxm"), "");

    const struct {
        QChar item;
        const char* extension;
        bool refused;
    } exports[] = {
        {'l', "tex", false}, {'t', "tcx", false}, {'n', "nb", true}, {'m', "xml", true}, {'h', "htm", false}};
    for (const auto& format : exports) {
        SCOPED_TRACE(format.extension);
        const QString path = File(QString("export/lesson.") + format.extension);
        QDir().mkpath(File("export"));
        Command("&File", 'e');
        editor->Key(QString(format.item));
        ChooseFile("^Save As$", path);
        if (format.refused) {
            Answer("^Quorvant$", "Return"); // badly formed
            EXPECT_FALSE(QFile::exists(path));
        } else {
            EXPECT_TRUE(editor->WaitUntil([&] { return QFileInfo(path).size() > 0; })) << "nothing exported";
        }
    }
    EXPECT_TRUE(QFile::exists(File("export/lesson-tex3.png")))
        << "the plots and the drawing were exported without pictures";

    CloseDocument();
    OpenDialog();
    ChooseFile("^Open$", lesson);
    ASSERT_NE(editor->WaitForWindow("lesson\\.vxm"), "");
    ASSERT_TRUE(editor->FocusMain());

    const QString pdf = File("lesson.pdf");
    editor->Key("ctrl+p");
    const QString print = editor->WaitForWindow("^Print$");
    ASSERT_FALSE(print.isEmpty()) << "no Print dialog";
    ASSERT_TRUE(editor->Focus(print));
    editor->Key("alt+f"); // the output file
    ChooseFile("^Print$", pdf);
    EXPECT_TRUE(editor->WaitUntil([&] { return Bytes(pdf).startsWith("%PDF") && Bytes(pdf).contains("%%EOF"); }))
        << "nothing printed to " << pdf.toStdString();

    // The preview touches no file: the PDF just printed keeps its bytes.
    const QByteArray printed = Bytes(pdf);
    const QImage before = editor->Grab();
    Command("&File", 'v');
    const QString preview = editor->WaitForWindow("^Print Preview");
    ASSERT_FALSE(preview.isEmpty()) << "no print preview";
    EXPECT_TRUE(Changes(before, editor->WindowRect(preview), 2000)) << "the preview shows nothing";
    Shot("print-preview");
    Answer("^Print Preview", "Escape");
    EXPECT_TRUE(Bytes(pdf) == printed) << "the preview changed " << pdf.toStdString();
}

// Find, spelling with two replacements, and the selected formula copied as
// MathML and as a metafile.
void WorkingSession::FindSpellAndCopy()
{
    editor->Key("ctrl+f");
    const QString find = editor->WaitForWindow("^Find and Replace$");
    ASSERT_FALSE(find.isEmpty()) << "no Find dialog";
    ASSERT_TRUE(editor->Focus(find));
    editor->Type("square");
    editor->Key("Return");
    Answer("^Find and Replace$", "Escape");

    Command("&Edit", 'd');
    Answer("^Spelling$", "Return"); // Teh
    Answer("^Spelling$", "Return"); // quadratc
    Answer("^Quorvant$", "Return"); // finished
    const QString text = editor->DocumentText();
    EXPECT_FALSE(text.contains("Teh") || text.contains("quadratc ")) << text.toStdString();

    // The second formula: title, section, paragraph, first formula above it.
    editor->Key("ctrl+Home Down Down Down Down Home shift+End");
    const QByteArray mathml = editor->Copied([&] {
        Command("&Edit", 'a');
        editor->Key("a");
    });
    EXPECT_TRUE(mathml.contains("<math")) << mathml.left(200).toStdString();
    editor->Copied([&] {
        Command("&Edit", 'a');
        editor->Key("m");
    });
    const QByteArray forms = editor->ClipboardText("TARGETS");
    EXPECT_TRUE(forms.contains("image/")) << forms.toStdString();
}

// In a new document every element of the Element menu, a symbol from the
// Symbols palette; slides of the lesson made, organised and shown; the
// windows tiled and cascaded.
void WorkingSession::ElementsSymbolsSlidesWindows()
{
    // Slides of the lesson: its head and its end; the second dragged first.
    editor->Key("ctrl+Home shift+Down shift+Down");
    Command("&Slides", 'n');
    editor->Key("ctrl+End shift+Up");
    Command("&Slides", 'n');
    Command("&Slides", 'o');
    const QString organizer = editor->WaitForWindow("^Organize Slides$");
    ASSERT_FALSE(organizer.isEmpty()) << "no Organize Slides dialog";
    const QRect dialog = editor->WindowRect(organizer);
    const int listX = dialog.left() + dialog.width() / 6;
    ASSERT_TRUE(editor->Drag(QPoint(listX, dialog.top() + dialog.height() * 3 / 5),
                             {QPoint(listX, dialog.top() + dialog.height() / 2),
                              QPoint(listX, dialog.top() + dialog.height() / 4), QPoint(listX, dialog.top() + 12)}));
    Shot("slides-organized");
    Answer("^Organize Slides$", "Return");
    QImage before = editor->Grab();
    Command("&Slides", 's');
    ASSERT_TRUE(Changes(before, kPage, 500)) << "the slide show does not show";
    before = Shot("slide-show");
    editor->Key("space");
    ASSERT_TRUE(Changes(before, kPage, 500)) << "the next slide does not show";
    before = editor->Grab();
    editor->Key("Escape");
    ASSERT_TRUE(Changes(before, kPage, 500)) << "the slide show did not end";

    NewDocument();
    Command("F&ormat", 'q');
    const QString elements = "fesrotpdvimlxaqnguwhk";
    const QString withDialogs = "oxaqnwhk";
    const char* dialogs[] = {"^Create Overscript$",   "^Create Matrix$",           "^Create Table$",
                             "^Create Equation Set$", "^Create Split Definition$", "^Plot Parameters$",
                             "^Plot Parameters$",     "^Link Properties$"};
    for (QChar element : elements) {
        SCOPED_TRACE(QString(element).toStdString());
        Command("E&lement", element);
        if (withDialogs.contains(element))
            Answer(dialogs[withDialogs.indexOf(element)], "Return");
        editor->Key("ctrl+End");
    }
    Command("E&lement", QChar());
    editor->Key("Up Return"); // Drawing
    ASSERT_NE(editor->WaitForWindow("^Drawing$"), "") << "no drawing inserted";
    Shot("elements");
    editor->Click(640, 950); // below everything: the drawing's editing ends

    Command("&View", 'y');
    const QString symbols = editor->WaitForWindow("^Symbols$");
    ASSERT_FALSE(symbols.isEmpty()) << "no Symbols palette";
    const QRect palette = editor->WindowRect(symbols);
    editor->Click(palette.left() + 14, palette.top() + 17); // the first symbol

    NewDocument();
    editor->Type("A third window.");
    Command("&Window", 't');
    Shot("tiled");
    Command("&Window", 'c');
    Shot("cascaded");
}

// Eight files that are not documents are opened one after another: each is
// refused with a message, never opened as an empty document, and the
// editor goes on.
void WorkingSession::FilesThatAreNotDocuments()
{
    const QString corpus = QString(QV_SOURCE_DIR) + "/tests/foundation/fuzz/document-corpus/";
    const QByteArray lesson = Bytes(File("lesson.vxm"));
    ASSERT_GT(lesson.size(), 100);
    QByteArray random(3000, '\0');
    std::mt19937 engine(54);
    for (char& byte : random)
        byte = char(engine());
    const std::pair<QString, QByteArray> files[] = {
        {"half.vxm", lesson.left(lesson.size() / 2)},
        {"tail.vxm", lesson.left(lesson.size() - 7)},
        {"random.vxm", random},
        {"line.vxm", "one line of text\n"},
        {"readme.vxm", Bytes(QString(QV_SOURCE_DIR) + "/README.md")},
        {"short.vxm", QByteArray("\x34\x08\x00\x00\x05\x00not a document", 20)},
        {"drawing-truncated.vxm", Bytes(corpus + "drawing-truncated.vxm")},
        {"ids-used-up.vxm", Bytes(corpus + "crash-ids-used-up")},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(Write(File(name), bytes));
        OpenDialog();
        ChooseFile("^Open$", File(name));
        const QString shown = name;
        ASSERT_TRUE(
            editor->WaitUntil([&] { return editor->Shows("^Quorvant$") || editor->MainTitle().contains(shown); }));
        EXPECT_FALSE(editor->MainTitle().contains(name)) << "opened as a document";
    }
    Shot("not-documents");
    OpenDialog(); // past the last file's messages
    Answer("^Open$", "Escape");
}

// 100,000 characters pasted into a new document; a fraction nested 200 deep
// opened, selected and Esc pressed, and "+1" typed after it.
void WorkingSession::PasteAndNesting()
{
    NewDocument();
    ASSERT_TRUE(editor->PutClipboard(LongText(), "UTF8_STRING"));
    ASSERT_TRUE(editor->FocusMain());
    editor->Key("ctrl+v");
    ASSERT_NE(editor->WaitForWindow(QString("Quorvant%1\\*").arg(untitled)), "") << "the paste changed nothing";
    Shot("pasted");

    const QString nested = File("nested.vxm");
    SaveNestedFraction(nested);
    ASSERT_FALSE(HasFatalFailure());
    OpenDialog();
    ChooseFile("^Open$", nested);
    ASSERT_NE(editor->WaitForWindow("nested\\.vxm"), "");
    ++documents;
    ASSERT_TRUE(editor->FocusMain());
    editor->Key("ctrl+Home shift+End");
    Shot("nested-selected");
    editor->Key("Escape End");
    editor->Type("+1");
}

// Evaluate Code with two unfinished lines, then a factorisation during which
// the kernel is killed; started again, the kernel expands a cube.
void WorkingSession::CodeAndAKilledKernel()
{
    NewDocument();
    Command("F&ormat", 'c');
    editor->Type("Factor[x^2-1");
    EvaluateCode();
    editor->Key("End Return");
    editor->Type("x+*=)");
    EvaluateCode();
    editor->Key("End Return");
    editor->Type("FactorInteger[2^401-1]");
    editor->Key("shift+Home");
    const pid_t kernel = pid_t(editor->KernelProcessId());
    ASSERT_GT(kernel, 0);
    // The kernel's time on the processor, in clock ticks: it grows while it factors.
    auto ticks = [kernel] {
        const QList<QByteArray> fields = Bytes(QString("/proc/%1/stat").arg(kernel)).split(')').last().split(' ');
        return fields.size() > 14 ? fields[12].toLongLong() + fields[13].toLongLong() : -1;
    };
    const long long idle = ticks();
    Command("&Kernel", 'e');
    ASSERT_TRUE(editor->WaitUntil([&] { return ticks() > idle + 50; })) << "the kernel is not factoring";
    Shot("factoring");
    ASSERT_EQ(kill(kernel, SIGKILL), 0);
    Answer("^Quorvant$", "Return"); // the kernel has stopped
    ASSERT_TRUE(editor->StartKernel()) << editor->LastError().toStdString();
    editor->Key("ctrl+End Return");
    editor->Type("Expand[(x+1)^3]");
    editor->Key("shift+Home");
    Command("&Kernel", 'e');
    EXPECT_TRUE(editor->WaitUntil([&] { return editor->DocumentText().contains("3 x^2"); }))
        << editor->DocumentText().toStdString();
    Shot("expanded");
}

// Every document closed without saving, then File > Exit.
void WorkingSession::CloseAllAndExit()
{
    int closed = 0;
    while (editor->MainTitle() != "Quorvant" && !HasFatalFailure()) {
        CloseDocument();
        ++closed;
    }
    EXPECT_GE(closed, documents);
    Shot("all-closed");
    Command("&File", 'x');
    EXPECT_EQ(editor->WaitForExit(), 0) << editor->Output().toStdString();
    for (const char* sign : {"AddressSanitizer", "runtime error", "malloc", "free()", "corrupted"})
        EXPECT_FALSE(editor->Output().contains(sign)) << editor->Output().toStdString();
}

} // namespace

TEST_F(WorkingSession, AWholeSessionEndsCleanlyAtExit)
{
    const std::function<void()> phases[] = {
        [this] { Lesson(); },
        [this] { TermDrag(); },
        [this] { Plots(); },
        [this] { Drawing(); },
        [this] { ExportsReopenAndPrint(); },
        [this] { FindSpellAndCopy(); },
        [this] { ElementsSymbolsSlidesWindows(); },
        [this] { FilesThatAreNotDocuments(); },
        [this] { PasteAndNesting(); },
        [this] { CodeAndAKilledKernel(); },
        [this] { CloseAllAndExit(); },
    };
    for (const auto& phase : phases) {
        phase();
        if (HasFatalFailure())
            return;
    }
}
