// The Kernel menu on a real X display against the kernel program that ships
// beside the editor: Start Kernel shows the start-up notice until the kernel
// is ready, Calculation Options and Term Ordering change a value each, Quit
// Kernel ends the kernel, and the editor goes on with its document.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

#include "EditorSession.h"

TEST(KernelMenuEndToEndTest, StartSetOptionsAndOrderingQuit)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/kernel-menu";
    EditorSession editor(folder);
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    editor.Type("before the kernel");

    ASSERT_TRUE(editor.Menu("&Kernel", 'S')) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.WaitForWindowGone("^Kernel Startup$")) << "the kernel did not start";
    ASSERT_TRUE(editor.FocusMain());
    EXPECT_TRUE(editor.Screenshot(folder + "/kernel-started.png"));

    // Calculation Options: "Put results at end" (the first control) is ticked.
    ASSERT_TRUE(editor.Menu("&Kernel", 'O')) << editor.LastError().toStdString();
    QString options = editor.WaitForWindow("^Calculation Preferences$");
    ASSERT_FALSE(options.isEmpty()) << "Calculation Options did not open";
    ASSERT_TRUE(editor.Focus(options));
    editor.Key("space");
    EXPECT_TRUE(editor.Screenshot(folder + "/calculation-options.png"));
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForWindowGone("^Calculation Preferences$"));

    // Term Ordering: "Reorder terms in results" (after the list) is ticked.
    ASSERT_TRUE(editor.FocusMain());
    ASSERT_TRUE(editor.Menu("&Kernel", 'T')) << editor.LastError().toStdString();
    QString ordering = editor.WaitForWindow("^Term Ordering$");
    ASSERT_FALSE(ordering.isEmpty()) << "Term Ordering did not open";
    ASSERT_TRUE(editor.Focus(ordering));
    editor.Key("Tab");
    editor.Key("space");
    EXPECT_TRUE(editor.Screenshot(folder + "/term-ordering.png"));
    editor.Key("Return");
    ASSERT_TRUE(editor.WaitForWindowGone("^Term Ordering$"));

    ASSERT_TRUE(editor.FocusMain());
    ASSERT_TRUE(editor.Menu("&Kernel", 'Q')) << editor.LastError().toStdString();
    editor.Type(" and after");
    EXPECT_TRUE(editor.Screenshot(folder + "/kernel-quit.png"));
    // The kernel can be started again after quitting.
    ASSERT_TRUE(editor.Menu("&Kernel", 'S')) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.WaitForWindowGone("^Kernel Startup$")) << "the kernel did not start again";
    ASSERT_TRUE(editor.FocusMain());
    // Exit; the document typed is not kept.
    editor.Menu("&File", 'x');
    QString ask = editor.WaitForWindow("^Quorvant$");
    ASSERT_FALSE(ask.isEmpty()) << "no question about the unsaved document";
    editor.Focus(ask);
    EXPECT_TRUE(editor.Screenshot(folder + "/exit-question.png"));
    editor.Key("alt+n");
    EXPECT_EQ(editor.WaitForExit(), 0) << editor.Output().toStdString();

    const QStringList files = QDir(folder + "/settings").entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    QSettings stored(folder + "/settings/" + files.first(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Kernel Preferences/Results at end").toInt(), 1) << files.first().toStdString();
}
