#include "foundation/IdPool.h"

#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"

#include <algorithm>
#include <unordered_set>

int32_t IdPool::Allocate()
{
    if (!m_free.empty()) {
        int32_t id = m_free.back();
        m_free.pop_back();
        return id;
    }
    return ++m_counter;
}

void IdPool::Reserve(int32_t id)
{
    m_counter = std::max(m_counter, id);
}

void IdPool::Write(DocWriter& writer) const
{
    writer.WriteLong(m_counter);
    writer.WriteLong(GetFreeCount());
    for (int32_t id : m_free)
        writer.WriteLong(id);
}

void IdPool::Read(DocReader& reader)
{
    m_counter = reader.ReadLong();
    int32_t count = reader.ReadCount(4);
    m_free.clear();
    std::unordered_set<int32_t> seen;
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = reader.ReadLong();
        if (id >= 1 && id <= m_counter && seen.insert(id).second)
            m_free.push_back(id);
    }
}
