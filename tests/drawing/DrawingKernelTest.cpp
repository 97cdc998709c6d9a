// The drawing's side of the kernel conversation against a scripted kernel:
// the forms drawing variables and drawings take on the link, numbers read
// back, and every kind of unusable answer refused with the drawing as it was.
#include "DrawingTestSupport.h"
#include "ScriptedKernel.h"

#include "drawing/DrawIdentities.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawVariable.h"
#include "drawing/DrawingNodes.h"
#include "drawing/KernelSolver.h"
#include "drawing/PlotShape.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "kernel/KernelServices.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "plot/PlotCurveSet.h"
#include "support/FakeUserInterface.h"
#include "support/kernel/NodeWireText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Node = std::unique_ptr<ExprNode>;

std::string Id(const DrawVariable* variable) { return std::to_string(DrawIdentities::OfVariable(variable)); }
std::string Var(const DrawVariable* variable) { return "VXDrawVar[" + Id(variable) + "]"; }

CompList* Row(const char* text)
{
    auto* row = new CompList;
    ExprNode::AppendCharacters(text, *row);
    return row;
}

const char* kNoDeficits = "List[List[], List[]]";

class DrawingKernelTest : public DrawingTest {
protected:
    DrawingKernelTest() : drawing(new DiagramComp), list(ListOf(drawing))
    {
        InstallKernelServices();
        p = new VertexShape(1.0, 2.0);
        q = new VertexShape(4.0, 6.0);
        drawing->AddShape(p);
        drawing->AddShape(q);
    }

    std::vector<double> Values() const
    {
        return {p->GetXVar()->GetValue(), p->GetYVar()->GetValue(), q->GetXVar()->GetValue(),
                q->GetYVar()->GetValue()};
    }
    ItemArray<DrawVariable> PVariables() const
    {
        ItemArray<DrawVariable> variables;
        variables.Add(p->GetXVar());
        variables.Add(p->GetYVar());
        return variables;
    }
    ItemArray<VertexShape> Moved() const
    {
        ItemArray<VertexShape> moved;
        moved.Add(p);
        return moved;
    }
    std::string PModel() const { return "List[" + Var(p->GetXVar()) + ", " + Var(p->GetYVar()) + "]"; }

    DiagramComp* drawing;
    ListPtr list;
    VertexShape* p;
    VertexShape* q;
    FakeUserInterface ui;
};

TEST_F(DrawingKernelTest, AVariableTravelsAsItsNumberOrAsItsValueWhenFixed)
{
    DrawVariable v(2.5, false);
    DrawVarNode node(&v);
    EXPECT_EQ(FullFormOf(&node), Var(&v));
    v.SetFixed(true);
    EXPECT_EQ(FullFormOf(&node), "VXDrawValue[2.5]");
    EXPECT_EQ(PlainFormOf(&node), "VXDrawValue[2.5]");
    v.SetFixed(false);
    node.SetMoverFlag(true);
    EXPECT_EQ(FullFormOf(&node, 1), "VXMover[" + Var(&v) + "]");
    EXPECT_TRUE(node.IsNumericExpr());
    EXPECT_EQ(node.GetRealValue(), 2.5);
    // The number stays the variable's.
    EXPECT_EQ(Id(&v), Id(&v));
}

TEST_F(DrawingKernelTest, ANumberReadBackNamesOnlyALiveVariableHandedOut)
{
    auto* v = new DrawVariable(1.0, false);
    const std::string number = Id(v);
    auto variableOf = [](const std::string& fullForm) {
        Node node(NodeFrom(fullForm));
        auto* read = dynamic_cast<DrawVarNode*>(node.get());
        EXPECT_NE(read, nullptr) << fullForm;
        return read ? read->GetVariable() : nullptr;
    };
    EXPECT_EQ(variableOf("VXDrawVar[" + number + "]"), v);
    EXPECT_EQ(variableOf("VXDrawVar[" + std::to_string(std::stoi(number) + 1000) + "]"), nullptr);
    EXPECT_EQ(variableOf("VXDrawVar[x]"), nullptr);
    EXPECT_EQ(variableOf("VXDrawVar[" + std::to_string(DrawIdentities::OfDiagram(drawing)) + "]"), nullptr);
    delete v;
    EXPECT_EQ(variableOf("VXDrawVar[" + number + "]"), nullptr);
}

