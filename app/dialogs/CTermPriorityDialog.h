#pragma once
// "Edit Term Priority": one symbol (a letter, or a kernel name such as
// "alpha") and its priority from 0 to 255.
#include "platform/framework/CDialog.h"
#include "platform/framework/CString.h"

class CTermPriorityDialog : public CDialog {
public:
    enum : UINT { kTemplateId = 159 };
    enum : int { kSymbolId = 1084, kPriorityId = 1085 };

    CTermPriorityDialog(const std::string& symbol, int priority, CWnd* parent)
        : CDialog(kTemplateId, parent), m_symbol(symbol), m_priority(priority) {}
    void DoDataExchange(CDataExchange* dx) override;

    CString m_symbol;
    int m_priority;
};
