#pragma once
// The application object. Its start-up makes the process-wide objects in a
// fixed order (paragraph styles, clipboard, text preferences, fonts, the
// kernel link and its settings), registers the one document template, makes
// the main frame and runs the command line; its exit quits a running kernel
// and frees those objects again. It owns the Kernel menu commands that need
// no document, the About box, and redrawing every open document view.
#include <functional>

#include "platform/framework/CWinApp.h"

class CalculationHold;
class DocClipboard;
class FontManager;
class KernelLink;
class KernelQuestionDialogs;
class KernelSettings;
class StyleTable;
class TextPrefs;

class CCorvellApp : public CWinApp {
    DECLARE_DYNAMIC(CCorvellApp)
public:
    // Commands of the application.
    enum : UINT {
        ID_KERNEL_START = 34001,
        ID_KERNEL_QUIT = 34002,
        ID_KERNEL_CALCULATION_OPTIONS = 34003,
        ID_KERNEL_TERM_ORDERING = 34004,
        ID_KERNEL_CONNECTION = 34005,
    };
    // Resources: the main frame, the document template, the About box.
    enum : UINT { IDR_MAINFRAME = 128, IDR_CORVELLTYPE = 129, IDD_ABOUTBOX = 100 };
    static constexpr const char* kRegistryKey = "Tarnwick";
    static constexpr UINT kRecentFileCount = 4;

    CCorvellApp();
    ~CCorvellApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The text preferences (font names), null outside start-up..exit.
    TextPrefs* GetTextPrefs() const { return m_pTextPrefs; }
    // The kernel connection settings, null outside start-up..exit.
    KernelSettings* GetKernelSettings() const { return m_pKernelSettings; }
    // Whether the network layer could be set up at start-up.
    bool SocketsReady() const { return m_bSocketsReady; }

    // Lays out every open document's main view again and repaints it
    // (after the text preferences change).
    void RedrawAllViews();

    // The modal About box.
    void OnAppAbout();

    // Start-up and exit report each step by name to this observer when one
    // is installed (tests follow the order with it); answers the old one.
    using StepObserver = std::function<void(const char* step)>;
    static StepObserver SetStepObserver(StepObserver observer);

protected:
    // The kernel link made at start-up; tests give their own.
    virtual KernelLink* CreateKernelLink();
    // Registers the document type with the desktop when the installed
    // entries are missing or out of date.
    virtual void RegisterDocumentType();
    // Shows the main window maximised and updates it.
    virtual void ShowMainWindow();

private:
    void Step(const char* name);
    void MakeDocTemplate();
    BOOL MakeMainFrame();

    void OnKernelStart();
    void OnKernelQuit();
    void OnKernelConnection();
    void OnKernelCalculationOptions();
    void OnKernelTermOrdering();
    void OnUpdateNeedsNoKernel(CCmdUI* ui);
    void OnUpdateNeedsIdleKernel(CCmdUI* ui);
    void OnUpdateKernelQuit(CCmdUI* ui);

    KernelSettings* m_pKernelSettings = nullptr;
    KernelQuestionDialogs* m_pKernelQuestions = nullptr;
    CalculationHold* m_pCalculationHold = nullptr;
    TextPrefs* m_pTextPrefs = nullptr;
    // The process-wide objects this start-up made (exit frees only these).
    StyleTable* m_pStyleTable = nullptr;
    DocClipboard* m_pClipboard = nullptr;
    FontManager* m_pFontManager = nullptr;
    bool m_bSocketsReady = false;
    void InstallConstantsRoutes();
};

// The one application object, for the parts of the program that need its
// members; null before start-up and once exit has begun.
CCorvellApp* GetCorvellApp();
