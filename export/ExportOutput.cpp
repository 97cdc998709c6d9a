#include "export/ExportOutput.h"

#include "foundation/ByteStream.h"

#include <cstring>

void ExportOutput::Put(const char* bytes, std::size_t count)
{
    while (count > 0) {
        if (m_fill == kBufferSize)
            WriteBuffer();
        const std::size_t room = std::size_t(kBufferSize - m_fill);
        const std::size_t part = count < room ? count : room;
        std::memcpy(m_buffer + m_fill, bytes, part);
        m_fill += int32_t(part);
        bytes += part;
        count -= part;
    }
}

void ExportOutput::WriteBuffer()
{
    if (m_fill > 0)
        m_stream.Write(m_buffer, m_fill);
    m_fill = 0;
}

void ExportOutput::Flush()
{
    WriteBuffer();
    m_stream.Flush();
}
