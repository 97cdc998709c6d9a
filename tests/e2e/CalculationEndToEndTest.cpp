// A calculation on a real X display against the kernel program beside the
// editor: an equation typed and selected, Solve picked from the context menu,
// and the solution in the document; then undone.
#include <gtest/gtest.h>

#include "EditorSession.h"

TEST(CalculationEndToEndTest, SolveFromTheContextMenuThenUndo)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/calculation";
    EditorSession editor(folder);
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.Menu("&Kernel", 'S')) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.WaitForWindowGone("^Kernel Startup$")) << "the kernel did not start";
    ASSERT_TRUE(editor.FocusMain());

    ASSERT_TRUE(editor.Menu("F&ormat", 'q')) << editor.LastError().toStdString();   // Plain Equation
    editor.Type("2x=6");
    // Solve picked from the context menu, which ends with the kernel's choices:
    // Solve, Simplify, Expand, Factor.
    auto solve = [&](const QString& shot) {
        editor.Key("ctrl+Home");
        editor.Key("shift+End");
        editor.Key("Menu");
        EXPECT_TRUE(editor.Screenshot(folder + "/" + shot));
        for (int i = 0; i < 4; ++i)
            editor.Key("Up");
        editor.Key("Return");
        ASSERT_TRUE(editor.FocusMain());
    };
    auto documentText = [&] {
        return QString::fromUtf8(editor.Copied([&] {
            editor.Menu("&Edit", 'l'); // Select All
            editor.Key("ctrl+c");
        }));
    };
    solve("context-menu.png");
    EXPECT_TRUE(editor.Screenshot(folder + "/solved.png"));
    EXPECT_EQ(documentText().count("x = 3"), 1);
    // Solved again, then undone: one solution paragraph is left.
    solve("context-menu-again.png");
    EXPECT_TRUE(editor.Screenshot(folder + "/solved-twice.png"));
    editor.Key("ctrl+z");
    EXPECT_TRUE(editor.Screenshot(folder + "/undone.png"));
    EXPECT_EQ(documentText().count("x = 3"), 1);

    editor.Menu("&File", 'x');
    QString ask = editor.WaitForWindow("^Quorvant$");
    if (!ask.isEmpty()) {
        editor.Focus(ask);
        editor.Key("alt+n");
    }
    EXPECT_EQ(editor.WaitForExit(), 0) << editor.Output().toStdString();
}
