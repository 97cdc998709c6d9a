// Two shapes of every kind sharing one vertex (a corner, an end, a centre),
// with every constraint kind bound to it: deleting the shared vertex or
// either shape, committing, painting and saving must touch nothing freed
// and leak nothing (the test build runs under the address and leak
// sanitizers), and the ownership rule holds after every step.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingEditActions.h"
#include "drawing/GroupConstraints.h"
#include "drawing/LineConstraints.h"
#include "drawing/PlotShape.h"
#include "drawing/PointConstraints.h"
#include "drawing/PolygonShape.h"
#include "drawing/ShapeMakers.h"
#include "foundation/TAction.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"

#include <functional>

namespace {

VertexShape* At(double x, double y)
{
    return new VertexShape(x, y);
}

struct ShapeKind {
    const char* name;
    // A shape of the kind that uses v; dx places the rest of it apart.
    std::function<DiagramShape*(VertexShape* v, double dx)> make;
};

const ShapeKind kShapes[] = {
    {"segment", [](VertexShape* v, double dx) { return new SegmentShape(v, At(dx, 1)); }},
    {"curve", [](VertexShape* v, double dx) { return new CurveShape(At(dx, 2), v, At(dx, 3), At(dx / 2, 3)); }},
    {"circle", [](VertexShape* v, double dx) { return new CircleShape(v, new DrawVariable(dx / 4 + 1, false)); }},
    {"triangle", [](VertexShape* v, double dx) { return new TriangleShape(At(dx, 0), v, At(dx, 2)); }},
    {"rectangle", [](VertexShape* v, double dx) { return new RectangleShape(v, At(dx, 0), At(dx, 2), At(0, 2)); }},
    // v ends a curve edge of an open polygon.
    {"polygon",
     [](VertexShape* v, double dx) {
         VertexShape* a = At(dx, 1);
         ItemArray<EdgeShape> edges;
         edges.Add(new CurveShape(a, v, At(dx, 3), At(dx / 2, 3)));
         edges.Add(new SegmentShape(a, At(dx, -2)));
         return new PolygonShape(edges);
     }},
};

// The pair of shapes on v, and helpers away from them.
struct Scene {
    DiagramComp* d = nullptr;
    VertexShape* v = nullptr;
    DiagramShape* first = nullptr;
    DiagramShape* second = nullptr;
    VertexShape* w = nullptr;
    VertexShape* u = nullptr;
    SegmentShape* s = nullptr;
    CircleShape* c = nullptr;
    CurveShape* b = nullptr;
    PlotShape* plot = nullptr;

