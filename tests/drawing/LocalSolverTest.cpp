// The numeric solver: its cases in a table, the gathering rules, drags of a
// constrained rectangle and triangle, and the faults it must not have
// (accepting a far-off cluster at high zoom, hiding one violated equation in
// an average, writing values that are not finite).
#include "DrawingTestSupport.h"

#include "drawing/AnswerCheck.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/DiagramActions.h"
#include "drawing/DrawLabel.h"
#include "drawing/DiagramEdit.h"
#include "drawing/DrawVariable.h"
#include "drawing/LineConstraints.h"
#include "drawing/LocalSolver.h"
#include "drawing/PointConstraints.h"
#include "drawing/GroupConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"

#include <cmath>
#include <functional>

namespace {

struct Pool {
    std::vector<std::unique_ptr<DrawVariable>> variables;
    std::vector<std::unique_ptr<VertexShape>> vertices;
    std::vector<std::unique_ptr<ConstraintEqn>> equations;

    DrawVariable* Var(double value, bool fixed = false)
    {
        variables.push_back(std::make_unique<DrawVariable>(value, fixed));
        return variables.back().get();
    }
    VertexShape* Point(double x, double y, bool fixed = false)
    {
        vertices.push_back(std::make_unique<VertexShape>(x, y));
        if (fixed)
            vertices.back()->Fix();
        return vertices.back().get();
    }
    template <class T, class... A>
    T* Eqn(A... args)
    {
        equations.push_back(std::make_unique<T>(args...));
        return static_cast<T*>(equations.back().get());
    }
    std::vector<ConstraintEqn*> All() const
    {
        std::vector<ConstraintEqn*> list;
        for (const auto& e : equations)
            list.push_back(e.get());
        return list;
    }
    std::vector<double> Values() const
    {
        std::vector<double> values;
        for (const auto& v : variables)
            values.push_back(v->GetValue());
        for (const auto& p : vertices)
            values.push_back(p->GetX()), values.push_back(p->GetY());
        return values;
    }
};

ItemArray<DrawVariable> Start(std::initializer_list<DrawVariable*> variables)
{
    ItemArray<DrawVariable> list;
    for (DrawVariable* v : variables)
        list.Add(v);
    return list;
}

struct SolverCase {
    const char* name;
    // Builds the equations and answers the start variables.
    std::function<ItemArray<DrawVariable>(Pool&)> build;
    bool solved;
    LocalSolver::Outcome outcome;
    int maxSteps;
    // Checked after the solve.
    std::function<void(Pool&, const std::vector<double>& before)> check;
};

const SolverCase kSolverCases[] = {
    {"a cluster without equations succeeds at once",
     [](Pool& p) { return Start({p.Var(1.0)}); }, true, LocalSolver::Outcome::Solved, 0,
     [](Pool& p, const std::vector<double>& before) { EXPECT_EQ(p.Values(), before); }},
    {"a distance between a free and a fixed point converges along their line",
     [](Pool& p) {
         VertexShape* fixed = p.Point(0, 0, true);
         VertexShape* free = p.Point(3, 4);
         p.Eqn<DistanceEqn>(fixed, free, p.Var(10.0, true));
         return Start({free->GetXVar(), free->GetYVar()});
     },
     true, LocalSolver::Outcome::Solved, 8,
     [](Pool& p, const std::vector<double>&) {
         EXPECT_NEAR(p.vertices[1]->GetX(), 6.0, 1e-6);
         EXPECT_NEAR(p.vertices[1]->GetY(), 8.0, 1e-6);
         EXPECT_EQ(p.vertices[0]->GetPoint(), DPoint(0, 0)) << "fixed variables stay";
     }},
    {"x = 1 and x = 2 through fixed partners fail and restore every value",
     [](Pool& p) {
         DrawVariable* x = p.Var(0.0);
         p.Eqn<EqualEqn>(x, p.Var(1.0, true));
         p.Eqn<EqualEqn>(x, p.Var(2.0, true));
         return Start({x});
     },
     false, LocalSolver::Outcome::NotConverged, LocalSolver::kMaxSteps,
     [](Pool& p, const std::vector<double>& before) { EXPECT_EQ(p.Values(), before); }},
    {"a square Jacobian with a zero first pivot is solved",
     [](Pool& p) {
         DrawVariable* x = p.Var(0.0);
         DrawVariable* y = p.Var(0.0);
         p.Eqn<EqualEqn>(y, p.Var(3.0, true));
         p.Eqn<EqualEqn>(x, p.Var(5.0, true));
         return Start({x, y});
     },
     true, LocalSolver::Outcome::Solved, 2,
     [](Pool& p, const std::vector<double>&) {
         EXPECT_NEAR(p.variables[0]->GetValue(), 5.0, 1e-9);
         EXPECT_NEAR(p.variables[1]->GetValue(), 3.0, 1e-9);
     }},
    {"two copies of one constraint (a singular system) still solve",
     [](Pool& p) {
         VertexShape* fixed = p.Point(0, 0, true);
         VertexShape* free = p.Point(1, 1);
         DrawVariable* d = p.Var(2.0, true);
         p.Eqn<DistanceEqn>(fixed, free, d);
         p.Eqn<DistanceEqn>(fixed, free, d);
         return Start({free->GetXVar()});
     },
     true, LocalSolver::Outcome::Solved, 10,
     [](Pool& p, const std::vector<double>&) {
         EXPECT_NEAR(p.vertices[1]->GetPoint().Distance(DPoint(0, 0)), 2.0, 1e-6);
     }},
    {"an angle whose arm has no length writes nothing that is not finite",
     [](Pool& p) {
         VertexShape* apex = p.Point(0, 0);
         VertexShape* arm = p.Point(0, 0);
         p.Eqn<AngleEqn>(arm, apex, p.Point(1, 0, true), p.Var(1.0, true));
         return Start({apex->GetXVar()});
     },
     false, LocalSolver::Outcome::NotFinite, 0,
     [](Pool& p, const std::vector<double>& before) { EXPECT_EQ(p.Values(), before); }},
    {"one violated equation among many satisfied ones is not averaged away",
     [](Pool& p) {
         DrawVariable* x = p.Var(0.0);
         for (int i = 0; i < 99; ++i)
             p.Eqn<EqualEqn>(x, x);
         p.Eqn<EqualEqn>(x, p.Var(0.0, true));
         p.Eqn<EqualEqn>(x, p.Var(0.5, true));
         return Start({x});
     },
     false, LocalSolver::Outcome::NotConverged, LocalSolver::kMaxSteps,
     [](Pool& p, const std::vector<double>& before) { EXPECT_EQ(p.Values(), before); }},
    // The least change would shorten the arms into the apex: the arms
    // turn first, half each, and keep their lengths.
    {"a straight angle asked to be a right angle turns its arms",
     [](Pool& p) {
         VertexShape* apex = p.Point(0, 0, true);
         VertexShape* left = p.Point(-2, 0);
         VertexShape* right = p.Point(2, 0);
         p.Eqn<AngleEqn>(left, apex, right, p.Var(M_PI / 2, true));
         return Start({left->GetXVar(), right->GetXVar()});
     },
     true, LocalSolver::Outcome::Solved, 0,
     [](Pool& p, const std::vector<double>&) {
         for (int arm : {1, 2})
             EXPECT_NEAR(p.vertices[static_cast<size_t>(arm)]->GetPoint().Distance(DPoint(0, 0)), 2.0, 1e-9);
         EXPECT_NEAR(p.vertices[1]->GetPoint().Distance(p.vertices[2]->GetPoint()), 2 * std::sqrt(2.0), 1e-9);
     }},
    {"a distance whose square overflows is never counted as met",
     [](Pool& p) {
         VertexShape* free = p.Point(3, 4);
         p.Eqn<DistanceEqn>(p.Point(0, 0, true), free, p.Var(1e300, true));
         return Start({free->GetXVar()});
     },
     false, LocalSolver::Outcome::NotFinite, 0,
     [](Pool& p, const std::vector<double>& before) { EXPECT_EQ(p.Values(), before); }},
};

} // namespace

