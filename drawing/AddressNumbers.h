#pragma once
// Numbers distinct addresses 0, 1, 2... in the order in which they are first
// given. The numeric solver numbers every variable of a drawing's equations
// each time it gathers a cluster, so the table is open-addressed: one array,
// no allocation per entry.
#include <cstddef>
#include <cstdint>
#include <vector>

class AddressNumbers {
public:
    explicit AddressNumbers(size_t expected)
    {
        size_t capacity = 16;
        while (capacity < 2 * expected)
            capacity *= 2;
        m_slots.resize(capacity);
    }

    // The address's number; the next one when it is new. Never null.
    int NumberOf(const void* address)
    {
        size_t i = Find(address);
        if (!m_slots[i].address) {
            if (2 * static_cast<size_t>(m_count + 1) > m_slots.size()) {
                Grow();
                i = Find(address);
            }
            m_slots[i] = {address, m_count++};
        }
        return m_slots[i].number;
    }
    int GetCount() const { return m_count; }

private:
    struct Slot {
        const void* address = nullptr;
        int number = -1;
    };

    size_t Find(const void* address) const
    {
        const size_t mask = m_slots.size() - 1;
        size_t i =
            static_cast<size_t>((reinterpret_cast<std::uintptr_t>(address) * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (m_slots[i].address && m_slots[i].address != address)
            i = (i + 1) & mask;
        return i;
    }
    void Grow()
    {
        std::vector<Slot> old(2 * m_slots.size());
        old.swap(m_slots);
        for (const Slot& slot : old)
            if (slot.address)
                m_slots[Find(slot.address)] = slot;
    }

    std::vector<Slot> m_slots;
    int m_count = 0;
};
