#pragma once
// A Hunspell dictionary (an .aff and a .dic file) asked about words in the
// program's 8-bit text codes. Loading is slow, so each pair of files is loaded
// once and shared by every session that names it.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class Hunspell;

class SpellingDictionary {
public:
    // Throws CFileException (fileNotFound) naming the missing file, or
    // CFormatException when the dictionary's character set is not one we read.
    static std::shared_ptr<SpellingDictionary> Load(const std::string& affixPath, const std::string& dictionaryPath);
    // Forgets the loaded dictionaries (sessions keep theirs until they close).
    static void ForgetLoaded();

    SpellingDictionary(const std::string& affixPath, const std::string& dictionaryPath);
    ~SpellingDictionary();
    SpellingDictionary(const SpellingDictionary&) = delete;
    SpellingDictionary& operator=(const SpellingDictionary&) = delete;

    bool Check(const std::string& word);
    // At most `limit` suggestions, best first; those with a character the
    // text codes cannot hold are left out.
    std::vector<std::string> Suggest(const std::string& word, int limit);

private:
    bool ToDictionary(const std::string& word, std::string* out) const;
    bool FromDictionary(const std::string& word, std::string* out) const;

    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true;  // otherwise ISO 8859-1
    std::mutex m_mutex;  // Hunspell's calls are not safe to run at once
};
