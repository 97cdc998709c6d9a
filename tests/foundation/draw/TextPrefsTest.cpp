#include "foundation/TextPrefs.h"

#include "platform/AppProfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

class TextPrefsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        AppProfile::SetFolder(folder.path());
    }
    void TearDown() override { AppProfile::SetFolder({}); }

    static std::string Stored(const char* key)
    {
        return AppProfile::GetProfileString(TextPrefs::kSection, key, "<missing>");
    }

    QTemporaryDir folder;
};

TEST_F(TextPrefsTest, WithoutSettingsTheDefaultsHold)
{
    TextPrefs prefs;
    prefs.Load();
    EXPECT_TRUE(prefs.textFont.EqualsText("Corvell Roman"));
    EXPECT_TRUE(prefs.codeFont.EqualsText("Courier"));
    EXPECT_TRUE(prefs.boldFont.EqualsText("Corvell Roman"));
    EXPECT_TRUE(prefs.italicFont.EqualsText("Corvell Roman"));
}

TEST_F(TextPrefsTest, EmptyValuesKeepTheDefaultsAndLongOnesAreCut)
{
    AppProfile::WriteProfileString("Text Prefs", "Code Font", "");
    AppProfile::WriteProfileString("Text Prefs", "Text Font", "DejaVu Serif");
    AppProfile::WriteProfileString("Text Prefs", "Italic Font", std::string(300, 'x'));
    TextPrefs prefs;
    prefs.Load();
    EXPECT_TRUE(prefs.codeFont.EqualsText("Courier"));
    EXPECT_TRUE(prefs.textFont.EqualsText("DejaVu Serif"));
    EXPECT_TRUE(prefs.boldFont.EqualsText("Corvell Roman"));
    EXPECT_EQ(prefs.italicFont.GetLength(), 255);
}

TEST_F(TextPrefsTest, SaveWritesTheFourNamesAndLoadReadsThemBack)
{
    TextPrefs prefs;
    prefs.textFont.AssignText("Liberation Serif");
    prefs.boldFont.AssignText("Liberation Sans");
    prefs.Save();
    EXPECT_EQ(Stored("Text Font"), "Liberation Serif");
    EXPECT_EQ(Stored("Code Font"), "Courier");
    EXPECT_EQ(Stored("Bold Font"), "Liberation Sans");
    EXPECT_EQ(Stored("Italic Font"), "Corvell Roman");

    TextPrefs again;
    again.Load();
    EXPECT_TRUE(again.textFont == prefs.textFont);
    EXPECT_TRUE(again.boldFont == prefs.boldFont);
}
