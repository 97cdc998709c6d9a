// The midpoint and arc makers: the selections they accept, the arc's centre
// from a curve alone, and the point each makes when the selection gives
// none, which only their undoable action adds: before it runs and after it
// is undone the drawing is as it was, byte for byte.
#include "DrawingTestSupport.h"

#include "drawing/ConstraintMakers.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/TAction.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

CurveShape* NewCurve(DPoint p0, DPoint p1, DPoint p2, DPoint p3)
{
    auto vertex = [](DPoint p) { return new VertexShape(p.x, p.y); };
    return new CurveShape(vertex(p0), vertex(p3), vertex(p1), vertex(p2));
}

TEST(ArcCentreTest, TheNormalsAtTheEndsMeetOrTheChordsMiddleServes)
{
    struct Row {
        const char* name;
        DPoint p0, p1, p2, p3;
        DPoint centre;
    };
    const Row rows[] = {
        {"a quarter circle", {1, 0}, {1, 0.55}, {0.55, 1}, {0, 1}, {0, 0}},
        {"a quarter circle of radius 2", {2, 0}, {2, 1}, {1, 2}, {0, 2}, {0, 0}},
        {"end tangents at right angles, off the axes", {1, 1}, {2, 2}, {4, 2}, {5, 1}, {3, -1}},
        {"a straight curve", {0, 0}, {1, 0}, {2, 0}, {3, 0}, {1.5, 0}},
        {"both tangents vertical", {0, 0}, {0, 1}, {2, 1}, {2, 0}, {1, 0}},
        {"parallel slanted tangents", {0, 0}, {1, 1}, {3, 1}, {2, 0}, {1, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<CurveShape> curve(NewCurve(row.p0, row.p1, row.p2, row.p3));
        const DPoint centre = ArcCentre(*curve);
        EXPECT_NEAR(centre.x, row.centre.x, 1e-12);
        EXPECT_NEAR(centre.y, row.centre.y, 1e-12);
    }
}

// How far a quarter circle's control points stand from its ends, in radii.
constexpr double kQuarterArm = 0.5522847498;

class ConstraintMakersTest : public MakerTest {
protected:
    ConstraintMakersTest()
    {
        segment = new SegmentShape(new VertexShape(0, 0), new VertexShape(4, 2));
        drawing->AddShape(segment);
        // At the curve's centre.
        vertex = new VertexShape(0, -1);
        drawing->AddShape(vertex);
        // A quarter of the circle of radius 1 about (0, -1).
        curve = NewCurve({1, -1}, {1, -1 + kQuarterArm}, {kQuarterArm, 0}, {0, 0.0});
        drawing->AddShape(curve);
    }

    SegmentShape* segment = nullptr;
    VertexShape* vertex = nullptr;
    CurveShape* curve = nullptr;
    const MidpointMaker midpoint;
    const ArcMaker arc;
};

TEST_F(ConstraintMakersTest, MidpointAndArcAcceptTheirShapeAloneOrWithAVertex)
{
    struct Row {
        const char* name;
        std::vector<DiagramShape*> selection;
        const char* accepts; // midpoint, arc
    };
    const Row rows[] = {
        {"nothing", {}, "00"},
        {"a vertex", {vertex}, "00"},
        {"a segment", {segment}, "10"},
        {"a segment and a vertex", {segment, vertex}, "10"},
        {"a vertex and a segment", {vertex, segment}, "10"},
        {"a curve", {curve}, "01"},
        {"a vertex and a curve", {vertex, curve}, "01"},
        {"a segment and a curve", {segment, curve}, "00"},
        {"a segment, a vertex and a curve", {segment, vertex, curve}, "00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DrawingMaker* makers[] = {&midpoint, &arc};
        EXPECT_EQ(Accepts(makers, Select(row.selection)), row.accepts);
    }
}

// A made point joins the drawing only while the action is done.
TEST_F(ConstraintMakersTest, APointTheMakerAddsComesAndGoesWithItsAction)
{
    struct Row {
        const char* name;
        const DrawingMaker* maker;
        std::vector<DiagramShape*> selection;
        bool makesPoint;
        DPoint point; // where the made point starts
    };
    const Row rows[] = {
        {"midpoint of a segment alone", &midpoint, {segment}, true, {2, 1}},
        {"midpoint at a selected vertex", &midpoint, {vertex, segment}, false, {}},
        {"arc centre from a curve alone", &arc, {curve}, true, {0, -1}},
        {"arc about a selected vertex", &arc, {curve, vertex}, false, {}},
    };
    const std::vector<uint8_t> original = WriteComponent(*drawing);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ItemArray<DiagramShape>& selected = Select(row.selection);
        const int shapes = drawing->GetShapes().GetCount();
        std::unique_ptr<TAction> action(row.maker->Make(nullptr, selected, *drawing, DPoint()));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(drawing->GetShapes().GetCount(), shapes) << "nothing is added before the action runs";
        action->Perform();
        ASSERT_EQ(drawing->GetShapes().GetCount(), shapes + (row.makesPoint ? 1 : 0));
        ASSERT_EQ(drawing->GetConstraints().GetCount(), 1);
        EXPECT_TRUE(drawing->GetConstraints().GetAt(0)->IsSelected());
        if (row.makesPoint) {
            auto* made = dynamic_cast<VertexShape*>(drawing->GetShapes().GetAt(shapes));
            ASSERT_NE(made, nullptr);
            // The solve that adds the constraint may move it a little.
            EXPECT_NEAR(made->GetX(), row.point.x, 0.02);
            EXPECT_NEAR(made->GetY(), row.point.y, 0.02);
            const std::vector<const DiagramItem*> bound = drawing->GetConstraints().GetAt(0)->GetBoundItems();
            EXPECT_NE(std::find(bound.begin(), bound.end(), made), bound.end()) << "the constraint binds it";
        }
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Revert();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        EXPECT_EQ(WriteComponent(*drawing), original) << "undone";
        action->Redo();
        EXPECT_EQ(drawing->GetShapes().GetCount(), shapes + (row.makesPoint ? 1 : 0)) << "redone";
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        action->Revert();
        action->Commit();
        action.reset();
        EXPECT_EQ(WriteComponent(*drawing), original);
    }
}

} // namespace
