// Words found in text, and a session walking a block of text with a scripted
// asker.
#include <algorithm>

#include "SpellingTestSupport.h"
#include "platform/AppProfile.h"
#include "spelling/SpellingSession.h"
#include "spelling/SpellingWords.h"

namespace {

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    size_t from = 0;
    while (auto span = SpellingWords::NextWord(text, from)) {
        words.push_back(text.substr(span->start, span->length));
        from = span->end();
    }
    return words;
}

bool Contains(const std::vector<std::string>& list, const std::string& word)
{
    return std::find(list.begin(), list.end(), word) != list.end();
}

}  // namespace

TEST(SpellingWords, SplitsOnPunctuationAndKeepsInnerApostrophes)
{
    EXPECT_EQ(Words("Don't stop: it's 'quoted', rock\x92n\x92roll."),
              (std::vector<std::string>{"Don't", "stop", "it's", "quoted", "rock\x92n\x92roll"}));
    EXPECT_EQ(Words("21st-century mp3 files"), (std::vector<std::string>{"21st", "century", "mp3", "files"}));
    EXPECT_TRUE(Words("").empty());
    EXPECT_TRUE(Words(" ,.;'' ").empty());
}

TEST(SpellingWords, LatinLettersOfTheTextFacesOnly)
{
    // Accented Windows-1252 letters belong to words; the text faces' math
    // codes (0x8D pi, 0x80 infinity) and symbols do not.
    EXPECT_EQ(Words("caf\xE9 na\xEFve"), (std::vector<std::string>{"caf\xE9", "na\xEFve"}));
    EXPECT_EQ(Words("x\x8Dy a\x80" "b"), (std::vector<std::string>{"x", "y", "a", "b"}));
    EXPECT_TRUE(SpellingWords::IsUpperCase("NASA"));
    EXPECT_FALSE(SpellingWords::IsUpperCase("I"));
    EXPECT_FALSE(SpellingWords::IsUpperCase("Nasa"));
    EXPECT_EQ(SpellingWords::Capitalized("\xE9t\xE9"), "\xC9t\xE9");
}

class SpellingSessionTest : public SpellingTest {};

TEST_F(SpellingSessionTest, ReplacementsOfAnotherLengthKeepTheWalkInStep)
{
    SpellingSession session;
    std::string text = "Thhhhhe zzyq, Ths zzyq";
    ScriptedAsker asker({Replace("The"), Answer(SpellingAnswer::Ignore), Replace("These"),
                         Answer(SpellingAnswer::Ignore)});
    EXPECT_EQ(session.CheckBlock(text, asker, 255), SpellingSession::BlockResult::Finished);
    EXPECT_EQ(text, "The zzyq, These zzyq");
    ASSERT_EQ(asker.AskedWords(), (std::vector<std::string>{"Thhhhhe", "zzyq", "Ths", "zzyq"}));
    EXPECT_EQ(asker.queries[3].wordStart, 16);
    EXPECT_EQ(asker.queries[3].context, text);
    EXPECT_FALSE(asker.ranOut);

    // A real misspelling comes with its correction among at most the configured suggestions.
    std::string parcel = "We will recieve the parcel.";
    ScriptedAsker suggested({Replace("receive")});
    EXPECT_EQ(session.CheckBlock(parcel, suggested, 255), SpellingSession::BlockResult::Finished);
    ASSERT_EQ(suggested.AskedWords(), std::vector<std::string>{"recieve"});
    EXPECT_EQ(suggested.queries[0].wordStart, 8);
    EXPECT_TRUE(Contains(suggested.queries[0].suggestions, "receive"));
    EXPECT_LE(suggested.queries[0].suggestions.size(), size_t(session.Settings().maxSuggestions));
    EXPECT_EQ(parcel, "We will receive the parcel.");
}

TEST_F(SpellingSessionTest, IgnoreSkipsOnceIgnoreAllHoldsForTheSessionAndCancelStops)
{
    SpellingSession session;
    std::string text = "qwzx zzyq qwzx zzyq";
    ScriptedAsker asker({Answer(SpellingAnswer::Ignore), Answer(SpellingAnswer::IgnoreAll),
                         Answer(SpellingAnswer::Ignore)});
    EXPECT_EQ(session.CheckBlock(text, asker, 255), SpellingSession::BlockResult::Finished);
    // The once-ignored word is asked about again; the ignored-all one is not.
    EXPECT_EQ(asker.AskedWords(), (std::vector<std::string>{"qwzx", "zzyq", "qwzx"}));
    EXPECT_EQ(text, "qwzx zzyq qwzx zzyq");
    EXPECT_TRUE(session.IsCorrect("zzyq"));
    EXPECT_FALSE(session.IsCorrect("qwzx"));
    // Another session starts without the ignored words.
    EXPECT_FALSE(SpellingSession().IsCorrect("zzyq"));
    // Cancel stops the walk and leaves the rest.
    std::string cancelled = "Frist wrod, secnod wrod.";
    ScriptedAsker stopping({Replace("First"), Answer(SpellingAnswer::Cancel), Replace("never")});
    EXPECT_EQ(session.CheckBlock(cancelled, stopping, 255), SpellingSession::BlockResult::Cancelled);
    EXPECT_EQ(stopping.AskedWords(), (std::vector<std::string>{"Frist", "wrod"}));
    EXPECT_EQ(cancelled, "First wrod, secnod wrod.");
}

