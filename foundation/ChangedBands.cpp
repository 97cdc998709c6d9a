#include "foundation/ChangedBands.h"

#include "foundation/DrawContext.h"

void ChangedBands::Changed(const Rect& box)
{
    if (box.IsEmpty())
        return;
    if (!m_bands.empty() && (!m_gap || box.top < m_bands.back().bottom))
        Rect::Union(m_bands.back(), box, m_bands.back());
    else
        m_bands.push_back(box);
    m_gap = false;
}

std::vector<Rect> ChangedBands::Bands() const
{
    if (m_bands.size() <= kMaxBands)
        return m_bands;
    Rect all = m_bands.front();
    for (const Rect& band : m_bands)
        Rect::Union(all, band, all);
    return {all};
}

void ChangedBands::Invalidate() const
{
    for (Rect band : Bands()) {
        // A pen two pixels wide drawn along the top or bottom edge of an
        // item's box (a matrix's brackets) inks a pixel row outside it.
        band.top -= 1;
        band.bottom += 1;
        gDrawContext.InvalidateLogicalRect(band);
    }
}
