#include "app/dialogs/CWMFDragListBox.h"

#include "platform/draw/CDC.h"
#include "platform/draw/EnhMetafile.h"

#include <algorithm>

void CWMFDragListBox::DrawItem(DRAWITEMSTRUCT* item)
{
    if (!item || !item->pDC)
        return;
    if (auto* picture = reinterpret_cast<const EnhMetafile*>(item->itemData))
        item->pDC->PlayEnhMetaFile(*picture, item->rcItem);
    if (item->itemState & ODS_SELECTED)
        item->pDC->InvertRect(item->rcItem);
}

void CWMFDragListBox::MeasureItem(MEASUREITEMSTRUCT* item)
{
    item->itemWidth = kItemWidth;
    item->itemHeight = kItemHeight;
}

void CWMFDragListBox::OnKeyDown(UINT vk, UINT, UINT)
{
    if (vk == VK_DELETE)
        DeleteCaretItem();
}

void CWMFDragListBox::DeleteCaretItem()
{
    const int caret = GetCaretIndex();
    if (caret <= 0 || caret >= GetCount())
        return;
    DeleteString(caret);
    SetCurSel(std::min(caret, GetCount() - 1));
    if (CWnd* parent = GetParent())
        parent->OnControlNotify(LBN_SELCHANGE, UINT(GetDlgCtrlID()));
}