TEST_F(SpellingSessionTest, ApostrophesDigitsCapitalsAndEmptyText)
{
    SpellingSession session;
    EXPECT_TRUE(session.IsCorrect("don't"));
    EXPECT_TRUE(session.IsCorrect("it\x92s"));  // the typographic apostrophe
    EXPECT_FALSE(session.IsCorrect("dont'x"));
    EXPECT_TRUE(session.IsCorrect("21st"));
    EXPECT_TRUE(session.IsCorrect("xq7z"));     // words with digits are skipped by default
    EXPECT_TRUE(session.IsCorrect("QWZX"));     // and words in capitals
    EXPECT_TRUE(session.IsCorrect("1234"));

    std::string empty;
    ScriptedAsker asker;
    EXPECT_EQ(session.CheckBlock(empty, asker, 255), SpellingSession::BlockResult::Finished);
    std::string punctuation = " -- ... 42 ";
    EXPECT_EQ(session.CheckBlock(punctuation, asker, 255), SpellingSession::BlockResult::Finished);
    EXPECT_TRUE(asker.queries.empty());
}

TEST_F(SpellingSessionTest, SettingsDecideWhetherNumbersAndCapitalsAreChecked)
{
    SpellingSettings settings;
    settings.ignoreWordsWithNumbers = false;
    settings.ignoreUpperCase = false;
    ASSERT_TRUE(settings.Save(SpellingSettings::kDefaultGroup));
    SpellingSession session;
    EXPECT_FALSE(session.IsCorrect("xq7z"));
    EXPECT_TRUE(session.IsCorrect("21st"));
    EXPECT_FALSE(session.IsCorrect("22th"));
    EXPECT_FALSE(session.IsCorrect("QWZX"));
    EXPECT_TRUE(session.IsCorrect("RECEIVE"));
    EXPECT_FALSE(session.IsCorrect("RECIEVE"));
}

TEST_F(SpellingSessionTest, ReplacementsNeverOutgrowTheLimit)
{
    SpellingSession session;
    std::string text = "a recieve b";  // 11 characters
    ScriptedAsker asker({Replace("receivers")});
    EXPECT_EQ(session.CheckBlock(text, asker, 12), SpellingSession::BlockResult::Finished);
    ASSERT_EQ(asker.queries.size(), 1u);
    EXPECT_EQ(asker.queries[0].maxLength, 8);
    for (const std::string& s : asker.queries[0].suggestions)
        EXPECT_LE(s.size(), 8u) << s;
    EXPECT_EQ(text, "a recieve b");  // "receivers" does not fit: the word stays

    ScriptedAsker empty({Replace("")});
    EXPECT_EQ(session.CheckBlock(text, empty, 255), SpellingSession::BlockResult::Finished);
    EXPECT_EQ(text, "a recieve b");  // an empty replacement does not delete the word
}

TEST_F(SpellingSessionTest, AddedWordsLastAcrossSessionsInTheirCases)
{
    {
        SpellingSession session;
        std::string text = "The quorvex engine and Zorblat.";
        ScriptedAsker asker({Answer(SpellingAnswer::Add), Answer(SpellingAnswer::Add)});
        EXPECT_EQ(session.CheckBlock(text, asker, 255), SpellingSession::BlockResult::Finished);
        EXPECT_EQ(asker.AskedWords(), (std::vector<std::string>{"quorvex", "Zorblat"}));
    }
    SpellingSession later;
    EXPECT_TRUE(later.IsCorrect("quorvex"));
    EXPECT_TRUE(later.IsCorrect("Quorvex"));  // at the start of a sentence
    EXPECT_TRUE(later.IsCorrect("Zorblat"));
    EXPECT_FALSE(later.IsCorrect("zorblat"));  // a capitalised name stays capitalised
    EXPECT_EQ(later.Settings().userWords, (std::vector<std::string>{"quorvex", "Zorblat"}));
}

TEST_F(SpellingSessionTest, AccentedLettersReachTheDictionaryInItsCharacterSet)
{
    for (const char* folder : {"/utf8", "/latin1"}) {
        SCOPED_TRACE(folder);
        SpellingSettings settings;
        settings.dictionaryFolder = std::string(QV_TEST_DATA) + folder;
        settings.language = "xx_TEST";
        ASSERT_TRUE(settings.Save(SpellingSettings::kDefaultGroup));
        SpellingSession session;
        EXPECT_TRUE(session.IsCorrect("caf\xE9"));
        EXPECT_TRUE(session.IsCorrect("na\xEFve"));
        EXPECT_FALSE(session.IsCorrect("cafe"));
        EXPECT_TRUE(Contains(session.Suggest("cafe"), "caf\xE9"));
    }
    // The Windows-1252 letter oe (0x9C) is in the UTF-8 dictionary; ISO 8859-1
    // cannot hold it, so there it is simply unknown.
    EXPECT_TRUE(SpellingSession().IsCorrect("na\xEFve"));
    EXPECT_FALSE(SpellingSession().IsCorrect("\x9Cuvre"));
    ASSERT_TRUE(AppProfile::WriteProfileString("Spelling", "DictionaryFolder", std::string(QV_TEST_DATA) + "/utf8"));
    EXPECT_TRUE(SpellingSession().IsCorrect("\x9Cuvre"));
}
