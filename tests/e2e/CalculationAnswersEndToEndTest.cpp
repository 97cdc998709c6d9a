// Calculations on a real X display against the kernel program beside the
// editor, as a user meets them: a calculation held open (the kernel paused)
// while the user clicks, types and tries to close the window, which must end
// with the editor alive and the document as it should be; and answers that
// read as mathematics: an integral's constant C₁ (then undone), the
// derivative of ln x as a fraction, the determinant of a 2×2 matrix, and
// definite integrals, divergent and convergent, one inside another.
#include <gtest/gtest.h>

#include "EditorSession.h"
#include "support/PauseProcess.h"

#include <memory>
#include <vector>

namespace {

class CalculationAnswers : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString reason;
        if (!EditorSession::CanRun(&reason))
            GTEST_SKIP() << reason.toStdString();
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = QString(QV_TEST_OUTPUT) + "/" + test->name();
        editor = std::make_unique<EditorSession>(folder);
        ASSERT_TRUE(editor->Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor->LastError().toStdString();
        ASSERT_TRUE(editor->StartKernel()) << editor->LastError().toStdString();
        // The kernel's start opens the Constants palette.
        EXPECT_NE(editor->WaitForWindow("^Constants$"), "") << "no Constants palette";
        Shot("started.png");
        ASSERT_TRUE(editor->FocusMain());
    }

    void Shot(const QString& name) { EXPECT_TRUE(editor->Screenshot(folder + "/" + name)) << "no screenshot"; }

    // The document as text, as another program gets it from the clipboard.
    QString DocumentText() { return editor->DocumentText(); }
    bool DocumentShows(const QString& text, int timeoutMs = EditorSession::kPatience)
    {
        return editor->WaitUntil([&] { return DocumentText().contains(text); }, timeoutMs);
    }

    // A new equation paragraph holding text, selected: its choices are read now.
    void TypeEquation(const QString& text)
    {
        editor->Key("ctrl+End");
        editor->Key("Return");
        ASSERT_TRUE(editor->Menu("F&ormat", 'q')); // Plain Equation
        editor->Type(text);
        editor->Key("shift+Home");
    }
    // The page (without menus, palettes' edges and status bar) as shown now.
    QImage Page() { return editor->Grab().copy(0, 60, 340, 840); }
    // Runs the first calculation offered for the selection (Shift+Enter) and
    // waits until its answer shows on the page.
    void Calculate()
    {
        const QImage before = Page();
        editor->Key("shift+Return");
        EXPECT_TRUE(editor->WaitUntil([&] { return Page() != before; })) << "no answer appeared";
    }
    // The context menu ends with the kernel's choices: picks the one `fromEnd`
    // places from its end (1 is the last).
    void Choose(int fromEnd)
    {
        editor->Key("Menu");
        for (int i = 0; i < fromEnd; ++i)
            editor->Key("Up");
        editor->Key("Return");
    }
    // Selects the line typed last and waits until the editor has read the
    // kernel's choices for it, which it does as the selection is made: a
    // kernel paused before that would hold the selection itself.
    void SelectLineRead(const QString& line)
    {
        editor->Key("shift+Home");
        EXPECT_EQ(editor->Copied([&] { editor->Key("ctrl+c"); }), line.toUtf8());
    }
    void Quit()
    {
        ASSERT_TRUE(editor->FocusMain());
        EXPECT_EQ(editor->QuitDiscarding(), 0) << editor->Output().toStdString();
    }

    QString folder;
    std::unique_ptr<EditorSession> editor;
};

