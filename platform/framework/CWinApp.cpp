#include "platform/framework/CWinApp.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

#include "platform/AppProfile.h"
#include "platform/QtUserInterface.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMDIFrameWnd.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CView.h"
#include "platform/framework/CommonDialogs.h"
#include "platform/framework/DesktopIntegration.h"
#include "platform/framework/WorkerThread.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp* g_app = nullptr;

const char* const kRecentSection = "Recent File List";

// Input and window activation mean the state of commands may have changed.
class IdleTrigger : public QObject {
public:
    explicit IdleTrigger(CWinApp* app) : m_app(app) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::KeyRelease:
        case QEvent::MouseButtonRelease:
        case QEvent::WindowActivate:
        case QEvent::FocusIn:
            m_app->ScheduleIdle();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CWinApp* m_app;
};

std::string utf8(const char* programText)
{
    return ToQString(CString(programText)).toStdString();
}

}

CWinApp* AfxGetApp()
{
    return g_app;
}

CWnd* AfxGetMainWnd()
{
    return g_app ? g_app->m_pMainWnd : nullptr;
}

int AfxMessageBox(const char* text, UINT type, UINT helpId)
{
    if (!IsUiThread()) {
        // A worker's box is shown by the user-interface thread; the worker waits for the answer.
        int answer = IDCANCEL;
        CString copy(text);
        RunOnUiThread([&answer, copy, type, helpId] { answer = AfxMessageBox(copy, type, helpId); }, true);
        return answer;
    }
    if (g_app)
        return g_app->DoMessageBox(text, type, helpId);
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    return UserInterface::Current().MessageBox(utf8(text), "Quorvant", type);
}

int AfxMessageBoxUnicode(const QString& text, UINT type)
{
    if (!IsUiThread()) {
        int answer = IDCANCEL;
        RunOnUiThread([&answer, text, type] { answer = AfxMessageBoxUnicode(text, type); }, true);
        return answer;
    }
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    const CString caption = g_app ? g_app->m_pszAppName : CString("Quorvant");
    return UserInterface::Current().MessageBox(text.toStdString(), ToQString(caption).toStdString(), type);
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId)
{
    CString text;
    text.LoadString(stringId);
    return AfxMessageBox(text, type, helpId);
}

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName ? appName : "Quorvant")
{
    g_app = this;
    UserInterface::SetDefault(&QtUserInterface::Instance());
    MapCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    MapCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    MapCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    MapCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, [this](UINT id) { OnOpenRecentFile(id); });
    MapUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, [this](CCmdUI* ui) { UpdateRecentFileItem(ui); });
}

CWinApp::~CWinApp()
{
    delete m_idleTimer;
    delete m_idleFilter;
    for (CDocTemplate* t : m_templates)
        delete t;
    m_templates.clear();
    if (g_app == this)
        g_app = nullptr;
}

int CWinApp::ExitInstance()
{
    if (m_maxRecentFiles > 0)
        SaveRecentFiles();
    return 0;
}

int CWinApp::Run()
{
    if (!m_idleFilter) {
        m_idleFilter = new IdleTrigger(this);
        qApp->installEventFilter(m_idleFilter);
        m_idleTimer = new QTimer;
        QObject::connect(m_idleTimer, &QTimer::timeout, [this] { OnIdle(0); });
        m_idleTimer->start(500);
    }
    ScheduleIdle();
    return QApplication::exec();
}

BOOL CWinApp::OnIdle(long)
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->OnIdleUpdateCmdUI();
    return FALSE;
}

void CWinApp::ScheduleIdle()
{
    if (!QCoreApplication::instance())
        return;
    static bool pending = false;
    if (pending)
        return;
    pending = true;
    QTimer::singleShot(0, [this] {
        pending = false;
        if (g_app == this)
            OnIdle(0);
    });
}

