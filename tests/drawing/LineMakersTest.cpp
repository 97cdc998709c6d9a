// The makers of horizontal, vertical, slope and distance constraints: the
// selections they take and the points the constraint they add binds, done,
// undone and redone with the ownership rule kept.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawVariable.h"
#include "drawing/LineMakers.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/TAction.h"

#include <memory>
#include <string>
#include <vector>

namespace {

class LineMakersTest : public MakerTest {
protected:
    LineMakersTest()
    {
        segment = new SegmentShape(new VertexShape(0, 0), new VertexShape(3, 1));
        a = new VertexShape(1, 2);
        b = new VertexShape(4, 3);
        circle = new CircleShape(new VertexShape(-2, -2), new DrawVariable(1.0, false));
        for (DiagramShape* shape : std::vector<DiagramShape*>{segment, a, b, circle})
            drawing->AddShape(shape);
    }

    SegmentShape* segment = nullptr;
    VertexShape* a = nullptr;
    VertexShape* b = nullptr;
    CircleShape* circle = nullptr;
    const HorizontalMaker horizontal;
    const VerticalMaker vertical;
    const FixSlopeMaker slope;
    const DistanceMaker distance;
};

TEST_F(LineMakersTest, EachTakesASegmentOrTwoVerticesAndDistanceACircleToo)
{
    const DrawingMaker* makers[] = {&horizontal, &vertical, &slope, &distance};
    struct Row {
        const char* name;
        std::vector<DiagramShape*> selection;
        const char* accepts; // horizontal, vertical, slope, distance
    };
    const Row rows[] = {
        {"nothing", {}, "0000"},
        {"a segment", {segment}, "1111"},
        {"two vertices", {a, b}, "1111"},
        {"one vertex", {a}, "0000"},
        {"a circle", {circle}, "0001"},
        {"a segment and a vertex", {segment, a}, "0000"},
        {"two vertices and a circle", {a, b, circle}, "0000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Accepts(makers, Select(row.selection)), row.accepts);
    }
    EXPECT_EQ(distance.GetErrorMessage(),
              "To make a length constraint you must have a circle, a segment, or two vertices selected.");
}

TEST_F(LineMakersTest, TheConstraintBindsTheSelectedPointsAndIsUndoneAndRedone)
{
    struct Row {
        const char* name;
        const DrawingMaker* maker;
        std::vector<DiagramShape*> selection;
        std::vector<const DiagramItem*> bound;
    };
    const Row rows[] = {
        {"horizontal segment", &horizontal, {segment}, {segment->GetStart(), segment->GetEnd()}},
        {"vertical through two vertices", &vertical, {a, b}, {a, b}},
        {"slope of two vertices", &slope, {b, a}, {b, a}},
        {"length of a segment", &distance, {segment}, {segment->GetStart(), segment->GetEnd()}},
        {"radius of a circle", &distance, {circle}, {circle->GetCentre()}},
    };
    const std::vector<uint8_t> original = WriteComponent(*drawing);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<TAction> action(row.maker->Make(nullptr, Select(row.selection), *drawing, DPoint()));
        ASSERT_NE(action, nullptr);
        action->Perform();
        ASSERT_EQ(drawing->GetConstraints().GetCount(), 1);
        DrawConstraint* made = drawing->GetConstraints().GetAt(0);
        EXPECT_TRUE(made->IsSelected());
        EXPECT_EQ(made->GetBoundItems(), row.bound);
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Revert();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        EXPECT_EQ(WriteComponent(*drawing), original) << "undone";
        action->Redo();
        EXPECT_EQ(drawing->GetConstraints().GetCount(), 1) << "redone";
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Revert();
        action->Commit();
    }
    EXPECT_EQ(WriteComponent(*drawing), original);
}

} // namespace
