// The main frame with the program's own resources: its bars and where they
// float, the Symbols and Constants palettes and their View commands, the
// drawing bars that follow the drawing being edited, the tool buttons, and
// print preview hiding the Symbols palette for its duration.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

#include "app/CConstantsDialog.h"
#include "app/CMainFrame.h"
#include "app/ConstantAttributeSink.h"
#include "app/DrawingToolSeam.h"
#include "platform/framework/LockKeys.h"
#include "platform/framework/ResourceStore.h"
#include "resources/ProgramResources.h"
#include "support/ScopedInstall.h"

namespace {

void FlushEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Drawings are only addresses to the frame; these stand in for two of them.
alignas(16) char drawingStorage[2][16];
DiagramComp* const kDrawingA = reinterpret_cast<DiagramComp*>(drawingStorage[0]);
DiagramComp* const kDrawingB = reinterpret_cast<DiagramComp*>(drawingStorage[1]);

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The recorded drawings are stand-ins: no tool hook may reach them.
        SetDrawingToolHooks({});
        QString error;
        ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame(CMainFrame::IDR_MAINFRAME));
        ASSERT_EQ(gMainFrame, frame);
    }
    void TearDown() override
    {
        if (frame)
            frame->DestroyWindow();  // deletes the frame
        FlushEvents();
        EXPECT_EQ(gMainFrame, nullptr);
        SetConstantAttributeSink(nullptr);
        SetDrawingToolHooks({});
    }

    // What the update handlers say about a command, as a menu would ask.
    CCmdUIProbe Update(UINT id)
    {
        CCmdUIProbe probe(id);
        probe.DoUpdate(frame, true);
        return probe;
    }
    QAbstractButton* LetterBox(char letter)
    {
        CWnd* box = frame->GetConstantsPalette()->GetDlgItem(int(CConstantsDialog::ControlOfLetter(letter)));
        return box ? qobject_cast<QAbstractButton*>(box->widget()) : nullptr;
    }
    std::vector<char> CheckedLetters()
    {
        std::vector<char> letters;
        for (UINT id = CConstantsDialog::kFirstUpper; id <= CConstantsDialog::kLast; ++id)
            if (frame->GetConstantsPalette()->IsDlgButtonChecked(int(id)))
                letters.push_back(CConstantsDialog::LetterOfControl(id));
        return letters;
    }
    void PressEscape(CWnd& window)
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window.widget(), &press);
    }

    CMainFrame* frame = nullptr;
};

}

TEST(MainFrameCreation, AMissingBarEndsCreationAndTheFrameIsGone)
{
    // Only the main toolbar and the Symbols palette exist: the drawing bar fails.
    ResourceStore::instance().clear();
    ASSERT_TRUE(ResourceStore::instance().loadJson(R"({ "toolbars": [
        { "id": 128, "buttons": [57600, 57601] }, { "id": 138, "buttons": [32901, 32902] } ] })"));
    auto* frame = new CMainFrame;
    EXPECT_FALSE(frame->LoadFrame(CMainFrame::IDR_MAINFRAME));  // deletes the frame
    FlushEvents();
    EXPECT_EQ(gMainFrame, nullptr);
    EXPECT_EQ(gPileWindow, nullptr);
    ResourceStore::instance().clear();
    QString error;
    EXPECT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
}

TEST_F(MainFrameTest, TheConnectionsBarHoldsTheGlobalPileWindow)
{
    EXPECT_FALSE(frame->GetPileBar().IsWindowVisible());
    // The connections bar's pile control is bound and is the global pile window.
    PileWindow* pile = frame->GetPileBar().GetPileWindow();
    ASSERT_NE(pile, nullptr);
    ASSERT_NE(pile->widget(), nullptr);
    EXPECT_EQ(pile->GetDlgCtrlID(), 1122);
    EXPECT_EQ(gPileWindow, pile);
}

