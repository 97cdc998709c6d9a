#pragma once
// A growable array of pointers with the program's fixed growth rules. The
// lists of the document (component rows, paragraphs, pages, styles, node
// lists) start with room for 16 and grow by min(capacity, 32); the drawing
// code's item arrays start with 8 and grow by 4. Positions are 1-based.
// The capacity follows those rules; the storage behind it grows by at least
// a quarter at a time, so that filling a long row costs time in proportion
// to its length rather than to its square, and in place where the memory
// allows (a long row's block is moved by the system, not copied).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

// One growth step of the document lists: 16, 32, 64, 96, 128, ...
constexpr int GrowPtrArray(int capacity)
{
    return capacity + std::min(capacity, 32);
}

// One growth step of the drawing code's item arrays: 8, 12, 16, ...
constexpr int GrowItemArray(int capacity)
{
    return capacity + 4;
}

template <class T>
class PtrArray {
public:
    using Growth = int (*)(int);

    explicit PtrArray(int capacity = 16, Growth grow = GrowPtrArray)
        : m_data(Reallocate(nullptr, std::max(capacity, 1))), m_capacity(std::max(capacity, 1)), m_grow(grow)
    {
    }
    ~PtrArray() { std::free(m_data); }
    PtrArray(const PtrArray&) = delete;
    PtrArray& operator=(const PtrArray&) = delete;

    int GetCount() const { return m_count; }
    int GetCapacity() const { return m_capacity; }

    // The element at a 1-based position; null outside 1..count.
    T* GetAt(int i) const { return i >= 1 && i <= m_count ? m_data[i - 1] : nullptr; }
    // The 1-based position of an element; 0 when absent.
    int Find(const T* item) const
    {
        for (int i = 0; i < m_count; ++i)
            if (m_data[i] == item)
                return i + 1;
        return 0;
    }

    void Append(T* item) { InsertAt(m_count + 1, item); }
    // Inserts before position i (1..count + 1).
    void InsertAt(int i, T* item)
    {
        i = std::clamp(i, 1, m_count + 1);
        if (m_count == m_capacity)
            Grow();
        std::memmove(&m_data[i], &m_data[i - 1], sizeof(T*) * static_cast<size_t>(m_count - i + 1));
        m_data[i - 1] = item;
        ++m_count;
    }
    // Removes and answers the element at position i (null outside 1..count).
    T* RemoveAt(int i)
    {
        T* item = GetAt(i);
        if (!item && (i < 1 || i > m_count))
            return nullptr;
        std::memmove(&m_data[i - 1], &m_data[i], sizeof(T*) * static_cast<size_t>(m_count - i));
        --m_count;
        return item;
    }
    void RemoveAll() { m_count = 0; }
    void Swap(PtrArray& other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_count, other.m_count);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_storage, other.m_storage);
        std::swap(m_grow, other.m_grow);
    }
    // Grows by the growth rules until count elements fit.
    void Reserve(int count)
    {
        while (m_capacity < count)
            Grow();
    }
    // Inserts the elements of other, in order, before position i
    // (1..count + 1), moving the elements after them once.
    void InsertAll(int i, const PtrArray& other)
    {
        const int count = other.m_count;
        i = std::clamp(i, 1, m_count + 1);
        Reserve(m_count + count);
        std::memmove(&m_data[i - 1 + count], &m_data[i - 1], sizeof(T*) * static_cast<size_t>(m_count - i + 1));
        std::memcpy(&m_data[i - 1], other.m_data, sizeof(T*) * static_cast<size_t>(count));
        m_count += count;
    }
    // Removes positions first..last (within 1..count), moving the elements
    // after them once.
    void RemoveRange(int first, int last)
    {
        std::memmove(&m_data[first - 1], &m_data[last], sizeof(T*) * static_cast<size_t>(m_count - last));
        m_count -= last - first + 1;
    }

private:
    void Grow()
    {
        const int capacity = m_grow(m_capacity);
        if (capacity > m_storage) {
            const int storage = std::max(capacity, m_storage + m_storage / 4);
            m_data = Reallocate(m_data, storage);
            m_storage = storage;
        }
        m_capacity = capacity;
    }

    // Pointers are plain values: the block grows by reallocation, which
    // leaves it as it was when it fails.
    static T** Reallocate(T** block, int count)
    {
        auto* grown = static_cast<T**>(std::realloc(block, sizeof(T*) * static_cast<size_t>(count)));
        if (!grown)
            throw std::bad_alloc();
        return grown;
    }

    T** m_data;
    int m_count = 0;
    int m_capacity;
    int m_storage = m_capacity;
    Growth m_grow;
};
