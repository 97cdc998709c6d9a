#include "app/dialogs/CTermOrderingDialog.h"

#include "app/dialogs/CTermPriorityDialog.h"
#include "foundation/ExprNode.h"
#include "kernel/KernelLink.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/DialogControls.h"

#include <memory>

BOOL CTermOrderingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    Refill(0);
    return TRUE;
}

void CTermOrderingDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, kReorderId, m_ordering.useOrdering);
    DDX_Check(dx, kConstantsId, m_ordering.constantsToBack);
}

void CTermOrderingDialog::Refill(int selected)
{
    auto* list = dynamic_cast<CListBox*>(GetDlgItem(kListId));
    if (!list)
        return;
    list->ResetContent();
    for (const TermEntry& entry : m_ordering.entries)
        list->AddString(TermOrdering::LineText(entry).c_str());
    if (!m_ordering.entries.empty())
        list->SetCurSel(std::min(selected, int(m_ordering.entries.size()) - 1));
}

void CTermOrderingDialog::OnControlNotify(UINT code, UINT id)
{
    auto* list = dynamic_cast<CListBox*>(GetDlgItem(kListId));
    const int selected = list ? list->GetCurSel() : -1;
    if (id == kListId) {
        if (code == LBN_DBLCLK)
            EditEntry();
        return;
    }
    if (code != BN_CLICKED)
        return CDialog::OnControlNotify(code, id);
    switch (id) {
    case kReorderId:
    case kConstantsId:
        m_changed = true;
        return;
    case kSortVariableId:
        m_ordering.SortByVariable();
        break;
    case kSortPriorityId:
        m_ordering.SortByPriority();
        break;
    case kNewId:
        return NewEntry();
    case kEditId:
        return EditEntry();
    case kDeleteId:
        if (selected < 0 || selected >= int(m_ordering.entries.size()))
            return;
        m_ordering.entries.erase(m_ordering.entries.begin() + selected);
        break;
    case kDefaultsId:
        UseDefaults();
        break;
    case kMakeDefaultId:
        UpdateData(TRUE);
        m_ordering.Save();
        return;
    default:
        return CDialog::OnControlNotify(code, id);
    }
    m_changed = true;
    Refill(selected);
}

void CTermOrderingDialog::NewEntry()
{
    CTermPriorityDialog ask("", 0, this);
    if (ask.DoModal() != IDOK || ask.m_symbol.str().empty())
        return;
    if (m_ordering.SetPriority(ask.m_symbol.str(), ask.m_priority)) {
        m_changed = true;
        Refill(0);
    }
}

void CTermOrderingDialog::EditEntry()
{
    auto* list = dynamic_cast<CListBox*>(GetDlgItem(kListId));
    const int selected = list ? list->GetCurSel() : -1;
    if (selected < 0 || selected >= int(m_ordering.entries.size()))
        return;
    TermEntry& entry = m_ordering.entries[std::size_t(selected)];
    CTermPriorityDialog ask(entry.symbol, entry.priority, this);
    if (ask.DoModal() != IDOK || ask.m_symbol.str().empty())
        return;
    entry = {ask.m_symbol.str(), ask.m_priority};
    m_changed = true;
    Refill(selected);
}

void CTermOrderingDialog::UseDefaults()
{
    UpdateData(TRUE);
    if (GetKeyState(VK_CONTROL) < 0) {
        m_ordering.Load();
    } else if (KernelLink* link = KernelLink::Get(); link && link->IsReady()) {
        std::unique_ptr<ExprNode> answer(link->ResetSortPriorities(true));
        m_ordering.FromKernelList(answer.get(), m_ordering.constantsToBack);
    }
    UpdateData(FALSE);
}