TEST(LocalSolver, Cases)
{
    for (const SolverCase& c : kSolverCases) {
        Pool pool;
        const ItemArray<DrawVariable> start = c.build(pool);
        const std::vector<double> before = pool.Values();
        LocalSolver solver(pool.All(), start, 1e-9);
        EXPECT_EQ(solver.Solve(), c.solved) << c.name;
        EXPECT_EQ(solver.GetOutcome(), c.outcome) << c.name;
        EXPECT_LE(solver.GetStepCount(), c.maxSteps) << c.name;
        c.check(pool, before);
    }
}

// The same figure solved at every zoom takes the same steps and lands on the
// same shape: the tolerance is a distance in the drawing's units.
TEST(LocalSolver, ConvergenceIsJudgedAtTheDrawingsScale)
{
    for (double scale : {1e-7, 1.0, 1e7}) {
        Pool pool;
        VertexShape* fixed = pool.Point(0, 0, true);
        VertexShape* free = pool.Point(3 * scale, 4 * scale);
        pool.Eqn<DistanceEqn>(fixed, free, pool.Var(10 * scale, true));
        LocalSolver solver(pool.All(), Start({free->GetXVar()}), 1e-3 * scale);
        EXPECT_TRUE(solver.Solve()) << scale;
        EXPECT_GE(solver.GetStepCount(), 2) << "a far-off cluster is not accepted after one step at " << scale;
        EXPECT_NEAR(free->GetPoint().Distance(DPoint(0, 0)) / scale, 10.0, 1e-3) << scale;
    }
}

