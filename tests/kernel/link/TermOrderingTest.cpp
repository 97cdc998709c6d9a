// The term ordering and the calculation preferences in the settings.
#include "kernel/link/LinkTestSupport.h"

#include "foundation/ExprNode.h"
#include "kernel/KernelPrefs.h"
#include "kernel/NameTable.h"
#include "kernel/TermOrdering.h"
#include "platform/AppProfile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppProfile::SetFolder(settings.path());
        TheNameTable();
    }
    void TearDown() override { AppProfile::SetFolder({}); }
    QTemporaryDir settings;
};

TEST_F(SettingsTest, PrefsDefaultsAndStoredValues)
{
    KernelPrefs prefs;
    prefs.Load();
    EXPECT_FALSE(prefs.resultsAtEnd);
    EXPECT_FALSE(prefs.showWarnings);
    EXPECT_EQ(prefs.defaultVariable, "x");
    EXPECT_EQ(prefs.transformVariable, "xi");
    EXPECT_EQ(prefs.precision, 0);
    EXPECT_EQ(prefs.simplificationLevel, 1);

    AppProfile::WriteProfileString(KernelPrefs::kSection, "Default Variable", "");
    AppProfile::WriteProfileInt(KernelPrefs::kSection, "Simplification level", 7);
    prefs.Load();
    EXPECT_EQ(prefs.defaultVariable, "x");
    EXPECT_EQ(prefs.simplificationLevel, 1);

    KernelPrefs changed;
    changed.resultsAtEnd = changed.showWarnings = true;
    changed.defaultVariable = "t";
    changed.precision = 20;
    changed.simplificationLevel = 2;
    changed.Save();
    KernelPrefs read;
    read.Load();
    EXPECT_TRUE(read.resultsAtEnd && read.showWarnings);
    EXPECT_EQ(read.defaultVariable, "t");
    EXPECT_EQ(read.precision, 20);
    EXPECT_EQ(read.simplificationLevel, 2);

    changed.defaultVariable = std::string(32, 'v');
    EXPECT_FALSE(changed.Problem().empty());
    changed.defaultVariable = std::string(31, 'v');
    EXPECT_TRUE(changed.Problem().empty());
}

// A priority of 0 was cut off the stored terms, and a Greek symbol was kept
// by its first letter ("alpha" as "a").
TEST_F(SettingsTest, OrderingKeepsZeroPrioritiesAndGreekSymbols)
{
    TermOrdering none;
    EXPECT_FALSE(none.Load());
    EXPECT_TRUE(none.constantsToBack);
    EXPECT_FALSE(none.useOrdering);

    TermOrdering ordering;
    ASSERT_TRUE(ordering.FromKernelList(std::unique_ptr<ExprNode>(
        NodeFrom("List[True, List[List[x, 200], List[alpha, 0], List[y, 100]]]")).get(), false));
    EXPECT_EQ(ordering.entries, (std::vector<TermEntry>{{"x", 200}, {"alpha", 0}, {"y", 100}}));
    ordering.Save();
    TermOrdering read;
    ASSERT_TRUE(read.Load());
    EXPECT_EQ(read, ordering);
    EXPECT_EQ(FullFormOf(std::unique_ptr<ExprNode>(read.ToKernelList())),
              "List[True, List[List[x, 200], List[alpha, 0], List[y, 100]]]");
}

TEST_F(SettingsTest, OrderingEditsAndDamagedValues)
{
    TermOrdering ordering;
    ordering.entries = {{"x", 200}, {"y", 100}};
    EXPECT_TRUE(ordering.SetPriority("z", 150));
    EXPECT_TRUE(ordering.SetPriority("x", 50));
    EXPECT_FALSE(ordering.SetPriority("w", 256));
    EXPECT_FALSE(ordering.SetPriority("", 1));
    EXPECT_EQ(ordering.entries, (std::vector<TermEntry>{{"x", 50}, {"z", 150}, {"y", 100}}));
    ordering.SortByPriority();
    EXPECT_EQ(ordering.entries, (std::vector<TermEntry>{{"z", 150}, {"y", 100}, {"x", 50}}));
    ordering.SortByVariable();
    EXPECT_EQ(ordering.entries, (std::vector<TermEntry>{{"z", 150}, {"y", 100}, {"x", 50}}));
    EXPECT_EQ(TermOrdering::LineText({"x", 5}), "x - 5  ");

    // Unreadable pairs are skipped; the count limits what is kept.
    AppProfile::WriteProfileString(TermOrdering::kSection, "Terms", "x:200,bad,y:999,:3,q:7,r:8");
    AppProfile::WriteProfileInt(TermOrdering::kSection, "Term Count", 2);
    TermOrdering read;
    ASSERT_TRUE(read.Load());
    EXPECT_EQ(read.entries, (std::vector<TermEntry>{{"x", 200}, {"q", 7}}));
    EXPECT_TRUE(read.constantsToBack);
}

} // namespace
