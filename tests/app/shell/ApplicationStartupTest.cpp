// Start-up and exit of the application object: the order in which the
// process-wide objects appear and go, what start-up reads from the settings,
// the command line, and a kernel start-up still running at exit.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QStandardPaths>

#include "ShellTestSupport.h"
#include "app/CCorvellDoc.h"
#include "app/CMainFrame.h"
#include "app/KernelSettings.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/DocClipboard.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "math/PictureComp.h"
#include "platform/draw/MetaFileDC.h"
#include "support/FakeClipboard.h"
#include "foundation/FontManager.h"
#include "foundation/StyleTable.h"
#include "foundation/TextPrefs.h"
#include "platform/AppProfile.h"

namespace {

using Steps = std::vector<std::string>;

TEST_F(ShellTest, StartUpMakesTheObjectsInOrder)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(StepNames(), (Steps{"StyleTable", "DocClipboard", "KernelNameTable", "RegistryKey", "RecentFiles",
                                  "KernelLink", "TextPrefs", "BezierTables", "FontManager", "KernelSettings",
                                  "DocTemplate", "MainFrame", "ShellFileTypes", "CommandLine", "ShowMainWindow",
                                  "PlaceBars", "DrawingMakers"}));

    // Each object exists from its own step on, and not before.
    const StepState* styles = StateAt("StyleTable");
    ASSERT_TRUE(styles);
    EXPECT_TRUE(styles->styles && styles->app);
    EXPECT_FALSE(styles->clipboard);
    EXPECT_TRUE(StateAt("DocClipboard")->clipboard);
    EXPECT_FALSE(StateAt("DocClipboard")->registryKey);
    EXPECT_TRUE(StateAt("RegistryKey")->registryKey);
    EXPECT_FALSE(StateAt("RecentFiles")->link);
    EXPECT_TRUE(StateAt("KernelLink")->link);
    EXPECT_FALSE(StateAt("KernelLink")->prefs);
    EXPECT_TRUE(StateAt("TextPrefs")->prefs);
    EXPECT_FALSE(StateAt("BezierTables")->fonts);
    EXPECT_TRUE(StateAt("FontManager")->fonts);
    EXPECT_FALSE(StateAt("FontManager")->settings);
    EXPECT_TRUE(StateAt("KernelSettings")->settings);
    EXPECT_FALSE(StateAt("KernelSettings")->docTemplate);
    EXPECT_TRUE(StateAt("DocTemplate")->docTemplate);
    EXPECT_FALSE(StateAt("DocTemplate")->mainFrame);
    EXPECT_TRUE(StateAt("MainFrame")->mainFrame);
    // The empty command line makes one new document, after the frame exists.
    EXPECT_EQ(StateAt("ShellFileTypes")->documents, 0);
    EXPECT_EQ(StateAt("CommandLine")->documents, 1);

