// The application object: the order in which the process-wide objects appear
// and go, the settings and command line it reads, a kernel start-up still
// running at exit, the desktop entry, the Kernel menu and redrawing.
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include "platform/framework/CMDIChildWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ShellTestSupport.h"
#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/dialogs/CKernelConnectionDialog.h"
#include "kernel/KernelSettings.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/FontManager.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StyleTable.h"
#include "foundation/TextPrefs.h"
#include "math/PictureComp.h"
#include "platform/AppProfile.h"
#include "platform/draw/MetaFileDC.h"
#include "platform/framework/CommonDialogs.h"
#include "support/FakeClipboard.h"
#include "support/ScopedInstall.h"

#include <sys/stat.h>

namespace {

TEST_F(ShellTest, StartUpMakesEachObjectAtItsStepAndOpensANewDocumentInTheMaximisedFrame)
{
    ASSERT_TRUE(Start());
    const Steps order{"StyleTable", "DocClipboard", "KernelNameTable", "RegistryKey", "RecentFiles",
                      "KernelLink", "TextPrefs",   "BezierTables",    "FontManager", "KernelSettings",
                      "DocTemplate", "MainFrame",  "ShellFileTypes",  "CommandLine", "ShowMainWindow",
                      "PlaceBars",  "DrawingMakers"};
    ASSERT_EQ(StepNames(), order);
    const std::pair<const char*, const char*> madeAt[] = {
        {"app", "StyleTable"},   {"styles", "StyleTable"},     {"clipboard", "DocClipboard"},
        {"registryKey", "RegistryKey"}, {"link", "KernelLink"}, {"prefs", "TextPrefs"},
        {"fonts", "FontManager"}, {"settings", "KernelSettings"}, {"docTemplate", "DocTemplate"},
        {"mainFrame", "MainFrame"}};
    for (auto [object, step] : madeAt) {
        bool made = false;
        for (const StepState& s : steps) {
            made = made || s.step == step;
            EXPECT_EQ(s.alive.count(object) == 1, made) << object << " at " << s.step;
        }
    }
    EXPECT_EQ(StateAt("ShellFileTypes")->documents, 0);
    EXPECT_EQ(StateAt("CommandLine")->documents, 1);
    // The document window is made before the frame is shown, in the maximised frame's area.
    const StepState* opened = StateAt("CommandLine");
    const QSize screen = app->m_pMainWnd->widget()->screen()->availableGeometry().size();
    EXPECT_GT(opened->clientArea.width(), screen.width() * 9 / 10);
    EXPECT_GT(opened->clientArea.height(), screen.height() * 2 / 3);
    EXPECT_EQ(opened->documentWindow,
              QSize(opened->clientArea.width() * 3 / 4, opened->clientArea.height() * 3 / 4));
    EXPECT_EQ(app->registrations, 1);
    EXPECT_EQ(app->shownWith, SW_SHOWMAXIMIZED);
    EXPECT_EQ(gMainFrame, app->m_pMainWnd);
    EXPECT_TRUE(app->SocketsReady());
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ShellTest, ExitQuitsAReadyKernelOrStopsItsStartUpBeforeTheLinkGoes)
{
    const struct {
        bool ready, starting;
        Steps calls;
    } cases[] = {{false, false, {"EndStartup", "link deleted"}},
                 {false, true, {"EndStartup", "link deleted"}},
                 {true, false, {"EndStartup", "QuitKernel", "link deleted"}}};
    for (const auto& c : cases) {
        ASSERT_TRUE(exited ? Restart({}) : Start());
        app->link->SetState(c.ready, false);
        if (c.starting)
            app->link->RunStartupWorker();
        steps.clear();
        Exit();
        EXPECT_EQ(app->calls, c.calls) << c.ready << c.starting;  // the link goes after the app is cleared
    }
    EXPECT_EQ(StepNames(), (Steps{"ClearApp", "QuitKernel", "DeleteObjects", "FreeDrawingMakers"}));
    const StepState* cleared = StateAt("ClearApp");
    EXPECT_FALSE(cleared->alive.count("app") || cleared->alive.count("mainFrame"));
    for (const char* object : {"link", "clipboard", "fonts", "prefs", "settings", "styles"}) {
        EXPECT_TRUE(cleared->alive.count(object)) << object;
        EXPECT_FALSE(StateAt("DeleteObjects")->alive.count(object)) << object;
    }
    EXPECT_EQ(gMainFrame, nullptr);
}

TEST_F(ShellTest, StartUpReadsTheSettingsSavedUnderTheirSections)
{
    KernelSettings saved;
    saved.kernelPath = "/usr/lib/kernel dir";
    saved.Save();
    EXPECT_EQ(AppProfile::GetProfileString("Kernel Connection", "Kernel Path"), "/usr/lib/kernel dir");
    AppProfile::WriteProfileString(TextPrefs::kSection, TextPrefs::kTextFontKey, "Arial");
    AppProfile::WriteProfileString("Recent File List", "File1", "/tmp/one.vxm");
    AppProfile::WriteProfileString("Recent File List", "File2", "/tmp/two.vxm");
    ASSERT_TRUE(Start());
    EXPECT_STREQ(app->GetTextPrefs()->textFont.GetText(), "Arial");
    EXPECT_STREQ(app->GetTextPrefs()->codeFont.GetText(), TextPrefs::kDefaultCodeFont);
    EXPECT_EQ(app->GetKernelSettings()->kernelPath, "/usr/lib/kernel dir");
    ASSERT_EQ(app->RecentFiles().size(), 2u);
    EXPECT_EQ(app->RecentFiles()[1], CString("/tmp/two.vxm"));
}

TEST_F(ShellTest, ADocumentNamedOnTheCommandLineReopensWithItsWindowAndSavesTheSameBytes)
{
    const QString first = settings.filePath("first.vxm"), second = settings.filePath("second.vxm");
    ASSERT_TRUE(Start());
    const QSize made = FirstWindowSize();
    ASSERT_TRUE(FirstDocument()->OnSaveDocument(first.toUtf8().constData()));
    ASSERT_TRUE(Restart({first}));
    EXPECT_EQ(StateAt("CommandLine")->documents, 1);
    EXPECT_EQ(QFileInfo(QString::fromUtf8(FirstDocument()->GetPathName().c_str())).canonicalFilePath(),
              QFileInfo(first).canonicalFilePath());
    EXPECT_EQ(FirstWindowSize(), made);
    ASSERT_TRUE(FirstDocument()->OnSaveDocument(second.toUtf8().constData()));
    QFile a(first), b(second);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

// A missing or damaged file, or a named pipe (directly or through a link),
// named on the command line is reported, and the editor then starts with a
// new document, as when no file is named. File > Open on the same file says
// the same.
TEST_F(ShellTest, AFileThatCannotBeOpenedIsReportedAndTheEditorStartsWithANewDocument)
{
    const QString damaged = settings.filePath("damaged.vxm");
    const QString pipe = settings.filePath("pipe.vxm"), toPipe = settings.filePath("to-pipe.vxm");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("\x34\x08\x00\x00\x05\x00garbage", 14));
    file.close();
    ASSERT_EQ(::mkfifo(pipe.toUtf8().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(pipe, toPipe));
    for (const QString& path : {settings.filePath("missing.vxm"), damaged, pipe, toPipe}) {
        SCOPED_TRACE(path.toStdString());
        ui.boxes.clear();
        ASSERT_TRUE(path.endsWith("missing.vxm") ? Start({path}) : Restart({path}));
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_NE(StateAt("ShowMainWindow"), nullptr);
        EXPECT_EQ(StateAt("CommandLine")->documents, 1);
        EXPECT_EQ(FirstDocument()->GetPathName(), CString(""));
        auto* document = dynamic_cast<CCorvellDoc*>(FirstDocument());
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->GetParagraphList()->GetCount(), 1);

        ScopedInstall<CommonDialogHook> chooser(SetCommonDialogHook, [&path](QDialog& dialog) {
            static_cast<QFileDialog&>(dialog).selectFile(path);
            return int(QDialog::Accepted);
        });
        app->OnFileOpen();
        ASSERT_EQ(ui.boxes.size(), 2u);
        EXPECT_EQ(ui.boxes[1].text, ui.boxes[0].text);
        EXPECT_EQ(FirstDocument(), document);
    }
    Exit();
    EXPECT_EQ(gFontManager, nullptr);
    EXPECT_EQ(gMainFrame, nullptr);
    EXPECT_EQ(KernelLink::Get(), nullptr);
}

TEST_F(ShellTest, APictureOfAnotherProgramPastesAsAPictureComponentAndOtherBytesAsNothing)
{
    ASSERT_TRUE(Start());
    FakeClipboard clipboard;
    CMetaFileDC recorder;
    CRect frame(0, 0, 40, 30);
    ASSERT_TRUE(recorder.CreateEnhanced(nullptr, &frame));
    recorder.LineTo(40, 30);
    const EnhMetafile picture = recorder.CloseEnhanced();
    ClipboardData data;
    data.metafile = std::vector<uint8_t>(picture.Bytes().begin(), picture.Bytes().end());
    clipboard.SimulateOtherProgram(data);
    DocSelection content = gDocClipboard->GetContent();
    ParagraphList* list = content.GetStart().GetParagraph();
    auto* pasted = list ? dynamic_cast<PictureComp*>(list->GetAt(1)->GetRow()->GetAt(1)) : nullptr;
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->GetMetafile(false)->Bytes(), picture.Bytes());
    ActionSupport::DestroyFragment(content);
    data.metafile = std::vector<uint8_t>{1, 2, 3};
    clipboard.SimulateOtherProgram(data);
    content = gDocClipboard->GetContent();
    EXPECT_EQ(content.GetStart().GetParagraph(), nullptr);
    ActionSupport::DestroyFragment(content);
}