// An answer that threw a point a million out held the rest of the figure
// only to a millionth of that: a side of 3 could end 1e-5 off. The figure
// before the solve bounds the tolerance.
TEST(LocalSolver, AnAnswerThrowingAPointFarOutIsHeldToTheFigureBefore)
{
    Pool pool;
    VertexShape* p = pool.Point(0, 0);
    VertexShape* q = pool.Point(3, 0);
    VertexShape* r = pool.Point(3, 1);
    DrawVariable* reach = pool.Var(1.0);
    AnswerCheck check;
    check.Gather(
        nullptr, {pool.Eqn<DistanceEqn>(p, q, pool.Var(3.0, true)), pool.Eqn<DistanceEqn>(q, r, reach)},
        [](const DrawVariable* v) { return !v->IsFixed(); }, 0.0);
    check.NoteFigureBefore();
    q->SetPoint(DPoint(3 + 1e-5, 0));
    r->SetPoint(DPoint(3 + 1e-5, 1e6));
    reach->SetValue(1e6);
    // No length turned negative and no side shrank: only the equations count.
    const auto was = [](const DrawVariable* v) { return v->GetValue(); };
    EXPECT_FALSE(check.Accept(was)) << "the side of 3 measures 3.00001";
    q->SetPoint(DPoint(3, 0));
    r->SetPoint(DPoint(3, 1e6));
    EXPECT_TRUE(check.Accept(was)) << "the point thrown out meets its own equation";
}

struct GatherCase {
    const char* name;
    // Builds equations and answers the start variables; expected counts.
    std::function<ItemArray<DrawVariable>(Pool&)> build;
    int variables;
    int equations;
};

const GatherCase kGatherCases[] = {
    {"the closure over shared free variables",
     [](Pool& p) {
         DrawVariable *a = p.Var(0), *b = p.Var(0), *c = p.Var(0), *d = p.Var(0);
         p.Eqn<EqualEqn>(a, b);
         p.Eqn<EqualEqn>(b, c);
         p.Eqn<EqualEqn>(d, d);
         return Start({a});
     },
     3, 2},
    {"a fixed variable ends a path",
     [](Pool& p) {
         DrawVariable *a = p.Var(0), *f = p.Var(0, true), *b = p.Var(0);
         p.Eqn<EqualEqn>(a, f);
         p.Eqn<EqualEqn>(f, b);
         return Start({a});
     },
     1, 1},
    {"a fixed variable of the start list is still looked up",
     [](Pool& p) {
         DrawVariable *f = p.Var(0, true), *b = p.Var(0);
         p.Eqn<EqualEqn>(f, b);
         return Start({f});
     },
     1, 1},
    {"a fixed value met through a shared variable stays out",
     [](Pool& p) {
         DrawVariable* a = p.Var(0);
         DrawVariable* v = p.Var(0);
         p.Eqn<EqualEqn>(a, v);
         p.Eqn<FixValueEqn>(v);
         return Start({a});
     },
     1, 1},
};

TEST(LocalSolver, GatheringRules)
{
    for (const GatherCase& c : kGatherCases) {
        Pool pool;
        const ItemArray<DrawVariable> start = c.build(pool);
        LocalSolver solver(pool.All(), start, 1e-9);
        EXPECT_EQ(solver.GetVariables().GetCount(), c.variables) << c.name;
        EXPECT_EQ(solver.GetEquations().GetCount(), c.equations) << c.name;
    }
}

