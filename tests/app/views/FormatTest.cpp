// Paragraph and character styles, new paragraphs from Enter and Ctrl+Enter,
// the display sizes and the larger-equations flag, page numbering, and the
// caret of a document read from an empty file.
#include "ViewFixture.h"

#include <QAction>
#include <QMenu>
#include <fstream>

#include "app/CCorvellDoc.h"
#include "app/DisplayRecord.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TypeTag.h"
#include "platform/framework/CMenu.h"

namespace {

constexpr UINT kStyle = 32701;

TEST_F(ViewTest, ParagraphStyleCommandChecksItsItem)
{
    Command(kStyle + 2);
    EXPECT_EQ(Style(1), 2);
    EXPECT_EQ(Update(kStyle + 2).check, 1);
    EXPECT_EQ(Update(kStyle + 5).check, 0);
    // The same style again changes nothing and keeps no new undo step.
    TAction* kept = view->GetKeptAction();
    Command(kStyle + 2);
    EXPECT_EQ(view->GetKeptAction(), kept);
}

TEST_F(ViewTest, EnterStartsAParagraphOfTheStyleThatFollows)
{
    Command(kStyle + 6);
    Type("x");
    Key(VK_RETURN, 13);
    ASSERT_EQ(Paragraphs().GetCount(), 2);
    EXPECT_EQ(Style(2), 6);

    // After a title the next paragraph is plain text.
    Command(kStyle + 0);
    Key(VK_RETURN, 13);
    ASSERT_EQ(Paragraphs().GetCount(), 3);
    EXPECT_EQ(Style(3), 3);
}

TEST_F(ViewTest, CtrlEnterTogglesBetweenFormulaAndText)
{
    Command(kStyle + 6);
    Key(VK_RETURN, 10, Qt::ControlModifier);
    ASSERT_EQ(Paragraphs().GetCount(), 2);
    EXPECT_EQ(Style(2), 3);

    Key(VK_RETURN, 10, Qt::ControlModifier);
    ASSERT_EQ(Paragraphs().GetCount(), 3);
    EXPECT_EQ(Style(3), 5);

    Key(VK_RETURN, 10, Qt::ControlModifier);
    EXPECT_EQ(Style(4), 3);
    EXPECT_EQ(CCorvellView::ToggledParagraphStyle(0), 5);
}

TEST_F(ViewTest, EnterSplitsTheParagraphAtTheCaret)
{
    Command(kStyle + 3);
    Type("abcd");
    PutCaret(1, 3);
    Key(VK_RETURN, 13);
    EXPECT_EQ(Text(1), "ab");
    EXPECT_EQ(Text(2), "cd");
    Key(VK_BACK, 8);  // at the start of a paragraph: joins it to the one before
    ASSERT_EQ(Paragraphs().GetCount(), 1);
    EXPECT_EQ(Text(1), "abcd");
}

TEST_F(ViewTest, CharacterStyleIsCheckedForTheTypingFace)
{
    Command(kStyle + 3);
    Type("a");
    EXPECT_EQ(Update(32601).check, 1);
    EXPECT_EQ(Update(32604).check, 0);
    Command(32901);  // a symbol types in the math face
    EXPECT_EQ(Update(32604).check, 1);
    EXPECT_EQ(Update(32601).check, 0);
}

TEST_F(ViewTest, EveryDisplayMenuSizeHasItsCommand)
{
    const int expected[] = {7, 6, 5, 4, 3};
    Doc()->SetModifiedFlag(FALSE);
    for (UINT id = 15000; id <= 15004; ++id) {
        Command(id);
        EXPECT_EQ(view->GetDisplaySize(), expected[id - 15000]) << id;
        EXPECT_EQ(Doc()->GetDisplayRecord().displaySize, expected[id - 15000]);
        for (UINT other = 15000; other <= 15004; ++other) {
            ItemState item = Update(other);
            EXPECT_TRUE(item.enabled);
            EXPECT_EQ(item.check, other == id ? 1 : 0) << id << " " << other;
        }
    }
    EXPECT_TRUE(Doc()->IsModified());
}

// Every item the Display menu lists is a command of the view: enabled when
// the menu opens, and the one of the current size checked.
TEST_F(ViewTest, DisplayMenuItemsAllHaveCommands)
{
    CMenu bar;
    ASSERT_TRUE(bar.LoadMenu(129));
    QMenu* display = nullptr;
    for (int i = 0; i < bar.GetMenuItemCount(); ++i)
        if (QMenu* popup = bar.GetSubMenu(i); popup && popup->title().remove('&') == "Display")
            display = popup;
    ASSERT_NE(display, nullptr);
    Command(15004);
    CMenu::UpdatePopup(display, view, true);
    int sizes = 0;
    for (QAction* item : display->actions()) {
        if (item->isSeparator())
            continue;
        const UINT id = CMenu::IdOf(item);
        EXPECT_NE(id, 0u) << item->text().toStdString();
        EXPECT_TRUE(view->HasCommandHandler(id)) << item->text().toStdString();
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
        if (item->text().contains("Point")) {
            ++sizes;
            EXPECT_EQ(item->isChecked(), item->text().remove('&').startsWith("18")) << item->text().toStdString();
        }
    }
    EXPECT_EQ(sizes, 5);
}

TEST_F(ViewTest, LargerEquationsTogglesTheDocumentsFlag)
{
    EXPECT_EQ(Update(32790).check, 0);
    Command(32790);
    EXPECT_TRUE(Doc()->GetLargerEquations());
    EXPECT_EQ(Update(32790).check, 1);
    Command(32790);
    EXPECT_FALSE(Doc()->GetLargerEquations());
}

TEST_F(ViewTest, PageNumberingIsStoredOnOkOnly)
{
    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) {
        dialog.SetDlgItemInt(1000, 5);
        dialog.PressButton(IDOK);
    });
    Doc()->SetModifiedFlag(FALSE);
    Command(32789);
    EXPECT_EQ(Doc()->GetDisplayRecord().firstPageNumber, 5);
    EXPECT_TRUE(Doc()->IsModified());

    CDialog::SetModalHook([](CDialog& dialog) {
        dialog.SetDlgItemInt(1000, 9);
        dialog.PressButton(IDCANCEL);
    });
    Command(32789);
    CDialog::SetModalHook(old);
    EXPECT_EQ(Doc()->GetDisplayRecord().firstPageNumber, 5);
}

