#include "platform/framework/CDialogBar.h"

#include "platform/framework/CFrameWnd.h"
#include "platform/framework/DialogTemplateBuilder.h"
#include "platform/framework/ResourceStore.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BOOL CDialogBar::Create(CWnd* parent, UINT templateId, UINT style, UINT barId)
{
    const DialogTemplate* t = ResourceStore::instance().dialog(templateId);
    if (!t)
        return FALSE;
    CreateBarWidget(dynamic_cast<CFrameWnd*>(parent), style, barId);
    m_visible = (style & WS_VISIBLE) != 0;
    m_widget->setFixedSize(DialogUnitsToPixels(DialogFont(*t), 0, 0, t->cx, t->cy).size());
    m_title = FromQString(t->caption);
    return CreateControlsFromTemplate(templateId);
}
