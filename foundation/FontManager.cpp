#include "foundation/FontManager.h"

#include "foundation/FontFace.h"
#include "foundation/TextPrefs.h"
#include "platform/draw/TextCodec.h"

FontManager* gFontManager = nullptr;
FontFace* gTextFace = nullptr;
FontFace* gMathFace = nullptr;

namespace {
constexpr const char* kRomanFace = "Corvell Roman";
constexpr const char* kMathFaceName = "Corvell Math";
}  // namespace

FontManager::FontManager(const TextPrefs& prefs)
{
    m_faces[0] = std::make_unique<FontFace>(prefs.textFont, false, false, 0);
    m_faces[1] = std::make_unique<FontFace>(prefs.italicFont, false, true, 1);
    m_faces[2] = std::make_unique<FontFace>(prefs.boldFont, true, false, 2);
    m_faces[3] = std::make_unique<FontFace>(Str255(kMathFaceName), false, false, 3);
    m_faces[4] = std::make_unique<FontFace>(prefs.codeFont, false, false, 4);
    m_faces[5] = std::make_unique<FontFace>(Str255(kRomanFace), false, false, 5);
    m_faces[6] = std::make_unique<FontFace>(Str255(kRomanFace), true, false, 6);
    m_faces[7] = std::make_unique<FontFace>(Str255(kRomanFace), false, false, 7);
    gFontManager = this;
    gTextFace = m_faces[kTextFace].get();
    gMathFace = m_faces[kMathFace].get();
}

FontManager::~FontManager()
{
    if (gFontManager == this) {
        gFontManager = nullptr;
        gTextFace = nullptr;
        gMathFace = nullptr;
    }
}

FontFace* FontManager::GetFace(int index) const
{
    if (index < 0 || index >= kFaceCount)
        return nullptr;
    return m_faces[index].get();
}

FontFace* FontManager::GetStyleFace(int style) const
{
    if (style == 0 || style == 4)
        return m_faces[5].get();
    if (style == 2)
        return m_faces[6].get();
    return m_faces[7].get();
}

void FontManager::UpdateTextFaces(const TextPrefs& prefs)
{
    m_faces[kTextFace]->SetFace(prefs.textFont, false, false);
    m_faces[kItalicFace]->SetFace(prefs.italicFont, false, true);
    m_faces[kBoldFace]->SetFace(prefs.boldFont, true, false);
}

void FontManager::DropFonts()
{
    for (auto& face : m_faces)
        face->DropFonts();
}

FontFace* FaceHolding(char32_t ch, FontFace* preferred, unsigned char* code)
{
    const int preferredSet = preferred ? TextCodec::CharSetOfFontId(preferred->GetFontId()) : ANSI_CHARSET;
    const int charSet = TextCodec::CharSetHolding(ch, preferredSet);
    if (charSet < 0)
        return nullptr;
    *code = static_cast<unsigned char>(TextCodec::FromUnicode(ch, charSet));
    if (preferred && charSet == preferredSet)
        return preferred;
    return charSet == SYMBOL_CHARSET ? gMathFace : gTextFace;
}
