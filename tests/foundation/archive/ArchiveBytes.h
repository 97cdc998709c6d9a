#pragma once
// Helpers for the archive tests: building byte images by hand, and writing
// or reading a document of the stand-in kinds.
#include "foundation/fuzz/ArchiveFuzzEntry.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct Bytes {
    std::vector<uint8_t> b;

    Bytes& Byte(int v)
    {
        b.push_back(uint8_t(v));
        return *this;
    }
    Bytes& Short(int v)
    {
        Byte(v & 0xFF);
        return Byte((v >> 8) & 0xFF);
    }
    Bytes& Long(int64_t v)
    {
        for (int i = 0; i < 4; ++i)
            Byte(int((uint64_t(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& Tag(TypeTag t) { return Long(t.Value()); }
    Bytes& Text(const std::string& s)
    {
        for (char c : s)
            Byte(uint8_t(c));
        return *this;
    }
    Bytes& Append(const Bytes& o)
    {
        b.insert(b.end(), o.b.begin(), o.b.end());
        return *this;
    }
    // A framed record: tag, length (counting itself), body.
    Bytes& Record(TypeTag tag, const Bytes& body) { return Tag(tag).Long(4 + int64_t(body.b.size())).Append(body); }
    Bytes& Double(double d)
    {
        uint64_t v;
        std::memcpy(&v, &d, 8);
        for (int i = 0; i < 8; ++i)
            Byte(int((v >> (8 * i)) & 0xFF));
        return *this;
    }
};

// Writes with a fresh writer into a block sized by a counting pass.
template <class F>
std::vector<uint8_t> WriteWith(F&& write)
{
    CountingStream counter;
    {
        DocWriter w(&counter);
        write(w);
    }
    std::vector<uint8_t> out(size_t(counter.GetLength()));
    MemoryStream s(out.data(), int32_t(out.size()));
    DocWriter w(&s);
    write(w);
    return out;
}
