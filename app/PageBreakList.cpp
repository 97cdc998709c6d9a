#include "app/PageBreakList.h"

#include "foundation/PtrArray.h"

PageBreakList::PageBreakList(int32_t left, int32_t right) : m_template(left, 0, right, 0)
{
    m_bottoms.reserve(kInitialCapacity);
}

// The array grows like the document's other growable arrays: by its
// capacity, at most 32 at a time.
void PageBreakList::Reserve(int pages)
{
    while (m_capacity < pages)
        m_capacity = GrowPtrArray(m_capacity);
    m_bottoms.reserve(size_t(m_capacity));
}

void PageBreakList::SetPageStart(int page, int32_t y)
{
    if (page < 1)
        return;
    Reserve(page);
    if (int(m_bottoms.size()) < page)
        m_bottoms.resize(size_t(page), m_bottoms.empty() ? 0 : m_bottoms.back());
    m_bottoms[size_t(page - 1)] = y;
    if (page > m_count)
        m_count = page;
}

Rect PageBreakList::GetPageRect(int page) const
{
    if (page < 1 || page > m_count)
        return Rect();
    Rect r = m_template;
    r.top = page == 1 ? 0 : m_bottoms[size_t(page - 2)];
    r.bottom = m_bottoms[size_t(page - 1)];
    return r;
}
