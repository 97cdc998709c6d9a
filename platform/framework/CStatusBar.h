#pragma once
// The status bar: the message pane (pane 0, stretching) and indicator panes
// by command id, whose text is their resource string, shown while their
// update handler enables them. The status text of the user-interface seam
// appears over the message pane.
#include <QPointer>
#include <vector>

#include "platform/framework/CControlBar.h"

class QLabel;
class QStatusBar;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* ids, int count);
    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    BOOL SetPaneText(int index, const char* text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    void SetWindowText(const char* text) override { SetPaneText(0, text); }

    BOOL ShowWindow(int cmd) override;
    BOOL IsWindowVisible() const override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

    QStatusBar* statusBar() const;

private:
    struct Pane {
        UINT id = 0;
        QPointer<QLabel> label;
        QString text;
    };
    std::vector<Pane> m_panes;
};
