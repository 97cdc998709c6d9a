#pragma once
// Hands out the document's numeric ids (equation labels, link targets) and
// takes released ids back; a released id is handed out again first.
#include <cstdint>
#include <vector>

class DocReader;
class DocWriter;

class IdPool {
public:
    int32_t Allocate();
    void Release(int32_t id) { m_free.push_back(id); }
    // Raises the counter to id when id is larger (objects loaded with ids).
    void Reserve(int32_t id);

    int32_t GetCounter() const { return m_counter; }
    int32_t GetFreeCount() const { return static_cast<int32_t>(m_free.size()); }
    int32_t GetStoredSize() const { return 4 * GetFreeCount() + 8; }

    // counter, free count, then each free id, all 32-bit.
    void Write(DocWriter& writer) const;
    // The free ids read are kept only when they are distinct ids in
    // 1..counter, so a damaged file cannot make the pool hand out an id twice.
    void Read(DocReader& reader);

private:
    int32_t m_counter = 0;
    std::vector<int32_t> m_free;
};