TEST(LocalSolver, SnapshotsRestoreCommitAndSwapTheGatheredValues)
{
    Pool pool;
    VertexShape* fixed = pool.Point(0, 0, true);
    VertexShape* free = pool.Point(3, 4);
    pool.Eqn<DistanceEqn>(fixed, free, pool.Var(10.0, true));
    LocalSolver solver(pool.All(), Start({free->GetXVar(), free->GetYVar()}), 1e-9);
    ASSERT_TRUE(solver.Solve());
    const DPoint solved = free->GetPoint();
    solver.SwapGathered();
    EXPECT_EQ(free->GetPoint(), DPoint(3, 4));
    solver.SwapGathered();
    EXPECT_EQ(free->GetPoint(), solved);
    free->SetPoint(DPoint(100, 100));
    solver.Restore();
    EXPECT_EQ(free->GetPoint(), solved);
}

namespace {

using DrawingPtr = std::unique_ptr<DiagramComp, void (*)(DiagramComp*)>;

DrawingPtr NewDrawing()
{
    auto* drawing = new DiagramComp;
    drawing->SetSize(2000, 2000);
    return {drawing, [](DiagramComp* d) { d->Delete(); }};
}

ItemArray<DrawVariable> Coordinates(VertexShape* v) { return Start({v->GetXVar(), v->GetYVar()}); }

} // namespace

// Fixed corner, right angles, opposite sides equal, two sides of fixed
// length: dragging the far corner turns the rectangle about the fixed one.
TEST_F(DrawingTest, ARectangleDraggedByACornerStaysARectangleOfItsSize)
{
    DrawingPtr drawing = NewDrawing();
    auto* r = new RectangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(4, 3),
                                 new VertexShape(0, 3));
    drawing->AddShape(r);
    VertexShape* v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = r->GetVertices().GetAt(i);
    drawing->AddConstraint(new FixedPointConstraint(v[0]));
    for (int i = 0; i < 3; ++i)
        drawing->AddConstraint(new PerpendicularConstraint(v[i], v[(i + 1) % 4], v[(i + 2) % 4]));
    drawing->AddConstraint(new EqualLengthConstraint({r->GetSide(0), r->GetSide(2)}));
    drawing->AddConstraint(new EqualLengthConstraint({r->GetSide(1), r->GetSide(3)}));
    drawing->AddConstraint(new DistanceConstraint(v[0], v[1]));
    drawing->AddConstraint(new DistanceConstraint(v[1], v[2]));
    LocalSolver solver(*drawing, Coordinates(v[2]));
    ItemArray<VertexShape> dragged;
    dragged.Add(v[2]);
    for (int step = 0; step < 30; ++step) {
        ASSERT_TRUE(solver.SolveDrag(DPoint(-0.05, 0.04), dragged, v[2])) << step;
        EXPECT_EQ(v[0]->GetPoint(), DPoint(0, 0));
        EXPECT_NEAR(v[0]->GetPoint().Distance(v[1]->GetPoint()), 4.0, 1e-6) << step;
        EXPECT_NEAR(v[1]->GetPoint().Distance(v[2]->GetPoint()), 3.0, 1e-6) << step;
        EXPECT_NEAR(v[2]->GetPoint().Distance(v[3]->GetPoint()), 4.0, 1e-6) << step;
        EXPECT_NEAR(v[3]->GetPoint().Distance(v[0]->GetPoint()), 3.0, 1e-6) << step;
        EXPECT_NEAR(v[0]->GetPoint().Distance(v[2]->GetPoint()), 5.0, 1e-6) << "a right angle at each corner";
    }
    EXPECT_GT(std::atan2(v[1]->GetY(), v[1]->GetX()), 0.1) << "the rectangle turned";
}

