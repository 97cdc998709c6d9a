// The named variables of drawings and "Add to drawing", asked of a real kernel
// process in the package form the program writes: which names a drawing
// uses, which lack values, the values the geometry gives them, and the
// shapes a label's point, points, vector or function become.
#include "KernelTestLink.h"

#include <gtest/gtest.h>

#include <cmath>

using wire::Expr;
using wire::parseFullForm;

namespace {

// |AB|^2 == a^2 with A = (0, 0) fixed and B = (VXDrawVar[3], VXDrawVar[4]).
const char* const kSideA = "VXInequality[VXPlus[VXPower[VXPlus[VXDrawVar[3], VXTimes[-1, VXDrawValue[0.]]], 2], "
                           "VXPower[VXPlus[VXDrawVar[4], VXTimes[-1, VXDrawValue[0.]]], 2]], Equal, VXPower[a, 2]]";

class DrawingNames : public ::testing::Test {
protected:
    std::string ask(const std::string& request) { return kernel.evaluate(request); }
    Expr answer(const std::string& request) { return kernel.answerOf(parseFullForm(request), true); }

    KernelTestLink kernel;
};

double valueOf(const Expr& rule)
{
    return std::stod(rule.arg(1).text);
}

} // namespace

TEST_F(DrawingNames, VariableCheckKeepsTheUsedNamesThatHaveValues)
{
    // a and k are used and have values (k from its equation), b is used without
    // one (left to the deficit checks), c is no longer used.
    const std::string system = std::string("List[") + kSideA + ", VXInequality[k, Equal, 3], " +
        "VXInequality[VXDrawVar[5], Equal, VXTimes[b, VXDrawVar[6]]]]";
    const Expr checked =
        answer("VXVariableCheck[" + system + ", List[VXTimes[a, VXPower[x, 2]]], List[Rule[a, 2.], Rule[c, 1.]]]");
    EXPECT_EQ(wire::toFullForm(checked), "List[Rule[a, 2.], Rule[k, 3.]]");
}

TEST_F(DrawingNames, PlotVariablesAndTheirDeficit)
{
    EXPECT_EQ(ask("VXGetPlotVars[VXPlus[VXTimes[a, VXPower[x, 2]], VXSin[VXTimes[Pi, x]], b], x, y]"), "List[a, b]");
    EXPECT_EQ(ask("VXGetPlotVars[VXPower[t, 2], t, u]"), "List[]");
    EXPECT_EQ(ask("VXPlotDeficit[VXPlus[VXTimes[a, x], b], List[Rule[a, 1.5]], x, y]"), "List[b]");
    EXPECT_EQ(ask("VXPlotDeficit[VXTimes[a, x], List[Rule[a, 1.5]], x, y]"), "List[]");
}

TEST_F(DrawingNames, DeficitsAreFilledFromTheGeometry)
{
    const std::string system = std::string("List[") + kSideA + "]";
    EXPECT_EQ(ask("VXCheckDeficit[" + system + ", List[Rule[a, 2.]]]"), "List[List[], List[]]");

    const Expr deficit = answer("VXCheckDeficit[" + system + ", List[]]");
    ASSERT_TRUE(deficit.hasHead("List", 2)) << wire::toFullForm(deficit);
    ASSERT_GT(deficit.arg(0).argCount(), 0u) << "the program goes on only when the first element has children";
    EXPECT_EQ(wire::toFullForm(deficit.arg(1)), "List[VXDrawVar[3], VXDrawVar[4]]");

    // B at (3, 4): the side is 5 long.
    const std::string first = wire::toFullForm(deficit.arg(0));
    const Expr resolved =
        answer("VXResolveDeficits[List[], " + first + ", List[Rule[VXDrawVar[3], 3.], Rule[VXDrawVar[4], 4.]]]");
    ASSERT_TRUE(resolved.hasHead("List", 1)) << wire::toFullForm(resolved);
    EXPECT_EQ(resolved.arg(0).arg(0), Expr::symbol("a"));
    EXPECT_NEAR(valueOf(resolved.arg(0)), 5.0, 1e-9);

    // A name listed twice is answered once (the program's table must not hold it twice).
    const Expr once = answer("VXResolveDeficits[List[], List[List[a, a], List[" + std::string(kSideA) +
                             "]], List[Rule[VXDrawVar[3], 3.], Rule[VXDrawVar[4], 4.]]]");
    EXPECT_TRUE(once.hasHead("List", 1)) << wire::toFullForm(once);

    // An angle named θ at A between AB and the x axis, through Cos.
    const std::string angle = "List[VXInequality[VXTimes[VXRadical[VXPlus[VXPower[VXDrawVar[3], 2], "
                              "VXPower[VXDrawVar[4], 2]]], VXCos[θ]], Equal, VXDrawVar[3]]]";
    const Expr angleDeficit = answer("VXCheckDeficit[" + angle + ", List[]]");
    ASSERT_TRUE(angleDeficit.hasHead("List", 2));
    const Expr theta = answer("VXResolveDeficits[List[], " + wire::toFullForm(angleDeficit.arg(0)) +
                              ", List[Rule[VXDrawVar[3], 1.], Rule[VXDrawVar[4], 1.]]]");
    ASSERT_TRUE(theta.hasHead("List", 1)) << wire::toFullForm(theta);
    EXPECT_NEAR(valueOf(theta.arg(0)), std::atan(1.0), 1e-9);
}

