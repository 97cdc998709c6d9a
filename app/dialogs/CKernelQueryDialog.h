#pragma once
// "Kernel Query": the kernel asks the user to choose one of several; the
// prompt replaces the static text, the combo box lists the choices.
#include "platform/framework/CDialog.h"

#include <string>
#include <vector>

class CKernelQueryDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 155 };
    enum : int { kChoicesId = 1075, kPromptId = 1093 };

    CKernelQueryDialog(const std::string& prompt, const std::vector<std::string>& choices, CWnd* parent)
        : CDialog(kTemplateId, parent), m_prompt(prompt), m_choices(choices) {}
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The 0-based index chosen, after OK.
    int m_chosen = 0;

private:
    std::string m_prompt;
    std::vector<std::string> m_choices;
};
