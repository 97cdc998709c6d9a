#pragma once
// The output of an export writer: bytes gathered in a buffer of 1024 that
// goes to the stream whenever the next byte would not fit, and on Flush,
// which flushes the stream too.
#include <cstddef>
#include <cstdint>
#include <string_view>

class ByteStream;

class ExportOutput {
public:
    static constexpr int kBufferSize = 1024;

    explicit ExportOutput(ByteStream& stream) : m_stream(stream) {}
    ExportOutput(const ExportOutput&) = delete;
    ExportOutput& operator=(const ExportOutput&) = delete;

    void Put(const char* bytes, std::size_t count);
    void Put(std::string_view text) { Put(text.data(), text.size()); }
    void PutChar(char c) { Put(&c, 1); }
    // Hands the buffered bytes to the stream and flushes it.
    void Flush();

private:
    void WriteBuffer();

    ByteStream& m_stream;
    char m_buffer[kBufferSize];
    int32_t m_fill = 0;
};
