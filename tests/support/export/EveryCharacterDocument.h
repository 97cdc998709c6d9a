#pragma once
// Every character a user can put into a document, each entered the way the
// user enters it, for the tests that follow characters through the export
// writers: typed into a text paragraph; typed into an equation, a numbered
// equation and mathematics inside text (typing puts a character into the
// face that shows it, preferring the face it types in); and clicked on the
// Symbols palette into each of those mathematics places.
//
// Each character stands in its own paragraph after a text paragraph naming
// it ("[12]"), so that a test can cut any export into the characters'
// pieces: Piece(output, n) is what follows entry n's name up to the next.
#include <cstdint>
#include <string>
#include <vector>

class FontManager;
class ParagraphList;

struct EnteredCharacter {
    char32_t ch;  // what the face shows
    uint8_t code; // the character's code in its face
    int fontId;
    std::string way; // "typed in text", "from the palette into a numbered equation", ...
};

// The characters of both faces that a user can enter: every code whose face
// shows a visible character (the bracket pieces of tall delimiters, which
// the layout draws and nobody types, are left out).
std::vector<char32_t> EnterableCharacters();

class EveryCharacterDocument {
public:
    // The fonts are the caller's (a FontManager that sets the global faces).
    explicit EveryCharacterDocument(FontManager& fonts);

    const std::vector<EnteredCharacter>& Entries() const { return m_entries; }
    // Appends the document's paragraphs to the list.
    void AppendTo(ParagraphList& list) const;

    // The name written before entry n, and the piece of an export's text
    // from that name to the next entry's name (or the end).
    static std::string Name(size_t n);
    static std::string Piece(const std::string& text, size_t n);
    // A text with the character references of markup ("&#945;", "&#x3B1;",
    // "&amp;") and UTF-8 decoded to characters.
    static std::u32string DecodeMarkup(const std::string& text);
    static std::string Utf8(char32_t ch);
    // A description of an entry for failure messages: U+03B1 (code 168, font 3) from the palette ...
    static std::string Describe(const EnteredCharacter& entry);

private:
    enum Place { kText, kEquation, kNumberedEquation, kInline };
    void Enter(char32_t ch, int preferredFont, Place place, const std::string& way);
    void EnterFromPalette(uint8_t code, Place place, const std::string& way);

    FontManager& m_fonts;
    std::vector<EnteredCharacter> m_entries;
    std::vector<Place> m_places;
};
