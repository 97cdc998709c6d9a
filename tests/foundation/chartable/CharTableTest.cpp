#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/CharTable.h"

namespace {

std::set<int> CodesOfKind(int32_t kind)
{
    std::set<int> codes;
    for (int code = 0; code < 256; ++code) {
        if (CharTable::GetKind(static_cast<uint8_t>(code)) == kind)
            codes.insert(code);
    }
    return codes;
}

std::string Math(int code)
{
    return CharTable::GetTeX(static_cast<uint8_t>(code), true);
}

std::string Text(int code)
{
    return CharTable::GetTeX(static_cast<uint8_t>(code), false);
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The tokens TeX reads from a text: command names, command symbols and single
// characters, with blanks after a command name skipped; in mathematics every
// blank is skipped.
std::vector<std::string> Tokens(const std::string& tex, bool mathMode)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < tex.size()) {
        if (tex[i] == '\\' && i + 1 < tex.size()) {
            size_t end = i + 1;
            if (IsLetter(tex[end])) {
                while (end < tex.size() && IsLetter(tex[end]))
                    ++end;
                tokens.push_back(tex.substr(i, end - i));
                while (end < tex.size() && tex[end] == ' ')
                    ++end;
            } else {
                ++end;
                tokens.push_back(tex.substr(i, end - i));
            }
            i = end;
        } else {
            if (!(mathMode && tex[i] == ' '))
                tokens.push_back(std::string(1, tex[i]));
            ++i;
        }
    }
    return tokens;
}

bool Ligature(const std::string& a, const std::string& b)
{
    return (a == "-" && b == "-") || (a == "`" && b == "`") || (a == "'" && b == "'") ||
           ((a == "?" || a == "!") && b == "`");
}

// What is written for the character, then next, reads as the character's own
// tokens followed by next on its own, without forming a ligature.
void ExpectSafe(const std::string& original, const std::string& written, char next, bool mathMode)
{
    const std::string context = "'" + original + "' then '" + std::string(1, next) + "' gives '" + written + "'";
    std::vector<std::string> own = Tokens(original, mathMode);
    std::vector<std::string> all = Tokens(written + next, mathMode);
    if (mathMode && next == ' ') {
        EXPECT_EQ(all, Tokens(written, true)) << context;
        return;
    }
    ASSERT_GE(all.size(), own.size() + 1) << context;
    for (size_t i = 0; i < own.size(); ++i)
        EXPECT_EQ(all[i], own[i]) << context;
    EXPECT_EQ(all.back(), std::string(1, next)) << context;
    if (!mathMode) {
        EXPECT_FALSE(Ligature(all[all.size() - 2], all.back())) << context;
    }
}

} // namespace

TEST(CharTableTest, KindsSplitTheCodesAsTheLayoutAndParserNeed)
{
    std::set<int> letters;
    for (int c = 'A'; c <= 'Z'; ++c) {
        letters.insert(c);
        letters.insert(c + ('a' - 'A'));
    }
    EXPECT_EQ(CodesOfKind(CharTable::letter), letters);
    EXPECT_EQ(CodesOfKind(CharTable::blank), (std::set<int>{9, 32, 127}));
    EXPECT_EQ(CodesOfKind(CharTable::relation),
              (std::set<int>{4, '<', '=', '>', 128, 129, 130, 131, 132, 133, 137, 173, 178, 179, 197, 217}));
    EXPECT_EQ(CodesOfKind(CharTable::other).size(), 256u - 52 - 3 - 16);
}

