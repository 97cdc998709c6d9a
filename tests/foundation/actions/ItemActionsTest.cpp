#include "ActionFixture.h"

#include "foundation/ComponentFactory.h"
#include "foundation/DocWriter.h"
#include "foundation/EmptyItemInserter.h"
#include "foundation/InnerSelection.h"
#include "foundation/PlotFunctionLines.h"
#include "foundation/TInsertExpressionAction.h"
#include "foundation/TInsertItemAction.h"

namespace {

// A component with numbered columns, rows and variables (counts only) and a
// row of its own, stored with its counts, standing in for grids and partial
// derivatives.
class CountingGrid : public TestFraction, public InnerSelection, public EmptyItemInserter {
public:
    CountingGrid() : CountingGrid(0, 0, false) {}
    CountingGrid(int columns, int rows, bool variables) : m_columns(columns), m_rows(rows), m_variables(variables) {}
    TextComp* Clone(LinkRemap&) override { return new CountingGrid(m_columns, m_rows, m_variables); }
    void GetTag(TypeTag& out) const override { out = tag_Tabl; }
    void Write(DocWriter& writer) override
    {
        TestFraction::Write(writer);
        writer.WriteLong(m_columns);
        writer.WriteLong(m_rows);
    }

    bool HasItems(Item item) const override { return (item == kVariable) == m_variables; }
    int InsertPlaceFor(const DocPosition& position, Item item) const override
    {
        if (position.GetKind() != DocPosition::kListPlace)
            return position.GetIndex();
        return (item == kRow ? m_rows : m_columns) + 1;
    }
    void InsertEmptyItem(int, Item item) override { ++(item == kRow ? m_rows : m_columns); }

    bool SelectBetween(const DocPosition&, const DocPosition&, DocSelection&) override { return false; }
    void GetSelectionBounds(const DocSelection&, Rect& out) const override { out = Rect(); }
    DocSelection CopySelection(const DocSelection&) override { return DocSelection(); }
    DocSelection DeleteSelection(const DocSelection& selection, DocPosition& removedAt) override
    {
        int n = selection.GetEnd().GetIndex() - selection.GetStart().GetIndex();
        bool rows = selection.GetKind() == DocPosition::kGridLine && selection.GetStart().GetFlag() == 0;
        (rows ? m_rows : m_columns) -= n;
        removedAt = selection.GetStart();
        DocSelection span;
        ParagraphList::FromObject(nullptr, new CountingGrid(rows ? 0 : n, rows ? n : 0, m_variables), &span).release();
        return span;
    }
    bool CanInsert(const DocSelection&, const DocPosition&) const override { return false; }
    DocSelection Insert(DocSelection&, const DocPosition&) override { return DocSelection(); }
    void SetSelectionFont(const DocSelection&, int) override {}

    int m_columns, m_rows;
    bool m_variables;
};

class FakePlot : public TestFraction, public PlotFunctionLines {
public:
    void GetTag(TypeTag& out) const override { out = tag_2Plt; }
    DocPosition AddFunction() override
    {
        ++lines;
        return DocPosition(GetChild(1), 1);
    }
    void RemoveLastFunction() override { --lines; }
    void Write(DocWriter& writer) override
    {
        TestFraction::Write(writer);
        writer.WriteLong(lines);
    }
    int lines = 1;
};

class ItemActionsTest : public ActionTest {
protected:
    ItemActionsTest()
    {
        ComponentRegistry::Register(tag_Tabl, ComponentCodecFor<CountingGrid>());
        ComponentRegistry::Register(tag_2Plt, ComponentCodecFor<FakePlot>());
        auto row = Chars("ab");
        grid = new CountingGrid(2, 3, false);
        grid->GetChild(1)->Append(fonts.GetFace(0)->GetCharacter('q'));
        grid->GetChild(1)->Append(fonts.GetFace(0)->GetCharacter('r'));
        row->Append(grid);
        derivative = new CountingGrid(1, 0, true);
        row->Append(derivative);
        plot = new FakePlot;
        row->Append(plot);
        list.Append(new ParagraphComp(std::move(row), 3));
    }

    ~ItemActionsTest() override
    {
        ComponentRegistry::Unregister(tag_Tabl);
        ComponentRegistry::Unregister(tag_2Plt);
    }

    void CheckBothWays(TAction* action, const std::function<void()>& checkDone)
    {
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
    }

    DocPosition InGrid(int index) const { return DocPosition(grid->GetChild(1), index); }

    CountingGrid* grid;
    CountingGrid* derivative;
    FakePlot* plot;
};

TEST_F(ItemActionsTest, InsertColumnOverASelectionKeepsWhatItHolds)
{
    CheckBothWays(new TInsertColumnAction(DocSelection(InGrid(1), InGrid(3))), [&] {
        EXPECT_EQ(grid->GetChild(1)->GetCount(), 2);
        EXPECT_EQ(grid->m_columns, 3);
    });
    EXPECT_EQ(Text(*grid->GetChild(1)), "qr");
}

TEST_F(ItemActionsTest, InsertDerivativeGoesToTheDerivativeNotTheGrid)
{
    DocPosition inside(derivative->GetChild(1), 1);
    CheckBothWays(new TInsertDerivativeAction(DocSelection(inside, inside)), [&] {
        EXPECT_EQ(derivative->m_columns, 2);
        EXPECT_EQ(grid->m_columns, 2);
    });
}

TEST_F(ItemActionsTest, InsertExpressionAddsAFunctionLineToTheEnclosingPlot)
{
    DocPosition inside(plot->GetChild(1), 1);
    CheckBothWays(new TInsertExpressionAction(DocSelection(inside, inside)), [&] { EXPECT_EQ(plot->lines, 2); });
    // Outside any plot or grid nothing changes.
    for (TAction* action : {static_cast<TAction*>(new TInsertExpressionAction(Caret(2, 2))),
                            static_cast<TAction*>(new TInsertColumnAction(Caret(4, 1)))}) {
        const auto before = Bytes();
        ASSERT_TRUE(Run(action));
        EXPECT_EQ(Bytes(), before);
        host.UndoOrRedo();
        EXPECT_EQ(Bytes(), before);
    }
}

} // namespace
