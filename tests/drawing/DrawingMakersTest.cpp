// Every maker of the toolbar list: the commands reach the makers in list
// order, the makers that gather from the whole selection accept what they
// should, and each maker's action is done, undone and redone with the
// ownership rule kept and the drawing given back byte for byte. Nothing a
// maker builds touches the drawing before its action runs: an action the
// view drops unperformed leaves the drawing as it was.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveShape.h"
#include "drawing/DialogMakers.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingMakers.h"
#include "drawing/GroupConstraints.h"
#include "drawing/GroupMakers.h"
#include "drawing/MakerDialogs.h"
#include "drawing/PlotShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/TAction.h"

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

class ScriptedDialogs : public MakerDialogs {
public:
    std::optional<DPoint> AskVertex(const DPoint& at) override
    {
        asked = at;
        return vertex;
    }
    CompList* AskPlotFunction(const std::string& prompt) override
    {
        this->prompt = prompt;
        return plot ? new CompList : nullptr;
    }

    std::optional<DPoint> vertex;
    bool plot = true;
    DPoint asked;
    std::string prompt;
};

class DrawingMakersTest : public MakerTest {
protected:
    DrawingMakersTest()
    {
        FillDrawingMakers();
        InstallMakerDialogs(&dialogs);
        for (DPoint p : {DPoint(0, 0), DPoint(2, 0), DPoint(2, 1)})
            v.push_back(Add(new VertexShape(p.x, p.y)));
        s1 = Add(new SegmentShape(new VertexShape(0, 3), new VertexShape(2, 3)));
        s2 = Add(new SegmentShape(s1->GetEnd(), new VertexShape(2.5, 5)));
        s3 = Add(new SegmentShape(new VertexShape(6, 0), new VertexShape(8, 1)));
        circle = Add(new CircleShape(new VertexShape(-3, -3), new DrawVariable(1.0, false)));
        triangle = Add(new TriangleShape(new VertexShape(-4, 4), new VertexShape(-4, 2), new VertexShape(-2, 4)));
        rectangle = Add(new RectangleShape(new VertexShape(10, 0), new VertexShape(12, 0), new VertexShape(12, 1),
                                           new VertexShape(10, 1)));
        curve = Add(new CurveShape(new VertexShape(1, -1), new VertexShape(0, 0.5), new VertexShape(1, -0.45),
                                   new VertexShape(0.45, 0.5)));
        plot = Add(new PlotShape(nullptr, false));
        // A segment and a point nearly tangent to the circle's top, and to
        // the curve half way along.
        nearCircle = Add(new SegmentShape(new VertexShape(-5, -1.9), new VertexShape(-1, -2.1)));
        atCircle = Add(new VertexShape(-3, -2.05));
        nearCurve = Add(new SegmentShape(new VertexShape(1.097, -0.72), new VertexShape(0.241, 0.632)));
        atCurve = Add(new VertexShape(0.68, -0.03));
    }

    ~DrawingMakersTest() override
    {
        InstallMakerDialogs(nullptr);
        ClearDrawingMakers();
    }

    template <class Shape>
    Shape* Add(Shape* shape)
    {
        drawing->AddShape(shape);
        return shape;
    }

    static const DrawingMaker& Maker(int command)
    {
        const DrawingMaker* maker = DrawingMakerForCommand(command);
        EXPECT_NE(maker, nullptr) << command;
        return *maker;
    }

    ScriptedDialogs dialogs;
    std::vector<VertexShape*> v;
    SegmentShape* s1 = nullptr;
    SegmentShape* s2 = nullptr; // shares s1's end
    SegmentShape* s3 = nullptr;
    CircleShape* circle = nullptr;
    TriangleShape* triangle = nullptr;
    RectangleShape* rectangle = nullptr;
    CurveShape* curve = nullptr;
    PlotShape* plot = nullptr;
    SegmentShape* nearCircle = nullptr;
    VertexShape* atCircle = nullptr;
    SegmentShape* nearCurve = nullptr;
    VertexShape* atCurve = nullptr;
};

TEST_F(DrawingMakersTest, EveryCommandButTextLabelHasItsMakerInListOrder)
{
    ASSERT_EQ(gDrawingMakers.size(), 19u);
    for (const auto& maker : gDrawingMakers)
        EXPECT_NE(maker, nullptr);
    EXPECT_EQ(DrawingMakerForCommand(drawing::kTextLabelCommand), nullptr);
    EXPECT_EQ(DrawingMakerForCommand(34058), gDrawingMakers[7].get());
    EXPECT_EQ(Maker(34056).GetErrorMessage(), "You can only make plots when the Quorvant kernel is active.");
}

