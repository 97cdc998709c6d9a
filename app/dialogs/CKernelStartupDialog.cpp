#include "app/dialogs/CKernelStartupDialog.h"

CKernelStartupDialog* CKernelStartupDialog::Open(std::function<void()> cancel)
{
    CloseCurrent();
    auto* dialog = new CKernelStartupDialog(std::move(cancel));
    if (!dialog->Create(kTemplateId, nullptr)) {
        delete dialog;
        return nullptr;
    }
    s_current = dialog;
    dialog->ShowWindow(SW_SHOW);
    dialog->UpdateWindow();
    return dialog;
}

void CKernelStartupDialog::CloseCurrent()
{
    if (CKernelStartupDialog* dialog = s_current)
        dialog->DestroyWindow();
}

void CKernelStartupDialog::OnCancel()
{
    if (m_cancel)
        m_cancel();
    m_cancel = nullptr;
    DestroyWindow();
}

void CKernelStartupDialog::PostNcDestroy()
{
    if (s_current == this)
        s_current = nullptr;
    delete this;
}
