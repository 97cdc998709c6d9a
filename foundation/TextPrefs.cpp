#include "foundation/TextPrefs.h"

#include "platform/AppProfile.h"

#include <string>

namespace {

void LoadName(const char* key, Str255& name)
{
    const std::string value = AppProfile::GetProfileString(TextPrefs::kSection, key);
    if (value.empty())
        return;
    name.AssignText(value.substr(0, Str255::kCapacity).c_str());
}

void SaveName(const char* key, const Str255& name)
{
    AppProfile::WriteProfileString(TextPrefs::kSection, key, name.GetText());
}

}  // namespace

TextPrefs::TextPrefs()
    : textFont(kDefaultTextFont), codeFont(kDefaultCodeFont), boldFont(kDefaultTextFont),
      italicFont(kDefaultTextFont)
{
}

void TextPrefs::Load()
{
    LoadName(kTextFontKey, textFont);
    LoadName(kCodeFontKey, codeFont);
    LoadName(kBoldFontKey, boldFont);
    LoadName(kItalicFontKey, italicFont);
}

void TextPrefs::Save() const
{
    SaveName(kTextFontKey, textFont);
    SaveName(kCodeFontKey, codeFont);
    SaveName(kBoldFontKey, boldFont);
    SaveName(kItalicFontKey, italicFont);
}
