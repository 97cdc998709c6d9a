// Escape in a calculation, on a real X display against the kernel program
// beside the editor. One the kernel cannot stop: a large number is factored,
// Escape pressed, the editor says the kernel was started again and what was
// lost, and the next calculation is answered by the new kernel. One it can
// stop, however slowly: the session stays. Starting the kernel leaves the
// keys with the document. The choices the editor seeks by itself for a
// selection are bounded, and the status bar says so while they are sought.
// A notebook export waits for the kernel as a calculation does, and stops
// as one does.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QThread>

#include <functional>

#include "DrawingScreen.h"
#include "EditorSession.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "math/FractionComp.h"

namespace {

// The product of a 45-digit and a 46-digit prime: its factoring takes minutes
// and cannot be interrupted.
constexpr const char* kSemiprime =
    "4968638931578953484411481060339304001158629392764882849635992438246886957311244478915659341";

// The processor time the process has used, in clock ticks.
qint64 ProcessorTicks(qint64 pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// A row of the characters of text.
std::unique_ptr<CompArray> Chars(const char* text)
{
    auto row = std::make_unique<CompArray>();
    for (; *text; ++text)
        row->Append(gTextFace->GetCharacter(static_cast<unsigned char>(*text)));
    return row;
}

// Text typed into a new paragraph at the end, of the style with that letter
// in the Format menu, and selected.
void TypeParagraph(EditorSession& editor, QChar style, const QString& text)
{
    editor.Key("ctrl+End");
    editor.Key("Return");
    editor.Menu("F&ormat", style);
    editor.Type(text);
    editor.Key("Home");
    editor.Key("shift+End");
}

// The requests the silent kernel has taken, other than those of its
// start-up, from the file where it names each one.
int RequestsHeard(const QString& file)
{
    QFile heard(file);
    if (!heard.open(QIODevice::ReadOnly))
        return 0;
    int count = 0;
    for (const QByteArray& request : heard.readAll().split('\n'))
        count += !request.isEmpty() && request != "Needs" && request != "VXSetSessionPrefs";
    return count;
}

void EvaluateCode(EditorSession& editor, const QString& code)
{
    TypeParagraph(editor, 'C', code); // Source Code
    editor.Menu("&Kernel", 'E');      // Evaluate Code
}

} // namespace

// The whole way of a user who stops calculations, in one editor.
TEST(StopCalculationEndToEndTest, EscapeKeepsWhatStopsRestartsWhatCannotAndTheChoicesForASelectionAreBounded)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/stop-calculation";
    // The kernel's test commands: the next choices for a selection are slow.
    qputenv("QVKERNEL_TEST_HOOKS", "1");
    EditorSession editor(folder);
    qunsetenv("QVKERNEL_TEST_HOOKS");
    // A tower of 200 fractions, as Element > Fraction, 1, Tab typed 200 times
    // builds it, the document's only paragraph.
    const QString file = folder + "/tower.vxm";
    drawing_screen::SaveNewDocument(file, [](ParagraphList& paragraphs) {
        std::unique_ptr<CompArray> denominator = Chars("1");
        for (int level = 0; level < 200; ++level) {
            auto row = std::make_unique<CompArray>();
            row->Append(new FractionComp(Chars("1"), std::move(denominator)));
            denominator = std::move(row);
        }
        paragraphs.DeleteAll();
        auto* paragraph = new ParagraphComp(5);
        paragraph->GetRow()->Append(denominator->GetAt(1));
        paragraphs.Append(paragraph);
    });
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(editor.Start({file}, "tower\\.vxm")) << editor.LastError().toStdString();
    // The palette the kernel's start opens leaves the keys with the document.
    ASSERT_TRUE(editor.Menu("&Kernel", 'S')) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.WaitForWindowGone("^Kernel Startup$")) << "the kernel did not start";
    // The tower selected: the kernel offers its calculations at once.
    ASSERT_TRUE(editor.Menu("&Edit", 'l')) << editor.LastError().toStdString(); // Select All
    QThread::msleep(1000);
    EXPECT_TRUE(editor.Screenshot(folder + "/tower-selected.png"));
    editor.Key("ctrl+End");
    editor.Key("Return");
    editor.Type("typed on");
    EXPECT_TRUE(editor.Screenshot(folder + "/kernel-started.png"));
    EXPECT_TRUE(editor.DocumentText().contains("typed on")) << editor.DocumentText().toStdString();
    const qint64 firstKernel = editor.KernelProcessId();
    ASSERT_NE(firstKernel, 0);

    // Escape in an expansion that takes a while to stop: the session stays.
    ASSERT_TRUE(editor.FocusMain());
    EvaluateCode(editor, "keep = 5");
    EvaluateCode(editor, "Expand[(x + y + z + w)^200]");
    QThread::msleep(3000);
    EXPECT_TRUE(editor.Screenshot(folder + "/expanding.png"));
    editor.Key("Escape");
    qint64 ticks = -1;
    ASSERT_TRUE(editor.WaitUntil([&] {
        const qint64 before = ticks;
        ticks = ProcessorTicks(firstKernel);
        QThread::msleep(500);
        return ticks == before;
    })) << "the kernel did not stop";
    EXPECT_TRUE(editor.WaitForWindow("^Quorvant$", 2000).isEmpty()) << "a message after a stop";
    EXPECT_EQ(editor.KernelProcessId(), firstKernel);
    EXPECT_TRUE(editor.Screenshot(folder + "/stopped.png"));
    EvaluateCode(editor, "keep + 1");
    EXPECT_TRUE(editor.WaitUntil([&] { return editor.DocumentText().contains("keep + 1\n6"); }))
        << editor.DocumentText().toStdString();

    // Choices that take too long for a selection: the status says they are
    // sought, then that none are offered.
    EvaluateCode(editor, "QVTestSlowChoices[]");
    ASSERT_TRUE(editor.WaitUntil([&] { return editor.DocumentText().contains("QVTestSlowChoices[]\nNull"); }))
        << editor.DocumentText().toStdString();
    TypeParagraph(editor, 'q', kSemiprime); // Plain Equation
    QThread::msleep(1000);
    EXPECT_TRUE(editor.Screenshot(folder + "/choices-sought.png"));
    QThread::msleep(2500);
    EXPECT_TRUE(editor.Screenshot(folder + "/choices-given-up.png"));
    EXPECT_EQ(editor.KernelProcessId(), firstKernel);

    // Selected again, the number's choices end the context menu: Factor,
    // Numeric value. Its factoring cannot be stopped: the kernel is ended and
    // started again, and the user is told.
    editor.Key("End");
    editor.Key("shift+Home");
    editor.Key("Menu");
    EXPECT_TRUE(editor.Screenshot(folder + "/context-menu.png"));
    editor.Key("Up");
    editor.Key("Up");
    editor.Key("Return");
    QThread::msleep(3000);
    EXPECT_TRUE(editor.Screenshot(folder + "/factoring.png"));
    editor.Key("Escape");
    const QString told = editor.WaitForWindow("^Quorvant$");
    ASSERT_FALSE(told.isEmpty()) << "no message after Escape";
    EXPECT_TRUE(editor.Screenshot(folder + "/restarted-message.png"));
    ASSERT_TRUE(editor.Focus(told));
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForWindowGone("^Quorvant$"));
    ASSERT_TRUE(editor.WaitUntil([&] {
        const qint64 kernel = editor.KernelProcessId();
        return kernel != 0 && kernel != firstKernel;
    })) << "no new kernel";
    ASSERT_TRUE(editor.FocusMain());

    // A new calculation is answered by the new kernel.
    TypeParagraph(editor, 'q', "2x=6");
    editor.Key("Menu");
    for (int i = 0; i < 4; ++i)
        editor.Key("Up"); // Solve
    editor.Key("Return");
    ASSERT_TRUE(editor.FocusMain());
    EXPECT_TRUE(editor.WaitUntil([&] { return editor.DocumentText().contains("x = 3"); }))
        << editor.DocumentText().toStdString();
    EXPECT_TRUE(editor.Screenshot(folder + "/answered.png"));

    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}

