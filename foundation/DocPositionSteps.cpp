// The caret steps of a position: one place left or right (passing over a
// structure, or with Ctrl stepping into it) and up or down.
#include "foundation/DocPosition.h"

#include "foundation/CompList.h"
#include "foundation/Layout.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"
#include "foundation/StructureShape.h"

#include <algorithm>
#include <vector>

namespace {

// The neighbouring paragraph of the position's paragraph in its list, or null.
ParagraphComp* NeighbourParagraph(ParagraphComp* paragraph, int step)
{
    ParagraphList* list = paragraph ? paragraph->GetOwnerList() : nullptr;
    if (!list)
        return nullptr;
    int i = list->IndexOf(paragraph);
    return i > 0 ? list->GetAt(i + step) : nullptr;
}

// The vertical middles of the laid-out lines of a paragraph's row, in order,
// and the line that holds row place index (0-based; 0 without line items).
std::vector<int> LineMiddles(const CompList* row, int index, size_t& current)
{
    std::vector<int> middles;
    current = 0;
    LayoutArray* items = row->GetItems();
    for (int i = 1; items && i <= items->GetCount(); ++i) {
        Layout* item = items->GetAt(i);
        if (!item->IsLine())
            continue;
        if (item->GetStartIndex() <= index && !middles.empty())
            current = middles.size();
        const Rect band = item->AbsRect();
        middles.push_back((band.top + band.bottom) / 2);
    }
    return middles;
}

} // namespace

DocPosition DocPosition::Before(TextComp* comp)
{
    CompList* owner = comp ? comp->GetOwner() : nullptr;
    return owner ? DocPosition(owner, owner->Find(comp)) : DocPosition();
}

DocPosition DocPosition::After(TextComp* comp)
{
    CompList* owner = comp ? comp->GetOwner() : nullptr;
    return owner ? DocPosition(owner, owner->Find(comp) + 1) : DocPosition();
}

// The end of a row: the next paragraph, the next row of the structure, or out of it.
DocPosition DocPosition::NextInList() const
{
    CompList* list = GetList();
    if (IsInParagraph()) {
        ParagraphComp* next = NeighbourParagraph(m_paragraph, 1);
        return next ? DocPosition(next->GetRow(), 1) : *this;
    }
    TextComp* owner = list->GetOwner();
    if (!owner)
        return *this;
    if (CompList* right = owner->GetListRight(list))
        return DocPosition(right, 1);
    DocPosition after = After(owner);
    return after.GetKind() == kNone ? *this : after;
}

// The start of a row: the previous paragraph, the previous row, or out.
DocPosition DocPosition::PreviousInList() const
{
    CompList* list = GetList();
    if (IsInParagraph()) {
        ParagraphComp* previous = NeighbourParagraph(m_paragraph, -1);
        if (!previous)
            return DocPosition(list, 1);
        return DocPosition(previous->GetRow(), previous->GetRow()->GetCount() + 1);
    }
    TextComp* owner = list->GetOwner();
    if (!owner)
        return *this;
    if (CompList* left = owner->GetListLeft(list))
        return DocPosition(left, left->GetCount() + 1);
    DocPosition before = Before(owner);
    return before.GetKind() == kNone ? *this : before;
}

DocPosition DocPosition::Next() const
{
    TextComp* object = GetObject();
    switch (m_kind) {
    case kListPlace: {
        CompList* list = GetList();
        if (!list)
            return *this;
        return m_index <= list->GetCount() ? DocPosition(list, m_index + 1) : NextInList();
    }
    case kGridLine:
        if (!m_flag)
            return *this;
        if (m_index <= StructureShape::GridColumns(object))
            return DocPosition(object, m_index + 1, true);
        return After(object);
    case kVariableSlot:
        if (m_index <= StructureShape::VariableCount(object))
            return DocPosition(object, m_index + 1);
        return After(object);
    case kWholeObject: return After(object);
    default: return *this;
    }
}

DocPosition DocPosition::Previous() const
{
    TextComp* object = GetObject();
    switch (m_kind) {
    case kListPlace: {
        CompList* list = GetList();
        if (!list)
            return *this;
        return m_index > 1 ? DocPosition(list, std::min(m_index, list->GetCount() + 1) - 1) : PreviousInList();
    }
    case kGridLine:
        if (!m_flag)
            return *this;
        return m_index > 1 ? DocPosition(object, m_index - 1, true) : Before(object);
    case kVariableSlot: return m_index > 1 ? DocPosition(object, m_index - 1) : Before(object);
    case kWholeObject: return Before(object);
    default: return *this;
    }
}

