#include "app/CCorvellApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QLayout>
#include <QMdiArea>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>

#include "app/CAboutDialog.h"
#include "app/CalculationHold.h"
#include "app/CChildFrame.h"
#include "app/CCorvellDoc.h"
#include "app/CConstantsDialog.h"
#include "app/CMainFrame.h"
#include "app/ConstantAttributeSink.h"
#include "app/DocumentComponents.h"
#include "app/KernelQuestionDialogs.h"
#include "app/LinkPropertiesPrompt.h"
#include "app/MainViewRedraw.h"
#include "app/StartupServices.h"
#include "app/WorkStatus.h"
#include "app/dialogs/CCalculationPrefsDialog.h"
#include "app/dialogs/CKernelConnectionDialog.h"
#include "app/dialogs/CKernelStartupDialog.h"
#include "app/dialogs/CTermOrderingDialog.h"
#include "foundation/ComponentFactory.h"
#include "foundation/DocClipboard.h"
#include "foundation/ExprNode.h"
#include "foundation/FontManager.h"
#include "foundation/StyleTable.h"
#include "foundation/TAction.h"
#include "kernel/TCalculationAction.h"
#include "foundation/TextLayoutItemMaker.h"
#include "foundation/TextPrefs.h"
#include "kernel/KernelLink.h"
#include "kernel/KernelSettings.h"
#include "kernel/TermOrdering.h"
#include "platform/InputGate.h"
#include "platform/UserInterface.h"
#include "platform/framework/InputGateFilter.h"
#include "platform/framework/DesktopIntegration.h"
#include "platform/framework/ResourceStore.h"
#include "resources/ProgramResources.h"

IMPLEMENT_DYNAMIC(CCorvellApp, CWinApp)

namespace {

CCorvellApp* g_corvellApp = nullptr;

CCorvellApp::StepObserver& stepObserver()
{
    static CCorvellApp::StepObserver observer;
    return observer;
}

// The documents of the command line open before the frame is shown, and
// their windows take their stored places inside the frame's client area (or
// a share of it): so the hidden frame is laid out at the size it will have
// when shown maximised, not at a hidden window's nominal size.
void LayOutAsMaximised(CMDIFrameWnd* frame)
{
    QWidget* window = frame->widget();
    QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        return;
    window->resize(screen->availableGeometry().size());
    if (QLayout* layout = window->layout())
        layout->activate();
    if (QMdiArea* area = frame->mdiArea()) {
        // A hidden widget gets no resize events: the area lays out its
        // viewport when it is told of its size.
        QResizeEvent resized(area->size(), QSize());
        QCoreApplication::sendEvent(area, &resized);
    }
}

bool FileHolds(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == text;
}

}  // namespace

CCorvellApp* GetCorvellApp()
{
    return g_corvellApp;
}

CCorvellApp::CCorvellApp() : CWinApp("Quorvant")
{
    g_corvellApp = this;
    MapCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    MapCommand(ID_KERNEL_START, [this] { OnKernelStart(); });
    MapCommand(ID_KERNEL_QUIT, [this] { OnKernelQuit(); });
    MapCommand(ID_KERNEL_CONNECTION, [this] { OnKernelConnection(); });
    MapCommand(ID_KERNEL_CALCULATION_OPTIONS, [this] { OnKernelCalculationOptions(); });
    MapCommand(ID_KERNEL_TERM_ORDERING, [this] { OnKernelTermOrdering(); });
    MapUpdate(ID_KERNEL_START, [this](CCmdUI* ui) { OnUpdateNeedsNoKernel(ui); });
    MapUpdate(ID_KERNEL_CONNECTION, [this](CCmdUI* ui) { OnUpdateNeedsNoKernel(ui); });
    MapUpdate(ID_KERNEL_QUIT, [this](CCmdUI* ui) { OnUpdateKernelQuit(ui); });
    MapUpdate(ID_KERNEL_CALCULATION_OPTIONS, [this](CCmdUI* ui) { OnUpdateNeedsIdleKernel(ui); });
    MapUpdate(ID_KERNEL_TERM_ORDERING, [this](CCmdUI* ui) { OnUpdateNeedsIdleKernel(ui); });
}

