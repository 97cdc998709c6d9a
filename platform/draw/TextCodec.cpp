// The two code tables. The text faces follow Windows-1252, except for the
// codes that carry the program's mathematical characters in text (not-equal,
// infinity, partial, pi, less/greater-or-equal, sum and product). The
// mathematics face has its own layout: Greek letters, operators, relations,
// accents and the pieces of tall parentheses and braces.
#include "platform/draw/TextCodec.h"

#include <QList>

#include <array>
#include <unordered_map>

namespace {

// Windows-1252 for 0x80-0x9F (0 where the code page has no character).
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x0000, 0x017D, 0x0000,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178,
};

// The text faces' own mathematical codes, in place of Windows-1252.
struct Override {
    unsigned char code;
    char16_t ch;
};
constexpr std::array<Override, 9> kTextMathCodes = {{
    {0x7F, 0x2260},  // not equal
    {0x80, 0x221E},  // infinity
    {0x81, 0x2202},  // partial (second code of 0x90)
    {0x8D, 0x03C0},  // pi
    {0x8E, 0x2264},  // less or equal
    {0x8F, 0x2265},  // greater or equal
    {0x90, 0x2202},  // partial
    {0x9D, 0x2211},  // sum
    {0x9E, 0x220F},  // product
}};

// Codes that repeat a character of another code; Unicode maps back to the other.
constexpr std::array<unsigned char, 1> kTextAliases = {0x81};
constexpr std::array<unsigned char, 2> kMathAliases = {129, 230};  // partial, vector accent

// The mathematics face, code by code (0: no character). Pieces of tall
// delimiters: 147/145 upper and lower hook of "(", 148/146 of ")", 169 the
// extension of "(" and "{", 153 the extension of ")" and "}", 163/149/167 the
// upper hook, middle and lower hook of "{", 182/174/223 those of "}". Accents:
// 193 hat, 198 dot, 229 double dot, 230 vector, 208 tilde.
constexpr std::array<char16_t, 256> kMath = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007,  // 0-7
    0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F,  // 8-15
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017,  // 16-23
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F,  // 24-31
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,  // 32-39
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,  // 40-47
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 48-55
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 56-63
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,  // 64-71
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,  // 72-79
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,  // 80-87
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,  // 88-95
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,  // 96-103
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,  // 104-111
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,  // 112-119
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x0000,  // 120-127
    0x0000, 0x2202, 0x0398, 0x03C6, 0x03B6, 0x2026, 0x0394, 0x03B2,  // 128-135
    0x03B9, 0x211D, 0x03B7, 0x03C1, 0x03A3, 0x0000, 0x00D5, 0x0000,  // 136-143
    0x00BA, 0x239D, 0x23A0, 0x239B, 0x239E, 0x23A8, 0x2013, 0x2014,  // 144-151
    0x22F1, 0x239F, 0x03BB, 0x03B3, 0x2192, 0x0000, 0x0000, 0x2261,  // 152-159
    0x00A0, 0x00A1, 0x00A2, 0x23A7, 0x03C3, 0x2115, 0x2248, 0x23A9,  // 160-167
    0x03B1, 0x239C, 0x2124, 0x226A, 0x00AC, 0x0000, 0x23AC, 0x21D2,  // 168-175
    0x00B0, 0x00B1, 0x221E, 0x2265, 0x2203, 0x03BC, 0x23AB, 0x2032,  // 176-183
    0x039B, 0x2260, 0x2264, 0x226B, 0x03C0, 0x222B, 0x2211, 0x00BF,  // 184-191
    0x2297, 0x02C6, 0x2102, 0x2295, 0x2287, 0x2283, 0x02D9, 0x2284,  // 192-199
    0x03B5, 0x2282, 0x2200, 0x211A, 0x03BE, 0x03C9, 0x03D5, 0x03A6,  // 200-207
    0x02DC, 0x2286, 0x03C7, 0x2209, 0x03B8, 0x25B3, 0x221D, 0x03A8,  // 208-215
    0x2205, 0x22EF, 0x22EE, 0x2202, 0x222A, 0x22C5, 0x00D7, 0x23AD,  // 216-223
    0x22A5, 0x2229, 0x2245, 0x2112, 0x2131, 0x00A8, 0x2192, 0x03B4,  // 224-231
    0x00E8, 0x03A0, 0x00EA, 0x220F, 0x03A9, 0x2227, 0x2228, 0x00EF,  // 232-239
    0x2207, 0x03C4, 0x2033, 0x03C8, 0x03BD, 0x21D4, 0x00F6, 0x00F7,  // 240-247
    0x2234, 0x00F9, 0x00FA, 0x0393, 0x039E, 0x2208, 0x0000, 0x03BA,  // 248-255
};

std::array<char16_t, 256> buildText()
{
    std::array<char16_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = char16_t(c);
    for (int c = 0x80; c < 0xA0; ++c)
        table[c] = kWindows1252High[c - 0x80];
    for (const Override& o : kTextMathCodes)
        table[o.code] = o.ch;
    return table;
}

const std::array<char16_t, 256>& textTable()
{
    static const std::array<char16_t, 256> table = buildText();
    return table;
}

template <std::size_t N>
std::unordered_map<char32_t, int> reverse(const std::array<char16_t, 256>& table,
                                          const std::array<unsigned char, N>& aliases)
{
    std::unordered_map<char32_t, int> map;
    for (int c = 0; c < 256; ++c) {
        bool alias = false;
        for (unsigned char a : aliases)
            alias = alias || a == c;
        if ((table[c] != 0 || c == 0) && !alias)
            map.emplace(table[c], c);
    }
    return map;
}

const std::array<char16_t, 256>& tableFor(int charSet)
{
    return charSet == SYMBOL_CHARSET ? kMath : textTable();
}

}  // namespace

namespace TextCodec {

char32_t ToUnicode(unsigned char code, int charSet)
{
    return tableFor(charSet)[code];
}

int FromUnicode(char32_t ch, int charSet)
{
    static const auto text = reverse(textTable(), kTextAliases);
    static const auto math = reverse(kMath, kMathAliases);
    const auto& map = charSet == SYMBOL_CHARSET ? math : text;
    auto it = map.find(ch);
    return it == map.end() ? kNoCode : it->second;
}

int CharSetHolding(char32_t ch, int preferredCharSet)
{
    for (int charSet : {preferredCharSet, int(ANSI_CHARSET), int(SYMBOL_CHARSET)}) {
        if (FromUnicode(ch, charSet) != kNoCode)
            return charSet;
    }
    return -1;
}

QString Decode(const char* bytes, int count, int charSet)
{
    const auto& table = tableFor(charSet);
    QString text;
    text.reserve(count);
    for (int i = 0; i < count; ++i) {
        auto code = static_cast<unsigned char>(bytes[i]);
        char16_t ch = table[code];
        text.append(ch != 0 || code == 0 ? QChar(ch) : QChar(QChar::ReplacementCharacter));
    }
    return text;
}

QString Decode(const std::string& bytes, int charSet)
{
    return Decode(bytes.data(), int(bytes.size()), charSet);
}

std::string Encode(const QString& text, int charSet, bool* complete)
{
    std::string bytes;
    bool all = true;
    for (char32_t ch : text.toUcs4()) {
        int code = FromUnicode(ch, charSet);
        if (code == kNoCode)
            all = false;
        else
            bytes.push_back(char(code));
    }
    if (complete)
        *complete = all;
    return bytes;
}

}  // namespace TextCodec
