// Numbering, caret moves, row and column insertion and removal, equality and
// the key and command rules of the grids.
#include "GridTestSupport.h"

#include <memory>

using GridEditTest = GridTest;

TEST_F(GridEditTest, ChildrenAreNumberedRowByRow)
{
    MatrixComp grid(3, 2);
    EXPECT_EQ(grid.GetChild(4), grid.GetCell(1, 2));
    EXPECT_EQ(grid.GetChild(7), nullptr);
    EXPECT_EQ(grid.IndexOfChild(grid.GetCell(2, 2)), 5);
    CompList stranger;
    int c = 0;
    int r = 0;
    EXPECT_FALSE(grid.LocateCell(&stranger, c, r));
    EXPECT_EQ(grid.GetListRight(&stranger), nullptr);

    // The caret moves between cells row by row and stops at the edges.
    EXPECT_EQ(grid.GetListRight(nullptr), grid.GetCell(1, 1));
    EXPECT_EQ(grid.GetListLeft(nullptr), grid.GetCell(3, 2));
    EXPECT_EQ(grid.GetListRight(grid.GetCell(3, 1)), grid.GetCell(1, 2));
    EXPECT_EQ(grid.GetListRight(grid.GetCell(3, 2)), nullptr);
    EXPECT_EQ(grid.GetListLeft(grid.GetCell(1, 2)), grid.GetCell(3, 1));
    EXPECT_EQ(grid.GetListUp(grid.GetCell(2, 1)), nullptr);
    EXPECT_EQ(grid.GetListDown(grid.GetCell(2, 1)), grid.GetCell(2, 2));
    EXPECT_EQ(grid.GetListDown(grid.GetCell(2, 2)), nullptr);
}

TEST_F(GridEditTest, InsertingClampsToTheGridAndAppendsAtTheEnd)
{
    MatrixComp grid(2, 2);
    Fill(grid, {"a", "b", "c", "d"});
    grid.InsertRow(3);
    EXPECT_EQ(Text(*grid.GetCell(1, 2)), "c");
    EXPECT_EQ(grid.GetCell(1, 3)->GetCount(), 0);
    grid.InsertColumn(3);
    EXPECT_EQ(grid.GetColumn(3)->GetCount(), 3);
    grid.InsertColumn(-4);  // before the first column
    EXPECT_EQ(Text(*grid.GetCell(2, 1)), "a");
    grid.InsertRow(99);
    EXPECT_EQ(grid.GetRowCount(), 4);
    EXPECT_EQ(grid.GetChildCount(), 16);
    EXPECT_TRUE(grid.IsDirty());
}

TEST_F(GridEditTest, RemovingEveryRowOrColumnLeavesAnEmptyButUsableGrid)
{
    MatrixComp grid(2, 3);
    std::unique_ptr<GridComp> rows(grid.RemoveRows(1, 3));
    EXPECT_TRUE(grid.IsEmptyGrid());
    EXPECT_EQ(rows->GetChildCount(), 6);
    // Nothing indexes into the missing cells.
    EXPECT_EQ(grid.GetListRight(nullptr), nullptr);
    EXPECT_EQ(grid.GetListLeft(nullptr), nullptr);
    EXPECT_EQ(grid.GetChild(1), nullptr);
    grid.Measure();
    grid.SetOrigin(IntPoint(0, 0));
    DocPosition position;
    grid.PositionFromPoint(position, IntPoint(1, 1), false);
    EXPECT_EQ(position.GetKind(), DocPosition::kNone);
    EXPECT_EQ(LinearText(grid), "[]");
    // Inserting into it gives a one-cell grid again.
    grid.InsertRow(5);
    EXPECT_NE(grid.GetCell(1, 1), nullptr);

    TableComp table(3, 2);
    std::unique_ptr<GridComp> columns(table.RemoveColumns(0, 10));
    EXPECT_EQ(table.GetChildCount(), 0);
    EXPECT_EQ(columns->GetCell(3, 2)->GetOwner(), columns.get());
    table.InsertColumn(1);
    EXPECT_EQ(table.GetChildCount(), 1);
    EXPECT_EQ(table.RemoveRows(3, 2), nullptr);
}

