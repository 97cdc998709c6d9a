#include "foundation/SourceRange.h"

#include "foundation/CompList.h"
#include "foundation/DocSelection.h"
#include "foundation/TextComp.h"

void SourceRange::SetParagraphRange(void* list, int32_t first, int32_t last)
{
    owner = list;
    start = first;
    end = last;
    kind = kListRun;
    flag = 0;
}

void SourceRange::SetKind2(void* grid, int32_t first, int32_t last, uint8_t columns)
{
    owner = grid;
    start = first;
    end = last;
    kind = kGridLines;
    flag = columns;
}

bool SourceRange::SameOwner(const SourceRange& a, const SourceRange& b)
{
    if (a.kind != b.kind || a.owner != b.owner)
        return false;
    return a.kind != kGridLines || a.flag == b.flag;
}

bool SourceRange::Equals(const SourceRange& other) const
{
    return SameOwner(*this, other) && start == other.start && end == other.end;
}

DocSelection SourceRange::ToSelection() const
{
    switch (kind) {
    case kListRun:
        return DocSelection(static_cast<CompList*>(owner), start, end);
    case kGridLines: {
        auto* grid = static_cast<TextComp*>(owner);
        return DocSelection(DocPosition(grid, start, flag != 0), DocPosition(grid, end, flag != 0));
    }
    case kInner: {
        auto* comp = static_cast<TextComp*>(owner);
        return DocSelection(DocPosition(comp, start), DocPosition(comp, end));
    }
    case kWhole:
        return DocSelection::SelectObject(static_cast<TextComp*>(owner));
    default:
        return DocSelection();
    }
}

bool SourceRange::Overlaps(const DocPosition& position) const
{
    return owner && ToSelection().Contains(position);
}

void SourceRange::Extend(const SourceRange& other)
{
    if (SameOwner(*this, other)) {
        if (end >= other.end)
            start = other.start;
        else
            end = other.end;
        return;
    }
    if (!owner || !other.owner)
        return;
    DocSelection joined(ToSelection().First(), other.ToSelection().Second());
    const DocPosition& a = joined.First();
    const DocPosition& b = joined.Second();
    kind = a.GetKind();
    flag = a.GetFlag();
    start = a.GetIndex();
    end = b.GetIndex();
    owner = kind == kListRun ? static_cast<void*>(a.GetList()) : static_cast<void*>(a.GetObject());
}
