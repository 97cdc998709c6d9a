#include "kernel/KernelCodes.h"
#include "kernel/NameTable.h"

#include "foundation/TextLayoutItemMaker.h"
#include "foundation/WordLayout.h"
#include "support/math/MathTestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <map>
#include <string>

namespace {

TEST(NameTableTest, EverySpellingFindsItsOneEntry)
{
    std::map<std::string, int> seen;
    for (const NameSpelling& pair : gNameSpellings) {
        EXPECT_TRUE(seen.emplace(pair.spelling, pair.entry).second) << pair.spelling << " listed twice";
        EXPECT_EQ(TheNameTable().Find(pair.spelling), pair.entry) << pair.spelling;
    }
    // Every entry from 11 on is named, except the lexer's "^" and "*".
    for (int entry = 11; entry < kBuiltinNameCount; ++entry) {
        bool named = false;
        for (const NameSpelling& pair : gNameSpellings)
            named = named || pair.entry == entry;
        EXPECT_EQ(named, entry != 127 && entry != 295) << entry;
    }
}

// A name the program writes must read back as an entry that writes the same
// name again. Euler's number and the imaginary unit are the exception by
// design: typed "E" and "I" are variables, and the kernel answers the
// constants as "e" and "i" (or as a complex number).
TEST(NameTableTest, WrittenNamesReadBackAsTheSameName)
{
    for (int entry = 11; entry < kBuiltinNameCount; ++entry) {
        const BuiltinName& name = gBuiltinNames[entry];
        for (const char* written : {name.package, name.plain}) {
            int found = TheNameTable().Find(written);
            // Heads such as "VXMatrix" are only written, never answered; a
            // Greek letter's plain name is its character (the reader's concern).
            if (found == 0 && (written == name.package || static_cast<unsigned char>(written[0]) >= 128 ||
                               static_cast<unsigned char>(written[0]) < 32))
                continue;
            ASSERT_GT(found, 0) << written;
            if (entry == Entry::Euler || entry == Entry::ImaginaryUnit) {
                EXPECT_NE(found, entry);
                continue;
            }
            EXPECT_STREQ(gBuiltinNames[found].package, name.package) << written;
        }
    }
    EXPECT_EQ(TheNameTable().Find("e"), Entry::Euler);
    EXPECT_EQ(TheNameTable().Find("i"), Entry::ImaginaryUnit);
    EXPECT_STREQ(gBuiltinNames[TheNameTable().Find("E")].package, "capE");
    EXPECT_STREQ(gBuiltinNames[TheNameTable().Find("I")].package, "capI");
}

// What the document shows of a name must read back as the name when it is
// typed again.
TEST(NameTableTest, ShownWordsFindAnEntryShowingTheSameWord)
{
    for (int entry = 11; entry < kBuiltinNameCount; ++entry) {
        std::string display = gBuiltinNames[entry].display;
        bool word = !display.empty();
        for (char c : display)
            word = word && std::isalpha(static_cast<unsigned char>(c));
        if (!word)
            continue;
        int found = TheNameTable().Find(display.c_str());
        ASSERT_GT(found, 0) << display;
        std::string shown = gBuiltinNames[found].display;
        shown.erase(0, shown.find_first_not_of(' '));
        shown.erase(shown.find_last_not_of(' ') + 1);
        EXPECT_EQ(shown, display) << entry;
    }
}

TEST(NameTableTest, LookupsOfTellingNames)
{
    const struct {
        const char* name;
        int entry;
    } cases[] = {
        {"sin", 93}, {"Sin", 93}, {"VXSin", 93}, {"SIN", 0}, {"Part", 73}, {"VXPostPlus", 78}, {"(", 0},
        {"", 0}, {"VXDoubleOverDot", 308}, {"capSigma", 125}, {"capLambda", 126}, {"Sigma", 125},
        {"log", Entry::Log}, {"ln", Entry::Ln}, {"mod", 278}, {"Mod", 279},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TheNameTable().Find(c.name), c.entry) << c.name;

    char text[] = "cosh";
    EXPECT_EQ(TheNameTable().FindRange(text, text + 3), 23);
    EXPECT_STREQ(text, "cosh");
    EXPECT_EQ(NameTable::Entry(0), nullptr);
    EXPECT_EQ(NameTable::Entry(kBuiltinNameCount), nullptr);
}

TEST(NameTableTest, TellingRowsCarryTheirTokensAndKinds)
{
    EXPECT_EQ(gBuiltinNames[14].token, Token::Function);
    EXPECT_EQ(gBuiltinNames[Entry::Equal].token, Token::Relation);
    EXPECT_STREQ(gBuiltinNames[Entry::Equal].package, "Equal");
    EXPECT_EQ(gBuiltinNames[65].kind, NodeKind::Matrix);
    EXPECT_EQ(gBuiltinNames[Entry::Log].token, Token::Log);
    EXPECT_EQ(gBuiltinNames[280].kind, NodeKind::Log);
    EXPECT_STREQ(gBuiltinNames[Entry::ImaginaryUnit].mathml, "&ImaginaryI;");
    for (int entry : {14, 59, 72, 122, 278, 263})
        EXPECT_TRUE(NameTable::IsUpright(entry)) << entry;
    EXPECT_FALSE(NameTable::IsUpright(13));
}

class NameLayoutTest : public MathTest {};

TEST_F(NameLayoutTest, FunctionNamesAreSetInTheCompanionFace)
{
    KernelNameLookup* before = KernelNameLookup::Register(&TheNameTable());
    LayoutItemMaker::Install(&TextLayoutItemMaker::Instance());
    CompList row(Chars("sin x", FontManager::kMathFace));
    row.Layout(30000);
    LayoutItemMaker::Install(&maker);
    KernelNameLookup::Register(before);
    auto* sine = dynamic_cast<WordLayout*>(row.GetItems()->GetAt(1));
    auto* x = dynamic_cast<WordLayout*>(row.GetItems()->GetAt(3));
    ASSERT_NE(sine, nullptr);
    ASSERT_NE(x, nullptr);
    EXPECT_NE(sine->GetFontId(), FontManager::kMathFace);
    EXPECT_EQ(x->GetFontId(), FontManager::kMathFace);
}

} // namespace
