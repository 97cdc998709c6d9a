// Typing, the single undo step and its menu item, actions refused during a
// drag, symbols, and element insertion from the menu and the toolbar.
#include "ViewFixture.h"

#include <QTemporaryDir>
#include <QToolButton>

#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "foundation/CompList.h"
#include "foundation/FontFace.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TTypingAction.h"
#include "foundation/TextComp.h"
#include "platform/AppProfile.h"
#include "spelling/SpellingAsker.h"
#include "spelling/SpellingEngine.h"

namespace {

constexpr UINT kUndo = ID_EDIT_UNDO;

TEST_F(ViewTest, TypedCharactersAreOneUndoStep)
{
    Type("abc");
    EXPECT_EQ(Text(1), "abc");
    EXPECT_TRUE(Doc()->IsModified());
    ItemState undo = Update(kUndo);
    EXPECT_TRUE(undo.enabled);
    EXPECT_EQ(undo.text, "Undo typing");

    Command(kUndo);
    EXPECT_EQ(Text(1), "");
    undo = Update(kUndo);
    EXPECT_TRUE(undo.enabled);
    EXPECT_EQ(undo.text, "Redo typing");

    Command(kUndo);
    EXPECT_EQ(Text(1), "abc");
    EXPECT_EQ(Update(kUndo).text, "Undo typing");
}

TEST_F(ViewTest, TypingAfterUndoStartsANewStep)
{
    Type("ab");
    Command(kUndo);
    Type("x");
    EXPECT_EQ(Text(1), "x");
    Command(kUndo);
    EXPECT_EQ(Text(1), "");
}

TEST_F(ViewTest, UndoItemWithoutActionIsDisabledAndKeepsItsText)
{
    ItemState undo = Update(kUndo);
    EXPECT_FALSE(undo.enabled);
    EXPECT_FALSE(undo.textSet);
}

TEST_F(ViewTest, ActionThatCannotBeUndoneShowsCantUndoDisabled)
{
    // A typing action that has typed nothing cannot be undone.
    view->ReplaceSelection(view->GetSelection(), 0);
    ASSERT_NE(view->GetTypingAction(), nullptr);
    ItemState undo = Update(kUndo);
    EXPECT_FALSE(undo.enabled);
    EXPECT_EQ(undo.text, "Can't undo");
}

TEST_F(ViewTest, ActionDuringDragBeepsAndKeepsTheUndoStep)
{
    Type("ab");
    TAction* kept = view->GetKeptAction();
    ASSERT_NE(kept, nullptr);
    // Press without release: a selection drag is running.
    MouseDown(IntPoint(60, 40));
    ASSERT_NE(view->GetTracker(), nullptr);
    const size_t beeps = ui.beeps.size();
    EXPECT_FALSE(view->PerformAction(new TTypingAction(view->GetSelection())));
    EXPECT_EQ(ui.beeps.size(), beeps + 1);
    EXPECT_EQ(view->GetKeptAction(), kept);

    MouseUp(IntPoint(60, 40));
    EXPECT_EQ(view->GetTracker(), nullptr);
}

TEST_F(ViewTest, TwoSymbolsInTextAreOneUndoStepInTheMathFace)
{
    Command(32701 + 3);  // a text paragraph
    ASSERT_EQ(Style(1), 3);
    Type("a");
    Command(32901);
    Command(32902);
    CompList* row = Paragraphs().GetAt(1)->GetRow();
    ASSERT_EQ(row->GetCount(), 3);
    EXPECT_EQ(row->GetAt(2)->GetChar(), 168);
    EXPECT_EQ(row->GetAt(3)->GetChar(), 135);
    EXPECT_EQ(row->GetAt(2)->GetFontId(), FontManager::kMathFace);
    EXPECT_EQ(row->GetAt(3)->GetFontId(), FontManager::kMathFace);

    Command(kUndo);
    EXPECT_EQ(Text(1), "a");
}

TEST_F(ViewTest, SymbolsPaletteButtonsExtendOneTypingAction)
{
    Command(32701 + 3);
    Type("a");
    CToolBar& palette = app->frame->GetSymbolBar();
    app->frame->OnIdleUpdateCmdUI();
    for (UINT id : {32910u, 32911u, 32912u}) {
        QToolButton* button = palette.GetButton(palette.CommandToIndex(id));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << id;
        button->click();
    }
    EXPECT_EQ(Paragraphs().GetAt(1)->GetRow()->GetCount(), 4);
    Command(kUndo);
    EXPECT_EQ(Text(1), "a");
}

TEST_F(ViewTest, SymbolOnANumberLabelBeepsAndTypesNothing)
{
    Command(32701 + 6);  // numbered equation: its label is at index 0
    CompList* row = Paragraphs().GetAt(1)->GetRow();
    view->SetSelection(DocSelection(row, 0, 1), false);
    const size_t beeps = ui.beeps.size();
    Command(32905);
    EXPECT_EQ(ui.beeps.size(), beeps + 1);
    EXPECT_EQ(row->GetCount(), 0);
}

TEST_F(ViewTest, FractionFromMenuWrapsTheSelection)
{
    Type("ab");
    Select(1, 1, 3);
    Command(32850);
    CompList* row = Paragraphs().GetAt(1)->GetRow();
    ASSERT_EQ(row->GetCount(), 1);
    TextComp* fraction = row->GetAt(1);
    EXPECT_EQ(fraction->Tag(), tag_Frac);
    CompList* numerator = fraction->GetChild(1);
    ASSERT_NE(numerator, nullptr);
    ASSERT_EQ(numerator->GetCount(), 2);
    EXPECT_EQ(numerator->GetAt(1)->GetChar(), 'a');
    EXPECT_EQ(numerator->GetAt(2)->GetChar(), 'b');
}

TEST_F(ViewTest, ToolbarButtonActsAsItsMenuItem)
{
    Type("ab");
    Select(1, 1, 3);
    for (UINT button = 32791; button <= 32812; ++button) {
        ItemState viaButton = Update(button);
        ItemState viaMenu = Update(button + 59);
        EXPECT_EQ(viaButton.enabled, viaMenu.enabled) << button;
    }
    Command(32791);
    CompList* row = Paragraphs().GetAt(1)->GetRow();
    ASSERT_EQ(row->GetCount(), 1);
    EXPECT_EQ(row->GetAt(1)->Tag(), tag_Frac);
    EXPECT_EQ(row->GetAt(1)->GetChild(1)->GetCount(), 2);
}

TEST_F(ViewTest, PlotAndDrawingElementsStayDisabled)
{
    EXPECT_TRUE(Update(32850).enabled);
    EXPECT_FALSE(Update(32868).enabled);
    EXPECT_FALSE(Update(32869).enabled);
    EXPECT_FALSE(Update(32871).enabled);
    EXPECT_FALSE(Update(32809).enabled);
    EXPECT_FALSE(Update(34050).enabled);
    Command(32868);
    EXPECT_EQ(Paragraphs().GetAt(1)->GetRow()->GetCount(), 0);
}

TEST_F(ViewTest, MatrixTakesAndStoresTheDocumentsSizes)
{
    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) {
        dialog.SetDlgItemInt(1000, 3);
        dialog.SetDlgItemInt(1001, 4);
        dialog.PressButton(IDOK);
    });
    Command(32862);
    CDialog::SetModalHook(old);
    CompList* row = Paragraphs().GetAt(1)->GetRow();
    ASSERT_EQ(row->GetCount(), 1);
    EXPECT_EQ(row->GetAt(1)->Tag(), tag_Matr);
    EXPECT_EQ(Doc()->GetInsertSizes().rows, 3);
    EXPECT_EQ(Doc()->GetInsertSizes().columns, 4);
}

