#include "spelling/SpellingSettings.h"

#include <algorithm>

#include <QStringList>

#include "platform/AppProfile.h"
#include "platform/draw/TextCodec.h"

namespace {

constexpr const char* kFolderKey = "DictionaryFolder";
constexpr const char* kLanguageKey = "Language";
constexpr const char* kUpperCaseKey = "IgnoreUpperCase";
constexpr const char* kNumbersKey = "IgnoreWordsWithNumbers";
constexpr const char* kSuggestionsKey = "MaxSuggestions";
constexpr const char* kUserWordsKey = "UserWords";

// User words are stored as UTF-8, separated by spaces (a word holds none).
std::vector<std::string> DecodeWords(const std::string& stored)
{
    std::vector<std::string> words;
    const QStringList parts = QString::fromStdString(stored).split(' ', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        bool complete = true;
        std::string word = TextCodec::Encode(part, ANSI_CHARSET, &complete);
        if (complete && !word.empty() && std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
    }
    return words;
}

std::string EncodeWords(const std::vector<std::string>& words)
{
    QStringList parts;
    for (const std::string& word : words)
        if (!word.empty() && word.find(' ') == std::string::npos)
            parts << TextCodec::Decode(word, ANSI_CHARSET);
    return parts.join(' ').toStdString();
}

}  // namespace

SpellingSettings SpellingSettings::Load(const std::string& group)
{
    SpellingSettings s;
    std::string folder = AppProfile::GetProfileString(group, kFolderKey, s.dictionaryFolder);
    if (!folder.empty())
        s.dictionaryFolder = folder;
    std::string language = AppProfile::GetProfileString(group, kLanguageKey, s.language);
    if (!language.empty())
        s.language = language;
    s.ignoreUpperCase = AppProfile::GetProfileInt(group, kUpperCaseKey, s.ignoreUpperCase) != 0;
    s.ignoreWordsWithNumbers = AppProfile::GetProfileInt(group, kNumbersKey, s.ignoreWordsWithNumbers) != 0;
    s.maxSuggestions = std::clamp(AppProfile::GetProfileInt(group, kSuggestionsKey, s.maxSuggestions), 0,
                                  kMaxSuggestionsLimit);
    s.userWords = DecodeWords(AppProfile::GetProfileString(group, kUserWordsKey));
    return s;
}

bool SpellingSettings::Save(const std::string& group) const
{
    bool ok = AppProfile::WriteProfileString(group, kFolderKey, dictionaryFolder);
    ok = AppProfile::WriteProfileString(group, kLanguageKey, language) && ok;
    ok = AppProfile::WriteProfileInt(group, kUpperCaseKey, ignoreUpperCase ? 1 : 0) && ok;
    ok = AppProfile::WriteProfileInt(group, kNumbersKey, ignoreWordsWithNumbers ? 1 : 0) && ok;
    ok = AppProfile::WriteProfileInt(group, kSuggestionsKey, maxSuggestions) && ok;
    return SaveUserWords(group, userWords) && ok;
}

bool SpellingSettings::SaveUserWords(const std::string& group, const std::vector<std::string>& words)
{
    return AppProfile::WriteProfileString(group, kUserWordsKey, EncodeWords(words));
}

std::string SpellingSettingsGroup(const std::string& registryKey)
{
    QString key = QString::fromStdString(registryKey);
    key.replace('/', '\\');
    while (key.endsWith('\\'))
        key.chop(1);
    if (key.isEmpty())
        return SpellingSettings::kDefaultGroup;
    const QString appKey = QStringLiteral("SOFTWARE\\%1\\%2\\").arg(AppProfile::organization, AppProfile::application);
    int at = key.indexOf(appKey, 0, Qt::CaseInsensitive);
    QString group = at >= 0 ? key.mid(at + appKey.size()) : key.section('\\', -1);
    group.replace('\\', '/');
    return group.isEmpty() ? std::string(SpellingSettings::kDefaultGroup) : group.toStdString();
}
