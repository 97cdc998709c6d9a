// The drawing's undoable additions and value updates: each step of do,
// undo and redo keeps the drawings' ownership rule, and undo puts back
// every value and lock the action changed.
#include "DrawingTestSupport.h"
#include "ScriptedKernel.h"

#include "drawing/CircleShape.h"
#include "drawing/DiagramActions.h"
#include "drawing/DrawIdentities.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/LineConstraints.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/TAction.h"
#include "support/FakeUserInterface.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace {

VertexShape* Vertex(DiagramComp* d, double x, double y)
{
    auto* v = new VertexShape(x, y);
    d->AddShape(v);
    return v;
}

SegmentShape* Segment(DiagramComp* d, double x1, double y1, double x2, double y2)
{
    auto* s = new SegmentShape(new VertexShape(x1, y1), new VertexShape(x2, y2));
    d->AddShape(s);
    return s;
}

std::vector<double> Values(const std::vector<VertexShape*>& vertices)
{
    std::vector<double> values;
    for (VertexShape* v : vertices) {
        values.push_back(v->GetXVar()->GetValue());
        values.push_back(v->GetYVar()->GetValue());
    }
    return values;
}

std::string Var(const DrawVariable* variable)
{
    return "VXDrawVar[" + std::to_string(DrawIdentities::OfVariable(variable)) + "]";
}

// The drawing's named variables, as name=value in table order.
std::string Named(const DiagramComp* d)
{
    std::string text;
    for (int i = 0; i < d->GetVariables().GetCount(); ++i)
        text += std::string(i ? " " : "") + d->GetVariables().GetAt(i).name.GetText() + "=" +
                std::to_string(d->GetVariables().GetAt(i).variable->GetValue());
    return text;
}

class DiagramActionsTest : public DrawingTest {
protected:
    DiagramActionsTest() : drawing(new DiagramComp), list(ListOf(drawing)) {}

    // Performs, then undoes and redoes twice; the ownership rule is checked
    // after every step and the checks given run in the done and undone states.
    void Cycle(TAction& action, const std::function<void()>& whenDone, const std::function<void()>& whenUndone)
    {
        action.Perform();
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round);
            EXPECT_EQ(OwnershipFaults({drawing}), "") << "done";
            whenDone();
            action.Revert();
            EXPECT_EQ(OwnershipFaults({drawing}), "") << "undone";
            whenUndone();
            action.Redo();
        }
    }

    DiagramComp* drawing;
    ListPtr list;
    FakeUserInterface ui;
};

TEST_F(DiagramActionsTest, ASolvedConstraintIsMetWhenDoneAndItsValuesComeBackOnUndo)
{
    SegmentShape* s = Segment(drawing, 0, 0, 3, 1);
    SegmentShape* t = Segment(drawing, 3, 1, 4, 4);
    std::vector<VertexShape*> all{s->GetStart(), s->GetEnd(), t->GetStart(), t->GetEnd()};
    const std::vector<double> before = Values(all);
    auto* perpendicular = new PerpendicularConstraint(s->GetStart(), s->GetEnd(), t->GetEnd());
    TAddConstraintAction action(drawing, perpendicular);
    std::vector<double> solved;
    action.Perform();
    EXPECT_NEAR(perpendicular->GetEquation(0)->Residual(), 0.0, 1e-6);
    solved = Values(all);
    EXPECT_NE(solved, before);
    EXPECT_EQ(drawing->GetSelectedConstraints().GetCount(), 1);
    action.Revert();
    Cycle(
        action,
        [&] {
            EXPECT_EQ(Values(all), solved);
            EXPECT_TRUE(drawing->GetConstraints().Contains(perpendicular));
        },
        [&] {
            EXPECT_EQ(Values(all), before);
            EXPECT_TRUE(drawing->GetConstraints().IsEmpty());
            EXPECT_TRUE(drawing->GetSelectedConstraints().IsEmpty());
        });
    action.Commit();
}

