// Every request of the kernel link: the expression it writes, recorded on a
// loopback link, and the answer the real kernel program gives to it.
#include "kernel/link/LinkTestSupport.h"

#include "foundation/ExprNode.h"
#include "kernel/CompositeNode.h"
#include "kernel/KernelSettings.h"
#include "kernel/LeafNodes.h"
#include "kernel/NameTable.h"
#include "kernel/TermOrdering.h"
#include "mathlink/LinkExpr.h"
#include "platform/AppProfile.h"
#include "support/ScopedInstall.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Node = std::unique_ptr<ExprNode>;
using Call = std::function<std::string(KernelLink&)>;

Node N(const char* fullForm) { return Node(NodeFrom(fullForm)); }

std::string Answer(ExprNode* node) { return FullFormOf(Node(node)); }

// A node whose child `mover` (1-based; 0 for none) is marked as dragged and
// child `target` as the drop's target (0 for none; -1 for the node itself).
Node Marked(const char* fullForm, int mover, int target)
{
    Node node = N(fullForm);
    auto* composite = dynamic_cast<CompositeNode*>(node.get());
    if (mover > 0)
        composite->ChildAt(mover)->SetMoverFlag(true);
    if (target > 0)
        composite->ChildAt(target)->SetTarget(true);
    else if (target < 0)
        node->SetTarget(true);
    return node;
}

std::string ChoiceText(int count, const KernelChoice* choices)
{
    std::string text = std::to_string(count);
    for (int i = 0; i < count; ++i)
        text += " {" + std::to_string(choices[i].code) + "," + choices[i].text + "," +
                std::to_string(choices[i].extra) + "}";
    return text;
}

struct RequestCase {
    const char* name;
    Call call;
    const char* wire;      // what the link writes
    const char* answer;    // what the real kernel answers, as the caller sees it
};

