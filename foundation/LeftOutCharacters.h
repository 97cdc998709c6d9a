#pragma once
// The characters of another program's text that no face of the program
// holds. Reading that text into paragraphs leaves them out; a paste says
// which and how many before it changes anything, so that "x₁·x₂" never
// becomes "x·x" unnoticed.
#include <cstdint>
#include <string>
#include <string_view>

class LeftOutCharacters {
public:
    // How many characters a description names; the rest are only counted.
    static constexpr int kNamed = 12;

    // Looks through text as the clipboard reads it into paragraphs: lines of
    // UTF-8 each ended by a CR. A line that is not UTF-8 is read as text-face
    // codes, which leaves nothing out.
    static LeftOutCharacters In(std::string_view lines);

    bool IsEmpty() const { return m_count == 0; }
    int64_t Count() const { return m_count; }
    // Each character once, in the order of first appearance: the first
    // kNamed of them, with whether there are more.
    const std::u32string& Characters() const { return m_characters; }
    bool HasMore() const { return m_more; }
    // "3 characters this editor cannot show would be left out: ₁ ₂ ⁿ". A
    // character that shows nothing by itself (a control or format
    // character, a combining mark) is named by its code, "U+200B"; "…"
    // follows when more characters are left out than are named.
    std::string Description() const;

private:
    void Add(char32_t ch);

    int64_t m_count = 0;
    std::u32string m_characters;
    bool m_more = false;
};
