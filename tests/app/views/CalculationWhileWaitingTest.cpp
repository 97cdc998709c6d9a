// Using the editor while a calculation waits for the real kernel program,
// held open by pausing the kernel: clicks, keys and closing must neither
// change nor free the document, view or action the calculation holds. The
// tests run under AddressSanitizer, which catches any use of a freed object.
#include "ViewFixture.h"

#include "app/CCorvellApp.h"
#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/CalculationHold.h"
#include "app/KernelQuestionDialogs.h"
#include "app/WorkStatus.h"
#include "export/XhtmlExport.h"
#include "foundation/LongWork.h"
#include "foundation/TAction.h"
#include "foundation/TCopyAsActions.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelServices.h"
#include "kernel/KernelSettings.h"
#include "platform/AppProfile.h"
#include "support/PauseProcess.h"
#include "support/ScopedInstall.h"
#include "platform/InputGate.h"
#include "platform/UserInterface.h"
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/InputGateFilter.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace {

class CalculationWhileWaitingTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        AppProfile::SetFolder(settings.path());
        KernelSettings kernel;
        kernel.kernelPath = QV_BINARY_DIR "/kernelproc";
        kernel.Save();
        InstallKernelServices();
        link = std::make_unique<KernelLink>();
        link->SetQuestions(&questions);
        KernelLink::Set(link.get());
        previousHold = InputGate::Install(&hold);
        InputGateFilter::Install();
        link->StartKernel();
        ASSERT_TRUE(WaitUntil([&] { return !link->IsStarting(); }, 60000));
        link->EndStartup();
        ASSERT_TRUE(link->IsReady());
    }
    void TearDown() override
    {
        ResumeKernel();
        ViewTest::TearDown();
        link->QuitKernel();
        KernelLink::Set(nullptr);
        link.reset();
        InputGate::Install(previousHold);
        AppProfile::SetFolder({});
    }

    bool WaitUntil(const std::function<bool()>& done, int ms = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < ms)
            ProcessEvents();
        return done();
    }

    // "2+3" typed as an equation and selected: the kernel's choices are read
    // now, before the kernel is paused.
    void SelectSum()
    {
        constexpr UINT kPlainEquation = 32706;
        Command(kPlainEquation);
        Type("2+3");
        Doc()->SetModifiedFlag(FALSE);
        // The kernel may still be answering what its start sent it (on a
        // busy machine): the choices are asked once it is free.
        ASSERT_TRUE(WaitUntil([&] {
            Select(1, 1, 4);
            return view->GetChoiceMenu() != nullptr;
        }));
    }

    // Evaluates the selection with the kernel paused; `during` runs while the
    // request waits, and the kernel goes on afterwards unless told otherwise.
    void EvaluateWhile(const std::function<void()>& during)
    {
        kernel = MLProcessId(link->Link());
        ASSERT_GT(kernel, 0);
        paused.emplace(kernel);
        ASSERT_TRUE(paused->Stopped());
        // `during` runs only while the calculation waits: never later, when
        // the windows it reaches may be gone.
        auto waiting = std::make_shared<bool>(true);
        bool ran = false;
        QTimer::singleShot(0, [&, during, waiting] {
            if (!*waiting)
                return;
            ran = true;
            during();
            ResumeKernel();
        });
        Key(VK_RETURN, 13, Qt::ShiftModifier); // the first choice, Evaluate
        *waiting = false;
        ResumeKernel();
        EXPECT_TRUE(ran) << "the calculation did not wait for the kernel";
        EXPECT_FALSE(link->IsWaiting());
    }

    void ResumeKernel() { paused.reset(); }

    void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(view->widget(), &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(view->widget(), &release);
    }

    std::string DocumentText() const { return DocClipboard::PlainText(Paragraphs()); }

    QTemporaryDir settings;
    KernelQuestionDialogs questions;
    CalculationHold hold;
    InputHold* previousHold = nullptr;
    std::unique_ptr<KernelLink> link;
    pid_t kernel = 0;
    std::optional<PausedProcess> paused;
};

