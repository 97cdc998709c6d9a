#include "app/dialogs/COKPanel.h"

#include "platform/framework/CFrameWnd.h"

IMPLEMENT_DYNCREATE(COKPanel, CFormView)

COKPanel::COKPanel() : CFormView(IDD)
{
    MapNotify(BN_CLICKED, IDC_OK, [this] { EndFrame(IDOK); });
    MapNotify(BN_CLICKED, IDC_CANCEL, [this] { EndFrame(IDCANCEL); });
}

void COKPanel::EndFrame(int result)
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->EndModalLoop(result);
}

// Activated, the panel gives the focus to OK.
void COKPanel::OnActivateView(BOOL activate, CView*, CView*)
{
    if (CWnd* ok = GetDlgItem(IDC_OK); activate && ok)
        GotoDlgCtrl(ok);
}
