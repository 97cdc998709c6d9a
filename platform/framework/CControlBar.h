#pragma once
// A bar of the main frame: docked at its top inside a QToolBar, or floating in
// a small tool window of its own at a given screen point. Float-only bars
// (EnableDocking(0)) never dock. Buttons and panes are updated at idle time
// through the frame's command routing.
#include <QPointer>

#include "platform/framework/CWnd.h"

class CFrameWnd;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    ~CControlBar() override;

    void EnableDocking(DWORD style) { m_dockStyle = style; }
    DWORD GetDockingStyle() const { return m_dockStyle; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    BOOL IsFloating() const { return m_floating; }

    void Dock(CFrameWnd* frame);
    void Float(CFrameWnd* frame, CPoint screenPoint);

    BOOL ShowWindow(int cmd) override;
    BOOL IsWindowVisible() const override;
    void SetWindowText(const char* text) override;
    void GetWindowRect(CRect* rect) const override;
    // The size of a floating bar's window with its frame (empty when docked).
    QSize FloatingFrameSize() const;
    BOOL DestroyWindow() override;

    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {}

    // The frame whose routing receives the bar's commands.
    CFrameWnd* GetDockingFrame() const { return m_frame; }

protected:
    // Creates the bar's own widget (the bridge of this CWnd) for a frame.
    void CreateBarWidget(CFrameWnd* frame, DWORD style, UINT id);
    void PostNcDestroy() override {}
    // The layout for the bar's current place (a docked bar is one row).
    virtual void Relayout() {}

    CFrameWnd* m_frame = nullptr;
    DWORD m_dwStyle = 0;
    DWORD m_dockStyle = CBRS_ALIGN_ANY;
    bool m_floating = false;
    bool m_visible = true;
    CString m_title;
    QPointer<QWidget> m_container;  // the QToolBar or the floating window
};
