// The item pile: rows for the items under a point, the links of the
// constraints between them, the hit tests of rows and links, and what a
// click or a drag from row to row does to the drawing.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawPile.h"
#include "drawing/DrawVariable.h"
#include "drawing/LineConstraints.h"
#include "drawing/PilePane.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "platform/draw/ImageDC.h"

#include "support/drawing/RecordingPilePane.h"

#include <memory>
#include <vector>

namespace {

// Rows: 0 a free vertex, 1 a segment, 2 a circle, 3 a second segment.
class DrawPileTest : public MakerTest {
protected:
    DrawPileTest()
    {
        vertex = new VertexShape(2, 0);
        segment = new SegmentShape(new VertexShape(0, 0), new VertexShape(4, 0));
        circle = new CircleShape(new VertexShape(2, -2), new DrawVariable(2.0, false));
        other = new SegmentShape(new VertexShape(0, 1), new VertexShape(4, 1));
        for (DiagramShape* shape : std::vector<DiagramShape*>{segment, circle, vertex, other})
            drawing->AddShape(shape);
        pile = MakePile({vertex, segment, circle, other});
    }

    std::unique_ptr<DrawPile> MakePile(const std::vector<DiagramShape*>& shapes,
                                       const std::vector<DrawConstraint*>& constraints = {})
    {
        std::vector<PileEntry> entries;
        for (DiagramShape* shape : shapes)
            entries.push_back(MakePileEntry(shape));
        return std::make_unique<DrawPile>(std::move(entries), constraints, drawing, nullptr);
    }

    // A press at one pane point and a release at another.
    bool Drag(int x1, int y1, int x2, int y2, bool extend = false)
    {
        pile->OnMouseDown(x1, y1);
        pile->OnMouseMove(x2, y2);
        return pile->OnMouseUp(x2, y2, extend);
    }

    DrawConstraint* LastConstraint() const
    {
        const auto& constraints = drawing->GetConstraints();
        return constraints.IsEmpty() ? nullptr : constraints.GetAt(constraints.GetCount() - 1);
    }

    VertexShape* vertex;
    SegmentShape* segment;
    CircleShape* circle;
    SegmentShape* other;
    std::unique_ptr<DrawPile> pile;
};

// Pane centre lines of the rows.
constexpr int Row(int r)
{
    return 24 * r + 12;
}

} // namespace

TEST_F(DrawPileTest, RowsAreHitOnTheirIconsOnly)
{
    const PileEntry& point = pile->GetEntry(0);
    const PileEntry& line = pile->GetEntry(1);
    const PileEntry& ring = pile->GetEntry(2);
    EXPECT_EQ(point.row, 0);
    EXPECT_EQ(ring.row, 2);
    // A vertex within 4 pixels of its dot's centre.
    EXPECT_TRUE(pile->HitEntry(point, 76, Row(0)));
    EXPECT_FALSE(pile->HitEntry(point, 77, Row(0)));
    EXPECT_FALSE(pile->HitEntry(point, 72, Row(1)));
    // A segment in the band 4 pixels either side of its line.
    EXPECT_TRUE(pile->HitEntry(line, 50, Row(1) - 4));
    EXPECT_TRUE(pile->HitEntry(line, 100, Row(1) + 4));
    EXPECT_FALSE(pile->HitEntry(line, 50, Row(1) - 5));
    EXPECT_FALSE(pile->HitEntry(line, 20, Row(1)));  // an empty side cell
    // A circle on its ring, 4 to 12 pixels from the centre.
    EXPECT_TRUE(pile->HitEntry(ring, 80, Row(2)));
    EXPECT_FALSE(pile->HitEntry(ring, 74, Row(2)));
    EXPECT_FALSE(pile->HitEntry(ring, 85, Row(2)));
    // Above the first row nothing is hit.
    EXPECT_FALSE(pile->HitEntry(point, 72, -4));

    // A curve row is hit on the band of its arch, and a click selects it.
    auto* curve = new CurveShape(new VertexShape(0, 0), new VertexShape(3, 0), new VertexShape(1, 1),
                                 new VertexShape(2, 1));
    drawing->AddShape(curve);
    pile = MakePile({vertex, curve});
    EXPECT_TRUE(pile->HitEntry(pile->GetEntry(1), 50, Row(1) + 4));
    EXPECT_FALSE(pile->HitEntry(pile->GetEntry(1), 50, Row(1) + 5));
    Drag(50, Row(1), 50, Row(1));
    EXPECT_TRUE(curve->IsSelected());
    // And a vertex dragged onto it goes on the curve.
    Drag(72, Row(0), 60, Row(1));
    EXPECT_NE(dynamic_cast<PointOnCurveConstraint*>(LastConstraint()), nullptr);
}

