// Every constraint kind against removals of every shape kind and part: a
// constraint bound to anything the removal frees goes with it and comes
// back on undo. The ownership rule (with both directions of the selection
// and the items constraints bind) is checked after every step, and the
// drawing is painted and saved after each, so that a constraint left
// pointing at a freed item shows under the address sanitizer.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingEditActions.h"
#include "drawing/GroupConstraints.h"
#include "drawing/LineConstraints.h"
#include "drawing/PlotShape.h"
#include "drawing/PointConstraints.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"

#include <algorithm>
#include <functional>

namespace {

// One shape of every kind, and a free vertex.
struct Scene {
    DiagramComp* d = nullptr;
    TriangleShape* t = nullptr; // corners v0 (0,0), v1 (4,0), v2 (2,3); side k joins vk to vk+1
    SegmentShape* f = nullptr;
    CircleShape* c = nullptr;
    CurveShape* b = nullptr;
    PolygonShape* p = nullptr; // a closed square of four segments
    PlotShape* plot = nullptr;
    VertexShape* w = nullptr;

    VertexShape* V(int i) const { return t->GetVertex(i); }
    SegmentShape* S(int i) const { return t->GetSide(i); }
    SegmentShape* E(int i) const { return static_cast<SegmentShape*>(p->GetEdges().GetAt(i)); }
    VertexShape* Q(int i) const { return p->GetVertexArray().GetAt(i); }
};

Scene MakeScene()
{
    Scene s;
    s.d = new DiagramComp;
    s.d->SetSize(2000, 2000);
    s.t = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(2, 3));
    s.d->AddShape(s.t);
    s.f = new SegmentShape(new VertexShape(5, 0), new VertexShape(7, 1));
    s.d->AddShape(s.f);
    s.c = new CircleShape(new VertexShape(9, 3), new DrawVariable(1.0, false));
    s.d->AddShape(s.c);
    s.b =
        new CurveShape(new VertexShape(0, -2), new VertexShape(3, -2), new VertexShape(1, -1), new VertexShape(2, -1));
    s.d->AddShape(s.b);
    VertexShape* q[] = {new VertexShape(10, 0), new VertexShape(11, 0), new VertexShape(11, 1), new VertexShape(10, 1)};
    ItemArray<EdgeShape> edges;
    for (int i = 0; i < 4; ++i)
        edges.Add(new SegmentShape(q[i], q[(i + 1) % 4]));
    s.p = new PolygonShape(edges);
    s.d->AddShape(s.p);
    s.plot = new PlotShape(new CompList, false);
    s.d->AddShape(s.plot);
    s.w = new VertexShape(5, 3);
    s.d->AddShape(s.w);
    return s;
}

using KindCase = ConstraintKindCase<Scene>;