TEST_F(DrawingTest, AConstrainedTriangleDraggedThroughAHundredStepsKeepsEveryConstraint)
{
    DrawingPtr drawing = NewDrawing();
    auto* t = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(1, 3));
    drawing->AddShape(t);
    VertexShape* a = t->GetVertices().GetAt(0);
    VertexShape* b = t->GetVertices().GetAt(1);
    VertexShape* c = t->GetVertices().GetAt(2);
    drawing->AddConstraint(new FixedPointConstraint(a));
    drawing->AddConstraint(new DistanceConstraint(a, b));
    drawing->AddConstraint(new AngleConstraint(c, a, b));
    LocalSolver solver(*drawing, Coordinates(c));
    ItemArray<VertexShape> dragged;
    dragged.Add(c);
    for (int step = 0; step < 100; ++step) {
        const double turn = 0.02 * step;
        ASSERT_TRUE(solver.SolveDrag(DPoint(0.05 * std::cos(turn), 0.05 * std::sin(turn)), dragged, c)) << step;
        for (int i = 0; i < solver.GetEquations().GetCount(); ++i)
            EXPECT_TRUE(solver.Holds(i)) << "step " << step << " equation " << i;
    }
    EXPECT_EQ(a->GetPoint(), DPoint(0, 0));
    EXPECT_NEAR(a->GetPoint().Distance(b->GetPoint()), 4.0, 1e-4) << "within the drawing's tolerance";
}

// A dragged vertex ends under the pointer where the constraints allow it,
// and where they do not, as near to it as they allow: on the circle it is
// held to, in the pointer's direction, not behind it. A pointer out of reach
// costs a few steps, not a hundred spent trying to hold the vertex there.
namespace {

struct DragCase {
    const char* name;
    // Builds the figure about a fixed corner at the origin; answers the
    // dragged vertex.
    std::function<VertexShape*(Pool&)> build;
    DPoint offset;
    // Where the dragged vertex must be, given the pointer (none: anywhere
    // the constraints hold).
    DPoint (*expected)(const DPoint& pointer);
    int maxSteps;
};

const DragCase kDragCases[] = {
    {"a corner hung on a side of fixed length from a swinging one",
     [](Pool& p) {
         VertexShape* a = p.Point(0, 0, true);
         VertexShape* b = p.Point(4, 0);
         VertexShape* c = p.Point(1, 3);
         p.Eqn<DistanceEqn>(a, b, p.Var(4.0, true));
         p.Eqn<DistanceEqn>(b, c, p.Var(std::sqrt(18.0), true));
         return c;
     },
     {0.5, 0.3},
     [](const DPoint& pointer) { return pointer; },
     5},
    {"the far corner of a rigid triangle turning about the fixed one",
     [](Pool& p) {
         VertexShape* a = p.Point(0, 0, true);
         VertexShape* b = p.Point(4, 0);
         VertexShape* c = p.Point(0, 3);
         p.Eqn<DistanceEqn>(a, b, p.Var(4.0, true));
         p.Eqn<DistanceEqn>(b, c, p.Var(5.0, true));
         p.Eqn<DistanceEqn>(c, a, p.Var(3.0, true));
         return c;
     },
     {-1.0, 0.0},
     [](const DPoint& pointer) { return pointer * (3.0 / pointer.Distance(DPoint(0, 0))); },
     6},
    {"the end of a jointed arm pulled beyond its reach",
     [](Pool& p) {
         VertexShape* a = p.Point(0, 0, true);
         VertexShape* b = p.Point(1, 0);
         VertexShape* c = p.Point(1, 1);
         p.Eqn<DistanceEqn>(a, b, p.Var(1.0, true));
         p.Eqn<DistanceEqn>(b, c, p.Var(1.0, true));
         return c;
     },
     {2.0, 1.0},
     nullptr,
     10},
};

} // namespace

TEST(LocalSolver, ADraggedVertexGoesAsNearThePointerAsTheConstraintsAllow)
{
    for (const DragCase& c : kDragCases) {
        Pool pool;
        VertexShape* dragged = c.build(pool);
        const DPoint pointer = dragged->GetPoint() + c.offset;
        LocalSolver solver(pool.All(), Start({dragged->GetXVar(), dragged->GetYVar()}), 1e-9);
        ItemArray<VertexShape> moved;
        moved.Add(dragged);
        ASSERT_TRUE(solver.SolveDrag(c.offset, moved, dragged)) << c.name;
        if (c.expected) {
            EXPECT_LT(dragged->GetPoint().Distance(c.expected(pointer)), 1e-6) << c.name;
        }
        EXPECT_LE(solver.GetStepCount(), c.maxSteps) << c.name;
        for (int i = 0; i < solver.GetEquations().GetCount(); ++i)
            EXPECT_TRUE(solver.Holds(i)) << c.name << ", equation " << i;
    }
}

