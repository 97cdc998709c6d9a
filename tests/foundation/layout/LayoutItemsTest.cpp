// Runs built from rows, their measuring, and caret placement inside them.
#include "LayoutTestSupport.h"

#include "foundation/CharTable.h"
#include "foundation/DocPosition.h"
#include "foundation/NonAlphaLayout.h"
#include "foundation/SizeStepScope.h"
#include "foundation/SpaceLayout.h"
#include "foundation/WordLayout.h"
#include "support/ScopedInstall.h"

#include <cstring>

namespace {

class LayoutItemsTest : public LayoutTest {
protected:
    std::vector<std::string> Tags(CompList& row)
    {
        row.Layout(30000);
        std::vector<std::string> out;
        for (int i = 1; i <= row.GetItems()->GetCount(); ++i) {
            Layout* item = row.GetItems()->GetAt(i);
            char tag[5];
            item->Tag().ToChars(tag);
            out.push_back(std::string(tag) + "@" + std::to_string(item->GetStartIndex()) + "+" +
                          std::to_string(item->EndIndex() - item->GetStartIndex()));
        }
        return out;
    }
};

// A name table that knows "sin" (entry 64, set upright) and "xy" (entry 5).
class Names : public KernelNameLookup {
public:
    int Find(const char* name) const override { return FindRange(name, name + std::strlen(name)); }
    int FindRange(const char* begin, const char* end) const override
    {
        std::string name(begin, end);
        return name == "sin" ? 64 : name == "xy" ? 5 : 0;
    }
};

} // namespace

TEST_F(LayoutItemsTest, RowsBecomeRunsByCharacterKind)
{
    CompList text(Chars("ab 12,  x\t\tz"));
    EXPECT_EQ(Tags(text), (std::vector<std::string>{"word@1+2", "spcL@3+1", "nonA@4+3", "spcL@7+2", "word@9+1",
                                                    "tabL@10+2", "word@12+1"}));

    CompList empty;
    EXPECT_EQ(Tags(empty), (std::vector<std::string>{"plac@1+1"}));
    EXPECT_EQ(empty.GetItems()->GetAt(1)->GetRect(), gDrawContext.GetEmBox());
}

TEST_F(LayoutItemsTest, RunsMeasureTheirTextInTheirFont)
{
    CompList row(Chars("Hello  \t\t"));
    row.Layout(30000);
    LayoutArray& items = *row.GetItems();
    EXPECT_EQ(items.GetAt(1)->GetWidth(), Width("Hello", 0));
    EXPECT_EQ(items.GetAt(2)->GetWidth(), Width("  ", 0));
    // Each tab is as wide as two blanks.
    EXPECT_EQ(items.GetAt(3)->GetWidth(), Width("    ", 0));

    // Italic and mathematics runs get one pixel more on the right.
    CompList italic(Chars("ab", 1));
    italic.Layout(30000);
    EXPECT_EQ(italic.GetItems()->GetAt(1)->GetWidth(), Width("ab", 1) + 1);
    CompList bold(Chars("ab", 2));
    bold.Layout(30000);
    EXPECT_EQ(bold.GetItems()->GetAt(1)->GetWidth(), Width("ab", 2));
}

TEST_F(LayoutItemsTest, KernelFunctionNamesInMathematicsAreSetUpright)
{
    Names names;
    ScopedInstall lookup(KernelNameLookup::Register, &names);
    CompList sine(Chars("sin", 3));
    sine.Layout(30000);
    CompList plain(Chars("xy", 3));
    plain.Layout(30000);

    auto* upright = dynamic_cast<WordLayout*>(sine.GetItems()->GetAt(1));
    ASSERT_NE(upright, nullptr);
    EXPECT_EQ(upright->GetFontId(), fonts.GetStyleFace(3)->GetFontId());
    EXPECT_EQ(upright->GetWidth(), Width("sin", 7));
    EXPECT_EQ(dynamic_cast<WordLayout*>(plain.GetItems()->GetAt(1))->GetFontId(), 3);
}

TEST_F(LayoutItemsTest, CaretPositionsFollowTheHalvesOfCharacters)
{
    CompList row(Chars("abcd"));
    row.Layout(30000);
    row.SetOrigin(IntPoint(100, 50));
    Layout* word = row.GetItems()->GetAt(1);
    const int ab = Width("ab", 0);
    const int abc = Width("abc", 0);
    const int middle = (ab + abc) / 2;

    DocPosition pos;
    word->PositionAt(IntPoint(100 + ab + 1, 50), pos, false);
    EXPECT_EQ(pos.GetIndex(), 3);  // left half of "c": before it
    word->PositionAt(IntPoint(100 + middle + 1, 50), pos, false);
    EXPECT_EQ(pos.GetIndex(), 4);  // right half: after it
    word->PositionAt(IntPoint(500, 50), pos, false);
    EXPECT_EQ(pos.GetIndex(), 5);
    EXPECT_EQ(word->ComponentAt(IntPoint(100 + ab + 1, 50)), row.GetAt(3));

    // The caret box of an index: the character's box; before or after the
    // run, its left or right edge.
    Rect box;
    word->GetAbsRect(3, box);
    EXPECT_EQ(box.left, 100 + ab);
    EXPECT_EQ(box.right, 100 + abc);
    word->GetAbsRect(9, box);
    EXPECT_EQ(box.left, word->AbsRect().right);
    word->GetAbsRect(0, box);
    EXPECT_EQ(box.right, 100);

    // Tabs: each one is two blanks wide.
    CompList tabRow(Chars("\t\t"));
    tabRow.Layout(30000);
    tabRow.SetOrigin(IntPoint(0, 0));
    Layout* tabs = tabRow.GetItems()->GetAt(1);
    const int tab = 2 * Width(" ", 0);
    tabs->GetAbsRect(2, box);
    EXPECT_EQ(box.left, tab);
    EXPECT_EQ(box.right, 2 * tab);
    tabs->PositionAt(IntPoint(tab + tab / 2 + 1, 0), pos, false);
    EXPECT_EQ(pos.GetIndex(), 3);
}

TEST_F(LayoutItemsTest, WordsMergeBelowThirtyOneCharacters)
{
    CompList row(Chars(std::string(20, 'a') + "." + std::string(10, ' ') + "b"));
    row.Layout(30000);
    LayoutArray& items = *row.GetItems();
    Layout& word = *items.GetAt(1);
    EXPECT_TRUE(word.CanMerge(*items.GetAt(2)));  // 20 + 1
    EXPECT_TRUE(word.CanMerge(*items.GetAt(3)));  // 20 + 10 blanks
    word.Merge(*items.GetAt(2));
    EXPECT_EQ(word.EndIndex(), 22);
    EXPECT_FALSE(word.CanMerge(*items.GetAt(3)));  // 21 + 10 reaches 31
    EXPECT_FALSE(items.GetAt(2)->CanMerge(*items.GetAt(3)));  // only words absorb
}
