#pragma once
// "Kernel Query" with Yes and No: the kernel asks a yes-or-no question.
// Yes ends the dialog with IDOK; No and closing end it with IDCANCEL.
#include "platform/framework/CDialog.h"

#include <string>

class CKernelYesNoDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 206 };
    enum : int { kQuestionId = 1093 };

    CKernelYesNoDialog(const std::string& question, CWnd* parent) : CDialog(kTemplateId, parent), m_question(question) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetDlgItemText(kQuestionId, m_question.c_str());
        return TRUE;
    }

private:
    std::string m_question;
};
