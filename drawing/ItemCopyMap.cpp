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

template <class T>
void Index(std::unordered_map<const T*, std::pair<T*, T*>>& index, const T* old, T* copy)
{
    auto [entry, fresh] = index.try_emplace(old, copy, copy);
    if (!fresh)
        entry->second.second = copy;
}

// The first (true) or the latest copy, or null.
template <class T>
T* CopyOf(const std::unordered_map<const T*, std::pair<T*, T*>>& index, const T* old, bool first)
{
    const auto entry = index.find(old);
    if (entry == index.end())
        return nullptr;
    return first ? entry->second.first : entry->second.second;
}

} // namespace

void ItemCopyMap::AddItem(DiagramItem* old, DiagramItem* copy)
{
    AppendPair(m_oldItems, m_newItems, m_itemCapacity, old, copy);
    Index(m_itemIndex, old, copy);
}

void ItemCopyMap::AddVariable(DrawVariable* old, DrawVariable* copy)
{
    AppendPair(m_oldVariables, m_newVariables, m_variableCapacity, old, copy);
    Index(m_variableIndex, old, copy);
    if (m_remap)
        m_remap->AddTarget(old, copy);
}

DiagramItem* ItemCopyMap::FindOrCloneItem(DiagramItem* old)
{
    if (!old)
        return nullptr;
    if (DiagramItem* copy = CopyOf(m_itemIndex, old, false))
        return copy;
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
    if (DrawVariable* copy = CopyOf(m_variableIndex, old, false))
        return copy;
    return old->Clone(*this);
}

DiagramItem* ItemCopyMap::LookupItem(DiagramItem* old) const
{
    return CopyOf(m_itemIndex, old, true);
}

DrawVariable* ItemCopyMap::LookupVariable(const DrawVariable* old) const
{
    return CopyOf(m_variableIndex, old, true);
}
