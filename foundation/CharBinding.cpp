#include "foundation/CharBinding.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"
#include "foundation/FontIds.h"
#include "foundation/TextComp.h"

#include <array>

namespace CharBinding {

namespace {

struct Sign {
    uint8_t stored;
    Level level;
};

// The operators by stored code. Every sign the character table marks as a
// relation is a relation as well; these are the rest.
constexpr Sign kSigns[] = {
    {'*', kProduct},   {215, kProduct},   {218, kProduct},   {203, kProduct},  {135, kProduct}, // times, tensor, cap
    {'/', kQuotient},  {214, kQuotient},                                                        // slash, divide
    {'+', kSum},       {'-', kSum},       {177, kSum},       {204, kSum},      {134, kSum},     // plus-minus, cup
    {136, kRelation},  {199, kRelation},  {200, kRelation},  {238, kRelation},                  // perp, much less
    {207, kLogic},     {248, kLogic},     {155, kLogic},     {146, kLogic},    {148, kLogic},   // arrows, and, or
    {194, kLogic},     {230, kLogic},     {171, kLogic},                                        // not, quantifiers
    {',', kSeparator}, {';', kSeparator}, {191, kSeparator},                                    // therefore
};

constexpr std::array<Level, 256> BuildLevels()
{
    std::array<Level, 256> levels{};
    for (int code = 0; code < 256; ++code) {
        const int32_t kind = gCharTable[code].kind;
        // A blank separates terms in linear text, so a row holding one reads as a sum.
        levels[code] = kind == CharTable::relation ? kRelation : kind == CharTable::blank ? kSum : kNone;
    }
    for (const Sign& sign : kSigns)
        levels[sign.stored] = sign.level;
    return levels;
}

} // namespace

Level OfStoredCode(uint8_t stored)
{
    static const std::array<Level, 256> levels = BuildLevels();
    return levels[stored];
}

Level Of(const TextComp* comp)
{
    if (!comp || TextComp::IsNotChar(comp->Tag()))
        return kNone;
    const uint8_t* map = comp->GetFontId() == FontId::kMath ? gWriterSymbolMap : gWriterPlainMap;
    return OfStoredCode(map[comp->GetChar()]);
}

} // namespace CharBinding