const std::vector<RequestCase>& Cases()
{
    static const std::vector<RequestCase> cases = {
        {"StringEvaluate", [](KernelLink& l) { return Answer(l.StringEvaluate(N("VXPlus[1, 2]").get())); },
         "EvaluatePacket[VXStringEvaluate[VXPlus[1, 2]]]", "3"},
        {"Evaluate", [](KernelLink& l) { return Answer(l.Evaluate(1, N("VXPlus[x, x]").get())); },
         "EvaluatePacket[VXEvaluate[1, VXPlus[x, x]]]", "VXTimes[2, x]"},
        {"Simplify", [](KernelLink& l) { return Answer(l.Simplify(N("VXTimes[2, 3]").get())); },
         "EvaluatePacket[VXSimplify[VXTimes[2, 3]]]", "6"},
        {"Simplify of a divergent integral",
         [](KernelLink& l) {
             return Answer(l.Simplify(N("VXTimes[2, VXIntegrate[VXDivide[1, x], List[x, -1, 1]]]").get()));
         },
         "EvaluatePacket[VXSimplify[VXTimes[2, VXIntegrate[VXDivide[1, x], List[x, -1, 1]]]]]",
         "VXTimes[2, VXIntegrate[VXDivide[1, x], List[x, -1, 1]]]"},
        {"Shuffle", [](KernelLink& l) { return Answer(l.Shuffle(1, Marked("VXPlus[a, b, c]", 1, 3).get())); },
         "EvaluatePacket[VXShuffle[1, VXPlus[VXMover[a], b, VXTarget[c]]]]", "VXPlus[b, c, a]"},
        // The dropped expression goes with its pressed term marked; the target plain.
        {"Drop",
         [](KernelLink& l) {
             return Answer(
                 l.Drop(21, Marked("VXPlus[y, 1]", 0, -1).get(), Marked("VXInequality[y, Equal, 2]", 1, 0).get()));
         },
         "EvaluatePacket[VXDrop[21, VXPlus[y, 1], VXInequality[VXMover[y], Equal, 2]]]", "VXPlus[2, 1]"},
        {"EvaluateShuffle",
         [](KernelLink& l) {
             KernelChoice c[KernelLink::kMaxChoices];
             int n = l.EvaluateShuffle(Marked("VXPlus[a, b, c]", 1, 3).get(), c);
             return ChoiceText(n, c);
         },
         "EvaluatePacket[VXEvaluateShuffle[VXPlus[VXMover[a], b, VXTarget[c]]]]", "1 {1,Move the term here,0}"},
        {"EvaluateDrop",
         [](KernelLink& l) {
             KernelChoice c[KernelLink::kMaxChoices];
             int n = l.EvaluateDrop(Marked("VXPlus[y, 1]", 0, -1).get(),
                                    Marked("VXInequality[y, Equal, 2]", 1, 0).get(), c);
             return ChoiceText(n, c);
         },
         "EvaluatePacket[VXEvaluateDrop[VXPlus[y, 1], VXInequality[VXMover[y], Equal, 2]]]",
         "1 {21,Substitute for y,6}"},
        {"EvaluateEval",
         [](KernelLink& l) {
             KernelChoice c[KernelLink::kMaxChoices];
             int n = l.EvaluateEval(N("VXPlus[a, b]").get(), c);
             return ChoiceText(n, c);
         },
         "EvaluatePacket[VXEvaluateEval[VXPlus[a, b]]]", "3 {19,Simplify,7} {3,Factor,7} {4,Numeric value,7}"},
        {"NextAfterMax", [](KernelLink& l) { return Answer(l.NextAfterMax(N("List[3, 7, 5]").get())); },
         "EvaluatePacket[Plus[Part[Sort[List[3, 7, 5], Greater], 1], 1]]", "8"},
        {"SetConstantAttribute e",
         [](KernelLink& l) {
             l.SetConstantAttribute('e', true);
             return std::string("-");
         },
         "EvaluatePacket[SetAttributes[E, Constant]]", "-"},
        {"SetConstantAttribute E",
         [](KernelLink& l) {
             l.SetConstantAttribute('E', false);
             return std::string("-");
         },
         "EvaluatePacket[ClearAttributes[capE, Constant]]", "-"},
        {"SetConstantAttribute p",
         [](KernelLink& l) {
             l.SetConstantAttribute('p', true);
             return std::string("-");
         },
         "EvaluatePacket[SetAttributes[vxP, Constant]]", "-"},
        {"SetSessionPrefs",
         [](KernelLink& l) {
             l.SetSessionPrefs();
             return std::string("-");
         },
         "EvaluatePacket[VXSetSessionPrefs[t, s, 12, 2]]", "-"},
        {"SendStartupPrefs",
         [](KernelLink& l) {
             l.SendStartupPrefs();
             return std::string("-");
         },
         "EvaluatePacket[VXSetSessionPrefs[t, s, 12, vxDefaultSortPriorities, 2]]", "-"},
        {"SetSortPriorities",
         [](KernelLink& l) {
             l.SetSortPriorities(NodeFrom("List[True, List[List[x, 200], List[alpha, 0]]]"), false);
             return std::string(l.ConstantsToBack() ? "back" : "kept");
         },
         "EvaluatePacket[VXSetSortPriorities[List[True, List[List[x, 200], List[alpha, 0]]]]]", "kept"},
        {"ResetSortPriorities stored", [](KernelLink& l) { return Answer(l.ResetSortPriorities(false)); },
         "EvaluatePacket[vxSortPriorities]", "List[True, List[List[x, 200], List[alpha, 0]]]"},
        {"ResetSortPriorities", [](KernelLink& l) { return Answer(l.ResetSortPriorities(true)); },
         "EvaluatePacket[vxDefaultSortPriorities]", "List[False, List[]]"},
        {"ToStandardFormString", [](KernelLink& l) { return l.ToStandardFormString(N("Plus[x, 1]").get()); },
         "ToString[Hold[Plus[x, 1]], StandardForm]", "\\(x + 1\\)"},
        {"ComputePlot",
         [](KernelLink& l) {
             return Answer(l.ComputePlot(N("VXTwoDPlot[List[x], List[x, 0., 1.], List[y, 2., 3.]]").get()));
         },
         "EvaluatePacket[VXComputePlot[VXTwoDPlot[List[x], List[x, 0., 1.], List[y, 2., 3.]]]]",
         "Graphics[List[List[]], List[]]"},
        {"ResolvePlot",
         [](KernelLink& l) {
             return Answer(l.ResolvePlot(N("VXTwoDPlot[List[VXTimes[a, x]], List[x, 0., 1.], List[y, 2., 3.]]").get(),
                                         N("List[Rule[a, 1.]]").get()));
         },
         "EvaluatePacket[VXResolvePlot[VXTwoDPlot[List[VXTimes[a, x]], List[x, 0., 1.], List[y, 2., 3.]], "
         "List[Rule[a, 1.]]]]",
         "Graphics[List[List[]], List[]]"},
        {"PlotDeficit",
         [](KernelLink& l) {
             return Answer(l.PlotDeficit(N("f").get(), N("List[]").get(), N("X").get(), N("Y").get()));
         },
         "EvaluatePacket[VXPlotDeficit[f, List[], X, Y]]", "List[f]"},
        {"VariableCheck",
         [](KernelLink& l) { return Answer(l.VariableCheck(N("List[]").get(), N("List[]").get(), N("List[]").get())); },
         "EvaluatePacket[VXVariableCheck[List[], List[], List[]]]", "List[]"},
        {"GetPlotVars", [](KernelLink& l) { return Answer(l.GetPlotVars(N("f").get(), N("X").get(), N("Y").get())); },
         "EvaluatePacket[VXGetPlotVars[f, X, Y]]", "List[f]"},
        {"FinalizeModel", [](KernelLink& l) { return Answer(l.FinalizeModel(N("List[]").get())); },
         "EvaluatePacket[VXFinalizeModel[List[]]]", "List[]"},
        {"CheckDeficit", [](KernelLink& l) { return Answer(l.CheckDeficit(N("List[]").get(), N("List[]").get())); },
         "EvaluatePacket[VXCheckDeficit[List[], List[]]]", "List[List[], List[]]"},
        {"ResolveDeficits",
         [](KernelLink& l) { return Answer(l.ResolveDeficits(N("List[]").get(), N("1").get(), N("List[]").get())); },
         "EvaluatePacket[VXResolveDeficits[List[], 1, List[]]]", "$Failed"},
        {"BuildModelFromCore",
         [](KernelLink& l) { return Answer(l.BuildModelFromCore(N("List[]").get(), N("List[]").get())); },
         "QVBuildModelFromCore[List[], List[]]", "List[]"},
        {"BuildModelFromVars",
         [](KernelLink& l) { return Answer(l.BuildModelFromVars(N("List[]").get(), N("List[]").get())); },
         "QVBuildModelFromVars[List[], List[]]", "List[]"},
        {"SolveSystem", [](KernelLink& l) { return Answer(l.SolveSystem(N("List[]").get(), nullptr, nullptr)); },
         "QVSolveSystem[List[]]", "List[1, List[]]"},
        {"ConstrainedMin",
         [](KernelLink& l) { return Answer(l.SolveSystem(N("List[]").get(), N("List[]").get(), N("List[]").get())); },
         "QVConstrainedMin[List[], List[], List[]]", "List[1, List[]]"},
    };
    return cases;
}

class KernelRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppProfile::SetFolder(settings.path());
        KernelPrefs prefs;
        prefs.defaultVariable = "t";
        prefs.transformVariable = "s";
        prefs.precision = 12;
        prefs.simplificationLevel = 2;
        prefs.Save();
        KernelSettings folder;
        folder.kernelPath = KernelFolder();
        folder.Save();
        TheNameTable();
    }
    void TearDown() override { AppProfile::SetFolder({}); }

    QTemporaryDir settings;
};

// What the request writes: the link is a loopback holding a prepared answer,
// so the request reads that answer and leaves its own packet behind.
std::string Recorded(const Call& call)
{
    ScriptedQuestions questions;
    KernelLink link;
    link.SetQuestions(&questions);
    ScopedInstall programLink(SetProgramLink, &link);
    MLENV env = MLInitialize();
    int error = 0;
    MLINK loop = MLLoopbackOpen(env, &error);
    wire::putLinkExpr(loop, wire::parseFullForm("ReturnPacket[Null]"));
    MLEndPacket(loop);
    link.Attach(loop);
    call(link);
    std::string text = "<nothing written>";
    if (MLNextPacket(loop) != MLERRORPKT) {
        wire::Expr e;
        if (wire::getLinkExpr(loop, e))
            text = wire::toFullForm(e);
    }
    link.Attach(nullptr);
    MLClose(loop);
    MLDeinitialize(env);
    return text;
}

TEST_F(KernelRequestTest, EveryRequestWritesItsExpressionAndReadsTheKernelsAnswer)
{
    ScriptedQuestions questions;
    KernelLink kernel;
    kernel.SetQuestions(&questions);
    ASSERT_TRUE(StartAndWait(kernel)) << (questions.messages.empty() ? "" : questions.messages.front());
    ScopedInstall programLink(SetProgramLink, &kernel);
    for (const RequestCase& c : Cases()) {
        // The recorded packet starts with the packet's own head, which MLNextPacket does not take.
        std::string wire = Recorded(c.call);
        EXPECT_EQ(wire, c.wire) << c.name;
        KernelLink::Set(&kernel);
        EXPECT_EQ(c.call(kernel), c.answer) << c.name;
        EXPECT_FALSE(kernel.IsBusy()) << c.name;
    }
    EXPECT_TRUE(questions.messages.empty()) << questions.messages.front();
    kernel.QuitKernel();
    EXPECT_FALSE(kernel.IsReady());
}

TEST_F(KernelRequestTest, NoRequestIsWrittenWithoutAnIdleKernel)
{
    KernelLink link;
    ScopedInstall programLink(SetProgramLink, &link);
    for (const RequestCase& c : Cases()) {
        std::string answer = c.call(link);
        EXPECT_TRUE(answer == "Error" || answer == "-" || answer == "1 {0,,0}" || answer == "1" || answer == "kept")
            << c.name << ": " << answer;
        EXPECT_FALSE(link.IsBusy()) << c.name;
    }
}

} // namespace
