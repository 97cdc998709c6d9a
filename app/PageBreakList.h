#pragma once
// The page breaks of one print job: where each page ends on the document,
// filled by pagination. Every page has the same left and right edges (the
// left margin and the page width); page n runs from the bottom of page n - 1
// (0 for page 1) to its own bottom.
#include <cstdint>
#include <vector>

#include "foundation/PageRecord.h"
#include "foundation/Rect.h"

class PageBreakList : public PageRecord {
public:
    static constexpr int kInitialCapacity = 16;

    PageBreakList(int32_t left, int32_t right);

    // Stores y as the bottom of page n (1-based) and raises the count to n.
    void SetPageStart(int page, int32_t y);
    void SetPageBreak(int page, int32_t y) override { SetPageStart(page, y); }

    // The rectangle of page n; an empty one outside 1..count.
    Rect GetPageRect(int page) const;
    int GetPageCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }

private:
    void Reserve(int pages);

    Rect m_template;
    std::vector<int32_t> m_bottoms;
    int m_capacity = kInitialCapacity;
    int m_count = 0;
};
