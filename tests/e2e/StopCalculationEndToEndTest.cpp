// Escape in a calculation the kernel cannot stop, on a real X display against
// the kernel program beside the editor: a large number is factored, Escape
// pressed, the editor says the kernel was started again and what was lost,
// and the next calculation is answered by the new kernel. Starting the kernel
// leaves the keys with the document.
#include <gtest/gtest.h>

#include <QThread>

#include "EditorSession.h"

namespace {

// The product of a 45-digit and a 46-digit prime: its factoring takes minutes
// and cannot be interrupted.
constexpr const char* kSemiprime =
    "4968638931578953484411481060339304001158629392764882849635992438246886957311244478915659341";

} // namespace

TEST(StopCalculationEndToEndTest, EscapeInALongFactoringThenTheNextCalculationIsAnswered)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/stop-calculation";
    EditorSession editor(folder);
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    // The palette the kernel's start opens leaves the keys with the document.
    ASSERT_TRUE(editor.Menu("&Kernel", 'S')) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.WaitForWindowGone("^Kernel Startup$")) << "the kernel did not start";
    editor.Type("typed on");
    EXPECT_TRUE(editor.Screenshot(folder + "/kernel-started.png"));
    EXPECT_TRUE(editor.DocumentText().contains("typed on")) << editor.DocumentText().toStdString();
    const qint64 firstKernel = editor.KernelProcessId();
    ASSERT_NE(firstKernel, 0);

    ASSERT_TRUE(editor.FocusMain());
    editor.Key("ctrl+End");
    editor.Key("Return");
    ASSERT_TRUE(editor.Menu("F&ormat", 'q')) << editor.LastError().toStdString(); // Plain Equation
    editor.Type(kSemiprime);
    editor.Key("Home");
    editor.Key("shift+End");
    // The kernel's choices for a number end the context menu: Factor, Numeric value.
    editor.Key("Menu");
    EXPECT_TRUE(editor.Screenshot(folder + "/context-menu.png"));
    editor.Key("Up");
    editor.Key("Up");
    editor.Key("Return");
    QThread::msleep(3000);
    EXPECT_TRUE(editor.Screenshot(folder + "/factoring.png"));
    editor.Key("Escape");
    // The kernel could not stop: it is ended and started again, and the user is told.
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
    editor.Key("ctrl+End");
    editor.Key("Return");
    ASSERT_TRUE(editor.Menu("F&ormat", 'q')) << editor.LastError().toStdString();
    editor.Type("2x=6");
    editor.Key("Home");
    editor.Key("shift+End");
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
