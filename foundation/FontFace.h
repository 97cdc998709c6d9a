#pragma once
// One font face of the font manager: a face name with bold and italic flags,
// the 256 shared characters of the face, and the fonts made for it.
//
// Fonts are cached by size level and by the vertical resolution of the device
// they were made for: a font for the 96-dpi screen is never reused on a
// 600-dpi printer.
#include "foundation/Str255.h"
#include "platform/draw/CFont.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

class CharComp;

class FontFace {
public:
    static constexpr int kLevelCount = 10;

    FontFace(const Str255& name, bool bold, bool italic, int32_t fontId);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    CharComp* GetCharacter(unsigned char code) const { return m_characters[code].get(); }

    // The font of a size level (levels above 9 give level 9, below 0 level 0)
    // for a device of the given vertical resolution, made on first use.
    CFont* GetFont(int level, int logPixelsY);
    // The same for the current device of the drawing context.
    CFont* GetFont(int level);

    void SetFace(const Str255& name, bool bold, bool italic);
    void DropFonts();

    int32_t GetFontId() const { return m_fontId; }
    const Str255& GetName() const { return m_name; }
    bool IsBold() const { return m_bold; }
    bool IsItalic() const { return m_italic; }
    // Grows each time the face is given another name or style, so that
    // measurements made with the old one can be recognised cheaply.
    uint32_t GetChangeCount() const { return m_changes; }
    // How many fonts are cached (all levels and resolutions).
    int CachedFontCount() const { return int(m_fonts.size()); }

private:
    std::map<std::pair<int, int>, std::unique_ptr<CFont>> m_fonts;  // (level, dpi)
    int32_t m_fontId;
    Str255 m_name;
    bool m_bold;
    bool m_italic;
    uint32_t m_changes = 0;
    std::array<std::unique_ptr<CharComp>, 256> m_characters;
};

// The point size of a size level: 28, 24, 20, 18, 16, 14, 12, 10, 9, 8 for
// levels 0..9; 8 above 9 and 28 below 0.
int GetPointSize(int level);