TEST_F(ShellTest, DocumentTypeIsRegisteredOnceAndRepairedWhenChanged)
{
    QTemporaryDir data;
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QFile file(QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                   .filePath("applications/quorvant.desktop"));
    ASSERT_TRUE(file.fileName().startsWith(data.path()));
    app->RegisterForReal();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    EXPECT_TRUE(written.contains("MimeType=application/x-quorvant;"));
    EXPECT_TRUE(written.contains(("Exec=" + QCoreApplication::applicationFilePath() + " %f").toUtf8()));

    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);  // already right: not written again
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    app->RegisterForReal();
    EXPECT_EQ(QFileInfo(file.fileName()).lastModified(), old);

    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));  // changed by someone else
    file.write("[Desktop Entry]\nExec=elsewhere\n");
    file.close();
    app->RegisterForReal();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), written);
    oldData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldData);
}

TEST_F(ShellTest, KernelMenuFollowsTheLinkAndRefusesCommandsItDisables)
{
    ASSERT_TRUE(Start());
    auto menu = [&] {
        std::string on;
        for (UINT id : {CCorvellApp::ID_KERNEL_START, CCorvellApp::ID_KERNEL_QUIT, CCorvellApp::ID_KERNEL_CONNECTION,
                        CCorvellApp::ID_KERNEL_CALCULATION_OPTIONS, CCorvellApp::ID_KERNEL_TERM_ORDERING})
            on += Enabled(id) ? '1' : '0';
        return on;
    };
    const struct {
        bool ready, busy, starting, canStart;
        const char* enabled;  // Start, Quit, Connection, Options, Ordering
        UINT command;
        Steps calls;
    } cases[] = {
        {false, false, false, true, "10100", CCorvellApp::ID_KERNEL_START, {"StartKernel"}},
        {false, false, true, true, "00000", CCorvellApp::ID_KERNEL_START, {}},
        // Quit reached while a kernel starts (again, after one that could not stop): the start is cancelled.
        {false, false, true, true, "00000", CCorvellApp::ID_KERNEL_QUIT, {"EndStartup"}},
        {false, false, false, false, "00000", CCorvellApp::ID_KERNEL_START, {}},
        // Quit stays available while the kernel computes: it is a way to stop it.
        {true, true, false, true, "01000", CCorvellApp::ID_KERNEL_QUIT, {"QuitKernel with the application set"}},
        {true, false, false, true, "01011", CCorvellApp::ID_KERNEL_QUIT, {"QuitKernel with the application set"}},
    };
    for (const auto& c : cases) {
        app->link->SetState(c.ready, c.busy, c.starting);
        app->link->canStart = c.canStart;
        app->calls.clear();
        EXPECT_EQ(menu(), c.enabled) << c.enabled;
        app->OnCmdMsg(c.command, nullptr);
        EXPECT_EQ(app->calls, c.calls) << c.enabled;
    }
    EXPECT_EQ(menu(), "10100");  // quit: ready to start again
}

