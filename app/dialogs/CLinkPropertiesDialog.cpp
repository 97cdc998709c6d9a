#include "app/dialogs/CLinkPropertiesDialog.h"

#include "platform/framework/DataExchange.h"

namespace {
constexpr int kMaxChars = 255;
}

void CLinkPropertiesDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, 1097, m_strURL);
    DDV_MaxChars(dx, m_strURL, kMaxChars);
    DDX_Text(dx, 1098, m_strText);
    DDV_MaxChars(dx, m_strText, kMaxChars);
}
