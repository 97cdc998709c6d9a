#pragma once
// The selection a calculation can mark in the Constants palette: one letter,
// "A" to "Z" or "a" to "z". (The codes between them, "[" to the backquote,
// are no letters.)
inline bool IsConstantLetter(unsigned char code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
}
