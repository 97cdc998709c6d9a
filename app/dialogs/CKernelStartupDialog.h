#pragma once
// "Kernel Startup": the modeless notice shown while the kernel starts, with
// the start-up's status and a Cancel button that cancels it. It deletes
// itself when its window goes.
#include "platform/framework/CDialog.h"

#include <functional>

class CKernelStartupDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 164 };
    enum : int { kStatusId = 1096 };

    explicit CKernelStartupDialog(std::function<void()> cancel) : CDialog(kTemplateId), m_cancel(std::move(cancel)) {}
    void SetStatus(const char* text) { SetDlgItemText(kStatusId, text); }
    void OnCancel() override;

    // The dialog on screen, or null.
    static CKernelStartupDialog* Current() { return s_current; }
    static CKernelStartupDialog* Open(std::function<void()> cancel);
    static void CloseCurrent();

protected:
    void PostNcDestroy() override;

private:
    std::function<void()> m_cancel;
    static inline CKernelStartupDialog* s_current = nullptr;
};
