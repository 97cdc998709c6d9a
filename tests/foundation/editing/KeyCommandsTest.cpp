// The caret and selection commands: what each computes, that undo puts the
// earlier selection back, and what they ask of the view.
#include "EditingFixture.h"

#include "foundation/ArrowKeyActions.h"
#include "foundation/FieldActions.h"
#include "foundation/HomeEndKeyActions.h"
#include "foundation/EquationLabel.h"
#include "foundation/LinkTarget.h"
#include "foundation/TAction.h"

namespace {

// "ab" [two rows "xy" over "z"] "c" | "hello" | "world"
class KeyCommandsTest : public EditingTest {
protected:
    KeyCommandsTest()
    {
        rows = new TwoRows(Chars("xy"), Chars("z"));
        auto top = Chars("ab");
        top->Append(rows);
        top->Append(Chars("c")->GetAt(1));
        Add(3, std::move(top));
        Add(3, "hello");
        Add(3, "world");
        LayOut();
    }

    // Runs an arrow key from the view's selection; answers the new selection.
    DocSelection Arrow(int key, bool shift = false, bool ctrl = false)
    {
        Run(new TArrowKeyAction(view, view.selection, key, shift, ctrl));
        return view.selection;
    }
    DocPosition Top(int index) const { return DocPosition(rows->GetChild(1), index); }
    DocPosition Bottom(int index) const { return DocPosition(rows->GetChild(2), index); }

    TwoRows* rows;
};

TEST_F(KeyCommandsTest, RightPassesOverStructuresThroughTheDocumentAndLeftComesBack)
{
    std::vector<DocPosition> expected = {At(1, 1), At(1, 2), At(1, 3), At(1, 4), At(1, 5)};
    for (int i = 1; i <= 6; ++i)
        expected.push_back(At(2, i));
    for (int i = 1; i <= 6; ++i)
        expected.push_back(At(3, i));
    Select(Caret(1, 1));
    for (size_t i = 1; i < expected.size(); ++i)
        EXPECT_EQ(Arrow(TArrowKeyAction::kRight), Caret(expected[i])) << i;
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight), Caret(3, 6)) << "the end of the document stays";
    for (size_t i = expected.size() - 1; i-- > 0;)
        EXPECT_EQ(Arrow(TArrowKeyAction::kLeft), Caret(expected[i])) << i;
    EXPECT_EQ(Arrow(TArrowKeyAction::kLeft), Caret(1, 1)) << "the start of the document stays";
}

TEST_F(KeyCommandsTest, UpAndDownMoveBetweenRowsAndParagraphs)
{
    Select(Caret(Bottom(2)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kUp), Caret(Top(3)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kUp), Caret(1, 3)) << "above the top row: before the structure";
    Select(Caret(Top(1)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), Caret(Bottom(1)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), Caret(1, 4)) << "below the bottom row: after the structure";

    Select(Caret(2, 3));
    DocSelection up = Arrow(TArrowKeyAction::kUp);
    EXPECT_EQ(up.GetStart().GetParagraphComp(), list.GetAt(1));
    Select(Caret(2, 3));
    const DocSelection down = Arrow(TArrowKeyAction::kDown);
    EXPECT_EQ(down.GetEnd().GetParagraphComp(), list.GetAt(3));
    EXPECT_NEAR(down.GetEnd().GetIndex(), 3, 1) << "about the same column in the next paragraph";
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), down) << "the last line of the last paragraph stays";
    Select(Caret(1, 2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kUp), Caret(1, 2)) << "the first line of the first paragraph stays";
}

TEST_F(KeyCommandsTest, UpAndDownCrossTheSpaceAroundAnEquation)
{
    Add(6, "y=2");
    Add(3, "tail");
    LayOut();
    auto paragraphAfter = [&](const DocSelection& from, int key) {
        Select(from);
        return Arrow(key).GetEnd().GetParagraphComp();
    };
    EXPECT_EQ(paragraphAfter(Caret(4, 2), TArrowKeyAction::kUp), list.GetAt(3));
    EXPECT_EQ(paragraphAfter(Caret(4, 2), TArrowKeyAction::kDown), list.GetAt(5));
    EXPECT_EQ(paragraphAfter(Caret(3, 2), TArrowKeyAction::kDown), list.GetAt(4));
    EXPECT_EQ(paragraphAfter(Caret(5, 2), TArrowKeyAction::kUp), list.GetAt(4));
}

TEST_F(KeyCommandsTest, ShiftArrowsMoveTheNearEndOnly)
{
    Select(Caret(2, 2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight, true), DocSelection(Row(2), 2, 3));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight, true), DocSelection(Row(2), 2, 4));
    EXPECT_EQ(Arrow(TArrowKeyAction::kLeft, true), DocSelection(Row(2), 1, 4)) << "Shift+Left moves the start";
    // Shift+Right from a range inside a structure row extends across the row's end.
    Select(DocSelection(rows->GetChild(1), 1, 2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight, true), DocSelection(rows->GetChild(1), 1, 3));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight, true), DocSelection(Row(1), 3, 4)) << "two rows: the whole structure";
    // Across paragraphs the selection widens to whole top-level components.
    Select(Caret(2, 6));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight, true), DocSelection(At(2, 6), At(3, 1)));
    // Any other key code changes nothing.
    Select(Caret(2, 2));
    EXPECT_EQ(Arrow(41), Caret(2, 2));
}

