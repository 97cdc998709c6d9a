// Drawings solved by the real kernel program: a triangle whose side is the
// named variable "a" follows a new value of a; a drag step keeps the
// constraints; missing values are asked for with 1 proposed; an answer of
// each kind becomes shapes; and the kernel and the editor's own solver agree
// on the same figure. A side labelled b by its distance constraint follows an
// equation constraint b=5 typed into the drawing.
#include "DrawingTestSupport.h"
#include "ScriptedKernel.h"

#include "drawing/AngleMakers.h"
#include "drawing/CircleShape.h"
#include "drawing/ConstraintEqn.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramActions.h"
#include "drawing/DrawValueComp.h"
#include "drawing/GroupMakers.h"
#include "drawing/LineConstraints.h"
#include "drawing/LineMakers.h"
#include "drawing/DrawingEditActions.h"
#include "drawing/DrawingNodes.h"
#include "drawing/GroupConstraints.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/KernelSolver.h"
#include "drawing/LocalSolver.h"
#include "drawing/PlotShape.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/ShapeMakers.h"
#include "drawing/SidedShape.h"
#include "drawing/ValueConstraint.h"
#include "drawing/VariableValueQuestion.h"
#include "drawing/VertexDragTracker.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionHost.h"
#include "foundation/CompList.h"
#include "foundation/ExprNode.h"
#include "foundation/TAction.h"
#include "kernel/KernelServices.h"
#include "kernel/TCalculationAction.h"
#include "platform/AppProfile.h"
#include "plot/PlotCurveSet.h"
#include "support/FakeUserInterface.h"
#include "support/PauseProcess.h"
#include "support/kernel/KernelProgram.h"
#include "support/kernel/NodeWireText.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <functional>
#include <memory>
#include <string>

namespace {

CompList* Row(const char* text)
{
    auto* row = new CompList;
    ExprNode::AppendCharacters(text, *row);
    return row;
}

double Length(const VertexShape* a, const VertexShape* b) { return a->GetPoint().Distance(b->GetPoint()); }

// A constraint added as the file reader adds it: unsolved, for a row to type into.
void AddUnsolved(DiagramComp* drawing, DrawConstraint* constraint)
{
    TAddConstraintNoSolveAction add(drawing, constraint);
    add.Perform();
    add.Commit();
}

// What the user's typing does to a label row: the old content goes, the text comes.
void TypeInto(DrawLabel* label, const char* text)
{
    CompList* row = label->GetText();
    while (row->GetCount() > 0)
        row->RemoveAt(1)->Delete();
    ExprNode::AppendCharacters(text, *row);
}

// One kernel for the whole suite: starting it takes a while.
class DrawingKernelSolveTest : public DrawingTest {
protected:
    static void SetUpTestSuite()
    {
        settings = new QTemporaryDir;
        kernel = new KernelLink;
        questions = new ScriptedQuestions;
        UseBuiltKernel(*kernel, *questions, settings->path().toStdString());
        StartAndWait(*kernel);
    }
    static void TearDownTestSuite()
    {
        kernel->QuitKernel();
        KernelLink::Set(nullptr);
        delete kernel;
        delete questions;
        AppProfile::SetFolder({});
        delete settings;
    }

    DrawingKernelSolveTest() : drawing(new DiagramComp), list(ListOf(drawing))
    {
        InstallKernelServices();
        KernelLink::Set(kernel);
        // Missing values: each is answered from the list, after noting the value proposed.
        SetVariableValueQuestion([this](const std::string& name, double& value) {
            asked.push_back(name);
            proposed.push_back(value);
            if (answers.empty())
                return false;
            value = answers.front();
            answers.erase(answers.begin());
            return true;
        });
    }
    ~DrawingKernelSolveTest() override { SetVariableValueQuestion(nullptr); }

    void SetUp() override { ASSERT_TRUE(kernel->IsReady()) << "the kernel program did not start"; }

    // A triangle (0, 0), (3, 0), (0, 4) whose corners the test keeps.
    TriangleShape* Triangle(DiagramComp* d)
    {
        corners[0] = new VertexShape(0.0, 0.0);
        corners[1] = new VertexShape(3.0, 0.0);
        corners[2] = new VertexShape(0.0, 4.0);
        auto* triangle = new TriangleShape(corners[0], corners[1], corners[2]);
        d->AddShape(triangle);
        return triangle;
    }
    void Fix(DiagramComp* d, VertexShape* vertex)
    {
        auto* fixed = new FixedPointConstraint(vertex);
        d->AddConstraint(fixed);
        fixed->ApplyLock();
    }
    DistanceConstraint* Distance(DiagramComp* d, VertexShape* a, VertexShape* b, double length)
    {
        auto* constraint = new DistanceConstraint(a, b);
        constraint->GetVariable(0)->SetValue(length);
        d->AddConstraint(constraint);
        return constraint;
    }

    static inline QTemporaryDir* settings = nullptr;
    static inline KernelLink* kernel = nullptr;
    static inline ScriptedQuestions* questions = nullptr;

    DiagramComp* drawing;
    ListPtr list;
    VertexShape* corners[3] = {};
    std::vector<std::string> asked;
    std::vector<double> proposed;
    std::vector<double> answers;
    FakeUserInterface ui;
};

TEST_F(DrawingKernelSolveTest, ATriangleWithANamedSideFollowsTheValueOfTheName)
{
    Triangle(drawing);
    Fix(drawing, corners[0]);
    auto* side = new DistanceConstraint(corners[0], corners[1]);
    side->SetLabel(new DrawLabel(side, drawing, Row("a")));
    TAddConstraintAction add(drawing, side);
    add.Perform();
    // The name takes its value from the figure.
    DrawVariable* a = drawing->GetVariables().Find("a");
    ASSERT_NE(a, nullptr);
    EXPECT_NEAR(a->GetValue(), 3.0, 1e-6);
    EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-6);

    drawing->ChangeVariable(a, 5.0);
    EXPECT_TRUE(ui.boxes.empty()) << ui.LastBoxText();
    EXPECT_NEAR(Length(corners[0], corners[1]), 5.0, 1e-6);
    EXPECT_NEAR(corners[0]->GetPoint().x, 0.0, 1e-9);
    EXPECT_NEAR(corners[0]->GetPoint().y, 0.0, 1e-9);
    EXPECT_EQ(drawing->GetVariables().Find("a"), a);
    EXPECT_NEAR(a->GetValue(), 5.0, 1e-9);
}

TEST_F(DrawingKernelSolveTest, ADragStepThroughTheKernelKeepsTheConstraints)
{
    Triangle(drawing);
    Fix(drawing, corners[0]);
    Distance(drawing, corners[0], corners[1], 3.0);
    Distance(drawing, corners[0], corners[2], 4.0);
    ItemArray<DrawVariable> moved;
    moved.Add(corners[2]->GetXVar());
    moved.Add(corners[2]->GetYVar());
    KernelSolver solver(*drawing, moved);
    ASSERT_TRUE(solver.IsBuilt());
    ItemArray<VertexShape> dragged;
    dragged.Add(corners[2]);
    for (int step = 0; step < 5; ++step) {
        ASSERT_TRUE(solver.SolveDrag(DPoint(0.5, -0.3), dragged, corners[2])) << step;
        EXPECT_NEAR(Length(corners[0], corners[2]), 4.0, 1e-6) << step;
        EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-6) << step;
    }
    EXPECT_GT(corners[2]->GetPoint().x, 1.0);
    EXPECT_FALSE(solver.HasFallenBack());
    // Undo of the whole drag.
    solver.SwapGathered();
    EXPECT_NEAR(corners[2]->GetPoint().x, 0.0, 1e-9);
    EXPECT_NEAR(corners[2]->GetPoint().y, 4.0, 1e-9);
}