    EXPECT_EQ(app->registrations, 1);
    EXPECT_EQ(app->shownWith, SW_SHOWMAXIMIZED);
    EXPECT_EQ(GetCorvellApp(), app.get());
    EXPECT_EQ(gMainFrame, app->m_pMainWnd);
    EXPECT_TRUE(app->SocketsReady());
    EXPECT_EQ(gStyleTable->GetStyle(0), StyleTable::Lookup(0));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(ShellTest, ExitQuitsAReadyKernelBeforeTheLinkGoesAndFreesEverything)
{
    ASSERT_TRUE(Start());
    app->link->SetState(true, false);
    steps.clear();
    Exit();

    EXPECT_EQ(StepNames(), (Steps{"ClearApp", "QuitKernel", "DeleteObjects", "FreeDrawingMakers"}));
    EXPECT_FALSE(StateAt("ClearApp")->app);
    // The quit request went out after the application pointer was cleared
    // and before the link was deleted.
    EXPECT_EQ(app->calls, (Steps{"EndStartup", "QuitKernel", "link deleted"}));
    EXPECT_EQ(KernelLink::Get(), nullptr);
    EXPECT_EQ(gStyleTable, nullptr);
    EXPECT_EQ(gDocClipboard, nullptr);
    EXPECT_EQ(gFontManager, nullptr);
    EXPECT_EQ(app->GetTextPrefs(), nullptr);
    EXPECT_EQ(app->GetKernelSettings(), nullptr);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_EQ(gMainFrame, nullptr);
}

TEST_F(ShellTest, ExitWithoutAKernelSendsNoQuitRequest)
{
    ASSERT_TRUE(Start());
    Exit();
    EXPECT_EQ(app->calls, (Steps{"EndStartup", "link deleted"}));
}

TEST_F(ShellTest, ExitDuringAKernelStartUpStopsTheWorkerBeforeTheLinkGoes)
{
    ASSERT_TRUE(Start());
    app->link->RunStartupWorker();
    EXPECT_FALSE(app->link->IsReady());
    Exit();
    EXPECT_EQ(app->calls, (Steps{"EndStartup", "link deleted"}));
}

TEST_F(ShellTest, StartUpReadsTextPreferencesKernelFolderAndRecentFiles)
{
    AppProfile::WriteProfileString(TextPrefs::kSection, TextPrefs::kTextFontKey, "Arial");
    AppProfile::WriteProfileString(KernelSettings::kSection, KernelSettings::kPathKey, "/opt/kernel");
    AppProfile::WriteProfileString("Recent File List", "File1", "/tmp/one.vxm");
    AppProfile::WriteProfileString("Recent File List", "File2", "/tmp/two.vxm");
    ASSERT_TRUE(Start());
    EXPECT_STREQ(app->GetTextPrefs()->textFont.GetText(), "Arial");
    EXPECT_STREQ(app->GetTextPrefs()->codeFont.GetText(), TextPrefs::kDefaultCodeFont);
    EXPECT_EQ(app->GetKernelSettings()->kernelPath, "/opt/kernel");
    ASSERT_EQ(app->RecentFiles().size(), 2u);
    EXPECT_EQ(app->RecentFiles()[1], CString("/tmp/two.vxm"));
}

TEST_F(ShellTest, KernelSettingsSaveUnderTheirSection)
{
    {
        KernelSettings settings;
        EXPECT_EQ(settings.kernelPath, "");
        settings.kernelPath = "/usr/lib/kernel dir";
        settings.Save();
    }
    EXPECT_EQ(KernelSettings().kernelPath, "/usr/lib/kernel dir");
    EXPECT_EQ(AppProfile::GetProfileString("Kernel Connection", "Kernel Path"), "/usr/lib/kernel dir");
}

TEST_F(ShellTest, CommandLineOpensTheNamedDocument)
{
    QString path = settings.filePath("given.vxm");
    // A first run saves its new document; a second run is given its path.
    ASSERT_TRUE(Start());
    ASSERT_TRUE(SaveFirstDocument(path));
    Exit();
    app = std::make_unique<TestApp>();
    exited = false;
    ASSERT_TRUE(Start({path}));
    POSITION pos = app->GetFirstDocTemplatePosition();
    ASSERT_EQ(app->GetNextDocTemplate(pos)->GetDocumentCount(), 1);
    EXPECT_EQ(QFileInfo(QString::fromUtf8(FirstDocument()->GetPathName().c_str())).canonicalFilePath(),
              QFileInfo(path).canonicalFilePath());
}

TEST_F(ShellTest, DocumentWindowsOfTheCommandLineAreSizedInTheMaximisedFrame)
{
    // The document window is made before the frame is shown: it already
    // sees the client area of the maximised frame.
    ASSERT_TRUE(Start());
    const StepState* opened = StateAt("CommandLine");
    ASSERT_TRUE(opened);
    QSize screen = app->m_pMainWnd->widget()->screen()->availableGeometry().size();
    EXPECT_GT(opened->clientArea.width(), screen.width() * 9 / 10);
    EXPECT_GT(opened->clientArea.height(), screen.height() * 2 / 3);
    EXPECT_EQ(opened->documentWindow,
              QSize(opened->clientArea.width() * 3 / 4, opened->clientArea.height() * 3 / 4));
}

TEST_F(ShellTest, ADocumentReopenedFromTheCommandLineKeepsItsWindowAndSavesTheSameBytes)
{
    QString first = settings.filePath("first.vxm");
    QString second = settings.filePath("second.vxm");
    ASSERT_TRUE(Start());
    QSize made = DocumentWindowSize(dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd));
    ASSERT_TRUE(SaveFirstDocument(first));
    Exit();

