// Typing and its undo step, symbols, element insertion, the clipboard,
// actions refused during a drag or a kernel request, and spelling and undo.
#include "ViewFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QToolButton>

#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/InsertSizesRecord.h"
#include "foundation/CompList.h"
#include "foundation/TTypingAction.h"
#include "foundation/TextComp.h"
#include "kernel/KernelLink.h"
#include "math/HyperlinkComp.h"
#include "platform/framework/DesktopIntegration.h"
#include "platform/AppProfile.h"
#include "spelling/SpellingAsker.h"
#include "spelling/SpellingEngine.h"
#include "support/ScopedInstall.h"
#include "support/kernel/KernelProgram.h"

namespace {

constexpr UINT kUndo = ID_EDIT_UNDO, kTextStyle = 32701 + 3;

TEST_F(ViewTest, UndoItemNamesTheStepOrSaysItCannotUndo)
{
    EXPECT_FALSE(Update(kUndo).enabled);
    EXPECT_EQ(Update(kUndo).text, "");
    view->ReplaceSelection(view->GetSelection(), 0);  // a typing action with nothing typed
    EXPECT_FALSE(Update(kUndo).enabled);
    EXPECT_EQ(Update(kUndo).text, "Can't undo");

    Type("abc");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Update(kUndo).text, "Undo typing");
    Command(kUndo);
    EXPECT_EQ(Text(1), "");
    EXPECT_TRUE(Update(kUndo).enabled);
    EXPECT_EQ(Update(kUndo).text, "Redo typing");
    Command(kUndo);
    EXPECT_EQ(Text(1), "abc");
    Command(kUndo);
    Type("x");  // after an undo: a new step
    Command(kUndo);
    EXPECT_EQ(Text(1), "");

    Type("abcd");
    EXPECT_FALSE(Update(ID_EDIT_CUT).enabled);
    Select(1, 2, 4);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Text(1), "ad");
    EXPECT_EQ(Update(kUndo).text, "Undo cut");
    PutCaret(1, 3);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Text(1), "adbc");
}

TEST_F(ViewTest, SymbolsFromMenuAndPaletteExtendOneTypingActionInTheMathFace)
{
    Command(kTextStyle);
    Type("a");
    Command(32901);  // a symbol from the menu, then two from the palette
    CToolBar& palette = frame->GetSymbolBar();
    frame->OnIdleUpdateCmdUI();
    for (UINT id : {32910u, 32911u}) {
        QToolButton* button = palette.GetButton(palette.CommandToIndex(id));
        ASSERT_TRUE(button && button->isEnabled()) << id;
        button->click();
    }
    ASSERT_EQ(Row(1)->GetCount(), 4);
    EXPECT_EQ(Row(1)->GetAt(2)->GetChar(), 168);
    for (int k = 2; k <= 4; ++k)
        EXPECT_EQ(Row(1)->GetAt(k)->GetFontId(), FontManager::kMathFace) << k;
    Command(kUndo);
    EXPECT_EQ(Text(1), "a");

    Command(32701 + 6);  // a numbered equation's label takes no symbol and is never cut
    view->SetSelection(DocSelection(Row(1), 0, 1), false);
    const size_t beeps = ui.beeps.size();
    Command(32905);
    EXPECT_EQ(ui.beeps.size(), beeps + 1);
    EXPECT_EQ(Text(1), "a");
    EXPECT_FALSE(Update(ID_EDIT_CUT).enabled);
    EXPECT_FALSE(Update(ID_EDIT_PASTE).enabled);
}

// Characters typed on the keyboard as the window system delivers them.
void TypeKeys(CWnd* window, const QString& text)
{
    for (char32_t ch : text.toUcs4()) {
        const QString typed = QString::fromUcs4(&ch, 1);
        QKeyEvent press(QEvent::KeyPress, int(QChar::toUpper(ch)), Qt::NoModifier, typed);
        QApplication::sendEvent(window->GetSafeHwnd(), &press);
    }
}