TEST_F(DrawingKernelSolveTest, AKernelThatStallsMidDragIsGivenUpAndTheEditorSolvesOn)
{
    // A kernel of its own: this one is ended (and started again, which the
    // questions must outlive). The suite's kernel is the program's again
    // when the test ends, however it ends.
    struct SuiteKernelAgain {
        ~SuiteKernelAgain() { KernelLink::Set(kernel); }
    } suiteKernelAgain;
    ScriptedQuestions stalledQuestions;
    KernelLink stalled;
    UseBuiltKernel(stalled, stalledQuestions, settings->path().toStdString());
    ASSERT_TRUE(StartAndWait(stalled));
    Triangle(drawing);
    Fix(drawing, corners[0]);
    Distance(drawing, corners[0], corners[2], 4.0);
    ItemArray<DrawVariable> moved;
    moved.Add(corners[2]->GetXVar());
    moved.Add(corners[2]->GetYVar());
    KernelSolver solver(*drawing, moved);
    ItemArray<VertexShape> dragged;
    dragged.Add(corners[2]);
    PausedProcess paused(MLProcessId(stalled.Link()));
    ASSERT_TRUE(paused.Stopped());
    EXPECT_TRUE(solver.SolveDrag(DPoint(1.0, 0.0), dragged, corners[2]));
    EXPECT_TRUE(solver.HasFallenBack());
    EXPECT_EQ(ui.LastBoxText(), KernelSolver::kKernelStopped);
    EXPECT_NEAR(Length(corners[0], corners[2]), 4.0, 1e-3);
}

TEST_F(DrawingKernelSolveTest, TheKernelAndTheEditorsSolverAgreeOnTheSameFigure)
{
    auto build = [&](DiagramComp* d) {
        Triangle(d);
        corners[1]->MoveBy(3.0, 0.0);
        corners[2]->MoveBy(2.0, 0.5);
        Fix(d, corners[0]);
        Fix(d, corners[1]);
        Distance(d, corners[0], corners[2], 5.0);
        return Distance(d, corners[1], corners[2], 5.0);
    };
    DistanceConstraint* last = build(drawing);
    VertexShape* kernelApex = corners[2];
    KernelSolver kernelSolver(*drawing, last);
    ASSERT_TRUE(kernelSolver.Solve());

    auto* other = new DiagramComp;
    ListPtr otherList = ListOf(other);
    LocalSolver localSolver(*other, build(other));
    ASSERT_TRUE(localSolver.Solve());
    EXPECT_NEAR(kernelApex->GetPoint().x, 3.0, 1e-6);
    EXPECT_NEAR(kernelApex->GetPoint().y, 4.0, 1e-6);
    EXPECT_NEAR(kernelApex->GetPoint().x, corners[2]->GetPoint().x, 1e-6);
    EXPECT_NEAR(kernelApex->GetPoint().y, corners[2]->GetPoint().y, 1e-6);
}

TEST_F(DrawingKernelSolveTest, AMissingValueIsAskedForWithOneProposed)
{
    answers = {2.0};
    std::unique_ptr<TAction> action(drawing->AddPlot(Row("k x")));
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(asked, std::vector<std::string>{"k"});
    EXPECT_EQ(proposed, std::vector<double>{1.0});
    ASSERT_NE(drawing->GetVariables().Find("k"), nullptr);
    EXPECT_EQ(drawing->GetVariables().Find("k")->GetValue(), 2.0);
    // Cancelled, nothing is made and nothing stored.
    EXPECT_EQ(drawing->AddPlot(Row("m x")), nullptr);
    EXPECT_EQ(drawing->GetVariables().Find("m"), nullptr);
}

TEST_F(DrawingKernelSolveTest, AnAnswerOfEachKindBecomesShapes)
{
    auto import = [&](const char* part) {
        std::unique_ptr<ExprNode> request(NodeFrom(part));
        ExprNode* answer = kernel->Evaluate(20, request.get());
        const std::string text = FullFormOf(answer);
        drawing->ImportKernelResult(answer);
        return text;
    };
    const int before = drawing->GetShapes().GetCount();
    // A result of another form adds nothing.
    drawing->ImportKernelResult(NodeFrom("List[1, 0, QVPoint[1., 2.], 5]"));
    EXPECT_EQ(drawing->GetShapes().GetCount(), before);
    EXPECT_EQ(import("QVPoint[1, 2]"), "List[1, 1, QVPoint[1., 2.]]");
    ASSERT_EQ(drawing->GetShapes().GetCount(), before + 1);
    auto* point = dynamic_cast<VertexShape*>(drawing->GetShapes().GetAt(before));
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->GetPoint(), DPoint(1.0, 2.0));
    EXPECT_TRUE(point->HasLabel());

    import("List[QVPoint[1, 2], QVPoint[3, 4]]");
    ASSERT_EQ(drawing->GetShapes().GetCount(), before + 3);
    EXPECT_EQ(static_cast<VertexShape*>(drawing->GetShapes().GetAt(before + 2))->GetPoint(), DPoint(3.0, 4.0));

    EXPECT_EQ(import("VXOverVector[QVPoint[2, 0]]"), "List[3, 0, QVPoint[2., 0.]]");
    ASSERT_EQ(drawing->GetShapes().GetCount(), before + 4);
    auto* arrow = dynamic_cast<SegmentShape*>(drawing->GetShapes().GetAt(before + 3));
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->GetStart()->GetPoint(), DPoint(0.0, 0.0));
    EXPECT_EQ(arrow->GetEnd()->GetPoint(), DPoint(2.0, 0.0));
    EXPECT_NE(arrow->GetStyle().penStyle & 0x40, 0);

    answers = {0.5};
    import("VXInequality[y, Equal, VXTimes[c, VXPower[x, 2]]]");
    EXPECT_EQ(asked, std::vector<std::string>{"c"});
    ASSERT_EQ(drawing->GetShapes().GetCount(), before + 5);
    auto* plot = dynamic_cast<PlotShape*>(drawing->GetShapes().GetAt(before + 4));
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->UsesVariables());
    ASSERT_NE(plot->GetCurves(), nullptr);
    EXPECT_GT(plot->GetCurves()->GetCurveCount(), 0);
    EXPECT_FALSE(plot->IsPending());
    EXPECT_TRUE(ui.boxes.empty()) << ui.LastBoxText();
}

TEST_F(DrawingKernelSolveTest, ACalculationsAnswerForTheDrawingIsAddedToIt)
{
    auto* whole = new DrawingNode(drawing);
    whole->AppendChild(NodeFrom("QVPoint[5, 6]"));
    TContextCalculationAction calculation(DocSelection::SelectObject(drawing), 20, Placement::kToDrawing, whole,
                                          whole->First());
    calculation.Perform();
    ASSERT_EQ(drawing->GetShapes().GetCount(), 1);
    EXPECT_EQ(static_cast<VertexShape*>(drawing->GetShapes().GetAt(0))->GetPoint(), DPoint(5.0, 6.0));
}

