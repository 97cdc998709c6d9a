#pragma once
// An unbuffered stream for exports: the file grows in chunks while it is
// written and is cut to what was written when the stream is destroyed.
#include "foundation/ByteStream.h"

class CFile;

class FileStream : public ByteStream {
public:
    FileStream(CFile* file, int32_t initialLength, int32_t chunk);
    ~FileStream() override;

    void Write(const void* buf, int32_t n) override;
    int32_t GetPosition() override { return m_position; }
    int32_t GetLength() override;

private:
    void Grow(int32_t n);

    CFile* m_file;
    int32_t m_position = 0;
    int32_t m_allocated;
    int32_t m_chunk;
};
