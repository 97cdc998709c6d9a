// Searching the document for a row of components and replacing matches:
// the walk through paragraphs and child rows, where a search and Replace All
// start, what Replace does to the last match, and the dialog's buttons.
#include "CommandTestSupport.h"

#include "app/TextSearcher.h"
#include "app/dialogs/CFindReplaceDialog.h"
#include "math/FractionComp.h"

class FindReplaceTest : public CommandTest {
protected:
    std::unique_ptr<TextSearcher> Searcher(const DocPosition& start, bool advanceFirst = false)
    {
        return std::make_unique<TextSearcher>(*list, start, nullptr, advanceFirst);
    }

    // Presses the buttons of the Find and Replace dialog run over the view.
    void RunDialog(const char* find, const char* replace, std::initializer_list<int> buttons)
    {
        Script([=](CDialog& dialog) {
            dialog.SetDlgItemText(CFindReplaceDialog::kFindTextId, find);
            dialog.SetDlgItemText(CFindReplaceDialog::kReplaceTextId, replace);
            for (int id : buttons)
                dialog.PressButton(id);
        });
        RunFindDialog(view, *list, nullptr);
    }
};

TEST_F(FindReplaceTest, MatchesAreFoundInDocumentOrderWithinOneRowOnly)
{
    MakeDocument({"abcab", "cab", ""});
    auto searcher = Searcher(At(1, 1));
    searcher->SetFindText("ab");
    std::vector<std::pair<int, int>> found;
    while (searcher->Find())
        found.push_back({searcher->GetParagraphIndex(), searcher->GetMatch().First().GetIndex()});
    // "ab" at 1 and 4 of the first row and at 2 of the second; the "b" that
    // ends the first row and the "c" that starts the second are no match.
    EXPECT_EQ(found, (std::vector<std::pair<int, int>>{{1, 1}, {1, 4}, {2, 2}}));
    EXPECT_FALSE(searcher->LastSearchMatched());

    // "ab" closing a row is found; "abc" would only fit by running past it.
    MakeDocument({"xab", "cab"});
    auto atEnd = Searcher(At(1, 1));
    atEnd->SetFindText("ab");
    ASSERT_TRUE(atEnd->Find());
    EXPECT_EQ(atEnd->GetMatch().First().GetIndex(), 2);
    auto across = Searcher(At(1, 1));
    across->SetFindText("abc");
    EXPECT_FALSE(across->Find());
}

TEST_F(FindReplaceTest, ASearchDescendsIntoNumeratorAndDenominator)
{
    MakeDocument({"x", "z ab"});
    Row(1)->Append(new FractionComp(Chars("ab"), Chars("cd")));
    Row(1)->Append(gTextFace->GetCharacter('y'));
    auto searcher = Searcher(At(1, 1));
    searcher->SetFindText("cd");
    ASSERT_TRUE(searcher->Find());
    DocSelection match = searcher->GetMatch();
    auto* fraction = static_cast<FractionComp*>(Row(1)->GetAt(2));
    EXPECT_EQ(match.First().GetList(), fraction->GetChild(2));
    EXPECT_EQ(match.Second().GetIndex(), 3);
    // The outermost component holding the match is the fraction, at 2.
    EXPECT_EQ(searcher->GetTopIndex(), 2);
    EXPECT_EQ(searcher->GetParagraphIndex(), 1);

    searcher->SetFindText("ab");
    ASSERT_TRUE(searcher->Find());
    EXPECT_EQ(searcher->GetParagraphIndex(), 2);
    EXPECT_EQ(searcher->GetTopIndex(), 3);
    EXPECT_EQ(searcher->GetDepth(), -1);

    // A search that starts inside the numerator carries on after the fraction.
    auto inside = Searcher(DocPosition(fraction->GetChild(1), 2));
    inside->SetFindText("y");
    ASSERT_TRUE(inside->Find());
    EXPECT_EQ(inside->GetMatch().First().GetList(), Row(1));
    EXPECT_EQ(inside->GetMatch().First().GetIndex(), 3);
}

