// Measuring, placing and hit-testing grids at 96 dpi, level 5: size unit 2,
// so the gap between cells is 4, and the axis lies at -1. Every cell in these
// tests is one character run from -8 to 2, ten units per character.
#include "GridTestSupport.h"

#include "foundation/DocPosition.h"
#include "math/EquationSetComp.h"
#include "math/GridBraces.h"
#include "math/MatrixComp.h"
#include "math/SplitDefinitionComp.h"
#include "math/TableComp.h"

namespace {

// Stands for an absolute value around its one row.
class TestAbs : public StructComp {
public:
    TestAbs() = default;
    TextComp* Clone(LinkRemap&) override { return new TestAbs; }
    void GetTag(TypeTag& out) const override { out = tag_AbsV; }
};

} // namespace

using GridLayoutTest = GridTest;

TEST_F(GridLayoutTest, MatrixBoundsAndCellPlacesFollowTheGapsAndBrackets)
{
    MatrixComp matrix(2, 2);
    Fill(matrix, {"a", "bb", "c", "d"});
    matrix.Measure();
    // Columns 10 and 20 wide, each with a gap of 4, a bracket margin of 2 on
    // both sides; rows 10 high with a gap each: 28 high around the axis.
    EXPECT_EQ(matrix.GetColumn(1)->GetWidth(), 10);
    EXPECT_EQ(matrix.GetColumn(2)->GetWidth(), 20);
    Rect bounds;
    matrix.GetBounds(bounds);
    EXPECT_EQ(bounds, Rect(0, -1 - 14 - 2, 42, -1 + 14 + 2));
    EXPECT_FALSE(matrix.IsDirty());

    matrix.SetOrigin(IntPoint(100, 50));
    EXPECT_POINT(matrix.GetCell(1, 1)->GetOrigin(), 104, 45);
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
    EXPECT_POINT(table.GetCell(1, 1)->GetOrigin(), 4, -5);
    EXPECT_POINT(table.GetCell(1, 2)->GetOrigin(), 4, -5 + 10 + 4 + 1);
    EXPECT_POINT(table.GetCell(2, 1)->GetOrigin(), 4 + 10 + 1 + 4, -5);
}

TEST_F(GridLayoutTest, DeterminantDropsTheBracketMargin)
{
    TestAbs abs;
    auto* matrix = new MatrixComp(1, 1);
    abs.GetChild(1)->Append(matrix);
    Fill(*matrix, {"a"});
    matrix->Measure();
    EXPECT_FALSE(matrix->HasBrackets());
    Rect bounds;
    matrix->GetBounds(bounds);
    EXPECT_EQ(bounds, Rect(0, -1 - 7, 14, -1 + 7));

    abs.GetChild(1)->Append(fonts.GetFace(0)->GetCharacter('b'));
    matrix->Measure();
    EXPECT_TRUE(matrix->HasBrackets());
    matrix->GetBounds(bounds);
    EXPECT_EQ(bounds.Width(), 18);
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
    matrix.PositionFromPoint(position, IntPoint(116, 40), false);
    EXPECT_EQ(position, DocPosition(&matrix, 2, true));
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
    EXPECT_EQ(matrix.GetRowLineRect(1), Rect(100, 33, 132, 37));
    EXPECT_EQ(matrix.GetRowLineRect(2), Rect(100, 47, 132, 51));
    EXPECT_EQ(matrix.GetRowLineRect(3), Rect(100, 63, 132, 67));
    EXPECT_EQ(matrix.GetColumnLineRect(2), Rect(114, 33, 118, 65));
    EXPECT_EQ(matrix.GetColumnLineRect(3), Rect(130, 33, 134, 65));
}

TEST_F(GridLayoutTest, EquationSetHitsGiveRowLinesOnly)
{
    EquationSetComp set(2);
    Fill(set, {"x", "y"});
    set.Measure();
    set.SetOrigin(IntPoint(0, 0));
    Rect bounds;
    set.GetAbsBounds(bounds);
    DocPosition position;
    set.PositionFromPoint(position, IntPoint(bounds.left, bounds.bottom + 5), false);
    EXPECT_EQ(position, DocPosition(&set, 3, false));
    set.PositionFromPoint(position, IntPoint(bounds.left + 1, bounds.top), false);
    EXPECT_EQ(position, DocPosition(&set, 1, false));
    // Far to the left of the cells, but inside row 2: still the cell.
    CompList* second = set.GetCell(1, 2);
    set.PositionFromPoint(position, IntPoint(bounds.left, second->GetOrigin().y), false);
    EXPECT_EQ(position.GetList(), second);

    SplitDefinitionComp split(1);
    Fill(split, {"1", "x"});
    split.Measure();
    split.SetOrigin(IntPoint(0, 0));
    CompList* condition = split.GetCell(2, 1);
    split.PositionFromPoint(position, IntPoint(1000, condition->GetOrigin().y), false);
    EXPECT_EQ(position.GetList(), condition);
    split.PositionFromPoint(position, IntPoint(0, condition->GetOrigin().y), false);
    EXPECT_EQ(position.GetList(), split.GetCell(1, 1));
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
    table->SetOrigin(IntPoint(0, 0));
    DocPosition position;
    table->PositionFromPoint(position, IntPoint(bounds.right - 1, 0), true);
    EXPECT_EQ(position, DocPosition(plot.GetChild(1), 2));
}

TEST_F(GridLayoutTest, DrawingRecordsBracketsBracesAndRules)
{
    // Drawing every grid into a picture must not fail, and draws something.
    gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 200, 100));
    HENHMETAFILE empty = gDrawContext.EndMetafile();
    ASSERT_NE(empty, nullptr);
    const auto emptySize = empty->Bytes().size();
    DrawContext::DeleteMetafile(empty);
    MatrixComp matrix(2, 2);
    EquationSetComp set(3);
    TableComp table(2, 3);
    for (GridComp* grid : std::vector<GridComp*>{&matrix, &set, &table}) {
        grid->Measure();
        grid->SetOrigin(IntPoint(10, 40));
        gDrawContext.BeginMetafile(nullptr, Rect(0, 0, 200, 100));
        grid->Draw();
        HENHMETAFILE picture = gDrawContext.EndMetafile();
        ASSERT_NE(picture, nullptr);
        EXPECT_TRUE(picture->IsValid());
        EXPECT_GT(picture->Bytes().size(), emptySize);
        DrawContext::DeleteMetafile(picture);
    }
}
