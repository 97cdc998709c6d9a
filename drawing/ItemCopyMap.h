#pragma once
// Which new item and which new variable stand for which old one while a
// drawing, or part of one, is copied: shared vertices, shared variables and
// the items that constraints and labels refer to are copied once, and every
// copy points at copies. Variable pairs also go to the copy's link remap, so
// that value displays follow the copied variables.
#include <unordered_map>
#include <utility>
#include <vector>

class DiagramItem;
class DrawVariable;
class LinkRemap;

class ItemCopyMap {
public:
    static constexpr int kInitialCapacity = 16;

    explicit ItemCopyMap(LinkRemap* remap) : m_remap(remap) {}

    void AddItem(DiagramItem* old, DiagramItem* copy);
    void AddVariable(DrawVariable* old, DrawVariable* copy);
    // The copy of an item, searched from the latest pair back; an item not
    // copied yet is cloned (it must be a shape) and recorded.
    DiagramItem* FindOrCloneItem(DiagramItem* old);
    template <class T>
    T* FindOrClone(T* old)
    {
        return static_cast<T*>(FindOrCloneItem(old));
    }
    DrawVariable* FindOrCloneVariable(DrawVariable* old);
    // The copy of an item, searched from the first pair on; null when it was not copied.
    DiagramItem* LookupItem(DiagramItem* old) const;
    // The copy of a variable, or null when it was not copied.
    DrawVariable* LookupVariable(const DrawVariable* old) const;

    LinkRemap* GetRemap() const { return m_remap; }
    int GetItemCount() const { return static_cast<int>(m_oldItems.size()); }
    int GetItemCapacity() const { return m_itemCapacity; }
    int GetVariableCount() const { return static_cast<int>(m_oldVariables.size()); }
    int GetVariableCapacity() const { return m_variableCapacity; }

private:
    // The first and the latest copy of each old object, so that a copy of
    // thousands of items finds each one at once.
    template <class T>
    using CopyIndex = std::unordered_map<const T*, std::pair<T*, T*>>;

    LinkRemap* m_remap;
    std::vector<DiagramItem*> m_oldItems;
    std::vector<DiagramItem*> m_newItems;
    int m_itemCapacity = kInitialCapacity;
    CopyIndex<DiagramItem> m_itemIndex;
    std::vector<DrawVariable*> m_oldVariables;
    std::vector<DrawVariable*> m_newVariables;
    int m_variableCapacity = kInitialCapacity;
    CopyIndex<DrawVariable> m_variableIndex;
};
