#include "app/dialogs/TextPrefsDialog.h"

#include "foundation/TextPrefs.h"
#include "platform/draw/FontMap.h"
#include "platform/framework/DataExchange.h"

CTextPrefsDialog::CTextPrefsDialog(TextPrefs& prefs, CWnd* parent) : CDialog(IDD, parent), m_prefs(prefs)
{
}

BOOL CTextPrefsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillFontList(m_textFont, m_prefs.textFont);
    FillFontList(m_boldFont, m_prefs.boldFont);
    FillFontList(m_italicFont, m_prefs.italicFont);
    return TRUE;
}

void CTextPrefsDialog::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kTextFontBox, m_textFont);
    DDX_Control(dx, kBoldFontBox, m_boldFont);
    DDX_Control(dx, kItalicFontBox, m_italicFont);
    if (dx->m_bSaveAndValidate) {
        ReadSelection(m_textFont, m_prefs.textFont);
        ReadSelection(m_italicFont, m_prefs.italicFont);
        ReadSelection(m_boldFont, m_prefs.boldFont);
    }
}

// Every installed family once, then the current name selected by its exact
// text. A current name that is no installed family (the program's own
// "Corvell Roman", say) is listed too, so that confirming the dialog keeps it.
void CTextPrefsDialog::FillFontList(CComboBox& box, const Str255& current)
{
    box.ResetContent();
    for (const QString& family : FontMap::InstalledFamilies()) {
        const QByteArray name = family.toLatin1();
        if (QString::fromLatin1(name) != family)
            continue;  // not writable in the program's 8-bit characters
        if (box.FindStringExact(-1, name.constData()) == CB_ERR)
            box.AddString(name.constData());
    }
    const char* name = current.GetText();
    if (*name == '\0')
        return;
    int index = box.FindStringExact(-1, name);
    if (index == CB_ERR)
        index = box.AddString(name);
    box.SetCurSel(index);
}

// The text of the box's selection; without a selection the name stays.
void CTextPrefsDialog::ReadSelection(const CComboBox& box, Str255& name)
{
    const int index = box.GetCurSel();
    if (index == CB_ERR)
        return;
    CString text;
    box.GetLBText(index, text);
    if (text.GetLength() > 0)
        name.AssignCString(text);
}