CCorvellApp::~CCorvellApp()
{
    if (g_corvellApp == this)
        g_corvellApp = nullptr;
}

CCorvellApp::StepObserver CCorvellApp::SetStepObserver(StepObserver observer)
{
    StepObserver old = std::move(stepObserver());
    stepObserver() = std::move(observer);
    return old;
}

void CCorvellApp::Step(const char* name)
{
    if (stepObserver())
        stepObserver()(name);
}

BOOL CCorvellApp::InitInstance()
{
    QString error;
    if (!RegisterProgramResources(&error)) {
        AfxMessageBox(("The program's resources are damaged: " + error.toStdString()).c_str());
        return FALSE;
    }
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(ResourceStore::instance().image("icon:quorvant"))));
    RegisterDocumentComponents();
    InstallLinkPropertiesPrompt();

    m_pStyleTable = new StyleTable;
    gStyleTable = m_pStyleTable;
    InstallTextLayout();
    Step("StyleTable");
    m_pClipboard = new DocClipboard;
    InstallClipboardWriters();
    Step("DocClipboard");
    FillKernelNameTable();
    Step("KernelNameTable");
    Enable3dControls();
    SetRegistryKey(kRegistryKey);
    Step("RegistryKey");
    LoadStdProfileSettings(kRecentFileCount);
    Step("RecentFiles");
    m_pKernelQuestions = new KernelQuestionDialogs;
    // While a calculation waits, input that would edit or close a document is held.
    m_pCalculationHold = new CalculationHold;
    InputGate::Install(m_pCalculationHold);
    InputGateFilter::Install();
    // Long work on a large document shows its progress and can be stopped.
    LongWork::Install(&WorkStatus::Instance());
    KernelLink::Set(CreateKernelLink());
    if (KernelLink* link = KernelLink::Get()) {
        link->SetQuestions(m_pKernelQuestions);
        // A fresh installation keeps its kernel program beside the editor.
        link->SetFallbackFolder(QCoreApplication::applicationDirPath().toStdString());
    }
    InstallConstantsRoutes();
    // What the actions say while they work (a calculation's "Working").
    SetStatusTextSink([](const char* text) { UserInterface::Current().SetStatusText(text ? text : ""); });
    Step("KernelLink");
    m_pTextPrefs = new TextPrefs;
    m_pTextPrefs->Load();
    Step("TextPrefs");
    InitBezierTables();
    Step("BezierTables");
    m_pFontManager = new FontManager(*m_pTextPrefs);
    Step("FontManager");
    m_pKernelSettings = new KernelSettings;
    Step("KernelSettings");

    MakeDocTemplate();
    Step("DocTemplate");
    if (!MakeMainFrame())
        return FALSE;
    Step("MainFrame");
    EnableShellOpen();
    RegisterDocumentType();
    Step("ShellFileTypes");

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine)) {
        // A file that cannot be opened has been reported; the editor still
        // starts, with a new document as when no file is named.
        if (commandLine.m_nShellCommand != CCommandLineInfo::FileOpen)
            return FALSE;
        OnFileNew();
    }
    Step("CommandLine");
    m_bSocketsReady = AfxSocketInit();

    m_nCmdShow = SW_SHOWMAXIMIZED;
    ShowMainWindow();
    Step("ShowMainWindow");
    if (auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd))
        frame->PlaceBars();
    Step("PlaceBars");
    RegisterDrawingMakers();
    Step("DrawingMakers");
    return TRUE;
}

void CCorvellApp::MakeDocTemplate()
{
    AddDocTemplate(new CMultiDocTemplate(IDR_CORVELLTYPE, RUNTIME_CLASS(CCorvellDoc), RUNTIME_CLASS(CChildFrame),
                                         DocumentViewClass()));
}

BOOL CCorvellApp::MakeMainFrame()
{
    auto* frame = new CMainFrame;
    // A failed load destroys the frame's window, and the frame with it.
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
        return FALSE;
    m_pMainWnd = frame;
    LayOutAsMaximised(frame);
    return TRUE;
}

