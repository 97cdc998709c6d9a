// Walking the caret through a paragraph holding every structure: plain
// arrows pass over structures, Ctrl+arrows visit every row inside them and
// come back the same way, Up and Down move between rows of one structure.
#include "StructureEditingFixture.h"

#include "foundation/ArrowKeyActions.h"

#include <set>

namespace {

class StructureCaretWalkTest : public StructureEditingTest {
protected:
    DocSelection Arrow(int key, bool shift = false, bool ctrl = false)
    {
        host.Perform(new TArrowKeyAction(view, view.selection, key, shift, ctrl));
        return view.selection;
    }
    // Carets from the start of the first paragraph to the start of the second.
    std::vector<DocPosition> Walk(bool ctrl)
    {
        std::vector<DocPosition> places = {At(1, 1)};
        Select(Caret(1, 1));
        while (places.back() != At(2, 1) && places.size() < 200)
            places.push_back(Arrow(TArrowKeyAction::kRight, false, ctrl).GetEnd());
        return places;
    }
    std::vector<TextComp*> Structures() const
    {
        return {fraction, exponent, radical, matrix, equations, split, partial};
    }
};

TEST_F(StructureCaretWalkTest, RightPassesEveryStructureWholeAndLeftComesBack)
{
    const std::vector<DocPosition> places = Walk(false);
    ASSERT_EQ(places.size(), size_t(Row(1)->GetCount() + 2));
    for (int i = 1; i <= Row(1)->GetCount() + 1; ++i)
        EXPECT_EQ(places[size_t(i - 1)], At(1, i));
    for (size_t i = places.size() - 1; i-- > 0;)
        EXPECT_EQ(Arrow(TArrowKeyAction::kLeft), Caret(places[i])) << i;
}

TEST_F(StructureCaretWalkTest, CtrlRightVisitsEveryRowOfEveryStructureAndCtrlLeftRetracesIt)
{
    const std::vector<DocPosition> places = Walk(true);
    ASSERT_EQ(places.back(), At(2, 1)) << "the walk ends in the next paragraph";
    std::set<const CompList*> visited;
    for (const DocPosition& place : places)
        visited.insert(place.GetList());
    for (TextComp* comp : Structures()) {
        TypeTag tag = comp->Tag();
        char name[5];
        tag.ToChars(name);
        for (int i = 1; i <= comp->GetChildCount(); ++i) {
            CompList* row = comp->GetChild(i);
            if (row) {
                EXPECT_TRUE(visited.count(row)) << name << " row " << i;
            }
        }
    }
    std::set<std::string> distinct;
    for (const DocPosition& place : places)
        EXPECT_TRUE(distinct.insert(Describe(place)).second) << "visited twice: " << Describe(place);
    // Ctrl+Left goes back through the same places in reverse.
    for (size_t i = places.size() - 1; i-- > 0;)
        EXPECT_EQ(Arrow(TArrowKeyAction::kLeft, false, true), Caret(places[i])) << i;
}

TEST_F(StructureCaretWalkTest, CtrlArrowsEnterAFractionFromEitherSide)
{
    Select(Caret(1, 2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight), Caret(1, 3)) << "Right passes the fraction";
    Select(Caret(1, 2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight, false, true), Caret(DocPosition(fraction->GetChild(1), 1)));
    Select(Caret(1, 3));
    CompList* entered = fraction->GetListLeft(nullptr);
    EXPECT_EQ(Arrow(TArrowKeyAction::kLeft, false, true), Caret(DocPosition(entered, entered->GetCount() + 1)));
}

TEST_F(StructureCaretWalkTest, UpAndDownMoveBetweenTheRowsOfAStructure)
{
    Select(Caret(Cell(1, 2, 2)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kUp), Caret(Cell(1, 1, 2)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kUp), Caret(1, 5)) << "above the first row: before the matrix";
    Select(Caret(Cell(2, 1, 1)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), Caret(Cell(2, 2, 1)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), Caret(1, 6)) << "below the last row: after the matrix";
    Select(Caret(DocPosition(fraction->GetChild(1), 1)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), Caret(DocPosition(fraction->GetChild(2), 1)));
    // Down from the top row of the first paragraph reaches the next paragraph.
    Select(Caret(1, 1));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown).GetEnd().GetParagraphComp(), list.GetAt(2));
}

TEST_F(StructureCaretWalkTest, ShiftArrowsFromInsideWidenToTheWholeStructure)
{
    Select(Caret(Cell(1, 1, 2)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight, true), DocSelection(Cell(1, 1, 2), Cell(2, 1, 1)))
        << "two cells of one row: that row whole";
    EXPECT_EQ(Now().GetKind(), DocPosition::kGridLine);
    Select(Caret(DocPosition(fraction->GetChild(1), 2)));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown, true), DocSelection(Row(1), 2, 3)) << "numerator to denominator: the fraction";
}

} // namespace
