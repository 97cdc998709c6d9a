// Whole rows and columns of a grid selected by their lines: how two ends
// become lines, copying, deleting and inserting them back, and the insert
// actions with undo and redo.
#include "foundation/actions/ActionFixture.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/TInsertItemAction.h"
#include "math/EquationSetComp.h"
#include "math/GridAndObjectComponents.h"
#include "math/MatrixComp.h"

namespace {

// The ActionTest document with a fourth paragraph "p" [3 x 3 matrix a..i] "q".
class GridSelectionTest : public ActionTest {
protected:
    GridSelectionTest()
    {
        RegisterGridAndObjectComponents();
        auto row = Chars("p");
        matrix = new MatrixComp(3, 3);
        Fill(*matrix, "abcdefghi");
        row->Append(matrix);
        row->Append(fonts.GetFace(0)->GetCharacter('q'));
        list.Append(new ParagraphComp(std::move(row), 3));
    }

    void Fill(GridComp& grid, const std::string& letters)
    {
        for (size_t i = 0; i < letters.size(); ++i)
            grid.GetChild(static_cast<int>(i) + 1)->Append(
                fonts.GetFace(0)->GetCharacter(static_cast<unsigned char>(letters[i])));
    }
    // The cells' texts row by row, rows separated by "/".
    static std::string Cells(const GridComp& grid)
    {
        std::string text;
        for (int r = 1; r <= grid.GetRowCount(); ++r) {
            text += r > 1 ? "/" : "";
            for (int c = 1; c <= grid.GetColumnCount(); ++c)
                text += Text(*grid.GetCell(c, r));
        }
        return text;
    }
    static GridComp* GridOf(const DocSelection& fragment) { return dynamic_cast<GridComp*>(fragment.GetStart().GetObject()); }
    DocPosition RowLine(int r) const { return DocPosition(matrix, r, false); }
    DocPosition ColumnLine(int c) const { return DocPosition(matrix, c, true); }
    DocPosition InCell(GridComp* grid, int c, int r) const { return DocPosition(grid->GetCell(c, r), 1); }

    MatrixComp* matrix;
};

TEST_F(GridSelectionTest, EndsInCellsBecomeWholeRowsOrColumns)
{
    DocSelection rows(InCell(matrix, 3, 1), InCell(matrix, 1, 2));
    EXPECT_EQ(rows.GetKind(), DocPosition::kGridLine);
    EXPECT_EQ(rows.GetStart().GetCursor(), IDC_SIZEWE);
    EXPECT_EQ(rows.GetStart(), RowLine(1));
    EXPECT_EQ(rows.GetEnd(), RowLine(3));

    DocSelection column(InCell(matrix, 2, 3), InCell(matrix, 2, 1));
    EXPECT_EQ(column.GetStart(), ColumnLine(2));
    EXPECT_EQ(column.GetEnd(), ColumnLine(3));

    // An end nested in a fraction inside a cell counts by that cell.
    auto* fraction = new TestFraction(Chars("x"), Chars("y"));
    matrix->GetCell(3, 3)->Append(fraction);
    DocSelection nested(InCell(matrix, 1, 2), DocPosition(fraction->GetChild(2), 1));
    EXPECT_EQ(nested.GetStart(), RowLine(2));
    EXPECT_EQ(nested.GetEnd(), RowLine(4));

    // Two cells of an equation set's one column are its rows.
    auto* equations = new EquationSetComp(3);
    list.GetAt(2)->GetRow()->Append(equations);
    DocSelection equationRows(InCell(equations, 1, 3), InCell(equations, 1, 2));
    EXPECT_EQ(equationRows.GetStart(), DocPosition(equations, 2, false));
    EXPECT_EQ(equationRows.GetEnd(), DocPosition(equations, 4, false));
}

TEST_F(GridSelectionTest, RowsAndColumnsCopyDeleteAndInsertBackToTheSameBytes)
{
    struct Case {
        const char* name;
        bool columns;
        const char* copied;
        const char* remaining;
    };
    const Case cases[] = {
        {"rows 1 and 2", false, "abc/def", "ghi"},
        {"columns 1 and 2", true, "ab/de/gh", "c/f/i"},
    };
    const auto original = Bytes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DocSelection lines(DocPosition(matrix, 1, c.columns), DocPosition(matrix, 3, c.columns));

        DocSelection copy = lines.MakeCopyRecord();
        ASSERT_NE(GridOf(copy), nullptr);
        EXPECT_NE(GridOf(copy), matrix);
        EXPECT_EQ(Cells(*GridOf(copy)), c.copied);
        copy.DestroyWithParagraph();
        EXPECT_EQ(Bytes(), original);

        DocSelection removed = lines;
        DocPosition at = removed.MakeDeleteRecord();
        EXPECT_EQ(at, DocPosition(matrix, 1, c.columns));
        EXPECT_EQ(Cells(*matrix), c.remaining);

        ASSERT_TRUE(removed.CanInsertAt(at));
        DocSelection inserted = removed.InsertAt(at);
        EXPECT_EQ(inserted.GetStart(), DocPosition(matrix, 1, c.columns));
        EXPECT_EQ(inserted.GetEnd(), DocPosition(matrix, 3, c.columns));
        EXPECT_EQ(Bytes(), original);
    }
}

