#pragma once
// The page of an export on its way into the temporary file of an atomic
// replace: bytes go to the file in blocks of 64 KB.
#include "foundation/ByteStream.h"
#include "platform/AtomicFileWriter.h"

#include <vector>

class PageFileStream : public ByteStream {
public:
    static constexpr std::size_t kBlock = 64 * 1024;
    explicit PageFileStream(AtomicFileWriter& file) : m_file(file) { m_block.reserve(kBlock); }
    void Write(const void* buf, int32_t n) override
    {
        if (n <= 0)
            return;
        const char* bytes = static_cast<const char*>(buf);
        m_block.insert(m_block.end(), bytes, bytes + n);
        m_length += n;
        if (m_block.size() >= kBlock)
            Flush();
    }
    void Flush() override
    {
        if (!m_block.empty())
            m_file.Write(m_block.data(), uint32_t(m_block.size()));
        m_block.clear();
    }
    int32_t GetPosition() override { return m_length; }
    int32_t GetLength() override { return m_length; }

private:
    AtomicFileWriter& m_file;
    std::vector<char> m_block;
    int32_t m_length = 0;
};