void CWinApp::LoadStdProfileSettings(UINT maxRecentFiles)
{
    m_maxRecentFiles = std::min<UINT>(maxRecentFiles, ID_FILE_MRU_FILE4 - ID_FILE_MRU_FILE1 + 1);
    LoadRecentFiles();
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue)
{
    std::string value = AppProfile::GetProfileString(utf8(section), utf8(entry), utf8(defaultValue));
    return FromQString(QString::fromStdString(value));
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    return UINT(AppProfile::GetProfileInt(utf8(section), utf8(entry), defaultValue));
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value)
{
    return AppProfile::WriteProfileString(utf8(section), utf8(entry), utf8(value));
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value)
{
    return AppProfile::WriteProfileInt(utf8(section), utf8(entry), value);
}

void CWinApp::LoadRecentFiles()
{
    m_recentFiles.clear();
    for (UINT i = 1; i <= m_maxRecentFiles; ++i) {
        std::string path = AppProfile::GetProfileString(kRecentSection, "File" + std::to_string(i));
        if (!path.empty())
            m_recentFiles.emplace_back(path);
    }
}

void CWinApp::SaveRecentFiles()
{
    for (UINT i = 1; i <= m_maxRecentFiles; ++i) {
        std::string path = i <= m_recentFiles.size() ? m_recentFiles[i - 1].str() : std::string();
        AppProfile::WriteProfileString(kRecentSection, "File" + std::to_string(i), path);
    }
}

void CWinApp::AddToRecentFileList(const char* path)
{
    if (m_maxRecentFiles == 0 || !path || !*path)
        return;
    CString entry(path);
    m_recentFiles.erase(std::remove(m_recentFiles.begin(), m_recentFiles.end(), entry), m_recentFiles.end());
    m_recentFiles.insert(m_recentFiles.begin(), entry);
    if (m_recentFiles.size() > m_maxRecentFiles)
        m_recentFiles.resize(m_maxRecentFiles);
    SaveRecentFiles();
}