TEST_F(MainFrameTest, ViewSymbolsTogglesThePaletteAndPrintPreviewHidesItForItsDuration)
{
    EXPECT_EQ(Update(CMainFrame::ID_VIEW_SYMBOLS).m_nCheck, 0);
    EXPECT_TRUE(frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_SYMBOLS));
    EXPECT_TRUE(frame->GetSymbolBar().IsWindowVisible());
    EXPECT_EQ(Update(CMainFrame::ID_VIEW_SYMBOLS).m_nCheck, 1);
    // Print preview hides the palette for its duration only.
    frame->OnSetPreviewMode(TRUE, nullptr);
    EXPECT_FALSE(frame->GetSymbolBar().IsWindowVisible());
    frame->OnSetPreviewMode(FALSE, nullptr);
    EXPECT_TRUE(frame->GetSymbolBar().IsWindowVisible());
    EXPECT_TRUE(frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_SYMBOLS));
    EXPECT_FALSE(frame->GetSymbolBar().IsWindowVisible());
    frame->OnSetPreviewMode(TRUE, nullptr);
    frame->OnSetPreviewMode(FALSE, nullptr);
    EXPECT_FALSE(frame->GetSymbolBar().IsWindowVisible());

    // The palette's close box unchecks the command, and one click shows it again.
    EXPECT_TRUE(frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_SYMBOLS));
    ASSERT_TRUE(frame->GetSymbolBar().IsFloating());
    EXPECT_TRUE(frame->GetSymbolBar().widget()->window()->close());
    EXPECT_EQ(Update(CMainFrame::ID_VIEW_SYMBOLS).m_nCheck, 0);
    EXPECT_TRUE(frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_SYMBOLS));
    EXPECT_EQ(Update(CMainFrame::ID_VIEW_SYMBOLS).m_nCheck, 1);
    EXPECT_TRUE(frame->GetSymbolBar().widget()->window()->isVisible());
    EXPECT_TRUE(frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_SYMBOLS));

    // View/Toolbar and View/Status Bar work the same way on their bars.
    EXPECT_EQ(Update(ID_VIEW_TOOLBAR).m_nCheck, 1);
    frame->OnCmdMsgFromUser(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(frame->GetToolBar().IsWindowVisible());
    EXPECT_EQ(Update(ID_VIEW_TOOLBAR).m_nCheck, 0);
    frame->OnCmdMsgFromUser(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->GetStatusBar().IsWindowVisible());
    EXPECT_EQ(Update(ID_VIEW_STATUS_BAR).m_nCheck, 0);
}

TEST_F(MainFrameTest, TheLockKeyPanesShowWhileTheirLockIsOn)
{
    bool on[3] = {true, false, true};
    ScopedInstall<LockKeyReader> locks(SetLockKeyReader, [&](int vk) {
        return vk == VK_CAPITAL ? on[0] : vk == VK_NUMLOCK ? on[1] : on[2];
    });
    const auto panes = [&] {
        frame->OnIdleUpdateCmdUI();
        CStatusBar& bar = frame->GetStatusBar();
        return std::vector<std::string>{bar.GetPaneText(1).c_str(), bar.GetPaneText(2).c_str(),
                                        bar.GetPaneText(3).c_str()};
    };
    EXPECT_EQ(panes(), (std::vector<std::string>{"CAP", "", "SCRL"}));
    on[0] = on[2] = false, on[1] = true;
    EXPECT_EQ(panes(), (std::vector<std::string>{"", "NUM", ""}));
}

TEST_F(MainFrameTest, EscOnlyHidesTheConstantsPaletteAndViewConstantsShowsItWithItsChecks)
{
    frame->CreateConstantsPalette();
    CConstantsDialog* palette = frame->GetConstantsPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->IsWindowVisible());
    EXPECT_EQ(palette->widget()->parentWidget(), frame->widget());
    EXPECT_EQ(palette->widget()->windowTitle(), "Constants");
    EXPECT_EQ(CheckedLetters(), (std::vector<char>{'C', 'E', 'I', 'c', 'e', 'i'}));
    CCmdUIProbe shown = Update(CMainFrame::ID_VIEW_CONSTANTS);
    EXPECT_TRUE(shown.m_bEnabled);
    EXPECT_EQ(shown.m_nCheck, 1);

    LetterBox('x')->click();
    LetterBox('E')->click();
    PressEscape(*palette);
    EXPECT_FALSE(palette->IsWindowVisible());
    EXPECT_EQ(frame->GetConstantsPalette(), palette);
    CCmdUIProbe hidden = Update(CMainFrame::ID_VIEW_CONSTANTS);
    EXPECT_TRUE(hidden.m_bEnabled);
    EXPECT_EQ(hidden.m_nCheck, 0);

    EXPECT_TRUE(frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_CONSTANTS));
    EXPECT_TRUE(palette->IsWindowVisible());
    EXPECT_EQ(CheckedLetters(), (std::vector<char>{'C', 'I', 'c', 'e', 'i', 'x'}));

    // The close box and View/Constants hide it too; it still exists.
    palette->SendMessage(WM_CLOSE);
    EXPECT_FALSE(palette->IsWindowVisible());
    frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_CONSTANTS);
    frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_CONSTANTS);
    EXPECT_FALSE(palette->IsWindowVisible());
    EXPECT_EQ(frame->GetConstantsPalette(), palette);
}

