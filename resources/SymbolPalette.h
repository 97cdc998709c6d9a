#pragma once
// The Symbols palette: 72 buttons, commands 32901-32972, each typing one
// character of the mathematics face.
#include "platform/framework/AfxTypes.h"

inline constexpr UINT kFirstSymbolCommand = 32901;
inline constexpr UINT kSymbolPaletteCount = 72;

// The character code a palette command types, or -1 for an id outside the palette.
int SymbolPaletteCode(UINT id);
