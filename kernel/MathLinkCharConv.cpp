#include "kernel/MathLinkCharConv.h"

#include "foundation/ArchiveCharMaps.h"
#include "foundation/Str255.h"
#include "mathlink/LinkCharacters.h"
#include "platform/draw/TextCodec.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr uint8_t kUnknownPosition = 42;   // "*"

char16_t orReplacement(char32_t ch, int position)
{
    return ch != 0 || position == 0 ? char16_t(ch) : char16_t(0xFFFD);
}

// Each stored position's character in the text faces: ASCII as itself; the
// control range, where the stored set keeps Greek letters and signs, through
// the symbol reader map and the mathematics face; every other position through
// the plain reader map, falling back to the mathematics face.
std::array<char16_t, 256> buildTextTable()
{
    std::array<char16_t, 256> table{};
    for (int p = 0; p < 256; ++p) {
        char32_t text = TextCodec::ToUnicode(gReaderPlainMap[p], ANSI_CHARSET);
        char32_t math = TextCodec::ToUnicode(gReaderSymbolMap[p], SYMBOL_CHARSET);
        char32_t ch = 0;
        if (p >= 32 && p <= 126)
            ch = char32_t(p);
        else if (p < 32)
            ch = p == 9 || p == 10 || p == 13 ? char32_t(p) : math >= 32 ? math : text >= 32 ? text : 0;
        else
            ch = text != 0 ? text : math;
        table[std::size_t(p)] = orReplacement(ch, p);
    }
    return table;
}

std::array<char16_t, 256> buildMathTable()
{
    std::array<char16_t, 256> table{};
    for (int p = 0; p < 256; ++p) {
        char32_t math = TextCodec::ToUnicode(gReaderSymbolMap[p], SYMBOL_CHARSET);
        table[std::size_t(p)] = p >= 32 && p <= 126 ? char16_t(p) : orReplacement(math, p);
    }
    return table;
}

const std::array<char16_t, 256>& table()
{
    static const std::array<char16_t, 256> instance = buildTextTable();
    return instance;
}

const std::array<char16_t, 256>& mathTable()
{
    static const std::array<char16_t, 256> instance = buildMathTable();
    return instance;
}

// The first position holding the character, the text table searched before
// the mathematics table; built once, as every character read from the link
// is looked up.
std::vector<uint8_t> buildPositions()
{
    std::vector<uint8_t> positions(0x10000, 0);
    for (const auto* t : {&table(), &mathTable()}) {
        for (int p = 255; p >= 1; --p) {
            char16_t ch = (*t)[std::size_t(p)];
            if (t == &mathTable() && positions[ch] != 0) {
                // Keep what the text table found; lower positions win within a table.
                bool inText = false;
                for (int q = 1; q < 256 && !inText; ++q)
                    inText = table()[std::size_t(q)] == ch;
                if (inText)
                    continue;
            }
            positions[ch] = uint8_t(p);
        }
    }
    return positions;
}

uint8_t positionOf(int unicode)
{
    static const std::vector<uint8_t> positions = buildPositions();
    if (unicode <= 0 || unicode >= 0x10000)
        return kUnknownPosition;
    uint8_t p = positions[std::size_t(unicode)];
    return p != 0 ? p : kUnknownPosition;
}

// Two passes, as the link counts: the encoded size first, then the bytes.
template <typename Unicode>
std::string encode(std::string_view text, Unicode unicodeOf)
{
    std::size_t size = 0;
    for (char c : text)
        size += std::size_t(MLConvertCharacter(unicodeOf(uint8_t(c)), nullptr));
    std::string out(size, '\0');
    auto* dest = reinterpret_cast<unsigned char*>(out.data());
    for (char c : text)
        dest += MLConvertCharacter(unicodeOf(uint8_t(c)), dest);
    return out;
}

char16_t throughMap(uint8_t code, bool symbolFont)
{
    return symbolFont ? mathTable()[gWriterSymbolMap[code]] : table()[gWriterPlainMap[code]];
}

} // namespace

char16_t MathLinkCharConv::UnicodeAt(uint8_t position)
{
    return table()[position];
}

char16_t MathLinkCharConv::MathUnicodeAt(uint8_t position)
{
    return mathTable()[position];
}

char16_t MathLinkCharConv::CharToUnicodeA(uint8_t code)
{
    return throughMap(code, false);
}

char16_t MathLinkCharConv::CharToUnicodeB(uint8_t code)
{
    return throughMap(code, true);
}

std::string MathLinkCharConv::MakeLinkString(const char* text, bool symbolFont)
{
    if (!text)
        return {};
    return encode(text, [symbolFont](uint8_t c) { return throughMap(c, symbolFont); });
}

std::string MathLinkCharConv::MakeLinkString(const Str255& text, bool symbolFont)
{
    std::string_view view(text.GetPtrAt(0), std::size_t(text.GetLength()));
    return encode(view, [symbolFont](uint8_t c) { return throughMap(c, symbolFont); });
}

std::string MathLinkCharConv::MakeLinkStringDirect(const char* text)
{
    return text ? encode(text, [](uint8_t c) { return table()[c]; }) : std::string();
}

std::string MathLinkCharConv::ReadLinkString(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    // Printable ASCII, the common case, needs no decoding.
    bool ascii = true;
    for (char c : text)
        ascii = ascii && c >= 32 && c < 127;
    if (ascii) {
        for (char c : text)
            out += char(gReaderPlainMap[positionOf(c)]);
        return out;
    }
    MLStringPosition pos = MLStringFirstPosFun(text.data(), int(text.size()));
    for (int c = MLStringCharacter(pos); c >= 0; MLNextCharacter(pos), c = MLStringCharacter(pos)) {
        if (c == 10 || c == 13)
            out += char(13);
        else if (c == 9)
            out += ' ';
        else
            out += char(gReaderPlainMap[positionOf(c)]);
    }
    return out;
}

int MathLinkCharConv::ReadLinkString(char* text, int byteCount)
{
    if (!text || byteCount < 0)
        return 0;
    std::string converted = ReadLinkString(std::string_view(text, std::size_t(byteCount)));
    // Every character takes at least one byte on the link, so the result fits.
    std::memcpy(text, converted.data(), converted.size());
    if (converted.size() < std::size_t(byteCount))
        text[converted.size()] = '\0';
    return int(converted.size());
}

int MathLinkCharConv::ReadLinkString(char* text)
{
    return text ? ReadLinkString(text, int(std::strlen(text))) : 0;
}
