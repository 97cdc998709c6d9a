#include "app/dialogs/CKernelSelectDialog.h"

#include "platform/framework/DialogControls.h"

BOOL CKernelSelectDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int labelIds[] = {kPromptId, kLeftLabelId, kRightLabelId};
    for (std::size_t i = 0; i < m_labels.size() && i < 3; ++i)
        SetDlgItemText(labelIds[i], m_labels[i].c_str());
    Fill(kLeftId, m_left, 0);
    Fill(kRightId, m_right, 0);
    return TRUE;
}

void CKernelSelectDialog::Fill(int id, const std::vector<int>& items, int selected)
{
    auto* list = dynamic_cast<CListBox*>(GetDlgItem(id));
    if (!list)
        return;
    list->ResetContent();
    for (int item : items)
        list->AddString(m_texts[std::size_t(item)].c_str());
    if (!items.empty())
        list->SetCurSel(selected);
}

void CKernelSelectDialog::Move(int fromId, std::vector<int>& from, int toId, std::vector<int>& to)
{
    auto* list = dynamic_cast<CListBox*>(GetDlgItem(fromId));
    const int selected = list ? list->GetCurSel() : -1;
    if (selected < 0 || selected >= int(from.size()))
        return;
    to.push_back(from[std::size_t(selected)]);
    from.erase(from.begin() + selected);
    Fill(fromId, from, 0);
    Fill(toId, to, int(to.size()) - 1);
}

void CKernelSelectDialog::OnControlNotify(UINT code, UINT id)
{
    if ((id == kToRightId && code == BN_CLICKED) || (id == kLeftId && code == LBN_DBLCLK))
        return Move(kLeftId, m_left, kRightId, m_right);
    if ((id == kToLeftId && code == BN_CLICKED) || (id == kRightId && code == LBN_DBLCLK))
        return Move(kRightId, m_right, kLeftId, m_left);
    CDialog::OnControlNotify(code, id);
}