KernelLink* CCorvellApp::CreateKernelLink()
{
    return new KernelLink;
}

void CCorvellApp::RegisterDocumentType()
{
    // The desktop's entries start this very program, wherever it was built
    // or installed. They are written once, and again only when they differ
    // from what this program would write (another version, another place).
    DesktopIntegration::Entry entry = DesktopIntegration::Entry::Default();
    QString program = QCoreApplication::applicationFilePath();
    if (!program.isEmpty())
        entry.executable = program.contains(' ') ? '"' + program + '"' : program;
    QDir data(DesktopIntegration::DefaultDataFolder());
    bool current = FileHolds(data.filePath("applications/" + entry.applicationId + ".desktop"),
                             DesktopIntegration::DesktopFileText(entry).toUtf8()) &&
                   FileHolds(data.filePath("mime/packages/" + entry.applicationId + ".xml"),
                             DesktopIntegration::MimeXmlText(entry).toUtf8()) &&
                   QFile::exists(data.filePath("icons/hicolor/48x48/apps/" + entry.applicationId + ".png"));
    // A folder that cannot be written leaves the program without the
    // desktop's file association, which is no reason to stop.
    if (!current)
        DesktopIntegration::Install(data.path(), entry);
}

void CCorvellApp::ShowMainWindow()
{
    if (!m_pMainWnd)
        return;
    m_pMainWnd->ShowWindow(m_nCmdShow);
    m_pMainWnd->UpdateWindow();
}

int CCorvellApp::ExitInstance()
{
    // Windows still open when the event loop ended go first: their views
    // use the fonts and styles freed below.
    if (m_pMainWnd) {
        CloseAllDocuments(TRUE);
        if (m_pMainWnd)
            m_pMainWnd->DestroyWindow();
    }
    g_corvellApp = nullptr;
    Step("ClearApp");
    if (KernelLink* link = KernelLink::Get()) {
        // A start-up under way is cancelled and its worker has let go of
        // the link before anything is deleted.
        link->EndStartup();
        if (link->IsReady())
            link->QuitKernel();
        Step("QuitKernel");
        SetConstantAttributeSink(nullptr);
        SetConstantCheckHook(nullptr);
        KernelLink::Set(nullptr);
        delete link;
    }
    delete m_pKernelQuestions;
    m_pKernelQuestions = nullptr;
    SetStatusTextSink(nullptr);
    LongWork::Install(nullptr);
    if (InputGate::Current() == m_pCalculationHold)
        InputGate::Install(nullptr);
    delete m_pCalculationHold;
    m_pCalculationHold = nullptr;
    delete m_pClipboard;
    m_pClipboard = nullptr;
    delete m_pFontManager;
    m_pFontManager = nullptr;
    delete m_pTextPrefs;
    m_pTextPrefs = nullptr;
    delete m_pKernelSettings;
    m_pKernelSettings = nullptr;
    if (gStyleTable == m_pStyleTable)
        gStyleTable = nullptr;
    delete m_pStyleTable;
    m_pStyleTable = nullptr;
    Step("DeleteObjects");
    FreeDrawingMakers();
    Step("FreeDrawingMakers");
    return CWinApp::ExitInstance();
}

void CCorvellApp::RedrawAllViews()
{
    POSITION templates = GetFirstDocTemplatePosition();
    CDocTemplate* docTemplate = templates ? GetNextDocTemplate(templates) : nullptr;
    if (!docTemplate)
        return;
    for (POSITION docs = docTemplate->GetFirstDocPosition(); docs;)
        if (auto* doc = dynamic_cast<CCorvellDoc*>(docTemplate->GetNextDoc(docs)))
            RedrawMainView(doc->GetMainView());
}

void CCorvellApp::OnAppAbout()
{
    CAboutDialog dialog(m_pMainWnd);
    dialog.DoModal();
}

void CCorvellApp::OnKernelStart()
{
    KernelLink* link = KernelLink::Get();
    if (!link || !link->CanStartKernel() || link->IsReady() || link->IsStarting())
        return;
    CKernelStartupDialog::Open([link] { link->CancelStartup(); });
    link->StartKernel();
}

