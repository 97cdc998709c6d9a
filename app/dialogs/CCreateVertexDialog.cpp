#include "app/dialogs/CCreateVertexDialog.h"

#include "platform/framework/DataExchange.h"

void CCreateVertexDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1132, m_x);
    DDX_Text(dx, 1133, m_y);
}