TEST_F(DrawingKernelSolveTest, AnEquationOverASideLabelledByNameDrivesTheSide)
{
    Triangle(drawing);
    // The distance maker's constraint, then its value label retyped as the name b.
    auto* side = new DistanceConstraint(corners[0], corners[1]);
    TAddConstraintNoSolveAction addSide(drawing, side);
    addSide.Perform();
    TAddLabelAction addLabel(drawing, side);
    addLabel.Perform();
    ASSERT_NE(side->GetLabel(), nullptr);
    TypeInto(side->GetLabel(), "b");
    auto* equation = new EquationConstraint;
    equation->SetLabel(new DrawLabel(equation, drawing, new CompList));
    TAddEquationConstraintAction addEquation(drawing, equation);
    addEquation.Perform();
    TypeInto(equation->GetLabel(), "b=5");

    // Update solves value edits only; with none it leaves the drawing alone.
    TUpdateDiagramAction idle(drawing);
    idle.Perform();
    EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-9);

    // A drag step of a corner of that side: the kernel solves everything tied
    // to it, the equation included, and reports the named values at the end.
    auto dragCorner = [&] {
        ItemArray<DrawVariable> moved;
        moved.Add(corners[1]->GetXVar());
        moved.Add(corners[1]->GetYVar());
        KernelSolver solver(*drawing, moved);
        ItemArray<VertexShape> dragged;
        dragged.Add(corners[1]);
        EXPECT_TRUE(solver.SolveDrag(DPoint(0.1, 0.0), dragged, corners[1]));
        drawing->ApplyRules(solver.Finalize());
    };
    dragCorner();
    EXPECT_TRUE(ui.boxes.empty()) << ui.LastBoxText();
    EXPECT_NEAR(Length(corners[0], corners[1]), 5.0, 1e-6);
    ASSERT_NE(drawing->GetVariables().Find("b"), nullptr);
    EXPECT_NEAR(drawing->GetVariables().Find("b")->GetValue(), 5.0, 1e-6);

    TypeInto(equation->GetLabel(), "b=6");
    dragCorner();
    EXPECT_NEAR(Length(corners[0], corners[1]), 6.0, 1e-6);
    EXPECT_NEAR(drawing->GetVariables().Find("b")->GetValue(), 6.0, 1e-6);
}