// The texts LaTeX export writes for rows that are easy to get wrong.
TEST(CharTableTest, SampleEntries)
{
    EXPECT_EQ(Math(176), "\\infty ");
    EXPECT_EQ(Text(176), "$\\infty$");
    EXPECT_EQ(CharTable::GetKernelNameId(176), 53);
    EXPECT_EQ(CharTable::GetKernelNameId('='), 38);
    EXPECT_EQ(Text('\\'), "$\\backslash$");
    EXPECT_EQ(Math('^'), "\\mbox{\\^{ }}");
    EXPECT_EQ(CharTable::GetKernelNameId('^'), 127);
    EXPECT_EQ(Text(128), "\\\"{A}");
    EXPECT_EQ(Text(141), "??");
    EXPECT_EQ(Math(161), "^{\\circ}");
    EXPECT_EQ(Text(206), "\\OE ");
    EXPECT_EQ(Math(206), "\\Sigma ");
    EXPECT_EQ(CharTable::GetKernelNameId('*'), 295);
    EXPECT_EQ(Math(1), "\\Psi ");
    EXPECT_EQ(Text(140), "\\.{a}");
    EXPECT_EQ(Math(140), "");
    // Codes without a row of their own write themselves.
    EXPECT_EQ(Text('"'), "\"");
}

TEST(CharTableTest, ControlCodesWriteNothingAndKernelNamesStayInTheirTable)
{
    for (int code : {0, 3, 7, 8, 10, 13, 20, 31}) {
        const CharEntry& entry = CharTable::Entry(static_cast<uint8_t>(code));
        EXPECT_EQ(entry.kind, CharTable::other) << code;
        EXPECT_STREQ(entry.textTeX, "") << code;
        EXPECT_STREQ(entry.mathTeX, "") << code;
        EXPECT_EQ(entry.kernelNameId, 0) << code;
    }
    for (const CharEntry& entry : gCharTable) {
        EXPECT_GE(entry.kernelNameId, 0);
        EXPECT_LT(entry.kernelNameId, 312); // the built-in name table's size
        EXPECT_NE(entry.textTeX, nullptr);
        EXPECT_NE(entry.mathTeX, nullptr);
    }
}

TEST(CharTableTest, CommandNamesDoNotRunIntoTheNextLetter)
{
    EXPECT_EQ(CharTable::GetSafeTeX(215, true, 'x') + 'x', "\\cdot x");
    EXPECT_EQ(CharTable::GetSafeTeX(243, true, 'f') + 'f', "\\partial f");
    EXPECT_EQ(CharTable::GetSafeTeX(243, false, 'f') + 'f', "\\partial{}f");
    EXPECT_EQ(CharTable::GetSafeTeX(201, false), "\\ldots{}");
    // Nothing changes where nothing can go wrong.
    EXPECT_EQ(CharTable::GetSafeTeX(215, true, '2'), "\\cdot");
    EXPECT_EQ(CharTable::GetSafeTeX(172, true, 'x'), "\\alpha ");
    EXPECT_EQ(CharTable::GetSafeTeX(228, true, 'x'), "\\mathbb{R}");
    // In text a blank after a command name would be swallowed.
    EXPECT_EQ(CharTable::GetSafeTeX(169, false, ' '), "\\copyright{}");
    EXPECT_EQ(CharTable::GetSafeTeX(169, false, 'x'), "\\copyright ");
    // An en dash before a hyphen must not become an em dash.
    EXPECT_EQ(CharTable::GetSafeTeX(208, false, '-'), "--{}");
    EXPECT_EQ(CharTable::GetSafeTeX(208, true, '-'), "--");
    // A double backslash is a line break, not a command.
    EXPECT_FALSE(CharTable::EndsInCommandName("a\\\\cdot"));
    EXPECT_TRUE(CharTable::EndsInCommandName("\\\\\\cdot"));
}

TEST(CharTableTest, EveryTextIsSafeBeforeEveryNextCharacter)
{
    const std::string nexts = "xAz0 -`'!?\\{$";
    for (bool mathMode : {false, true}) {
        for (int code = 0; code < 256; ++code) {
            const std::string tex = CharTable::GetTeX(static_cast<uint8_t>(code), mathMode);
            if (tex.empty())
                continue;
            const std::string always = CharTable::GetSafeTeX(static_cast<uint8_t>(code), mathMode);
            for (char next : nexts) {
                ExpectSafe(tex, CharTable::GetSafeTeX(static_cast<uint8_t>(code), mathMode, next), next, mathMode);
                ExpectSafe(tex, always, next, mathMode);
            }
        }
    }
}