    app = std::make_unique<TestApp>();
    exited = false;
    steps.clear();
    ASSERT_TRUE(Start({first}));
    EXPECT_EQ(DocumentWindowSize(dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd)), made);
    ASSERT_TRUE(SaveFirstDocument(second));
    QFile a(first), b(second);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());
}

TEST_F(ShellTest, AFileThatCannotBeOpenedEndsStartUpWithAMessageAndExitStillCleansUp)
{
    QString path = settings.filePath("missing.vxm");
    EXPECT_FALSE(Start({path}));
    EXPECT_FALSE(ui.boxes.empty());
    EXPECT_EQ(StateAt("CommandLine"), nullptr);
    EXPECT_EQ(StateAt("ShowMainWindow"), nullptr);
    Exit();
    EXPECT_EQ(gFontManager, nullptr);
    EXPECT_EQ(gMainFrame, nullptr);
    EXPECT_EQ(KernelLink::Get(), nullptr);
}

TEST_F(ShellTest, APictureOfAnotherProgramPastesAsAPictureComponent)
{
    ASSERT_TRUE(Start());
    FakeClipboard clipboard;
    CMetaFileDC recorder;
    CRect frame(0, 0, 40, 30);
    ASSERT_TRUE(recorder.CreateEnhanced(nullptr, &frame));
    recorder.MoveTo(0, 0);
    recorder.LineTo(40, 30);
    EnhMetafile picture = recorder.CloseEnhanced();
    ClipboardData data;
    data.metafile = std::vector<uint8_t>(picture.Bytes().begin(), picture.Bytes().end());
    clipboard.SimulateOtherProgram(data);

    DocSelection content = gDocClipboard->GetContent();
    ParagraphList* list = content.GetStart().GetParagraph();
    ASSERT_TRUE(list);
    auto* pasted = dynamic_cast<PictureComp*>(list->GetAt(1)->GetRow()->GetAt(1));
    ASSERT_TRUE(pasted);
    EXPECT_EQ(pasted->GetMetafile(false)->Bytes(), picture.Bytes());
    ActionSupport::DestroyFragment(content);

    // Bytes that are no picture paste nothing.
    data.metafile = std::vector<uint8_t>{1, 2, 3};
    clipboard.SimulateOtherProgram(data);
    DocSelection nothing = gDocClipboard->GetContent();
    EXPECT_EQ(nothing.GetStart().GetParagraph(), nullptr);
    ActionSupport::DestroyFragment(nothing);
}

TEST_F(ShellTest, DocumentTypeIsRegisteredOnceAndRepairedWhenChanged)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());

    QString desktopFile = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                              .filePath("applications/quorvant.desktop");
    ASSERT_TRUE(desktopFile.startsWith(data.path()));

    app->RegisterForReal();
    ASSERT_TRUE(QFile::exists(desktopFile));
    QFile file(desktopFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    EXPECT_TRUE(written.contains("MimeType=application/x-quorvant;"));
    EXPECT_TRUE(written.contains(("Exec=" + QCoreApplication::applicationFilePath() + " %f").toUtf8()));

    // Already right: not written again (its time stays as set).
    const QDateTime old = QDateTime::fromSecsSinceEpoch(1000000000);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    app->RegisterForReal();
    EXPECT_EQ(QFileInfo(desktopFile).lastModified(), old);

    // Changed by someone else: written again.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Desktop Entry]\nExec=elsewhere\n");
    file.close();
    app->RegisterForReal();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), written);

    if (oldData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldData);
}

}  // namespace
