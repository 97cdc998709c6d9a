// The edit codes a typed character maps to, by selection kind and by the
// rules of the paragraph and of the boxed structures.
#include "EditingFixture.h"

#include "foundation/DocSelection.h"

namespace {

struct KeyCase {
    const char* what;
    DocSelection selection;
    char key;
    bool shift;
    bool ctrl;
    int code;
};

// "ab" [two rows "xy" over "z"] [enclosure "q"] [picture] | "cd" | "" (numbered equation)
class KeyMappingTest : public EditingTest {
protected:
    KeyMappingTest()
    {
        rows = new TwoRows(Chars("xy"), Chars("z"));
        enclosure = new Enclosure(Chars("q"), nullptr);
        picture = new Picture;
        auto top = Chars("ab");
        top->Append(rows);
        top->Append(enclosure);
        top->Append(picture);
        Add(3, std::move(top));
        Add(3, "cd");
        Add(6, "e");
        LayOut();
    }

    void Check(const std::vector<KeyCase>& cases)
    {
        for (const KeyCase& c : cases)
            EXPECT_EQ(c.selection.MapKey(c.key, c.shift, c.ctrl), c.code)
                << c.what << " key " << int(c.key) << (c.shift ? " shift" : "") << (c.ctrl ? " ctrl" : "");
    }

    TwoRows* rows;
    Enclosure* enclosure;
    Picture* picture;
};

TEST_F(KeyMappingTest, CaretInAParagraphsTopRow)
{
    Check({
        {"after a character", Caret(1, 3), 8, false, false, 2801},
        {"after a structure", Caret(1, 4), 8, false, false, 2807},
        {"start of the first paragraph", Caret(1, 1), 8, false, false, 2000},
        {"start of a later paragraph", Caret(2, 1), 8, false, false, 2804},
        {"tab", Caret(1, 2), 9, false, false, 3002},
        {"enter", Caret(1, 2), 13, false, false, 2802},
        {"ctrl+enter", Caret(1, 2), 13, false, true, 2803},
        {"line feed with ctrl", Caret(1, 2), 10, false, true, 2803},
        {"line feed", Caret(1, 2), 10, false, false, 2802},
        {"letter", Caret(1, 2), 'x', false, false, 3001},
        {"shifted letter", Caret(2, 3), 'X', true, false, 3001},
        {"high character", Caret(2, 3), char(0xE9), false, false, 3001},
    });
}

TEST_F(KeyMappingTest, OnlyTheFirstParagraphOfTheListRefusesToJoin)
{
    // A later paragraph placed at the top margin (as on a new page) still joins.
    list.GetAt(2)->SetOrigin(IntPoint(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin()));
    EXPECT_EQ(Caret(2, 1).MapKey(8, false, false), 2804);
    // The first paragraph refuses wherever it stands.
    list.GetAt(1)->SetOrigin(IntPoint(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin() + 400));
    EXPECT_EQ(Caret(1, 1).MapKey(8, false, false), 2000);
}

TEST_F(KeyMappingTest, RangesInARow)
{
    DocSelection character(Row(1), 1, 2);
    DocSelection structure(Row(1), 3, 4);
    DocSelection enclosed(Row(1), 4, 5);
    DocSelection two(Row(1), 3, 5);
    DocSelection across(At(1, 2), At(2, 2));
    DocSelection inside(rows->GetChild(1), 1, 3);
    Check({
        {"one character", character, 8, false, false, 2801},
        {"one structure", structure, 8, false, false, 2801},
        {"one enclosure", enclosed, 8, false, false, 2808},
        {"two children", two, 8, false, false, 2801},
        {"across paragraphs", across, 8, false, false, 2801},
        {"tab over a top-row range", two, 9, false, false, 3002},
        {"enter over a top-row range", character, 13, false, false, 2802},
        {"ctrl+enter over a top-row range", character, 13, false, true, 2803},
        {"line feed over a top-row range", character, 10, false, true, 2803},
        {"letter over a top-row range", character, 'z', false, false, 3001},
        {"tab inside a structure", inside, 9, false, false, 2806},
        {"enter inside a structure", inside, 13, false, true, 2806},
        {"backspace inside a structure", inside, 8, false, false, 2801},
        {"letter inside a structure", inside, 'z', false, false, 3001},
    });
}

TEST_F(KeyMappingTest, ANumberLabelIsNeverEditedByKeys)
{
    DocSelection label(Row(3), 0, 1);
    ASSERT_TRUE(label.HasExtent());
    for (char key : {char(8), char(9), char(10), char(13), 'a', ' '})
        EXPECT_EQ(label.MapKey(key, false, false), 2000) << int(key);
    EXPECT_EQ(label.MapKey(13, false, true), 2000);
}

TEST_F(KeyMappingTest, WholeObjectsAndEmptySelections)
{
    DocSelection object = DocSelection::SelectObject(picture);
    // Without a selection inside, the object is a caret and its own rule
    // decides (a box at its first place: the previous field).
    EXPECT_EQ(object.MapKey(8, false, false), 2805);
    EXPECT_EQ(object.MapKey('a', false, false), 2000);
    picture->inner = true;
    EXPECT_EQ(object.MapKey(8, false, false), 2801);
    EXPECT_EQ(object.MapKey('a', false, false), 2000);
    EXPECT_EQ(object.MapKey(9, false, false), 2000);
    DocSelection none;
    for (char key : {char(8), char(9), char(13), 'a'})
        EXPECT_EQ(none.MapKey(key, false, false), 2000) << int(key);
}

} // namespace