TEST_F(MainFrameTest, ALetterClickedTellsTheKernelButALetterSetFromOutsideDoesNot)
{
    std::vector<std::pair<char, bool>> sent;
    ScopedInstall sink(SetConstantAttributeSink,
                       [&](char letter, bool constant) { sent.emplace_back(letter, constant); });
    frame->CreateConstantsPalette();
    CConstantsDialog* palette = frame->GetConstantsPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(sent.empty());  // the starting checks are the kernel's own defaults

    LetterBox('C')->click();
    LetterBox('z')->click();
    LetterBox('A')->click();
    EXPECT_EQ(sent, (std::vector<std::pair<char, bool>>{{'C', false}, {'z', true}, {'A', true}}));

    sent.clear();
    palette->SetLetterCheck('Q', true);
    palette->SetLetterCheck('z', false);
    palette->SetLetterCheck('1', true);  // no box: nothing changes
    palette->SetLetterCheck('[', true);
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(palette->IsLetterChecked('Q'));
    EXPECT_FALSE(palette->IsLetterChecked('z'));
    EXPECT_EQ(CheckedLetters(), (std::vector<char>{'A', 'E', 'I', 'Q', 'c', 'e', 'i'}));
}

TEST_F(MainFrameTest, ThePaletteGoesWithTheKernelAndTheFrameForgetsIt)
{
    frame->CreateConstantsPalette();
    frame->CreateConstantsPalette();  // a second start replaces the palette
    ASSERT_NE(frame->GetConstantsPalette(), nullptr);
    int palettes = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(w) && w->windowTitle() == "Constants")
            ++palettes;
    EXPECT_EQ(palettes, 1);

    frame->DestroyConstantsPalette();
    EXPECT_EQ(frame->GetConstantsPalette(), nullptr);
    frame->DestroyConstantsPalette();  // twice is harmless
    // Without a kernel View/Constants is disabled, unchecked and does nothing.
    CCmdUIProbe probe = Update(CMainFrame::ID_VIEW_CONSTANTS);
    EXPECT_FALSE(probe.m_bEnabled);
    EXPECT_EQ(probe.m_nCheck, 0);
    EXPECT_FALSE(frame->OnCmdMsgFromUser(CMainFrame::ID_VIEW_CONSTANTS));
    EXPECT_EQ(frame->GetConstantsPalette(), nullptr);

    // A palette whose window is destroyed elsewhere clears the frame's pointer.
    frame->CreateConstantsPalette();
    frame->GetConstantsPalette()->DestroyWindow();
    EXPECT_EQ(frame->GetConstantsPalette(), nullptr);

    // The frame going away takes an open palette with it (no leak, no dangling call).
    frame->CreateConstantsPalette();
}

TEST_F(MainFrameTest, TheDrawingBarsFollowTheDrawingBeingEdited)
{
    frame->ShowDrawingBars(kDrawingA);
    EXPECT_TRUE(frame->GetDrawingBar().IsWindowVisible());
    EXPECT_TRUE(frame->GetPileBar().IsWindowVisible());
    EXPECT_EQ(frame->GetPileBar().GetPileWindow()->GetDrawing(), kDrawingA);
    EXPECT_EQ(frame->GetDrawing(), kDrawingA);

    frame->ShowDrawingBars(kDrawingB);
    EXPECT_EQ(frame->GetPileBar().GetPileWindow()->GetDrawing(), kDrawingB);

    frame->HideDrawingBars();
    EXPECT_FALSE(frame->GetDrawingBar().IsWindowVisible());
    EXPECT_FALSE(frame->GetPileBar().IsWindowVisible());
    EXPECT_EQ(frame->GetDrawing(), nullptr);
    EXPECT_EQ(frame->GetPileBar().GetPileWindow()->GetDrawing(), nullptr);
    EXPECT_FALSE(frame->GetSymbolBar().IsWindowVisible());  // the symbols are not the drawing's
}

