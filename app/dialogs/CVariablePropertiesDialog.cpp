#include "app/dialogs/CVariablePropertiesDialog.h"

#include "platform/framework/DataExchange.h"

void CVariablePropertiesDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1000, m_strValue);
    DDX_Check(dx, 1002, m_bLocked);
}
