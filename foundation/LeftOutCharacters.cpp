#include "foundation/LeftOutCharacters.h"

#include <QChar>
#include <QString>

#include <cstdio>

namespace {

bool ShowsByItself(char32_t ch)
{
    switch (QChar::category(ch)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing: return false;
    default: return QChar::isPrint(ch);
    }
}

std::string Named(char32_t ch)
{
    if (ShowsByItself(ch))
        return QString::fromUcs4(&ch, 1).toStdString();
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", unsigned(ch));
    return code;
}

} // namespace

void LeftOutCharacters::Add(char32_t ch)
{
    ++m_count;
    // Only the characters a description names are kept: text of thousands of
    // different ones (a page of another script) stays quick to look through.
    if (m_characters.find(ch) != std::u32string::npos)
        return;
    if (int(m_characters.size()) < kNamed)
        m_characters.push_back(ch);
    else
        m_more = true;
}

std::string LeftOutCharacters::Description() const
{
    if (m_count == 0)
        return {};
    std::string text = std::to_string(m_count) +
        (m_count == 1 ? " character this editor cannot show would be left out:"
                      : " characters this editor cannot show would be left out:");
    for (char32_t ch : m_characters)
        text += " " + Named(ch);
    if (m_more)
        text += " \u2026";
    return text;
}
