// A character that no face holds is refused: typed, the X bell rings (the
// editor's beep reaches the display through the platform's seam); pasted,
// the editor names it and asks before it pastes the rest. The rest is kept.
#include <QString>
#include <gtest/gtest.h>

#include "EditorSession.h"

TEST(UnheldCharacterEndToEndTest, ATypedCharacterNoFaceHoldsRingsTheBellAndAPastedOneIsNamedFirst)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/unheld";
    const QString euro = QString::fromUtf8("\xe2\x82\xac");
    EditorSession editor(folder, euro);
    ASSERT_TRUE(editor.Start({}, "^Quorvant - \\[Quorvant1\\]")) << editor.LastError().toStdString();
    ASSERT_TRUE(editor.WatchBell()) << "the display reports no bell";

    editor.Type("a" + euro + "b");
    EXPECT_TRUE(editor.WaitUntil([&] { return editor.BellsRung() >= 1; })) << "typing gave no sign";
    ASSERT_TRUE(editor.PutClipboard(euro.toUtf8() + "c", "UTF8_STRING"));
    ASSERT_TRUE(editor.FocusMain());
    editor.Key("ctrl+v");
    ASSERT_FALSE(editor.WaitForWindow("^Quorvant$").isEmpty()) << "pasting gave no sign";
    EXPECT_EQ(editor.BellsRung(), 1) << "the question came with a beep";
    // Taking a screenshot rings the bell too: bells are counted before.
    EXPECT_TRUE(editor.Screenshot(folder + "/paste-question.png"));
    ASSERT_TRUE(editor.Answer("^Quorvant$", "Return")) << editor.LastError().toStdString(); // Paste the rest
    EXPECT_TRUE(editor.WaitUntil([&] { return editor.DocumentText().contains("abc"); }))
        << editor.DocumentText().toStdString();
    EXPECT_TRUE(editor.Screenshot(folder + "/typed-and-pasted.png"));
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
