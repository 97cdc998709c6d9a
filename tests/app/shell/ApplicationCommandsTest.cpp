// The application's own commands: the Kernel menu follows the kernel link's
// state, the About box opens from Help, and redrawing every view reaches
// each open document.
#include <QDialog>
#include <QLabel>

#include "ShellTestSupport.h"
#include "app/CAboutDialog.h"
#include "app/CCorvellDoc.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "platform/framework/CDialog.h"

namespace {

class KernelMenuTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(Start());
    }
    struct Menu {
        bool start, quit, connection, options, ordering;
        bool operator==(const Menu&) const = default;
    };
    Menu Kernel()
    {
        return {Enabled(CCorvellApp::ID_KERNEL_START), Enabled(CCorvellApp::ID_KERNEL_QUIT),
                Enabled(CCorvellApp::ID_KERNEL_CONNECTION), Enabled(CCorvellApp::ID_KERNEL_CALCULATION_OPTIONS),
                Enabled(CCorvellApp::ID_KERNEL_TERM_ORDERING)};
    }
};

TEST_F(KernelMenuTest, WithoutAKernelOnlyStartingAndTheConnectionAreOffered)
{
    EXPECT_EQ(Kernel(), (Menu{true, false, true, false, false}));
    app->OnCmdMsg(CCorvellApp::ID_KERNEL_START, nullptr);
    EXPECT_EQ(app->calls, std::vector<std::string>{"StartKernel"});
}

TEST_F(KernelMenuTest, AReadyKernelOffersQuitOptionsAndOrderingUntilARequestRuns)
{
    app->link->SetState(true, false);
    EXPECT_EQ(Kernel(), (Menu{false, true, false, true, true}));
    app->link->SetState(true, true);
    EXPECT_EQ(Kernel(), (Menu{false, false, false, false, false}));
    // A busy kernel is not quit even when the command arrives.
    app->OnCmdMsg(CCorvellApp::ID_KERNEL_QUIT, nullptr);
    EXPECT_TRUE(app->calls.empty());
    app->link->SetState(true, false);
    app->OnCmdMsg(CCorvellApp::ID_KERNEL_QUIT, nullptr);
    EXPECT_EQ(app->calls, std::vector<std::string>{"QuitKernel with the application set"});
    EXPECT_EQ(Kernel(), (Menu{true, false, true, false, false}));
}

TEST_F(KernelMenuTest, NothingIsOfferedWhileAKernelStartsOrWhenNoneCanStart)
{
    app->link->SetState(false, false, true);
    EXPECT_EQ(Kernel(), (Menu{false, false, false, false, false}));
    app->OnCmdMsg(CCorvellApp::ID_KERNEL_START, nullptr);
    EXPECT_TRUE(app->calls.empty());
    app->link->SetState(false, false);
    app->link->canStart = false;
    EXPECT_EQ(Kernel(), (Menu{false, false, false, false, false}));
}

TEST_F(ShellTest, AboutOpensTheAboutBoxFromAnyState)
{
    ASSERT_TRUE(Start());
    std::vector<UINT> shown;
    QString texts;
    CDialog::ModalHook old = CDialog::SetModalHook([&](CDialog& dialog) {
        shown.push_back(dialog.m_nIDTemplate);
        texts = dialog.dialog()->windowTitle();
        for (QLabel* label : dialog.dialog()->findChildren<QLabel*>())
            texts += "|" + label->text();
        dialog.PressButton(IDOK);
    });
    EXPECT_TRUE(Enabled(ID_APP_ABOUT));
    app->link->SetState(true, true);
    EXPECT_TRUE(Enabled(ID_APP_ABOUT));
    EXPECT_TRUE(app->OnCmdMsg(ID_APP_ABOUT, nullptr));
    CDialog::SetModalHook(old);

    EXPECT_EQ(shown, std::vector<UINT>{CAboutDialog::IDD});
    EXPECT_TRUE(texts.startsWith("About Quorvant")) << texts.toStdString();
    EXPECT_TRUE(texts.contains("Version")) << texts.toStdString();
}

TEST_F(ShellTest, RedrawingAllViewsLaysOutEveryOpenDocument)
{
    ASSERT_TRUE(Start());
    app->OnCmdMsg(ID_FILE_NEW, nullptr);
    POSITION pos = app->GetFirstDocTemplatePosition();
    CDocTemplate* docTemplate = app->GetNextDocTemplate(pos);
    ASSERT_EQ(docTemplate->GetDocumentCount(), 2);
    std::vector<ParagraphComp*> paragraphs;
    for (POSITION docs = docTemplate->GetFirstDocPosition(); docs;) {
        auto* doc = dynamic_cast<CCorvellDoc*>(docTemplate->GetNextDoc(docs));
        ASSERT_TRUE(doc);
        paragraphs.push_back(doc->GetParagraphList()->GetAt(1));
        paragraphs.back()->Invalidate();
    }
    app->RedrawAllViews();
    for (ParagraphComp* paragraph : paragraphs)
        EXPECT_FALSE(paragraph->NeedsLayout());
}

}  // namespace