TEST_F(DrawingTest, ANewValueOfAConstraintIsReachedByTheClusterOfThatConstraint)
{
    DrawingPtr drawing = NewDrawing();
    auto* s = new SegmentShape(new VertexShape(0, 0), new VertexShape(3, 4));
    drawing->AddShape(s);
    drawing->AddConstraint(new FixedPointConstraint(s->GetStart()));
    auto* distance = new DistanceConstraint(s->GetStart(), s->GetEnd());
    drawing->AddConstraint(distance);
    distance->GetVariable(0)->SetValue(10.0);
    LocalSolver solver(*drawing, distance);
    ASSERT_TRUE(solver.Solve());
    EXPECT_NEAR(s->GetEnd()->GetPoint().Distance(DPoint(0, 0)), 10.0, 1e-3);
    EXPECT_EQ(s->GetStart()->GetPoint(), DPoint(0, 0));
}

// Selection codes 1-3 keep an equal-length constraint on the side with more
// segments; undoing the removal gives every segment back to it.
TEST_F(DrawingTest, RemovingSomeSegmentsOfAnEqualLengthGroupSplitsItAndUndoJoinsIt)
{
    struct Split {
        int selected;
        int code;
        int keptSegments;
        int removedConstraints;
    };
    const Split kSplits[] = {{2, 1, 2, 1}, {1, 2, 3, 0}, {3, 3, 0, 1}};
    for (const Split& split : kSplits) {
        DrawingPtr drawing = NewDrawing();
        std::vector<SegmentShape*> segments;
        for (int i = 0; i < 4; ++i) {
            segments.push_back(new SegmentShape(new VertexShape(i, 0), new VertexShape(i, 1)));
            drawing->AddShape(segments.back());
        }
        auto* equal = new EqualLengthConstraint(segments);
        drawing->AddConstraint(equal);
        for (int i = 0; i < split.selected; ++i)
            drawing->SelectShape(segments[static_cast<size_t>(i)], true);
        EXPECT_EQ(equal->SelectionCode(), split.code);
        DiagramEditList edits;
        DiagramComp* removed = drawing->RemoveSelection(edits);
        EXPECT_EQ(removed->GetConstraints().GetCount(), split.removedConstraints) << split.code;
        if (split.keptSegments > 0) {
            ASSERT_EQ(drawing->GetConstraints().GetCount(), 1) << split.code;
            EXPECT_EQ(static_cast<int>(equal->GetSegments().size()), split.keptSegments) << split.code;
        }
        EXPECT_EQ(OwnershipFaults({drawing.get(), removed}, &edits), "") << split.code;
        drawing->PasteItems(removed, &edits);
        ASSERT_EQ(drawing->GetConstraints().GetCount(), 1) << split.code;
        EXPECT_EQ(equal->GetSegments().size(), 4u) << split.code;
        EXPECT_EQ(equal->GetEquationCount(), 4) << split.code;
    }
}

// Without the kernel an equation constraint cannot act: a drag says so once
// in the status bar, and the shapes move as if it were not there.
TEST_F(DrawingTest, WithoutTheKernelAnEquationSaysOnceThatItIsIgnored)
{
    StatusRecorder status;
    DrawingPtr drawing = NewDrawing();
    auto* t = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(1, 3));
    drawing->AddShape(t);
    auto* side = new DistanceConstraint(t->GetVertex(0), t->GetVertex(1));
    side->GetVariable(0)->SetFixed(false);
    drawing->AddConstraint(side);
    auto* text = new CompList;
    ExprNode::AppendCharacters("b=5", *text);
    drawing->AddConstraint(
        new EquationConstraint(DPoint(1, 1), new DrawLabel(drawing.get(), DPoint(1, 1), DPoint(0, 0), true, text)));
    VertexShape* corner = t->GetVertex(1);
    ItemArray<VertexShape> dragged;
    dragged.Add(corner);
    for (int step = 1; step <= 3; ++step) {
        std::unique_ptr<ConstraintCluster> solver = NewCluster(*drawing, Coordinates(corner));
        EXPECT_TRUE(solver->SolveDrag(DPoint(0.5, 0.0), dragged, corner));
        EXPECT_NEAR(corner->GetX(), 4.0 + 0.5 * step, 1e-9);
    }
    EXPECT_EQ(status.texts, std::vector<std::string>{kNoKernelForEquations});
}
