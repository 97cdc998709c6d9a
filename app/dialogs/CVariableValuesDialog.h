#pragma once
// "Variable Values": picks one of a drawing's named variables from a list
// that opens with the first name chosen.
#include "foundation/Str255.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/DialogControls.h"

#include <vector>

class CVariableValuesDialog : public CDialog {
public:
    enum : UINT { IDD = 207 };
    explicit CVariableValuesDialog(std::vector<Str255> names, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    std::vector<Str255> m_names;
    // The chosen name and its place in the list (-1: none).
    CString m_strChosen = "Select a variable";
    int m_nChosen = -1;

private:
    CComboBox m_list;
};
