#pragma once
// The face map and the font services: the face names the program uses are
// mapped to installed families ("Corvell Roman" to a serif, "Courier" to a
// monospaced, "Arial" to a sans family, "Corvell Math" to a mathematics
// family that has every symbol of the mathematics face); other names pass
// through to fontconfig. Also the installed families and the mathematics
// face's metric tables.
#include "platform/draw/GdiTypes.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace FontMap {

// The installed family used for a face name.
QString FamilyFor(const QString& faceName);
// The chosen mathematics family: the first of FreeSerif, DejaVu Sans, DejaVu
// Math TeX Gyre and STIXGeneral that has every needed symbol (the first
// installed one when none has them all).
QString MathFamily();
// The Unicode characters the mathematics face must show.
QList<char32_t> RequiredMathCharacters();

// The Qt font for a logical font at device pixels: negative heights are the
// character height (em), positive heights the cell height (ascent + descent).
QFont ToQFont(const LOGFONT& logFont);

// The font families installed, sorted and each listed once.
QStringList InstalledFamilies();

// The mathematics face's metric tables by character code, in 1/1024 of the
// font size: the glyph top (negative above the baseline), the glyph bottom
// (positive below) and the advance. Codes without a glyph have zeros.
struct SymbolMetrics {
    std::array<std::int32_t, 256> top{};
    std::array<std::int32_t, 256> bottom{};
    std::array<std::int32_t, 256> advance{};
};
const SymbolMetrics& MathMetrics();

}  // namespace FontMap
