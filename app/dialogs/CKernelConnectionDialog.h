#pragma once
// "Kernel Connection": shows the folder of the kernel program; "Change..."
// picks another with a file dialog. The caller stores m_folder after OK.
#include "platform/framework/CDialog.h"

#include <string>

class CKernelConnectionDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 152 };
    enum : int { kFolderId = 1064, kChangeId = 1063 };

    CKernelConnectionDialog(const std::string& folder, CWnd* parent) : CDialog(kTemplateId, parent), m_folder(folder) {}
    BOOL OnInitDialog() override;
    void OnControlNotify(UINT code, UINT id) override;

    std::string m_folder;
};

// Asks for the kernel program with a file dialog titled caption; answers
// its folder, or "" when the user cancelled.
std::string ChooseKernelFolder(const char* caption, CWnd* parent);