TEST_F(DrawingMakersTest, GatheringMakersAcceptWhatTheSelectionHoldsInAll)
{
    const DrawingMaker* makers[] = {&Maker(34050), &Maker(34056), &Maker(34063), &Maker(34064), &Maker(34069)};
    struct Row {
        const char* name;
        std::vector<DiagramShape*> selection;
        const char* accepts; // point, plot, equal length, fix point, tangent
    };
    const Row rows[] = {
        {"nothing", {}, "10000"},
        {"one segment", {s1}, "10010"},
        {"two segments", {s1, s3}, "10110"},
        {"a triangle", {triangle}, "10110"},
        {"a triangle and a segment", {triangle, s3}, "10110"},
        {"a curve", {curve}, "10010"},
        {"a plot", {plot}, "10000"},
        {"a vertex", {v[0]}, "10010"},
        {"vertex, curve, segment", {v[0], curve, s1}, "10011"},
        {"segment, circle, vertex", {s1, circle, v[1]}, "10011"},
        {"plot, vertex, segment", {plot, v[1], s3}, "10011"},
        {"two segments and a vertex", {s1, s3, v[0]}, "10110"},
        {"a segment, a vertex and two curves", {s1, v[0], curve, circle}, "10010"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Accepts(makers, Select(row.selection)), row.accepts) << "no kernel runs here, so plots are refused";
    }
    EXPECT_EQ(StraightEdges(Select({triangle, s3})).size(), 4u);
    EXPECT_EQ(StraightEdges(Select({triangle, triangle->GetSides().GetAt(0)})).size(), 3u) << "each edge once";
}

// Builds with the maker of the command on the selection; the action is
// performed, undone, redone and undone, and the drawing is checked at
// every step. check looks at the drawing while the action is done.
struct MakerCase {
    const char* name;
    int command;
    std::vector<DiagramShape*> selection;
    std::function<void(DiagramComp&)> check;
};

