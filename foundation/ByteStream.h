#pragma once
// The byte streams through which everything the program stores or exports
// passes. Positions and counts are 32-bit; numbers are little-endian.
#include <cstdint>

class ByteStream {
public:
    virtual ~ByteStream() = default;

    virtual void Write(const void* buf, int32_t n) {}
    virtual void Read(void* buf, int32_t n) {}
    virtual int32_t GetPosition() { return 0; }
    virtual void Seek(int32_t pos) {}
    virtual int32_t GetLength() = 0;
    virtual void Flush() {}

    void WriteByte(uint8_t b) { Write(&b, 1); }
    uint8_t ReadByte();
    int32_t ReadLong();
};

// The end-of-file failure of every stream: CFileException with cause
// endOfFile, no system error and no file name.
[[noreturn]] void ThrowEndOfFile();