TEST_F(DrawingKernelTest, ADrawingTellsTheKernelItsLabelsWithTheSelectedOneMarked)
{
    auto* labelled = new VertexShape(0.0, 0.0);
    labelled->SetLabel(new DrawLabel(labelled, drawing, Row("a")));
    drawing->AddShape(labelled);
    Node node(drawing->BuildNode());
    ASSERT_EQ(node->GetTag(), TypeTag("drwN"));
    const std::string number = std::to_string(DrawIdentities::OfDiagram(drawing));
    EXPECT_EQ(FullFormOf(node.get()), "VXDrawing[" + number + ", x, y, a]");
    EXPECT_EQ(PlainFormOf(node.get()), "VXDrawing[" + number + "]");
    static_cast<CompositeNode*>(node.get())->First()->SetMoverFlag(true);
    EXPECT_EQ(FullFormOf(node.get(), 1), "VXDrawing[" + number + ", x, y, VXMover[a]]");
    Node copy(node->Clone());
    EXPECT_EQ(static_cast<DrawingNode*>(copy.get())->GetDiagram(), drawing);
    EXPECT_EQ(FullFormOf(copy.get(), 1), FullFormOf(node.get(), 1));
}

TEST_F(DrawingKernelTest, ASolveAppliesAWellFormedAnswerOnly)
{
    const std::vector<double> before = Values();
    const std::string x = Var(p->GetXVar());
    const std::string y = Var(p->GetYVar());
    const std::string stranger = Var(q->GetXVar());
    const std::vector<std::string> refused = {
        "$Failed",
        "List[1]",
        "List[1, 7]",
        "List[0, List[Rule[" + x + ", 9.]]]",
        "List[1., List[Rule[" + x + ", 9.]]]",
        // A live variable of the drawing that is not in the model.
        "List[1, List[Rule[" + x + ", 9.], Rule[" + stranger + ", 9.]]]",
        // A number nobody handed out.
        "List[1, List[Rule[" + x + ", 9.], Rule[VXDrawVar[2000000000], 9.]]]",
    };
    for (const std::string& answer : refused) {
        ScriptedKernel kernel({kNoDeficits, PModel(), answer});
        KernelSolver solver(*drawing, PVariables());
        ASSERT_TRUE(solver.IsBuilt());
        EXPECT_FALSE(solver.Solve()) << answer;
        EXPECT_EQ(Values(), before) << answer;
    }
    // An integer value is no real and is passed over; a named rule too.
    ScriptedKernel kernel({kNoDeficits, PModel(), "List[1, List[Rule[" + x + ", 9.], Rule[" + y + ", 3], Rule[a, 1.]]]"});
    KernelSolver solver(*drawing, PVariables());
    EXPECT_TRUE(solver.Solve());
    EXPECT_EQ(Values(), (std::vector<double>{9.0, 2.0, 4.0, 6.0}));
    const std::vector<std::string> written = kernel.Written();
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[1], "QVBuildModelFromVars[List[], List[" + x + ", " + y + "]]");
    EXPECT_EQ(written[2], "QVSolveSystem[List[Rule[" + x + ", 1.], Rule[" + y + ", 2.]]]");
}

TEST_F(DrawingKernelTest, AModelNamingWhatTheDrawingNeverHandedOutIsNoModel)
{
    const std::vector<double> before = Values();
    ScriptedKernel kernel({kNoDeficits, "List[" + Var(p->GetXVar()) + ", VXDrawVar[2000000001]]"});
    KernelSolver solver(*drawing, PVariables());
    EXPECT_FALSE(solver.IsBuilt());
    EXPECT_EQ(solver.GetRules(), nullptr);
    EXPECT_FALSE(solver.Solve());
    EXPECT_FALSE(solver.SolveDrag(DPoint(1, 1), Moved(), p));
    EXPECT_EQ(Values(), before);
}

TEST_F(DrawingKernelTest, AKernelThatStopsMidDragLeavesTheRestToTheEditorsSolver)
{
    ScriptedKernel kernel({kNoDeficits, PModel()});
    KernelSolver solver(*drawing, PVariables());
    kernel.Close();
    EXPECT_TRUE(solver.SolveDrag(DPoint(1.0, -1.0), Moved(), p));
    EXPECT_TRUE(solver.HasFallenBack());
    EXPECT_EQ(ui.LastBoxText(), KernelSolver::kKernelStopped);
    EXPECT_EQ(Values(), (std::vector<double>{2.0, 1.0, 4.0, 6.0}));
    EXPECT_TRUE(solver.SolveDrag(DPoint(1.0, 0.0), Moved(), p));
    EXPECT_EQ(ui.boxes.size(), 1u);
    // Undo goes back to the values from before the drag.
    solver.SwapGathered();
    EXPECT_EQ(Values(), (std::vector<double>{1.0, 2.0, 4.0, 6.0}));
    // Nothing is written to a closed link at the end.
    Node rules(solver.Finalize());
    EXPECT_EQ(rules->GetChildCount(), 0);
}

TEST_F(DrawingKernelTest, FinalizeWritesNothingToAClosedLink)
{
    ScriptedKernel kernel({kNoDeficits, PModel(), "List[Rule[a, 2.]]"});
    KernelSolver solver(*drawing, PVariables());
    Node rules(solver.Finalize());
    EXPECT_EQ(FullFormOf(rules.get()), "List[Rule[a, 2.]]");
    kernel.Written();
    kernel.link.Attach(nullptr);
    Node refused(solver.Finalize());
    EXPECT_NE(refused->GetTag(), TypeTag("lisN"));
}

