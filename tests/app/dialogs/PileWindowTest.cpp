// The connections bar's pile pane: which drawing's pile it shows, what a
// press and release in it do, and that it never keeps a drawing that has
// gone or a pile whose items have left their drawing.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "app/PileWindow.h"
#include "drawing/DiagramComp.h"
#include "drawing/DrawPile.h"
#include "drawing/LineConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"

namespace {

class TestPane : public PileWindow {
public:
    void Press(int x, int y) { OnLButtonDown(0, CPoint(x, y)); }
    void Move(int x, int y) { OnMouseMove(MK_LBUTTON, CPoint(x, y)); }
    void Release(int x, int y, UINT flags = 0) { OnLButtonUp(flags, CPoint(x, y)); }
};

class PileWindowTest : public ::testing::Test {
protected:
    PileWindowTest() : drawing(std::make_unique<DiagramComp>()), old(std::exchange(gPilePane, &pane))
    {
        segment = new SegmentShape(new VertexShape(0, 0), new VertexShape(4, 0));
        vertex = new VertexShape(2, 0);
        drawing->AddShape(segment);
        drawing->AddShape(vertex);
        drawing->ShowPileAt(nullptr, drawing->GetDC().WorldToScreen(DPoint(2, 0)));
    }
    ~PileWindowTest() override { gPilePane = old; }

    TestPane pane;
    std::unique_ptr<DiagramComp> drawing;
    PilePane* old;
    SegmentShape* segment;
    VertexShape* vertex;
};

} // namespace

TEST_F(PileWindowTest, ThePaneShowsThePileOfTheDrawingThatBuiltIt)
{
    EXPECT_EQ(pane.ShownDiagram(), drawing.get());
    EXPECT_EQ(pane.GetDrawing(), drawing.get());
    DrawPile* pile = pane.GetShownPile();
    ASSERT_NE(pile, nullptr);
    ASSERT_EQ(pile->GetEntryCount(), 2);
    EXPECT_EQ(pile->GetEntry(0).centre, segment);
    EXPECT_EQ(pile->GetEntry(1).centre, vertex);

    // Another drawing being edited hides it; the first one edited again shows it.
    DiagramComp other;
    pane.SetDrawing(&other);
    EXPECT_EQ(pane.GetShownPile(), nullptr);
    pane.SetDrawing(drawing.get());
    EXPECT_EQ(pane.GetShownPile(), pile);
}

TEST_F(PileWindowTest, ADragInThePaneAttachesTheVertex)
{
    pane.Press(72, 12);  // the segment's row
    pane.Move(72, 30);
    pane.Release(72, 36);  // the vertex's row
    ASSERT_EQ(drawing->GetConstraints().GetCount(), 1);
    auto* made = dynamic_cast<PointOnSegmentConstraint*>(drawing->GetConstraints().GetAt(0));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetFirstItem(), vertex);
    EXPECT_EQ(pane.GetShownPile()->GetLinkCount(), 1);

    // A release without a press does nothing; a click selects the row's item.
    pane.Release(72, 12);
    EXPECT_FALSE(segment->IsSelected());
    pane.Press(60, 12);
    pane.Release(60, 12);
    EXPECT_TRUE(segment->IsSelected());
}

TEST_F(PileWindowTest, APileWhoseItemsLeftOrWhoseDrawingWentIsNotShown)
{
    drawing->TakeOutShape(vertex);
    EXPECT_EQ(pane.GetShownPile(), nullptr);
    pane.Press(72, 36);  // nothing to press on: no crash, nothing made
    pane.Release(72, 12);
    EXPECT_TRUE(drawing->GetConstraints().IsEmpty());
    delete vertex;

    drawing.reset();
    EXPECT_EQ(pane.ShownDiagram(), nullptr);
    EXPECT_EQ(pane.GetDrawing(), nullptr);
    EXPECT_EQ(pane.GetShownPile(), nullptr);
}
