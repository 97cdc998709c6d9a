#pragma once
// Asks for the kind of a new overscript (the character drawn over the text)
// and its text contents (at most 255 characters). Each radio button stands
// for a character code; a kind without a button leaves all of them clear
// and is kept unless the user picks one.
#include "platform/framework/CDialog.h"

class CCreateOverscriptDialog : public CDialog {
public:
    enum : UINT { IDD = 177 };
    // The kinds: character codes of the math face.
    enum : int { kHat = 193, kTilde = 208, kDot = 198, kDoubleDot = 229, kVector = 230, kBar = 32 };

    CCreateOverscriptDialog(int kind, const CString& text, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    // The button of a kind (0 for none) and the kind of a button.
    static int ButtonOfKind(int kind);
    static int KindOfButton(int id);

    int m_nKind;
    CString m_strText;
};