TEST_F(DrawingNames, MalformedNameRequestsAreRefused)
{
    const char* const refused[] = {
        "VXVariableCheck[x, List[], List[]]",
        "VXVariableCheck[List[], List[], List[Rule[a]]]",
        "VXVariableCheck[List[], List[], List[Rule[a, b]]]",
        "VXGetPlotVars[VXTimes[a, x], 1, 2]",
        "VXPlotDeficit[a, List[1], x, y]",
        "VXCheckDeficit[5, List[]]",
        "VXResolveDeficits[List[], 1, List[]]",
        "VXResolveDeficits[List[], List[List[1], List[]], List[]]",
        "VXResolveDeficits[List[], List[List[a], List[VXInequality[a, Equal, VXDrawVar[9]]]], List[]]",
        "VXGetPlotVars[x]",
    };
    for (const char* request : refused) {
        SCOPED_TRACE(request);
        EXPECT_EQ(ask(request), "$Failed");
    }
}

TEST_F(DrawingNames, AddToDrawingIsOfferedForWhatADrawingCanShow)
{
    const std::string offered = "List[List[20, \"Add to drawing\", 9]]";
    EXPECT_EQ(ask("VXEvaluateEval[VXDrawing[7, x, y, VXMover[QVPoint[1, 2]]]]"), offered);
    EXPECT_EQ(ask("VXEvaluateEval[VXDrawing[7, x, y, VXMover[VXPower[x, 2]]]]"), offered);
    EXPECT_EQ(ask("VXEvaluateEval[VXDrawing[7, x, y, VXMover[List[QVPoint[1, 2], QVPoint[3, 4]]]]]"), offered);
    // The whole drawing and a relation show nothing.
    EXPECT_EQ(ask("VXEvaluateEval[VXDrawing[7, x, y]]"), "List[List[0, \"\", 0]]");
    EXPECT_EQ(ask("VXEvaluateEval[VXDrawing[7, x, y, VXMover[VXInequality[a, Less, 2]]]]"), "List[List[0, \"\", 0]]");
}

TEST_F(DrawingNames, AddToDrawingAnswersEachKindOfShape)
{
    EXPECT_EQ(ask("VXEvaluate[20, QVPoint[1, VXPlus[1, 1]]]"), "List[1, 1, QVPoint[1., 2.]]");
    EXPECT_EQ(ask("VXEvaluate[20, List[QVPoint[1, 2], QVPoint[3, VXDivide[1, 2]]]]"),
              "List[2, 1, List[QVPoint[1., 2.], QVPoint[3., 0.5]]]");
    EXPECT_EQ(ask("VXEvaluate[20, VXOverVector[QVPoint[2, 0]]]"), "List[3, 0, QVPoint[2., 0.]]");
    EXPECT_EQ(ask("VXEvaluate[20, List[2, 3]]"), "List[3, 0, QVPoint[2., 3.]]");
    EXPECT_EQ(ask("VXEvaluate[20, VXMatrix[List[List[2], List[-1]]]]"), "List[3, 0, QVPoint[2., -1.]]");

    const Expr plotted = answer("VXEvaluate[20, VXInequality[y, Equal, VXTimes[a, VXPower[x, 2]]]]");
    ASSERT_TRUE(plotted.hasHead("List", 3)) << wire::toFullForm(plotted);
    EXPECT_EQ(plotted.arg(0), Expr::integer(4));
    EXPECT_EQ(plotted.arg(1), Expr::integer(0));
    EXPECT_EQ(ask("VXGetPlotVars[" + wire::toFullForm(plotted.arg(2)) + ", x, y]"), "List[a]");

    // Coordinates that are no numbers, and parts that are no shape, are refused.
    EXPECT_EQ(ask("VXEvaluate[20, QVPoint[a, 2]]"), "$Failed");
    EXPECT_EQ(ask("VXEvaluate[20, \"text\"]"), "$Failed");
    EXPECT_EQ(ask("VXEvaluate[20, VXInequality[a, Less, 2]]"), "$Failed");
}

TEST_F(DrawingNames, ResolvedPlotsUseTheNamedValuesAndRefuseMissingOnes)
{
    // y = a x with a = 2 over x in [0, 1]: every point lies on y = 2 x.
    const Expr graphics = answer("VXResolvePlot[VXTwoDPlot[List[VXTimes[a, x]], List[x, 0., 1.], List[y, -5., 5.]], "
                                 "List[Rule[a, 2.]]]");
    ASSERT_TRUE(graphics.hasHead("Graphics", 2)) << wire::toFullForm(graphics);
    const Expr& curve = graphics.arg(0).arg(0);
    ASSERT_TRUE(curve.hasHead("List", 1) && curve.arg(0).hasHead("Line", 1)) << wire::toFullForm(curve);
    const Expr& points = curve.arg(0).arg(0);
    ASSERT_GT(points.argCount(), 1u);
    for (std::size_t i = 0; i < points.argCount(); ++i)
        EXPECT_NEAR(std::stod(points.arg(i).arg(1).text), 2 * std::stod(points.arg(i).arg(0).text), 1e-6);

    // Without a value for b the plot is refused, never drawn empty.
    EXPECT_EQ(ask("VXResolvePlot[VXTwoDPlot[List[VXTimes[b, x]], List[x, 0., 1.], List[y, -5., 5.]], List[]]"),
              "$Failed");
}
