// The Edit menu's clipboard commands and their states, and the child frame's
// placement kept in the document's display record.
#include "ViewFixture.h"

#include "app/CCorvellDoc.h"
#include "app/DisplayRecord.h"
#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "kernel/KernelLink.h"

namespace {

constexpr UINT kCopyMetafile = 34010, kCopyMathML = 34011, kCopySVG = 34012, kSelectAll = 34014;

TEST_F(ViewTest, CutAndCopyNeedASelection)
{
    Command(32701 + 3);
    Type("abc");
    EXPECT_FALSE(Update(ID_EDIT_CUT).enabled);
    EXPECT_FALSE(Update(ID_EDIT_COPY).enabled);
    Select(1, 1, 3);
    EXPECT_TRUE(Update(ID_EDIT_CUT).enabled);
    EXPECT_TRUE(Update(ID_EDIT_COPY).enabled);
    // A paragraph's number label is copied, never cut.
    Command(32701 + 6);
    CompList* row = Paragraphs().GetAt(1)->GetRow();
    view->SetSelection(DocSelection(row, 0, 1), false);
    EXPECT_FALSE(Update(ID_EDIT_CUT).enabled);
    EXPECT_FALSE(Update(ID_EDIT_PASTE).enabled);
}

TEST_F(ViewTest, CutThenPasteMovesTheText)
{
    Command(32701 + 3);
    Type("abcd");
    Select(1, 2, 4);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Text(1), "ad");
    EXPECT_EQ(Update(ID_EDIT_UNDO).text, "Undo cut");
    PutCaret(1, 3);
    EXPECT_TRUE(Update(ID_EDIT_PASTE).enabled);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Text(1), "adbc");
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Text(1), "ad");
}

TEST_F(ViewTest, CopyAsNeedsAFormulaAndItsWriter)
{
    Command(32701 + 5);  // a plain equation
    Type("xy");
    Select(1, 1, 3);
    EXPECT_TRUE(Update(kCopyMetafile).enabled);
    EXPECT_FALSE(Update(kCopyMathML).enabled);
    EXPECT_FALSE(Update(kCopySVG).enabled);
    CBaseView::SetCopyWritersAvailable(true, true);
    EXPECT_TRUE(Update(kCopyMathML).enabled);
    EXPECT_FALSE(Update(kCopySVG).enabled);  // no drawing selected
    CBaseView::SetCopyWritersAvailable(false, false);
    Command(32701 + 3);
    Select(1, 1, 3);
    EXPECT_FALSE(Update(kCopyMetafile).enabled);
}

TEST_F(ViewTest, FindSelectsTheNextMatch)
{
    Command(32701 + 3);
    Type("abcabc");
    PutCaret(1, 2);
    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) {
        dialog.SetDlgItemText(1108, "ab");
        dialog.PressButton(1110);
        dialog.PressButton(IDCANCEL);
    });
    Command(34013);
    CDialog::SetModalHook(old);
    DocSelection match = view->GetSelection();
    EXPECT_EQ(match.GetStart().GetIndex(), 4);
    EXPECT_EQ(match.GetEnd().GetIndex(), 6);
}

TEST_F(ViewTest, FramePlacementIsClampedIntoTheWindowArea)
{
    DisplayRecord record;
    record.left = 10;
    record.top = 20;
    record.right = 410;
    record.bottom = 320;
    view->ApplyFramePlacement(record);
    DisplayRecord stored;
    view->StoreFramePlacement(stored);
    EXPECT_EQ(stored.left, 10);
    EXPECT_EQ(stored.top, 20);
    EXPECT_EQ(stored.right, 410);
    EXPECT_EQ(stored.bottom, 320);

    record.left = -50;
    record.top = -5;
    record.right = 100000;
    record.bottom = 100000;
    view->ApplyFramePlacement(record);
    view->StoreFramePlacement(stored);
    EXPECT_EQ(stored.left, 0);
    EXPECT_EQ(stored.top, 0);
    EXPECT_LT(stored.right, 100000);
    EXPECT_LT(stored.bottom, 100000);

    // Wholly outside the area: the window keeps its size inside it.
    record.left = 50000;
    record.top = 40000;
    record.right = 50300;
    record.bottom = 40200;
    view->ApplyFramePlacement(record);
    view->StoreFramePlacement(stored);
    EXPECT_EQ(stored.left, 0);
    EXPECT_EQ(stored.top, 0);
    EXPECT_EQ(stored.right, 300);
    EXPECT_EQ(stored.bottom, 200);

    record.left = INT32_MIN;
    record.right = INT32_MAX;
    record.top = INT32_MAX;
    record.bottom = INT32_MIN;
    view->ApplyFramePlacement(record);
    view->StoreFramePlacement(stored);
    EXPECT_LT(stored.left, stored.right);
    EXPECT_LT(stored.top, stored.bottom);
}

TEST_F(ViewTest, EditingCommandsAreOffWhileTheKernelWorks)
{
    class BusyLink : public KernelLink {
    public:
        BusyLink() { m_ready = m_busy = true; }
    } busy;
    KernelLink* old = KernelLink::Get();
    KernelLink::Set(&busy);
    EXPECT_FALSE(view->CanEdit());
    EXPECT_FALSE(Update(32850).enabled);
    const size_t beeps = ui.beeps.size();
    Type("a");
    EXPECT_EQ(Text(1), "");
    EXPECT_GT(ui.beeps.size(), beeps);
    KernelLink::Set(old);
    EXPECT_TRUE(view->CanEdit());
}

} // namespace
