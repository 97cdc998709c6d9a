#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/AppProfile.h"

TEST(AppProfileTest, ValuesRoundTripAndMissingOrMalformedOnesGiveTheDefault)
{
    QTemporaryDir dir;
    AppProfile::SetFolder(dir.path());
    EXPECT_TRUE(AppProfile::WriteProfileString("Text Prefs", "Text Font", "Liberation Serif"));
    EXPECT_TRUE(AppProfile::WriteProfileString("Text Prefs", "Code Font", ""));
    EXPECT_TRUE(AppProfile::WriteProfileString("Kernel Connection", "Kernel Path", "/opt/k\xc3\xa9rnel/bin"));
    EXPECT_TRUE(AppProfile::WriteProfileInt("Kernel Preferences", "Precision", -16));

    EXPECT_EQ(AppProfile::GetProfileString("Text Prefs", "Text Font", "x"), "Liberation Serif");
    EXPECT_EQ(AppProfile::GetProfileString("Text Prefs", "Code Font", "Courier"), ""); // present but empty
    EXPECT_EQ(AppProfile::GetProfileString("Kernel Connection", "Kernel Path"), "/opt/k\xc3\xa9rnel/bin");
    EXPECT_EQ(AppProfile::GetProfileInt("Kernel Preferences", "Precision", 0), -16);
    EXPECT_EQ(AppProfile::GetProfileString("Kernel Preferences", "Text Font", "none"), "none");
    EXPECT_TRUE(QFile::exists(dir.filePath("Quorvant.ini")));

    EXPECT_EQ(AppProfile::GetProfileInt("Term Ordering", "Term Count", 7), 7);
    AppProfile::WriteProfileString("Term Ordering", "Term Count", "twelve");
    EXPECT_EQ(AppProfile::GetProfileInt("Term Ordering", "Term Count", 7), 7);
    AppProfile::WriteProfileString("Term Ordering", "Term Count", " 12 ");
    EXPECT_EQ(AppProfile::GetProfileInt("Term Ordering", "Term Count", 7), 12);
    AppProfile::SetFolder({});
}

TEST(AppProfileTest, TestsNeverUseTheUsersSettings)
{
    // CTest sets QV_SETTINGS_DIR; without a chosen folder it is the one used.
    AppProfile::SetFolder({});
    const QString fromEnvironment = qEnvironmentVariable("QV_SETTINGS_DIR");
    ASSERT_FALSE(fromEnvironment.isEmpty());
    EXPECT_EQ(AppProfile::IniFile(), fromEnvironment + "/Quorvant.ini");

    QTemporaryDir dir;
    AppProfile::SetFolder(dir.path());
    AppProfile::WriteProfileInt("Isolation", "Written in a chosen folder", 1);
    AppProfile::SetFolder({});
    EXPECT_EQ(AppProfile::GetProfileInt("Isolation", "Written in a chosen folder", 0), 0);
}
