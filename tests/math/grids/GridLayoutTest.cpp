// Measuring, placing and hit-testing grids at 96 dpi, level 5: size unit 2,
// so the gap between cells is 4, and the axis lies at -1. Every cell in these
// tests is one character run from -8 to 2, ten units per character.
#include "GridTestSupport.h"

using GridLayoutTest = GridTest;

TEST_F(GridLayoutTest, MatrixBoundsAndCellPlacesFollowTheGapsAndBrackets)
{
    MatrixComp matrix(2, 2);
    Fill(matrix, {"a", "bb", "c", "d"});
    matrix.Measure();
    // Columns 10 and 20 wide, each with a gap of 4, a bracket margin of 2 on
    // both sides; rows 10 high with a gap each: 28 high around the axis.
    Rect bounds;
    matrix.GetBounds(bounds);
    EXPECT_EQ(bounds, Rect(0, -1 - 14 - 2, 42, -1 + 14 + 2));
    EXPECT_FALSE(matrix.IsDirty());

    matrix.SetOrigin(IntPoint(100, 50));
    EXPECT_POINT(matrix.GetCell(1, 2)->GetOrigin(), 104, 59);
    EXPECT_POINT(matrix.GetCell(2, 1)->GetOrigin(), 118, 45);
    // "d" is narrower than column 2's "bb" and is centred in it.
    EXPECT_POINT(matrix.GetCell(2, 2)->GetOrigin(), 123, 59);
    Fill(matrix, {"", "", "", "x"});  // column 2 row 2 becomes "dx"
    matrix.Measure();
    matrix.SetOrigin(IntPoint(100, 50));
    EXPECT_POINT(matrix.GetCell(2, 2)->GetOrigin(), 118, 59);
}

TEST_F(GridLayoutTest, TableAddsColumnSpacingAndTopExtra)
{
    TableComp table(2, 2);
    Fill(table, {"a", "b", "c", "d"});
    table.Measure();
    Rect bounds;
    table.GetBounds(bounds);
    // Width 2 x (10 + 4) + 1 spacing + 2 x 2 margin; height 1 + 2 x 4 + 20.
    EXPECT_EQ(bounds, Rect(0, -1 - 14 - 2, 33, -1 + 14 + 2));
    table.SetOrigin(IntPoint(0, 0));
    EXPECT_POINT(table.GetCell(1, 2)->GetOrigin(), 4, -5 + 10 + 4 + 1);
    EXPECT_POINT(table.GetCell(2, 1)->GetOrigin(), 4 + 10 + 1 + 4, -5);
}

TEST_F(GridLayoutTest, EquationSetAndSplitKeepRoomForTheBrace)
{
    int brace = 0;
    {
        gDrawContext.SetFontFamily(3);
        brace = gDrawContext.GetCharWidth('{');
        gDrawContext.SetFontFamily(0);
    }
    ASSERT_GT(brace, 0);
    EquationSetComp set(2);
    Fill(set, {"x", "yy"});
    set.Measure();
    Rect bounds;
    set.GetBounds(bounds);
    EXPECT_EQ(bounds, Rect(0, -1 - 14 - brace, 20 + 4 + 2 * brace, -1 + 14 + brace));
    EXPECT_EQ(set.GetMargin(), brace);

    SplitDefinitionComp split(1);
    Fill(split, {"1", "x"});
    split.Measure();
    split.GetBounds(bounds);
    // Two columns of 10 with their gaps, and 2 x size unit between them.
    EXPECT_EQ(bounds.Width(), 2 * 14 + 4 + 2 * brace);
}

TEST_F(GridLayoutTest, AClickFindsColumnLinesRowLinesAndCells)
{
    MatrixComp matrix(2, 2);
    Fill(matrix, {"a", "b", "c", "d"});
    matrix.Measure();
    matrix.SetOrigin(IntPoint(100, 50));
    // Cells: x 104..114 and 118..128; y 37..47 and 51..61.
    DocPosition position;
    matrix.PositionFromPoint(position, IntPoint(102, 40), false);
    EXPECT_EQ(position, DocPosition(&matrix, 1, true));
    matrix.PositionFromPoint(position, IntPoint(130, 40), false);
    EXPECT_EQ(position, DocPosition(&matrix, 3, true));
    matrix.PositionFromPoint(position, IntPoint(106, 49), false);
    EXPECT_EQ(position, DocPosition(&matrix, 2, false));
    matrix.PositionFromPoint(position, IntPoint(106, 70), false);
    EXPECT_EQ(position, DocPosition(&matrix, 3, false));
    matrix.PositionFromPoint(position, IntPoint(120, 55), false);
    EXPECT_EQ(position.GetKind(), DocPosition::kListPlace);
    EXPECT_EQ(position.GetList(), matrix.GetCell(2, 2));

    // The highlight bands of the lines: the gaps, and a gap-deep band beyond the last.
    EXPECT_EQ(matrix.GetRowLineRect(2), Rect(100, 47, 132, 51));
    EXPECT_EQ(matrix.GetRowLineRect(3), Rect(100, 63, 132, 67));
    EXPECT_EQ(matrix.GetColumnLineRect(2), Rect(114, 33, 118, 65));
    EXPECT_EQ(matrix.GetColumnLineRect(3), Rect(130, 33, 134, 65));
}

TEST_F(GridLayoutTest, TableInsideAPlotShowsAsData)
{
    class TestPlot : public StructComp {
    public:
        TextComp* Clone(LinkRemap&) override { return new TestPlot; }
        void GetTag(TypeTag& out) const override { out = tag_2Plt; }
        bool IsPlot() const override { return true; }
    } plot;
    auto* table = new TableComp(2, 2);
    plot.GetChild(1)->Append(table);
    table->Measure();
    EXPECT_TRUE(table->ShowsAsData());
    Rect bounds;
    table->GetBounds(bounds);
    EXPECT_EQ(bounds.Width(), gDrawContext.GetStringWidth(Str255("-data-")));
    EXPECT_EQ(LaTeX(*table), "-data-");
}
