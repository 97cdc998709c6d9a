#pragma once
// The faces the user chose for plain, code, bold and italic text, kept in the
// settings under "Text Prefs". Missing or empty values keep the defaults.
#include "foundation/Str255.h"

class TextPrefs {
public:
    TextPrefs();

    void Load();
    void Save() const;

    Str255 textFont;
    Str255 codeFont;
    Str255 boldFont;
    Str255 italicFont;

    static constexpr const char* kSection = "Text Prefs";
    static constexpr const char* kTextFontKey = "Text Font";
    static constexpr const char* kCodeFontKey = "Code Font";
    static constexpr const char* kBoldFontKey = "Bold Font";
    static constexpr const char* kItalicFontKey = "Italic Font";
    static constexpr const char* kDefaultTextFont = "Corvell Roman";
    static constexpr const char* kDefaultCodeFont = "Courier";
};