TEST_F(FindReplaceTest, RowsNestedBeyondTheStackArePassedOverSafely)
{
    MakeDocument({"a", "q"});
    CompList* row = Row(1);
    for (int depth = 0; depth < 70; ++depth) {
        auto* fraction = new FractionComp(Chars("q"), Chars("b"));
        row->Append(fraction);
        row = fraction->GetChild(1);
    }
    // From the start: the first "q"s are in reach, the deepest are not.
    auto searcher = Searcher(At(1, 1));
    searcher->SetFindText("q");
    int found = 0;
    while (searcher->Find()) {
        ++found;
        EXPECT_LE(searcher->GetDepth(), TextSearcher::kMaxDepth - 1);
    }
    EXPECT_EQ(found, TextSearcher::kMaxDepth + 1);  // 64 numerators and the second paragraph

    // Starting in the deepest row is allowed too.
    auto deep = Searcher(DocPosition(row, 1));
    deep->SetFindText("q");
    ASSERT_TRUE(deep->Find());
    EXPECT_EQ(deep->GetParagraphIndex(), 2);
}

TEST_F(FindReplaceTest, ReplaceUsesTheMatchOnceInTheMatchesFace)
{
    MakeDocument({"one cat"});
    Row(1)->InsertAllAt(Chars("cat", FontManager::kBoldFace), 1);  // "catone cat", the first bold
    auto searcher = Searcher(At(1, 1));
    searcher->SetFindText("cat");
    searcher->SetReplaceText("dogs");
    ASSERT_TRUE(searcher->Find());
    DocSelection inserted = searcher->Replace();
    EXPECT_EQ(DocText(), "dogsone cat");
    EXPECT_EQ(inserted.First().GetIndex(), 1);
    EXPECT_EQ(inserted.Second().GetIndex(), 5);
    EXPECT_EQ(Row(1)->GetAt(1)->GetFontId(), FontManager::kBoldFace);
    EXPECT_EQ(Row(1)->GetAt(4)->GetFontId(), FontManager::kBoldFace);

    // The match is used up: a second Replace changes nothing.
    EXPECT_FALSE(searcher->LastSearchMatched());
    searcher->Replace();
    EXPECT_EQ(DocText(), "dogsone cat");

    // The search goes on after the inserted text, without stepping first.
    ASSERT_TRUE(searcher->Find());
    EXPECT_EQ(searcher->GetMatch().First().GetIndex(), 9);
    // A different pattern forgets the match it has not found.
    searcher->SetFindText("one");
    EXPECT_FALSE(searcher->LastSearchMatched());
    searcher->Replace();
    EXPECT_EQ(DocText(), "dogsone cat");
}

TEST_F(FindReplaceTest, FindSearchesForTheSelectionAfterIt)
{
    MakeDocument({"cat and cat", "cat"});
    Select(Range(1, 1, 4));
    CString shown;
    Script([&](CDialog& dialog) {
        dialog.GetDlgItemText(CFindReplaceDialog::kFindTextId, shown);
        dialog.PressButton(CFindReplaceDialog::kFindId);
    });
    RunFindDialog(view, *list, nullptr);
    EXPECT_EQ(shown, "cat");
    // The selected "cat" is passed over: the next one is shown.
    EXPECT_EQ(view.selection.First().GetIndex(), 9);
    EXPECT_EQ(view.selection.Second().GetIndex(), 12);
    EXPECT_EQ(view.redrawnSelections, 1);
    EXPECT_EQ(view.scrolls, 1);
    EXPECT_TRUE(view.layouts.empty());
    EXPECT_FALSE(view.modified);
}

TEST_F(FindReplaceTest, AMissingPatternLeavesTheSelectionAndBeeps)
{
    MakeDocument({"cat", "dog"});
    Select(Range(2, 2, 2));
    RunDialog("cow", "", {CFindReplaceDialog::kFindId});
    EXPECT_EQ(view.selection.First(), At(2, 2));
    EXPECT_EQ(view.redrawnSelections, 0);
    EXPECT_EQ(ui.beeps.size(), 1u);
}

