#include "app/dialogs/CPromptPanel.h"

IMPLEMENT_DYNCREATE(CPromptPanel, CFormView)

CString CPromptPanel::GetPrompt() const
{
    CString text;
    GetDlgItemText(IDC_PROMPT, text);
    return text;
}
