#pragma once
// Gathers text output in a 1024-byte buffer in front of a stream. Lines end
// with a carriage return alone. The owner calls Flush at the end; the
// destructor does not.
#include "foundation/ByteStream.h"

class TextOutBuffer {
public:
    static constexpr int kCapacity = 1024;

    explicit TextOutBuffer(ByteStream* stream) : m_stream(stream) {}

    void WriteString(const char* text);
    void WriteChar(char c);
    void EndLine() { WriteChar('\r'); }
    void Flush();

private:
    ByteStream* m_stream;
    char m_buffer[kCapacity];
    int m_count = 0;
};
