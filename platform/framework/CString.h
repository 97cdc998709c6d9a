#pragma once
// An 8-bit text string of the program's character codes (not UTF-8): titles,
// paths as the documents see them, dialog texts and status texts. Converting
// to and from what the screen shows is ToQString / FromQString.
#include <cstdarg>
#include <string>

#include "platform/framework/AfxTypes.h"

class QString;

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const std::string& text) : m_text(text) {}
    CString(char ch, int count) : m_text(size_t(count > 0 ? count : 0), ch) {}

    int GetLength() const { return int(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    const char* c_str() const { return m_text.c_str(); }
    operator const char*() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    char GetAt(int i) const { return m_text.at(size_t(i)); }
    void SetAt(int i, char ch) { m_text.at(size_t(i)) = ch; }
    char operator[](int i) const { return GetAt(i); }

    CString& operator=(const char* text) { m_text = text ? text : ""; return *this; }
    CString& operator+=(const CString& other) { m_text += other.m_text; return *this; }
    CString& operator+=(const char* text) { m_text += text ? text : ""; return *this; }
    CString& operator+=(char ch) { m_text += ch; return *this; }
    friend CString operator+(CString a, const CString& b) { a += b; return a; }
    friend CString operator+(CString a, const char* b) { a += b; return a; }
    friend CString operator+(const char* a, const CString& b) { return CString(a) + b; }
    friend CString operator+(CString a, char b) { a += b; return a; }
    friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
    friend bool operator==(const CString& a, const char* b) { return a.m_text == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

    int Compare(const char* other) const { return m_text.compare(other ? other : ""); }
    int CompareNoCase(const char* other) const;

    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    int Replace(const char* oldText, const char* newText);
    int Replace(char oldCh, char newCh);
    void MakeUpper();
    void MakeLower();
    void TrimLeft();
    void TrimRight();
    void Trim() { TrimRight(); TrimLeft(); }

    // printf-style formatting of the whole string.
    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);
    // Loads a string resource by id; false (and empty) when there is none.
    BOOL LoadString(UINT id);

private:
    std::string m_text;
};

// The screen text of program codes (the text faces' set), and back.
// Characters the program's set cannot hold become '?'.
QString ToQString(const CString& text);
CString FromQString(const QString& text);

// File paths are kept as the file system spells them (UTF-8 bytes), not as
// program text; these convert them for Qt.
QString PathToQString(const CString& path);
CString PathFromQString(const QString& path);

// Replaces %1 and %2 in a framework message (the message-text convention).
CString AfxFormatMessage(const char* pattern, const char* arg1, const char* arg2 = nullptr);
