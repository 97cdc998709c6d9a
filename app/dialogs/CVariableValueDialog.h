#pragma once
// Asks for the value of a drawing variable: its name is shown, its value
// (a number) can be changed.
#include "platform/framework/CDialog.h"

class CVariableValueDialog : public CDialog {
public:
    enum : UINT { IDD = 185 };
    CVariableValueDialog(const CString& name, double value, CWnd* parent = nullptr)
        : CDialog(IDD, parent), m_strName(name), m_dValue(value)
    {
    }
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    CString m_strName;
    double m_dValue;
};