TEST_F(DrawPileTest, AVertexOfACompoundShapeShowsTheSidesThatMeetAtIt)
{
    auto* a = new VertexShape(0, 0);
    auto* triangle = new TriangleShape(a, new VertexShape(4, 0), new VertexShape(0, 3));
    drawing->AddShape(triangle);
    const PileEntry entry = MakePileEntry(a);
    EXPECT_EQ(entry.centre, a);
    ASSERT_NE(entry.left, nullptr);
    ASSERT_NE(entry.right, nullptr);
    EXPECT_NE(entry.left, entry.right);
    EXPECT_TRUE(triangle->GetSides().Contains(entry.left));
    EXPECT_TRUE(triangle->GetSides().Contains(entry.right));
    EXPECT_EQ(MakePileEntry(vertex).left, nullptr);

    // Its side cells are hit on their lines; a press on one and a release on
    // the centre of the same row does nothing.
    pile = MakePile({a, segment});
    EXPECT_TRUE(pile->HitEntry(pile->GetEntry(0), 10, Row(0)));
    EXPECT_TRUE(pile->HitEntry(pile->GetEntry(0), 130, Row(0) + 3));
    EXPECT_FALSE(Drag(10, Row(0), 72, Row(0)));
    EXPECT_FALSE(drawing->HasSelection());
    // A click on a side selects that side.
    Drag(10, Row(0), 12, Row(0));
    EXPECT_TRUE(drawing->GetSelectedShapes().Contains(entry.left));
}

TEST_F(DrawPileTest, ConstraintsLinkTheRowsOfTheirItems)
{
    auto* onSegment = new PointOnSegmentConstraint(segment->GetStart(), segment->GetEnd(), vertex);
    auto* unrelated = new CoincidentConstraint(other->GetStart(), segment->GetStart());
    drawing->AddConstraint(onSegment);
    drawing->AddConstraint(unrelated);
    pile = MakePile({vertex, segment, circle}, {onSegment, unrelated});
    ASSERT_EQ(pile->GetLinkCount(), 1);  // the second binds no row shown
    const PileLink& link = pile->GetLink(0);
    EXPECT_EQ(link.constraint, onSegment);
    EXPECT_EQ(link.source, &pile->GetEntry(0));
    EXPECT_EQ(link.target, &pile->GetEntry(1));
    EXPECT_EQ(link.sourceCell, 0);
    EXPECT_EQ(link.targetCell, 0);
    // Both ends in the centre column: hit within 4 pixels of the bar.
    EXPECT_TRUE(pile->HitLink(link, 76, Row(0) + 6));
    EXPECT_TRUE(pile->HitLink(link, 72, Row(1) + 4));
    EXPECT_FALSE(pile->HitLink(link, 77, Row(0) + 6));
    EXPECT_FALSE(pile->HitLink(link, 72, Row(1) + 5));

    // A press on the link selects its constraint; Shift adds to the selection.
    drawing->SelectShape(circle, false);
    pile->OnMouseDown(72, Row(0) + 8);
    EXPECT_TRUE(pile->IsPressingLink());
    EXPECT_TRUE(pile->OnMouseUp(72, Row(0) + 8, true));
    EXPECT_TRUE(onSegment->IsSelected());
    EXPECT_TRUE(circle->IsSelected());
    // Released off the link: nothing more is selected.
    drawing->DeselectAll(false);
    pile->OnMouseDown(72, Row(0) + 8);
    pile->OnMouseUp(90, Row(0) + 8, false);
    EXPECT_FALSE(onSegment->IsSelected());
}

