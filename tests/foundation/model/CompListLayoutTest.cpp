#include "support/model/ModelTestSupport.h"

#include "foundation/DocPosition.h"
#include "platform/Exceptions.h"

// The row layout with items of fixed size (10 units per character, see
// TestItemMaker): which items a row is cut into, and how they are placed.
class CompListLayoutTest : public ModelTest {
protected:
    static std::vector<std::string> Items(const CompList& row)
    {
        std::vector<std::string> items;
        for (int i = 1; row.GetItems() && i <= row.GetItems()->GetCount(); ++i) {
            Layout* item = row.GetItems()->GetAt(i);
            char tag[5];
            item->Tag().ToChars(tag);
            items.push_back(std::string(tag) + "@" + std::to_string(item->GetStartIndex()) + ":" +
                            std::to_string(item->GetWidth()));
        }
        return items;
    }
};

TEST_F(CompListLayoutTest, EmptyRowsLayOutAsAPlaceholder)
{
    CompList shown;
    shown.Layout(1000);
    EXPECT_EQ(Items(shown), std::vector<std::string>{"plac@1:10"});
    EXPECT_EQ(shown.GetRect(), Rect(0, -10, 10, 0));
    EXPECT_TRUE(shown.IsLaidOut());

    CompList hidden;
    hidden.SetOwner(nullptr, 0);
    hidden.Layout(1000);
    EXPECT_EQ(Items(hidden), std::vector<std::string>{"plac@1:0"});
    EXPECT_TRUE(hidden.GetRect().IsEmpty());
}

TEST_F(CompListLayoutTest, CharactersJoinRunsByKindAndFont)
{
    auto comps = Chars("ab  c");
    comps->Append(new TestFraction);
    comps->Append(fonts.GetFace(0)->GetCharacter('d'));
    comps->Append(fonts.GetFace(1)->GetCharacter('e'));
    comps->Append(fonts.GetFace(0)->GetCharacter('+'));
    comps->Append(fonts.GetFace(0)->GetCharacter('\t'));
    CompList row(std::move(comps));
    row.Layout(1000);
    EXPECT_EQ(Items(row), (std::vector<std::string>{"word@1:20", "spcL@3:20", "word@5:10", "strL@6:30", "word@7:10",
                                                     "word@8:10", "nonA@9:10", "tabL@10:10"}));
    EXPECT_EQ(row.GetRect(), Rect(0, -10, 120, 10));  // the fraction is the tallest

    CompList letters(Chars(std::string(40, 'x')));
    letters.Layout(1000);
    EXPECT_EQ(Items(letters), (std::vector<std::string>{"word@1:310", "word@32:90"}));
}

TEST_F(CompListLayoutTest, ARowWiderThanItsWidthBecomesAGreyBox)
{
    CompList row(Chars("abc"));
    row.Layout(30);
    EXPECT_EQ(Items(row), std::vector<std::string>{"word@1:30"});
    row.Invalidate();
    row.Layout(29);
    EXPECT_EQ(Items(row), std::vector<std::string>{"gray@1:40"});
    EXPECT_EQ(row.GetWidth(), 40);

    // A clean row is not laid out again.
    row.SetOrigin(IntPoint(0, 0));
    row.Layout(1000);
    EXPECT_EQ(Items(row), std::vector<std::string>{"gray@1:40"});
}

TEST_F(CompListLayoutTest, PlacingGivesEveryItemTheRowHeight)
{
    auto comps = Chars("ab");
    auto* fraction = new TestFraction;
    comps->Append(fraction);
    comps->Append(fonts.GetFace(0)->GetCharacter('c'));
    CompList row(std::move(comps));
    row.Layout(1000);
    row.SetOrigin(IntPoint(100, 50));
    EXPECT_EQ(row.GetAbsRect(), Rect(100, 40, 160, 60));
    Layout* first = row.GetItems()->GetAt(1);
    Layout* last = row.GetItems()->GetAt(3);
    EXPECT_EQ(first->AbsRect(), Rect(100, 40, 120, 60));
    EXPECT_EQ(last->AbsRect(), Rect(150, 40, 160, 60));
    IntPoint origin;
    fraction->GetOrigin(origin);
    EXPECT_EQ(origin.x, 120);

    // Hit testing through the items.
    EXPECT_EQ(row.ComponentAtPoint(IntPoint(125, 50)), fraction);
    EXPECT_EQ(row.ComponentAtPoint(IntPoint(161, 50)), nullptr);
    DocPosition position;
    row.PositionFromPoint(position, IntPoint(500, 50), true);
    EXPECT_EQ(position.GetIndex(), 5);
    EXPECT_FALSE(row.HitTest(IntPoint(161, 60)));

    // The caret box after the last component is one unit wide at the row's end.
    Rect caret;
    row.GetItemRect(5, caret);
    EXPECT_EQ(caret.left, 160);
    EXPECT_EQ(caret.right, 161);

    // Moving a placed row never lays it out again.
    row.MoveBy(IntPoint(5, 1));
    EXPECT_EQ(first->AbsRect(), Rect(105, 41, 125, 61));

    row.FitToRect(Rect(-5, -20, 70, 15));
    EXPECT_EQ(first->GetRect(), Rect(-5, -20, 20, 15));
    EXPECT_EQ(last->GetRect(), Rect(0, -20, 20, 15));
}

TEST_F(CompListLayoutTest, AFailedLayoutLeavesNoItems)
{
    CompList row(Chars("ab"));
    LayoutItemMaker::Install(nullptr);
    EXPECT_THROW(row.Layout(1000), CException);
    EXPECT_EQ(row.GetItems(), nullptr);
    EXPECT_TRUE(row.NeedsLayout());
    LayoutItemMaker::Install(&maker);
    row.Layout(1000);
    EXPECT_EQ(Items(row), std::vector<std::string>{"word@1:20"});
}
