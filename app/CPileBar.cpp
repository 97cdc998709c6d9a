#include "app/CPileBar.h"

#include "platform/framework/DataExchange.h"

IMPLEMENT_DYNAMIC(CPileBar, CDialogBar)

namespace {
constexpr int kPileControl = 1122;
}

CPileBar::CPileBar() : m_pile(MakePileWindow()) {}

CPileBar::~CPileBar()
{
    if (gPileWindow == m_pile.get())
        gPileWindow = nullptr;
}

BOOL CPileBar::Create(CWnd* parent, UINT templateId, UINT style, UINT barId)
{
    if (!CDialogBar::Create(parent, templateId, style, barId) || !UpdateData(FALSE) || !m_pile->widget())
        return FALSE;
    gPileWindow = m_pile.get();
    return TRUE;
}

void CPileBar::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, kPileControl, *m_pile);
}

void CPileBar::SetDrawing(DiagramComp* drawing)
{
    m_pile->SetDrawing(drawing);
}
