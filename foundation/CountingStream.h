#pragma once
// Measures what a writing pass would produce without storing it. The run
// between two flushes is pending; GetLength flushes and answers the size.
#include "foundation/ByteStream.h"

class CountingStream : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override;
    int32_t GetPosition() override { return m_committed + m_pending; }
    void Seek(int32_t pos) override { m_pending = pos - m_committed; }
    int32_t GetLength() override;
    void Flush() override;

    // The longest run between two flushes: the size of a buffer that holds any
    // one run of the real pass (a run that seeks back counts up to the furthest
    // byte it reached).
    int32_t GetLargestRun() const { return m_largest; }

private:
    int32_t m_pending = 0;
    int32_t m_largest = 0;
    int32_t m_committed = 0;
    int32_t m_runHighWater = 0;
};