TEST_F(KeyCommandsTest, EveryCommandUndoesToTheEarlierSelectionAndRedoesAgain)
{
    const DocSelection before = Caret(Top(2));
    std::vector<std::function<TAction*(const DocSelection&)>> makers = {
        [&](const DocSelection& s) { return new TArrowKeyAction(view, s, TArrowKeyAction::kRight, false, true); },
        [&](const DocSelection& s) { return new TArrowKeyAction(view, s, TArrowKeyAction::kDown, true, false); },
        [&](const DocSelection& s) { return new THomeKeyAction(view, s, false); },
        [&](const DocSelection& s) { return new TEndKeyAction(view, s, true); },
        [&](const DocSelection& s) { return new TCtrlHomeKeyAction(view, s, false); },
        [&](const DocSelection& s) { return new TCtrlEndKeyAction(view, s, true); },
        [&](const DocSelection& s) { return new TSelectPreviousAction(view, s); },
        [&](const DocSelection& s) { return new TSelectWordAction(view, s); },
        [&](const DocSelection& s) { return new TPreviousFieldAction(view, s); },
        [&](const DocSelection& s) { return new TNextFieldAction(view, s); },
        [&](const DocSelection& s) { return new TLeaveAfterAction(view, s); },
        [&](const DocSelection& s) { return new TLeaveBeforeAction(view, s); },
    };
    for (size_t i = 0; i < makers.size(); ++i) {
        Select(before);
        TAction* action = makers[i](before);
        EXPECT_FALSE(action->ModifiesDocument());
        ASSERT_TRUE(Run(action)) << i;
        const DocSelection after = Now();
        EXPECT_FALSE(after == before) << "command " << i << " moved nothing";
        host.UndoOrRedo();
        EXPECT_EQ(Now(), before) << "undo of command " << i;
        host.UndoOrRedo();
        EXPECT_EQ(Now(), after) << "redo of command " << i;
    }
    EXPECT_FALSE(view.modified);
}

TEST_F(KeyCommandsTest, ACommandShowsItsSelectionThroughTheViewItWasGiven)
{
    EditView other(list);
    other.selection = Caret(2, 2);
    view.selection = Caret(3, 1);
    TArrowKeyAction action(other, other.selection, TArrowKeyAction::kRight, false, false);
    action.Perform();
    EXPECT_EQ(other.selection, Caret(2, 3));
    EXPECT_EQ(view.selection, Caret(3, 1)) << "another view of the document is left alone";
    ASSERT_EQ(other.invalidated.size(), 2u);
    EXPECT_EQ(other.invalidated[0], Caret(2, 2));
    EXPECT_EQ(other.invalidated[1], Caret(2, 3));
    EXPECT_EQ(other.redrawn, 1);
    ASSERT_EQ(other.scrolledTo.size(), 1u);
    EXPECT_EQ(other.scrolledTo[0], Caret(2, 3));
    EXPECT_TRUE(view.invalidated.empty());
}

TEST_F(KeyCommandsTest, SelectPreviousSelectsTheStructureBeforeTheCaret)
{
    Select(Caret(1, 4));
    Run(new TSelectPreviousAction(view, view.selection));
    EXPECT_EQ(Now(), DocSelection(Row(1), 3, 4));
    EXPECT_EQ(Now().MapKey(8, false, false), 2801) << "a second Backspace deletes it";
    Select(Caret(1, 1));
    Run(new TSelectPreviousAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(1, 1)) << "never before the start of the row";
}

TEST_F(KeyCommandsTest, SelectWordTakesTheRunOfLettersAroundTheCaret)
{
    Select(Caret(2, 3));
    Run(new TSelectWordAction(view, view.selection));
    EXPECT_EQ(Now(), DocSelection(Row(2), 1, 6));
    Select(Caret(1, 3));
    Run(new TSelectWordAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(1, 3)) << "a structure is no word";
}

TEST_F(KeyCommandsTest, FieldsAndLeavingAStructure)
{
    Select(Caret(Top(2)));
    Run(new TNextFieldAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(Bottom(1)));
    Run(new TNextFieldAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(1, 4)) << "after the last row: out of the structure";
    Select(Caret(Bottom(1)));
    Run(new TPreviousFieldAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(Top(3)));
    Run(new TPreviousFieldAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(1, 3));
    Select(Caret(Top(2)));
    Run(new TLeaveAfterAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(1, 4));
    Select(Caret(Bottom(2)));
    Run(new TLeaveBeforeAction(view, view.selection));
    EXPECT_EQ(Now(), Caret(1, 3));
}

