#pragma once
// Whether printed pages carry numbers, and the number of the first page
// (1 to 32767).
#include "platform/framework/CDialog.h"

class CPageNumberingDialog : public CDialog {
public:
    enum : UINT { IDD = 136 };
    CPageNumberingDialog(bool numberPages, int firstPage, CWnd* parent = nullptr)
        : CDialog(IDD, parent), m_bNumberPages(numberPages), m_nFirstPage(firstPage)
    {
    }
    void DoDataExchange(CDataExchange* dx) override;

    bool m_bNumberPages;
    int m_nFirstPage;
};
