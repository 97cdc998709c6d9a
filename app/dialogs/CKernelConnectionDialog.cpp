#include "app/dialogs/CKernelConnectionDialog.h"

#include "kernel/KernelLink.h"
#include "platform/framework/CommonDialogs.h"

#include <filesystem>

std::string ChooseKernelFolder(const char* caption, CWnd* parent)
{
    CFileDialog dialog(TRUE, nullptr, KernelLink::kProgramName, OFN_FILEMUSTEXIST | OFN_EXPLORER,
                       "Kernel program (qvkernel)|qvkernel|All files (*)|*||", parent);
    dialog.m_ofn.lpstrTitle = caption;
    if (dialog.DoModal() != IDOK)
        return {};
    std::string folder = dialog.GetFolderPath().str();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

BOOL CKernelConnectionDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(kFolderId, m_folder.c_str());
    return TRUE;
}

void CKernelConnectionDialog::OnControlNotify(UINT code, UINT id)
{
    if (id == kChangeId && code == BN_CLICKED) {
        std::string folder = ChooseKernelFolder("Locate the kernel", this);
        if (!folder.empty()) {
            m_folder = folder;
            SetDlgItemText(kFolderId, m_folder.c_str());
        }
        return;
    }
    CDialog::OnControlNotify(code, id);
}
