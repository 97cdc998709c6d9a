// Tab, Enter and Backspace travelling between cells, grid lines, equation
// lines and derivative variables, as the key mapping sends them; and every
// such command undoing to the earlier selection.
#include "StructureEditingFixture.h"

#include "foundation/ArrowKeyActions.h"
#include "foundation/GridLineActions.h"

namespace {

class StructureCommandsTest : public StructureEditingTest {
protected:
    DocSelection Column(int line) const { return Caret(DocPosition(matrix, line, true)); }
    DocSelection RowLine(int line) const { return Caret(DocPosition(matrix, line, false)); }
    DocSelection WholeCell(int column, int row) const { return DocSelection::SelectAll(matrix->GetCell(column, row)); }
    DocSelection SlotCaret(int slot) const { return Caret(DocPosition(static_cast<TextComp*>(partial), slot)); }
    DocSelection Arrow(int key)
    {
        host.Perform(new TArrowKeyAction(view, view.selection, key, false, false));
        return view.selection;
    }
};

TEST_F(StructureCommandsTest, TabWalksTheCellsOfAMatrixRowByRowAndLeavesAfterTheLast)
{
    Select(Caret(Cell(1, 1, 2)));
    EXPECT_EQ(Press(9), 2907);
    EXPECT_EQ(Now(), WholeCell(2, 1));
    Press(9);
    EXPECT_EQ(Now(), WholeCell(1, 2));
    Press(9);
    EXPECT_EQ(Now(), WholeCell(2, 2));
    Press(9);
    EXPECT_EQ(Now(), Caret(1, 6)) << "after the last cell: just after the matrix";
}

TEST_F(StructureCommandsTest, EnterWalksDownTheColumnThenToTheNextColumn)
{
    Select(Caret(Cell(1, 1, 1)));
    EXPECT_EQ(Press(13), 2906);
    EXPECT_EQ(Now(), WholeCell(1, 2));
    Press(13);
    EXPECT_EQ(Now(), WholeCell(2, 1)) << "Enter in the last row of column 1 selects cell (2, 1)";
    Press(13);
    Press(13);
    EXPECT_EQ(Now(), Caret(1, 6));
    // Ctrl+Enter inside the matrix follows the same rule and never splits the paragraph.
    Select(Caret(Cell(1, 1, 2)));
    EXPECT_EQ(Press(10, false, true), 2906);
    EXPECT_EQ(Now(), WholeCell(1, 2));
    EXPECT_EQ(list.GetCount(), 2);
}

TEST_F(StructureCommandsTest, ShiftTabAndShiftEnterGoToTheLinesBesideACell)
{
    Select(Caret(Cell(1, 2, 2)));
    EXPECT_EQ(Press(9, true), 2908);
    EXPECT_EQ(Now(), Column(2));
    Press(9);
    EXPECT_EQ(Now(), Column(3));
    EXPECT_EQ(Press(9), 2902);
    EXPECT_EQ(Now(), Column(3)) << "the last column line keeps the caret";
    EXPECT_EQ(Press(9, false, true), 3004) << "Ctrl+Tab inserts a column there";
    Select(Caret(Cell(2, 1, 1)));
    EXPECT_EQ(Press(13, true), 2909);
    EXPECT_EQ(Now(), RowLine(2));
    Press(13);
    EXPECT_EQ(Now(), RowLine(3));
    EXPECT_EQ(Press(10, false, true), 3005) << "Ctrl+Enter on a row line inserts a row";
}

TEST_F(StructureCommandsTest, ExtendingAlongGridLinesSelectsWholeColumnsThenLeaves)
{
    Select(Column(1));
    Press(9, true);
    EXPECT_EQ(Now(), DocSelection(DocPosition(matrix, 1, true), DocPosition(matrix, 2, true)));
    Press(9, true);
    EXPECT_EQ(Now(), DocSelection(DocPosition(matrix, 1, true), DocPosition(matrix, 3, true)));
    EXPECT_EQ(Press(9, true), 2904) << "the last line reached: the caret leaves";
    EXPECT_EQ(Now(), Caret(1, 6));

    Select(Column(3));
    host.Perform(new TPreviousGridLineAction(view, view.selection, true));
    EXPECT_EQ(Now(), DocSelection(DocPosition(matrix, 2, true), DocPosition(matrix, 3, true)));
    host.Perform(new TPreviousGridLineAction(view, view.selection, true));
    EXPECT_EQ(Now(), DocSelection(DocPosition(matrix, 1, true), DocPosition(matrix, 3, true)));
    host.Perform(new TPreviousGridLineAction(view, view.selection, false));
    EXPECT_EQ(Now(), Column(1)) << "never before line 1";
}

TEST_F(StructureCommandsTest, ArrowsOnGridLines)
{
    Select(Column(1));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight), Column(2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight), Column(3));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight), Caret(1, 6));
    Select(Column(1));
    EXPECT_EQ(Arrow(TArrowKeyAction::kLeft), Caret(1, 5));
    Select(RowLine(2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight), RowLine(2)) << "Right on a row line stays";
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), RowLine(3));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), Caret(1, 6));
    Select(RowLine(1));
    EXPECT_EQ(Arrow(TArrowKeyAction::kUp), Caret(1, 5));
    Select(Column(2));
    EXPECT_EQ(Arrow(TArrowKeyAction::kDown), Caret(1, 6)) << "Down from a column line leaves";
}

