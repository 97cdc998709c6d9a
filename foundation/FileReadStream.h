#pragma once
// Reads a file through a 4096-byte buffer. Reading or seeking past the file
// length taken at construction raises the end-of-file exception; so does a
// file that turns out shorter than that length while it is read.
#include "foundation/ByteStream.h"

class CFile;

class FileReadStream : public ByteStream {
public:
    static constexpr int32_t kBufferSize = 4096;

    explicit FileReadStream(CFile* file);

    void Read(void* buf, int32_t n) override;
    int32_t GetPosition() override { return m_bufferFilePos + m_offset; }
    void Seek(int32_t pos) override;
    int32_t GetLength() override { return m_fileLength; }

private:
    void FillBuffer();

    CFile* m_file;
    uint8_t m_buffer[kBufferSize];
    int32_t m_bufferFilePos = 0;
    int32_t m_offset = 0;
    int32_t m_count = 0;
    int32_t m_fileLength = 0;
};
