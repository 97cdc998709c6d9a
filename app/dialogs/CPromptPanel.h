#pragma once
// The top row of the kernel's question window: the kernel's prompt as one
// static text (control 1093) on a form.
#include "platform/framework/CFormView.h"

class CPromptPanel : public CFormView {
    DECLARE_DYNCREATE(CPromptPanel)
public:
    enum : UINT { IDD = 172, IDC_PROMPT = 1093 };
    CPromptPanel() : CFormView(IDD) {}

    void SetPrompt(const char* text) { SetDlgItemText(IDC_PROMPT, text); }
    CString GetPrompt() const;
};
