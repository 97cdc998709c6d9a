#include "spelling/SpellingSession.h"

#include <algorithm>
#include <climits>

#include "spelling/SpellingDictionary.h"
#include "spelling/SpellingWords.h"

using namespace SpellingWords;

SpellingSession::SpellingSession(std::string settingsGroup)
    : m_group(std::move(settingsGroup)), m_settings(SpellingSettings::Load(m_group)),
      m_dictionary(SpellingDictionary::Load(m_settings.AffixPath(), m_settings.DictionaryPath()))
{
    for (const std::string& word : m_settings.userWords)
        AcceptUserWord(word);
}

SpellingSession::~SpellingSession() = default;

bool SpellingSession::IsSkipped(const std::string& word) const
{
    if (word.empty() || !HasLetter(word))
        return true;
    if (m_settings.ignoreWordsWithNumbers && HasDigit(word))
        return true;
    return m_settings.ignoreUpperCase && IsUpperCase(word);
}

// A user word written in lower case is also accepted capitalised (at the
// start of a sentence) and in capitals; one with capitals only as written.
void SpellingSession::AcceptUserWord(const std::string& word)
{
    m_userForms.insert(word);
    if (ToLower(word) == word) {
        m_userForms.insert(Capitalized(word));
        m_userForms.insert(ToUpper(word));
    }
}

bool SpellingSession::IsCorrect(const std::string& word) const
{
    if (IsSkipped(word) || m_ignored.count(word) || m_userForms.count(word))
        return true;
    return m_dictionary->Check(word);
}

std::vector<std::string> SpellingSession::Suggest(const std::string& word) const
{
    return m_dictionary->Suggest(word, m_settings.maxSuggestions);
}

void SpellingSession::IgnoreAll(const std::string& word)
{
    if (!word.empty())
        m_ignored.insert(word);
}

bool SpellingSession::AddWord(const std::string& word)
{
    if (word.empty() || word.find(' ') != std::string::npos || m_userForms.count(word))
        return true;
    // Another session may have added words since this one opened.
    std::vector<std::string> stored = SpellingSettings::Load(m_group).userWords;
    if (std::find(stored.begin(), stored.end(), word) == stored.end())
        stored.push_back(word);
    m_settings.userWords.push_back(word);
    AcceptUserWord(word);
    return SpellingSettings::SaveUserWords(m_group, stored);
}

SpellingSession::BlockResult SpellingSession::CheckBlock(std::string& text, SpellingAsker& asker, size_t maxLength)
{
    size_t from = 0;
    while (auto span = NextWord(text, from)) {
        from = span->end();
        std::string word = text.substr(span->start, span->length);
        if (IsCorrect(word))
            continue;
        size_t room = maxLength > text.size() - word.size() ? maxLength - (text.size() - word.size()) : 0;
        SpellingQuery query{word, text, int(span->start), {}, int(std::min<size_t>(room, INT_MAX))};
        for (std::string& suggestion : Suggest(word))
            if (suggestion.size() <= room)
                query.suggestions.push_back(std::move(suggestion));
        SpellingAnswer answer = asker.Ask(query);
        switch (answer.action) {
        case SpellingAnswer::Cancel:
            return BlockResult::Cancelled;
        case SpellingAnswer::Ignore:
            break;
        case SpellingAnswer::IgnoreAll:
            IgnoreAll(word);
            break;
        case SpellingAnswer::Add:
            AddWord(word);
            break;
        case SpellingAnswer::Replace:
            if (!answer.replacement.empty() && answer.replacement.size() <= room) {
                text.replace(span->start, span->length, answer.replacement);
                from = span->start + answer.replacement.size();
            }
            break;
        }
    }
    return BlockResult::Finished;
}
