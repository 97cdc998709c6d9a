#include "app/dialogs/CRowsColumnsDialog.h"

#include "platform/framework/DataExchange.h"

void CRowsColumnsDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1000, m_nRows);
    DDV_MinMaxInt(dx, m_nRows, kMinCount, kMaxCount);
    DDX_Text(dx, 1001, m_nColumns);
    DDV_MinMaxInt(dx, m_nColumns, kMinCount, kMaxCount);
}
