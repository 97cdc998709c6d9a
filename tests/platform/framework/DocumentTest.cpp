// The document template's order of creation, titles of new documents, the
// save-changes prompt answered through the user-interface seam, saving under
// a chosen name, and failed opens and closed windows that leave nothing behind.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include "FrameworkTestSupport.h"
#include "platform/framework/CommonDialogs.h"
#include "support/FakeUserInterface.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

TEST_F(FrameworkTest, AFailedOpenDestroysFrameViewAndDocument)
{
    QTemporaryDir dir;
    QString path = dir.filePath("a.tst");
    ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
    LogDoc::failOpen = true;
    EXPECT_EQ(app->OpenDocumentFile(path.toUtf8().constData()), nullptr);
    FlushEvents();
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"document created", "frame created", "view created",
                                                    "open document", "view deleted", "document deleted",
                                                    "frame deleted"}));
    EXPECT_EQ(app->mainFrame->MDIGetActive(), nullptr);

    LogDoc::failOpen = false;
    FakeUserInterface ui;
    EXPECT_EQ(app->OpenDocumentFile("/nonexistent/folder/x.tst"), nullptr);
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_NE(ui.LastBoxText().find("could not be opened"), std::string::npos) << ui.LastBoxText();
}

TEST_F(FrameworkTest, SaveChangesPromptIsAnsweredThroughTheSeam)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    CDocument* doc = view->GetDocument();
    {
        FakeUserInterface failing;
        EXPECT_FALSE(doc->DoSave("/nonexistent-folder/x.tst"));
        EXPECT_NE(failing.LastBoxText().find("could not be saved (x.tst)"), std::string::npos);
        EXPECT_TRUE(doc->GetPathName().IsEmpty());  // the name stays
    }
    FakeUserInterface ui;

    EXPECT_TRUE(doc->SaveModified());  // unmodified: no question
    EXPECT_TRUE(ui.boxes.empty());

    doc->SetModifiedFlag(TRUE);
    ui.ScriptAnswers({IDCANCEL, IDNO});
    EXPECT_FALSE(doc->SaveModified());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, "Save changes to Doc1?");
    EXPECT_EQ(ui.boxes[0].type & MB_TYPEMASK, MB_YESNOCANCEL);
    EXPECT_TRUE(doc->SaveModified());

    // Yes saves under a name chosen in the file dialog.
    QTemporaryDir dir;
    QString chosen = dir.filePath("saved.tst");
    CommonDialogHook old = SetCommonDialogHook([chosen](QDialog& d) {
        auto& files = static_cast<QFileDialog&>(d);
        EXPECT_EQ(files.acceptMode(), QFileDialog::AcceptSave);
        files.selectFile(chosen);
        return int(QDialog::Accepted);
    });
    ui.ScriptAnswers({IDYES});
    EXPECT_TRUE(doc->SaveModified());
    SetCommonDialogHook(old);
    EXPECT_EQ(static_cast<LogDoc*>(doc)->saves, 2);  // the failed save and this one
    EXPECT_EQ(PathToQString(doc->GetPathName()), chosen);
    EXPECT_EQ(doc->GetTitle(), "saved.tst");
    ASSERT_FALSE(app->RecentFiles().empty());
    EXPECT_EQ(PathToQString(app->RecentFiles().front()), chosen);
}

TEST_F(FrameworkTest, ClosingTheFrameOfAModifiedDocumentAsksFirst)
{
    LogView* view = OpenNewView();
    ASSERT_NE(view, nullptr);
    view->GetDocument()->SetModifiedFlag(TRUE);
    FakeUserInterface ui;
    ui.ScriptAnswers({IDCANCEL});
    CMDIChildWnd* child = app->mainFrame->MDIGetActive();
    child->SendMessage(WM_CLOSE);
    EXPECT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(app->mainFrame->MDIGetActive(), child);  // still open

    ui.ScriptAnswers({IDNO});
    child->SendMessage(WM_CLOSE);
    FlushEvents();
    EXPECT_EQ(app->mainFrame->MDIGetActive(), nullptr);
    // The document closes its frames first and goes last.
    std::vector<std::string> tail(EventLog().end() - 3, EventLog().end());
    EXPECT_EQ(tail, (std::vector<std::string>{"view deleted", "frame deleted", "document deleted"}));
}

// Each window takes with it what it made. The windows open and close as a
// user's commands do, from the event loop, so that suppressions naming the
// libraries under the loop would hide what is left.
TEST_F(FrameworkTest, TwentyWindowsOpenedAndClosedLeaveNothingBehind)
{
#if !defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "needs LeakSanitizer";
#else
    app->mainFrame->ShowWindow(SW_SHOW);
    for (int i = 0; i < 20; ++i) {
        app->mainFrame->PostMessage(WM_COMMAND, ID_FILE_NEW);
        FlushEvents();
        CMDIChildWnd* child = app->mainFrame->MDIGetActive();
        ASSERT_NE(child, nullptr);
        child->PostMessage(WM_CLOSE);
        FlushEvents();
    }
    EXPECT_EQ(app->mainFrame->MDIGetActive(), nullptr);
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

TEST(CommandLine, NoArgumentMakesANewDocumentAPathOpensItPrintVerbPrints)
{
    for (auto [args, command, file] :
         {std::tuple<QStringList, int, const char*>{{}, CCommandLineInfo::FileNew, ""},
          {{"/tmp/a b.vxm"}, CCommandLineInfo::FileOpen, "/tmp/a b.vxm"},
          {{"/p", "/tmp/x.vxm"}, CCommandLineInfo::FilePrint, "/tmp/x.vxm"},
          {{"/dde"}, CCommandLineInfo::FileNew, ""}}) {
        CCommandLineInfo info;
        info.Parse(args);
        EXPECT_EQ(int(info.m_nShellCommand), command);
        EXPECT_EQ(info.m_strFileName, file);
    }
}