TEST_F(DrawingMakersTest, EveryMakersActionUndoesAndRedoesExactly)
{
    dialogs.vertex = DPoint(3, -4);
    auto lastShape = [](DiagramComp& d) { return d.GetShapes().GetAt(d.GetShapes().GetCount() - 1); };
    auto onlyConstraint = [](DiagramComp& d) -> DrawConstraint* {
        EXPECT_EQ(d.GetConstraints().GetCount(), 1);
        EXPECT_EQ(d.GetSelectedConstraints().GetCount(), 1) << "the new constraint is selected";
        return d.GetConstraints().GetAt(0);
    };
    auto direction = [](SegmentShape* s) {
        const DPoint d = s->GetEnd()->GetPoint() - s->GetStart()->GetPoint();
        return d / d.Distance(DPoint(0, 0));
    };
    const MakerCase cases[] = {
        {"point at the entered place", 34050, {s1},
         [&](DiagramComp& d) {
             auto* point = dynamic_cast<VertexShape*>(lastShape(d));
             ASSERT_NE(point, nullptr);
             EXPECT_EQ(point->GetPoint(), DPoint(3, -4));
         }},
        {"segment on two free vertices", 34051, {v[0], v[1]}, [&](DiagramComp& d) { EXPECT_TRUE(lastShape(d)->IsSegment()); }},
        {"circle", 34052, {}, [&](DiagramComp& d) { EXPECT_TRUE(lastShape(d)->IsCircle()); }},
        {"triangle", 34053, {v[0], v[1]}, [&](DiagramComp& d) { EXPECT_EQ(lastShape(d)->GetSideCount(), 3); }},
        {"rectangle on three vertices", 34054, {v[0], v[1], v[2]},
         [&](DiagramComp& d) { EXPECT_EQ(lastShape(d)->GetVertices().GetAt(3)->GetPoint(), DPoint(0, 1)); }},
        {"curve", 34055, {v[1]}, [&](DiagramComp& d) { EXPECT_TRUE(lastShape(d)->IsCurve()); }},
        {"plot of the typed function", 34056, {},
         [&](DiagramComp& d) {
             auto* made = dynamic_cast<PlotShape*>(lastShape(d));
             ASSERT_NE(made, nullptr);
             EXPECT_TRUE(made->IsPending()) << "its curve waits for the kernel";
             EXPECT_EQ(dialogs.prompt, "Enter an expression to plot:");
         }},
        {"parallel", 34058, {s1, s3},
         [&](DiagramComp& d) {
             EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_ParC);
             const DPoint a = direction(s1), b = direction(s3);
             EXPECT_NEAR(a.x * b.y - a.y * b.x, 0.0, 1e-4) << "solved at once";
         }},
        {"perpendicular", 34059, {s1, s2},
         [&](DiagramComp& d) {
             EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_PerC);
             const DPoint a = direction(s1), b = direction(s2);
             EXPECT_NEAR(a.x * b.x + a.y * b.y, 0.0, 1e-4) << "solved at once";
         }},
        {"fixed angle at the second of three vertices", 34060, {v[1], v[0], v[2]},
         [&](DiagramComp& d) {
             DrawConstraint* angle = onlyConstraint(d);
             EXPECT_EQ(angle->GetTag(), tag_AngC);
             EXPECT_NEAR(std::abs(angle->GetVariable(0)->GetValue()), std::atan(0.5), 1e-9);
         }},
        {"distance", 34061, {s1}, [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_DstC); }},
        {"midpoint", 34062, {s3}, [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_MidC); }},
        {"equal length of a triangle and a segment", 34063, {triangle, s3},
         [&](DiagramComp& d) {
             auto* equal = dynamic_cast<EqualLengthConstraint*>(onlyConstraint(d));
             ASSERT_NE(equal, nullptr);
             EXPECT_EQ(equal->GetSegments().size(), 4u);
         }},
        {"fixed corners of a rectangle", 34064, {rectangle},
         [&](DiagramComp& d) {
             EXPECT_EQ(d.GetConstraints().GetCount(), 4);
             EXPECT_EQ(d.GetSelectedConstraints().GetCount(), 4) << "all of them selected";
             for (VertexShape* corner : rectangle->GetVertices())
                 EXPECT_TRUE(corner->IsFixed());
         }},
        {"arc", 34065, {curve}, [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_ArcC); }},
        {"horizontal", 34066, {s3}, [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_horC); }},
        {"vertical", 34067, {v[0], v[2]}, [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_vrtC); }},
        {"slope", 34068, {s3}, [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_slpC); }},
        {"tangent to a curve, vertex first", 34069, {atCurve, curve, nearCurve},
         [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_cutC); }},
        {"tangent to a circle", 34069, {nearCircle, circle, atCircle},
         [&](DiagramComp& d) { EXPECT_EQ(onlyConstraint(d)->GetTag(), tag_crtC); }},
        // A plot whose curve the kernel has yet to compute cannot be met:
        // the tangency is refused and the drawing stays as it was.
        {"tangent to a plot", 34069, {plot, v[2], s3},
         [&](DiagramComp& d) { EXPECT_EQ(d.GetConstraints().GetCount(), 0); }},
    };
    const std::vector<uint8_t> original = WriteComponent(*drawing);
    for (const MakerCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DrawingMaker& maker = Maker(c.command);
        const ItemArray<DiagramShape>& selected = Select(c.selection);
        const std::vector<uint8_t> selectedBytes = WriteComponent(*drawing);
        if (c.command != 34056) {
            ASSERT_TRUE(maker.CanMake(selected, drawing->GetDC()));
        }
        // Made and dropped unperformed: nothing changed, nothing freed twice.
        delete maker.Make(nullptr, selected, *drawing, DPoint(1, 1));
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        ASSERT_EQ(WriteComponent(*drawing), selectedBytes) << "a dropped action";
        std::unique_ptr<TAction> action(maker.Make(nullptr, Select(c.selection), *drawing, DPoint(1, 1)));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(WriteComponent(*drawing), selectedBytes) << "nothing added before the action runs";
        action->Perform();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        c.check(*drawing);
        ExpectUndoRedo(*action, selectedBytes, 2);
        action->Revert();
        action->Commit();
        action.reset();
        EXPECT_EQ(OwnershipFaults({drawing}), "");
        Select({});
        EXPECT_EQ(WriteComponent(*drawing), original);
    }
}

TEST_F(DrawingMakersTest, CancelledDialogsAndFixedVerticesBuildNothing)
{
    dialogs.vertex.reset();
    EXPECT_EQ(Maker(34050).Make(nullptr, Select({}), *drawing, DPoint(7, 8)), nullptr);
    EXPECT_EQ(dialogs.asked, DPoint(7, 8)) << "the dialog opens at the insertion point";
    dialogs.plot = false;
    EXPECT_EQ(Maker(34056).Make(nullptr, Select({}), *drawing, DPoint()), nullptr);
    InstallMakerDialogs(nullptr);
    EXPECT_EQ(Maker(34050).Make(nullptr, Select({}), *drawing, DPoint()), nullptr) << "no dialogs installed";

    // A vertex fixed already gets no second lock.
    v[0]->Fix();
    EXPECT_EQ(Maker(34064).Make(nullptr, Select({v[0]}), *drawing, DPoint()), nullptr);
    EXPECT_TRUE(v[0]->IsFixed());
    std::unique_ptr<TAction> both(Maker(34064).Make(nullptr, Select({v[0], v[1]}), *drawing, DPoint()));
    ASSERT_NE(both, nullptr);
    both->Perform();
    EXPECT_EQ(drawing->GetConstraints().GetCount(), 1);
    both->Revert();
    EXPECT_TRUE(v[0]->IsFixed());
    EXPECT_FALSE(v[1]->IsFixed());
    both->Commit();
}

} // namespace
