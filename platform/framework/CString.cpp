#include "platform/framework/CString.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "platform/framework/ResourceStore.h"
#include "platform/draw/TextCodec.h"

int CString::CompareNoCase(const char* other) const
{
    CString a = *this, b(other);
    a.MakeLower();
    b.MakeLower();
    return a.m_text.compare(b.m_text);
}

int CString::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength())
        return -1;
    size_t at = m_text.find(ch, size_t(start));
    return at == std::string::npos ? -1 : int(at);
}

int CString::Find(const char* sub, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    size_t at = m_text.find(sub ? sub : "", size_t(start));
    return at == std::string::npos ? -1 : int(at);
}

int CString::ReverseFind(char ch) const
{
    size_t at = m_text.rfind(ch);
    return at == std::string::npos ? -1 : int(at);
}

CString CString::Left(int count) const
{
    return CString(m_text.substr(0, size_t(std::clamp(count, 0, GetLength()))));
}

CString CString::Right(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CString(m_text.substr(size_t(GetLength() - count)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(m_text.substr(size_t(first), size_t(count)));
}

int CString::Replace(const char* oldText, const char* newText)
{
    std::string from = oldText ? oldText : "", to = newText ? newText : "";
    if (from.empty())
        return 0;
    int count = 0;
    for (size_t at = m_text.find(from); at != std::string::npos; at = m_text.find(from, at + to.size())) {
        m_text.replace(at, from.size(), to);
        ++count;
    }
    return count;
}

int CString::Replace(char oldCh, char newCh)
{
    int count = int(std::count(m_text.begin(), m_text.end(), oldCh));
    std::replace(m_text.begin(), m_text.end(), oldCh, newCh);
    return count;
}

void CString::MakeUpper()
{
    for (char& c : m_text)
        c = char(std::toupper(static_cast<unsigned char>(c)));
}

void CString::MakeLower()
{
    for (char& c : m_text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
}

void CString::TrimLeft()
{
    size_t keep = m_text.find_first_not_of(" \t\r\n");
    m_text.erase(0, keep == std::string::npos ? m_text.size() : keep);
}

void CString::TrimRight()
{
    size_t last = m_text.find_last_not_of(" \t\r\n");
    m_text.erase(last == std::string::npos ? 0 : last + 1);
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        m_text.clear();
        return;
    }
    std::vector<char> buffer(size_t(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_text.assign(buffer.data(), size_t(needed));
}

BOOL CString::LoadString(UINT id)
{
    const QString* text = ResourceStore::instance().string(id);
    m_text = text ? FromQString(*text).str() : std::string();
    return text != nullptr;
}

QString ToQString(const CString& text)
{
    return TextCodec::Decode(text.str(), ANSI_CHARSET);
}

CString FromQString(const QString& text)
{
    // Characters the text faces cannot hold become '?', so a widget's text
    // never shrinks silently.
    std::string result;
    for (char32_t ch : text.toUcs4()) {
        int code = TextCodec::FromUnicode(ch, ANSI_CHARSET);
        result += code == TextCodec::kNoCode ? '?' : char(code);
    }
    return CString(result);
}

CString AfxFormatMessage(const char* pattern, const char* arg1, const char* arg2)
{
    CString result(pattern);
    result.Replace("%1", arg1 ? arg1 : "");
    result.Replace("%2", arg2 ? arg2 : "");
    return result;
}

QString PathToQString(const CString& path)
{
    return QString::fromUtf8(path.c_str());
}

CString PathFromQString(const QString& path)
{
    return CString(path.toUtf8().toStdString());
}
