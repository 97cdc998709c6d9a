#include "foundation/DocPosition.h"

#include "foundation/CompList.h"
#include "foundation/DocSelection.h"
#include "foundation/InnerSelection.h"
#include "foundation/ParagraphStyle.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

namespace {

ParagraphComp* ParagraphOfRow(CompList* list)
{
    TextComp* owner = list ? list->GetOwner() : nullptr;
    if (!owner)
        return nullptr;
    return owner->Tag() == tag_Para ? static_cast<ParagraphComp*>(owner) : owner->GetParagraph();
}

} // namespace

DocPosition::DocPosition(CompList* list, int32_t index)
    : m_object(list), m_paragraph(ParagraphOfRow(list)), m_index(index), m_kind(kListPlace)
{
}

DocPosition::DocPosition(TextComp* grid, int32_t line, bool column)
    : m_object(grid), m_paragraph(grid ? grid->GetParagraph() : nullptr), m_index(line), m_kind(kGridLine),
      m_flag(column ? 1 : 0)
{
}

DocPosition::DocPosition(TextComp* derivative, int32_t slot)
    : m_object(derivative), m_paragraph(derivative ? derivative->GetParagraph() : nullptr), m_index(slot),
      m_kind(kVariableSlot)
{
}

void DocPosition::SetObject(TextComp* comp)
{
    m_object = comp;
    m_paragraph = comp ? comp->GetParagraph() : nullptr;
    m_index = 1;
    m_kind = kWholeObject;
    m_flag = 1;
}

int32_t DocPosition::DecrementIndex()
{
    if (m_index > 1)
        --m_index;
    return m_index;
}

CompList* DocPosition::GetList() const
{
    switch (m_kind) {
    case kListPlace: return static_cast<CompList*>(m_object);
    case kNone: return nullptr;
    default: return m_object ? static_cast<TextComp*>(m_object)->GetOwner() : nullptr;
    }
}

TextComp* DocPosition::GetObject() const
{
    return m_kind == kNone || m_kind == kListPlace ? nullptr : static_cast<TextComp*>(m_object);
}

TextComp* DocPosition::GetChildAt() const
{
    CompList* list = GetList();
    return list ? list->GetAt(m_index) : nullptr;
}

bool DocPosition::IsInParagraph() const
{
    CompList* list = GetList();
    return m_kind == kListPlace && list && list->GetOwner() && list->GetOwner()->Tag() == tag_Para;
}

ParagraphList* DocPosition::GetParagraph() const
{
    return m_paragraph ? m_paragraph->GetOwnerList() : nullptr;
}

DocumentModel* DocPosition::GetDocument() const
{
    ParagraphList* list = GetParagraph();
    return list ? list->GetDocument() : nullptr;
}

TextComp* DocPosition::StartComponent() const
{
    if (m_kind == kListPlace)
        return m_object ? static_cast<CompList*>(m_object)->GetOwner() : nullptr;
    return GetObject();
}

TextComp* DocPosition::FindEnclosing(TypeTag tag) const
{
    for (TextComp* comp = StartComponent(); comp;) {
        if (tag == tag_null || comp->Tag() == tag)
            return comp;
        CompList* owner = comp->GetOwner();
        comp = owner ? owner->GetOwner() : nullptr;
    }
    return nullptr;
}

DocPosition DocPosition::BeforeEnclosing() const
{
    TextComp* comp = FindEnclosing(tag_null);
    CompList* owner = comp ? comp->GetOwner() : nullptr;
    return owner ? DocPosition(owner, owner->Find(comp)) : DocPosition();
}

DocPosition DocPosition::NextField() const
{
    TextComp* comp = FindEnclosing(tag_null);
    if (!comp)
        return DocPosition();
    if (CompList* right = comp->GetListRight(GetList()))
        return DocPosition(right, 1);
    CompList* owner = comp->GetOwner();
    return owner ? DocPosition(owner, owner->Find(comp) + 1) : DocPosition();
}

DocPosition DocPosition::PreviousField() const
{
    TextComp* comp = FindEnclosing(tag_null);
    if (!comp)
        return DocPosition();
    if (CompList* left = comp->GetListLeft(GetList()))
        return DocPosition(left, left->GetCount() + 1);
    CompList* owner = comp->GetOwner();
    return owner ? DocPosition(owner, owner->Find(comp)) : DocPosition();
}

int32_t DocPosition::GetParagraphIndex(bool exact) const
{
    if (!m_paragraph)
        return 0;
    CompList* top = m_paragraph->GetRow();
    if (m_kind == kListPlace && m_object == top)
        return m_index;
    TextComp* comp = StartComponent();
    while (comp && comp->GetOwner() != top) {
        CompList* owner = comp->GetOwner();
        comp = owner ? owner->GetOwner() : nullptr;
    }
    if (!comp)
        return 0;
    return top->Find(comp) + (exact ? 0 : 1);
}

DocPosition DocPosition::Normalize() const
{
    if (m_kind != kListPlace || m_index != 0)
        return *this;
    DocPosition result = *this;
    ParagraphStyle* style = m_paragraph ? m_paragraph->GetStyle() : nullptr;
    CompList* list = GetList();
    bool atEnd = style && style->CaretAtEnd();
    result.m_index = atEnd && list ? list->GetCount() + 1 : 1;
    return result;
}

bool DocPosition::operator==(const DocPosition& other) const
{
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case kNone: return true;
    case kListPlace:
    case kVariableSlot: return m_object == other.m_object && m_index == other.m_index;
    case kGridLine: return m_object == other.m_object && m_index == other.m_index && m_flag == other.m_flag;
    default: return m_object == other.m_object;
    }
}

bool DocPosition::operator<(const DocPosition& other) const
{
    switch (m_kind) {
    case kListPlace: {
        if (other.m_kind != kListPlace)
            return false;
        if (m_object == other.m_object)
            return m_index < other.m_index;
        // Different rows: the order of the paragraphs in their list, taken
        // from their indexes (never from where they were last laid out).
        ParagraphList* list = GetParagraph();
        if (!list || list != other.GetParagraph() || m_paragraph == other.m_paragraph)
            return false;
        return list->IndexOf(m_paragraph) < list->IndexOf(other.m_paragraph);
    }
    case kGridLine:
    case kVariableSlot: return m_index < other.m_index;
    default: return false;
    }
}

bool DocPosition::IsSameContainer(const DocPosition& other) const
{
    if (m_kind != other.m_kind)
        return false;
    if (m_kind == kGridLine)
        return m_object == other.m_object && m_flag == other.m_flag;
    return m_object == other.m_object;
}

std::optional<Qt::CursorShape> DocPosition::GetCursor() const
{
    switch (m_kind) {
    case kListPlace: return IDC_IBEAM;
    case kGridLine: return m_flag ? IDC_SIZENS : IDC_SIZEWE;
    case kVariableSlot: return IDC_SIZENS;
    case kWholeObject: return IDC_ARROW;
    default: return std::nullopt;
    }
}

void DocPosition::GetCaretRect(Rect& out) const
{
    DocSelection(*this, *this).GetBounds(out);
}
