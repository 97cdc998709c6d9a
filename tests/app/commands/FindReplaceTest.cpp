// Searching the document for a row of components and replacing matches.
#include "CommandTestSupport.h"
#include "app/TextSearcher.h"
#include "app/dialogs/CFindReplaceDialog.h"
#include "math/FractionComp.h"

using Dialog = CFindReplaceDialog;
using Found = std::vector<std::vector<int>>;

class FindReplaceTest : public CommandTest {
protected:
    // Each match as {paragraph, outermost index, first index, depth}.
    Found FindAll(const DocPosition& start, const char* find)
    {
        TextSearcher searcher(*list, start, nullptr, false);
        searcher.SetFindText(find);
        Found found;
        while (searcher.Find())
            found.push_back({searcher.GetParagraphIndex(), searcher.GetTopIndex(),
                             searcher.GetMatch().First().GetIndex(), searcher.GetDepth()});
        EXPECT_FALSE(searcher.LastSearchMatched());
        return found;
    }
};

TEST_F(FindReplaceTest, MatchesAreFoundInOrderWithinOneRowAndInsideChildrenAndReplaced)
{
    MakeDocument({"abcab", "cab", "xab"});
    EXPECT_EQ(FindAll(At(1, 1), "ab"), (Found{{1, 1, 1, -1}, {1, 4, 4, -1}, {2, 2, 2, -1}, {3, 2, 2, -1}}));
    EXPECT_EQ(FindAll(At(1, 1), "abc").size(), 1u);  // never across the end of a row

    MakeDocument({"z"});
    auto* fraction = new FractionComp(Chars("ab"), Chars("cd"));
    Row(1)->Append(fraction);
    Row(1)->Append(gTextFace->GetCharacter('y'));
    EXPECT_EQ(FindAll(At(1, 1), "cd"), (Found{{1, 2, 1, 0}}));
    // A search that starts inside the numerator carries on after the fraction.
    EXPECT_EQ(FindAll(DocPosition(fraction->GetChild(1), 2), "y"), (Found{{1, 3, 3, -1}}));

    // Rows nested deeper than the search's stack are passed over safely.
    MakeDocument({"a", "q"});
    CompList* row = Row(1);
    for (int depth = 0; depth < 70; ++depth) {
        auto* nested = new FractionComp(Chars("q"), Chars("b"));
        row->Append(nested);
        row = nested->GetChild(1);
    }
    Found deep = FindAll(At(1, 1), "q");
    EXPECT_EQ(deep.size(), size_t(TextSearcher::kMaxDepth + 1));  // the numerators in reach, then "q"
    for (const auto& match : deep)
        EXPECT_LT(match[3], TextSearcher::kMaxDepth);
    EXPECT_EQ(FindAll(DocPosition(row, 1), "q"), (Found{{2, 1, 1, -1}}));

    // A replacement takes the match's face, and uses the match up.
    MakeDocument({"one cat"});
    Row(1)->InsertAllAt(Chars("cat", FontManager::kBoldFace), 1);
    TextSearcher searcher(*list, At(1, 1), nullptr, false);
    searcher.SetFindText("cat");
    searcher.SetReplaceText("dogs");
    ASSERT_TRUE(searcher.Find());
    EXPECT_EQ(searcher.Replace().Second(), At(1, 5));
    EXPECT_EQ(Row(1)->GetAt(4)->GetFontId(), FontManager::kBoldFace);
    EXPECT_FALSE(searcher.LastSearchMatched());
    searcher.Replace();
    EXPECT_EQ(DocText(), "dogsone cat");
}

