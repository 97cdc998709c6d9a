#pragma once
// A font as the drawing code asks for it: face name, pixel height (negative =
// character height), weight, italic and character set. The face name goes
// through the face map when the font is realised on a device.
#include "platform/draw/GdiTypes.h"

class CFont {
public:
    CFont() = default;

    bool CreateFont(int height, int width, int escapement, int orientation, int weight,
                    std::uint8_t italic, std::uint8_t underline, std::uint8_t strikeOut,
                    std::uint8_t charSet, std::uint8_t outPrecision, std::uint8_t clipPrecision,
                    std::uint8_t quality, std::uint8_t pitchAndFamily, const char* faceName);
    bool CreateFontIndirect(const LOGFONT& logFont);
    // A font of the given character height in pixels (negative height).
    bool CreatePixelFont(const char* faceName, int pixelHeight, int weight = FW_NORMAL,
                         bool italic = false, int charSet = ANSI_CHARSET);
    bool DeleteObject();

    bool IsValid() const { return m_valid; }
    const LOGFONT& GetLogFont() const { return m_logFont; }
    bool GetLogFont(LOGFONT* out) const;

private:
    LOGFONT m_logFont;
    bool m_valid = false;
};