// The notebook export of a comma row: with the kernel beside the editor it
// ends with its file; with a kernel that never answers, Escape, Quit Kernel
// and File > Exit (its "Stop it and close?" answered Yes, its save question
// Cancel) each end it without a file, and the document stays as it was.
TEST(StopCalculationEndToEndTest, ANotebookExportEndsWithItsFileOrOnEscapeQuitKernelAndExit)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/stop-export";
    // The silent kernel notes each request it takes here: the stops come
    // once the export waits on the kernel.
    const QString heard = folder + "/kernel-heard.txt";
    qputenv("QV_SILENT_KERNEL_HEARD", heard.toLocal8Bit());
    EditorSession editor(folder);
    qunsetenv("QV_SILENT_KERNEL_HEARD");
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    // "T ", the mathematics a,b and " U" in one text paragraph.
    editor.Menu("F&ormat", 'a'); // Paragraph
    editor.Type("T ");
    editor.Menu("F&ormat", 'm'); // Math
    editor.Type("a,b");
    editor.Menu("F&ormat", 'p'); // Plain
    editor.Type(" U");
    const QString text = editor.DocumentText();
    ASSERT_TRUE(text.contains("T a,b U")) << text.toStdString();
    auto useKernelIn = [&](const QString& kernelFolder) {
        QSettings(folder + "/settings/Quorvant.ini", QSettings::IniFormat)
            .setValue("Kernel Connection/Kernel Path", kernelFolder);
        return editor.StartKernel();
    };
    const auto exit = [&] {
        editor.Menu("&File", 'x');
        ASSERT_TRUE(editor.Answer("^Quorvant$", "alt+y")) << editor.LastError().toStdString();  // stop it and close
        ASSERT_TRUE(editor.Answer("^Quorvant$", "Escape")) << editor.LastError().toStdString(); // save? Cancel
    };
    const struct {
        const char* name;
        const char* kernelFolder;
        std::function<void()> stop; // none: the export ends by itself
        bool quitsKernel;
    } cases[] = {
        {"the kernel beside the editor", QV_BINARY_DIR "/app", nullptr, false},
        {"Escape", QV_BINARY_DIR "/silent-kernel", [&] { editor.Key("Escape"); }, false},
        {"Quit Kernel", QV_BINARY_DIR "/silent-kernel", [&] { editor.Menu("&Kernel", 'Q'); }, true},
        {"Exit", QV_BINARY_DIR "/silent-kernel", exit, false},
    };
    bool running = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A kernel of its own for each case: a stopped request leaves its
        // answer owed, and the next export would wait for it before asking.
        if (running)
            editor.Menu("&Kernel", 'Q');
        ASSERT_TRUE(useKernelIn(c.kernelFolder)) << editor.LastError().toStdString();
        running = true;
        const QString path = folder + "/" + QString(c.name).replace(' ', '-') + ".nb";
        const int heardBefore = RequestsHeard(heard);
        editor.Menu("&File", 'e');
        editor.Key("n"); // Notebook
        ASSERT_TRUE(editor.ChooseFile("^Save As$", path)) << editor.LastError().toStdString();
        if (!c.stop) {
            ASSERT_TRUE(editor.WaitUntil([&] { return QFileInfo(path).size() > 0; })) << "no notebook written";
            QFile written(path);
            ASSERT_TRUE(written.open(QIODevice::ReadOnly));
            const QByteArray notebook = written.readAll();
            EXPECT_TRUE(notebook.contains("Cell[BoxData[\\(a, b\\)]")) << notebook.toStdString();
            EXPECT_FALSE(notebook.contains("Error")) << notebook.toStdString();
            continue;
        }
        ASSERT_TRUE(editor.WaitUntil([&] { return RequestsHeard(heard) > heardBefore; }))
            << "the export asked the kernel nothing";
        EXPECT_TRUE(editor.Screenshot(folder + "/" + QString(c.name).replace(' ', '-') + "-waiting.png"));
        c.stop();
        ASSERT_TRUE(editor.FocusMain());
        EXPECT_EQ(editor.DocumentText(), text);
        EXPECT_TRUE(editor.Screenshot(folder + "/" + QString(c.name).replace(' ', '-') + "-stopped.png"));
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(editor.KernelProcessId() == 0, c.quitsKernel);
        if (c.quitsKernel) {
            ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();
        }
    }
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}