TEST_F(ShellTest, KernelConnectionShowsTheFolderOfTheKernelInUse)
{
    ASSERT_TRUE(Start());
    // No "Kernel Path" setting: the kernel beside the editor is the one used.
    QTemporaryDir beside;
    QFile program(beside.filePath(KernelLink::kProgramName));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    program.setPermissions(program.permissions() | QFileDevice::ExeOwner);
    app->link->SetFallbackFolder(beside.path().toStdString());
    std::string shown = "(no dialog)";
    ScopedInstall user(CDialog::SetModalHook, [&](CDialog& dialog) {
        if (auto* connection = dynamic_cast<CKernelConnectionDialog*>(&dialog))
            shown = connection->m_folder;
    });
    app->OnCmdMsg(CCorvellApp::ID_KERNEL_CONNECTION, nullptr);
    EXPECT_EQ(shown, beside.path().toStdString());
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
        paragraphs.push_back(dynamic_cast<CCorvellDoc&>(*docTemplate->GetNextDoc(docs)).GetParagraphList()->GetAt(1));
        paragraphs.back()->Invalidate();
    }
    app->RedrawAllViews();
    for (ParagraphComp* paragraph : paragraphs)
        EXPECT_FALSE(paragraph->NeedsLayout());
}

}  // namespace

// New document windows cascade inside the frame's area; closing a maximised
// one maximises the one that comes forward.
TEST_F(ShellTest, DocumentWindowsStayInsideTheAreaAndAClosedMaximisedOneHandsOnItsState)
{
    ASSERT_TRUE(Start());
    QMdiArea* area = OpenNewDocuments(3);
    ASSERT_EQ(area->subWindowList().size(), 4);
    QMdiSubWindow* top = area->activeSubWindow();
    ASSERT_TRUE(top && top->isMaximized());
    for (QMdiSubWindow* sub : area->subWindowList()) {
        sub->showNormal();
        EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry())) << sub->windowTitle().toStdString();
    }
    top->showMaximized();
    top->close();
    QCoreApplication::processEvents();
    ASSERT_EQ(area->subWindowList().size(), 3);
    QMdiSubWindow* next = area->activeSubWindow();
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->isMaximized());
    EXPECT_EQ(next->geometry(), area->viewport()->rect());
}
