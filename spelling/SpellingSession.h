#pragma once
// One spelling session: a dictionary, the settings it was opened with, and
// the words the user chose to ignore while it lasts. It checks single words
// and walks a block of text word by word, asking about each misspelled one.
// Texts and words are in the program's 8-bit text codes.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "spelling/SpellingAsker.h"
#include "spelling/SpellingSettings.h"

class SpellingDictionary;

class SpellingSession {
public:
    // Reads the settings group and loads its dictionary; throws
    // CFileException when the dictionary cannot be found or read.
    explicit SpellingSession(std::string settingsGroup = SpellingSettings::kDefaultGroup);
    ~SpellingSession();

    // True for a word the dictionary knows, and for words the settings or
    // the user have chosen to skip.
    bool IsCorrect(const std::string& word) const;
    std::vector<std::string> Suggest(const std::string& word) const;

    // Accepted for the rest of the session.
    void IgnoreAll(const std::string& word);
    // Accepted from now on: kept in the settings' user words. False when the
    // settings could not be written (the word is still accepted here).
    bool AddWord(const std::string& word);

    enum class BlockResult { Finished, Cancelled };
    // Walks `text` word by word and asks about every misspelled word; a
    // replacement takes the word's place in `text`, which never grows beyond
    // maxLength characters (a replacement that does not fit leaves the word).
    BlockResult CheckBlock(std::string& text, SpellingAsker& asker, size_t maxLength);

    const SpellingSettings& Settings() const { return m_settings; }
    const std::string& SettingsGroup() const { return m_group; }

private:
    void AcceptUserWord(const std::string& word);
    bool IsSkipped(const std::string& word) const;

    std::string m_group;
    SpellingSettings m_settings;
    std::shared_ptr<SpellingDictionary> m_dictionary;
    std::set<std::string> m_ignored;
    std::set<std::string> m_userForms;  // the user's words in every case they are accepted in
};