TEST_F(GridSelectionTest, DeletingEveryRowOrColumnIsRefused)
{
    const auto original = Bytes();
    for (bool columns : {false, true}) {
        DocSelection all(DocPosition(matrix, 1, columns), DocPosition(matrix, 4, columns));
        EXPECT_EQ(all.MakeDeleteRecord().GetKind(), DocPosition::kNone);
        EXPECT_EQ(Bytes(), original);
        EXPECT_EQ(matrix->GetCellCount(), 9);
    }
}

TEST_F(GridSelectionTest, FragmentsFitOnlyLinesOfTheirShape)
{
    DocSelection oneRow = DocSelection(RowLine(3), RowLine(4)).MakeCopyRecord(); // 3 x 1
    EXPECT_TRUE(oneRow.CanInsertAt(RowLine(4)));
    EXPECT_FALSE(oneRow.CanInsertAt(ColumnLine(1)));

    // Copied rows fit a grid of another kind; a whole grid only its own kind.
    auto* equations = new EquationSetComp(3);
    list.GetAt(2)->GetRow()->Append(equations);
    DocSelection equationRow = DocSelection(DocPosition(equations, 1, false), DocPosition(equations, 2, false)).MakeCopyRecord();
    EXPECT_FALSE(equationRow.CanInsertAt(ColumnLine(4))); // one row against three
    auto* column = new MatrixComp(1, 3);
    list.GetAt(2)->GetRow()->Append(column);
    DocSelection matrixColumn = DocSelection(DocPosition(column, 1, true), DocPosition(column, 2, true)).MakeCopyRecord();
    EXPECT_TRUE(matrixColumn.CanInsertAt(DocPosition(equations, 1, true)));
    DocSelection wholeColumn = DocSelection(column).MakeCopyRecord();
    EXPECT_TRUE(wholeColumn.CanInsertAt(ColumnLine(1)));
    EXPECT_FALSE(wholeColumn.CanInsertAt(DocPosition(equations, 1, true)));
    wholeColumn.DestroyWithParagraph();
    equationRow.DestroyWithParagraph();
    matrixColumn.DestroyWithParagraph();

    DocSelection pasted = oneRow.InsertAt(RowLine(4));
    EXPECT_EQ(Cells(*matrix), "abc/def/ghi/ghi");
    EXPECT_EQ(pasted.GetEnd(), RowLine(5));
}

