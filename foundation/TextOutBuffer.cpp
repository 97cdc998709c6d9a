#include "foundation/TextOutBuffer.h"

void TextOutBuffer::WriteString(const char* text)
{
    if (!text)
        return;
    while (*text)
        WriteChar(*text++);
}

void TextOutBuffer::WriteChar(char c)
{
    if (m_count == kCapacity)
        Flush();
    m_buffer[m_count++] = c;
}

void TextOutBuffer::Flush()
{
    if (m_count > 0)
        m_stream->Write(m_buffer, m_count);
    m_count = 0;
}