DocPosition DocPosition::CtrlNext() const
{
    TextComp* object = GetObject();
    switch (m_kind) {
    case kListPlace: {
        CompList* list = GetList();
        if (!list)
            return *this;
        if (m_index > list->GetCount())
            return NextInList();
        TextComp* child = list->GetAt(m_index);
        if (child && child->GetChildCount() >= 1)
            if (CompList* entered = child->GetListRight(nullptr))
                return DocPosition(entered, 1);
        return DocPosition(list, m_index + 1);
    }
    case kGridLine:
        if (m_flag && m_index <= StructureShape::GridColumns(object))
            return DocPosition(object, m_index + 1, true);
        return After(object);
    case kVariableSlot:
        if (CompList* variable = StructureShape::VariableRow(object, m_index))
            return DocPosition(variable, 1);
        return After(object);
    case kWholeObject: return After(object);
    default: return *this;
    }
}

DocPosition DocPosition::CtrlPrevious() const
{
    TextComp* object = GetObject();
    switch (m_kind) {
    case kListPlace: {
        CompList* list = GetList();
        if (!list)
            return *this;
        if (m_index <= 1)
            return PreviousInList();
        const int index = std::min(m_index, list->GetCount() + 1);
        TextComp* child = list->GetAt(index - 1);
        if (child && child->GetChildCount() >= 1)
            if (CompList* entered = child->GetListLeft(nullptr))
                return DocPosition(entered, entered->GetCount() + 1);
        return DocPosition(list, index - 1);
    }
    case kGridLine:
        if (m_flag && m_index > 1)
            return DocPosition(object, m_index - 1, true);
        return Before(object);
    case kVariableSlot:
        if (CompList* variable = StructureShape::VariableRow(object, m_index - 1))
            return DocPosition(variable, variable->GetCount() + 1);
        return Before(object);
    case kWholeObject: return Before(object);
    default: return *this;
    }
}


// The middle of the neighbouring laid-out line above or below the caret, in
// this paragraph or the neighbouring one; at the top of the first paragraph
// or the bottom of the last one the caret's own line.
DocPosition DocPosition::VerticalInParagraph(bool down) const
{
    if (!GetParagraph())
        return *this;
    Rect caret;
    GetCaretRect(caret);
    size_t line = 0;
    const std::vector<int> lines = LineMiddles(m_paragraph->GetRow(), m_index, line);
    IntPoint target(caret.left, (caret.top + caret.bottom) / 2);
    ParagraphComp* into = m_paragraph;
    if (!down && line > 0) {
        target.y = lines[line - 1];
    } else if (down && line + 1 < lines.size()) {
        target.y = lines[line + 1];
    } else if (ParagraphComp* next = NeighbourParagraph(m_paragraph, down ? 1 : -1)) {
        size_t unused = 0;
        const std::vector<int> other = LineMiddles(next->GetRow(), 0, unused);
        Rect bounds;
        next->GetAbsBounds(bounds);
        into = next;
        target.y = other.empty() ? (bounds.top + bounds.bottom) / 2 : down ? other.front() : other.back();
    }
    DocPosition result;
    into->PositionFromPoint(result, target, true);
    return result.GetKind() == kNone ? *this : result;
}

DocPosition DocPosition::Up() const
{
    TextComp* object = GetObject();
    switch (m_kind) {
    case kListPlace: {
        if (IsInParagraph())
            return VerticalInParagraph(false);
        CompList* list = GetList();
        TextComp* owner = list ? list->GetOwner() : nullptr;
        if (!owner)
            return *this;
        if (CompList* above = owner->GetListUp(list))
            return DocPosition(above, above->GetCount() + 1);
        return Before(owner);
    }
    case kGridLine:
        if (!m_flag && m_index > 1)
            return DocPosition(object, m_index - 1, false);
        return Before(object);
    case kVariableSlot:
    case kWholeObject: return Before(object);
    default: return *this;
    }
}

DocPosition DocPosition::Down() const
{
    TextComp* object = GetObject();
    switch (m_kind) {
    case kListPlace: {
        if (IsInParagraph())
            return VerticalInParagraph(true);
        CompList* list = GetList();
        TextComp* owner = list ? list->GetOwner() : nullptr;
        if (!owner)
            return *this;
        if (CompList* below = owner->GetListDown(list))
            return DocPosition(below, 1);
        return After(owner);
    }
    case kGridLine:
        if (!m_flag && m_index <= StructureShape::GridRows(object))
            return DocPosition(object, m_index + 1, false);
        return After(object);
    case kVariableSlot:
    case kWholeObject: return After(object);
    default: return *this;
    }
}
