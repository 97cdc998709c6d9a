#pragma once
// The drawing code's growable array of pointers (items, vertices, variables,
// labels). It does not own what it points to. A new array has room for 8
// and grows by exactly 4 when an append finds it full; removal keeps the
// order of the rest.
#include <algorithm>
#include <cstddef>
#include <vector>

template <class T>
class ItemArray {
public:
    static constexpr int kInitialCapacity = 8;
    static constexpr int kGrowth = 4;

    ItemArray() { m_items.reserve(kInitialCapacity); }

    void Add(T* p)
    {
        if (GetCount() == m_capacity) {
            m_capacity += kGrowth;
            m_items.reserve(static_cast<size_t>(m_capacity));
        }
        m_items.push_back(p);
    }
    // Room for count items at once, for a list whose length is known.
    void Reserve(int count)
    {
        if (count > m_capacity) {
            m_capacity = count;
            m_items.reserve(static_cast<size_t>(count));
        }
    }
    // Appends p unless it is there already.
    void AddOnce(T* p)
    {
        if (!Contains(p))
            Add(p);
    }
    // Inserts p before the item at index (at the end when index is past it).
    void InsertAt(int index, T* p)
    {
        Add(p);
        const auto at = m_items.begin() + std::clamp<std::ptrdiff_t>(index, 0, GetCount() - 1);
        std::rotate(at, m_items.end() - 1, m_items.end());
    }
    // Removes the first occurrence; nothing when absent.
    void Remove(T* p)
    {
        auto it = std::find(m_items.begin(), m_items.end(), p);
        if (it != m_items.end())
            m_items.erase(it);
    }
    bool Contains(const T* p) const { return std::find(m_items.begin(), m_items.end(), p) != m_items.end(); }
    int IndexOf(T* p) const
    {
        auto it = std::find(m_items.begin(), m_items.end(), p);
        return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
    }
    void MoveToBack(T* p)
    {
        auto it = std::find(m_items.begin(), m_items.end(), p);
        if (it != m_items.end())
            std::rotate(it, it + 1, m_items.end());
    }
    void MoveToFront(T* p)
    {
        auto it = std::find(m_items.begin(), m_items.end(), p);
        if (it != m_items.end())
            std::rotate(m_items.begin(), it, it + 1);
    }
    void Clear() { m_items.clear(); }

    T* GetAt(int i) const { return m_items[static_cast<size_t>(i)]; }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    int GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_items.empty(); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T*> m_items;
    int m_capacity = kInitialCapacity;
};
