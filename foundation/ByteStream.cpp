#include "foundation/ByteStream.h"

#include "platform/Exceptions.h"

void ThrowEndOfFile()
{
    throw CFileException(CFileException::endOfFile);
}

uint8_t ByteStream::ReadByte()
{
    uint8_t b = 0;
    Read(&b, 1);
    return b;
}

int32_t ByteStream::ReadLong()
{
    uint8_t b[4] = {};
    Read(b, 4);
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}
