#pragma once
// The "Text Preferences" dialog: the faces for plain, bold and italic text,
// each chosen from the installed font families. It edits a TextPrefs record
// only when confirmed; Cancel leaves the record as it was.
#include "platform/framework/CDialog.h"
#include "platform/framework/DialogControls.h"

class Str255;
class TextPrefs;

class CTextPrefsDialog : public CDialog {
public:
    enum { IDD = 154 };
    // The control ids of the three font boxes.
    static constexpr int kTextFontBox = 1073;
    static constexpr int kBoldFontBox = 1074;
    static constexpr int kItalicFontBox = 1075;

    explicit CTextPrefsDialog(TextPrefs& prefs, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    CComboBox& TextFontBox() { return m_textFont; }
    CComboBox& BoldFontBox() { return m_boldFont; }
    CComboBox& ItalicFontBox() { return m_italicFont; }

private:
    static void FillFontList(CComboBox& box, const Str255& current);
    static void ReadSelection(const CComboBox& box, Str255& name);

    TextPrefs& m_prefs;
    CComboBox m_textFont;
    CComboBox m_boldFont;
    CComboBox m_italicFont;
};
