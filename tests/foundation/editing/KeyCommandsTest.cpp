// Keys and the caret and selection commands: the edit code a key maps to,
// where each command leaves the selection, that undo and redo give back the
// selections before and after, and what the commands ask of the view.
#include "EditingFixture.h"

#include "foundation/InnerSelection.h"
#include "foundation/LinkTarget.h"

namespace {

// A whole object with or without a selection inside it (a drawing).
struct Picture : TestFraction, InnerSelection {
    bool SelectBetween(const DocPosition&, const DocPosition&, DocSelection&) override { return false; }
    bool HasInnerSelection() const override { return inner; }
    void GetSelectionBounds(const DocSelection&, Rect& out) const override { GetAbsBounds(out); }
    DocSelection CopySelection(const DocSelection&) override { return {}; }
    DocSelection DeleteSelection(const DocSelection&, DocPosition&) override { return {}; }
    bool CanInsert(const DocSelection&, const DocPosition&) const override { return false; }
    DocSelection Insert(DocSelection&, const DocPosition&) override { return {}; }
    void SetSelectionFont(const DocSelection&, int) override {}
    bool inner = false;
};

int Map(const DocSelection& s, int key) { return s.MapKey(char(key & 0xFF), key & kShift, key & kCtrl); }

TEST_F(EditingTest, KeysMapToEditCodesBySelectionKindAndStructureRules)
{
    Picture picture;
    const DocSelection character(Row(1), 1, 2), two(Row(1), 3, 5), inside(rows->GetChild(1), 1, 3);
    const struct {
        const char* what;
        DocSelection selection;
        int key, code;
    } cases[] = {
        {"after a character", Caret(1, 3), 8, 2801},
        {"after a structure", Caret(1, 4), 8, 2807},
        {"start of the first paragraph", Caret(1, 1), 8, 2000},
        {"start of a later paragraph", Caret(2, 1), 8, 2804},
        {"tab", Caret(1, 2), 9, 3002},
        {"enter", Caret(1, 2), 13, 2802},
        {"ctrl+enter", Caret(1, 2), 13 | kCtrl, 2803},
        {"line feed with ctrl", Caret(1, 2), 10 | kCtrl, 2803},
        {"line feed", Caret(1, 2), 10, 2802},
        {"letter", Caret(1, 2), 'x', 3001},
        {"shifted letter", Caret(2, 3), 'X' | kShift, 3001},
        {"high character", Caret(2, 3), 0xE9, 3001},
        {"one character", character, 8, 2801},
        {"one structure", DocSelection(Row(1), 3, 4), 8, 2801},
        {"one enclosure", DocSelection(Row(1), 5, 6), 8, 2808},
        {"two children", two, 8, 2801},
        {"across paragraphs", DocSelection(At(1, 2), At(2, 2)), 8, 2801},
        {"tab over a range", two, 9, 3002},
        {"enter over a range", character, 13, 2802},
        {"ctrl+enter over a range", character, 13 | kCtrl, 2803},
        {"letter over a range", character, 'z', 3001},
        {"tab inside a structure", inside, 9, 2806},
        {"ctrl+enter inside a structure", inside, 13 | kCtrl, 2806},
        {"line feed inside a structure reaches the paragraph", Caret(DocPosition(rows->GetChild(2), 2)), 10 | kCtrl, 2803},
        {"backspace inside a structure", inside, 8, 2801},
        {"letter inside a structure", inside, 'z', 3001},
        {"an object: its own rule", DocSelection::SelectObject(&picture), 8, 2805},
        {"an object, letter", DocSelection::SelectObject(&picture), 'a', 2000},
        {"no selection", DocSelection(), 8, 2000},
        {"no selection, letter", DocSelection(), 'a', 2000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Map(c.selection, c.key), c.code) << c.what;
    picture.inner = true;
    EXPECT_EQ(Map(DocSelection::SelectObject(&picture), 8), 2801) << "a selection inside an object";
    EXPECT_EQ(Map(DocSelection::SelectObject(&picture), 9), 2000);
}

TEST_F(EditingTest, OnlyTheFirstParagraphOfTheListRefusesToJoin)
{
    // A later paragraph at the top margin (as on a new page) still joins.
    list.GetAt(2)->SetOrigin(IntPoint(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin()));
    EXPECT_EQ(Map(Caret(2, 1), 8), 2804);
    list.GetAt(1)->SetOrigin(IntPoint(gDrawContext.GetLeftMargin(), gDrawContext.GetTopMargin() + 400));
    EXPECT_EQ(Map(Caret(1, 1), 8), 2000);
}

TEST_F(EditingTest, ANumberLabelIsNeverEditedByKeys)
{
    const DocSelection label(Row(3), 0, 1);
    ASSERT_TRUE(label.HasExtent());
    for (int key : {8, 9, 10, 13, int('a'), int(' '), 13 | kCtrl, 10 | kCtrl})
        EXPECT_EQ(Map(label, key), 2000) << key;
}

TEST_F(EditingTest, EachCommandMovesTheSelectionAndUndoesToTheEarlierOne)
{
    ASSERT_GE(starts.size(), 3u);
    const int second = starts[1], third = starts[2];
    const DocSelection top(rows->GetChild(1), 1, 3);
    CheckMoves({
        {"up to the top row", Caret(Bottom(2)), kUp, Caret(Top(3))},
        {"up from the top row", Caret(Top(3)), kUp, Caret(1, 3)},
        {"down to the bottom row", Caret(Top(1)), kDown, Caret(Bottom(1))},
        {"down from the bottom row", Caret(Bottom(1)), kDown, Caret(1, 4)},
        {"up in the first line", Caret(1, 2), kUp, Caret(1, 2)},
        {"shift+down", Caret(Top(2)), kDown | kShift, {}},
        {"ctrl+right", Caret(Top(2)), kRight | kCtrl, {}},
        {"shift+right", Caret(2, 2), kRight | kShift, DocSelection(Row(2), 2, 3)},
        {"shift+right again", DocSelection(Row(2), 2, 3), kRight | kShift, DocSelection(Row(2), 2, 4)},
        {"shift+left moves the start", DocSelection(Row(2), 2, 4), kLeft | kShift, DocSelection(Row(2), 1, 4)},
        {"shift+right in a structure row", DocSelection(top.GetStart(), Top(2)), kRight | kShift, top},
        {"shift+right past its end", top, kRight | kShift, DocSelection(Row(1), 3, 4)},
        {"shift+right across paragraphs", Caret(2, 6), kRight | kShift, DocSelection(At(2, 6), At(3, 1))},
        {"any other key code", Caret(2, 2), 41, Caret(2, 2)},
        {"select previous", Caret(1, 4), 2807, DocSelection(Row(1), 3, 4)},
        {"select previous at the start", Caret(1, 1), 2807, Caret(1, 1)},
        {"select word", Caret(2, 3), kWord, DocSelection(Row(2), 1, 6)},
        {"a structure is no word", Caret(1, 3), kWord, Caret(1, 3)},
        {"next field", Caret(Top(2)), 2806, Caret(Bottom(1))},
        {"next field after the last row", Caret(Bottom(1)), 2806, Caret(1, 4)},
        {"previous field", Caret(Bottom(1)), 2805, Caret(Top(3))},
        {"previous field before the first row", Caret(Top(3)), 2805, Caret(1, 3)},
        {"leave after", Caret(Top(2)), 2904, Caret(1, 4)},
        {"leave before", Caret(Bottom(2)), 2905, Caret(1, 3)},
        {"ctrl+home", Caret(2, 3), kHome | kCtrl, Caret(1, 1)},
        {"ctrl+end", Caret(2, 3), kEnd | kCtrl, End(5)},
        {"shift+ctrl+home from a structure", Caret(Top(2)), kHome | kCtrl | kShift, DocSelection(Row(1), 1, 4)},
        {"shift+ctrl+end from a structure", Caret(Top(2)), kEnd | kCtrl | kShift, DocSelection(At(1, 3), End(5).GetEnd())},
        {"home in a structure row", Caret(Top(2)), kHome, Caret(Top(1))},
        {"end in a structure row", Caret(Top(1)), kEnd, Caret(Top(3))},
        {"shift+home in a structure row", Caret(Top(3)), kHome | kShift, top},
        {"home: the start of the laid-out line", Caret(5, second + 3), kHome, Caret(5, second)},
        {"end: before the blank the line breaks at", Caret(5, second + 3), kEnd, Caret(5, third - 1)},
        {"home on the first line", Caret(5, 4), kHome, Caret(5, 1)},
        {"end on the last line", Caret(5, starts.back() + 1), kEnd, End(5)},
        {"shift+end", DocSelection(Row(5), second + 1, second + 3), kEnd | kShift, DocSelection(Row(5), second + 1, third - 1)},
    });
}

TEST_F(EditingTest, RightWalksThroughTheDocumentOverStructuresAndLeftComesBack)
{
    std::vector<DocPosition> places;
    for (int paragraph = 1; paragraph <= 5; ++paragraph)
        for (int i = 1; i <= Row(paragraph)->GetCount() + 1; ++i)
            places.push_back(At(paragraph, i));
    Select(Caret(1, 1));
    for (size_t i = 1; i < places.size(); ++i)
        EXPECT_EQ(Key(kRight), Caret(places[i])) << i;
    EXPECT_EQ(Key(kRight), End(5)) << "the end of the document stays";
    for (size_t i = places.size() - 1; i-- > 0;)
        EXPECT_EQ(Key(kLeft), Caret(places[i])) << i;
    EXPECT_EQ(Key(kLeft), Caret(1, 1)) << "the start of the document stays";
}

TEST_F(EditingTest, UpAndDownMoveBetweenParagraphsAndAcrossAnEquation)
{
    const struct { int from, key, to; } moves[] = {{2, kUp, 1}, {2, kDown, 3}, {3, kUp, 2}, {3, kDown, 4}, {4, kUp, 3}, {4, kDown, 5}};
    for (const auto& m : moves) {
        Select(Caret(m.from, 2));
        EXPECT_EQ(Key(m.key).GetEnd().GetParagraphComp(), list.GetAt(m.to)) << m.from << " " << m.key;
    }
    Select(End(5));
    EXPECT_EQ(Key(kDown), End(5)) << "the last line of the last paragraph stays";
}

TEST_F(EditingTest, ACommandShowsItsSelectionThroughTheViewItWasGiven)
{
    EditView other(list);
    other.selection = Caret(2, 2);
    view.selection = Caret(3, 1);
    TArrowKeyAction(other, other.selection, kRight, false, false).Perform();
    EXPECT_EQ(other.selection, Caret(2, 3));
    EXPECT_EQ(view.selection, Caret(3, 1)) << "another view of the document is left alone";
    EXPECT_EQ(other.invalidated, (std::vector<DocSelection>{Caret(2, 2), Caret(2, 3)}));
    EXPECT_EQ(other.redrawn, 1);
    EXPECT_EQ(other.scrolledTo, std::vector<DocSelection>{Caret(2, 3)});
    EXPECT_TRUE(view.invalidated.empty());
}

// A component that refers to a label, as a cross-reference does.
struct Reference : TestFraction, TargetLink {
    explicit Reference(LinkTarget* label) { Attach(label); }
};

TEST_F(EditingTest, GoToReferenceSelectsTheLabelledParagraph)
{
    ASSERT_NE(list.GetAt(3)->GetLabel(), nullptr);
    Reference reference(list.GetAt(3)->GetLabel()), dangling(nullptr);
    Select(Caret(2, 2));
    EXPECT_EQ(Do(new TGoToReferenceAction(view, view.selection, &reference)), DocSelection(Row(3), 1, 4));
    Select(Caret(2, 2));
    EXPECT_EQ(Do(new TGoToReferenceAction(view, view.selection, &dangling)), Caret(2, 2)) << "a reference to nowhere";
}

TEST_F(EditingTest, UpAndDownKeepTheColumnFromLineToLine)
{
    Select(Caret(5, 3));
    const int below = Key(kDown).GetEnd().GetIndex();
    EXPECT_TRUE(below >= starts[1] && below < starts[2]) << below << ": not on the second line";
    EXPECT_EQ(Key(kUp), Caret(5, 3)) << "up comes back";
    EXPECT_EQ(Key(kUp).GetEnd().GetParagraphComp(), list.GetAt(4)) << "from the first line: the paragraph before";
}

} // namespace
