#include "app/dialogs/CTermPriorityDialog.h"

#include "kernel/TermOrdering.h"
#include "platform/framework/DataExchange.h"

void CTermPriorityDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Text(dx, kSymbolId, m_symbol);
    DDV_MaxChars(dx, m_symbol, TermOrdering::kMaxSymbolLength);
    DDX_Text(dx, kPriorityId, m_priority);
    DDV_MinMaxInt(dx, m_priority, 0, TermOrdering::kMaxPriority);
}
