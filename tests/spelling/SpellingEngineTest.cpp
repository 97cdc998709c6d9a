// The engine's calls as the editor makes them: settings key, sessions, single
// words, the correction run over a buffer, and failures that must not crash.
#include <cstring>

#include <QFile>

#include "SpellingTestSupport.h"
#include "platform/AppProfile.h"
#include "platform/Exceptions.h"
#include "spelling/SpellingSession.h"
#include "spelling/SpellingSettings.h"

namespace {

constexpr const char* kProgramKey = "HKEY_CURRENT_USER\\SOFTWARE\\Tarnwick\\Quorvant\\Spelling";

}  // namespace

class SpellingEngineTest : public SpellingTest {};

TEST(SpellingSettingsGroup, TheProgramKeyBecomesTheSpellingGroup)
{
    EXPECT_EQ(SpellingSettingsGroup(kProgramKey), "Spelling");
    EXPECT_EQ(SpellingSettingsGroup("HKEY_CURRENT_USER\\Software\\Tarnwick\\Quorvant\\Spelling\\Extra\\"),
              "Spelling/Extra");
    EXPECT_EQ(SpellingSettingsGroup("HKEY_CURRENT_USER\\SOFTWARE\\Other\\Checker"), "Checker");
    EXPECT_EQ(SpellingSettingsGroup(""), "Spelling");
}

TEST_F(SpellingEngineTest, SettingsRoundTripThroughTheSettingsFolder)
{
    SpellingSettings settings;
    settings.dictionaryFolder = "/somewhere/dicts";
    settings.language = "en_GB";
    settings.ignoreUpperCase = false;
    settings.ignoreWordsWithNumbers = false;
    settings.maxSuggestions = 4;
    settings.userWords = {"quorvex", "na\xEFve", "Zorblat"};
    ASSERT_TRUE(settings.Save("Spelling"));

    // The values are in the settings file, under the group, as UTF-8.
    QFile ini(AppProfile::IniFile());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    QString stored = QString::fromUtf8(ini.readAll());
    EXPECT_TRUE(stored.contains("[Spelling]"));
    EXPECT_TRUE(stored.contains(QString::fromUtf8("na\xC3\xAFve")));

    SpellingSettings loaded = SpellingSettings::Load("Spelling");
    EXPECT_EQ(loaded.dictionaryFolder, "/somewhere/dicts");
    EXPECT_EQ(loaded.language, "en_GB");
    EXPECT_FALSE(loaded.ignoreUpperCase);
    EXPECT_FALSE(loaded.ignoreWordsWithNumbers);
    EXPECT_EQ(loaded.maxSuggestions, 4);
    EXPECT_EQ(loaded.userWords, settings.userWords);
    EXPECT_EQ(loaded.AffixPath(), "/somewhere/dicts/en_GB.aff");

    // Nothing stored: the defaults; nonsense stored: clamped.
    SpellingSettings fresh = SpellingSettings::Load("Elsewhere");
    EXPECT_EQ(fresh.DictionaryPath(), "/usr/share/hunspell/en_US.dic");
    EXPECT_TRUE(fresh.ignoreUpperCase);
    ASSERT_TRUE(AppProfile::WriteProfileInt("Elsewhere", "MaxSuggestions", 100000));
    EXPECT_EQ(SpellingSettings::Load("Elsewhere").maxSuggestions, SpellingSettings::kMaxSuggestionsLimit);
}

TEST_F(SpellingEngineTest, TheCheckerFlowFindsAndCorrectsAWord)
{
    ASSERT_EQ(SSCE_SetRegTreeName(kProgramKey), 0);
    EXPECT_EQ(SpellingEngine::SettingsGroup(), "Spelling");
    int16_t session = SSCE_OpenSession();
    ASSERT_GT(session, 0) << SpellingEngine::LastError();

    char replacement[81];
    EXPECT_EQ(SSCE_CheckWord(session, "receive", replacement, 81), kSpellWordCorrect);
    EXPECT_STREQ(replacement, "");
    EXPECT_EQ(SSCE_CheckWord(session, "recieve", replacement, 81), kSpellWordMisspelled);
    EXPECT_STREQ(replacement, "receive");
    char tiny[4];
    EXPECT_EQ(SSCE_CheckWord(session, "recieve", tiny, 4), kSpellWordMisspelled);
    EXPECT_STREQ(tiny, "rec");  // cut to fit, always ended

    ScriptedAsker asker({Replace("receive")});
    SpellingEngine::SetAsker(&asker);
    char buffer[256] = "recieve";
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, buffer, 7, 256, 0), 7);
    EXPECT_STREQ(buffer, "receive");
    ASSERT_EQ(asker.queries.size(), 1u);
    EXPECT_EQ(asker.queries[0].maxLength, 255);

    // Ignore All in the dialog holds for later words of the session.
    ASSERT_EQ(SSCE_CheckWord(session, "zzyq", replacement, 81), kSpellWordMisspelled);
    ScriptedAsker ignoring({Answer(SpellingAnswer::IgnoreAll)});
    SpellingEngine::SetAsker(&ignoring);
    char ignored[256] = "zzyq";
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, ignored, 4, 256, 0), 4);
    EXPECT_EQ(SSCE_CheckWord(session, "zzyq", replacement, 81), kSpellWordCorrect);

    EXPECT_EQ(SSCE_CloseSession(session), 0);
    EXPECT_EQ(SSCE_CheckWord(session, "receive", replacement, 81), kSpellBadSession);
    EXPECT_EQ(SSCE_CloseSession(session), kSpellBadSession);
}

