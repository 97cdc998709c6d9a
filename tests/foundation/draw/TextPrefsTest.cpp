#include "foundation/TextPrefs.h"

#include "platform/AppProfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

TEST(TextPrefsTest, DefaultsEmptyAndOverlongValuesAndTheRoundTrip)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    AppProfile::SetFolder(folder.path());
    TextPrefs defaults;
    defaults.Load();
    EXPECT_TRUE(defaults.textFont.EqualsText("Corvell Roman"));
    EXPECT_TRUE(defaults.codeFont.EqualsText("Courier"));

    // Empty values keep the defaults; long ones are cut to 255 characters.
    AppProfile::WriteProfileString("Text Prefs", "Code Font", "");
    AppProfile::WriteProfileString("Text Prefs", "Italic Font", std::string(300, 'x'));
    TextPrefs read;
    read.Load();
    EXPECT_TRUE(read.codeFont.EqualsText("Courier"));
    EXPECT_EQ(read.italicFont.GetLength(), 255);

    TextPrefs prefs;
    prefs.textFont.AssignText("Liberation Serif");
    prefs.boldFont.AssignText("Liberation Sans");
    prefs.Save();
    EXPECT_EQ(AppProfile::GetProfileString(TextPrefs::kSection, "Code Font", "<missing>"), "Courier");
    EXPECT_EQ(AppProfile::GetProfileString(TextPrefs::kSection, "Italic Font", "<missing>"), "Corvell Roman");
    TextPrefs again;
    again.Load();
    EXPECT_TRUE(again.textFont == prefs.textFont);
    EXPECT_TRUE(again.boldFont == prefs.boldFont);
    AppProfile::SetFolder({});
}