// A menu closed with Escape, by a user who opened it with Alt and its letter
// or with the mouse: the letters typed next reach the document, and Escape
// in the Evaluate Code chosen next stops it. A calculation stopped places
// nothing: the title shows no unsaved changes, and leaving asks nothing.
TEST(StopCalculationEndToEndTest, AfterAMenuClosedWithEscapeKeysReachTheDocumentAndAStopChangesNothing)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/stop-after-menu";
    const QString heard = folder + "/kernel-heard.txt";
    qputenv("QV_SILENT_KERNEL_HEARD", heard.toLocal8Bit());
    EditorSession editor(folder);
    qunsetenv("QV_SILENT_KERNEL_HEARD");
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    QSettings(folder + "/settings/Quorvant.ini", QSettings::IniFormat)
        .setValue("Kernel Connection/Kernel Path", QV_BINARY_DIR "/silent-kernel");
    // The Edit menu's title stands above its menu's left end.
    const QStringList shown = editor.ShownWindows();
    ASSERT_TRUE(editor.Menu("&Edit", QChar())) << editor.LastError().toStdString();
    QRect editMenu;
    for (const QString& window : editor.ShownWindows())
        if (!shown.contains(window))
            editMenu = editor.WindowRect(window);
    ASSERT_FALSE(editMenu.isEmpty()) << "the Edit menu is not among the windows";
    editor.Key("Escape Escape");
    const QPoint editTitle(editMenu.left() + 10, editMenu.top() - 8);

    ASSERT_TRUE(editor.FocusMain());
    TypeParagraph(editor, 'C', "Expand[(x+y+z)^300]"); // Source Code
    const QString file = folder + "/code.vxm";
    editor.Key("ctrl+s");
    ASSERT_TRUE(editor.ChooseFile("^Save As$", file)) << editor.LastError().toStdString();
    ASSERT_NE(editor.WaitForWindow("code\\.vxm"), "");

    const struct {
        const char* name;
        std::function<void()> closeMenu;
    } rows[] = {
        {"no menu", [] {}},
        {"the File menu opened with Alt+F", [&] { editor.Key("alt+f Escape"); }},
        {"the Edit menu opened with the mouse",
         [&] {
             editor.Click(editTitle.x(), editTitle.y());
             editor.Key("Escape");
         }},
    };
    bool running = false;
    QString code = "Expand[(x+y+z)^300]";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(editor.FocusMain());
        editor.Key("ctrl+End");
        row.closeMenu();
        editor.Type("abc");
        code += "abc";
        const QString text = editor.DocumentText();
        ASSERT_TRUE(text.trimmed().endsWith(code)) << "the letters did not reach the document: " << text.toStdString();
        ASSERT_TRUE(editor.SaveWithKeys(file)) << "not saved";
        ASSERT_TRUE(editor.WaitUntil([&] { return !editor.MainTitle().contains('*'); }));

        // A kernel of its own that never answers: a stopped request leaves
        // its answer owed.
        if (running)
            editor.Menu("&Kernel", 'Q');
        ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();
        running = true;
        const int heardBefore = RequestsHeard(heard);
        editor.Key("ctrl+End shift+Home");
        row.closeMenu();
        ASSERT_TRUE(editor.Menu("&Kernel", 'E')) << editor.LastError().toStdString(); // Evaluate Code
        // Escape goes once the calculation waits on the kernel: the kernel
        // has taken its request, not only those of its start-up.
        ASSERT_TRUE(editor.WaitUntil([&] { return RequestsHeard(heard) > heardBefore; })) << "the code was not sent";
        editor.Key("Escape");
        // Select All and Copy are taken again once the calculation has ended.
        const auto copied = [&] {
            return editor.Copied([&] { editor.Key("alt+e l ctrl+c"); }, 2000); // Edit > Select All, Copy
        };
        EXPECT_TRUE(editor.WaitUntil([&] { return QString::fromUtf8(copied()) == text; }))
            << "the calculation was not stopped";
        EXPECT_FALSE(editor.MainTitle().contains('*')) << editor.MainTitle().toStdString();
    }
    EXPECT_TRUE(editor.Screenshot(folder + "/stopped.png"));
    // Nothing to save: File > Exit ends the program without a question.
    ASSERT_TRUE(editor.Menu("&File", 'x')) << editor.LastError().toStdString();
    EXPECT_EQ(editor.WaitForExit(), 0) << editor.Output().toStdString();
}