TEST_F(CalculationAnswers, AUserWhoClicksTypesAndClosesWhileTheKernelWorksLosesNothing)
{
    ASSERT_TRUE(editor->Menu("F&ormat", 'q'));
    editor->Type("2+3");
    SelectLineRead("2+3");
    const pid_t kernel = pid_t(editor->KernelProcessId());
    ASSERT_GT(kernel, 0);
    auto paused = std::make_unique<PausedProcess>(kernel);
    ASSERT_TRUE(paused->Stopped());
    Choose(3); // Evaluate, before Numeric value and Factor
    // The calculation waits: clicks and keys are refused with a beep.
    editor->Click(250, 700);
    editor->Key("ctrl+End");
    editor->Type("9");
    Shot("waiting.png");
    // Closing asks to stop the calculation first; No keeps everything.
    ASSERT_TRUE(editor->FocusMain());
    ASSERT_TRUE(editor->Menu("&File", 'c')) << editor->LastError().toStdString();
    QString ask = editor->WaitForWindow("^Quorvant$");
    ASSERT_FALSE(ask.isEmpty()) << "closing did not ask to stop the calculation";
    Shot("asked-to-stop.png");
    editor->Focus(ask);
    editor->Key("alt+n");
    paused.reset();
    ASSERT_TRUE(editor->FocusMain());
    EXPECT_TRUE(DocumentShows("2+3 = 5")) << DocumentText().toStdString();
    EXPECT_FALSE(DocumentText().contains("9"));
    Shot("answered.png");

    // Held again, the program closed: stopped, the document asked about, the
    // program ends cleanly.
    editor->Key("ctrl+End");
    editor->Key("Return");
    editor->Type("7*6");
    SelectLineRead("7*6");
    paused = std::make_unique<PausedProcess>(kernel);
    ASSERT_TRUE(paused->Stopped());
    Choose(3);
    editor->Menu("&File", 'x');
    ask = editor->WaitForWindow("^Quorvant$");
    ASSERT_FALSE(ask.isEmpty()) << "exiting did not ask to stop the calculation";
    editor->Focus(ask);
    editor->Key("alt+y"); // stop it and close
    paused.reset();
    QString save = editor->WaitForWindow("^Quorvant$");
    if (!save.isEmpty()) {
        Shot("save-question.png");
        editor->Focus(save);
        editor->Key("alt+n");
    }
    EXPECT_EQ(editor->WaitForExit(), 0) << editor->Output().toStdString();
}

