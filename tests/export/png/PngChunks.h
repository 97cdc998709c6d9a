#pragma once
// Reads the chunks of PNG bytes for the tests: their types in order and data.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

struct PngChunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

inline std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The chunks, or none when the bytes are not a well-formed PNG.
inline std::vector<PngChunk> ReadPngChunks(const std::vector<std::uint8_t>& bytes)
{
    static const std::uint8_t signature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<PngChunk> chunks;
    if (bytes.size() < 8 || !std::equal(signature, signature + 8, bytes.begin()))
        return {};
    std::size_t at = 8;
    while (at + 12 <= bytes.size()) {
        std::uint32_t length = BigEndian32(&bytes[at]);
        if (at + 12 + length > bytes.size())
            return {};
        PngChunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&bytes[at + 4]), 4);
        chunk.data.assign(bytes.begin() + std::ptrdiff_t(at + 8), bytes.begin() + std::ptrdiff_t(at + 8 + length));
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return at == bytes.size() ? chunks : std::vector<PngChunk>{};
}

inline int CountChunks(const std::vector<PngChunk>& chunks, const std::string& type)
{
    int n = 0;
    for (const PngChunk& c : chunks)
        n += c.type == type;
    return n;
}

inline const PngChunk* FindChunk(const std::vector<PngChunk>& chunks, const std::string& type)
{
    for (const PngChunk& c : chunks)
        if (c.type == type)
            return &c;
    return nullptr;
}