const KindCase kKinds[] = {
    {"Angle", [](Scene& s) { return Labelled(s.d, new AngleConstraint(s.V(0), s.V(1), s.V(2))); }},
    {"Coincident", [](Scene& s) { return Added(s.d, new CoincidentConstraint(s.V(1), s.f->GetStart())); }},
    {"Distance", [](Scene& s) { return Labelled(s.d, new DistanceConstraint(s.V(0), s.V(1))); }},
    {"FixedPoint", [](Scene& s) { return Added(s.d, new FixedPointConstraint(s.V(2))); }},
    {"Midpoint", [](Scene& s) { return Added(s.d, new MidpointConstraint(s.V(0), s.w, s.V(1))); }},
    {"Radius", [](Scene& s) { return Labelled(s.d, new RadiusConstraint(s.c->GetCentre(), s.c->GetRadiusVar())); }},
    {"PointOnSegment",
     [](Scene& s) { return Added(s.d, new PointOnSegmentConstraint(s.f->GetStart(), s.f->GetEnd(), s.V(2))); }},
    {"Parallel",
     [](Scene& s) { return Added(s.d, new ParallelConstraint(s.V(0), s.V(1), s.f->GetStart(), s.f->GetEnd())); }},
    {"Perpendicular", [](Scene& s) { return Added(s.d, new PerpendicularConstraint(s.V(0), s.V(1), s.V(2))); }},
    {"Horizontal", [](Scene& s) { return Added(s.d, new HorizontalConstraint(s.V(0), s.V(1))); }},
    {"Vertical", [](Scene& s) { return Added(s.d, new VerticalConstraint(s.Q(1), s.Q(2))); }},
    {"Slope", [](Scene& s) { return Added(s.d, new SlopeConstraint(s.V(1), s.V(2))); }},
    {"PointOnCurve", [](Scene& s) { return Added(s.d, new PointOnCurveConstraint(s.b, s.w)); }},
    {"PointOnCircle",
     [](Scene& s) { return Added(s.d, new PointOnCircleConstraint(s.c->GetCentre(), s.c->GetRadiusVar(), s.w)); }},
    {"PointOnPlot", [](Scene& s) { return Added(s.d, new PointOnPlotConstraint(s.plot, s.w)); }},
    {"Arc", [](Scene& s) { return Labelled(s.d, new ArcConstraint(s.b, s.V(2))); }},
    {"CircleTangentOnASide", [](Scene& s) { return Added(s.d, new CircleTangentConstraint(s.S(0), s.w, s.c)); }},
    {"CurveTangentOnAFreeSegment", [](Scene& s) { return Added(s.d, new CurveTangentConstraint(s.f, s.w, s.b)); }},
    {"PlotTangentOnASide", [](Scene& s) { return Added(s.d, new PlotTangentConstraint(s.S(1), s.w, s.plot)); }},
    {"EqualLengthOfTwoSides",
     [](Scene& s) {
         return Added(s.d, new EqualLengthConstraint({s.S(0), s.S(1)}));
     }},
    {"EqualLengthOfFour",
     [](Scene& s) {
         return Added(s.d, new EqualLengthConstraint({s.S(0), s.S(1), s.S(2), s.f}));
     }},
    {"EqualLengthOfPolygonEdges",
     [](Scene& s) {
         return Added(s.d, new EqualLengthConstraint({s.E(0), s.E(1)}));
     }},
    {"Equation",
     [](Scene& s) {
         auto* label = new DrawLabel(s.d, DPoint(1, 1), DPoint(0, 0), true, new CompList);
         return Added(s.d, new EquationConstraint(DPoint(1, 1), label));
     }},
};

struct Target {
    const char* name;
    std::function<std::vector<DiagramShape*>(Scene&)> items;
};

const Target kTargets[] = {
    {"triangle corner 0", [](Scene& s) { return std::vector<DiagramShape*>{s.V(0)}; }},
    {"triangle corner 1 (shared by sides 0 and 1)", [](Scene& s) { return std::vector<DiagramShape*>{s.V(1)}; }},
    {"triangle corner 2", [](Scene& s) { return std::vector<DiagramShape*>{s.V(2)}; }},
    {"triangle side 0", [](Scene& s) { return std::vector<DiagramShape*>{s.S(0)}; }},
    {"triangle side 1", [](Scene& s) { return std::vector<DiagramShape*>{s.S(1)}; }},
    {"triangle sides 0 and 1",
     [](Scene& s) {
         return std::vector<DiagramShape*>{s.S(0), s.S(1)};
     }},
    {"triangle sides 0, 1 and the free segment",
     [](Scene& s) {
         return std::vector<DiagramShape*>{s.S(0), s.S(1), s.f};
     }},
    {"whole triangle", [](Scene& s) { return std::vector<DiagramShape*>{s.t}; }},
    {"start of the free segment", [](Scene& s) { return std::vector<DiagramShape*>{s.f->GetStart()}; }},
    {"free segment", [](Scene& s) { return std::vector<DiagramShape*>{s.f}; }},
    {"circle centre", [](Scene& s) { return std::vector<DiagramShape*>{s.c->GetCentre()}; }},
    {"circle", [](Scene& s) { return std::vector<DiagramShape*>{s.c}; }},
    {"curve control", [](Scene& s) { return std::vector<DiagramShape*>{s.b->GetControl1()}; }},
    {"curve end", [](Scene& s) { return std::vector<DiagramShape*>{s.b->GetStart()}; }},
    {"curve", [](Scene& s) { return std::vector<DiagramShape*>{s.b}; }},
    {"polygon edge 0", [](Scene& s) { return std::vector<DiagramShape*>{s.E(0)}; }},
    {"polygon corner 1 (shared by edges 0 and 1)", [](Scene& s) { return std::vector<DiagramShape*>{s.Q(1)}; }},
    {"polygon", [](Scene& s) { return std::vector<DiagramShape*>{s.p}; }},
    {"plot", [](Scene& s) { return std::vector<DiagramShape*>{s.plot}; }},
    {"free vertex", [](Scene& s) { return std::vector<DiagramShape*>{s.w}; }},
};