    // The circle on v when one of the pair is one, else the helper circle.
    CircleShape* Circle() const
    {
        for (DiagramShape* shape : {second, first})
            if (shape->IsCircle())
                return static_cast<CircleShape*>(shape);
        return c;
    }
};

Scene MakeScene(const ShapeKind& first, const ShapeKind& second)
{
    Scene s;
    s.d = new DiagramComp;
    s.d->SetSize(2000, 2000);
    s.v = At(0, 0);
    s.first = first.make(s.v, 3);
    s.second = second.make(s.v, -3);
    s.d->AddShape(s.first);
    s.d->AddShape(s.second);
    s.w = At(8, 8);
    s.d->AddShape(s.w);
    s.u = At(9, 7);
    s.d->AddShape(s.u);
    s.s = new SegmentShape(At(10, 0), At(12, 1));
    s.d->AddShape(s.s);
    s.c = new CircleShape(At(14, 0), new DrawVariable(1.0, false));
    s.d->AddShape(s.c);
    s.b = new CurveShape(At(10, -4), At(13, -4), At(11, -3), At(12, -3));
    s.d->AddShape(s.b);
    s.plot = new PlotShape(new CompList, false);
    s.d->AddShape(s.plot);
    s.d->SettleOwners();
    return s;
}

using ConstraintKind = ConstraintKindCase<Scene>;

const ConstraintKind kConstraints[] = {
    {"Angle", [](Scene& s) { return Labelled(s.d, new AngleConstraint(s.w, s.v, s.u)); }},
    {"Coincident", [](Scene& s) { return Added(s.d, new CoincidentConstraint(s.v, s.w)); }},
    {"Distance", [](Scene& s) { return Labelled(s.d, new DistanceConstraint(s.v, s.w)); }},
    {"FixedPoint", [](Scene& s) { return Added(s.d, new FixedPointConstraint(s.v)); }},
    {"Midpoint", [](Scene& s) { return Added(s.d, new MidpointConstraint(s.w, s.v, s.u)); }},
    {"PointOnSegment", [](Scene& s) { return Added(s.d, new PointOnSegmentConstraint(s.w, s.u, s.v)); }},
    {"Parallel", [](Scene& s) { return Added(s.d, new ParallelConstraint(s.v, s.w, s.s->GetStart(), s.s->GetEnd())); }},
    {"Perpendicular", [](Scene& s) { return Added(s.d, new PerpendicularConstraint(s.w, s.v, s.u)); }},
    {"Horizontal", [](Scene& s) { return Added(s.d, new HorizontalConstraint(s.v, s.w)); }},
    {"Vertical", [](Scene& s) { return Added(s.d, new VerticalConstraint(s.v, s.u)); }},
    {"Slope", [](Scene& s) { return Added(s.d, new SlopeConstraint(s.v, s.w)); }},
    {"Radius",
     [](Scene& s) { return Labelled(s.d, new RadiusConstraint(s.Circle()->GetCentre(), s.Circle()->GetRadiusVar())); }},
    {"PointOnCircle",
     [](Scene& s) {
         CircleShape* circle = s.Circle();
         VertexShape* p = circle == s.c ? s.v : s.w;
         return Added(s.d, new PointOnCircleConstraint(circle->GetCentre(), circle->GetRadiusVar(), p));
     }},
    {"CircleTangent",
     [](Scene& s) {
         CircleShape* circle = s.Circle();
         return Added(s.d, new CircleTangentConstraint(s.s, circle == s.c ? s.v : s.w, circle));
     }},
    {"PointOnCurve", [](Scene& s) { return Added(s.d, new PointOnCurveConstraint(s.b, s.v)); }},
    {"PointOnPlot", [](Scene& s) { return Added(s.d, new PointOnPlotConstraint(s.plot, s.v)); }},
    {"Arc", [](Scene& s) { return Labelled(s.d, new ArcConstraint(s.b, s.v)); }},
    {"CurveTangent", [](Scene& s) { return Added(s.d, new CurveTangentConstraint(s.s, s.v, s.b)); }},
    {"PlotTangent", [](Scene& s) { return Added(s.d, new PlotTangentConstraint(s.s, s.v, s.plot)); }},
    {"EqualLength",
     [](Scene& s) {
         std::vector<SegmentShape*> segments{s.s};
         for (DiagramShape* side : s.first->GetSides())
             if (side->IsSegment() && static_cast<SegmentShape*>(side)->HasEnd(s.v))
                 segments.push_back(static_cast<SegmentShape*>(side));
         return Added(s.d, new EqualLengthConstraint(segments));
     }},
    {"EquationOnItsX",
     [](Scene& s) {
         auto row = std::make_unique<CompArray>();
         row->Append(new DrawValueComp(s.v->GetXVar()));
         auto* label = new DrawLabel(s.d, DPoint(1, 1), DPoint(0, 0), true, new CompList(std::move(row)));
         return Added(s.d, new EquationConstraint(DPoint(1, 1), label));
     }},
};

struct Target {
    const char* name;
    std::function<DiagramShape*(Scene&)> item;
};

const Target kTargets[] = {
    {"the shared vertex", [](Scene& s) { return s.v; }},
    {"the first shape", [](Scene& s) { return s.first; }},
    {"the second shape", [](Scene& s) { return s.second; }},
};

class SharedVertexRemovalTest : public DrawingTest,
                                public ::testing::WithParamInterface<std::pair<ShapeKind, ShapeKind>> {
protected:
    // Paints and saves: both read every item and variable the drawing holds.
    static void Use(DiagramComp& drawing)
    {
        (void)WriteComponent(drawing);
        drawing.Render();
    }
};

std::vector<std::pair<ShapeKind, ShapeKind>> Pairs()
{
    std::vector<std::pair<ShapeKind, ShapeKind>> pairs;
    for (const ShapeKind& first : kShapes)
        for (const ShapeKind& second : kShapes)
            pairs.emplace_back(first, second);
    return pairs;
}

} // namespace

TEST_P(SharedVertexRemovalTest, DeletingASharedItemFreesNothingStillUsed)
{
    const auto& [firstKind, secondKind] = GetParam();
    for (const ConstraintKind& kind : kConstraints)
        for (const Target& target : kTargets) {
            SCOPED_TRACE(std::string(kind.name) + ", deleting " + target.name);
            Scene s = MakeScene(firstKind, secondKind);
            std::unique_ptr<DiagramComp, void (*)(DiagramComp*)> owner(s.d, [](DiagramComp* d) { d->Delete(); });
            kind.make(s);
            ASSERT_EQ(OwnershipFaults({s.d}), "");
            s.d->SelectShape(target.item(s), false);

            auto action = std::make_unique<TDeleteDrawingAction>(s.d);
            action->Perform();
            EXPECT_EQ(OwnershipFaults({s.d, action->GetRemoved()}, &action->GetEdits()), "") << "done";
            Use(*s.d);
            action->Revert();
            EXPECT_EQ(OwnershipFaults({s.d}), "") << "undone";
            Use(*s.d);
            action->Perform();
            action->Commit();
            action.reset();
            EXPECT_EQ(OwnershipFaults({s.d}), "") << "committed";
            Use(*s.d);
            const auto bytes = WriteComponent(*s.d);
            auto again = ReadComponent(bytes);
            EXPECT_EQ(WriteComponent(*again), bytes) << "the committed drawing reads back as written";
        }
}

