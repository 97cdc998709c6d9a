#include "app/dialogs/CKernelQueryDialog.h"

#include "platform/framework/DialogControls.h"

BOOL CKernelQueryDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(kPromptId, m_prompt.c_str());
    if (auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kChoicesId))) {
        for (const std::string& choice : m_choices)
            combo->AddString(choice.c_str());
        combo->SetCurSel(0);
    }
    return TRUE;
}

void CKernelQueryDialog::OnOK()
{
    auto* combo = dynamic_cast<CComboBox*>(GetDlgItem(kChoicesId));
    m_chosen = combo ? combo->GetCurSel() : 0;
    if (m_chosen < 0)
        m_chosen = 0;
    CDialog::OnOK();
}
