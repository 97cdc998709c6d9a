// A character that no face holds is refused with the same sign whether it is
// typed or pasted: the X bell rings once for each (the editor's beep reaches
// the display through the platform's seam), and the rest is kept.
#include <QString>
#include <gtest/gtest.h>

#include "EditorSession.h"

TEST(UnheldCharacterEndToEndTest, ATypedOrPastedCharacterNoFaceHoldsRingsTheBellOnceEach)
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
    EXPECT_TRUE(editor.WaitUntil([&] { return editor.BellsRung() >= 2; })) << "pasting gave no sign";
    EXPECT_TRUE(editor.WaitUntil([&] { return editor.DocumentText().contains("abc"); }))
        << editor.DocumentText().toStdString();
    EXPECT_EQ(editor.BellsRung(), 2);
    EXPECT_TRUE(editor.Screenshot(folder + "/typed-and-pasted.png"));
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
