#include "foundation/FileStream.h"

#include "platform/CFile.h"

FileStream::FileStream(CFile* file, int32_t initialLength, int32_t chunk)
    : m_file(file), m_allocated(initialLength < 0 ? 0 : initialLength), m_chunk(chunk < 1 ? 1 : chunk)
{
    m_file->SetLength(static_cast<uint64_t>(m_allocated));
    m_file->Seek(0, CFile::begin);
}

FileStream::~FileStream()
{
    try {
        m_file->SetLength(static_cast<uint64_t>(m_position));
    } catch (...) {
        // Nothing to report to from a destructor, and nothing may leave it.
    }
}

void FileStream::Grow(int32_t n)
{
    int64_t allocated = m_allocated + int64_t(m_position - m_allocated + n) / m_chunk * m_chunk;
    if (allocated < int64_t(m_position) + n)
        allocated += m_chunk;
    m_allocated = static_cast<int32_t>(allocated);
    uint64_t filePos = m_file->GetPosition();
    m_file->SetLength(static_cast<uint64_t>(m_allocated));
    m_file->Seek(static_cast<int64_t>(filePos), CFile::begin);
}

void FileStream::Write(const void* buf, int32_t n)
{
    if (n <= 0)
        return;
    if (int64_t(m_position) + n > m_allocated)
        Grow(n);
    m_file->Write(buf, static_cast<uint32_t>(n));
    m_position += n;
}

int32_t FileStream::GetLength()
{
    return static_cast<int32_t>(m_file->GetLength());
}
