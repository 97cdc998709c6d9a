#pragma once
// Conversion between the program's 8-bit character codes and the link's
// Unicode text. Every symbol name and string that goes to the kernel is
// converted from program codes, and every one that comes back is converted
// the other way. The same table gives the HTML and XML writers their
// character references.
//
// The Unicode tables are indexed by positions of the stored character set (the
// document archive's codes, which the character table also uses); program
// codes reach them through the archive's writer maps and come back through
// its plain reader map. The stored set gives some positions one character in
// the text faces and another in the mathematics face (172 is a text sign but
// the math face's alpha), so there is a table for each.
#include <cstdint>
#include <string>
#include <string_view>

class Str255;

class MathLinkCharConv {
public:
    // The Unicode value of a table position in the text faces and in the
    // mathematics face (32-126 are ASCII in both).
    static char16_t UnicodeAt(uint8_t position);
    static char16_t MathUnicodeAt(uint8_t position);

    // The Unicode value of a program code through the plain (A) or the
    // symbol-font (B) map.
    static char16_t CharToUnicodeA(uint8_t code);
    static char16_t CharToUnicodeB(uint8_t code);

    // Program text as link text; symbolFont for text in the mathematics face.
    static std::string MakeLinkString(const char* text, bool symbolFont = false);
    static std::string MakeLinkString(const Str255& text, bool symbolFont = false);
    // The same, indexing the table with each byte itself instead of through the map.
    static std::string MakeLinkStringDirect(const char* text);

    // Link text back into program codes, in place; answers the new length.
    // Line feeds and carriage returns become 13, tabs blanks; a character is
    // looked up in the text table, then the mathematics table, and one that
    // neither holds becomes the code of position 42 ("*").
    static int ReadLinkString(char* text);
    static int ReadLinkString(char* text, int byteCount);
    static std::string ReadLinkString(std::string_view text);
};