TEST_F(ViewTest, EmptyFileOpensWithACaretToTypeAt)
{
    const std::string path = OutputPath("empty.vxm");
    std::ofstream(path, std::ios::binary).close();
    ASSERT_NE(Open(path), nullptr);
    ASSERT_GE(Paragraphs().GetCount(), 1);
    DocSelection caret = view->GetSelection();
    EXPECT_EQ(caret.GetEnd().GetKind(), DocPosition::kListPlace);
    EXPECT_EQ(caret.GetEnd().GetParagraphComp(), Paragraphs().GetAt(1));
    Type("z");
    EXPECT_EQ(Text(1), "z");
}

TEST_F(ViewTest, ViewGivenAnEmptyListMakesAParagraphForTheCaret)
{
    Type("old");
    Doc()->GetParagraphList()->DeleteAll();
    ASSERT_EQ(Paragraphs().GetCount(), 0);
    // The old undo step and caret went with the old paragraphs.
    view->SetParagraphList(Doc()->GetParagraphList());
    EXPECT_EQ(view->GetKeptAction(), nullptr);
    ASSERT_EQ(Paragraphs().GetCount(), 1);
    EXPECT_EQ(view->GetSelection().GetEnd().GetParagraphComp(), Paragraphs().GetAt(1));
    Type("q");
    EXPECT_EQ(Text(1), "q");
}

TEST_F(ViewTest, ControlCharactersAreNotTyped)
{
    Command(kStyle + 3);
    Type("a");
    Key(VK_ESCAPE, 27);
    Key('B', 2, Qt::ControlModifier);
    EXPECT_EQ(Text(1), "a");
}

TEST_F(ViewTest, StatusIsClearedByAnAction)
{
    view->ShowStatus("Syntax Error");
    EXPECT_TRUE(view->IsStatusShown());
    EXPECT_EQ(ui.LastStatus(), "Syntax Error");
    Type("a");
    EXPECT_FALSE(view->IsStatusShown());
    EXPECT_EQ(ui.LastStatus(), " ");
}

} // namespace
