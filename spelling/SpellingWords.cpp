#include "spelling/SpellingWords.h"

#include <algorithm>

#include <QChar>
#include <QString>

#include "platform/draw/TextCodec.h"

namespace SpellingWords {

namespace {

constexpr unsigned char kTypographicApostrophe = 0x92;

QChar CharOf(unsigned char code)
{
    char32_t ch = TextCodec::ToUnicode(code, ANSI_CHARSET);
    return ch <= 0xFFFF ? QChar(char16_t(ch)) : QChar();
}

bool IsWordCharacter(unsigned char code)
{
    return IsLetter(code) || IsDigit(code);
}

std::string Mapped(const std::string& word, QString (QString::*map)() const &)
{
    QString text = TextCodec::Decode(word, ANSI_CHARSET);
    bool complete = true;
    std::string result = TextCodec::Encode((text.*map)(), ANSI_CHARSET, &complete);
    return complete && result.size() == word.size() ? result : word;
}

}  // namespace

bool IsLetter(unsigned char code)
{
    QChar ch = CharOf(code);
    return ch.isLetter() && ch.script() == QChar::Script_Latin;
}

bool IsDigit(unsigned char code)
{
    return code >= '0' && code <= '9';
}

bool IsApostrophe(unsigned char code)
{
    return code == '\'' || code == kTypographicApostrophe;
}

std::optional<Span> NextWord(const std::string& text, size_t from)
{
    auto at = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    size_t start = from;
    while (start < text.size() && !IsWordCharacter(at(start)))
        ++start;
    if (start >= text.size())
        return std::nullopt;
    size_t end = start;
    while (end < text.size()) {
        if (IsWordCharacter(at(end)))
            ++end;
        else if (IsApostrophe(at(end)) && end + 1 < text.size() && IsWordCharacter(at(end + 1)))
            end += 2;
        else
            break;
    }
    return Span{start, end - start};
}

bool HasLetter(const std::string& word)
{
    return std::any_of(word.begin(), word.end(), [](char c) { return IsLetter(static_cast<unsigned char>(c)); });
}

bool HasDigit(const std::string& word)
{
    return std::any_of(word.begin(), word.end(), [](char c) { return IsDigit(static_cast<unsigned char>(c)); });
}

bool IsUpperCase(const std::string& word)
{
    int letters = 0;
    for (char c : word) {
        unsigned char code = static_cast<unsigned char>(c);
        if (!IsLetter(code))
            continue;
        if (!CharOf(code).isUpper())
            return false;
        ++letters;
    }
    return letters >= 2;
}

std::string ToLower(const std::string& word)
{
    return Mapped(word, &QString::toLower);
}

std::string ToUpper(const std::string& word)
{
    return Mapped(word, &QString::toUpper);
}

std::string Capitalized(const std::string& word)
{
    if (word.empty())
        return word;
    std::string first = ToUpper(word.substr(0, 1));
    return first + word.substr(1);
}

}  // namespace SpellingWords