// A typed character goes into a face that shows it: accents into the text
// face inside an equation, Greek and symbols into the mathematics face inside
// text, and typing returns to the paragraph's face after them; a character
// no face holds beeps.
TEST_F(ViewTest, TypedCharactersGoIntoTheFaceThatHoldsThem)
{
    struct Case {
        UINT style;
        const char* typed;
        std::vector<std::pair<int, int>> faceAndCode;
    } cases[] = {
        {32701 + 5, "\xc3\xa9x\xc3\xb1", {{0, 0xE9}, {3, 'x'}, {0, 0xF1}}},                   // "éxñ" in an equation
        {kTextStyle, "\xce\xb1\xe2\x88\xab" "b\xc3\xa7", {{3, 168}, {3, 189}, {0, 'b'}, {0, 0xE7}}},  // "α∫bç" in text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Command(c.style);
        Select(1, 1, Row(1)->GetCount() + 1);
        Key(VK_BACK, 8);
        TypeKeys(view, QString::fromUtf8(c.typed));
        ASSERT_EQ(Row(1)->GetCount(), int(c.faceAndCode.size()));
        for (int i = 1; i <= Row(1)->GetCount(); ++i) {
            EXPECT_EQ(Row(1)->GetAt(i)->GetFontId(), c.faceAndCode[i - 1].first) << i;
            EXPECT_EQ(Row(1)->GetAt(i)->GetChar(), c.faceAndCode[i - 1].second) << i;
        }
    }
    const size_t beeps = ui.beeps.size();
    TypeKeys(view, QString::fromUtf8("\xe2\x82\xac"));  // the euro sign
    EXPECT_EQ(ui.beeps.size(), beeps + 1);
    EXPECT_EQ(Row(1)->GetCount(), 4);
}

TEST_F(ViewTest, ElementsFromMenuOrToolbarWrapTheSelection)
{
    Type("ab");
    Select(1, 1, 3);
    for (UINT button = 32791; button <= 32812; ++button)
        EXPECT_EQ(Update(button).enabled, Update(button + 59).enabled) << button;
    EXPECT_FALSE(Update(34050).enabled); // a drawing tool outside a drawing
    for (UINT id : {32868u, 32809u, 32869u, 32810u, 32871u, 32812u}) // plots and drawings
        EXPECT_TRUE(Update(id).enabled) << id;
    for (UINT id : {32850u, 32791u}) {
        Command(id);
        ASSERT_EQ(Row(1)->GetCount(), 1) << id;
        EXPECT_EQ(Row(1)->GetAt(1)->Tag(), tag_Frac);
        EXPECT_EQ(Row(1)->GetAt(1)->GetChild(1)->GetCount(), 2);
        Command(kUndo);
        ASSERT_EQ(Text(1), "ab");
        Select(1, 1, 3);
    }

    OnDialog([](CDialog& dialog) { dialog.PressButton(IDCANCEL); });
    Command(32863);
    Command(32854);
    EXPECT_EQ(Text(1), "ab");
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemInt(1000, 3);
        dialog.SetDlgItemInt(1001, 4);
        dialog.PressButton(IDOK);
    });
    Command(32862);
    EXPECT_EQ(Row(1)->GetAt(1)->Tag(), tag_Matr);
    EXPECT_EQ(Doc()->GetInsertSizes().rows, 3);
    EXPECT_EQ(Doc()->GetInsertSizes().columns, 4);
}

TEST_F(ViewTest, SizesAndKindsReadFromAFileThatTheDialogsRefuseAreNotHandedToThem)
{
    Doc()->GetInsertSizes() = InsertSizesRecord{0, 500, -3}; // rows, columns, entries
    Doc()->GetOverscriptKind().code = 0x41;                  // no button stands for it
    std::vector<UINT> seen;
    OnDialog([&](CDialog& dialog) {
        for (int id : {1000, 1001})
            seen.push_back(dialog.GetDlgItemInt(id));
        dialog.PressButton(IDCANCEL);
    });
    Command(32862);  // matrix
    Command(32864);  // equation set
    EXPECT_EQ(seen[0], 1u);
    EXPECT_EQ(seen[1], 40u);
    EXPECT_EQ(seen[2], 1u);

    OnDialog([](CDialog& dialog) {
        EXPECT_EQ(dialog.IsDlgButtonChecked(1121), UINT(BST_CHECKED));  // bar
        dialog.PressButton(IDOK);
    });
    Command(32854);  // overscript
    ASSERT_EQ(Row(1)->GetCount(), 1);
    EXPECT_EQ(Row(1)->GetAt(1)->Tag(), tag_Over);
}

