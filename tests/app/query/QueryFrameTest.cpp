// The kernel's expression-input frame: its editor confirms with Enter, types
// a line feed as a blank, never performs a mouse tracker's action, and the
// math typed in it reaches the real kernel as the answer to its question.
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <cstdlib>
#include <memory>

#include "app/CCorvellDialogView.h"
#include "app/CMMAQueryDialog.h"
#include "app/KernelQuestionDialogs.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/DocClipboard.h"
#include "foundation/EditCodes.h"
#include "foundation/FontManager.h"
#include "foundation/MouseTracker.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/TDeleteAction.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelReader.h"
#include "mathlink/LinkExpr.h"
#include "kernel/KernelServices.h"
#include "kernel/KernelSettings.h"
#include "kernel/NameTable.h"
#include "math/MathComponents.h"
#include "platform/AppProfile.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/KeyTranslation.h"
#include "resources/ProgramResources.h"
#include "support/FakeUserInterface.h"
#include "support/kernel/KernelProgram.h"
#include "support/kernel/NodeWireText.h"

#include <QTemporaryDir>

namespace {

constexpr int kEquationStyle = 5;

// The editor with its mouse handlers in reach and a tracker put in place.
class ProbeDialogView : public CCorvellDialogView {
    DECLARE_DYNCREATE(ProbeDialogView)
public:
    void Press(CPoint point) { OnLButtonDown(0, point); }
    void Release(CPoint point) { OnLButtonUp(0, point); }
    void UseTracker(MouseTracker* tracker) { m_tracker = tracker; }
    // A key as a component's key map would have it typed.
    void TypeAsCode(unsigned char key) { RunEditCode(EditCode::kType, key, ANSI_CHARSET, false); }
};
IMPLEMENT_DYNCREATE(ProbeDialogView, CCorvellDialogView)

// A tracker whose gesture makes a deletion of everything selected.
class DeletingTracker : public MouseTracker {
public:
    explicit DeletingTracker(ActionView& view) : MouseTracker(view), m_view(view) {}
    void MouseUp(const IntPoint&) override { m_action = new TDeleteAction(m_view.GetSelection()); }

private:
    ActionView& m_view;
};

class QueryFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(RegisterProgramResources(&error)) << error.toStdString();
        InstallTextLayout();
        RegisterMathComponents();
        InstallKernelServices();
        fonts = std::make_unique<FontManager>(prefs);
        app = std::make_unique<CWinApp>("Quorvant");
        paragraphs.Append(new ParagraphComp(kEquationStyle));
    }
    void TearDown() override { SetCurrentKeyModifiers(Qt::NoModifier); }

    // The editor alone in a frame, editing `paragraphs`.
    ProbeDialogView* OpenEditor()
    {
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(ProbeDialogView);
        frame = new CFrameWnd;
        EXPECT_TRUE(frame->Create(nullptr, "Kernel Query", WS_POPUP | WS_CAPTION, CRect(0, 0, 400, 200)));
        auto* view = dynamic_cast<ProbeDialogView*>(frame->CreateView(&context));
        if (view)
            view->SetParagraphList(&paragraphs);
        return view;
    }
    static void Type(CCorvellDialogView& view, const std::string& text)
    {
        for (unsigned char c : text)
            view.OnChar(c, 1, 0);
    }
    // Paragraph 1's row, one character per component ('#' for a structure).
    std::string Text() const
    {
        std::string text;
        CompList* row = paragraphs.GetAt(1)->GetRow();
        for (int k = 1; k <= row->GetCount(); ++k)
            text += row->GetAt(k)->GetChar() ? char(row->GetAt(k)->GetChar()) : '#';
        return text;
    }

    FakeUserInterface ui;
    TextPrefs prefs;
    std::unique_ptr<FontManager> fonts;
    DocClipboard docClipboard;
    std::unique_ptr<CWinApp> app;
    ParagraphList paragraphs;
    CFrameWnd* frame = nullptr;  // deletes itself when destroyed
};

TEST_F(QueryFrameTest, EnterConfirmsTheQuestionAndLineFeedTypesABlank)
{
    ProbeDialogView* view = OpenEditor();
    ASSERT_NE(view, nullptr);
    Type(*view, "abc");
    view->OnChar(8, 1, 0);  // Backspace deletes
    EXPECT_EQ(Text(), "ab");
    // A line feed that a key map has typed is a blank; other control characters are not typed.
    view->SetSelection(DocSelection(paragraphs.GetAt(1)->GetRow(), 2, 3), true);
    view->TypeAsCode(10);
    view->TypeAsCode(27);
    EXPECT_EQ(Text(), "a ");
    // Enter, and Ctrl+Enter (a line feed at the caret), confirm the question.
    for (UINT key : {13u, 10u}) {
        QTimer::singleShot(0, [view, key] { view->OnChar(key, 1, 0); });
        EXPECT_EQ(frame->RunModalLoop(), IDOK) << key;
        EXPECT_EQ(paragraphs.GetCount(), 1) << key;  // no paragraph break
        EXPECT_EQ(Text(), "a ");
    }
    frame->DestroyWindow();
}

