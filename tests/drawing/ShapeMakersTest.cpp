// The shape makers: which selections each accepts, the shapes they build
// (sizes, quarter turns, the parallelogram's fourth corner, curve control
// points) and their actions done, undone and redone with the ownership
// rule kept and the drawing given back byte for byte.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/DrawVariable.h"
#include "drawing/SegmentShape.h"
#include "drawing/ShapeMakers.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/TAction.h"

#include <memory>
#include <string>
#include <vector>

namespace {

class ShapeMakersTest : public MakerTest {
protected:
    ShapeMakersTest()
    {
        for (DPoint p : {DPoint(0, 0), DPoint(2, 0), DPoint(2, 1), DPoint(5, 5)})
            Add(new VertexShape(p.x, p.y));
        auto* s1 = new SegmentShape(new VertexShape(0, 3), new VertexShape(2, 3));
        Add(s1);
        Add(new SegmentShape(s1->GetEnd(), new VertexShape(2, 5)));
        Add(new SegmentShape(new VertexShape(6, 0), new VertexShape(8, 0)));
        Add(new CircleShape(new VertexShape(-3, -3), new DrawVariable(1.0, false)));
        corner = new VertexShape(-2, 4);
        Add(new TriangleShape(new VertexShape(-4, 4), new VertexShape(-4, 2), corner));
        size = 75.0 * drawing->GetDC().GetCurrentScale();
    }

    void Add(DiagramShape* shape)
    {
        drawing->AddShape(shape);
        shapes.push_back(shape);
    }

    // Selects the shapes (by their place in shapes; -1 the triangle's corner) in order.
    const ItemArray<DiagramShape>& SelectAt(const std::vector<int>& which)
    {
        std::vector<DiagramShape*> picked;
        for (int i : which)
            picked.push_back(i < 0 ? corner : shapes[static_cast<size_t>(i)]);
        return Select(picked);
    }
    std::vector<DiagramShape*> shapes; // v0..v3, s1, s2 (sharing s1's end), s3, circle, triangle
    VertexShape* corner = nullptr;
    double size = 0;
    const SegmentMaker segment;
    const CircleMaker circle;
    const TriangleMaker triangle;
    const RectangleMaker rectangle;
    const CurveMaker curve;
};

constexpr int kS1 = 4;
constexpr int kS2 = 5;
constexpr int kS3 = 6;
constexpr int kCircle = 7;
constexpr int kCorner = -1;

TEST_F(ShapeMakersTest, EachMakerAcceptsTheSelectionsItCanBuildOn)
{
    const DrawingMaker* makers[] = {&segment, &circle, &triangle, &rectangle, &curve};
    struct Row {
        const char* name;
        std::vector<int> selection;
        const char* accepts; // segment, circle, triangle, rectangle, curve
    };
    const Row rows[] = {
        {"nothing", {}, "11111"},
        {"one vertex", {0}, "11111"},
        {"a vertex of another shape", {kCorner}, "11111"},
        {"two vertices", {0, 1}, "10111"},
        {"three vertices", {0, 1, 2}, "00110"},
        {"four vertices", {0, 1, 2, 3}, "00000"},
        {"one segment", {kS1}, "00110"},
        {"two segments sharing an end", {kS1, kS2}, "00110"},
        {"two segments apart", {kS1, kS3}, "00000"},
        {"a circle", {kCircle}, "00000"},
        {"a vertex and a segment", {0, kS1}, "00000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Accepts(makers, SelectAt(row.selection)), row.accepts);
    }
    EXPECT_EQ(segment.GetErrorMessage(), "To draw a segment you must have 0, 1, or 2 vertices selected.");
    EXPECT_EQ(rectangle.GetErrorMessage(),
              "The present selection can not be used as the basis for drawing a rectangle.");
}

TEST_F(ShapeMakersTest, MakersBuildTheirShapesAndTheActionsUndoAndRedoExactly)
{
    const DPoint at(1, 1);
    const double l = size;
    struct Row {
        const char* name;
        const DrawingMaker* maker;
        std::vector<int> selection;
        std::vector<DPoint> points; // the made shape's vertices in order
        int taken;                  // how many of them are selected vertices
    };
    const Row rows[] = {
        {"segment from the insertion point", &segment, {}, {{1, 1}, {1 + l, 1}}, 0},
        {"segment between two free vertices", &segment, {0, 1}, {{0, 0}, {2, 0}}, 2},
        {"circle at the insertion point", &circle, {}, {{1, 1}}, 0},
        {"circle on another shape's vertex", &circle, {kCorner}, {{-2, 4}}, 0},
        {"triangle from nothing", &triangle, {}, {{1, 1}, {1 + l, 1}, {1 + l, 1 + l}}, 0},
        {"triangle's quarter turn", &triangle, {0, 1}, {{0, 0}, {2, 0}, {2, 2}}, 2},
        {"triangle on two segments", &triangle, {kS1, kS2}, {{0, 3}, {2, 3}, {2, 5}}, 0},
        {"rectangle from three vertices", &rectangle, {0, 1, 2}, {{0, 0}, {2, 0}, {2, 1}, {0, 1}}, 3},
        {"rectangle on a segment's own ends", &rectangle, {kS1}, {{0, 3}, {2, 3}, {2, 5}, {0, 5}}, 2},
        {"rectangle from one vertex", &rectangle, {3}, {{5, 5}, {5 + l, 5}, {5 + l, 5 + l}, {5, 5 + l}}, 1},
        {"curve's control points", &curve, {0, 1}, {{0, 0}, {2, 0}, {0, 2.0 / 3}, {2, 2.0 / 3}}, 2},
    };
    const std::vector<uint8_t> original = WriteComponent(*drawing);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ItemArray<DiagramShape>& selected = SelectAt(row.selection);
        ASSERT_TRUE(row.maker->CanMake(selected, drawing->GetDC()));
        const ItemArray<VertexShape> given = CollectVertices(selected);
        std::unique_ptr<TAction> action(row.maker->Make(nullptr, selected, *drawing, at));
        ASSERT_NE(action, nullptr);
        action->Perform();
        DiagramShape* made = drawing->GetShapes().GetAt(drawing->GetShapes().GetCount() - 1);
        const ItemArray<VertexShape> vertices = made->GetVertices();
        ASSERT_EQ(vertices.GetCount(), static_cast<int>(row.points.size()));
        int taken = 0;
        for (int i = 0; i < vertices.GetCount(); ++i) {
            EXPECT_NEAR(vertices.GetAt(i)->GetX(), row.points[static_cast<size_t>(i)].x, 1e-9) << i;
            EXPECT_NEAR(vertices.GetAt(i)->GetY(), row.points[static_cast<size_t>(i)].y, 1e-9) << i;
            taken += given.Contains(vertices.GetAt(i)) ? 1 : 0;
        }
        EXPECT_EQ(taken, row.taken);
        if (made->IsCircle()) {
            EXPECT_NEAR(static_cast<CircleShape*>(made)->GetRadius(), l, 1e-9);
        }
        EXPECT_TRUE(drawing->GetSelectedShapes().IsEmpty());
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        ExpectUndoRedo(*action, original);
        action->Revert();
        action->Commit();
        action.reset();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
    }
    EXPECT_EQ(WriteComponent(*drawing), original);
}

} // namespace
