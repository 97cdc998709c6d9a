#pragma once
// A document window inside the main frame's MDI area (a QMdiSubWindow). It
// keeps its normal (restored) rectangle itself, so the placement can be read
// and set while the window is maximised.
#include "platform/framework/CFrameWnd.h"

class CMDIFrameWnd;
class QMdiSubWindow;
class QRect;
class QSize;

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = SW_SHOWNORMAL;
    CPoint ptMinPosition;
    CPoint ptMaxPosition;
    CRect rcNormalPosition;  // in the MDI area's client coordinates
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    CMDIChildWnd();

    CMDIFrameWnd* GetMDIFrame() const { return m_pMDIFrame; }
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();
    void MDIDestroy() { DestroyWindow(); }

    // Where the index-th of a cascade of document windows goes in an area of
    // the given size: three quarters of the area, so that the text shows,
    // each one title bar further down and right, starting over at the top
    // left where the next would leave the area. New windows take their
    // place by it, and Window > Cascade places every window by it.
    static QRect CascadeRect(const QSize& area, int index);

    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);

    void ActivateFrame(int cmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    bool PreTranslateKey(const KeyStroke& key) override;
    BOOL ShowWindow(int cmd) override;
    // The menu of the document template this window belongs to.
    CMenu* SharedMenu() const { return m_sharedMenu; }

    QMdiSubWindow* subWindow() const;

protected:
    BOOL CreateFrameWidget(DWORD style, CWnd* parent) override;
    BOOL OnCreateClient(CCreateContext* context) override;
    void SetClientWidget(QWidget* widget) override;
    bool IsTopLevelRoute() const override { return false; }
    void OnClose() override;
    void OnDestroy() override;

private:
    friend class NormalRectTracker;
    CMDIFrameWnd* m_pMDIFrame = nullptr;
    CMenu* m_sharedMenu = nullptr;
    CRect m_normalRect;
};