// Undoing the addition of a fixed point or a radius used to leave the vertex
// or the radius locked with no constraint holding it.
TEST_F(DiagramActionsTest, UndoingAnAddedFixedPointOrRadiusReleasesItsLock)
{
    auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false));
    drawing->AddShape(circle);
    VertexShape* p = Vertex(drawing, 2, 2);
    VertexShape* q = Vertex(drawing, 3, 1);
    ItemArray<DrawConstraint> fixes;
    fixes.Add(new FixedPointConstraint(p));
    fixes.Add(new FixedPointConstraint(q));
    auto locked = [&](bool expected) {
        EXPECT_EQ(p->IsFixed(), expected);
        EXPECT_EQ(p->GetXVar()->IsFixed(), expected);
        EXPECT_EQ(q->GetYVar()->IsFixed(), expected);
    };
    TAddConstraintsAction fixAction(drawing, std::move(fixes));
    Cycle(
        fixAction, [&] {
            locked(true);
            EXPECT_EQ(drawing->GetSelectedConstraints().GetCount(), 2);
        },
        [&] { locked(false); });
    fixAction.Commit();

    TAddConstraintNoSolveAction radiusAction(drawing,
                                             new RadiusConstraint(circle->GetCentre(), circle->GetRadiusVar()));
    Cycle(
        radiusAction, [&] { EXPECT_TRUE(circle->GetRadiusVar()->IsFixed()); },
        [&] { EXPECT_FALSE(circle->GetRadiusVar()->IsFixed()); });
    radiusAction.Revert();
    radiusAction.Commit();
    EXPECT_FALSE(circle->GetRadiusVar()->IsFixed());
    EXPECT_EQ(OwnershipFaults({drawing}), "");
}

// A segment drawn from a vertex of another shape: while undone it is not
// counted among the vertex's uses, and it is freed when dropped undone.
TEST_F(DiagramActionsTest, AShapeOverASharedVertexKeepsUseCountsThroughUndoRedoAndCommit)
{
    VertexShape* shared = Segment(drawing, 0, 0, 2, 0)->GetEnd();
    auto* end = new VertexShape(2, 2);
    auto* segment = new SegmentShape(shared, end);
    end->SetOwner(segment);
    {
        TAddShapeAction action(drawing, segment);
        Cycle(
            action,
            [&] {
                EXPECT_EQ(shared->GetUseCount(), 2);
                EXPECT_TRUE(drawing->GetSelectedShapes().IsEmpty());
                EXPECT_EQ(drawing->GetShapes().GetCount(), 2);
            },
            [&] {
                EXPECT_EQ(shared->GetUseCount(), 1);
                EXPECT_EQ(drawing->GetShapes().GetCount(), 1);
            });
        action.Revert();
        action.Commit();
    }
    EXPECT_EQ(shared->GetUseCount(), 1);
    EXPECT_EQ(OwnershipFaults({drawing}), "");
}

TEST_F(DiagramActionsTest, ALabelForAnItemWithAHiddenOneShowsItAndUndoHidesItAgain)
{
    SegmentShape* s = Segment(drawing, 0, 0, 1, 1);
    auto* fresh = new DistanceConstraint(s->GetStart(), s->GetEnd());
    drawing->AddConstraint(fresh);
    TAddLabelAction makeAction(drawing, fresh);
    Cycle(
        makeAction, [&] { EXPECT_TRUE(fresh->HasLabel()); }, [&] { EXPECT_FALSE(fresh->HasLabel()); });
    fresh->GetLabel()->Hide();
    TAddLabelAction showAction(drawing, fresh);
    Cycle(
        showAction, [&] { EXPECT_TRUE(fresh->GetLabel()->IsShown()); },
        [&] { EXPECT_FALSE(fresh->GetLabel()->IsShown()); });
    EXPECT_EQ(showAction.GetLabel(), nullptr);
    TAddLabelAction freeAction(drawing, nullptr);
    Cycle(
        freeAction, [&] { EXPECT_EQ(drawing->GetLabels().GetCount(), 2); },
        [&] { EXPECT_EQ(drawing->GetLabels().GetCount(), 1); });
    freeAction.Revert();
    freeAction.Commit();
    EXPECT_EQ(OwnershipFaults({drawing}), "");
}

