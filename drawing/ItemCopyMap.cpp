#include "drawing/ItemCopyMap.h"

#include "drawing/DiagramShape.h"
#include "drawing/DrawVariable.h"
#include "foundation/LinkRemap.h"

namespace {

// Both arrays of a table double together when full.
template <class T>
void AppendPair(std::vector<T*>& olds, std::vector<T*>& news, int& capacity, T* old, T* copy)
{
    if (static_cast<int>(olds.size()) == capacity)
        capacity *= 2;
    olds.reserve(static_cast<size_t>(capacity));
    news.reserve(static_cast<size_t>(capacity));
    olds.push_back(old);
    news.push_back(copy);
}

} // namespace

void ItemCopyMap::AddItem(DiagramItem* old, DiagramItem* copy)
{
    AppendPair(m_oldItems, m_newItems, m_itemCapacity, old, copy);
}

void ItemCopyMap::AddVariable(DrawVariable* old, DrawVariable* copy)
{
    AppendPair(m_oldVariables, m_newVariables, m_variableCapacity, old, copy);
    if (m_remap)
        m_remap->AddTarget(old, copy);
}

DiagramItem* ItemCopyMap::FindOrCloneItem(DiagramItem* old)
{
    if (!old)
        return nullptr;
    for (size_t i = m_oldItems.size(); i-- > 0;)
        if (m_oldItems[i] == old)
            return m_newItems[i];
    auto* shape = dynamic_cast<DiagramShape*>(old);
    if (!shape)
        return nullptr;
    DiagramShape* copy = shape->Clone(*this);
    AddItem(old, copy);
    return copy;
}

DrawVariable* ItemCopyMap::FindOrCloneVariable(DrawVariable* old)
{
    if (!old)
        return nullptr;
    for (size_t i = m_oldVariables.size(); i-- > 0;)
        if (m_oldVariables[i] == old)
            return m_newVariables[i];
    return old->Clone(*this);
}

DiagramItem* ItemCopyMap::LookupItem(DiagramItem* old) const
{
    for (size_t i = 0; i < m_oldItems.size(); ++i)
        if (m_oldItems[i] == old)
            return m_newItems[i];
    return nullptr;
}

DrawVariable* ItemCopyMap::LookupVariable(const DrawVariable* old) const
{
    for (size_t i = 0; i < m_oldVariables.size(); ++i)
        if (m_oldVariables[i] == old)
            return m_newVariables[i];
    return nullptr;
}