void CCorvellApp::OnKernelQuit()
{
    KernelLink* link = KernelLink::Get();
    // A kernel that could not stop the calculation was ended and is starting
    // again: quitting cancels that start.
    if (link && link->IsStarting()) {
        link->EndStartup();
        return;
    }
    if (!link || !link->IsReady())
        return;
    if (link->IsWaiting()) {
        // The calculation is stopped first and gives up its answer at once;
        // the kernel quits once the wait has ended.
        link->AbortEvaluation();
        link->GiveUpWaiting();
        CalculationHold::RunWhenFree([] {
            if (GetCorvellApp())
                GetCorvellApp()->OnKernelQuit();
        });
        return;
    }
    link->QuitKernel();
    UserInterface::Current().SetStatusText("");
}

void CCorvellApp::OnUpdateKernelQuit(CCmdUI* ui)
{
    KernelLink* link = KernelLink::Get();
    // Also while a calculation runs: quitting stops it.
    ui->Enable(link && link->IsReady());
}

void CCorvellApp::OnKernelConnection()
{
    if (!m_pKernelSettings)
        return;
    *m_pKernelSettings = KernelSettings();
    // The folder shown is the one in use, also when the kernel beside the
    // editor is used for want of a setting.
    KernelLink* link = KernelLink::Get();
    CKernelConnectionDialog dialog(link ? link->KernelFolderInUse() : m_pKernelSettings->kernelPath, m_pMainWnd);
    if (dialog.DoModal() != IDOK)
        return;
    m_pKernelSettings->kernelPath = dialog.m_folder;
    m_pKernelSettings->Save();
}

void CCorvellApp::OnKernelCalculationOptions()
{
    KernelLink* link = KernelLink::Get();
    if (!link || !link->IsReady() || link->IsBusy())
        return;
    CCalculationPrefsDialog dialog(link->Prefs(), m_pMainWnd);
    if (dialog.DoModal() != IDOK)
        return;
    if (std::string problem = dialog.m_prefs.Problem(); !problem.empty()) {
        UserInterface::Current().MessageBox(problem, "Calculation Preferences", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    link->Prefs() = dialog.m_prefs;
    link->Prefs().Save();
    link->SetSessionPrefs();
}

void CCorvellApp::OnKernelTermOrdering()
{
    KernelLink* link = KernelLink::Get();
    if (!link || !link->IsReady() || link->IsBusy())
        return;
    // The dialog starts from the kernel's current priorities.
    TermOrdering ordering;
    std::unique_ptr<ExprNode> current(link->ResetSortPriorities(false));
    ordering.FromKernelList(current.get(), link->ConstantsToBack());
    CTermOrderingDialog dialog(ordering, m_pMainWnd);
    if (dialog.DoModal() != IDOK || (!dialog.Changed() && dialog.m_ordering == ordering))
        return;
    link->SetSortPriorities(dialog.m_ordering.ToKernelList(), dialog.m_ordering.constantsToBack);
}

void CCorvellApp::OnUpdateNeedsNoKernel(CCmdUI* ui)
{
    KernelLink* link = KernelLink::Get();
    // Not while a start-up is under way either: a second start would
    // replace the link the first one is still connecting.
    ui->Enable(link && link->CanStartKernel() && !link->IsReady() && !link->IsStarting());
}

void CCorvellApp::OnUpdateNeedsIdleKernel(CCmdUI* ui)
{
    KernelLink* link = KernelLink::Get();
    ui->Enable(link && link->IsReady() && !link->IsBusy());
}

// The Constants palette sends a ticked letter to the kernel, and a calculation
// that makes a letter a constant (or a variable) ticks it in the palette.
void CCorvellApp::InstallConstantsRoutes()
{
    SetConstantAttributeSink([](char letter, bool constant) {
        KernelLink* link = KernelLink::Get();
        if (link && link->IsReady() && !link->IsBusy())
            link->SetConstantAttribute(letter, constant);
    });
    SetConstantCheckHook([](char letter, bool constant) {
        auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
        if (CConstantsDialog* palette = frame ? frame->GetConstantsPalette() : nullptr)
            palette->SetLetterCheck(letter, constant);
    });
}
