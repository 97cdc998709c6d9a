#pragma once
// A frame window: a top-level QMainWindow (the main frame, a modal frame
// window) or, in CMDIChildWnd, a document window inside the main frame. It
// owns the menu bar and accelerator table of its resource id, knows its
// active view, routes commands (active view, then itself, then the
// application for a top-level frame) and keeps its control bars.
#include <QPointer>
#include <memory>
#include <vector>

#include "platform/framework/CMenu.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/ResourceStore.h"

class CControlBar;
class CDocTemplate;
class CDocument;
class CView;
class QEventLoop;
class QMainWindow;
struct CPrintInfo;

// What the document template hands to a new frame: which view to make and for whom.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Makes the frame from resource id: its menu, accelerators and title
    // (the resource string's text before the first line break).
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    // Makes a frame with a title, size and menu resource (0 for none).
    BOOL Create(const char* className, const char* title, DWORD style, const CRect& rect,
                CWnd* parent = nullptr, UINT menuId = 0, DWORD exStyle = 0, CCreateContext* context = nullptr);

    CView* GetActiveView() const;
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // Creates the view of context->m_pNewViewClass as a child of this frame.
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    // After a document is opened in this frame: the views' initial update,
    // the frame activated and shown.
    virtual void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void ActivateFrame(int cmdShow = -1);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);

    // Control bars.
    void EnableDocking(DWORD style);
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, const CRect* rect = nullptr);
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style = 0);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay = FALSE);
    virtual void RecalcLayout(BOOL notify = TRUE) {}
    // Updates the bars' buttons and panes (run at idle).
    virtual void OnIdleUpdateCmdUI();
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    void SetMessageText(const char* text);
    void SetMessageText(UINT id);

    // A local modal loop for a frame used as a dialog; EndModalLoop's
    // result is RunModalLoop's answer.
    int RunModalLoop(DWORD flags = 0);
    void EndModalLoop(int result);
    BOOL IsInModalLoop() const { return m_modalLoop != nullptr; }
    void BeginModalState() {}
    void EndModalState() {}

    // A popup of the menu bar is about to open (after its items were updated).
    virtual void OnInitMenuPopup(QMenu* popup) {}

    // Print preview hooks.
    virtual void OnSetPreviewMode(BOOL preview, struct CPrintPreviewState* state) {}

    bool OnCmdMsg(UINT id, CCmdUI* pUI) override;
    bool HasCommandHandler(UINT id) override;
    bool PreTranslateKey(const KeyStroke& key) override;
    BOOL OnCmdMsgFromUser(UINT id) override;

    QMainWindow* mainWindow() const;
    CMenu& GetMenuObject() { return m_menu; }
    UINT GetResourceId() const { return m_nIDHelp; }
    // The accelerator table in use (the frame's resource id unless set).
    void SetAccelerators(UINT id) { m_acceleratorId = id; }
    // True when key is in the accelerator table id; the command is routed.
    bool TranslateAccelerator(UINT tableId, const KeyStroke& key);
    // Puts a child window's widget in the frame's client area.
    virtual void SetClientWidget(QWidget* widget);

    BOOL m_bAutoMenuEnable = TRUE;
    CString m_strTitle;

protected:
    virtual BOOL OnCreateClient(CCreateContext* context);
    void PostNcDestroy() override;
    void OnDestroy() override;
    void OnClose() override;
    // Makes the Qt window (a QMainWindow); CMDIChildWnd makes its own.
    virtual BOOL CreateFrameWidget(DWORD style, CWnd* parent);
    void InstallMenu(CMenu& menu);
    virtual bool IsTopLevelRoute() const { return true; }
    void UpdateFrameTitleForDocument(const char* docName);

    UINT m_nIDHelp = 0;
    UINT m_acceleratorId = 0;
    CMenu m_menu;
    QPointer<QWidget> m_activeViewWidget;
    std::vector<CControlBar*> m_bars;
    DWORD m_dockStyle = 0;

private:
    QEventLoop* m_modalLoop = nullptr;
    int m_modalResult = 0;
};
