#pragma once
// A view whose contents are the controls of a dialog template (the panels of
// a frame). Its data exchange runs at the initial update; control
// notifications and button commands reach the view and then its document.
#include "platform/framework/CView.h"

class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT templateId) : m_nIDTemplate(templateId) {}

    BOOL Create(CWnd* parent, UINT id, CCreateContext* context) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC*) override {}

    UINT m_nIDTemplate;

protected:
    QWidget* CreateViewWidget(QWidget* parent) override;
    void OnPaint() override {}
};