void CWinApp::UpdateRecentFileItem(CCmdUI* ui)
{
    auto* item = dynamic_cast<CMenuItemCmdUI*>(ui);
    size_t index = ui->m_nID - ID_FILE_MRU_FILE1;
    if (!item) {
        ui->Enable(index < m_recentFiles.size());
        return;
    }
    QAction* action = item->action();
    if (ui->m_nID == ID_FILE_MRU_FILE1)
        item->EnsureSiblings(ID_FILE_MRU_FILE1 + 1, ID_FILE_MRU_FILE1 + std::max<UINT>(m_maxRecentFiles, 1) - 1);
    if (index < m_recentFiles.size()) {
        QString name = QFileInfo(PathToQString(m_recentFiles[index])).fileName();
        action->setText(QString("&%1 %2").arg(index + 1).arg(name));
        action->setVisible(true);
        ui->Enable(TRUE);
    } else if (index == 0) {
        action->setText("Recent File");
        action->setVisible(true);
        ui->Enable(FALSE);
    } else {
        action->setVisible(false);
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    m_templates.push_back(docTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_templates.empty() ? nullptr : reinterpret_cast<POSITION>(std::uintptr_t(1));
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& position) const
{
    auto index = reinterpret_cast<std::uintptr_t>(position);
    if (index == 0 || index > m_templates.size()) {
        position = nullptr;
        return nullptr;
    }
    CDocTemplate* t = m_templates[index - 1];
    position = index < m_templates.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return t;
}

CDocument* CWinApp::OpenDocumentFile(const char* path)
{
    if (m_templates.empty())
        return nullptr;
    for (CDocTemplate* t : m_templates)
        if (CDocument* open = t->FindDocument(path)) {
            POSITION pos = open->GetFirstViewPosition();
            if (CView* view = open->GetNextView(pos))
                if (CFrameWnd* frame = view->GetParentFrame())
                    frame->ActivateFrame();
            return open;
        }
    return m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::OnFileNew()
{
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    if (m_templates.empty())
        return;
    CString filterName, extension;
    m_templates.front()->GetDocString(filterName, CDocTemplate::filterName);
    m_templates.front()->GetDocString(extension, CDocTemplate::filterExt);
    CString filter;
    if (!filterName.IsEmpty())
        filter = filterName + "|*" + extension + "|";
    filter += "All Files (*.*)|*||";
    CFileDialog dialog(TRUE, extension.IsEmpty() ? nullptr : extension.Mid(1).c_str(), nullptr,
                       OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter, m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dialog(TRUE, 0, m_pMainWnd);
    dialog.DoModal();
}

BOOL CWinApp::OnOpenRecentFile(UINT id)
{
    size_t index = id - ID_FILE_MRU_FILE1;
    if (index >= m_recentFiles.size())
        return FALSE;
    CString path = m_recentFiles[index];
    if (OpenDocumentFile(path))
        return TRUE;
    // A file that cannot be opened any more leaves the list.
    m_recentFiles.erase(std::remove(m_recentFiles.begin(), m_recentFiles.end(), path), m_recentFiles.end());
    SaveRecentFiles();
    return FALSE;
}

BOOL CWinApp::SaveAllModified()
{
    for (CDocTemplate* t : m_templates)
        if (!t->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    for (CDocTemplate* t : m_templates)
        t->CloseAllDocuments(endSession);
}

void CWinApp::OnAppExit()
{
    if (!SaveAllModified())
        return;
    CloseAllDocuments(FALSE);
    if (m_pMainWnd)
        m_pMainWnd->DestroyWindow();
    if (QCoreApplication::instance())
        QCoreApplication::quit();
}

void CCommandLineInfo::Parse(const QStringList& arguments)
{
    m_nShellCommand = FileNew;
    for (int i = 0; i < arguments.size(); ++i) {
        QString a = arguments[i];
        bool flag = a.startsWith('/') && a.size() <= 4 ? true : a.startsWith('-');
        QString name = flag ? a.mid(1).toLower() : QString();
        if (flag && (name == "p" || name == "pt")) {
            m_nShellCommand = name == "p" ? FilePrint : FilePrintTo;
        } else if (flag && (name == "dde" || name == "embedding" || name == "automation")) {
            continue;  // no inter-process verbs here
        } else if (m_strFileName.IsEmpty()) {
            m_strFileName = PathFromQString(a);
            if (m_nShellCommand == FileNew)
                m_nShellCommand = FileOpen;
        } else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty()) {
            m_strPrinterName = PathFromQString(a);
        }
    }
    if ((m_nShellCommand == FilePrint || m_nShellCommand == FilePrintTo) && m_strFileName.IsEmpty())
        m_nShellCommand = FileNew;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    info.Parse(m_arguments);
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return TRUE;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo: {
        CDocument* doc = OpenDocumentFile(info.m_strFileName);
        if (!doc)
            return FALSE;
        POSITION pos = doc->GetFirstViewPosition();
        if (CView* view = doc->GetNextView(pos))
            view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT);
        CloseAllDocuments(FALSE);
        return FALSE;  // printing from the command line ends the program
    }
    default:
        return TRUE;
    }
}

void CWinApp::RegisterShellFileTypes(BOOL)
{
    DesktopIntegration::Install(DesktopIntegration::DefaultDataFolder(), DesktopIntegration::Entry::Default());
}

int CWinApp::DoMessageBox(const char* prompt, UINT type, UINT)
{
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    return UserInterface::Current().MessageBox(utf8(prompt), ToQString(m_pszAppName).toStdString(), type);
}

int MessageBox(CWnd* owner, const char* text, const char* caption, UINT type)
{
    if (!IsUiThread()) {
        int answer = IDCANCEL;
        CString t(text), c(caption ? caption : "Quorvant");
        RunOnUiThread([&] { answer = MessageBox(owner, t, c, type); }, true);
        return answer;
    }
    return UserInterface::Current().MessageBox(utf8(text), utf8(caption ? caption : "Quorvant"), type);
}

int AfxWinMain(const QStringList& arguments)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->SetCommandLine(arguments);
    if (!app->InitInstance()) {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    app->Run();
    return app->ExitInstance();
}
