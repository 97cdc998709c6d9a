#pragma once
// Length-prefixed short strings: one length byte, then the characters, with no
// terminator stored. Names, labels, font names and archive strings live in them.
#include <cstdint>

class CString;

class Str255 {
public:
    static constexpr int kCapacity = 255;

    Str255() { m_text[0] = '\0'; }
    Str255(const char* text) { AssignText(text); }

    void Clear() { m_length = 0; }
    void AssignText(const char* text);
    void AssignCString(const CString& text);
    void Assign(const Str255& other) { *this = other; }
    CString ToCString() const;

    void AppendChar(char c);
    void AppendText(const char* text);
    void Append(const Str255& other);
    void AppendNumber(int value);

    bool operator==(const Str255& other) const;
    bool EqualsText(const char* text) const;
    bool ContainsText(const char* text);

    int GetLength() const { return m_length; }
    // Cuts the string to n characters (n larger than the length is ignored).
    void Truncate(int n);
    char GetAt(int i) const { return m_text[i]; }
    char* GetPtrAt(int i) { return &m_text[i]; }
    const char* GetPtrAt(int i) const { return &m_text[i]; }
    unsigned char GetByteAt(int i) const { return static_cast<unsigned char>(m_text[i]); }
    void SetAt(int i, char c) { m_text[i] = c; }

    // A NUL-terminated form: terminated in place when there is room, otherwise
    // copied into the shared conversion buffer (valid until its next use).
    const char* CStr();
    // Always a copy in the shared conversion buffer.
    const char* GetText() const;

    // Converts characters above 127 from the stored character set into the
    // display character set (the archive reader's plain table).
    void MapHighChars();

private:
    uint8_t m_length = 0;
    char m_text[kCapacity];
};

static_assert(sizeof(Str255) == 256);

// The same rules with room for 31 characters.
class Str31 {
public:
    static constexpr int kCapacity = 31;

    Str31() { m_text[0] = '\0'; }
    Str31(const char* text) { AppendText(text); }

    void Clear() { m_length = 0; }
    void Assign(const Str255& other);
    void Assign(const Str31& other) { *this = other; }
    void AssignCString(const CString& text);
    CString ToCString() const;

    void AppendChar(char c);
    void AppendText(const char* text);

    int GetLength() const { return m_length; }
    char GetAt(int i) const { return m_text[i]; }
    bool operator==(const Str31& other) const;

    const char* CStr();

private:
    uint8_t m_length = 0;
    char m_text[kCapacity];
};

static_assert(sizeof(Str31) == 32);

// The shared 256-byte conversion buffer behind CStr and GetText.
char* SharedConversionBuffer();
