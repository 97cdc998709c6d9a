#pragma once
// "Variable Properties" of a value display: the value as text and whether
// the variable is locked.
#include "platform/framework/CDialog.h"

class CVariablePropertiesDialog : public CDialog {
public:
    enum : UINT { IDD = 191 };
    CVariablePropertiesDialog(bool locked, const CString& value, CWnd* parent = nullptr)
        : CDialog(IDD, parent), m_bLocked(locked), m_strValue(value)
    {
    }
    void DoDataExchange(CDataExchange* dx) override;

    bool m_bLocked;
    CString m_strValue;
};
