// References on the screen of the real editor: a saved document whose
// references stand above and below the numbered equation they name is
// opened, and each shows the equation's number; a numbered equation typed
// before it renumbers every reference at once, and deleting it again puts
// the old numbers back. The text is read back through Select All and Copy, which
// copies what the references show.
#include <QDir>
#include <QString>
#include <gtest/gtest.h>

#include "EditorSession.h"
#include "ModelDocument.h"
#include "app/CCorvellDoc.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleKinds.h"
#include "math/CrossRefComp.h"

namespace {

// See equation [ref] above. | x=1 (1) | y=2 (2) | And equation [ref] below.
bool WriteDocument(const QString& path)
{
    ModelDocument model;
    CCorvellDoc& doc = model.doc;
    auto add = [&doc](const char* text, int style) {
        auto* paragraph = new ParagraphComp(style);
        doc.GetParagraphList()->Append(paragraph);
        paragraph->AppendString(Str255(text));
        return paragraph;
    };
    ParagraphComp* above = add("See equation ", StyleKind::kPlain);
    add("x=1", StyleKind::kNumberedEquation);
    ParagraphComp* target = add("y=2", StyleKind::kNumberedEquation);
    ParagraphComp* below = add("And equation ", StyleKind::kPlain);
    doc.GetParagraphList()->RelayoutAll(false);
    above->GetRow()->Append(new CrossRefComp(target->GetLabel()));
    above->AppendString(Str255(" above."));
    below->GetRow()->Append(new CrossRefComp(target->GetLabel()));
    below->AppendString(Str255(" below."));
    return doc.OnSaveDocument(path.toUtf8().constData());
}

} // namespace

TEST(ReferencesEndToEndTest, EveryReferenceShowsItsEquationsNumberAfterOpeningAndRenumbering)
{
    QString reason;
    if (!EditorSession::CanRun(&reason))
        GTEST_SKIP() << reason.toStdString();
    const QString folder = QString(QV_TEST_OUTPUT) + "/references";
    EditorSession editor(folder);
    const QString path = folder + "/references.vxm";
    ASSERT_TRUE(WriteDocument(path));
    ASSERT_TRUE(editor.Start({path}, "references\\.vxm")) << editor.LastError().toStdString();

    auto shows = [&](const QString& number) {
        return editor.WaitUntil([&] {
            const QString text = editor.DocumentText();
            const bool above = text.contains("See equation " + number + " above.");
            return above && text.contains("And equation " + number + " below.");
        });
    };
    EXPECT_TRUE(shows("(2)")) << editor.DocumentText().toStdString();
    editor.Key("ctrl+Home");
    EXPECT_TRUE(editor.Screenshot(folder + "/reopened.png"));

    // A numbered equation typed after x=1 makes y=2 the third.
    editor.Key("Down");
    editor.Key("End");
    editor.Key("Return");
    ASSERT_TRUE(editor.Menu("F&ormat", 'n')) << editor.LastError().toStdString();
    editor.Type("z=0");
    EXPECT_TRUE(shows("(3)")) << editor.DocumentText().toStdString();
    editor.Key("ctrl+Home");
    EXPECT_TRUE(editor.Screenshot(folder + "/inserted.png"));

    // The new equation deleted again: its text, then its paragraph.
    editor.Key("Down");
    editor.Key("Down");
    editor.Key("End");
    editor.Key("shift+Home");
    editor.Key("BackSpace");
    editor.Key("BackSpace");
    EXPECT_TRUE(shows("(2)")) << editor.DocumentText().toStdString();
    EXPECT_FALSE(editor.DocumentText().contains("z=0"));
    editor.Key("ctrl+Home");
    EXPECT_TRUE(editor.Screenshot(folder + "/deleted.png"));
    EXPECT_EQ(editor.QuitDiscarding(), 0) << editor.Output().toStdString();
}
