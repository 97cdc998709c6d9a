#include "kernel/NameTable.h"

#include <cstdint>
#include <cstring>

namespace {

uint32_t HashOf(const char* text, std::size_t length)
{
    uint32_t h = uint32_t(length);
    int shift = 0;
    for (std::size_t i = 0; i < length; ++i) {
        h += uint32_t(int32_t(static_cast<signed char>(text[i]))) << shift;
        shift = (shift + 2) % 8;
    }
    return h;
}

constexpr uint32_t kProbeFactor = 7;

} // namespace

NameTable::NameTable()
{
    m_buckets.fill(-1);
}

void NameTable::Build(const NameSpelling* pairs, int count)
{
    m_count = count;
    m_buckets.fill(-1);
    m_pairs = pairs;
    int stored = 0;
    for (int i = 0; i < count && stored < kNameBucketCount - 1; ++i, ++stored) {
        const char* s = pairs[i].spelling;
        uint32_t h = HashOf(s, std::strlen(s));
        uint32_t slot = h % kNameBucketCount;
        // 953 is prime and 7 is no multiple of it, but h * 7 mod 953 can still
        // cycle short of a free bucket; a bounded walk then falls back to a scan.
        int steps = 0;
        while (m_buckets[slot] != -1 && steps++ < kNameBucketCount) {
            h *= kProbeFactor;
            slot = h % kNameBucketCount;
        }
        while (m_buckets[slot] != -1)
            slot = (slot + 1) % kNameBucketCount;
        m_buckets[slot] = i;
        m_lastSlot = int(slot);
    }
}

int NameTable::Find(const char* name) const
{
    return name ? FindRange(name, name + std::strlen(name)) : 0;
}

int NameTable::FindRange(const char* begin, const char* end) const
{
    if (!m_pairs || !begin || end < begin)
        return 0;
    std::size_t length = std::size_t(end - begin);
    uint32_t h = HashOf(begin, length);
    uint32_t slot = h % kNameBucketCount;
    auto matches = [&](int pair) {
        const char* s = m_pairs[pair].spelling;
        return std::strlen(s) == length && std::memcmp(s, begin, length) == 0;
    };
    for (int steps = 0; steps <= kNameBucketCount; ++steps) {
        m_lastSlot = int(slot);
        int pair = m_buckets[slot];
        if (pair < 0)
            return 0;
        if (matches(pair))
            return m_pairs[pair].entry;
        h *= kProbeFactor;
        slot = h % kNameBucketCount;
    }
    // The probe sequence cycled: the entry went to the first free bucket by scan.
    for (int pair = 0; pair < m_count; ++pair) {
        if (matches(pair))
            return m_pairs[pair].entry;
    }
    return 0;
}

const BuiltinName* NameTable::Entry(int index)
{
    return index > 0 && index < kBuiltinNameCount ? &gBuiltinNames[index] : nullptr;
}

bool NameTable::IsUpright(int index)
{
    const BuiltinName* entry = Entry(index);
    return entry && (entry->flags & 0xFF) == kUprightFlag;
}

NameTable& TheNameTable()
{
    static NameTable table = [] {
        NameTable t;
        t.Build(gNameSpellings, kNameSpellingCount);
        return t;
    }();
    return table;
}

void RegisterNameTable()
{
    KernelNameLookup::Register(&TheNameTable());
}
