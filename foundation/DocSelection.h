#pragma once
// A pair of positions (the anchor end and the caret end). This holds the
// value the component model builds and consumes; the normalising
// constructor, the queries and the editing records are added with the
// selection commands. The ends are stored as given: callers of the model
// pass them in document order.
#include "foundation/DocPosition.h"

class DocSelection {
public:
    DocSelection() = default;
    DocSelection(const DocPosition& first, const DocPosition& second) : m_first(first), m_second(second) {}
    // Children first..last - 1 of one row.
    DocSelection(CompList* list, int32_t first, int32_t last) : m_first(list, first), m_second(list, last) {}

    const DocPosition& GetStart() const { return m_first; }
    const DocPosition& GetEnd() const { return m_second; }
    bool HasExtent() const { return !(m_first == m_second); }

private:
    DocPosition m_first;
    DocPosition m_second;
};