TEST_F(StructureCommandsTest, BackspaceOnALineSelectsTheColumnBeforeItOrLeaves)
{
    Select(Column(2));
    EXPECT_EQ(Press(8), 2807);
    EXPECT_EQ(Now(), DocSelection(DocPosition(matrix, 1, true), DocPosition(matrix, 2, true)));
    EXPECT_EQ(Press(8), 2801) << "the second Backspace deletes the column";
    Select(RowLine(1));
    EXPECT_EQ(Press(8), 2905);
    EXPECT_EQ(Now(), Caret(1, 5));
}

TEST_F(StructureCommandsTest, EquationLinesAndSplitRows)
{
    Select(Caret(DocPosition(equations->GetCell(1, 1), 2)));
    EXPECT_EQ(Press(9), 2906);
    EXPECT_EQ(Now(), DocSelection::SelectAll(equations->GetCell(1, 2)));
    Press(13);
    EXPECT_EQ(Now(), Caret(1, 7)) << "after the last line: out of the equation set";
    Select(Caret(DocPosition(split->GetCell(1, 1), 1)));
    Press(9);
    EXPECT_EQ(Now(), DocSelection::SelectAll(split->GetCell(2, 1)));
    Press(9);
    EXPECT_EQ(Now(), DocSelection::SelectAll(split->GetCell(1, 2)));
    Select(Caret(DocPosition(split->GetCell(2, 1), 1)));
    EXPECT_EQ(Press(13, true), 2909);
    EXPECT_EQ(Now(), Caret(DocPosition(split, 2, false)));
    EXPECT_EQ(Press(13), 2902);
    EXPECT_EQ(Now(), Caret(DocPosition(split, 3, false)));
}

TEST_F(StructureCommandsTest, DerivativeVariablesAndSlots)
{
    CompList* first = partial->GetChild(1);
    CompList* second = partial->GetChild(3);
    Select(Caret(DocPosition(first, 2)));
    EXPECT_EQ(Press(9), 1302);
    EXPECT_EQ(Now(), DocSelection::SelectAll(second));
    Press(9);
    EXPECT_EQ(Now(), Caret(1, 9)) << "after the last variable: just after the derivative";

    Select(Caret(DocPosition(first, 2)));
    EXPECT_EQ(Press(9, false, true), 1301);
    EXPECT_EQ(Now(), SlotCaret(2));
    EXPECT_EQ(Press(9), 2902);
    EXPECT_EQ(Now(), SlotCaret(3));
    Press(9);
    EXPECT_EQ(Now(), SlotCaret(3)) << "the last slot keeps the caret";
    EXPECT_EQ(Arrow(TArrowKeyAction::kRight), Caret(1, 9));

    Select(SlotCaret(2));
    EXPECT_EQ(Press(8), 2807);
    EXPECT_EQ(Now(), DocSelection(DocPosition(static_cast<TextComp*>(partial), 1),
                                  DocPosition(static_cast<TextComp*>(partial), 2)));
    EXPECT_EQ(Press(8), 2801);
    Select(SlotCaret(1));
    EXPECT_EQ(Press(8), 2905);
    EXPECT_EQ(Now(), Caret(1, 8));

    Select(SlotCaret(2));
    host.Perform(new TArrowKeyAction(view, view.selection, TArrowKeyAction::kRight, false, true));
    EXPECT_EQ(Now(), Caret(DocPosition(second, 1))) << "Ctrl+Right from a slot enters the variable after it";
    Select(SlotCaret(2));
    host.Perform(new TArrowKeyAction(view, view.selection, TArrowKeyAction::kLeft, false, true));
    EXPECT_EQ(Now(), Caret(DocPosition(first, first->GetCount() + 1)));
}

TEST_F(StructureCommandsTest, StructureCommandsUndoToTheEarlierSelection)
{
    struct Step {
        DocSelection from;
        char key;
        bool shift;
        bool ctrl;
    };
    const std::vector<Step> steps = {
        {Caret(Cell(1, 1, 2)), 9, false, false},   {Caret(Cell(1, 1, 2)), 9, true, false},
        {Caret(Cell(1, 1, 2)), 13, false, false},  {Caret(Cell(1, 1, 2)), 13, true, false},
        {Column(1), 9, true, false},               {Column(2), 8, false, false},
        {Caret(DocPosition(partial->GetChild(1), 2)), 9, false, false},
        {Caret(DocPosition(partial->GetChild(1), 2)), 9, false, true},
        {SlotCaret(1), 9, false, false},           {Caret(DocPosition(fraction->GetChild(1), 1)), 8, false, false},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        Select(steps[i].from);
        Press(steps[i].key, steps[i].shift, steps[i].ctrl);
        const DocSelection after = Now();
        ASSERT_FALSE(after == steps[i].from) << "step " << i << " moved nothing";
        host.UndoOrRedo();
        EXPECT_EQ(Now(), steps[i].from) << "undo of step " << i;
        host.UndoOrRedo();
        EXPECT_EQ(Now(), after) << "redo of step " << i;
    }
}

} // namespace