TEST_F(DrawPileTest, ASlantedLinkIsHitOnItsLineOnly)
{
    pile = std::make_unique<DrawPile>(std::vector<PileEntry>{{segment, vertex, nullptr, -1}, MakePileEntry(other)},
                                      std::vector<DrawConstraint*>{}, drawing, nullptr);
    PileLink slanted{nullptr, const_cast<PileEntry*>(&pile->GetEntry(0)), const_cast<PileEntry*>(&pile->GetEntry(1)),
                     -1, 0};
    // From (20, 12) to (72, 36): the middle of the line is hit, 3 pixels off is not.
    EXPECT_TRUE(pile->HitLink(slanted, 46, 24));
    EXPECT_FALSE(pile->HitLink(slanted, 46, 27));
    EXPECT_FALSE(pile->HitLink(slanted, 10, 7));  // beyond its end
}

TEST_F(DrawPileTest, AClickOnACellSelectsItsItem)
{
    EXPECT_TRUE(Drag(60, Row(1), 62, Row(1) + 2));
    EXPECT_EQ(drawing->GetSelectedShapes().GetCount(), 1);
    EXPECT_TRUE(segment->IsSelected());
    // Shift toggles the item into the selection.
    Drag(80, Row(2), 80, Row(2), true);
    EXPECT_TRUE(segment->IsSelected());
    EXPECT_TRUE(circle->IsSelected());
    EXPECT_TRUE(drawing->GetConstraints().IsEmpty());
}

TEST_F(DrawPileTest, DraggingAVertexOntoAnItemAttachesItByTheMatchingConstraint)
{
    // From the segment onto the vertex: the vertex goes on the segment.
    EXPECT_TRUE(Drag(72, Row(1), 72, Row(0)));
    auto* onSegment = dynamic_cast<PointOnSegmentConstraint*>(LastConstraint());
    ASSERT_NE(onSegment, nullptr);
    EXPECT_EQ(onSegment->GetFirstItem(), vertex);
    EXPECT_EQ(onSegment->GetSecondItem(), segment);
    EXPECT_TRUE(onSegment->IsSelected());
    EXPECT_EQ(drawing->GetSelectedConstraints().GetCount(), 1);
    ASSERT_EQ(pile->GetLinkCount(), 1);
    EXPECT_EQ(pile->GetLink(0).constraint, onSegment);

    // From the vertex onto the circle.
    Drag(72, Row(0), 80, Row(2));
    auto* onCircle = dynamic_cast<PointOnCircleConstraint*>(LastConstraint());
    ASSERT_NE(onCircle, nullptr);
    EXPECT_EQ(onCircle->GetSecondItem(), circle);

    // Between two segments, and from a vertex onto an empty cell: nothing.
    const int count = drawing->GetConstraints().GetCount();
    Drag(72, Row(1), 72, Row(3));
    Drag(72, Row(0), 20, Row(3));
    EXPECT_EQ(drawing->GetConstraints().GetCount(), count);
    EXPECT_EQ(pile->GetLinkCount(), 2);
}