// Two edits of one variable used to leave it, after undo, at the first
// edit's value instead of the value it had before the update.
TEST_F(DiagramActionsTest, UndoOfAnUpdatePutsATwiceEditedVariableBack)
{
    SegmentShape* s = Segment(drawing, 0, 0, 3, 0);
    drawing->AddConstraint(new HorizontalConstraint(s));
    std::vector<VertexShape*> all{s->GetStart(), s->GetEnd()};
    const std::vector<double> before = Values(all);
    DrawVariable* y = s->GetEnd()->GetYVar();
    drawing->AddPendingMove(y, 1.0);
    drawing->AddPendingMove(y, 2.0);
    TUpdateDiagramAction action(drawing);
    std::vector<double> solved;
    action.Perform();
    solved = Values(all);
    EXPECT_NEAR(s->GetStart()->GetYVar()->GetValue(), s->GetEnd()->GetYVar()->GetValue(), 1e-6);
    EXPECT_NE(solved, before);
    action.Revert();
    EXPECT_EQ(Values(all), before);
    action.Redo();
    EXPECT_EQ(Values(all), solved);
    action.Commit();
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(drawing->TakePendingMoves().empty());
}

// A kernel whose model filled a name and then found no solution (nor did
// the editor's solver after it) used to leave the name behind.
TEST_F(DiagramActionsTest, AnUpdateThatCannotBeSolvedSaysSoAndChangesNothing)
{
    for (bool withKernel : {false, true}) {
        SCOPED_TRACE(withKernel ? "kernel" : "editor's solver");
        ui.boxes.clear();
        VertexShape* p = Vertex(drawing, 0, 0);
        VertexShape* q = Vertex(drawing, 3, 4);
        drawing->AddConstraint(new FixedPointConstraint(p));
        drawing->AddConstraint(new FixedPointConstraint(q));
        auto* distance = new DistanceConstraint(p, q);
        drawing->AddConstraint(distance);
        DrawVariable* length = distance->GetVariable(0);
        drawing->AddPendingMove(length, 10.0);
        std::optional<ScriptedKernel> kernel;
        if (withKernel)
            kernel.emplace(std::vector<std::string>{"List[]", "List[List[c], List[]]", "List[Rule[c, 2.]]",
                                                    "List[" + Var(length) + "]", "List[0, List[]]", "List[]",
                                                    "List[]"});
        TUpdateDiagramAction action(drawing);
        action.Perform();
        EXPECT_EQ(ui.LastBoxText(), TUpdateDiagramAction::kNoSolution);
        EXPECT_DOUBLE_EQ(length->GetValue(), 5.0);
        EXPECT_EQ(Values({p, q}), (std::vector<double>{0, 0, 3, 4}));
        EXPECT_EQ(Named(drawing), "");
        action.Revert();
        EXPECT_DOUBLE_EQ(length->GetValue(), 5.0);
        action.Commit();
        // Undone, the failed edit stays pending for a later update.
        EXPECT_EQ(drawing->TakePendingMoves().size(), 1u);

        TUpdateDiagramAction nothing(drawing);
        nothing.Perform();
        EXPECT_EQ(ui.boxes.size(), 1u);
    }
}

