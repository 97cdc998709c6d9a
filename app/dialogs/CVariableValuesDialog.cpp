#include "app/dialogs/CVariableValuesDialog.h"

#include "platform/framework/DataExchange.h"

#include <utility>

namespace {
constexpr int kNameList = 1075;
}

CVariableValuesDialog::CVariableValuesDialog(std::vector<Str255> names, CWnd* parent)
    : CDialog(IDD, parent), m_names(std::move(names))
{
}

BOOL CVariableValuesDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(kNameList, this);
    m_list.ResetContent();
    for (const Str255& name : m_names)
        m_list.AddString(name.GetText());
    m_list.SetCurSel(0);
    return TRUE;
}

void CVariableValuesDialog::DoDataExchange(CDataExchange* dx)
{
    if (!dx->m_bSaveAndValidate)
        return;
    DDX_CBIndex(dx, kNameList, m_nChosen);
    if (m_nChosen >= 0)
        DDX_CBString(dx, kNameList, m_strChosen);
}
