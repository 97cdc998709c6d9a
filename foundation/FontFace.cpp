#include "foundation/FontFace.h"

#include "foundation/CharComp.h"

#include "foundation/DrawContext.h"
#include "foundation/FontIds.h"

#include <algorithm>

namespace {
constexpr int kPointSizes[FontFace::kLevelCount] = {28, 24, 20, 18, 16, 14, 12, 10, 9, 8};
}  // namespace

int GetPointSize(int level)
{
    return kPointSizes[std::clamp(level, 0, FontFace::kLevelCount - 1)];
}

FontFace::FontFace(const Str255& name, bool bold, bool italic, int32_t fontId)
    : m_fontId(fontId), m_name(name), m_bold(bold), m_italic(italic)
{
    for (int code = 0; code < 256; ++code)
        m_characters[code] = std::make_unique<CharComp>(static_cast<unsigned char>(code), fontId);
}

FontFace::~FontFace() = default;

CFont* FontFace::GetFont(int level, int logPixelsY)
{
    level = std::clamp(level, 0, kLevelCount - 1);
    auto& slot = m_fonts[{level, logPixelsY}];
    if (!slot) {
        auto font = std::make_unique<CFont>();
        const int height = -(logPixelsY * GetPointSize(level) / 72);
        const int charSet = m_fontId == FontId::kMath ? SYMBOL_CHARSET : ANSI_CHARSET;
        font->CreateFont(height, 0, 0, 0, m_bold ? FW_BOLD : FW_NORMAL, m_italic ? 1 : 0, 0, 0,
                         static_cast<std::uint8_t>(charSet), OUT_TT_PRECIS, 0, PROOF_QUALITY,
                         FF_ROMAN | DEFAULT_PITCH, m_name.GetText());
        slot = std::move(font);
    }
    return slot.get();
}

CFont* FontFace::GetFont(int level)
{
    return GetFont(level, gDrawContext.GetResolutionY());
}

void FontFace::SetFace(const Str255& name, bool bold, bool italic)
{
    m_name = name;
    m_bold = bold;
    m_italic = italic;
    ++m_changes;
    DropFonts();
}

void FontFace::DropFonts()
{
    m_fonts.clear();
}
