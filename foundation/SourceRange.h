#pragma once
// The document place an expression node came from, so that an answer can
// replace exactly that place: a run of a row's children [start, end), two
// grid lines of a grid, two sub-positions inside a component, or a whole
// component.
#include <cstdint>

class DocPosition;
class DocSelection;

struct SourceRange {
    enum Kind : int32_t { kListRun = 1, kGridLines = 2, kInner = 3, kWhole = 4 };

    void* owner = nullptr;   // a CompList for kind 1, the component otherwise
    int32_t start = 1;
    int32_t end = 1;
    int32_t kind = kListRun;
    uint8_t flag = 0;        // kind 2: 1 column lines, 0 row lines

    void SetParagraphRange(void* list, int32_t first, int32_t last);
    void SetKind2(void* grid, int32_t first, int32_t last, uint8_t columns);

    static bool SameOwner(const SourceRange& a, const SourceRange& b);
    bool Equals(const SourceRange& other) const;
    DocSelection ToSelection() const;
    bool Overlaps(const DocPosition& position) const;
    // Widens this range to take in the other (which lies wholly before or after it).
    void Extend(const SourceRange& other);
};
