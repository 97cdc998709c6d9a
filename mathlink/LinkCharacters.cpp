#include "mathlink/LinkCharacters.h"

#include <cstring>

int MLConvertCharacter(uint32_t c, unsigned char* dest)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    unsigned char bytes[4];
    int count = 0;
    if (c < 0x80) {
        bytes[count++] = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        bytes[count++] = static_cast<unsigned char>(0xC0 | (c >> 6));
        bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        bytes[count++] = static_cast<unsigned char>(0xE0 | (c >> 12));
        bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        bytes[count++] = static_cast<unsigned char>(0xF0 | (c >> 18));
        bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    if (dest)
        std::memcpy(dest, bytes, std::size_t(count));
    return count;
}

namespace {

// Decodes the character at p; `length` receives its byte count (at least 1).
int decode(const unsigned char* p, const unsigned char* end, int& length)
{
    length = 1;
    unsigned char b = p[0];
    if (b < 0x80)
        return b;
    int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || end - p <= extra)
        return 0xFFFD;
    uint32_t c = b & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (p[i] & 0x3F);
    }
    static const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0xFFFD;
    length = extra + 1;
    return int(c);
}

} // namespace

MLStringPosition MLStringFirstPosFun(const char* text, int byteCount)
{
    MLStringPosition position;
    if (!text)
        return position;
    std::size_t size = byteCount < 0 ? std::strlen(text) : std::size_t(byteCount);
    position.next = reinterpret_cast<const unsigned char*>(text);
    position.end = position.next + size;
    return position;
}

int MLStringCharacter(const MLStringPosition& position)
{
    if (position.next == position.end)
        return -1;
    int length = 0;
    return decode(position.next, position.end, length);
}

int MLNextCharacter(MLStringPosition& position)
{
    if (position.next == position.end)
        return 0;
    int length = 0;
    decode(position.next, position.end, length);
    position.next += length;
    return 1;
}
