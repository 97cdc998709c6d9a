#pragma once
// The characters of another program's text that no face of the program
// holds. Reading that text into paragraphs leaves them out; a paste says
// which and how many before it changes anything, so that "x₁·x₂" never
// becomes "x·x" unnoticed.
#include <cstdint>
#include <string>

class LeftOutCharacters {
public:
    // How many characters a description names; the rest are only counted.
    static constexpr int kNamed = 12;

    // Counts a character left out, and keeps it to be named while fewer
    // than kNamed different ones are kept.
    void Add(char32_t ch);

    bool IsEmpty() const { return m_count == 0; }
    // "3 characters this editor cannot show would be left out: ₁ ₂ ⁿ". A
    // character that shows nothing by itself (a control or format
    // character, a combining mark) is named by its code, "U+200B"; "…"
    // follows when more characters are left out than are named.
    std::string Description() const;

private:
    int64_t m_count = 0;
    // Each character once, in the order of first appearance: the first
    // kNamed of them, with whether there are more.
    std::u32string m_characters;
    bool m_more = false;
};
