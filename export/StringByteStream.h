#pragma once
// A stream that collects what is written in memory, so that an export can
// replace its file in one step once the whole text is there.
#include "foundation/ByteStream.h"

#include <string>

class StringByteStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { m_text.append(static_cast<const char*>(buf), static_cast<size_t>(n)); }
    int32_t GetLength() override { return static_cast<int32_t>(m_text.size()); }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