TEST_F(KeyCommandsTest, CtrlHomeAndCtrlEndGoToTheDocumentsEnds)
{
    Select(Caret(2, 3));
    Run(new TCtrlHomeKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(1, 1));
    Run(new TCtrlEndKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(3, 6));
    // Extending from inside a structure takes the structure whole.
    Select(Caret(Top(2)));
    Run(new TCtrlHomeKeyAction(view, view.selection, true));
    EXPECT_EQ(Now(), DocSelection(Row(1), 1, 4));
    Select(Caret(Top(2)));
    Run(new TCtrlEndKeyAction(view, view.selection, true));
    EXPECT_EQ(Now(), DocSelection(At(1, 3), At(3, 6)));
}

TEST_F(KeyCommandsTest, HomeAndEndInsideAStructureGoToItsRowsEnds)
{
    Select(Caret(Top(2)));
    Run(new THomeKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(Top(1)));
    Run(new TEndKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(Top(3)));
    Run(new THomeKeyAction(view, view.selection, true));
    EXPECT_EQ(Now(), DocSelection(rows->GetChild(1), 1, 3));
}

// A paragraph long enough to break into several lines.
class LongParagraphTest : public EditingTest {
protected:
    LongParagraphTest()
    {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += "word" + std::to_string(i) + " ";
        Add(3, text);
        Add(3, "after");
        LayOut();
        for (int i = 1; i <= Row(1)->GetItems()->GetCount(); ++i)
            if (Layout* item = Row(1)->GetItems()->GetAt(i); item->IsLine())
                lineStarts.push_back(item->GetStartIndex());
    }
    std::vector<int> lineStarts;
};

TEST_F(LongParagraphTest, HomeAndEndFindTheLaidOutLineFromTheLineItems)
{
    ASSERT_GE(lineStarts.size(), 3u);
    const int second = lineStarts[1];
    const int third = lineStarts[2];
    Select(Caret(1, second + 3));
    Run(new THomeKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(1, second)) << "the start of the second line, not of the paragraph";
    Select(Caret(1, second + 3));
    Run(new TEndKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(1, third - 1)) << "before the blank the line breaks at";
    Select(Caret(1, 4));
    Run(new THomeKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(1, 1));
    const int count = Row(1)->GetCount();
    Select(Caret(1, lineStarts.back() + 1));
    Run(new TEndKeyAction(view, view.selection, false));
    EXPECT_EQ(Now(), Caret(1, count + 1)) << "the last line ends at the end of the row";
    // Shift+End extends from the selection's start.
    Select(DocSelection(Row(1), second + 1, second + 3));
    Run(new TEndKeyAction(view, view.selection, true));
    EXPECT_EQ(Now(), DocSelection(Row(1), second + 1, third - 1));
}

TEST_F(LongParagraphTest, UpAndDownStayInTheColumnFromLineToLine)
{
    ASSERT_GE(lineStarts.size(), 3u);
    const int second = lineStarts[1];
    Select(Caret(1, 3));
    DocSelection down = [&] {
        Run(new TArrowKeyAction(view, view.selection, TArrowKeyAction::kDown, false, false));
        return Now();
    }();
    EXPECT_GE(down.GetEnd().GetIndex(), second);
    EXPECT_LT(down.GetEnd().GetIndex(), lineStarts[2]);
    Run(new TArrowKeyAction(view, view.selection, TArrowKeyAction::kUp, false, false));
    EXPECT_EQ(Now(), Caret(1, 3)) << "up comes back to the same place";
    // From the last line the next paragraph follows.
    Select(Caret(1, lineStarts.back() + 1));
    Run(new TArrowKeyAction(view, view.selection, TArrowKeyAction::kDown, false, false));
    EXPECT_EQ(Now().GetEnd().GetParagraphComp(), list.GetAt(2));
}

// A component that refers to a label, as a cross-reference does.
class Reference : public TestFraction, public TargetLink {
public:
    explicit Reference(LinkTarget* label) { Attach(label); }
    void GetTag(TypeTag& out) const override { out = tag_Ref; }
};

TEST_F(KeyCommandsTest, GoToReferenceSelectsTheLabelledParagraph)
{
    ParagraphComp* equation = Add(6, "x=1");
    LayOut();
    ASSERT_NE(equation->GetLabel(), nullptr);
    auto* reference = new Reference(equation->GetLabel());
    Row(2)->Append(reference);
    Select(Caret(2, 2));
    Run(new TGoToReferenceAction(view, view.selection, reference));
    EXPECT_EQ(Now(), DocSelection(Row(4), 1, 4));
    host.UndoOrRedo();
    EXPECT_EQ(Now(), Caret(2, 2));

    auto* dangling = new Reference(nullptr);
    Row(2)->Append(dangling);
    Run(new TGoToReferenceAction(view, view.selection, dangling));
    EXPECT_EQ(Now(), Caret(2, 2)) << "a reference to nowhere leaves the selection";
}

} // namespace
