#include "app/dialogs/CCalculationPrefsDialog.h"

#include "platform/framework/DataExchange.h"
#include "platform/framework/DialogControls.h"

BOOL CCalculationPrefsDialog::OnInitDialog()
{
    if (auto* levels = dynamic_cast<CComboBox*>(GetDlgItem(kLevelId)))
        for (const char* level : {"Low", "Medium", "High"})
            levels->AddString(level);
    return CDialog::OnInitDialog();
}

void CCalculationPrefsDialog::DoDataExchange(CDataExchange* dx)
{
    CString defaultVariable(m_prefs.defaultVariable.c_str());
    CString transformVariable(m_prefs.transformVariable.c_str());
    DDX_Check(dx, kResultsAtEndId, m_prefs.resultsAtEnd);
    DDX_Check(dx, kWarningsId, m_prefs.showWarnings);
    DDX_Text(dx, kDefaultVariableId, defaultVariable);
    DDV_MaxChars(dx, defaultVariable, KernelPrefs::kMaxVariableLength);
    DDX_Text(dx, kTransformVariableId, transformVariable);
    DDV_MaxChars(dx, transformVariable, KernelPrefs::kMaxVariableLength);
    DDX_Text(dx, kPrecisionId, m_prefs.precision);
    DDV_MinMaxInt(dx, m_prefs.precision, 0, 1000);
    DDX_CBIndex(dx, kLevelId, m_prefs.simplificationLevel);
    m_prefs.defaultVariable = defaultVariable.str();
    m_prefs.transformVariable = transformVariable.str();
}
