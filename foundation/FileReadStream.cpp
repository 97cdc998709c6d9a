#include "foundation/FileReadStream.h"

#include "platform/CFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

FileReadStream::FileReadStream(CFile* file) : m_file(file)
{
    uint64_t length = m_file->GetLength();
    m_fileLength = static_cast<int32_t>(std::min<uint64_t>(length, std::numeric_limits<int32_t>::max()));
    m_file->Seek(0, CFile::begin);
    FillBuffer();
}

void FileReadStream::FillBuffer()
{
    m_count = static_cast<int32_t>(m_file->Read(m_buffer, kBufferSize));
    m_offset = 0;
}

void FileReadStream::Read(void* buf, int32_t n)
{
    if (n < 0 || int64_t(m_bufferFilePos) + m_offset + n > m_fileLength)
        ThrowEndOfFile();
    auto* out = static_cast<uint8_t*>(buf);
    while (n > 0) {
        if (m_offset >= m_count) {
            m_bufferFilePos += m_count;
            FillBuffer();
            // The file is shorter than it was when the stream was made.
            if (m_count == 0)
                ThrowEndOfFile();
        }
        int32_t chunk = std::min(n, m_count - m_offset);
        std::memcpy(out, m_buffer + m_offset, static_cast<size_t>(chunk));
        out += chunk;
        m_offset += chunk;
        n -= chunk;
    }
}

void FileReadStream::Seek(int32_t pos)
{
    int64_t inBuffer = int64_t(pos) - m_bufferFilePos;
    if (inBuffer >= 0 && inBuffer < m_count) {
        m_offset = static_cast<int32_t>(inBuffer);
        return;
    }
    if (pos < 0 || pos > m_fileLength)
        ThrowEndOfFile();
    m_bufferFilePos = static_cast<int32_t>(m_file->Seek(pos, CFile::begin));
    FillBuffer();
}
