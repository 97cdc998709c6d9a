#include "resources/SymbolPalette.h"

#include <array>

namespace {
// The character each button of the Symbols palette types, in button order.
constexpr std::array<unsigned char, kSymbolPaletteCount> kCodes = {
    168, 135, 155, 231, 200, 132, 138, 212, 255, 154, 181, 244,
    204, 188, 139, 164, 241, 131, 210, 243, 205, 251, 134, 130,
    252, 233, 140, 207, 215, 236, 240, 137, 194, 133, 218, 185,
    177, 247, 186, 179, 171, 187, 156, 178, 175, 245, 159, 180,
    202, 253, 211, 216, 136, 217, 152, 165, 170, 203, 248, 166,
    237, 238, 228, 227, 172, 220, 225, 214, 221, 222, 192, 195};
}

int SymbolPaletteCode(UINT id)
{
    if (id < kFirstSymbolCommand || id >= kFirstSymbolCommand + kSymbolPaletteCount)
        return -1;
    return kCodes[id - kFirstSymbolCommand];
}
