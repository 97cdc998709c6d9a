#pragma once
// The application object: start-up and exit hooks, the main window, idle
// processing (toolbars and status panes are updated there), profile settings,
// the document templates, a four-entry recent-file list, the standard File
// commands (New, Open, Print Setup, recent files, Exit) and the command line.
#include <QStringList>
#include <vector>

#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CString.h"

class CWnd;
class QObject;
class QTimer;

// What the command line asks for: nothing given makes a new document, a path
// opens it, "/p path" (or "-p path") prints it, "/pt path printer" prints it there.
struct CCommandLineInfo {
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing } m_nShellCommand = FileNew;
    CString m_strFileName;
    CString m_strPrinterName;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    void Parse(const QStringList& arguments);  // without the program name
};

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance();
    // The event loop, with idle processing; answers the exit code.
    virtual int Run();
    // Idle work: the main frame's bars and panes are updated. More work
    // wanted: answer TRUE.
    virtual BOOL OnIdle(long count);
    // Asks for an idle pass soon (after input and commands).
    void ScheduleIdle();

    // Settings ("Tarnwick"/"Quorvant"); texts are program text.
    void SetRegistryKey(const char* company) { m_strRegistryKey = company ? company : ""; }
    void LoadStdProfileSettings(UINT maxRecentFiles = 4);
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = nullptr);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue);
    BOOL WriteProfileString(const char* section, const char* entry, const char* value);
    BOOL WriteProfileInt(const char* section, const char* entry, int value);

    void AddDocTemplate(CDocTemplate* docTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& position) const;
    // Opens a path (a document already open is activated instead).
    virtual CDocument* OpenDocumentFile(const char* path);

    // The recent-file list (UTF-8 paths, most recent first).
    virtual void AddToRecentFileList(const char* path);
    const std::vector<CString>& RecentFiles() const { return m_recentFiles; }

    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();
    void OnAppExit();
    BOOL OnOpenRecentFile(UINT id);
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);

    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);
    void SetCommandLine(const QStringList& arguments) { m_arguments = arguments; }

    void EnableShellOpen() {}
    // Installs the document type and a desktop entry the freedesktop way,
    // into the user's data folder (see DesktopIntegration).
    void RegisterShellFileTypes(BOOL compatibility = FALSE);
    void Enable3dControls() {}
    void EnableModeless(BOOL enable) {}

    virtual int DoMessageBox(const char* prompt, UINT type, UINT helpId);

    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    CString m_pszAppName;
    CString m_strRegistryKey;

protected:
    void UpdateRecentFileItem(CCmdUI* ui);
    void LoadRecentFiles();
    void SaveRecentFiles();

    std::vector<CDocTemplate*> m_templates;
    std::vector<CString> m_recentFiles;
    UINT m_maxRecentFiles = 0;
    QStringList m_arguments;

private:
    QObject* m_idleFilter = nullptr;
    QTimer* m_idleTimer = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// A message box through the application (or the seam when there is none).
// Without an icon in type, the exclamation icon is used.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = UINT(-1));
// The same for a text as the screen shows it, for texts that hold characters
// the program's set cannot (a file name, an address).
int AfxMessageBoxUnicode(const QString& text, UINT type = MB_OK);
// A message box exactly as asked (no icon added), through the seam.
int MessageBox(CWnd* owner, const char* text, const char* caption, UINT type);
inline BOOL AfxSocketInit() { return TRUE; }
// Starts the program: the application's InitInstance, Run and ExitInstance
// around the Qt application (which must exist).
int AfxWinMain(const QStringList& arguments);
