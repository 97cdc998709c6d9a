#include "app/dialogs/CVariableValueDialog.h"

#include "platform/framework/DataExchange.h"

BOOL CVariableValueDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(1124, m_strName);
    return TRUE;
}

void CVariableValueDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1000, m_dValue);
}
