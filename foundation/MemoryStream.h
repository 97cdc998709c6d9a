#pragma once
// Reads or writes a block the caller owns (clipboard blocks, text to parse).
// Blocks may come from other programs, so every access is checked against the
// size: going past it raises the end-of-file exception.
#include "foundation/ByteStream.h"

class MemoryStream : public ByteStream {
public:
    MemoryStream(void* buffer, int32_t size);

    void Write(const void* buf, int32_t n) override;
    void Read(void* buf, int32_t n) override;
    int32_t GetPosition() override { return m_position; }
    void Seek(int32_t pos) override;
    int32_t GetLength() override { return m_size; }

private:
    void Require(int32_t n) const;

    uint8_t* m_buffer;
    int32_t m_position = 0;
    int32_t m_size;
};