INSTANTIATE_TEST_SUITE_P(Pairs, SharedVertexRemovalTest, ::testing::ValuesIn(Pairs()), [](const auto& info) {
    return std::string(info.param.first.name) + "_" + info.param.second.name;
});

namespace {

// The rectangle maker builds on vertices other shapes hold: a selected
// segment's own ends, or three corners of a triangle.
struct SharedCornerCase {
    const char* name;
    // Adds the shape the rectangle builds on and answers what to select.
    std::function<std::vector<DiagramShape*>(DiagramComp&)> basis;
};

const SharedCornerCase kSharedCorners[] = {
    {"a segment's own ends",
     [](DiagramComp& d) {
         auto* segment = new SegmentShape(At(0, 0), At(2, 0));
         d.AddShape(segment);
         return std::vector<DiagramShape*>{segment};
     }},
    {"three corners of a triangle",
     [](DiagramComp& d) {
         auto* triangle = new TriangleShape(At(0, 0), At(2, 0), At(2, 1));
         d.AddShape(triangle);
         return std::vector<DiagramShape*>{triangle->GetVertex(0), triangle->GetVertex(1), triangle->GetVertex(2)};
     }},
};

} // namespace

TEST_F(DrawingTest, DeletingACornerARectangleSharesLeavesEveryShapeOnLiveVertices)
{
    const RectangleMaker rectangle;
    for (const SharedCornerCase& c : kSharedCorners)
        for (int corner = 0; corner < 4; ++corner) {
            SCOPED_TRACE(std::string(c.name) + ", corner " + std::to_string(corner));
            std::unique_ptr<DiagramComp, void (*)(DiagramComp*)> drawing(new DiagramComp,
                                                                         [](DiagramComp* d) { d->Delete(); });
            drawing->SetSize(2000, 2000);
            for (DiagramShape* shape : c.basis(*drawing))
                drawing->SelectShape(shape, true);
            std::unique_ptr<TAction> make(
                rectangle.Make(nullptr, drawing->GetSelectedShapes(), *drawing, DPoint(0, 0)));
            make->Perform();
            make->Commit();
            auto* made = static_cast<RectangleShape*>(drawing->GetShapes().GetAt(drawing->GetShapes().GetCount() - 1));
            drawing->AddConstraint(new DistanceConstraint(made->GetVertex(0), made->GetVertex(2)));
            drawing->SelectShape(made->GetVertex(corner), false);
            TDeleteDrawingAction remove(drawing.get());
            remove.Perform();
            remove.Commit();
            EXPECT_EQ(OwnershipFaults({drawing.get()}), "");
            drawing->Render();
            const auto bytes = WriteComponent(*drawing);
            EXPECT_EQ(WriteComponent(*ReadComponent(bytes)), bytes);
        }
}

// Deleting one of two circles on one centre leaves the other circle's
// radius constraint with it, whichever circle the centre counts as part of.
TEST_F(DrawingTest, DeletingOneOfTwoConcentricCirclesKeepsTheOthersRadiusConstraint)
{
    for (bool deleteOwner : {false, true}) {
        SCOPED_TRACE(deleteOwner ? "the centre's owner deleted" : "the other circle deleted");
        std::unique_ptr<DiagramComp, void (*)(DiagramComp*)> d(new DiagramComp, [](DiagramComp* c) { c->Delete(); });
        d->SetSize(2000, 2000);
        auto* centre = At(0, 0);
        auto* first = new CircleShape(centre, new DrawVariable(1.0, false));
        auto* second = new CircleShape(centre, new DrawVariable(2.0, false));
        d->AddShape(first);
        d->AddShape(second);
        d->SettleOwners();
        CircleShape* owner = static_cast<CircleShape*>(centre->GetOwnerShape());
        CircleShape* gone = deleteOwner ? owner : (owner == first ? second : first);
        CircleShape* kept = gone == first ? second : first;
        auto* radius = new RadiusConstraint(centre, kept->GetRadiusVar());
        d->AddConstraint(radius);
        radius->ApplyLock();
        d->SelectShape(gone, false);
        TDeleteDrawingAction remove(d.get());
        remove.Perform();
        remove.Commit();
        EXPECT_TRUE(d->GetConstraints().Contains(radius));
        EXPECT_TRUE(kept->GetRadiusVar()->IsFixed()) << "the constraint still holds the radius";
        EXPECT_EQ(OwnershipFaults({d.get()}), "");
    }
}
