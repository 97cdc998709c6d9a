#include "foundation/CharacterLayout.h"

#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/FontIds.h"
#include "foundation/RunExtentCache.h"
#include "foundation/Str255.h"

#include <algorithm>
#include <cstring>

CharacterLayout::CharacterLayout(CompList* row, int32_t index, unsigned char code, int fontId)
    : Layout(index), m_row(row), m_fontId(fontId)
{
    AppendCode(static_cast<char>(code));
}

Str255 CharacterLayout::GetText() const
{
    char buffer[kMaxChars + 1];
    std::memcpy(buffer, m_chars, m_length);
    buffer[m_length] = '\0';
    if (std::memchr(buffer, 0, m_length) == nullptr)
        return Str255(buffer);
    Str255 text;  // code 0 inside the run: copied one by one
    for (int i = 0; i < m_length; ++i)
        text.AppendChar(m_chars[i]);
    return text;
}

bool CharacterLayout::CanAppend(unsigned char code, int fontId)
{
    if (m_length >= kMaxChars || fontId != m_fontId || !AcceptsCode(code))
        return false;
    AppendCode(static_cast<char>(code));
    return true;
}

void CharacterLayout::Measure()
{
    // Merged runs are mostly one of a kind: measured directly, they keep the
    // cache small and quick.
    if (m_merged) {
        gDrawContext.SetFontFamily(m_fontId);
        gDrawContext.GetTextExtent(GetText(), m_measured);
    } else {
        RunExtentCache::GetTextExtent(m_fontId, m_chars, m_length, m_measured);
    }
    if (m_fontId == FontId::kMath || m_fontId == FontId::kItalic)
        m_measured.right += 1;
    m_rect = m_measured;
}

std::vector<int32_t> CharacterLayout::PrefixExtents() const
{
    std::vector<int32_t> extents(static_cast<size_t>(m_length), 0);
    gDrawContext.SetFontFamily(m_fontId);
    if (!extents.empty())
        gDrawContext.GetCharPositions(GetText(), extents.data());
    return extents;
}

int CharacterLayout::CaretIndexAt(int x) const
{
    std::vector<int32_t> extents = PrefixExtents();
    const int n = int(extents.size());
    int i = 1;
    while (i < n && extents[size_t(i - 1)] < x)
        ++i;
    const int before = i > 1 ? extents[size_t(i - 2)] : 0;
    const int after = extents[size_t(i - 1)];
    return 2 * x < before + after ? i - 1 : i;
}

void CharacterLayout::PositionAt(const IntPoint& point, DocPosition& out, bool)
{
    out = DocPosition(m_row, GetStartIndex() + CaretIndexAt(point.x - m_offset.x));
}

TextComp* CharacterLayout::ComponentAt(const IntPoint& point)
{
    std::vector<int32_t> extents = PrefixExtents();
    const int x = point.x - m_offset.x;
    int i = 1;
    while (i < int(extents.size()) && extents[size_t(i - 1)] < x)
        ++i;
    return m_row ? m_row->GetAt(GetStartIndex() + i - 1) : nullptr;
}

void CharacterLayout::GetAbsRect(int32_t index, Rect& out) const
{
    out = AbsRect();
    const int k = index - GetStartIndex();
    if (k < 0) {
        out.right = out.left;
        return;
    }
    if (k >= m_length) {
        out.left = out.right = ContentRight();
        return;
    }
    std::vector<int32_t> extents = PrefixExtents();
    const int x = m_offset.x;
    out.left = x + (k > 0 ? extents[size_t(k - 1)] : 0);
    out.right = x + extents[size_t(k)];
}

int32_t CharacterLayout::ContentRight() const
{
    const std::vector<int32_t> extents = PrefixExtents();
    return m_offset.x + (extents.empty() ? 0 : extents.back());
}

void CharacterLayout::Draw()
{
    gDrawContext.SetFontFamily(m_fontId);
    gDrawContext.MoveTo(m_offset);
    gDrawContext.DrawString(GetText());
}

bool CharacterLayout::IsEqual(const Layout& other) const
{
    if (!Layout::IsEqual(other))
        return false;
    auto* run = dynamic_cast<const CharacterLayout*>(&other);
    return run && run->m_fontId == m_fontId && run->m_length == m_length &&
           std::equal(m_chars, m_chars + m_length, run->m_chars);
}
