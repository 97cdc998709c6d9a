#pragma once
// The modeless Constants palette (template 140): a check box per letter,
// 1002-1027 for "A"-"Z" and 1028-1053 for "a"-"z", telling the kernel which
// letters stand for constants. It lives while the kernel runs; closing it
// only hides it, and when its window is finally destroyed it tells the main
// frame and deletes itself. The program opens it on its own: it leaves the
// keyboard where the user was and sits apart from the other palettes and
// the text being edited.
#include "platform/framework/CDialog.h"

class QWidget;

class CConstantsDialog : public CDialog {
    DECLARE_DYNAMIC(CConstantsDialog)
public:
    enum : UINT { IDD = 140, kFirstUpper = 1002, kFirstLower = 1028, kLast = 1053 };

    CConstantsDialog();

    using CDialog::Create;
    // Makes the palette's window with the frame as parent.
    BOOL Create(CWnd* parent);
    BOOL OnInitDialog() override;
    // Esc, Enter and the close box hide the palette.
    void OnOK() override;
    void OnCancel() override;

    // Sets the box of a letter ("A"-"Z", "a"-"z"; other characters have no box).
    void SetLetterCheck(char letter, bool checked);
    bool IsLetterChecked(char letter) const;

    // The box of a letter (0 for none) and the letter of a box.
    static UINT ControlOfLetter(char letter);
    static char LetterOfControl(UINT id);

protected:
    void PostNcDestroy() override;

private:
    void OnLetterClicked(UINT id);
};
