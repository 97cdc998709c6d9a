#pragma once
// Words in the program's 8-bit text codes: where they are in a text and what
// they look like. A word is a run of letters and digits; an apostrophe (' or
// the typographic one) inside a word belongs to it, one at either end does not.
#include <optional>
#include <string>

namespace SpellingWords {

struct Span {
    size_t start = 0;
    size_t length = 0;
    size_t end() const { return start + length; }
};

bool IsLetter(unsigned char code);  // a Latin letter of the text faces
bool IsDigit(unsigned char code);   // 0-9
bool IsApostrophe(unsigned char code);

// The first word that starts at or after `from`.
std::optional<Span> NextWord(const std::string& text, size_t from);

bool HasLetter(const std::string& word);
bool HasDigit(const std::string& word);
// Every letter a capital, and at least two letters ("NASA", not "I").
bool IsUpperCase(const std::string& word);

std::string ToLower(const std::string& word);
std::string ToUpper(const std::string& word);
// The first letter a capital, the rest as they are.
std::string Capitalized(const std::string& word);

}  // namespace SpellingWords