TEST_F(ViewTest, CancelledDialogCreatesNothing)
{
    CDialog::ModalHook old = CDialog::SetModalHook([](CDialog& dialog) { dialog.PressButton(IDCANCEL); });
    Command(32863);
    Command(32854);
    CDialog::SetModalHook(old);
    EXPECT_EQ(Paragraphs().GetAt(1)->GetRow()->GetCount(), 0);
    EXPECT_EQ(view->GetKeptAction(), nullptr);
}

} // namespace

namespace {

// Corrects every word it is asked about to "the".
class CorrectToThe : public SpellingAsker {
public:
    SpellingAnswer Ask(const SpellingQuery&) override { return SpellingAnswer::ReplaceWith("the"); }
};

} // namespace

TEST_F(ViewTest, SpellingCorrectionDropsTheUndoStepItWouldInvalidate)
{
    QTemporaryDir settings;
    AppProfile::SetFolder(settings.path());
    SpellingEngine::Reset();
    Command(32704);  // Paragraph: running text
    Type("teh end");
    ASSERT_TRUE(Update(kUndo).enabled);

    CorrectToThe asker;
    SpellingEngine::SetAsker(&asker);
    Command(34114);  // Spell Check Document
    SpellingEngine::SetAsker(nullptr);
    SpellingEngine::Reset();
    AppProfile::SetFolder(QString());

    EXPECT_EQ(Text(1), "the end");
    // Undoing the typing now would remove characters at stale places.
    EXPECT_FALSE(Update(kUndo).enabled);
}