TEST_F(GridEditTest, RemovedRowsAndColumnsGoBackInPlace)
{
    MatrixComp grid(3, 3);
    Fill(grid, {"a", "b", "c", "d", "e", "f", "g", "h", "i"});
    LinkRemap remap;
    std::unique_ptr<TextComp> original(grid.Clone(remap));

    GridComp* rows = grid.RemoveRows(2, 3);
    EXPECT_EQ(grid.GetChildCount(), 3);
    grid.InsertRowsFrom(rows, 2);
    EXPECT_TRUE(grid.IsEqual(*original));

    GridComp* columns = grid.RemoveColumns(1, 2);
    EXPECT_EQ(Text(*grid.GetCell(1, 1)), "c");
    grid.InsertColumnsFrom(columns, 1);
    EXPECT_TRUE(grid.IsEqual(*original));
    EXPECT_EQ(grid.GetCell(1, 1)->GetOwner(), &grid);

    std::unique_ptr<GridComp> copy(grid.CopyColumns(2, 2, remap));
    EXPECT_EQ(Text(*copy->GetCell(1, 3)), "h");
    EXPECT_NE(copy->GetCell(1, 3), grid.GetCell(2, 3));

    // Rows of another width are refused and the grid keeps its cells.
    EXPECT_THROW(grid.InsertRowsFrom(new MatrixComp(2, 1), 1), CException);
    EXPECT_TRUE(grid.IsEqual(*original));
}

TEST_F(GridEditTest, EqualityComparesTheShape)
{
    MatrixComp wide(3, 2), tall(2, 3), same(3, 2);
    EXPECT_FALSE(wide.IsEqual(tall));
    EXPECT_TRUE(wide.IsEqual(same));
    Fill(same, {"", "", "", "x"});
    EXPECT_FALSE(wide.IsEqual(same));
    EXPECT_FALSE(wide.IsEqual(TableComp(3, 2)));
}

TEST_F(GridEditTest, KeysInCellsAndOnGridLines)
{
    MatrixComp grid(2, 2);
    EquationSetComp set(2);
    SplitDefinitionComp split(2);
    DocPosition cell(grid.GetCell(1, 1), 1), column(&grid, 2, true), row(&grid, 1, false);
    DocPosition line(set.GetCell(1, 1), 1), setRow(&set, 3, false), condition(split.GetCell(2, 1), 1);
    struct Case {
        GridComp* grid;
        DocPosition* at;
        int key;
        bool shift, control;
        int command;
    } cases[] = {
        {&grid, &cell, 9, false, false, 2907},   {&grid, &cell, 9, true, false, 2908},
        {&grid, &cell, 13, false, false, 2906},  {&grid, &cell, 13, true, false, 2909},
        {&grid, &cell, 8, false, false, 2805},   {&grid, &column, 9, false, true, 3004},
        {&grid, &column, 9, false, false, 2902}, {&grid, &column, 13, false, true, 2000},
        {&grid, &row, 9, false, false, 2000},    {&grid, &row, 13, false, true, 3005},
        {&grid, &row, 10, false, true, 3005},    {&set, &setRow, 10, false, true, 3005},
        {&grid, &row, 8, false, false, 2905},    {&grid, &column, 8, false, false, 2807},
        {&set, &line, 9, false, false, 2906},    {&set, &setRow, 9, false, false, 2000},
        {&set, &setRow, 13, false, true, 3005},  {&split, &condition, 9, false, false, 2907},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.grid->MapKey(*c.at, c.key, c.shift, c.control), c.command) << c.key << " to " << c.command;

    EXPECT_TRUE(grid.IsCommandEnabledAt(3004, column));
    EXPECT_FALSE(grid.IsCommandEnabledAt(3005, column));
    EXPECT_TRUE(grid.IsCommandEnabledAt(3005, row));
    EXPECT_FALSE(grid.IsCommandEnabledAt(3004, cell));
    EXPECT_TRUE(set.IsCommandEnabledAt(3005, line));
    EXPECT_FALSE(set.IsCommandEnabledAt(3004, DocPosition(&set, 1, true)));
}

TEST_F(GridEditTest, InsertRowFromACaretInsideACellGoesAfterItsRow)
{
    EquationSetComp set(3);
    Fill(set, {"a", "b", "c"});
    EXPECT_EQ(set.RowInsertPlace(DocPosition(set.GetCell(1, 2), 2)), 3);
    EXPECT_EQ(set.RowInsertPlace(DocPosition(&set, 40, false)), 4);
    EXPECT_EQ(set.RowInsertPlace(DocPosition()), 4);

    MatrixComp grid(2, 2);
    EXPECT_EQ(grid.ColumnInsertPlace(DocPosition(grid.GetCell(1, 2), 1)), 2);
    EXPECT_EQ(grid.ColumnInsertPlace(DocPosition(&grid, 1, true)), 1);
}
