#include "app/CConstantsDialog.h"

#include "app/CMainFrame.h"
#include "app/ConstantAttributeSink.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

IMPLEMENT_DYNAMIC(CConstantsDialog, CDialog)

CConstantsDialog::CConstantsDialog() : CDialog(IDD)
{
    MapNotifyRange(BN_CLICKED, kFirstUpper, kLast, [this](UINT id) { OnLetterClicked(id); });
}

BOOL CConstantsDialog::Create(CWnd* parent)
{
    // The program opens the palette when the kernel starts, while the user
    // may be typing: the keys stay where they were going.
    QPointer<QWidget> focus = QApplication::focusWidget();
    const BOOL made = CDialog::Create(IDD, parent);
    if (focus && focus->isVisible()) {
        focus->activateWindow();
        focus->setFocus(Qt::OtherFocusReason);
    }
    return made;
}

BOOL CConstantsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (char letter : {'C', 'E', 'I', 'c', 'e', 'i'})
        SetLetterCheck(letter, true);
    if (QWidget* palette = widget()) {
        palette->setAttribute(Qt::WA_ShowWithoutActivating);
        if (gMainFrame)
            gMainFrame->PlacePalette(*palette);
    }
    return TRUE;
}

void CConstantsDialog::OnOK()
{
    OnCancel();
}

void CConstantsDialog::OnCancel()
{
    ShowWindow(SW_HIDE);
}

UINT CConstantsDialog::ControlOfLetter(char letter)
{
    if (letter >= 'A' && letter <= 'Z')
        return kFirstUpper + UINT(letter - 'A');
    if (letter >= 'a' && letter <= 'z')
        return kFirstLower + UINT(letter - 'a');
    return 0;
}

char CConstantsDialog::LetterOfControl(UINT id)
{
    if (id >= kFirstUpper && id < kFirstLower)
        return char('A' + (id - kFirstUpper));
    if (id >= kFirstLower && id <= kLast)
        return char('a' + (id - kFirstLower));
    return 0;
}

void CConstantsDialog::SetLetterCheck(char letter, bool checked)
{
    if (UINT id = ControlOfLetter(letter))
        CheckDlgButton(int(id), checked ? BST_CHECKED : BST_UNCHECKED);
}

bool CConstantsDialog::IsLetterChecked(char letter) const
{
    UINT id = ControlOfLetter(letter);
    return id && IsDlgButtonChecked(int(id)) == BST_CHECKED;
}

void CConstantsDialog::OnLetterClicked(UINT id)
{
    SendConstantAttribute(LetterOfControl(id), IsDlgButtonChecked(int(id)) == BST_CHECKED);
}

void CConstantsDialog::PostNcDestroy()
{
    if (gMainFrame)
        gMainFrame->ConstantsPaletteDestroyed(this);
    delete this;
}