// A new constraint and a typed value used to wait for the next drag while the
// kernel ran (a tangency made, a locked length retyped: the mark or the label
// changed and nothing moved). Each edit is solved at once, by the kernel and
// by the editor's own solver alike, and every equation then holds.
TEST_F(DrawingKernelSolveTest, AnEditThatAddsOrChangesAnEquationIsSolvedAtOnce)
{
    auto make = [](DiagramComp* d, const DrawingMaker& maker, std::vector<DiagramShape*> picked) {
        d->DeselectAll(false);
        for (DiagramShape* shape : picked)
            d->SelectShape(shape, true);
        std::unique_ptr<TAction> action(maker.Make(nullptr, d->GetSelectedShapes(), *d, DPoint(0, 0)));
        ASSERT_NE(action, nullptr);
        action->Perform();
        action->Commit();
    };
    auto segment = [](DiagramComp* d, double x1, double y1, double x2, double y2) {
        auto* s = new SegmentShape(new VertexShape(x1, y1), new VertexShape(x2, y2));
        d->AddShape(s);
        return s;
    };
    // A value typed, a maker, a drag or an update is one step: its undo
    // gives back the drawing's record (every value exactly, the named ones
    // too) and each equation's residual, its redo the record the solve made,
    // while the kernel runs and after it has quit.
    auto step = [&](DiagramComp* d, const std::function<std::unique_ptr<TAction>()>& made) {
        auto record = [d] { return WriteComponent(*d); };
        auto residuals = [d] {
            std::vector<double> all;
            for (DrawConstraint* constraint : d->GetConstraints())
                for (int i = 0; i < constraint->GetEquationCount(); ++i)
                    all.push_back(constraint->GetEquation(i)->Residual());
            return all;
        };
        const std::vector<uint8_t> before = record();
        const std::vector<double> held = residuals();
        std::unique_ptr<TAction> edit = made();
        ASSERT_NE(edit, nullptr);
        edit->Perform();
        const std::vector<uint8_t> after = record();
        KernelLink* running = KernelLink::Get();
        for (KernelLink* link : {running, static_cast<KernelLink*>(nullptr)}) {
            KernelLink::Set(link);
            edit->Revert();
            EXPECT_EQ(record(), before) << "undo" << (link ? "" : ", the kernel quit");
            EXPECT_EQ(residuals(), held) << "undo" << (link ? "" : ", the kernel quit");
            edit->Redo();
            EXPECT_EQ(record(), after) << "redo" << (link ? "" : ", the kernel quit");
        }
        KernelLink::Set(running);
        edit->Commit();
    };
    auto type = [&](DiagramComp* d, DrawVariable* variable, bool locked, const char* text) {
        DrawValueComp display(variable);
        step(d, [&] { return display.MakeEdit(locked, Str255(text)); });
    };
    // A triangle whose base the name b labels, an equation b=2a, and a
    // distance on its upright side: while the kernel runs, the first solve
    // gives b and a their values, and undo takes them away again.
    auto named = [&](DiagramComp* d) {
        TriangleShape* triangle = Triangle(d);
        auto* base = new DistanceConstraint(corners[0], corners[1]);
        base->SetLabel(new DrawLabel(base, d, Row("b")));
        d->AddConstraint(base);
        d->AddConstraint(new EquationConstraint(DPoint(1, 5), new DrawLabel(d, DPoint(1, 5), {}, true, Row("b=2a"))));
        d->AddConstraint(new DistanceConstraint(corners[0], corners[2]));
        d->Repaint();
        return triangle;
    };
    auto upright = [](DiagramComp* d) { return d->GetConstraints().GetAt(2)->GetVariable(0); };
    // Once the kernel has given the names values, the base measures b, b is
    // 2a (unless the equations were left out), and the base's own value
    // (what the side holds without its label) is b too.
    auto heldByNames = [&](DiagramComp* d, bool equationsAct = true) {
        const DrawVariable* b = d->GetVariables().Find("b");
        const DrawVariable* a = d->GetVariables().Find("a");
        EXPECT_EQ(b != nullptr, KernelLink::Get() != nullptr) << "the kernel gives b a value";
        if (b && a) {
            EXPECT_NEAR(Length(corners[0], corners[1]), b->GetValue(), 1e-9 * b->GetValue());
            EXPECT_NEAR(d->GetConstraints().GetAt(0)->GetVariable(0)->GetValue(), b->GetValue(), 1e-12);
            if (equationsAct) {
                EXPECT_NEAR(b->GetValue(), 2 * a->GetValue(), 1e-9 * b->GetValue());
            }
        }
    };
    // A drag of the vertex by the drawing's own tracker, from press to release, as one step.
    auto trackerDrag = [&](DiagramComp* d, VertexShape* vertex, int dx, int dy) {
        d->SetSize(2000, 2000);
        d->GetDC().SetWorldOrigin(DPoint(-5, 5));
        DrawingView view;
        ActionViewScope scope{&view};
        const IntPoint from = d->GetDC().WorldToScreen(vertex->GetPoint());
        step(d, [&] {
            VertexDragTracker tracker(view, d);
            tracker.MouseDown(from);
            tracker.MouseUp(IntPoint(from.x + dx, from.y + dy));
            return std::unique_ptr<TAction>(tracker.TakeAction());
        });
    };
    // An equation giving a name a value no length has, then a corner
    // dragged: the kernel's equations are left out (the status bar says so),
    // and b stays the length the base measures.
    auto namedBelowZero = [&](DiagramComp* d, const char* equation) {
        named(d);
        trackerDrag(d, corners[2], 10, 6);
        d->AddConstraint(new EquationConstraint(DPoint(1, 6), new DrawLabel(d, DPoint(1, 6), {}, true, Row(equation))));
        StatusRecorder status;
        trackerDrag(d, corners[2], 5, 3);
        heldByNames(d, false);
        if (const DrawVariable* b = d->GetVariables().Find("b")) {
            EXPECT_GT(b->GetValue(), 0.0) << "a length stays positive";
            EXPECT_EQ(status.texts, std::vector<std::string>{kRefusedEquation});
        }
    };
    auto typeLength = [&](DiagramComp* d, bool locked) {
        Triangle(d);
        auto* side = new DistanceConstraint(corners[0], corners[1]);
        AddUnsolved(d, side);
        type(d, side->GetVariable(0), locked, "4");
        EXPECT_NEAR(Length(corners[0], corners[1]), 4.0, 1e-4) << "the side measures what was typed";
    };
    // A fixed radius with a tangent segment (and, locked, a point on the
    // circle): the radius typed becomes the one the constraint holds, or,
    // refused where the centre and that point are pinned, the old one stays.
    auto typeRadius = [&](DiagramComp* d, bool locked, bool pinned) {
        auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false));
        d->AddShape(circle);
        make(d, DistanceMaker(), {circle});
        d->DeselectAll(false);
        auto* point = new VertexShape(0.3, 1.9);
        d->AddShape(point);
        make(d, TangentMaker(), {circle, segment(d, -2, 1.5, 2, 1.7), point});
        auto* on = new VertexShape(-1.0, 0.0);
        d->AddShape(on);
        if (pinned) {
            Fix(d, on);
            Fix(d, circle->GetCentre());
        }
        if (locked)
            d->AddConstraint(circle->MakeAttachConstraint(on));
        type(d, circle->GetRadiusVar(), locked, "2.5");
        EXPECT_NEAR(circle->GetRadius(), pinned ? 1.0 : 2.5, 1e-6) << "the circle measures what was typed";
        EXPECT_NEAR(d->GetConstraints().GetAt(0)->GetEquation(0)->Residual(), 0.0, 1e-9) << "the radius held";
        EXPECT_EQ(circle->GetRadiusVar()->IsFixed(), locked);
    };
    // One step of a drag of the vertex, as the drag tracker takes it.
    auto drag = [](DiagramComp* d, VertexShape* vertex, const DPoint& by) {
        ItemArray<DrawVariable> moved;
        moved.Add(vertex->GetXVar());
        moved.Add(vertex->GetYVar());
        ItemArray<VertexShape> dragged;
        dragged.Add(vertex);
        EXPECT_TRUE(NewCluster(*d, moved)->SolveDrag(by, dragged, vertex));
    };
    // The lengths typed one after the other; the side measures each.
    auto typeLengths = [&](DiagramComp* d, bool locked, std::vector<double> lengths) {
        TriangleShape* triangle = Triangle(d);
        auto* side = new DistanceConstraint(corners[0], corners[1]);
        AddUnsolved(d, side);
        DrawValueComp display(side->GetVariable(0));
        for (const double length : lengths) {
            EXPECT_TRUE(display.ApplyProperties(locked, Str255(std::to_string(length).c_str())));
            EXPECT_NEAR(Length(corners[0], corners[1]), length, 1e-4 + 1e-9 * length) << "the side measures " << length;
        }
        return triangle;
    };
    // Triangle (0, 0), (3, 0), (0.5, 4), its base locked and a locked angle at
    // its start (and a free distance on the next side); the base typed a
    // million, then 3. The figure moves by about what was typed, no further.
    auto besideAngle = [&](DiagramComp* d, bool nextSide) {
        TriangleShape* triangle = Triangle(d);
        corners[2]->SetPoint(DPoint(0.5, 4));
        const std::pair<DrawConstraint*, bool> constraints[] = {
            {new DistanceConstraint(corners[0], corners[1]), true},
            {new AngleConstraint(corners[1], corners[0], corners[2]), true},
            {nextSide ? new DistanceConstraint(corners[1], corners[2]) : nullptr, false}};
        for (const auto& [constraint, locked] : constraints) {
            if (!constraint)
                continue;
            AddUnsolved(d, constraint);
            d->SetVariableLocked(constraint->GetVariable(0), locked);
        }
        DrawVariable* base = d->GetConstraints().GetAt(0)->GetVariable(0);
        type(d, base, true, "1e6");
        EXPECT_NEAR(Length(corners[0], corners[1]), 1e6, 1e-3) << "the side measures a million";
        for (VertexShape* corner : corners)
            EXPECT_LT(corner->GetPoint().Distance(DPoint(0, 0)), 3e6) << "the least change";
        type(d, base, true, "3");
        EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-6) << "the side measures 3";
        return triangle;
    };
    // Triangle (0, 0), (3, 0), (0, 4) at the zoom, its base locked, typed 2.
    auto zoomedBase = [&](DiagramComp* d, double scale) {
        d->GetDC().SetScale(scale);
        Triangle(d);
        auto* base = new DistanceConstraint(corners[0], corners[1]);
        AddUnsolved(d, base);
        type(d, base->GetVariable(0), true, "2");
        EXPECT_NEAR(Length(corners[0], corners[1]), 2.0, 1e-6) << "the base measures 2 at scale " << scale;
    };
    // The triangle (0, 0), (3, 0), (0, 4) at the scale, `out` from the
    // origin, two sides made equal, then a corner dragged five times: the
    // sides stay equal as closely as the coordinates can tell.
    auto equalSidesDragged = [&](DiagramComp* d, double scale, double out) {
        TriangleShape* triangle = Triangle(d);
        for (VertexShape* corner : corners)
            corner->SetPoint(DPoint(out + corner->GetPoint().x * scale, out + corner->GetPoint().y * scale));
        make(d, EqualLengthMaker(), {triangle->GetSide(0), triangle->GetSide(2)});
        for (int times = 0; times < 5; ++times)
            drag(d, corners[2], DPoint(1e-7, 5e-8));
        const double apart = Length(corners[0], corners[1]) - Length(corners[2], corners[0]);
        EXPECT_LT(std::fabs(apart), 5e-3 * FigureExtent(*d)) << "the equal sides, " << out << " out";
    };
    // Triangle (0, 0), (3, 0), (0, 4) `out` from the origin, its base locked, typed 2.
    auto farBase = [&](DiagramComp* d, double out) {
        Triangle(d);
        for (VertexShape* corner : corners)
            corner->SetPoint(DPoint(out + corner->GetPoint().x, out + corner->GetPoint().y));
        auto* base = new DistanceConstraint(corners[0], corners[1]);
        AddUnsolved(d, base);
        type(d, base->GetVariable(0), true, "2");
        EXPECT_NEAR(Length(corners[0], corners[1]), 2.0, 1e-7) << "the base measures 2, " << out << " out";
    };
    // Triangle 1e-4 (0, 0), (3, 0), (0.5, 4) whose first corner is tied to
    // a point ten away, its base and the angle at the given corner locked,
    // the base typed 0.1. Moving one corner along its ray meets every
    // constraint: the least change moves the points no further than that.
    auto tinyBase = [&](DiagramComp* d, int apex) {
        Triangle(d);
        const DPoint at[] = {{0, 0}, {3e-4, 0}, {0.5e-4, 4e-4}};
        for (int i = 0; i < 3; ++i)
            corners[i]->SetPoint(at[i]);
        auto* far = new VertexShape(10, 0);
        d->AddShape(far);
        for (DrawConstraint* constraint : {static_cast<DrawConstraint*>(new DistanceConstraint(corners[0], corners[1])),
                                           static_cast<DrawConstraint*>(new AngleConstraint(
                                               corners[(apex + 1) % 3], corners[apex], corners[(apex + 2) % 3])),
                                           static_cast<DrawConstraint*>(new DistanceConstraint(corners[0], far))}) {
            AddUnsolved(d, constraint);
            d->SetVariableLocked(constraint->GetVariable(0), true);
        }
        const std::vector<DPoint> before = {at[0], at[1], at[2], far->GetPoint()};
        type(d, d->GetConstraints().GetAt(0)->GetVariable(0), true, "0.1");
        const VertexShape* points[] = {corners[0], corners[1], corners[2], far};
        double squares = 0.0;
        for (size_t i = 0; i < before.size(); ++i)
            squares += std::pow(points[i]->GetPoint().Distance(before[i]), 2);
        EXPECT_LE(std::sqrt(squares), 0.1 - 3e-4 + 1e-9) << "the points move no further than one corner would";
    };
    // A Coincident constraint between the two ends of one segment.
    auto endsMadeOne = [&](DiagramComp* d, bool fixed) {
        SegmentShape* s = segment(d, 0, 0, 3, 4);
        if (fixed)
            Fix(d, s->GetStart());
        step(d, [&] {
            return std::make_unique<TAddConstraintAction>(d, new CoincidentConstraint(s->GetStart(), s->GetEnd()));
        });
        EXPECT_LT(Length(s->GetStart(), s->GetEnd()), 1e-9) << "the ends come together";
        if (fixed) {
            EXPECT_EQ(s->GetStart()->GetPoint(), DPoint(0, 0)) << "at the fixed one";
        }
    };
    // Three points in a row, a segment on each pair, the angle between them
    // made (the arm to the right turned up first), then typed as a right angle.
    auto typeAngle = [&](DiagramComp* d, double degrees) {
        const double turn = (180.0 - degrees) * M_PI / 180.0;
        auto* apex = new VertexShape(0, 0);
        d->AddShape(apex);
        auto* left = new SegmentShape(new VertexShape(-2, 0), apex);
        auto* right = new SegmentShape(apex, new VertexShape(2 * std::cos(turn), 2 * std::sin(turn)));
        d->AddShape(left);
        d->AddShape(right);
        make(d, FixAngleMaker(), {left, right});
        DrawValueComp display(d->GetConstraints().GetAt(0)->GetVariable(0));
        EXPECT_TRUE(display.ApplyProperties(true, Str255("1.5708")));
        for (SegmentShape* arm : {left, right})
            EXPECT_NEAR(Length(arm->GetStart(), arm->GetEnd()), 2.0, 0.5) << "an arm keeps its length";
    };
    // A maker performed as the view performs it, after a step the view
    // keeps: what it cannot meet it refuses, the figure exactly as it was
    // and that step still the one Undo undoes; what it keeps, the figure
    // meets (the row's measure).
    auto hosted = [&](DiagramComp* d, const DrawingMaker& maker, std::vector<DiagramShape*> picked, bool kept) {
        DrawingView view;
        ActionViewScope scope{&view};
        ActionHost host(view);
        host.Perform(new TAddShapeAction(d, new VertexShape(-3, -3)));
        const TAction* earlier = host.GetKept();
        d->DeselectAll(false);
        for (DiagramShape* shape : picked)
            d->SelectShape(shape, true);
        const std::vector<uint8_t> record = WriteComponent(*d);
        host.Perform(maker.Make(&view, d->GetSelectedShapes(), *d, DPoint(0, 0)));
        EXPECT_EQ(host.GetKept() != earlier, kept) << "the view keeps the maker's step";
        if (!kept) {
            EXPECT_EQ(WriteComponent(*d), record) << "the figure as it was";
        }
    };
    // A touching segment made on the curve from (0, 0) to (4, 0) with
    // controls (0, 4) and (4, 4), or refused where both are pinned apart.
    auto curveTangent = [&](DiagramComp* d, bool pinned) {
        auto* curve =
            new CurveShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(0, 4), new VertexShape(4, 4));
        d->AddShape(curve);
        // The point lies on the segment, which runs 2.5 above the curve's top.
        const double rise = pinned ? 1.2 : 0.2;
        auto* point = new VertexShape(2.2, 5.5 + 0.6 * rise);
        d->AddShape(point);
        SegmentShape* s = segment(d, 1, 5.5, 3, 5.5 + rise);
        if (pinned)
            for (VertexShape* held : {curve->GetControlPoint(0), curve->GetControlPoint(1), curve->GetControlPoint(2),
                                      curve->GetControlPoint(3), s->GetStart(), s->GetEnd()})
                Fix(d, held);
        hosted(d, TangentMaker(), {curve, s, point}, !pinned);
    };
    const struct {
        const char* edit;
        std::function<void(DiagramComp*)> run;
        const char* told = nullptr; // the message of an edit that cannot be met
    } rows[] = {
        {"make tangent",
         [&](DiagramComp* d) {
             auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false));
             d->AddShape(circle);
             auto* point = new VertexShape(0.3, 1.9);
             d->AddShape(point);
             SegmentShape* s = segment(d, -2, 1.5, 2, 1.7);
             make(d, TangentMaker(), {circle, s, point});
             EXPECT_GT(Length(s->GetStart(), s->GetEnd()), 3.0) << "the segment keeps its length";
         }},
        // Each point of tangency starts below its circle, the segment above
        // it (the second ends at its point): the least move used to shrink
        // the circle and draw the segment onto the point, down to a dot.
        {"make tangent with the point on the far side",
         [&](DiagramComp* d) {
             for (const double x : {0.0, 10.0}) {
                 auto* circle = new CircleShape(new VertexShape(x, 0), new DrawVariable(1.0, false));
                 d->AddShape(circle);
                 auto* point = new VertexShape(x + 0.3, -1.1);
                 d->AddShape(point);
                 SegmentShape* s = segment(d, x - 2, 1.5, x + 2, 1.7);
                 if (x > 0.0) {
                     s = new SegmentShape(new VertexShape(x - 2, 1.5), point);
                     d->AddShape(s);
                 }
                 const double length = Length(s->GetStart(), s->GetEnd());
                 make(d, TangentMaker(), {circle, s, point});
                 EXPECT_GT(Length(s->GetStart(), s->GetEnd()), length / 2) << x << ": the segment keeps its length";
                 EXPECT_GT(circle->GetRadius(), 0.9) << x << ": the circle keeps its size";
             }
         }},
        {"make tangent to a curve, as the view keeps it", [&](DiagramComp* d) { curveTangent(d, false); }},
        {"make tangent to a curve pinned apart from its segment", [&](DiagramComp* d) { curveTangent(d, true); },
         TUpdateDiagramAction::kNoSolution},
        {"make horizontal", [&](DiagramComp* d) { make(d, HorizontalMaker(), {segment(d, 0, 0, 3, 1)}); }},
        // The least change would draw a side, an arm or a segment into a
        // point or nearly; each turns instead and keeps its length.
        {"make horizontal on an upright side",
         [&](DiagramComp* d) {
             TriangleShape* triangle = Triangle(d);
             corners[2]->SetPoint(DPoint(3, 3));
             make(d, DistanceMaker(), {triangle->GetSide(0)});
             make(d, HorizontalMaker(), {triangle->GetSide(1)});
             EXPECT_GT(Length(corners[1], corners[2]), 2.0) << "the side turns";
         }},
        // The turn moves an end's other coordinate too: what holds that
        // coordinate is solved with the new constraint.
        {"make horizontal on a segment whose end is held upright over a point",
         [&](DiagramComp* d) {
             SegmentShape* s = segment(d, 0, 0, 1, 3);
             auto* below = new VertexShape(1, -2);
             d->AddShape(below);
             d->AddConstraint(new VerticalConstraint(s->GetEnd(), below));
             make(d, HorizontalMaker(), {s});
             EXPECT_GT(Length(s->GetStart(), s->GetEnd()), 2.0) << "the segment turns";
         }},
        {"make perpendicular on two segments in a line",
         [&](DiagramComp* d) {
             auto* apex = new VertexShape(0, 0);
             d->AddShape(apex);
             auto* left = new SegmentShape(new VertexShape(-2, 0), apex);
             auto* right = new SegmentShape(apex, new VertexShape(2, 0));
             d->AddShape(left);
             d->AddShape(right);
             make(d, PerpendicularMaker(), {left, right});
             for (SegmentShape* arm : {left, right})
                 EXPECT_NEAR(Length(arm->GetStart(), arm->GetEnd()), 2.0, 1e-6) << "an arm turns";
         }},
        {"make parallel on two square segments",
         [&](DiagramComp* d) {
             SegmentShape* level = segment(d, 0, 0, 2, 0);
             SegmentShape* upright = segment(d, 3, -1, 3, 1);
             make(d, ParallelMaker(), {level, upright});
             EXPECT_NEAR(Length(upright->GetStart(), upright->GetEnd()), 2.0, 1e-6) << "the segment turns";
         }},
        {"make horizontal with both ends fixed",
         [&](DiagramComp* d) {
             SegmentShape* s = segment(d, 0, 0, 3, 1);
             Fix(d, s->GetStart());
             Fix(d, s->GetEnd());
             make(d, HorizontalMaker(), {s});
         },
         TUpdateDiagramAction::kNoSolution},
        {"make equal length",
         [&](DiagramComp* d) { make(d, EqualLengthMaker(), {segment(d, 0, 0, 3, 0), segment(d, 0, 1, 5, 1)}); }},
        // Three points in a row, a segment on each pair, the angle of the
        // two segments made (pi), then a right angle typed for it.
        {"an angle typed",
         [&](DiagramComp* d) {
             std::vector<DiagramShape*> points;
             for (const double x : {0.0, 1.0, 2.0}) {
                 points.push_back(new VertexShape(x, 0.0));
                 d->AddShape(points.back());
             }
             make(d, SegmentMaker(), {points[0], points[1]});
             make(d, SegmentMaker(), {points[1], points[2]});
             std::vector<DiagramShape*> segments;
             for (DiagramShape* shape : d->GetShapes())
                 if (shape->IsSegment())
                     segments.push_back(shape);
             make(d, FixAngleMaker(), segments);
             DrawVariable* angle = d->GetConstraints().GetAt(0)->GetVariable(0);
             EXPECT_NEAR(angle->GetValue(), 3.14159, 1e-5);
             type(d, angle, false, "1.5708");
             EXPECT_NEAR(angle->GetValue(), 1.5708, 1e-9);
         }},
        {"a locked length typed", [&](DiagramComp* d) { typeLength(d, true); }},
        {"a free length typed", [&](DiagramComp* d) { typeLength(d, false); }},
        // A kernel of its own, killed just before a value is typed: the edit
        // finds it gone, the editor's solver meets the value, undo is exact,
        // and the user is told as a drag tells.
        {"a locked length typed as the kernel is killed",
         [&](DiagramComp* d) {
             ScriptedQuestions killedQuestions;
             KernelLink killed;
             struct PassKernelAgain {
                 KernelLink* link;
                 ~PassKernelAgain() { KernelLink::Set(link); }
             } passKernelAgain{KernelLink::Get()};
             UseBuiltKernel(killed, killedQuestions, settings->path().toStdString());
             ASSERT_TRUE(StartAndWait(killed));
             KernelLink::Set(&killed);
             Triangle(d);
             auto* side = new DistanceConstraint(corners[0], corners[1]);
             AddUnsolved(d, side);
             ASSERT_EQ(::kill(MLProcessId(killed.Link()), SIGKILL), 0);
             type(d, side->GetVariable(0), true, "4");
             EXPECT_NEAR(Length(corners[0], corners[1]), 4.0, 1e-4) << "the editor's solver meets the value";
         },
         KernelSolver::kKernelStopped},
        {"a length typed a million, then 3", [&](DiagramComp* d) { typeLengths(d, true, {1e6, 3.0}); }},
        {"a length typed a billion, then 3", [&](DiagramComp* d) { typeLengths(d, true, {1e9, 3.0}); }},
        {"make horizontal after a length typed a million, then 3",
         [&](DiagramComp* d) {
             TriangleShape* triangle = typeLengths(d, true, {1e6, 3.0});
             make(d, HorizontalMaker(), {triangle->GetSide(1)});
             EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-4) << "the side keeps its length";
         }},
        {"make horizontal on a figure a million long",
         [&](DiagramComp* d) {
             TriangleShape* triangle = typeLengths(d, true, {1e6});
             make(d, HorizontalMaker(), {triangle->GetSide(1)});
             EXPECT_NEAR(Length(corners[0], corners[1]), 1e6, 1e-3) << "the side keeps its length";
             EXPECT_NEAR(corners[1]->GetPoint().y, corners[2]->GetPoint().y, 1e-6) << "the other is level";
         }},
        // With a locked angle at the side's start, the million used to throw
        // the figure 1e10 units away, and the 3 was shown over a side of 4.57.
        {"a length typed a million, then 3, beside a locked angle", [&](DiagramComp* d) { besideAngle(d, false); }},
        {"the same with a free distance on the next side, then made horizontal",
         [&](DiagramComp* d) {
             make(d, HorizontalMaker(), {besideAngle(d, true)->GetSide(1)});
             EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-6) << "the side keeps its length";
         }},
        // Zoomed out, a typed value was met only to the zoom's tolerance.
        {"a locked base typed 2 at scale 400", [&](DiagramComp* d) { zoomedBase(d, 400.0); }},
        {"a locked base typed 2 at scale 2500", [&](DiagramComp* d) { zoomedBase(d, 2500.0); }},
        {"a figure a millionth across with equal sides, a corner dragged",
         [&](DiagramComp* d) { equalSidesDragged(d, 1e-6, 0.0); }},
        // The base b was left at 173909.7 and b at -173909.7.
        {"the upright typed a million, then 2, where the base is b and b = 2a",
         [&](DiagramComp* d) {
             named(d);
             type(d, upright(d), true, "1e6");
             type(d, upright(d), true, "2");
             heldByNames(d);
             EXPECT_NEAR(Length(corners[0], corners[2]), 2.0, 1e-6) << "the upright measures what was typed";
             if (const DrawVariable* b = d->GetVariables().Find("b")) {
                 EXPECT_GT(b->GetValue(), 0.0) << "a length stays positive";
             }
         }},
        // Collapses the constraints demand used to be refused.
        {"the two ends of a segment made one", [&](DiagramComp* d) { endsMadeOne(d, false); }},
        {"the two ends of a segment made one, one of them fixed", [&](DiagramComp* d) { endsMadeOne(d, true); }},
        {"a length typed 0 on a segment with a partner of equal length",
         [&](DiagramComp* d) {
             SegmentShape* first = segment(d, 0, 0, 3, 4);
             SegmentShape* partner = segment(d, 6, 0, 6, 5);
             make(d, EqualLengthMaker(), {first, partner});
             auto* distance = new DistanceConstraint(first->GetStart(), first->GetEnd());
             AddUnsolved(d, distance);
             type(d, distance->GetVariable(0), true, "0");
             for (SegmentShape* s : {first, partner})
                 EXPECT_LT(Length(s->GetStart(), s->GetEnd()), 1e-7 * FigureExtent(*d)) << "both shrink to a point";
         }},
        {"a straight angle typed a right angle", [&](DiagramComp* d) { typeAngle(d, 180.0); }},
        // A straight angle holds where its equation has no slope at all.
        {"a straight angle made on two segments, then an end dragged",
         [&](DiagramComp* d) {
             std::array<VertexShape*, 3> points = {new VertexShape(-3.73, 0), new VertexShape(0, 0),
                                                   new VertexShape(2, 0)};
             for (VertexShape* point : points)
                 d->AddShape(point);
             make(d, SegmentMaker(), {points[0], points[1]});
             make(d, SegmentMaker(), {points[1], points[2]});
             std::vector<DiagramShape*> segments;
             std::copy_if(d->GetShapes().begin(), d->GetShapes().end(), std::back_inserter(segments),
                          [](DiagramShape* shape) { return shape->IsSegment(); });
             make(d, FixAngleMaker(), segments);
             drag(d, points[2], DPoint(0.0, 0.3));
         }},
        {"an angle of 177 degrees typed a right angle", [&](DiagramComp* d) { typeAngle(d, 177.0); }},
        {"an angle of 163 degrees typed a right angle", [&](DiagramComp* d) { typeAngle(d, 163.0); }},
        {"make tangent with the circle's centre as the point",
         [&](DiagramComp* d) {
             auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false));
             d->AddShape(circle);
             SegmentShape* s = segment(d, -2, 1.5, 2, 1.7);
             make(d, TangentMaker(), {circle, s, circle->GetCentre()});
             EXPECT_EQ(circle->GetRadius(), 1.0) << "the circle keeps its size";
             EXPECT_EQ(circle->GetCentre()->GetPoint(), DPoint(0, 0)) << "and its place";
             EXPECT_EQ(s->GetEnd()->GetPoint(), DPoint(2, 1.7)) << "the segment stays";
             EXPECT_EQ(d->GetConstraints().GetCount(), 0) << "the tangency is refused";
         },
         TUpdateDiagramAction::kNoSolution},
        // Both arms of the corner are one segment's end: no turn squares
        // them, and the end turned on the way goes back where it was.
        {"make perpendicular on two segments between the same two points",
         [&](DiagramComp* d) {
             SegmentShape* s = segment(d, 0, 0, 2, 1);
             for (bool reversed : {false, true}) {
                 auto* t = reversed ? new SegmentShape(s->GetEnd(), s->GetStart())
                                    : new SegmentShape(s->GetStart(), s->GetEnd());
                 d->AddShape(t);
                 make(d, PerpendicularMaker(), {s, t});
                 EXPECT_EQ(s->GetStart()->GetPoint(), DPoint(0, 0)) << reversed;
                 EXPECT_EQ(s->GetEnd()->GetPoint(), DPoint(2, 1)) << reversed;
                 EXPECT_EQ(d->GetConstraints().GetCount(), 0) << reversed << ": the right angle is refused";
                 if (!reversed && !ui.boxes.empty())
                     ui.boxes.pop_back();
             }
         },
         TUpdateDiagramAction::kNoSolution},
        {"a locked fixed radius typed", [&](DiagramComp* d) { typeRadius(d, true, false); }},
        {"a fixed radius typed with Locked cleared", [&](DiagramComp* d) { typeRadius(d, false, false); }},
        {"a fixed radius typed that its pinned centre and point forbid", [&](DiagramComp* d) { typeRadius(d, true, true); },
         TUpdateDiagramAction::kNoSolution},
        // A lock cleared binds nothing: a connected point dragged moves the
        // point of a fixed point, or the radius of a fixed radius.
        {"a fixed point with Locked cleared, a connected end dragged",
         [&](DiagramComp* d) {
             Triangle(d);
             Fix(d, corners[1]);
             Distance(d, corners[1], corners[2], 5.0);
             for (DrawVariable* coordinate : {corners[1]->GetXVar(), corners[1]->GetYVar()})
                 EXPECT_TRUE(DrawValueComp(coordinate).ApplyProperties(false, Str255("0")));
             drag(d, corners[2], DPoint(0.5, 0.5));
             EXPECT_NE(corners[1]->GetPoint(), DPoint(3, 0)) << "the point moves";
         }},
        {"a fixed radius with Locked cleared, a point on it dragged",
         [&](DiagramComp* d) {
             auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false));
             d->AddShape(circle);
             make(d, DistanceMaker(), {circle});
             Fix(d, circle->GetCentre());
             auto* on = new VertexShape(1.0, 0.0);
             d->AddShape(on);
             d->AddConstraint(circle->MakeAttachConstraint(on));
             EXPECT_TRUE(DrawValueComp(circle->GetRadiusVar()).ApplyProperties(false, Str255("1")));
             drag(d, on, DPoint(0.5, 0.0));
             EXPECT_NEAR(circle->GetRadius(), 1.5, 1e-4) << "the radius follows";
         }},
        // A drag leaves a locked coordinate where it is and moves the other.
        {"a corner with its x locked dragged",
         [&](DiagramComp* d) {
             Triangle(d);
             corners[2]->GetXVar()->SetFixed(true);
             ItemArray<DrawVariable> moved;
             moved.Add(corners[2]->GetXVar());
             moved.Add(corners[2]->GetYVar());
             ItemArray<VertexShape> dragged;
             dragged.Add(corners[2]);
             EXPECT_TRUE(NewCluster(*d, moved)->SolveDrag(DPoint(0.5, 0.5), dragged, corners[2]));
             EXPECT_EQ(corners[2]->GetPoint(), DPoint(0.0, 4.5));
         }},
        // A fixed point with Locked cleared on x alone: a drag of the other
        // end may move x, never y, and keeps the distance.
        {"a fixed point with Locked cleared on one coordinate, the other end dragged",
         [&](DiagramComp* d) {
             SegmentShape* s = segment(d, 1, 1, 4, 5);
             VertexShape* p = s->GetStart();
             VertexShape* q = s->GetEnd();
             Fix(d, p);
             Distance(d, p, q, 5.0);
             EXPECT_TRUE(DrawValueComp(p->GetXVar()).ApplyProperties(false, Str255("3")));
             const DPoint before = q->GetPoint();
             drag(d, q, DPoint(0.5, 0.5));
             const double dx = q->GetPoint().x - p->GetPoint().x, dy = q->GetPoint().y - p->GetPoint().y;
             EXPECT_EQ(p->GetPoint().y, 1.0) << "the locked coordinate stays";
             EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 5.0, 1e-6) << "the distance holds";
             EXPECT_GT(q->GetPoint().x, before.x + 0.1) << "the end follows the pointer";
         }},
        // The named values a solve changes go back with undo: the names it
        // fills and the values the kernel reports.
        {"a length typed where an equation's names have no values",
         [&](DiagramComp* d) {
             named(d);
             type(d, upright(d), false, "5");
             heldByNames(d);
         }},
        {"a named value typed, its equation's other name without a value",
         [&](DiagramComp* d) {
             named(d);
             d->GetVariables().SetNamed("a", 1.5);
             type(d, d->GetVariables().Find("a"), false, "2");
             heldByNames(d);
         }},
        {"Update of a length where an equation's names have no values",
         [&](DiagramComp* d) {
             named(d);
             d->AddPendingMove(upright(d), 5.0);
             step(d, [d] { return std::make_unique<TUpdateDiagramAction>(d); });
             heldByNames(d);
         }},
        {"make horizontal where an equation's names have no values",
         [&](DiagramComp* d) {
             TriangleShape* triangle = named(d);
             d->SelectShape(triangle->GetSide(1), false);
             step(d, [d] {
                 return std::unique_ptr<TAction>(HorizontalMaker().Make(nullptr, d->GetSelectedShapes(), *d, DPoint()));
             });
             heldByNames(d);
         }},
        {"a corner dragged where an equation's names have no values",
         [&](DiagramComp* d) {
             named(d);
             trackerDrag(d, corners[1], 10, 6);
             heldByNames(d);
         }},
        // A drag gave b = -6 over a base of 6, or left b = -4 over a base of 3.
        {"a corner dragged after a = -3, where the base is b and b = 2a",
         [&](DiagramComp* d) { namedBelowZero(d, "a=-3"); }},
        {"a corner dragged after b = -4, where the base is b", [&](DiagramComp* d) { namedBelowZero(d, "b=-4"); }},
        // The base ended 174000.54 long, b with it; on the way the base
        // measured 3.001 under b = 3.011, as its own value stayed 3.
        {"the upright typed 5, a million, 2, then a millionth, where the base is b and b = 2a",
         [&](DiagramComp* d) {
             named(d);
             StatusRecorder status;
             for (const char* typed : {"5", "1e6", "2", "1e-6"}) {
                 type(d, upright(d), true, typed);
                 heldByNames(d);
                 EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-6)
                     << typed << ": nothing asked the base to change";
             }
             if (KernelLink::Get()) {
                 EXPECT_TRUE(status.texts.empty()) << "an equation that can be met is not left out";
             }
         }},
        // The label gone, the side holds its own value: it used to be the
        // 3 it had before the kernel moved b, and the side snapped back.
        {"the label b deleted after the base's end was dragged, then the upright typed",
         [&](DiagramComp* d) {
             named(d);
             trackerDrag(d, corners[1], 20, 4);
             const double base = Length(corners[0], corners[1]);
             d->DeselectAll(false);
             d->ClickLabel(d->GetConstraints().GetAt(0)->GetLabel(), false);
             step(d, [d] { return std::make_unique<TDeleteDrawingAction>(d); });
             type(d, upright(d), true, "5");
             EXPECT_NEAR(Length(corners[0], corners[1]), base, 1e-7 * base) << "the base keeps its length";
         }},
        // With a point a unit or ten away in the cluster, Newton steps from
        // the tiny figure threw corners 0.3 to 0.8 away, turned over.
        {"a tiny triangle's locked base typed 0.1, the angle at its start locked",
         [&](DiagramComp* d) { tinyBase(d, 0); }},
        {"the same with the angle at its end locked", [&](DiagramComp* d) { tinyBase(d, 1); }},
        {"the same with the angle at its apex locked", [&](DiagramComp* d) { tinyBase(d, 2); }},
        // The sides ended 9.8 % of the figure apart, the base 2.0000139 long.
        {"a figure a millionth across, a million out, with equal sides, a corner dragged",
         [&](DiagramComp* d) { equalSidesDragged(d, 2e-7, 1e6); }},
        {"a locked base typed 2 a hundred million out", [&](DiagramComp* d) { farBase(d, 1e8); }},
        // The answer throws the apex a million out; checked at a share of
        // that, it left the base 3.0000085 long.
        {"the upright typed a million, the base locked at 3",
         [&](DiagramComp* d) {
             Triangle(d);
             auto* base = new DistanceConstraint(corners[0], corners[1]);
             AddUnsolved(d, base);
             d->SetVariableLocked(base->GetVariable(0), true);
             auto* upright = new DistanceConstraint(corners[0], corners[2]);
             AddUnsolved(d, upright);
             type(d, upright->GetVariable(0), true, "1e6");
             EXPECT_NEAR(Length(corners[0], corners[1]), 3.0, 1e-7) << "the base keeps its length";
         }},
        // Was refused, as a collapse nothing demanded.
        {"0 typed on a side whose neighbour is its equal-length partner",
         [&](DiagramComp* d) {
             TriangleShape* triangle = Triangle(d);
             make(d, EqualLengthMaker(), {triangle->GetSide(0), triangle->GetSide(1)});
             auto* distance = new DistanceConstraint(corners[0], corners[1]);
             AddUnsolved(d, distance);
             type(d, distance->GetVariable(0), true, "0");
             for (VertexShape* corner : corners)
                 EXPECT_LT(Length(corner, corners[0]), 1e-9) << "all three corners meet";
         }},
    };
    for (bool withKernel : {true, false}) {
        KernelLink::Set(withKernel ? kernel : nullptr);
        for (const auto& row : rows) {
            SCOPED_TRACE(std::string(row.edit) + (withKernel ? ", kernel" : ", editor's solver"));
            auto* d = new DiagramComp;
            ListPtr owner = ListOf(d);
            row.run(d);
            // The figure, measured, meets every constraint to a ten-millionth of its extent.
            if (!row.told) {
                EXPECT_TRUE(FigureMisses(*d, 1e-7).empty()) << "the figure " << FigureExtent(*d) << " across";
            }
            EXPECT_EQ(ui.LastBoxText(), row.told ? row.told : "");
            EXPECT_LE(ui.boxes.size(), 1u);
            ui.boxes.clear();
        }
    }
    KernelLink::Set(kernel);
}

} // namespace

