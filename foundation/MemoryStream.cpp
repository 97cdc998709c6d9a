#include "foundation/MemoryStream.h"

#include <cstring>

MemoryStream::MemoryStream(void* buffer, int32_t size)
    : m_buffer(static_cast<uint8_t*>(buffer)), m_size(size < 0 ? 0 : size)
{
}

void MemoryStream::Require(int32_t n) const
{
    if (n < 0 || n > m_size - m_position)
        ThrowEndOfFile();
}

void MemoryStream::Write(const void* buf, int32_t n)
{
    Require(n);
    if (n > 0)
        std::memcpy(m_buffer + m_position, buf, static_cast<size_t>(n));
    m_position += n;
}

void MemoryStream::Read(void* buf, int32_t n)
{
    Require(n);
    if (n > 0)
        std::memcpy(buf, m_buffer + m_position, static_cast<size_t>(n));
    m_position += n;
}

void MemoryStream::Seek(int32_t pos)
{
    if (pos < 0 || pos > m_size)
        ThrowEndOfFile();
    m_position = pos;
}