TEST_F(CalculationWhileWaitingTest, ClicksAndKeysWhileTheKernelWorksAreRefusedAndTheAnswerArrives)
{
    SelectSum();
    bool held = false;
    bool quitAvailable = false;
    ItemState save;
    EvaluateWhile([&] {
        held = InputGate::IsHolding();
        Click(IntPoint(300, 300));
        PressKey(Qt::Key_End, Qt::ControlModifier);
        PressKey(Qt::Key_7, Qt::NoModifier, "7");
        frame->OnCmdMsgFromUser(ID_EDIT_UNDO); // Ctrl+Z, or Edit > Undo
        // The menu keeps a way to stop; editing commands are off.
        quitAvailable = CommandAvailableWhileHolding(CCorvellApp::ID_KERNEL_QUIT, frame);
        save = Update(ID_FILE_SAVE);
    });
    EXPECT_TRUE(held);
    EXPECT_TRUE(quitAvailable);
    EXPECT_FALSE(save.enabled);
    EXPECT_GE(ui.beeps.size(), 3u);
    EXPECT_NE(std::find(ui.statusTexts.begin(), ui.statusTexts.end(), CalculationHold::kRefusal), ui.statusTexts.end());
    EXPECT_EQ(DocumentText(), "2+3 = 5");
    EXPECT_EQ(frame->MDIGetActive()->GetActiveView(), view);
}

