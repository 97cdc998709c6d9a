#pragma once
// Writes a document through the caller's buffer, sized by a counting pass so
// that the archive's back-patching seeks fall inside it. The buffer reaches
// the file at Flush only: a destructor cannot say that a write failed, and a
// stream dropped by a failure must not write again, so destroying the stream
// writes nothing.
#include "foundation/ByteStream.h"

class CFile;

class FileWriteStream : public ByteStream {
public:
    FileWriteStream(CFile* file, char* buffer, int32_t size);

    void Write(const void* buf, int32_t n) override;
    int32_t GetPosition() override { return m_base + m_count; }
    // Only positions still in the buffer can be reached.
    void Seek(int32_t pos) override;
    int32_t GetLength() override;
    void Flush() override;

private:
    CFile* m_file;
    char* m_buffer;
    int32_t m_base = 0;
    int32_t m_count = 0;
    int32_t m_size;
    int32_t m_written = 0; // the furthest byte written into the buffer
};
