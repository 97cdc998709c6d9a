#pragma once
// The About box: the program's name, version and maker, with an OK button.
#include "platform/framework/CDialog.h"

class CAboutDialog : public CDialog {
public:
    enum : UINT { IDD = 100 };
    explicit CAboutDialog(CWnd* parent = nullptr) : CDialog(IDD, parent) {}
};
