#include "foundation/SpaceLayout.h"

#include "foundation/CompList.h"
#include "foundation/DocPosition.h"
#include "foundation/DrawContext.h"
#include "foundation/RunExtentCache.h"

#include <algorithm>

SpaceLayout::SpaceLayout(CompList* row, int32_t index, int fontId) : Layout(index), m_row(row), m_fontId(fontId) {}

bool SpaceLayout::CanAppend(unsigned char code, int fontId)
{
    if (fontId != m_fontId || m_count >= kMaxCount || code != Code())
        return false;
    ++m_count;
    return true;
}

void SpaceLayout::Measure()
{
    static const char kBlanks[kMaxCount + 1] = "                               ";
    RunExtentCache::GetTextExtent(m_fontId, kBlanks, std::clamp(int(m_count), 0, kMaxCount), m_measured);
    m_measured.right = m_measured.left + WidthFactor() * m_measured.Width();
    m_rect = m_measured;
}

int SpaceLayout::UnitWidth() const
{
    gDrawContext.SetFontFamily(m_fontId);
    return WidthFactor() * gDrawContext.GetCharWidth(' ');
}

int SpaceLayout::CaretIndexAt(int x) const
{
    const int unit = UnitWidth();
    if (unit <= 0)
        return 0;
    return std::clamp((2 * x + unit) / (2 * unit), 0, int(m_count));
}

void SpaceLayout::PositionAt(const IntPoint& point, DocPosition& out, bool)
{
    out = DocPosition(m_row, GetStartIndex() + CaretIndexAt(point.x - m_offset.x));
}

TextComp* SpaceLayout::ComponentAt(const IntPoint& point)
{
    const int unit = UnitWidth();
    const int i = unit > 0 ? std::clamp((point.x - m_offset.x) / unit, 0, int(m_count) - 1) : 0;
    return m_row ? m_row->GetAt(GetStartIndex() + i) : nullptr;
}

void SpaceLayout::GetAbsRect(int32_t index, Rect& out) const
{
    out = AbsRect();
    const int k = index - GetStartIndex();
    if (k < 0) {
        out.right = out.left;
        return;
    }
    if (k >= m_count) {
        out.left = out.right = ContentRight();
        return;
    }
    const int unit = UnitWidth();
    out.left = m_offset.x + k * unit;
    out.right = out.left + unit;
}
