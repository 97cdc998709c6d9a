#pragma once
// The character translation of the document archive. Text in memory uses the
// display character set (and the math face's own codes for font id 3); text in
// files uses the stored character set, in which the character table is indexed.
// Strings are written through a writer table and read through a reader table;
// the symbol pair serves the math face, the plain pair every other face.
// Layout, the kernel lexer and the exports use the same tables as byte maps.
#include <cstdint>

extern const uint8_t gWriterPlainMap[256];
extern const uint8_t gWriterSymbolMap[256];
extern const uint8_t gReaderPlainMap[256];
extern const uint8_t gReaderSymbolMap[256];

// One character as the archive stores and reads it. These follow the tables
// above, except that the four math-face codes the symbol writer table maps to
// 0 (0x8D, 0x8F, 0x9D, 0x9E) are stored under codes of their own and read back,
// so that such a character no longer cuts a string short.
uint8_t EncodeArchiveChar(uint8_t code, bool symbolFont);
uint8_t DecodeArchiveChar(uint8_t stored, bool symbolFont);
