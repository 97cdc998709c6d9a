#pragma once
// A toolbar of command buttons from a toolbar resource: the images are cut
// from the resource's image strip, one button after another. Buttons are laid
// out in rows; a button with TBBS_WRAPPED ends its row (the floating palettes
// use a wrap after every fourth button). A docked bar is one row.
#include <QPointer>
#include <vector>

#include "platform/framework/CControlBar.h"

class QGridLayout;
class QToolButton;

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  const CRect& borders = CRect(), UINT id = AFX_IDW_TOOLBAR)
    {
        return Create(parent, style, id);
    }
    BOOL LoadToolBar(UINT resourceId);

    int GetCount() const { return int(m_buttons.size()); }
    UINT GetItemID(int index) const;
    int CommandToIndex(UINT id) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    // The button's widget (null for a separator), for tests and layout.
    QToolButton* GetButton(int index) const;

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

protected:
    void Relayout() override;

private:
    struct Button {
        UINT id = 0;
        UINT style = 0;
        QPointer<QToolButton> widget;
    };
    std::vector<Button> m_buttons;
    QGridLayout* m_layout = nullptr;
};
