#include "foundation/FileWriteStream.h"

#include "platform/CFile.h"

#include <algorithm>
#include <cstring>

FileWriteStream::FileWriteStream(CFile* file, char* buffer, int32_t size)
    : m_file(file), m_buffer(buffer), m_size(size < 0 ? 0 : size)
{
    m_file->Seek(0, CFile::begin);
}

void FileWriteStream::Write(const void* buf, int32_t n)
{
    if (n <= 0)
        return;
    if (n > m_size - m_count) {
        // More than the counting pass foresaw: pass what is buffered on, then
        // write directly when the data does not fit the buffer at all.
        Flush();
        if (n > m_size) {
            m_file->Write(buf, static_cast<uint32_t>(n));
            m_base += n;
            return;
        }
    }
    std::memcpy(m_buffer + m_count, buf, static_cast<size_t>(n));
    m_count += n;
    m_written = std::max(m_written, m_count);
}

void FileWriteStream::Seek(int32_t pos)
{
    if (pos < m_base || pos - m_base > m_written)
        throw CFileException(CFileException::badSeek);
    m_count = pos - m_base;
}

int32_t FileWriteStream::GetLength()
{
    return static_cast<int32_t>(m_file->GetLength());
}

void FileWriteStream::Flush()
{
    // Bytes written beyond a seek back are kept: the run ends at its furthest byte.
    int32_t end = std::max(m_count, m_written);
    if (end < 1)
        return;
    m_file->Seek(m_base, CFile::begin);
    m_file->Write(m_buffer, static_cast<uint32_t>(end));
    m_base += end;
    m_count = 0;
    m_written = 0;
}