TEST_F(DrawingKernelTest, DeficitAnswersOfEveryShortOrWrongFormAskNothing)
{
    drawing->GetVariables().SetNamed("a", 3.0);
    for (const char* answer : {"List[List[a]]", "List[]", "Null", "List[List[a], Null]", "List[List[], List[]]"}) {
        ScriptedKernel kernel({answer});
        drawing->ResolveDeficits();
        EXPECT_EQ(kernel.Written().size(), 1u) << answer;
        EXPECT_EQ(drawing->GetVariables().GetCount(), 1) << answer;
        EXPECT_EQ(drawing->GetVariables().GetAt(0).variable->GetValue(), 3.0) << answer;
    }
    // A deficit is resolved with the variables' present values; a number
    // that names nothing is left out.
    ScriptedKernel kernel({"List[List[b], List[" + Var(p->GetXVar()) + ", VXDrawVar[2000000002]]]", "List[Rule[b, 4.]]"});
    drawing->ResolveDeficits();
    EXPECT_EQ(kernel.Written().back(),
              "EvaluatePacket[VXResolveDeficits[List[Rule[a, 3.]], List[b], List[Rule[" + Var(p->GetXVar()) + ", 1.]]]]");
    EXPECT_EQ(drawing->GetVariables().GetCount(), 2);
}

TEST_F(DrawingKernelTest, TheNamedVariablesFollowTheKernelAndSurviveAFailedCheck)
{
    DrawVarTable& table = drawing->GetVariables();
    table.SetNamed("b", 1.0);
    table.SetNamed("c", 1.0);
    DrawVariable* b = table.Find("b");
    ScriptedKernel kernel({"List[Rule[a, 1.], Rule[b, 2.], Rule[a, 5.]]", "$Failed"});
    drawing->UpdateNamedVariables();
    ASSERT_EQ(table.GetCount(), 2);
    EXPECT_EQ(std::string(table.GetAt(0).name.GetText()), "a");
    EXPECT_EQ(table.GetAt(0).variable->GetValue(), 5.0);
    EXPECT_EQ(table.GetAt(1).variable.get(), b);
    EXPECT_EQ(b->GetValue(), 2.0);
    // A check the kernel could not answer leaves the table as it was.
    drawing->UpdateNamedVariables();
    EXPECT_EQ(table.GetCount(), 2);
    // Rules of other forms are passed over.
    drawing->ApplyRules(NodeFrom("List[Rule[a, 2.5], Rule[b, c], 7]"));
    EXPECT_EQ(table.Find("a")->GetValue(), 2.5);
    EXPECT_EQ(b->GetValue(), 2.0);
    // A Greek name comes back in either spelling of the kernel's.
    table.ReplaceFromRules(NodeFrom("List[Rule[theta, 1.]]"));
    drawing->ApplyRules(NodeFrom("List[Rule[\u03b8, 2.]]"));
    ASSERT_EQ(table.GetCount(), 1);
    EXPECT_EQ(table.GetAt(0).variable->GetValue(), 2.0);
    table.ReplaceFromRules(NodeFrom("List[]"));
    EXPECT_EQ(table.GetCount(), 0);
}

TEST_F(DrawingKernelTest, APlotKeepsItsCurveWhenTheKernelRefusesAndSaysSo)
{
    auto* plot = new PlotShape(Row("x"), false);
    drawing->AddShape(plot);
    auto compute = [&] {
        return plot->Compute(-1, 1, 1, -1, new ListNode, new SymbolNode(std::string("x")),
                             new SymbolNode(std::string("y")));
    };
    {
        ScriptedKernel kernel({"Graphics[List[List[Line[List[List[0., 0.], List[1., 1.]]]]]]", "$Failed"});
        EXPECT_EQ(compute(), PlotShape::Computed::Done);
        const PlotCurveSet* curves = plot->GetCurves();
        ASSERT_NE(curves, nullptr);
        EXPECT_EQ(curves->GetCurveCount(), 1);
        EXPECT_EQ(compute(), PlotShape::Computed::Refused);
        EXPECT_EQ(plot->GetCurves(), curves);
        EXPECT_EQ(ui.LastBoxText(), PlotShape::kRefusedAnswer);
        EXPECT_FALSE(plot->IsPending());
        EXPECT_EQ(kernel.Written().front(),
                  "EvaluatePacket[VXResolvePlot[VXTwoDPlot[List[x], List[x, -1., 1.], List[y, -1., 1.]], List[]]]");
    }
    // Without a kernel the plot waits, curve kept.
    EXPECT_EQ(compute(), PlotShape::Computed::Pending);
    EXPECT_TRUE(plot->IsPending());
    EXPECT_NE(plot->GetCurves(), nullptr);
}

} // namespace
