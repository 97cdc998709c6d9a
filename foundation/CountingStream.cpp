#include "foundation/CountingStream.h"

#include <algorithm>

void CountingStream::Write(const void*, int32_t n)
{
    m_pending += n;
    m_runHighWater = std::max(m_runHighWater, m_pending);
}

int32_t CountingStream::GetLength()
{
    Flush();
    return m_committed + m_pending;
}

void CountingStream::Flush()
{
    m_largest = std::max({m_largest, m_pending, m_runHighWater});
    m_committed += m_pending;
    m_pending = 0;
    m_runHighWater = 0;
}