TEST_F(ViewTest, ActionsDuringADragOrAKernelRequestBeep)
{
    Type("ab");
    TAction* kept = view->GetKeptAction();
    Mouse(QEvent::MouseButtonPress, IntPoint(60, 40));
    ASSERT_NE(view->GetTracker(), nullptr);
    size_t beeps = ui.beeps.size();
    EXPECT_FALSE(view->PerformAction(new TTypingAction(view->GetSelection())));
    EXPECT_EQ(ui.beeps.size(), beeps + 1);
    EXPECT_EQ(view->GetKeptAction(), kept);
    Mouse(QEvent::MouseButtonRelease, IntPoint(60, 40));
    EXPECT_EQ(view->GetTracker(), nullptr);

    struct BusyLink : KernelLink {
        BusyLink() { m_ready = m_busy = true; }
    } busy;
    ScopedInstall programLink(SetProgramLink, &busy);
    EXPECT_FALSE(Update(32850).enabled);
    beeps = ui.beeps.size();
    Type("c");
    EXPECT_EQ(Text(1), "ab");
    EXPECT_GT(ui.beeps.size(), beeps);
}

// Corrects every word it is asked about to "the".
class CorrectToThe : public SpellingAsker {
public:
    SpellingAnswer Ask(const SpellingQuery&) override { return SpellingAnswer::ReplaceWith("the"); }
};

} // namespace

TEST_F(ViewTest, SpellingAndFindDropTheUndoStepOnlyWhenTheyChangeTheDocument)
{
    QTemporaryDir settings;
    AppProfile::SetFolder(settings.path());
    SpellingEngine::Reset();
    Command(32704);  // Paragraph: running text
    Type("the end");
    ASSERT_TRUE(Update(kUndo).enabled);
    CorrectToThe asker;
    SpellingEngine::SetAsker(&asker);
    Command(34114);  // Spell Check Document: nothing to correct
    EXPECT_EQ(Update(kUndo).text, "Undo typing");
    OnDialog([](CDialog& dialog) {
        dialog.SetDlgItemText(1108, "end");
        dialog.PressButton(1110);  // Find only
    });
    Command(34013);
    EXPECT_EQ(Update(kUndo).text, "Undo typing");

    PutCaret(1, 8);
    Type(" teh");
    Command(34114);
    SpellingEngine::SetAsker(nullptr);
    SpellingEngine::Reset();
    AppProfile::SetFolder(QString());

    EXPECT_EQ(Text(1), "the end the");
    // Undoing the typing now would remove characters at stale places.
    EXPECT_FALSE(Update(kUndo).enabled);
}

TEST_F(ViewTest, FollowingALinkKeepsTheUndoStep)
{
    std::string opened;
    ScopedInstall opener(DesktopIntegration::SetLinkOpener, [&](const QString& link) {
        opened = link.toStdString();
        return true;
    });
    Command(kTextStyle);
    Row(1)->Append(new HyperlinkComp(Str255("https://example.org"), Str255("site"), true));
    view->Relayout();
    PutCaret(1, 2);
    Type("ab");
    Rect link;
    Row(1)->GetAt(1)->GetAbsBounds(link);
    Click(IntPoint((link.left + link.right) / 2, (link.top + link.bottom) / 2));
    EXPECT_EQ(opened, "https://example.org");
    EXPECT_EQ(Update(kUndo).text, "Undo typing");
    Command(kUndo);
    EXPECT_EQ(Text(1), "#");
}
