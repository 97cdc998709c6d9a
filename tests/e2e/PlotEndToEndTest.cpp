// A 2-D plot on a real X display against the kernel program beside the
// editor: sin x typed in an equation, Plot picked from the context menu and
// the curve shown; then the x range changed in the parameter dialog and the
// plot drawn again for it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>

#include "EditorSession.h"
#include "support/PictureCompare.h"

namespace {

// Pixels that differ between two screenshots.
int Changed(const QString& before, const QString& after)
{
    const QImage a(before), b(after);
    if (a.isNull() || a.size() != b.size())
        return -1;
    return DifferentPixels(a, b.convertToFormat(a.format()), 32);
}

} // namespace

TEST(PlotEndToEndTest, PlotFromTheContextMenuThenChangeItsRange)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/plot";
    EditorSession editor(folder);
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.StartKernel()) << editor.LastError().toStdString();

    ASSERT_TRUE(editor.Menu("F&ormat", 'q')) << editor.LastError().toStdString(); // Plain Equation
    editor.Type("sin x");
    editor.Key("ctrl+Home");
    editor.Key("shift+End");
    editor.Key("Menu");
    EXPECT_TRUE(editor.Screenshot(folder + "/context-menu.png"));
    // The kernel's choices end the menu: ..., Plot, Laplace transform, Fourier transform.
    for (int i = 0; i < 3; ++i)
        editor.Key("Up");
    editor.Key("Return");
    ASSERT_TRUE(editor.FocusMain());
    const QString plotted = folder + "/plotted.png";
    EXPECT_TRUE(editor.Screenshot(plotted));

    // The caret stands after the new plot: Shift+Left selects it, and its
    // parameters are changed from the Element menu (Link Properties, the last
    // item, is disabled and passed over).
    editor.Key("shift+Left");
    ASSERT_TRUE(editor.Menu("E&lement", QChar())) << editor.LastError().toStdString();
    editor.Key("Up");
    EXPECT_TRUE(editor.Screenshot(folder + "/element-menu.png"));
    editor.Key("Return");
    const QString dialog = editor.WaitForWindow("^Plot Parameters$");
    ASSERT_FALSE(dialog.isEmpty()) << "Set Plot Parameters opened no dialog";
    ASSERT_TRUE(editor.Focus(dialog));
    EXPECT_TRUE(editor.Screenshot(folder + "/parameters.png"));
    editor.Key("Tab");
    editor.Type("0");
    editor.Key("Tab");
    editor.Type("3");
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForWindowGone("^Plot Parameters$"));
    ASSERT_TRUE(editor.FocusMain());
    // The plot is computed again for x from 0 to 3: the picture changes.
    const QString redrawn = folder + "/redrawn.png";
    QElapsedTimer timer;
    timer.start();
    int changed = 0;
    while (timer.elapsed() < EditorSession::kPatience) {
        ASSERT_TRUE(editor.Screenshot(redrawn));
        changed = Changed(plotted, redrawn);
        if (changed > 500)
            break;
    }
    EXPECT_GT(changed, 500) << "the plot looks as before";

    EXPECT_TRUE(editor.DocumentText().contains("Picture")) << "the document holds the plot";
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
