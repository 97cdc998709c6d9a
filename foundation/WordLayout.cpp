#include "foundation/WordLayout.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/CharTable.h"
#include "foundation/FontFace.h"
#include "foundation/FontIds.h"
#include "foundation/FontManager.h"
#include "foundation/SpaceLayout.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kUprightCharacterStyle = 3;

// The entries of the kernel's name table flagged for the upright face.
constexpr std::array<int, 32> kUprightEntries = {14,  15,  16,  17,  23,  24,  25,  26,  27,  41,  59,
                                                 63,  64,  72,  91,  93,  94,  98,  99,  122, 176, 177,
                                                 178, 179, 180, 181, 182, 183, 184, 188, 263, 278};

bool SameRunKind(const TypeTag& tag)
{
    return tag == tag_word || tag == tag_nonA;
}

} // namespace

bool WordLayout::IsUprightName(int entry)
{
    return entry > 0 && std::find(kUprightEntries.begin(), kUprightEntries.end(), entry) != kUprightEntries.end();
}

bool WordLayout::AcceptsCode(unsigned char code) const
{
    const uint8_t* map = m_fontId == FontId::kMath ? gWriterSymbolMap : gWriterPlainMap;
    return CharTable::GetKind(map[code]) == CharTable::letter;
}

bool WordLayout::CanMerge(const Layout& next) const
{
    const TypeTag tag = next.Tag();
    // Runs of these tags are made by the text layout item maker.
    if (SameRunKind(tag)) {
        auto& run = static_cast<const CharacterLayout&>(next);
        return run.GetFontId() == m_fontId && GetLength() + run.GetLength() < kMaxChars;
    }
    if (tag == tag_spcL) {
        auto& blanks = static_cast<const SpaceLayout&>(next);
        return blanks.GetFontId() == m_fontId && GetLength() + blanks.GetCount() < kMaxChars;
    }
    return false;
}

bool WordLayout::AcceptsFollowing(const Layout& item) const
{
    return item.Tag() == tag_spcL && CanMerge(item);
}

void WordLayout::Merge(Layout& next)
{
    m_merged = true;
    if (SameRunKind(next.Tag())) {
        auto& run = static_cast<CharacterLayout&>(next);
        for (int i = 0; i < run.GetLength() && m_length < kMaxChars; ++i)
            AppendCode(run.GetChars()[i]);
    } else if (next.Tag() == tag_spcL) {
        for (int i = 0; i < static_cast<SpaceLayout&>(next).GetCount() && m_length < kMaxChars; ++i)
            AppendCode(' ');
    }
}

void WordLayout::Measure()
{
    if (m_fontId == FontId::kMath && gFontManager) {
        KernelNameLookup* names = KernelNameLookup::Registered();
        if (names && IsUprightName(names->FindRange(m_chars, m_chars + m_length)))
            m_fontId = gFontManager->GetStyleFace(kUprightCharacterStyle)->GetFontId();
    }
    CharacterLayout::Measure();
}