TEST_F(FindReplaceTest, DialogButtons)
{
    constexpr int F = Dialog::kFindId, R = Dialog::kReplaceId, RF = Dialog::kReplaceAndFindId,
                  All = Dialog::kReplaceAllId;
    struct Case {
        std::vector<std::string> doc;
        std::vector<int> selection, shown;  // paragraph, first, last: before and after
        const char *find, *replace, *retype;  // find: null keeps the selected text; retype: before the last button
        std::vector<int> buttons;
        std::string text;
        std::pair<int, int> layout;  // the last layout asked for; {0, 0}: none
        size_t beeps;
    };
    const Case cases[] = {
        // Find passes over the selected match; nothing found leaves the selection and beeps.
        {{"cat and cat"}, {1, 1, 4}, {1, 9, 12}, nullptr, "", nullptr, {F}, "cat and cat", {0, 0}, 0},
        {{"cat", "dog"}, {2, 2, 2}, {2, 2, 2}, "cow", "", nullptr, {F}, "cat|dog", {0, 0}, 1},
        // A search that found nothing leaves the next one starting where it
        // started: at a later paragraph, or at the word at the caret.
        {{"cat", "dog"}, {1, 1, 1}, {2, 1, 4}, "cow", "", "dog", {F, F}, "cat|dog", {0, 0}, 1},
        {{"cat dog"}, {1, 5, 5}, {1, 5, 8}, "cow", "", "dog", {F, F}, "cat dog", {0, 0}, 1},
        {{"cat dog"}, {1, 5, 5}, {1, 5, 8}, "cow", "", "dog", {F, F, F}, "cat dog", {0, 0}, 2},
        // Replace acts once on the match just found, without a Find not at
        // all, and not on a match of a find text since changed.
        {{"a cat, a cat"}, {1, 1, 1}, {1, 3, 6}, "cat", "dog", nullptr, {F, R, R}, "a dog, a cat", {1, 6}, 0},
        {{"a cat, a cat"}, {1, 1, 1}, {1, 1, 1}, "cat", "dog", nullptr, {R}, "a cat, a cat", {0, 0}, 0},
        {{"cat and cat", "cat"}, {1, 1, 4}, {2, 1, 3}, nullptr, "X", "ca", {F, RF}, "cat and cat|cat", {0, 0}, 0},
        // Replace and Find: the first press only finds; after the last match the inserted text is shown.
        {{"cat cat cat"}, {1, 1, 1}, {1, 9, 12}, "cat", "cow", nullptr, {RF, RF, RF}, "cow cow cat", {1, 8}, 0},
        {{"cow cow cat"}, {1, 9, 9}, {1, 9, 12}, "cat", "cow", nullptr, {RF, RF}, "cow cow cow", {1, 12}, 0},
        // Replace All runs from the selection's start (after a Find: the
        // match) to the end and shows the last replacement.
        {{"cat cat", "a cat", "cats"}, {1, 3, 6}, {3, 1, 4}, "cat", "dog", nullptr, {All}, "cat dog|a dog|dogs",
         {1, 3}, 0},
        {{"cat cat"}, {1, 1, 1}, {1, 5, 8}, "cat", "cow", nullptr, {F, All}, "cow cow", {1, 1}, 0},
        {{"abc"}, {1, 1, 1}, {1, 1, 1}, "", "x", nullptr, {All}, "abc", {0, 0}, 1},
        {{"abc"}, {1, 1, 1}, {1, 2, 4}, "b", "bb", nullptr, {All}, "abbc", {1, 1}, 0},  // not searched again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MakeDocument(c.doc);
        view.selection = DocSelection(Row(c.selection[0]), c.selection[1], c.selection[2]);
        CDialog::SetModalHook([&](CDialog& dialog) {
            if (c.find)
                dialog.SetDlgItemText(Dialog::kFindTextId, c.find);
            dialog.SetDlgItemText(Dialog::kReplaceTextId, c.replace);
            for (size_t i = 0; i < c.buttons.size(); ++i) {
                if (c.retype && i + 1 == c.buttons.size())
                    dialog.SetDlgItemText(Dialog::kFindTextId, c.retype);
                dialog.PressButton(c.buttons[i]);
            }
        });
        RunFindDialog(view, *list, nullptr);
        EXPECT_EQ(DocText(), c.text);
        EXPECT_EQ(view.selection.First(), At(c.shown[0], c.shown[1]));
        EXPECT_EQ(view.selection.Second(), At(c.shown[0], c.shown[2]));
        EXPECT_EQ(view.scrolls > 0, c.shown != c.selection);
        EXPECT_EQ(view.modified, c.layout.first != 0);
        EXPECT_EQ(view.layouts.empty() ? std::make_pair(0, 0) : view.layouts.back(), c.layout);
        EXPECT_EQ(ui.beeps.size(), c.beeps);
    }
}

TEST_F(FindReplaceTest, ASelectedStructureIsFoundAsItself)
{
    MakeDocument({"a"});
    Row(1)->Append(new FractionComp(Chars("1"), Chars("2")));
    Row(1)->Append(gTextFace->GetCharacter('b'));
    Row(1)->Append(new FractionComp(Chars("1"), Chars("2")));
    view.selection = DocSelection(Row(1), 2, 3);
    CDialog::SetModalHook([&](CDialog& dialog) { dialog.PressButton(Dialog::kFindId); });
    RunFindDialog(view, *list, nullptr);
    EXPECT_EQ(view.selection.First(), At(1, 4));
    EXPECT_EQ(view.selection.Second(), At(1, 5));
    EXPECT_TRUE(ui.beeps.empty());
}
