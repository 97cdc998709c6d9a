#include "app/dialogs/CPageNumberingDialog.h"

#include "platform/framework/DataExchange.h"

void CPageNumberingDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Check(dx, 1002, m_bNumberPages);
    DDX_Text(dx, 1000, m_nFirstPage);
    DDV_MinMaxInt(dx, m_nFirstPage, 1, 32767);
}
