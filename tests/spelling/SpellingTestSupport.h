#pragma once
// Shared pieces of the spelling tests: an asker that answers from a script
// and records what it was asked, and a fixture that keeps the settings in a
// temporary folder and leaves the engine as it found it.
#include <deque>
#include <string>
#include <vector>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/AppProfile.h"
#include "spelling/SpellingAsker.h"
#include "spelling/SpellingEngine.h"

class ScriptedAsker : public SpellingAsker {
public:
    explicit ScriptedAsker(std::deque<SpellingAnswer> script = {}) : m_script(std::move(script)) {}

    SpellingAnswer Ask(const SpellingQuery& query) override
    {
        queries.push_back(query);
        if (m_script.empty()) {
            ranOut = true;
            return SpellingAnswer::Just(SpellingAnswer::Cancel);
        }
        SpellingAnswer answer = m_script.front();
        m_script.pop_front();
        return answer;
    }

    std::vector<std::string> AskedWords() const
    {
        std::vector<std::string> words;
        for (const SpellingQuery& q : queries)
            words.push_back(q.word);
        return words;
    }

    std::vector<SpellingQuery> queries;
    bool ranOut = false;

private:
    std::deque<SpellingAnswer> m_script;
};

class SpellingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_settingsDir.isValid());
        AppProfile::SetFolder(m_settingsDir.path());
        SpellingEngine::Reset();
    }
    void TearDown() override
    {
        SpellingEngine::SetAsker(nullptr);
        SpellingEngine::Reset();
        AppProfile::SetFolder(QString());
    }

    QTemporaryDir m_settingsDir;
};

inline SpellingAnswer Replace(const std::string& word) { return SpellingAnswer::ReplaceWith(word); }
inline SpellingAnswer Answer(SpellingAnswer::Action action) { return SpellingAnswer::Just(action); }