TEST_F(CalculationAnswers, AnswersReadAsMathematics)
{
    // An integral typed from the Element menu and evaluated: the constant is
    // C₁ (C_1 as text). Undone before the text is read (copying is the next
    // undoable step), then evaluated again and read.
    ASSERT_TRUE(editor->Menu("F&ormat", 'q'));
    ASSERT_TRUE(editor->Menu("E&lement", 'i')); // Integral
    editor->Type("x sin(x)");
    editor->Key("Tab");
    editor->Type("x");
    auto evaluateIntegral = [&] {
        editor->Key("ctrl+Home");
        editor->Key("shift+End");
        Calculate(); // Evaluate, the first choice
    };
    evaluateIntegral();
    Shot("integral.png");
    editor->Key("ctrl+z");
    Shot("integral-undone.png");
    QString text = DocumentText();
    EXPECT_FALSE(text.contains("C_1")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("\u222B"))) << text.toStdString();
    evaluateIntegral();
    text = DocumentText();
    EXPECT_TRUE(text.contains("C_1")) << text.toStdString();
    EXPECT_TRUE(text.contains("cos")) << text.toStdString();
    EXPECT_FALSE(text.contains("vxReplSub")) << text.toStdString();

    // d/dx ln x reads as a fraction.
    TypeEquation("ln(x)");
    Choose(5); // ..., Differentiate by x, Integrate by x, Plot, Laplace, Fourier
    EXPECT_TRUE(DocumentShows("1/x")) << DocumentText().toStdString();
    Shot("derivative.png");

    // The determinant of [1 2; 3 4], from the choices offered for a matrix.
    editor->Key("ctrl+End");
    editor->Key("Return");
    ASSERT_TRUE(editor->Menu("F&ormat", 'q'));
    ASSERT_TRUE(editor->Menu("E&lement", 'x')); // Matrix, 2 by 2
    QString dialog = editor->WaitForWindow("Matrix");
    ASSERT_FALSE(dialog.isEmpty()) << "no Create Matrix dialog";
    editor->Focus(dialog);
    editor->Key("Return");
    ASSERT_TRUE(editor->FocusMain());
    for (const char* cell : {"1", "2", "3", "4"}) {
        editor->Type(cell);
        editor->Key("Tab");
    }
    editor->Key("shift+Home");
    editor->Key("Menu");
    Shot("matrix-choices.png");
    editor->Key("Escape");
    // Evaluate, Determinant, Inverse, Transpose, Eigenvalues, Numeric value, Factor.
    Choose(6);
    EXPECT_TRUE(DocumentShows("-2")) << DocumentText().toStdString();
    Shot("determinant.png");

    // Definite integrals from the Element menu, evaluated: the integral of
    // 1/x from -1 to 1 diverges and stays as written (never its principal
    // value 0); the integral of ln x from 0 to 1 converges to -1; the
    // integral of 1/x^2 from -1 to a stays as written, as 0 may lie between;
    // the integral over y of the integral of 1/(x - y) over x, both from 0
    // to 1, stays as written, as the inner one diverges at x = y; the
    // integral of e^-x from 0 to 10^6, which lives near 0, is 1 - e^-10^6
    // (never the 0 of a quadrature whose samples all underflowed).
    struct Limits {
        const char* lower;
        const char* upper;
        const char* variable;
    };
    const struct {
        std::vector<Limits> levels; // outermost first
        const char* integrand;
        const char* answer; // the text after " = "
        const char* shot;
    } integrals[] = {
        {{{"-1", "1", "x"}}, "1/x", nullptr, "divergent-integral.png"},
        {{{"0", "1", "x"}}, "ln(x)", "-1", "convergent-integral.png"},
        {{{"-1", "a", "x"}}, "1/x^2", nullptr, "integral-to-a-letter.png"},
        {{{"0", "1", "y"}, {"0", "1", "x"}}, "1/(x-y)", nullptr, "divergent-double-integral.png"},
        {{{"0", "1000000", "x"}}, "e^(-x)", "-1/e^1000000 + 1", "long-decay-integral.png"},
    };
    for (const auto& integral : integrals) {
        SCOPED_TRACE(integral.integrand);
        editor->Key("ctrl+End");
        editor->Key("Return");
        ASSERT_TRUE(editor->Menu("F&ormat", 'q'));
        for (const Limits& level : integral.levels) {
            ASSERT_TRUE(editor->Menu("E&lement", 'i')); // Integral: the caret in the integrand
            editor->Key("Down");                        // the lower limit
            editor->Type(level.lower);
            editor->Key("Up");
            editor->Key("Up"); // the upper limit
            editor->Type(level.upper);
            editor->Key("Down");
            editor->Key("Tab"); // the variable
            editor->Type(level.variable);
            editor->Key("Left");
            editor->Key("Left"); // back in the integrand
        }
        editor->Type(integral.integrand);
        editor->Key("ctrl+End");
        editor->Key("shift+Home");
        editor->Key("shift+Return"); // Evaluate, the first choice
        QString last;
        EXPECT_TRUE(editor->WaitUntil([&] {
            last = DocumentText().trimmed().section('\n', -1);
            return last.contains(" = ");
        })) << "no answer appeared: "
            << last.toStdString();
        editor->Key("ctrl+End"); // the document was selected to be read
        Shot(integral.shot);
        const QString answer = last.section(" = ", 1).trimmed();
        if (integral.answer) {
            EXPECT_EQ(answer, integral.answer) << last.toStdString();
        } else {
            // Held as written: as many integral signs as were typed, and no number.
            EXPECT_TRUE(answer.startsWith(QString::fromUtf8("\u222B"))) << last.toStdString();
            EXPECT_EQ(answer.count(QString::fromUtf8("\u222B")), int(integral.levels.size())) << last.toStdString();
        }
    }
    Quit();
}

} // namespace