TEST_F(MainFrameTest, ToolButtonsActOnTheRecordedDrawingOnly)
{
    std::vector<std::pair<DiagramComp*, int>> chosen;
    int kind = 1;
    SetDrawingToolHooks({[&](DiagramComp* d, int tool) { chosen.emplace_back(d, tool); },
                         [&](DiagramComp*) { return kind; }});

    // No drawing: the commands do nothing and their updates change nothing.
    for (UINT id = CMainFrame::ID_TOOL_POINTER; id <= CMainFrame::ID_TOOL_MAGNIFIER; ++id) {
        CCmdUIProbe probe = Update(id);
        EXPECT_TRUE(probe.m_bEnabled);
        EXPECT_EQ(probe.m_nCheck, -1);
        frame->OnCmdMsgFromUser(id);
    }
    EXPECT_TRUE(chosen.empty());

    frame->ShowDrawingBars(kDrawingA);
    frame->OnCmdMsgFromUser(CMainFrame::ID_TOOL_GRABBER);
    CToolBar& tools = frame->GetDrawingBar();
    tools.GetButton(tools.CommandToIndex(CMainFrame::ID_TOOL_MAGNIFIER))->click();
    tools.GetButton(tools.CommandToIndex(CMainFrame::ID_TOOL_POINTER))->click();
    EXPECT_EQ(chosen, (std::vector<std::pair<DiagramComp*, int>>{{kDrawingA, 2}, {kDrawingA, 3}, {kDrawingA, 0}}));

    std::vector<int> checks;
    for (UINT id = CMainFrame::ID_TOOL_POINTER; id <= CMainFrame::ID_TOOL_MAGNIFIER; ++id)
        checks.push_back(Update(id).m_nCheck);
    EXPECT_EQ(checks, (std::vector<int>{0, 1, 0, 0}));

    // At idle the drawing bar's buttons show the current tool.
    kind = 3;
    frame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(tools.GetButton(tools.CommandToIndex(CMainFrame::ID_TOOL_MAGNIFIER))->isChecked());
    EXPECT_FALSE(tools.GetButton(tools.CommandToIndex(CMainFrame::ID_TOOL_PENCIL))->isChecked());

    frame->HideDrawingBars();
    chosen.clear();
    frame->OnCmdMsgFromUser(CMainFrame::ID_TOOL_PENCIL);
    EXPECT_TRUE(chosen.empty());
}

// The program opens the palette when the kernel starts: typing goes on where
// it was, and the palette does not sit over the middle of the window.
TEST_F(MainFrameTest, ThePaletteOpensWithoutTakingTheKeyboardOrCoveringTheMiddle)
{
    QWidget* window = frame->widget();
    window->setGeometry(100, 100, 900, 700);
    window->show();
    auto* typing = new QLineEdit(window);
    typing->show();
    window->activateWindow();
    typing->setFocus();
    FlushEvents();
    ASSERT_EQ(QApplication::focusWidget(), typing) << "the platform gives no focus";

    frame->CreateConstantsPalette();
    FlushEvents();
    CConstantsDialog* palette = frame->GetConstantsPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->IsWindowVisible());
    EXPECT_EQ(QApplication::focusWidget(), typing);
    EXPECT_EQ(QApplication::activeWindow(), window);
    EXPECT_FALSE(palette->widget()->frameGeometry().contains(window->frameGeometry().center()));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(QApplication::focusWidget(), &key);
    EXPECT_EQ(typing->text(), "a");
}

// The bars and the Constants palette the program places on a maximised
// window stand on the screen, none over another.
TEST_F(MainFrameTest, BarsAndPalettesOpenOnTheScreenApartFromEachOther)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    frame->widget()->setGeometry(screen);
    frame->widget()->show();
    frame->PlaceBars();
    std::vector<QWidget*> windows;
    for (CControlBar* bar :
         {static_cast<CControlBar*>(&frame->GetDrawingBar()), static_cast<CControlBar*>(&frame->GetSymbolBar()),
          static_cast<CControlBar*>(&frame->GetPileBar())}) {
        frame->ShowControlBar(bar, TRUE);
        windows.push_back(bar->widget()->window());
    }
    frame->CreateConstantsPalette();
    FlushEvents();
    windows.push_back(frame->GetConstantsPalette()->widget());
    for (size_t i = 0; i < windows.size(); ++i) {
        const QRect placed = windows[i]->frameGeometry();
        EXPECT_TRUE(screen.contains(placed)) << "window " << i << " leaves the screen";
        for (size_t k = 0; k < i; ++k)
            EXPECT_FALSE(placed.intersects(windows[k]->frameGeometry())) << "windows " << k << " and " << i;
    }
}
