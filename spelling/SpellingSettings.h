#pragma once
// The spelling checker's settings, kept as one settings group (by default
// "Spelling"): where the dictionary is, which words are skipped, how many
// suggestions are offered, and the words the user has added.
#include <string>
#include <vector>

struct SpellingSettings {
    std::string dictionaryFolder = "/usr/share/hunspell";
    std::string language = "en_US";   // the dictionary's name: <language>.aff and .dic
    bool ignoreUpperCase = true;      // skip words written all in capitals (acronyms)
    bool ignoreWordsWithNumbers = true;
    int maxSuggestions = 10;
    std::vector<std::string> userWords;  // 8-bit text codes, in the order they were added

    static constexpr const char* kDefaultGroup = "Spelling";
    static constexpr int kMaxSuggestionsLimit = 50;

    // Missing or unusable values keep their defaults.
    static SpellingSettings Load(const std::string& group);
    // False when the settings could not be written.
    bool Save(const std::string& group) const;
    static bool SaveUserWords(const std::string& group, const std::vector<std::string>& words);

    std::string AffixPath() const { return dictionaryFolder + "/" + language + ".aff"; }
    std::string DictionaryPath() const { return dictionaryFolder + "/" + language + ".dic"; }
};

// The settings group for a registry-style key: the part below the
// application's own key ("HKEY_CURRENT_USER\SOFTWARE\Tarnwick\Quorvant\Spelling"
// gives "Spelling"; deeper keys give nested groups "A/B"); any other key gives
// its last part, and an empty key the default group.
std::string SpellingSettingsGroup(const std::string& registryKey);
