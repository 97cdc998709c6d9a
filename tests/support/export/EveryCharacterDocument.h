#pragma once
// Every character a user can put into a document, each entered the way the
// user enters it, for the tests that follow characters through the export
// writers: typed into a text paragraph, into source code, into an equation,
// a numbered equation and mathematics inside text (typing puts a character
// into the face that shows it, preferring the face it types in); and
// clicked on the Symbols palette into each of those mathematics places.
//
// Each character stands in its own paragraph after a text paragraph naming
// it ("[12]"), so that a test can cut any export into the characters'
// pieces: Piece(output, n) is what follows entry n's name up to the next.
//
// Like the document of every component, it installs the text layout, the
// kernel's row reader and the fonts, and lays itself out at 96 dpi.
#include "foundation/FontManager.h"
#include "foundation/TextPrefs.h"
#include "support/model/SavedGlobals.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CImageDC;
class ParagraphList;
class QImage;

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
    EveryCharacterDocument();
    ~EveryCharacterDocument();
    EveryCharacterDocument(const EveryCharacterDocument&) = delete;
    EveryCharacterDocument& operator=(const EveryCharacterDocument&) = delete;

    const std::vector<EnteredCharacter>& Entries() const { return m_entries; }
    ParagraphList& Paragraphs() { return *m_paragraphs; }
    // Whether entry n stands in mathematics, and whether its row then reads
    // as an expression (a sign alone does not: writers that write
    // expressions report it instead).
    bool InMathematics(size_t n) const;
    bool ReadsAsExpression(size_t n);
    FontManager& Fonts() { return m_fonts; }

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
    enum Place { kText, kCode, kEquation, kNumberedEquation, kInline };
    void Enter(char32_t ch, int preferredFont, Place place, const std::string& way);
    void EnterFromPalette(uint8_t code, Place place, const std::string& way);
    void AppendParagraphs();
    void Layout();

    SavedGlobals m_saved;
    TextPrefs m_prefs;
    FontManager m_fonts{m_prefs};
    std::vector<EnteredCharacter> m_entries;
    std::vector<Place> m_places;
    std::unique_ptr<QImage> m_image;
    std::unique_ptr<CImageDC> m_dc;
    std::unique_ptr<ParagraphList> m_paragraphs;
};
