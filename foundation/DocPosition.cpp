#include "foundation/DocPosition.h"

#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"

DocPosition::DocPosition(CompList* list, int32_t index) : m_object(list), m_index(index), m_kind(kListPlace)
{
    TextComp* owner = list ? list->GetOwner() : nullptr;
    if (owner)
        m_paragraph = owner->Tag() == tag_Para ? static_cast<ParagraphComp*>(owner) : owner->GetParagraph();
}

CompList* DocPosition::GetList() const
{
    return m_kind == kListPlace ? static_cast<CompList*>(m_object) : nullptr;
}

TextComp* DocPosition::GetObject() const
{
    return m_kind == kNone || m_kind == kListPlace ? nullptr : static_cast<TextComp*>(m_object);
}

bool DocPosition::operator==(const DocPosition& other) const
{
    if (m_kind != other.m_kind)
        return false;
    if (m_kind == kNone)
        return true;
    if (m_kind == kWholeObject)
        return m_object == other.m_object;
    return m_object == other.m_object && m_index == other.m_index && m_flag == other.m_flag;
}