TEST_F(FindReplaceTest, ReplaceActsOnceOnTheMatchJustFound)
{
    MakeDocument({"a cat, a cat"});
    Select(Range(1, 1, 1));
    RunDialog("cat", "dog",
              {CFindReplaceDialog::kFindId, CFindReplaceDialog::kReplaceId, CFindReplaceDialog::kReplaceId});
    EXPECT_EQ(DocText(), "a dog, a cat");
    EXPECT_TRUE(view.modified);
    ASSERT_EQ(view.layouts.size(), 1u);
    EXPECT_EQ(view.layouts[0], std::make_pair(1, 6));
    EXPECT_EQ(view.selection.First().GetIndex(), 3);
    EXPECT_EQ(view.selection.Second().GetIndex(), 6);

    // Replace without a Find first replaces nothing.
    view.modified = false;
    Select(Range(1, 1, 1));
    RunDialog("cat", "dog", {CFindReplaceDialog::kReplaceId});
    EXPECT_EQ(DocText(), "a dog, a cat");
    EXPECT_FALSE(view.modified);
}

TEST_F(FindReplaceTest, ReplaceAndFindMovesOnToTheNextMatch)
{
    MakeDocument({"cat cat cat"});
    Select(Range(1, 1, 1));
    // The first press only searches; each later one replaces and searches.
    RunDialog("cat", "cow",
              {CFindReplaceDialog::kReplaceAndFindId, CFindReplaceDialog::kReplaceAndFindId,
               CFindReplaceDialog::kReplaceAndFindId});
    EXPECT_EQ(DocText(), "cow cow cat");
    EXPECT_EQ(view.selection.First().GetIndex(), 9);
    EXPECT_EQ(view.selection.Second().GetIndex(), 12);

    // The last match replaced: the inserted text is shown.
    Select(Range(1, 9, 9));
    RunDialog("cat", "cow", {CFindReplaceDialog::kReplaceAndFindId, CFindReplaceDialog::kReplaceAndFindId});
    EXPECT_EQ(DocText(), "cow cow cow");
    EXPECT_EQ(view.selection.First().GetIndex(), 9);
    EXPECT_EQ(view.selection.Second().GetIndex(), 12);

    // A find text changed after the search: only the new search runs.
    Select(Range(1, 1, 1));
    Script([](CDialog& dialog) {
        dialog.SetDlgItemText(CFindReplaceDialog::kFindTextId, "cow");
        dialog.PressButton(CFindReplaceDialog::kFindId);
        dialog.SetDlgItemText(CFindReplaceDialog::kFindTextId, "co");
        dialog.SetDlgItemText(CFindReplaceDialog::kReplaceTextId, "X");
        dialog.PressButton(CFindReplaceDialog::kReplaceAndFindId);
    });
    RunFindDialog(view, *list, nullptr);
    EXPECT_EQ(DocText(), "cow cow cow");
    EXPECT_EQ(view.selection.First().GetIndex(), 5);
}

TEST_F(FindReplaceTest, ReplaceAllRunsFromTheSelectionStartToTheEnd)
{
    MakeDocument({"cat cat", "a cat", "cats"});
    Select(Range(1, 3, 6));  // "t ca": starts after the first "cat"'s start
    RunDialog("cat", "dog", {CFindReplaceDialog::kReplaceAllId});
    EXPECT_EQ(DocText(), "cat dog|a dog|dogs");
    EXPECT_TRUE(view.modified);
    ASSERT_FALSE(view.layouts.empty());
    EXPECT_EQ(view.layouts.back(), std::make_pair(1, 3));
    // The last inserted range is shown.
    EXPECT_EQ(view.selection.First(), At(3, 1));
    EXPECT_EQ(view.selection.Second(), At(3, 4));

    // After a Find the selection is the match, and Replace All includes it.
    Select(Range(1, 1, 1));
    RunDialog("cat", "cow", {CFindReplaceDialog::kFindId, CFindReplaceDialog::kReplaceAllId});
    EXPECT_EQ(DocText(), "cow dog|a dog|dogs");
}

TEST_F(FindReplaceTest, ReplaceAllWithNothingToFindChangesNothing)
{
    MakeDocument({"abc"});
    Select(Range(1, 1, 1));
    RunDialog("", "x", {CFindReplaceDialog::kReplaceAllId});
    RunDialog("zz", "x", {CFindReplaceDialog::kReplaceAllId});
    EXPECT_EQ(DocText(), "abc");
    EXPECT_FALSE(view.modified);
    EXPECT_TRUE(view.layouts.empty());
    EXPECT_EQ(ui.beeps.size(), 2u);

    // A replacement that contains the pattern is not searched again.
    RunDialog("b", "bb", {CFindReplaceDialog::kReplaceAllId});
    EXPECT_EQ(DocText(), "abbc");
}
