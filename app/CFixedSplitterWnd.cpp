#include "app/CFixedSplitterWnd.h"

#include "platform/draw/CDC.h"
#include "platform/framework/Cursors.h"

IMPLEMENT_DYNAMIC(CFixedSplitterWnd, CSplitterWnd)

CFixedSplitterWnd::CFixedSplitterWnd()
{
    m_cxSplitter = m_cySplitter = 0;
    m_cxBorderShare = m_cyBorderShare = 0;
    m_cxBorder = m_cyBorder = 0;
    m_cxSplitterGap = m_cySplitterGap = 1;
}

void CFixedSplitterWnd::OnDrawSplitter(CDC* dc, int, const CRect& rect)
{
    if (!dc) {
        InvalidateRect(&rect, TRUE);
        return;
    }
    dc->FillSolidRect(rect, GetSysColor(COLOR_BTNFACE));
}

BOOL CFixedSplitterWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    SetCursor(LoadStandardCursor(IDC_ARROW));
    return TRUE;
}
