#pragma once
// The character encoding of strings and symbol names on the link: UTF-8 both
// ways, so ASCII travels unchanged.
#include <cstdint>

// Encodes one Unicode character into dest (which may be null) and answers the
// number of bytes it takes. Values outside Unicode, and lone surrogates, are
// encoded as U+FFFD.
int MLConvertCharacter(uint32_t character, unsigned char* dest);

// A walk over the characters of a received string.
struct MLStringPosition {
    const unsigned char* next = nullptr;
    const unsigned char* end = nullptr;
};

// The position of the first character of text; byteCount < 0 means up to the
// terminating zero.
MLStringPosition MLStringFirstPosFun(const char* text, int byteCount = -1);
// The character at the position, or -1 at the end. A malformed byte reads as U+FFFD.
int MLStringCharacter(const MLStringPosition& position);
// Moves to the next character; 0 when the end was already reached.
int MLNextCharacter(MLStringPosition& position);
