#pragma once
// The address of a hyperlink and the text it shows, each at most 255 characters.
#include "platform/framework/CDialog.h"

class CLinkPropertiesDialog : public CDialog {
public:
    enum : UINT { IDD = 167 };
    CLinkPropertiesDialog(const CString& url, const CString& text, CWnd* parent = nullptr)
        : CDialog(IDD, parent), m_strURL(url), m_strText(text)
    {
    }
    void DoDataExchange(CDataExchange* dx) override;

    CString m_strURL;
    CString m_strText;
};
