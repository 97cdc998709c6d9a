#pragma once
// The view's record of page breaks, filled by pagination for printing.
#include <cstdint>

class PageRecord {
public:
    virtual ~PageRecord() = default;
    // Stores the y at which page n (1-based) ends, growing as pages are added.
    virtual void SetPageBreak(int page, int32_t y) = 0;
};
