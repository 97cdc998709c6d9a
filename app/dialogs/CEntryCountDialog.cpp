#include "app/dialogs/CEntryCountDialog.h"

#include "platform/framework/DataExchange.h"

void CEntryCountDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1000, m_nEntries);
    DDV_MinMaxInt(dx, m_nEntries, kMinCount, kMaxCount);
}