TEST_F(GridSelectionTest, AFontGoesToTheSelectedColumnsCellsOnly)
{
    DocSelection(ColumnLine(2), ColumnLine(3)).SetFont(1);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(matrix->GetCell(1, r)->GetAt(1)->GetFontId(), 0);
        EXPECT_EQ(matrix->GetCell(2, r)->GetAt(1)->GetFontId(), 1);
        EXPECT_EQ(matrix->GetCell(3, r)->GetAt(1)->GetFontId(), 0);
    }
}

TEST_F(GridSelectionTest, InsertRowAndColumnActionsUndoAndRedo)
{
    auto checkBothWays = [&](TAction* action, const std::function<void()>& checkDone) {
        const auto before = Bytes();
        ASSERT_TRUE(Run(action));
        checkDone();
        const auto after = Bytes();
        EXPECT_NE(after, before);
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), before);
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), after);
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), before);
    };
    // The caret inside a fraction in cell (2, 2): the row goes below row 2.
    auto* fraction = new TestFraction(Chars("x"), Chars("y"));
    matrix->GetCell(2, 2)->Append(fraction);
    DocPosition nested(fraction->GetChild(1), 1);
    checkBothWays(new TInsertRowAction(DocSelection(nested, nested)), [&] {
        EXPECT_EQ(Cells(*matrix), "abc/de[Frac]f//ghi");
        EXPECT_EQ(view.selection.GetEnd(), RowLine(4));
    });
    checkBothWays(new TInsertColumnAction(DocSelection(ColumnLine(1), ColumnLine(1))), [&] {
        EXPECT_EQ(matrix->GetColumnCount(), 4);
        EXPECT_EQ(matrix->GetCell(1, 2)->GetCount(), 0);
        EXPECT_EQ(Text(*matrix->GetCell(2, 2)), "d");
        EXPECT_EQ(view.selection.GetEnd(), ColumnLine(2));
    });

    // Every selection that offers Insert Row or Insert Column keeps every
    // entry: the empty row or column goes in before the selected ones, and
    // the grid is laid out anew. Empty cells show as "_".
    delete matrix->GetCell(2, 2)->RemoveAt(2);
    const auto shown = [&] {
        std::string text;
        for (int r = 1; r <= matrix->GetRowCount(); ++r)
            for (int c = 1; c <= matrix->GetColumnCount(); ++c)
                text += (c == 1 && r > 1 ? "/" : "") +
                    (matrix->GetCell(c, r)->GetCount() ? Text(*matrix->GetCell(c, r)) : "_");
        return text;
    };
    const std::pair<DocSelection, const char*> cases[] = {
        {DocSelection(RowLine(2), RowLine(3)), "abc/___/def/ghi"},
        {DocSelection(RowLine(2), RowLine(4)), "abc/___/def/ghi"},
        {DocSelection(RowLine(1), RowLine(4)), "___/abc/def/ghi"},
        {DocSelection(RowLine(4), RowLine(4)), "abc/def/ghi/___"},
        {DocSelection(InCell(matrix, 3, 1), InCell(matrix, 3, 3)), "ab_c/de_f/gh_i"},
        {DocSelection(ColumnLine(1), ColumnLine(3)), "_abc/_def/_ghi"},
        {DocSelection(ColumnLine(4), ColumnLine(4)), "abc_/def_/ghi_"},
    };
    for (const auto& [selection, expected] : cases) {
        SCOPED_TRACE(expected);
        const char* cells = expected;
        const bool column = GridComp::LineCodeOf(selection.GetStart()) == GridComp::kOnColumnLine;
        matrix->Measure();
        checkBothWays(
            column ? static_cast<TAction*>(new TInsertColumnAction(selection)) : new TInsertRowAction(selection), [&] {
                EXPECT_EQ(shown(), cells);
                EXPECT_TRUE(matrix->IsDirty());
            });
        EXPECT_EQ(shown(), "abc/def/ghi");
    }
}

} // namespace