TEST_F(QueryFrameTest, ATrackersActionIsNeverPerformed)
{
    ProbeDialogView* view = OpenEditor();
    ASSERT_NE(view, nullptr);
    Type(*view, "xy");
    view->SetSelection(DocSelection(paragraphs.GetAt(1)->GetRow(), 1, 3), true);
    view->UseTracker(new DeletingTracker(*view));
    view->Release(CPoint(5, 5));
    EXPECT_EQ(view->GetTracker(), nullptr);
    EXPECT_EQ(Text(), "xy");
    // A press starts a selection gesture, which the release ends.
    view->Press(CPoint(2, 2));
    EXPECT_NE(view->GetTracker(), nullptr);
    view->Release(CPoint(2, 2));
    EXPECT_EQ(view->GetTracker(), nullptr);
    EXPECT_EQ(Text(), "xy");
    frame->DestroyWindow();
}

// The kernel program asks for an expression; the user types it in the frame.
class KernelQuestionThroughFrameTest : public QueryFrameTest {
protected:
    class Questions : public KernelQuestionDialogs {
    public:
        void Yield() override {}
        void BeginWait() override {}
        void EndWait() override {}
        std::string LocateKernel() override { return {}; }
        void StartupStatus(const std::string&) override {}
        void StartupFinished(bool) override {}
    };

    void SetUp() override
    {
        QueryFrameTest::SetUp();
        setenv("QVKERNEL_TEST_HOOKS", "1", 1);
        AppProfile::SetFolder(settings.path());
        KernelSettings folder;
        folder.kernelPath = QV_BINARY_DIR "/kernelproc";
        folder.Save();
        TheNameTable();
        link.SetQuestions(&questions);
        KernelLink::Set(&link);
    }
    void TearDown() override
    {
        CMMAQueryDialog::SetRunHook(nullptr);
        StopBuiltKernel(link);
        unsetenv("QVKERNEL_TEST_HOOKS");
        QueryFrameTest::TearDown();
    }
    bool Start() { return StartAndWait(link); }

    QTemporaryDir settings;
    KernelLink link;
    Questions questions;
};

TEST_F(KernelQuestionThroughFrameTest, TypedMathIsTheAnswerTheKernelReceives)
{
    ASSERT_TRUE(Start());
    struct Case {
        const char* request;
        std::function<void(CMMAQueryDialog&)> user;
        const char* received;
    };
    auto typeAndEnter = [](const char* text) {
        return [text](CMMAQueryDialog& dialog) {
            Type(*dialog.GetEditor(), text);
            dialog.GetEditor()->OnChar(13, 1, 0);
        };
    };
    const Case cases[] = {
        {"QVTestAsk[1, List[\"Value of a\"]]", typeAndEnter("y+1"), "VXPlus[y, 1]"},
        // The initial expression stands in the editor; typing goes on after it.
        {"QVTestAsk[1, List[\"Value of a\", 2]]", typeAndEnter("x+"), "VXPlus[x, 2]"},
        {"QVTestAsk[1, List[\"Value of a\"]]", [](CMMAQueryDialog& dialog) { dialog.SendMessage(WM_CLOSE); },
         "$Canceled"},
        // Question 2 sends the selected part marked.
        {"QVTestAsk[2, List[\"Select\"]]",
         [](CMMAQueryDialog& dialog) {
             Type(*dialog.GetEditor(), "a+b");
             CCorvellDialogView& editor = *dialog.GetEditor();
             editor.SetSelection(DocSelection(editor.GetParagraphList()->GetAt(1)->GetRow(), 3, 4), true);
             dialog.GetEditor()->OnChar(13, 1, 0);
         },
         "VXPlus[a, VXMarker[b]]"},
        // Math that does not parse is not sent: the frame comes back with it
        // after a message, and the user completes it.
        {"QVTestAsk[1, List[\"Value of a\"]]",
         [attempts = std::make_shared<int>(0)](CMMAQueryDialog& dialog) {
             CCorvellDialogView& editor = *dialog.GetEditor();
             CompList* row = editor.GetParagraphList()->GetAt(1)->GetRow();
             editor.SetSelection(DocSelection(row, row->GetCount() + 1, row->GetCount() + 1), true);
             Type(editor, (*attempts)++ == 0 ? "a+" : "b");
             editor.OnChar(13, 1, 0);
         },
         "VXPlus[a, b]"},
    };
    for (const Case& c : cases) {
        CMMAQueryDialog::SetRunHook(c.user);
        std::unique_ptr<ExprNode> request(NodeFrom(c.request));
        std::unique_ptr<ExprNode> answer(link.Evaluate(0, request.get()));
        EXPECT_EQ(FullFormOf(answer.get()), c.received) << c.request;
    }
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.boxes[0].text.find("syntax error"), std::string::npos);
}

} // namespace
