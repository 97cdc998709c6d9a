#pragma once
// The program's 8-bit character codes and Unicode. Text faces use Windows-1252
// in which some codes carry the program's own mathematical characters
// (infinity, pi, less-or-equal, ...). The mathematics face ("Corvell Math")
// uses its own symbol codes, including the pieces of tall brackets.
#include "platform/draw/FontIds.h"
#include "platform/draw/GdiTypes.h"

#include <QString>

#include <string>

namespace TextCodec {

// No Unicode character for a code, or no code for a Unicode character.
constexpr char32_t kNoCharacter = 0;
constexpr int kNoCode = -1;

// The character set of a font selects the table: SYMBOL_CHARSET the
// mathematics face's, anything else the text faces'.
char32_t ToUnicode(unsigned char code, int charSet);
int FromUnicode(char32_t ch, int charSet);

// Whole strings. Codes without a character become U+FFFD on the way to
// Unicode; characters without a code are left out on the way back (and
// *complete is set false).
QString Decode(const char* bytes, int count, int charSet);
QString Decode(const std::string& bytes, int charSet);
std::string Encode(const QString& text, int charSet, bool* complete = nullptr);

// The character set that holds ch: the preferred set when it does, else the
// text faces' set, else the mathematics face's; -1 when no face holds ch.
// A character thus goes into a face that shows it, never as its code in a
// face that shows something else.
int CharSetHolding(char32_t ch, int preferredCharSet = ANSI_CHARSET);

// The character set of a font face by its font id: the mathematics face
// uses the symbol set, every other face the ANSI set.
constexpr int CharSetOfFontId(int fontId)
{
    return fontId == FontId::kMath ? SYMBOL_CHARSET : ANSI_CHARSET;
}

}  // namespace TextCodec