// An answer long enough to take several steps to lay out: the status shows
// how far the insertion is while input stays held, and Escape then leaves
// the document as it was; unstopped, the same answer goes in whole.
TEST_F(CalculationWhileWaitingTest, EscapeWhileALongAnswerIsInsertedLeavesTheDocumentAsItWas)
{
    ScopedInstall<WorkWatcher*> watcher(&LongWork::Install, &WorkStatus::Instance());
    ScopedInstall<StatusTextSink> actionStatus(
        &SetStatusTextSink, [](const char* text) { UserInterface::Current().SetStatusText(text ? text : ""); });
    constexpr UINT kSourceCode = 32708;
    constexpr UINT kEvaluateCode = 34037;
    Command(kSourceCode);
    Type("Expand[(x+y+z)^40]");
    const std::string code = DocumentText();
    bool shown = false;
    bool held = false;
    const auto stopInserting = [&](const std::string& text) {
        if (shown || text.rfind("Inserting the answer", 0) != 0)
            return;
        shown = true;
        held = InputGate::IsHolding() && view->DrawingHeld();
        QCoreApplication::postEvent(view->widget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    };
    ui.onStatus = stopInserting;
    Select(1, 1, Row(1)->GetCount() + 1);
    Doc()->SetModifiedFlag(FALSE);
    const ItemState undo = Update(ID_EDIT_UNDO);
    Command(kEvaluateCode);
    ui.onStatus = nullptr;
    EXPECT_TRUE(shown);
    EXPECT_TRUE(held);
    EXPECT_EQ(DocumentText(), code);
    EXPECT_EQ(ui.LastStatus(), "Stopped: the answer was not inserted.");
    // Nothing inserted: the document is not modified and its undo step stays.
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Update(ID_EDIT_UNDO).text, undo.text);
    EXPECT_EQ(Update(ID_EDIT_UNDO).enabled, undo.enabled);
    EXPECT_EQ(InputGate::Current(), &hold);
    EXPECT_FALSE(view->DrawingHeld());

    Select(1, 1, Row(1)->GetCount() + 1);
    Command(kEvaluateCode);
    ASSERT_EQ(Paragraphs().GetCount(), 2);
    EXPECT_GT(Row(2)->GetCount(), 2 * LongWork::kComponentsPerReport);
    EXPECT_TRUE(Update(ID_EDIT_UNDO).enabled);
    const std::string answered = DocumentText();

    // Undone and saved, then redone with Escape during the insertion: the
    // document stays as it was, unmodified, and the redo can be tried again.
    Command(ID_EDIT_UNDO);
    ASSERT_EQ(DocumentText(), code);
    Doc()->SetModifiedFlag(FALSE);
    shown = false;
    ui.onStatus = stopInserting;
    Command(ID_EDIT_UNDO);
    ui.onStatus = nullptr;
    ASSERT_TRUE(shown);
    EXPECT_EQ(DocumentText(), code);
    EXPECT_FALSE(Doc()->IsModified());
    const ItemState redo = Update(ID_EDIT_UNDO);
    EXPECT_EQ(redo.text.rfind("Redo ", 0), 0u) << redo.text;
    EXPECT_TRUE(redo.enabled);
    Command(ID_EDIT_UNDO);
    ASSERT_TRUE(DocumentText() == answered) << "the redo did not insert the whole answer";
    EXPECT_TRUE(Doc()->IsModified());

    // Copy as MathML of the answer shows its progress, and Escape leaves the
    // clipboard as it was; unstopped, the MathML goes on it.
    InstallCopyWriters();
    Select(1, 1, 3);
    Command(ID_EDIT_COPY);
    const std::optional<std::string> earlier = clipboard.content.text;
    ASSERT_EQ(earlier, "Ex");
    shown = false;
    ui.onStatus = [&](const std::string& text) {
        if (shown || text.rfind(TCopyMathMLAction::kCopying, 0) != 0)
            return;
        shown = true;
        QCoreApplication::postEvent(view->widget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    };
    Select(2, 1, Row(2)->GetCount() + 1);
    Command(CBaseView::ID_EDIT_COPY_MATHML);
    ui.onStatus = nullptr;
    EXPECT_TRUE(shown);
    EXPECT_EQ(clipboard.content.text, earlier);
    EXPECT_FALSE(clipboard.content.mathml.has_value());
    EXPECT_EQ(ui.LastStatus(), TCopyMathMLAction::kNotCopied);
    Command(CBaseView::ID_EDIT_COPY_MATHML);
    ASSERT_TRUE(clipboard.content.mathml.has_value());
    EXPECT_EQ(clipboard.content.mathml->rfind("<math", 0), 0u);
    TCopyMathMLAction::SetWriter(nullptr);
}

TEST_F(CalculationWhileWaitingTest, ClosingWhileTheKernelWorksAsksAndKeepsTheWindowOnNo)
{
    SelectSum();
    ui.ScriptAnswers({IDNO, IDNO});
    EvaluateWhile([&] {
        frame->MDIGetActive()->widget()->close(); // the close box
        frame->OnCmdMsgFromUser(ID_FILE_CLOSE);   // File > Close
    });
    ASSERT_EQ(ui.boxes.size(), 2u);
    EXPECT_EQ(ui.boxes[0].text, CalculationHold::kCloseQuestion);
    EXPECT_EQ(ui.boxes[1].text, CalculationHold::kCloseQuestion);
    ProcessEvents();
    ASSERT_NE(frame->MDIGetActive(), nullptr);
    EXPECT_EQ(DocumentText(), "2+3 = 5");
}

TEST_F(CalculationWhileWaitingTest, ClosingWhileTheKernelWorksStopsItAndClosesOnceItHasEnded)
{
    SelectSum();
    // Stop and close: yes; save the changes (an answer that came before the
    // stop did): no.
    ui.ScriptAnswers({IDYES, IDNO});
    EvaluateWhile([&] { frame->MDIGetActive()->widget()->close(); });
    // The window closes once the calculation has ended.
    EXPECT_TRUE(WaitUntil([&] { return frame->MDIGetActive() == nullptr; }));
    view = nullptr;
}

TEST_F(CalculationWhileWaitingTest, AKernelThatDiesWhileTheUserClicksLeavesTheDocumentAsItWas)
{
    SelectSum();
    const ItemState undo = Update(ID_EDIT_UNDO);
    EvaluateWhile([&] {
        Click(IntPoint(300, 300));
        PressKey(Qt::Key_End, Qt::ControlModifier);
        ::kill(kernel, SIGKILL);
        paused.reset();
    });
    EXPECT_EQ(DocumentText(), "2+3");
    EXPECT_FALSE(link->IsReady());
    EXPECT_FALSE(ui.boxes.empty()); // the kernel's end is told
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Update(ID_EDIT_UNDO).text, undo.text);
}

TEST_F(CalculationWhileWaitingTest, EscapeStopsTheCalculation)
{
    SelectSum();
    EvaluateWhile([&] { PressKey(Qt::Key_Escape); });
    // Stopped (or answered before the stop arrived): never an error in the document.
    const std::string text = DocumentText();
    EXPECT_TRUE(text == "2+3" || text == "2+3 = 5") << text;
    EXPECT_EQ(text.find("Error"), std::string::npos);
    EXPECT_EQ(Doc()->IsModified(), text != "2+3");
}

} // namespace
