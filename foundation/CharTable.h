#pragma once
// The character table: for each of the 256 character codes of the stored
// character set (in which, for example, 176 is infinity and 185 is pi) what
// kind of character it is for line layout and parsing, how LaTeX writes it in
// text and in mathematics, and which kernel symbol it stands for.
//
// The table is a constant, complete before any code runs, and is read
// directly by code: gCharTable[code] or CharTable::Entry(code).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

struct CharEntry {
    int32_t kind;          // CharTable::Kind
    const char* textTeX;   // LaTeX inside text; "" when the character has none
    const char* mathTeX;   // LaTeX inside mathematics; "" when none
    int32_t kernelNameId;  // entry of the kernel's built-in name table; 0 for none
    uint8_t secondCode;    // kept with the entry; nothing reads it
};

extern const std::array<CharEntry, 256> gCharTable;

class CharTable {
public:
    enum Kind : int32_t {
        letter = 0,   // A-Z and a-z only
        blank = 1,    // tab, space and code 127
        other = 2,
        relation = 3, // the signs the parser takes as relations
    };

    static const CharEntry& Entry(uint8_t code) { return gCharTable[code]; }
    static int32_t GetKind(uint8_t code) { return gCharTable[code].kind; }
    static const char* GetTeX(uint8_t code, bool mathMode)
    {
        return mathMode ? gCharTable[code].mathTeX : gCharTable[code].textTeX;
    }
    static int32_t GetKernelNameId(uint8_t code) { return gCharTable[code].kernelNameId; }

    // LaTeX texts that end in a command name ("\cdot", "\partial") would run
    // into a following letter ("\cdotx"), and a command name followed by a
    // blank swallows the blank in text. These return the text made safe to
    // write before the given next character (the first character the writer
    // emits after it; 0 at the end of the output). In mathematics a blank is
    // added after a command name before a letter; in text "{}" ends a command
    // name before a letter or blank (replacing a trailing blank that would
    // be swallowed) and breaks the ligatures "--", "``", "''", "?`" and "!`".
    static std::string TeXSafeBefore(std::string_view tex, char next, bool mathMode);
    static std::string GetSafeTeX(uint8_t code, bool mathMode, char next)
    {
        return TeXSafeBefore(GetTeX(code, mathMode), next, mathMode);
    }
    // The text made safe before any next character, for a writer that does
    // not know what follows.
    static std::string TeXSafeAlways(std::string_view tex, bool mathMode);
    static std::string GetSafeTeX(uint8_t code, bool mathMode) { return TeXSafeAlways(GetTeX(code, mathMode), mathMode); }

    // True when tex ends with a command name (a backslash and letters),
    // optionally followed by one blank.
    static bool EndsInCommandName(std::string_view tex);
};

// The kernel's built-in name table finds a built-in entry (the index that a
// character's kernel name id holds) from any spelling of its name. It belongs
// to the kernel link, which registers its one global table at start-up;
// text layout and the LaTeX writer look names up through this interface.
class KernelNameLookup {
public:
    virtual ~KernelNameLookup() = default;
    // The entry index of the spelling, or 0 when it is not in the table.
    virtual int Find(const char* name) const = 0;
    // The same for the characters [begin, end) of a longer text.
    virtual int FindRange(const char* begin, const char* end) const = 0;

    // The registered table (null before the kernel link registers it).
    static KernelNameLookup* Registered();
    // Registers table (null unregisters); returns the one it replaces.
    static KernelNameLookup* Register(KernelNameLookup* table);
};