// A value typed into a value display (Locked cleared) used to go straight
// into the variable, leaving the distance it measures broken on the screen,
// and then to meet the free point half way (5 typed 10 gave 7.50). The
// drawing moves to meet the typed value; only ends that cannot move make it
// give way. A value more than twice the length was met only part of the
// way (20 gave 10.69); a value that is no finite length was taken and
// counted as met. A kernel's solve used to leave behind, after undo, the
// name its model filled and the values it reported for named variables.
TEST_F(DiagramActionsTest, AValueTypedForADisplayMovesTheDrawingToMeetIt)
{
    const std::string enter = "Please enter a number.";
    const std::string range = "Please enter a number between 0 and 1000000000.";
    struct Row {
        const char* typed;
        bool startFixed;
        bool endFixed;
        double shown;
        std::string refusal = {};
        // A kernel solves: it fills the name c, answers the distance and
        // reports a = 9 and a new name d when the solve ends.
        bool kernel = false;
        // The drawing's zoom: the value is met as closely at any.
        double scale = 1.0;
    };
    const Row rows[] = {
        {"10", true, false, 10.0},           // the free end moves
        {"10", true, true, 5.0},             // no end can move: the length gives way
        {"20", false, false, 20.0},          // beyond twice the length
        {"40", false, false, 40.0},          //
        {"100", true, false, 100.0},         //
        {"1e6", false, false, 1e6},          //
        {"1e9", false, false, 1e9},          // the largest value taken
        {"1e300", false, false, 5.0, range}, // its square overflows
        {"inf", false, false, 5.0, enter},   // no finite number
        {"1e400", false, false, 5.0, enter}, //
        {"nan", false, false, 5.0, enter},   //
        {"-3", false, false, 5.0, range},    // no length is negative
        {"10", true, false, 10.0, {}, true}, //
        {"2", true, false, 2.0, {}, false, 400.0},
        {"2", false, false, 2.0, {}, false, 2500.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed + std::string(row.endFixed ? ", both ends fixed" : "") + " at scale " +
                     std::to_string(row.scale));
        ui.boxes.clear();
        drawing->GetDC().SetScale(row.scale);
        VertexShape* p = Vertex(drawing, 0, 0);
        VertexShape* q = Vertex(drawing, 3, 4);
        if (row.startFixed)
            drawing->AddConstraint(new FixedPointConstraint(p));
        if (row.endFixed)
            drawing->AddConstraint(new FixedPointConstraint(q));
        auto* distance = new DistanceConstraint(p, q);
        drawing->AddConstraint(distance);
        DrawVariable* length = distance->GetVariable(0);
        DrawValueComp display(length);
        const std::vector<double> before = Values({p, q});
        std::optional<ScriptedKernel> kernel;
        if (row.kernel) {
            drawing->GetVariables().SetNamed("a", 1.0);
            const std::string x = Var(q->GetXVar()), y = Var(q->GetYVar()), l = Var(length);
            kernel.emplace(std::vector<std::string>{
                "List[Rule[a, 1.]]", "List[List[c], List[]]", "List[Rule[c, 2.]]", "List[" + l + ", " + x + ", " + y + "]",
                // The model built again with the names held at their values.
                "List[]", "List[" + l + ", " + x + ", " + y + "]",
                "List[1, List[Rule[" + l + ", 10.], Rule[" + x + ", 6.], Rule[" + y + ", 8.]]]",
                "List[Rule[a, 9.], Rule[d, 7.]]"});
        }
        const std::string named = Named(drawing);
        std::unique_ptr<TAction> edit = display.MakeEdit(false, Str255(row.typed));
        EXPECT_EQ(edit != nullptr, row.refusal.empty());
        if (edit)
            edit->Perform();
        EXPECT_NEAR(length->GetValue(), row.shown, 1e-6);
        if (!row.endFixed && row.refusal.empty()) {
            EXPECT_EQ(length->GetValue(), std::stod(row.typed)) << "kept as typed";
        }
        EXPECT_NEAR(p->GetPoint().Distance(q->GetPoint()), row.shown, 1e-6 * row.shown) << "the distance is met";
        if (row.startFixed) {
            EXPECT_EQ(Values({p}), (std::vector<double>{0, 0}));
        }
        EXPECT_FALSE(display.ValueDiffers()) << "the display shows the solved value";
        EXPECT_TRUE(drawing->TakePendingMoves().empty());
        EXPECT_EQ(ui.LastBoxText(), row.refusal);
        if (!edit)
            continue;
        // One step: undo puts every point and the length back exactly, redo gives the solve's result again.
        const std::vector<double> solved = Values({p, q});
        const double shown = length->GetValue();
        const std::string reported = Named(drawing);
        EXPECT_EQ(reported, row.kernel ? "a=9.000000 c=2.000000 d=7.000000" : named);
        edit->Revert();
        EXPECT_EQ(Values({p, q}), before);
        EXPECT_EQ(length->GetValue(), 5.0);
        EXPECT_EQ(Named(drawing), named);
        edit->Redo();
        EXPECT_EQ(Values({p, q}), solved);
        EXPECT_EQ(length->GetValue(), shown);
        EXPECT_EQ(Named(drawing), reported);
        edit->Revert();
        edit->Commit();
        EXPECT_TRUE(drawing->TakePendingMoves().empty()) << "dropped undone, the edit leaves nothing pending";
    }
}

// An update dropped before it ran leaves its edits for a later update.
TEST_F(DiagramActionsTest, AnUpdateDroppedUndoneGivesItsEditsBack)
{
    VertexShape* p = Vertex(drawing, 1, 1);
    drawing->AddPendingMove(p->GetXVar(), 5.0);
    {
        TUpdateDiagramAction action(drawing);
        action.Commit();
    }
    EXPECT_EQ(drawing->TakePendingMoves().size(), 1u);
}

} // namespace