// An equation the kernel cannot use (unfinished, or with a function it
// cannot compute) stops acting: the shapes tied to it stay free, and the
// status bar says why, once.
TEST_F(DrawingKernelSolveTest, AnEquationThatCannotBeUsedLeavesTheShapesFreeAndSaysSoOnce)
{
    const struct {
        const char* text;
        const char* told;
    } rows[] = {
        {"b=", kUnfinishedEquation},
        {"=5", kUnfinishedEquation},
        {"b=Gamma(b)", kRefusedEquation},
        {"b=sin(b)/0", kRefusedEquation},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        StatusRecorder status;
        DiagramComp* d = new DiagramComp;
        ListPtr owner = ListOf(d);
        Triangle(d);
        auto* side = new DistanceConstraint(corners[0], corners[1]);
        TAddConstraintNoSolveAction addSide(d, side);
        addSide.Perform();
        TAddLabelAction addLabel(d, side);
        addLabel.Perform();
        TypeInto(side->GetLabel(), "b");
        auto* equation = new EquationConstraint;
        equation->SetLabel(new DrawLabel(equation, d, new CompList));
        TAddEquationConstraintAction addEquation(d, equation);
        addEquation.Perform();
        TypeInto(equation->GetLabel(), row.text);
        for (int step = 1; step <= 3; ++step) {
            ItemArray<DrawVariable> moved;
            moved.Add(corners[1]->GetXVar());
            moved.Add(corners[1]->GetYVar());
            std::unique_ptr<ConstraintCluster> solver = NewCluster(*d, moved);
            ItemArray<VertexShape> dragged;
            dragged.Add(corners[1]);
            EXPECT_TRUE(solver->SolveDrag(DPoint(0.1, 0.0), dragged, corners[1])) << step;
            d->ApplyRules(solver->Finalize());
            EXPECT_NEAR(corners[1]->GetPoint().x, 3.0 + 0.1 * step, 1e-6) << "the corner moves";
        }
        EXPECT_EQ(status.texts, std::vector<std::string>{row.told}) << "said once";
        EXPECT_TRUE(ui.boxes.empty()) << ui.LastBoxText();
    }
}
