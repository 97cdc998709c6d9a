#pragma once
// What the checker asks the user about a misspelled word, and the answer.
// The correction dialog answers in the program; tests answer from a script.
// Words are in the program's 8-bit text codes.
#include <string>
#include <vector>

struct SpellingQuery {
    std::string word;                      // the misspelled word
    std::string context;                   // the text it was found in
    int wordStart = 0;                     // its place in the context (0-based)
    std::vector<std::string> suggestions;  // best first; may be empty
    int maxLength = 255;                   // longest replacement that still fits
};

struct SpellingAnswer {
    enum Action {
        Replace,    // put `replacement` in place of the word
        Ignore,     // leave this occurrence
        IgnoreAll,  // leave it and every later occurrence in this session
        Add,        // accept it from now on: it goes into the user's word list
        Cancel,     // stop checking
    };
    Action action = Cancel;
    std::string replacement;

    static SpellingAnswer ReplaceWith(std::string word) { return {Replace, std::move(word)}; }
    static SpellingAnswer Just(Action action) { return {action, {}}; }
};

class SpellingAsker {
public:
    virtual ~SpellingAsker() = default;
    virtual SpellingAnswer Ask(const SpellingQuery& query) = 0;
};