class ConstraintRemovalTest : public DrawingTest, public ::testing::WithParamInterface<KindCase> {
protected:
    // Paints and saves the drawing: both read every item its constraints bind.
    void Use(DiagramComp& drawing)
    {
        (void)WriteComponent(drawing);
        drawing.Render();
    }
};

} // namespace

TEST_P(ConstraintRemovalTest, AConstraintOnAnythingARemovalFreesGoesWithItAndComesBackOnUndo)
{
    for (const Target& target : kTargets)
        for (bool selectConstraint : {false, true}) {
            SCOPED_TRACE(std::string(target.name) + (selectConstraint ? ", the constraint selected too" : ""));
            Scene s = MakeScene();
            std::unique_ptr<DiagramComp, void (*)(DiagramComp*)> owner(s.d, [](DiagramComp* d) { d->Delete(); });
            DrawConstraint* constraint = GetParam().make(s);
            std::vector<const DiagramItem*> bound = constraint->GetBoundItems();
            std::sort(bound.begin(), bound.end());
            const int constraints = s.d->GetConstraints().GetCount();
            bool first = true;
            for (DiagramShape* item : target.items(s)) {
                s.d->SelectShape(item, !first);
                first = false;
            }
            if (selectConstraint)
                s.d->SelectConstraint(constraint, true);
            ASSERT_EQ(OwnershipFaults({s.d}), "");

            auto action = std::make_unique<TDeleteDrawingAction>(s.d);
            for (int round = 0; round < 2; ++round) {
                action->Perform();
                ASSERT_NE(action->GetRemoved(), nullptr);
                EXPECT_EQ(OwnershipFaults({s.d, action->GetRemoved()}, &action->GetEdits()), "") << "done " << round;
                Use(*s.d);
                action->Revert();
                EXPECT_EQ(OwnershipFaults({s.d}), "") << "undone " << round;
                EXPECT_EQ(s.d->GetConstraints().GetCount(), constraints);
                EXPECT_TRUE(s.d->GetConstraints().Contains(constraint));
                std::vector<const DiagramItem*> now = constraint->GetBoundItems();
                std::sort(now.begin(), now.end());
                EXPECT_EQ(now, bound) << "the constraint binds what it bound before";
                Use(*s.d);
            }
            action->Perform();
            action->Commit();
            action.reset();
            EXPECT_EQ(OwnershipFaults({s.d}), "") << "committed";
            Use(*s.d);
            s.d->DeselectAll(true);
            EXPECT_EQ(OwnershipFaults({s.d}), "") << "deselected after commit";
        }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConstraintRemovalTest, ::testing::ValuesIn(kKinds),
                         [](const auto& info) { return std::string(info.param.name); });

// Taking a constraint out of the drawing clears its selected mark, so that
// after an undo and redo nothing unrelated is deleted with it.
TEST_F(DrawingTest, ARemovedConstraintLeavesNoSelectedMarkBehind)
{
    Scene s = MakeScene();
    std::unique_ptr<DiagramComp, void (*)(DiagramComp*)> owner(s.d, [](DiagramComp* d) { d->Delete(); });
    auto* distance = new DistanceConstraint(s.V(0), s.V(1));
    s.d->AddConstraint(distance);
    s.d->SelectConstraint(distance, false);
    s.d->RemoveConstraint(distance);
    EXPECT_FALSE(distance->IsSelected());
    s.d->AddConstraint(distance);
    EXPECT_EQ(OwnershipFaults({s.d}), "");

    s.d->SelectConstraint(distance, false);
    TDeleteDrawingAction remove(s.d);
    remove.Perform();
    remove.Revert();
    EXPECT_EQ(OwnershipFaults({s.d}), "");
    s.d->DeselectAll(true);
    s.d->SelectShape(s.w, false);
    TDeleteDrawingAction unrelated(s.d);
    unrelated.Perform();
    EXPECT_TRUE(s.d->GetConstraints().Contains(distance)) << "deleting a vertex does not take the constraint";
    unrelated.Revert();
}
