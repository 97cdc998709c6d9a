#pragma once
// The main frame of a multiple-document program: a QMainWindow whose central
// widget is a QMdiArea holding the document windows (CMDIChildWnd). Its menu
// bar shows its own menu while no document window is active and the document
// template's menu while one is. Commands go to the active document window
// (view, document, child frame), then to this frame, then to the application.
#include "platform/framework/CFrameWnd.h"

class CMDIChildWnd;
class QMdiArea;
class QMdiSubWindow;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNAMIC(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parent = nullptr, CCreateContext* context = nullptr) override;

    // The active document window, and whether it is maximised.
    CMDIChildWnd* MDIGetActive(BOOL* maximized = nullptr) const;
    CFrameWnd* GetActiveFrame() override;
    CDocument* GetActiveDocument() override;
    QMdiArea* mdiArea() const;

    bool OnCmdMsg(UINT id, CCmdUI* pUI) override;
    bool HasCommandHandler(UINT id) override;
    bool PreTranslateKey(const KeyStroke& key) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnIdleUpdateCmdUI() override;

    // Window > Cascade: every document window that is not minimised, at a
    // size that shows its text, one title bar apart, the active one in front.
    void MDICascade();
    // Window > Arrange Icons: the minimised document windows in rows along
    // the bottom of the area; the others stay where they are.
    void MDIIconArrange();

    // Shows the menu of the active document window (or the frame's own).
    void UpdateMenuForActiveChild();
    // The "Window" popup lists the document windows, the active one checked.
    void OnInitMenuPopup(QMenu* popup) override;

    // The window that holds the document windows (its client rectangle is
    // the area document windows may take).
    CWnd m_wndMDIClient;

protected:
    BOOL CreateFrameWidget(DWORD style, CWnd* parent) override;
    void SetClientWidget(QWidget*) override {}
    BOOL OnCreateClient(CCreateContext*) override { return TRUE; }

private:
    void ChildActivated(QMdiSubWindow* sub);
    QPointer<QMdiSubWindow> m_lastActive;
};
