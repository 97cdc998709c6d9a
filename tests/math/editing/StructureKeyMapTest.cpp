// The edit codes of Backspace, Tab, Enter and Ctrl+Enter in and on every
// structure: cells, grid lines, equation lines, split rows, derivative
// variables and slots, and the boxed structures.
#include "StructureEditingFixture.h"

namespace {

struct KeyCase {
    const char* what;
    DocSelection selection;
    char key;
    bool shift;
    bool ctrl;
    int code;
};

class StructureKeyMapTest : public StructureEditingTest {
protected:
    void Check(const std::vector<KeyCase>& cases)
    {
        for (const KeyCase& c : cases)
            EXPECT_EQ(c.selection.MapKey(c.key, c.shift, c.ctrl), c.code)
                << c.what << ": key " << int(c.key) << (c.shift ? " shift" : "") << (c.ctrl ? " ctrl" : "");
    }
    DocSelection Line(TextComp* grid, int index, bool column) const
    {
        DocPosition place(grid, index, column);
        return DocSelection(place, place);
    }
    DocSelection Lines(TextComp* grid, int first, int last, bool column) const
    {
        return DocSelection(DocPosition(grid, first, column), DocPosition(grid, last, column));
    }
    DocSelection Slot(int index) const { return Caret(DocPosition(static_cast<TextComp*>(partial), index)); }
    DocSelection Slots(int first, int last) const
    {
        return DocSelection(DocPosition(static_cast<TextComp*>(partial), first),
                            DocPosition(static_cast<TextComp*>(partial), last));
    }
};

TEST_F(StructureKeyMapTest, BoxedStructures)
{
    const DocSelection numeratorStart = Caret(DocPosition(fraction->GetChild(1), 1));
    const DocSelection numeratorEnd = Caret(DocPosition(fraction->GetChild(1), 2));
    const DocSelection radicand = Caret(DocPosition(radical->GetChild(1), 2));
    Check({
        {"start of a numerator", numeratorStart, 8, false, false, 2805},
        {"after a character in a numerator", numeratorEnd, 8, false, false, 2801},
        {"tab in a numerator", numeratorEnd, 9, false, false, 2806},
        {"enter in a numerator", numeratorEnd, 13, false, false, 2806},
        {"ctrl+enter in a numerator", numeratorEnd, 13, false, true, 2806},
        {"line feed in a numerator", numeratorEnd, 10, false, true, 2806},
        {"enter in a radicand", radicand, 13, false, false, 2806},
        {"letter in a radicand", radicand, 'k', false, false, 3001},
        {"after the fraction", Caret(1, 3), 8, false, false, 2807},
        {"a radical selected", DocSelection(Row(1), 4, 5), 8, false, false, 2808},
        {"a fraction selected", DocSelection(Row(1), 2, 3), 8, false, false, 2801},
    });
}

TEST_F(StructureKeyMapTest, MatrixCellsAndLines)
{
    const DocSelection cell = Caret(Cell(1, 2, 2));
    Check({
        {"tab in a cell", cell, 9, false, false, 2907},
        {"shift+tab in a cell", cell, 9, true, false, 2908},
        {"enter in a cell", cell, 13, false, false, 2906},
        {"shift+enter in a cell", cell, 13, true, false, 2909},
        {"ctrl+enter in a cell", cell, 13, false, true, 2906},
        {"line feed in a cell", cell, 10, false, true, 2906},
        {"backspace at a cell's start", Caret(Cell(1, 2, 1)), 8, false, false, 2805},
        {"backspace after a character", cell, 8, false, false, 2801},
        {"letter in a cell", cell, 'k', false, false, 3001},
        {"tab over a range in a cell", DocSelection(matrix->GetCell(1, 2), 1, 2), 9, false, false, 2907},
        {"column line 2, tab", Line(matrix, 2, true), 9, false, false, 2902},
        {"column line 2, ctrl+tab", Line(matrix, 2, true), 9, false, true, 3004},
        {"column line 2, enter", Line(matrix, 2, true), 13, false, false, 2000},
        {"column line 2, backspace", Line(matrix, 2, true), 8, false, false, 2807},
        {"column line 1, backspace", Line(matrix, 1, true), 8, false, false, 2905},
        {"column line, letter", Line(matrix, 2, true), 'k', false, false, 2000},
        {"row line 2, tab", Line(matrix, 2, false), 9, false, false, 2000},
        {"row line 2, enter", Line(matrix, 2, false), 13, false, false, 2902},
        {"row line 2, ctrl+enter", Line(matrix, 2, false), 13, false, true, 3005},
        {"row line 2, line feed", Line(matrix, 2, false), 10, false, true, 3005},
        {"row line 1, backspace", Line(matrix, 1, false), 8, false, false, 2905},
        {"columns 1..2 selected, tab", Lines(matrix, 1, 2, true), 9, false, false, 2902},
        {"columns up to the last line, tab", Lines(matrix, 2, 3, true), 9, false, false, 2904},
        {"columns selected, ctrl+tab", Lines(matrix, 1, 2, true), 9, false, true, 3004},
        {"columns selected, enter", Lines(matrix, 1, 2, true), 13, false, false, 2000},
        {"columns selected, backspace", Lines(matrix, 1, 2, true), 8, false, false, 2801},
        {"rows selected, tab", Lines(matrix, 1, 2, false), 9, false, false, 2000},
        {"rows selected, enter", Lines(matrix, 1, 2, false), 13, false, false, 2902},
        {"rows up to the last line, enter", Lines(matrix, 1, 3, false), 13, false, false, 2904},
        {"rows selected, ctrl+enter", Lines(matrix, 1, 2, false), 13, false, true, 3005},
        {"rows selected, line feed", Lines(matrix, 1, 2, false), 10, false, true, 3005},
        {"rows selected, letter", Lines(matrix, 1, 2, false), 'k', false, false, 2000},
    });
}

TEST_F(StructureKeyMapTest, EquationSetsAndSplitDefinitions)
{
    const DocSelection line = Caret(DocPosition(equations->GetCell(1, 1), 2));
    const DocSelection splitCell = Caret(DocPosition(split->GetCell(2, 1), 2));
    Check({
        {"tab in an equation line", line, 9, false, false, 2906},
        {"enter in an equation line", line, 13, false, false, 2906},
        {"shift+enter in an equation line", line, 13, true, false, 2909},
        {"ctrl+enter in an equation line", line, 13, false, true, 2906},
        {"line feed in an equation line", line, 10, false, true, 2906},
        {"equation row line, tab", Line(equations, 2, false), 9, false, false, 2000},
        {"equation row line, enter", Line(equations, 2, false), 13, false, false, 2902},
        {"equation row line, ctrl+enter", Line(equations, 2, false), 13, false, true, 3005},
        {"equation row line 1, backspace", Line(equations, 1, false), 8, false, false, 2905},
        {"tab in a split cell", splitCell, 9, false, false, 2907},
        {"enter in a split cell", splitCell, 13, false, false, 2906},
        {"shift+enter in a split cell", splitCell, 13, true, false, 2909},
        {"split row line, tab", Line(split, 2, false), 9, false, false, 2000},
        {"split row line, ctrl+enter", Line(split, 2, false), 13, false, true, 3005},
    });
}

TEST_F(StructureKeyMapTest, DerivativeVariablesAndSlots)
{
    const DocSelection inside = Caret(DocPosition(partial->GetChild(1), 2));
    const DocSelection operand = Caret(DocPosition(partial->GetChild(5), 2));
    Check({
        {"slot 1, backspace", Slot(1), 8, false, false, 2905},
        {"slot 2, backspace", Slot(2), 8, false, false, 2807},
        {"slot 2, tab", Slot(2), 9, false, false, 2902},
        {"slot 2, ctrl+tab", Slot(2), 9, false, true, 3006},
        {"slot, enter (the boxed rule)", Slot(2), 13, false, false, 2806},
        {"slot, letter", Slot(2), 'k', false, false, 2000},
        {"inside a variable, tab", inside, 9, false, false, 1302},
        {"inside a variable, ctrl+tab", inside, 9, false, true, 1301},
        {"inside a variable, enter", inside, 13, false, false, 2806},
        {"inside a variable, backspace", inside, 8, false, false, 2801},
        {"in the operand, tab", operand, 9, false, false, 2806},
        {"slots selected, tab", Slots(1, 2), 9, false, false, 2902},
        {"slots to the last, tab", Slots(2, 3), 9, false, false, 2904},
        {"slots selected, ctrl+tab", Slots(1, 2), 9, false, true, 3006},
        {"slots selected, backspace", Slots(1, 2), 8, false, false, 2801},
        {"slots selected, enter", Slots(1, 2), 13, false, false, 2000},
    });
}

} // namespace
