#pragma once
// The bottom row of the kernel's expression-input frame: OK and Cancel,
// which end the frame's modal loop.
#include "platform/framework/CFormView.h"

class COKPanel : public CFormView {
    DECLARE_DYNCREATE(COKPanel)
public:
    enum : UINT { IDD = 162, IDC_OK = 1094, IDC_CANCEL = 1095 };
    COKPanel();

    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;

private:
    void EndFrame(int result);
};
