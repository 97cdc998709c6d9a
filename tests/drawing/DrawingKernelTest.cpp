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

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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
        // A refused curve is computed again later.
        EXPECT_TRUE(plot->IsPending());
        EXPECT_EQ(kernel.Written().front(),
                  "EvaluatePacket[VXResolvePlot[VXTwoDPlot[List[x], List[x, -1., 1.], List[y, -1., 1.]], List[]]]");
    }
    // Without a kernel the plot waits, curve kept.
    EXPECT_EQ(compute(), PlotShape::Computed::Pending);
    EXPECT_TRUE(plot->IsPending());
    EXPECT_NE(plot->GetCurves(), nullptr);
}

// ---- plots that follow their drawing ----

const char* kCurve = "Graphics[List[List[Line[List[List[0., 0.], List[1., 1.]]]]]]";

// The x range of each plot request written, in order.
std::vector<std::pair<double, double>> PlotRanges(const std::vector<std::string>& written)
{
    std::vector<std::pair<double, double>> ranges;
    for (const std::string& request : written) {
        const size_t at = request.find("List[x, ");
        if (request.find("VXResolvePlot") == std::string::npos || at == std::string::npos)
            continue;
        char* end = nullptr;
        const double low = std::strtod(request.c_str() + at + 8, &end);
        const double high = std::strtod(end + 1, nullptr);
        ranges.emplace_back(low, high);
    }
    return ranges;
}

class PlotFollowTest : public DrawingKernelTest {
protected:
    PlotFollowTest()
    {
        drawing->SetSize(3000, 3000);
        list->RelayoutAll(false);
        drawing->Repaint();
    }
    // A plot with a curve of its own, as a file or an earlier computation left it.
    PlotShape* AddPlot(const char* function, bool usesVariables, bool pending)
    {
        auto* plot = new PlotShape(Row(function), usesVariables);
        auto curves = std::make_unique<PlotCurveSet>();
        Node graphics(NodeFrom(kCurve));
        curves->BuildFromGraphics(graphics.get());
        plot->SetCurves(std::move(curves));
        plot->SetPending(pending);
        drawing->AddShape(plot);
        return plot;
    }
    std::pair<double, double> VisibleX() const
    {
        DPoint topLeft, bottomRight;
        drawing->GetVisibleWorld(topLeft, bottomRight);
        return {topLeft.x, bottomRight.x};
    }
};

TEST_F(PlotFollowTest, ZoomPanAndANewSizeComputeEveryPlotOverTheNewRange)
{
    struct Case {
        const char* change;
        std::function<void()> apply;
    };
    const IntPoint centre(150, -150);
    const std::vector<Case> cases = {
        {"zoom out", [&] { drawing->Zoom(centre, 0.5); }},
        {"zoom in", [&] { drawing->Zoom(centre, 2.0); }},
        {"pan", [&] { drawing->Pan(40, -25); }},
        {"new size",
         [&] {
             ASSERT_TRUE(drawing->SetSize(4500, 3000));
             list->RelayoutAll(false);
             drawing->Repaint();
         }},
    };
    PlotShape* plain = AddPlot("x", false, false);
    PlotShape* named = AddPlot("a x", true, false);
    drawing->GetVariables().SetNamed("a", 2.0);
    ScriptedKernel kernel({});
    drawing->Repaint(); // the named plot follows the value it was never computed with
    kernel.Written();
    for (const Case& c : cases) {
        kernel.Answer({kCurve, kCurve});
        const PlotCurveSet* before = plain->GetCurves();
        c.apply();
        const auto ranges = PlotRanges(kernel.Written());
        ASSERT_EQ(ranges.size(), 2u) << c.change;
        const auto [xmin, xmax] = VisibleX();
        for (const auto& [low, high] : ranges) {
            EXPECT_NEAR(low, xmin, 1e-6 * (xmax - xmin)) << c.change;
            EXPECT_NEAR(high, xmax, 1e-6 * (xmax - xmin)) << c.change;
        }
        EXPECT_NE(plain->GetCurves(), before) << c.change;
        EXPECT_FALSE(plain->IsPending() || named->IsPending()) << c.change;
    }
}

TEST_F(PlotFollowTest, APendingOrRefusedPlotGetsItsCurveWhenTheDrawingIsEditedAgain)
{
    PlotShape* pending = AddPlot("x", false, true);
    PlotShape* done = AddPlot("2 x", false, false);
    ScriptedKernel kernel({"$Failed"});
    // Editing starts: the pending plot is asked for and refused; the other
    // one has its curve.
    drawing->RecomputePlots(true);
    EXPECT_TRUE(drawing->IsActive());
    EXPECT_EQ(PlotRanges(kernel.Written()).size(), 1u);
    EXPECT_TRUE(pending->IsPending());
    EXPECT_EQ(ui.LastStatus(), PlotShape::kRefusedAnswer);
    EXPECT_TRUE(ui.boxes.empty());
    // A change does not ask for a refused curve again; editing again does.
    drawing->Repaint();
    EXPECT_TRUE(PlotRanges(kernel.Written()).empty());
    kernel.Answer({kCurve});
    drawing->RecomputePlots(false);
    EXPECT_EQ(PlotRanges(kernel.Written()).size(), 1u);
    EXPECT_FALSE(pending->IsPending());
    EXPECT_FALSE(done->IsPending());
}

TEST_F(PlotFollowTest, APlotOfNamedVariablesFollowsANewValueOnly)
{
    PlotShape* plain = AddPlot("x", false, false);
    PlotShape* named = AddPlot("a x", true, false);
    DrawVarTable& table = drawing->GetVariables();
    table.SetNamed("a", 1.0);
    ScriptedKernel kernel({kCurve});
    drawing->Repaint();
    EXPECT_EQ(PlotRanges(kernel.Written()).size(), 1u);
    // The same values ask for nothing; a new value asks for the named plot only.
    drawing->Repaint();
    EXPECT_TRUE(PlotRanges(kernel.Written()).empty());
    kernel.Answer({kCurve});
    const PlotCurveSet* before = named->GetCurves();
    table.SetNamed("a", 3.0);
    drawing->Repaint();
    const std::vector<std::string> written = kernel.Written();
    ASSERT_EQ(PlotRanges(written).size(), 1u);
    EXPECT_NE(written.front().find("Rule[a, 3.]"), std::string::npos) << written.front();
    EXPECT_NE(named->GetCurves(), before);
    EXPECT_NE(plain->GetCurves(), nullptr);
}

TEST_F(PlotFollowTest, WithoutAKernelPlotsKeepTheirCurvesAndTheStatusSaysSoOnce)
{
    PlotShape* plot = AddPlot("x", false, false);
    const PlotCurveSet* curves = plot->GetCurves();
    for (int step = 0; step < 3; ++step)
        drawing->Pan(10, 0);
    EXPECT_EQ(plot->GetCurves(), curves);
    EXPECT_TRUE(plot->IsPending());
    ASSERT_EQ(ui.statusTexts.size(), 1u);
    EXPECT_NE(ui.statusTexts.front().find("kernel"), std::string::npos);
    EXPECT_TRUE(ui.boxes.empty());
    // Once the curves could be computed again, a later wait is told again.
    {
        ScriptedKernel kernel({kCurve});
        drawing->Pan(10, 0);
        EXPECT_FALSE(plot->IsPending());
    }
    drawing->Zoom(IntPoint(150, -150), 0.5);
    EXPECT_EQ(ui.statusTexts.size(), 2u);
}

} // namespace