TEST_F(SpellingEngineTest, BadBuffersAreRefused)
{
    ScriptedAsker asker;
    SpellingEngine::SetAsker(&asker);
    char buffer[8] = "recieve";
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, nullptr, 3, 256, 0), kSpellBadArgument);
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, buffer, 8, 8, 0), kSpellBadArgument);  // no room for the 0
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, buffer, -1, 8, 0), kSpellBadArgument);
    EXPECT_FALSE(SpellingEngine::LastError().empty());
    EXPECT_TRUE(asker.queries.empty());

    // A replacement that would overrun the buffer is not made.
    ScriptedAsker longer({Replace("receivers")});
    SpellingEngine::SetAsker(&longer);
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, buffer, 7, 8, 0), 7);
    EXPECT_STREQ(buffer, "recieve");
}

TEST_F(SpellingEngineTest, WithoutAnOpenSessionTheDialogUsesItsOwnAndCancelLeavesTheBuffer)
{
    ScriptedAsker asker({Replace("receive")});
    SpellingEngine::SetAsker(&asker);
    char buffer[256] = "I recieve it";
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, buffer, 12, 256, 0), 12);
    EXPECT_STREQ(buffer, "I receive it");
    char empty[256] = "";
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, empty, 0, 256, 0), 0);

    // Cancel answers below zero and leaves the buffer.
    ScriptedAsker cancel({Answer(SpellingAnswer::Cancel)});
    SpellingEngine::SetAsker(&cancel);
    char wrong[256] = "recieve";
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, wrong, 7, 256, 0), kSpellCancelled);
    EXPECT_STREQ(wrong, "recieve");
}

TEST_F(SpellingEngineTest, AMissingDictionaryIsAClearErrorNotACrash)
{
    ASSERT_TRUE(AppProfile::WriteProfileString("Spelling", "DictionaryFolder", "/nonexistent/dictionaries"));
    EXPECT_EQ(SSCE_OpenSession(), kSpellNoDictionary);
    std::string error = SpellingEngine::LastError();
    EXPECT_NE(error.find("/nonexistent/dictionaries/en_US.aff"), std::string::npos) << error;
    EXPECT_NE(error.find("could not be found"), std::string::npos) << error;
    EXPECT_THROW(SpellingSession(), CFileException);

    ScriptedAsker asker;
    SpellingEngine::SetAsker(&asker);
    char buffer[256] = "recieve";
    EXPECT_EQ(SSCE_CheckBlockDlg(nullptr, buffer, 7, 256, 0), kSpellNoDictionary);
    EXPECT_STREQ(buffer, "recieve");

    // The .aff exists but the .dic does not: still a clean refusal naming it.
    QTemporaryDir dir;
    QFile::copy("/usr/share/hunspell/en_US.aff", dir.path() + "/en_US.aff");
    ASSERT_TRUE(AppProfile::WriteProfileString("Spelling", "DictionaryFolder", dir.path().toStdString()));
    EXPECT_EQ(SSCE_OpenSession(), kSpellNoDictionary);
    EXPECT_NE(SpellingEngine::LastError().find("en_US.dic"), std::string::npos);
}

TEST_F(SpellingEngineTest, AFileThatIsNotAWordListIsRefused)
{
    ASSERT_TRUE(AppProfile::WriteProfileString("Spelling", "DictionaryFolder", std::string(QV_TEST_DATA) + "/corrupt"));
    ASSERT_TRUE(AppProfile::WriteProfileString("Spelling", "Language", "xx_TEST"));
    EXPECT_EQ(SSCE_OpenSession(), kSpellNoDictionary);
    EXPECT_NE(SpellingEngine::LastError().find("is not a word list"), std::string::npos) << SpellingEngine::LastError();
}

TEST_F(SpellingEngineTest, TheSettingsKeyChoosesTheGroupSessionsRead)
{
    ASSERT_TRUE(AppProfile::WriteProfileString("Checker", "DictionaryFolder", "/nonexistent"));
    ASSERT_EQ(SSCE_SetRegTreeName("HKEY_CURRENT_USER\\SOFTWARE\\Tarnwick\\Quorvant\\Checker"), 0);
    EXPECT_EQ(SSCE_OpenSession(), kSpellNoDictionary);
    ASSERT_EQ(SSCE_SetRegTreeName(kProgramKey), 0);
    EXPECT_GT(SSCE_OpenSession(), 0);
}