TEST_F(DrawPileTest, AReleaseBelowTheLastRowCountsAsTheLastRowAndAPressThereHitsNothing)
{
    Drag(72, Row(0), 72, Row(9));
    auto* onOther = dynamic_cast<PointOnSegmentConstraint*>(LastConstraint());
    ASSERT_NE(onOther, nullptr);
    EXPECT_EQ(onOther->GetSecondItem(), other);

    drawing->DeselectAll(false);
    pile->OnMouseDown(72, Row(4));
    EXPECT_FALSE(pile->IsDraggingEntry());
    EXPECT_FALSE(pile->IsPressingLink());
    pile->OnMouseUp(72, Row(4), false);
    EXPECT_FALSE(drawing->HasSelection());
}

TEST_F(DrawPileTest, AVertexIsNeverAttachedToWhatItDefines)
{
    auto* end = segment->GetStart();
    auto* centre = circle->GetCentre();
    pile = MakePile({end, segment, centre, circle});
    Drag(72, Row(0), 72, Row(1));  // a segment's own end
    Drag(72, Row(2), 80, Row(3));  // a circle's own centre
    EXPECT_TRUE(drawing->GetConstraints().IsEmpty());
    // Two vertices meet by a coincidence.
    EXPECT_TRUE(Drag(72, Row(0), 72, Row(2)));
    EXPECT_NE(dynamic_cast<CoincidentConstraint*>(LastConstraint()), nullptr);
}

TEST_F(DrawPileTest, TheRowsAreDrawnInTheirPens)
{
    drawing->SelectShape(segment, false);
    QImage pane(150, 100, QImage::Format_RGB32);
    pane.fill(Qt::blue);
    {
        CImageDC dc(pane);
        pile->Redraw(dc);
    }
    EXPECT_EQ(pane.pixelColor(72, Row(1)), QColor(221, 8, 7));        // the selected segment
    EXPECT_EQ(pane.pixelColor(72, Row(3)), QColor(0, 0, 0));          // the other one
    EXPECT_EQ(pane.pixelColor(64, Row(2)), QColor(0, 0, 0));          // the ring
    EXPECT_EQ(pane.pixelColor(72, Row(2)), QColor(255, 255, 255));    // hollow
    EXPECT_EQ(pane.pixelColor(20, Row(1)), QColor(255, 255, 255));    // an empty cell
}

TEST_F(DrawPileTest, ShowPileAtListsTheItemsUnderAPointAndTellsThePane)
{
    RecordingPilePane pane;
    auto* onSegment = new PointOnSegmentConstraint(segment->GetStart(), segment->GetEnd(), vertex);
    drawing->AddConstraint(onSegment);

    drawing->ShowPileAt(nullptr, drawing->GetDC().WorldToScreen(DPoint(2, 0)));
    DrawPile* shown = drawing->GetPile();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(pane.shown, drawing);
    std::vector<DiagramShape*> centres;
    for (int i = 0; i < shown->GetEntryCount(); ++i)
        centres.push_back(shown->GetEntry(i).centre);
    EXPECT_EQ(centres, (std::vector<DiagramShape*>{segment, circle, vertex}));
    ASSERT_EQ(shown->GetLinkCount(), 1);
    EXPECT_EQ(shown->GetLink(0).constraint, onSegment);
    EXPECT_TRUE(shown->IsCurrent());

    // A constraint taken out leaves its link unshown and unpressable; a
    // removed item makes the pile stale; the drawing going forgets it.
    shown->OnMouseDown(74, Row(0) + 6);
    EXPECT_TRUE(shown->IsPressingLink());
    shown->OnMouseUp(74, Row(0) + 6, false);
    drawing->RemoveConstraint(onSegment);
    EXPECT_TRUE(shown->IsCurrent());
    EXPECT_FALSE(shown->IsLive(shown->GetLink(0)));
    shown->OnMouseDown(74, Row(0) + 6);
    EXPECT_FALSE(shown->IsPressingLink());
    delete onSegment;
    drawing->TakeOutShape(vertex);
    EXPECT_FALSE(shown->IsCurrent());
    delete vertex;
    drawing->DropPile();
    EXPECT_EQ(drawing->GetPile(), nullptr);
    EXPECT_EQ(pane.shown, nullptr);
}
