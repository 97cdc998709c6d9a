#include "platform/framework/CFormView.h"

#include "platform/framework/DialogTemplateBuilder.h"
#include "platform/framework/WndBridge.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

QWidget* CFormView::CreateViewWidget(QWidget* parent)
{
    auto* w = new WndWidget<QWidget>(this, parent);
    w->setNativeBehaviour(true);
    return w;
}

BOOL CFormView::Create(CWnd* parent, UINT id, CCreateContext* context)
{
    if (!CView::Create(parent, id, context))
        return FALSE;
    m_widget->setFocusPolicy(Qt::NoFocus);
    return CreateControlsFromTemplate(m_nIDTemplate);
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
}
