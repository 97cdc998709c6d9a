#include "foundation/Str255.h"

#include "foundation/ArchiveCharMaps.h"
#include "platform/framework/CString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

char* SharedConversionBuffer()
{
    thread_local char buffer[256];
    return buffer;
}

namespace {

const char* CopyToSharedBuffer(const char* text, int length)
{
    char* buffer = SharedConversionBuffer();
    std::memcpy(buffer, text, static_cast<size_t>(length));
    buffer[length] = '\0';
    return buffer;
}

} // namespace

void Str255::AssignText(const char* text)
{
    m_length = 0;
    AppendText(text);
}

void Str255::AssignCString(const CString& text)
{
    m_length = static_cast<uint8_t>(std::min(text.GetLength(), kCapacity));
    std::memcpy(m_text, text.c_str(), m_length);
}

void Str255::AppendChar(char c)
{
    if (m_length < kCapacity)
        m_text[m_length++] = c;
}

void Str255::AppendText(const char* text)
{
    if (!text)
        return;
    while (*text && m_length < kCapacity)
        m_text[m_length++] = *text++;
}

void Str255::Append(const Str255& other)
{
    int n = std::min<int>(other.m_length, kCapacity - m_length);
    std::memmove(m_text + m_length, other.m_text, static_cast<size_t>(n));
    m_length = static_cast<uint8_t>(m_length + n);
}

void Str255::AppendNumber(int value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    AppendText(digits);
}

bool Str255::operator==(const Str255& other) const
{
    return m_length == other.m_length && std::memcmp(m_text, other.m_text, m_length) == 0;
}

bool Str255::EqualsText(const char* text) const
{
    return text && std::strlen(text) == m_length && std::memcmp(m_text, text, m_length) == 0;
}

bool Str255::ContainsText(const char* text)
{
    return text && std::strstr(CStr(), text) != nullptr;
}

void Str255::Truncate(int n)
{
    if (n >= 0 && n < m_length)
        m_length = static_cast<uint8_t>(n);
}

const char* Str255::CStr()
{
    if (m_length < kCapacity) {
        m_text[m_length] = '\0';
        return m_text;
    }
    return CopyToSharedBuffer(m_text, m_length);
}

const char* Str255::GetText() const
{
    return CopyToSharedBuffer(m_text, m_length);
}

void Str255::MapHighChars()
{
    for (int i = 0; i < m_length; ++i) {
        auto c = static_cast<unsigned char>(m_text[i]);
        if (c > 127)
            m_text[i] = static_cast<char>(gReaderPlainMap[c]);
    }
}

void Str31::Assign(const Str255& other)
{
    m_length = static_cast<uint8_t>(std::min(other.GetLength(), kCapacity));
    std::memcpy(m_text, other.GetPtrAt(0), m_length);
}

CString Str255::ToCString() const
{
    return CString(std::string(m_text, m_length));
}

CString Str31::ToCString() const
{
    return CString(std::string(m_text, m_length));
}

void Str31::AssignCString(const CString& text)
{
    m_length = static_cast<uint8_t>(std::min(text.GetLength(), kCapacity));
    std::memcpy(m_text, text.c_str(), m_length);
}

void Str31::AppendChar(char c)
{
    if (m_length < kCapacity)
        m_text[m_length++] = c;
}

void Str31::AppendText(const char* text)
{
    if (!text)
        return;
    while (*text && m_length < kCapacity)
        m_text[m_length++] = *text++;
}

bool Str31::operator==(const Str31& other) const
{
    return m_length == other.m_length && std::memcmp(m_text, other.m_text, m_length) == 0;
}

const char* Str31::CStr()
{
    if (m_length < kCapacity) {
        m_text[m_length] = '\0';
        return m_text;
    }
    return CopyToSharedBuffer(m_text, m_length);
}
