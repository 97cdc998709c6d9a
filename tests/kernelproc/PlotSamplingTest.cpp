// The kernel's plot sampling without the link: functions compiled from
// their package form, curves broken where a function jumps or leaves its
// domain but never along a steep line, clipped to the y range; the
// parameters a plot must ask for, and the Plot choice.
#include "kernelproc/CalculationChoices.h"
#include "kernelproc/CalculationCodes.h"
#include "kernelproc/PlotFunction.h"
#include "kernelproc/PlotRequests.h"
#include "kernelproc/PlotSampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace kernelproc;
using wire::Expr;
using wire::parseFullForm;

namespace {

std::function<double(double)> Compiled(const char* fullForm, std::map<std::string, double> values = {})
{
    std::vector<std::string> unknowns;
    std::optional<PlotFunction> f = PlotFunction::compile(parseFullForm(fullForm), "x", values, unknowns);
    if (!f)
        return [](double) { return std::nan(""); };
    return *f;
}

} // namespace

TEST(PlotSampling, FunctionsEvaluateAsTheirPackageFormsSay)
{
    struct Case {
        const char* f;
        double x, y;
    };
    const Case cases[] = {
        {"VXPlus[VXPower[x, 2], VXTimes[-1, 3, x], 2]", 4, 6},
        {"VXDivide[1, x]", 4, 0.25},
        {"VXRadical[x, 3]", -8, -2}, // the real cube root of a negative number
        {"VXRadical[x]", 9, 3},
        {"VXLog[2, x]", 8, 3},
        {"VXLog[x]", 1, 0},
        {"VXSin[VXTimes[Pi, x]]", 0.5, 1},
        {"VXAbs[VXPlus[x, -3]]", 1, 2},
        {"VXExp[x]", 0, 1},
        {"VXSplit[List[1, VXInequality[x, Less, 0]], List[VXPower[x, 2], vxOtherwise]]", -5, 1},
        {"VXSplit[List[1, VXInequality[x, Less, 0]], List[VXPower[x, 2], vxOtherwise]]", 3, 9},
        {"VXMod[x, 3]", -1, 2},
        {"Rational[1, 4]", 0, 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f);
        EXPECT_NEAR(Compiled(c.f)(c.x), c.y, 1e-12);
    }
    EXPECT_TRUE(std::isnan(Compiled("VXLog[x]")(-1)));
    EXPECT_TRUE(std::isnan(Compiled("VXRadical[x, 2]")(-1)));
}

TEST(PlotSampling, UnknownSymbolsAndHeadsAreReported)
{
    std::vector<std::string> unknowns;
    EXPECT_FALSE(PlotFunction::compile(parseFullForm("VXTimes[a, VXSin[VXTimes[b, x]]]"), "x", {}, unknowns));
    EXPECT_EQ(unknowns, (std::vector<std::string>{"a", "b"}));
    unknowns.clear();
    EXPECT_TRUE(PlotFunction::compile(parseFullForm("VXTimes[a, x]"), "x", {{"a", 2}}, unknowns));
    EXPECT_FALSE(PlotFunction::compile(parseFullForm("VXZeta[x]"), "x", {}, unknowns));
    EXPECT_TRUE(unknowns.empty());
    // The symbol a sum runs over is no parameter of the plot.
    EXPECT_EQ(plotParameters(parseFullForm("VXSum[VXTimes[c, VXPower[x, k]], List[k, 1, n]]"), "x"),
              (std::vector<std::string>{"c", "n"}));
}

TEST(PlotSampling, CurvesBreakAtJumpsAndDomainEdgesButNotAlongSteepLines)
{
    struct Case {
        const char* name;
        const char* f;
        double xFrom, xTo, yFrom, yTo;
        std::size_t pieces;
    };
    const Case cases[] = {
        {"a parabola", "VXPower[x, 2]", -2, 2, -1, 5, 1},
        {"a steep line", "VXTimes[1000, x]", -1, 1, -1, 1, 1},
        {"a steeper line", "VXTimes[100000, x]", -1, 1, -1, 1, 1},
        {"a pole", "VXDivide[1, x]", -1, 1, -10, 10, 2},
        {"a tangent", "VXTan[x]", -4, 4, -5, 5, 3},
        {"a step", "VXUnitStep[x]", -1, 1, -0.5, 1.5, 2},
        {"a small step", "VXPlus[x, VXTimes[0.2, VXUnitStep[x]]]", -1, 1, -2, 2, 2},
        {"undefined on the left", "VXLog[x]", -1, 3, -3, 2, 1},
        {"undefined everywhere", "VXLog[VXTimes[-1, VXPower[x, 2]]]", -1, 1, -1, 1, 0},
        {"reversed ranges", "VXPower[x, 2]", 2, -2, 5, -1, 1},
        {"an empty x range", "x", 1, 1, -1, 1, 0},
        {"an empty y range", "x", -1, 1, 0, 0, 0},
        {"an oscillation leaving the band", "VXTimes[3, VXSin[x]]", -10, 10, -1, 1, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Polyline> pieces = samplePlot(Compiled(c.f), c.xFrom, c.xTo, c.yFrom, c.yTo);
        EXPECT_EQ(pieces.size(), c.pieces);
        const double low = std::min(c.yFrom, c.yTo), high = std::max(c.yFrom, c.yTo);
        for (const Polyline& piece : pieces) {
            EXPECT_GE(piece.size(), 2u);
            for (const PlotPoint& p : piece) {
                EXPECT_GE(p.y, low - 1e-9);
                EXPECT_LE(p.y, high + 1e-9);
            }
        }
    }
}

TEST(PlotSampling, ASuggestedRangeShowsMostValuesWithRoundEnds)
{
    const auto [low, high] = suggestYRange(Compiled("VXSin[x]"), -10, 10);
    EXPECT_DOUBLE_EQ(low, -1.1);
    EXPECT_DOUBLE_EQ(high, 1.1);
    const auto [flatLow, flatHigh] = suggestYRange(Compiled("3"), -1, 1);
    EXPECT_DOUBLE_EQ(flatLow, 2);
    EXPECT_DOUBLE_EQ(flatHigh, 4);
    const auto [noneLow, noneHigh] = suggestYRange(Compiled("VXLog[VXTimes[-1, VXPower[x, 2]]]"), -1, 1);
    EXPECT_DOUBLE_EQ(noneLow, -1);
    EXPECT_DOUBLE_EQ(noneHigh, 1);
}

TEST(PlotSampling, PlotIsOfferedForAFunctionOfOneVariable)
{
    ChoiceContext context;
    auto offersPlot = [&](const char* fullForm) {
        const auto choices = calculationChoices(parseFullForm(fullForm), context);
        return std::any_of(choices.begin(), choices.end(), [](const CalculationChoice& c) {
            return c.code == kCalcPlot && c.label == "Plot" && c.placement == 0;
        });
    };
    EXPECT_TRUE(offersPlot("VXSin[x]"));
    EXPECT_TRUE(offersPlot("VXPower[t, 2]"));
    EXPECT_FALSE(offersPlot("VXPlus[a, b]"));
    EXPECT_FALSE(offersPlot("VXInequality[x, Equal, 2]"));
    EXPECT_FALSE(offersPlot("5"));
}

TEST(PlotSampling, ThePlotChoiceAnswersAPlotCommandWithItsGraphics)
{
    auto evaluate = [](const Expr& e) { return e; };
    const Expr plot = PlotRequests::plotOf(parseFullForm("VXSin[t]"), "t", evaluate);
    ASSERT_TRUE(plot.hasHead("VXTwoDPlot", 4)) << wire::toFullForm(plot);
    EXPECT_EQ(wire::toFullForm(plot.arg(0)), "List[VXSin[t]]");
    EXPECT_EQ(wire::toFullForm(plot.arg(1)), "List[t, -10., 10.]");
    EXPECT_EQ(wire::toFullForm(plot.arg(2)), "List[y, -1.1, 1.1]");
    ASSERT_TRUE(plot.arg(3).hasHead("Graphics", 2));
    EXPECT_EQ(plot.arg(3).arg(0).argCount(), 1u);
    // A request of another shape is refused, not guessed at.
    EXPECT_EQ(
        wire::toFullForm(*PlotRequests::answer(parseFullForm("VXComputePlot[VXTwoDPlot[List[x]]]"), evaluate, {})),
        "$Failed");
}

namespace {

Expr Surface(const char* command, const PlotRequests::Ask& ask = {})
{
    auto evaluate = [](const Expr& e) { return e; };
    return *PlotRequests::answer(parseFullForm(command), evaluate, ask);
}

double Number(const Expr& e)
{
    return *numericValue(e);
}

} // namespace

TEST(PlotSampling, ASurfaceHasRowsAlongYAndHeightsClippedToTheZRange)
{
    // z = x - 10 y over x in 0..1, y in 0..1, seen between -5 and 0.5.
    const Expr answer = Surface("VXComputePlot[VXThreeDPlot[List[VXPlus[x, VXTimes[-10, y]]], List[x, 0., 1.], "
                                "List[y, 0., 1.], List[z, -5., 0.5]]]");
    ASSERT_TRUE(answer.hasHead("SurfaceGraphics", 2)) << wire::toFullForm(answer);
    const Expr& rows = answer.arg(0);
    ASSERT_GT(rows.argCount(), 2u);
    for (std::size_t r = 0; r < rows.argCount(); ++r)
        ASSERT_EQ(rows.arg(r).argCount(), rows.argCount()) << "an n by n grid";
    const std::size_t last = rows.argCount() - 1;
    EXPECT_DOUBLE_EQ(Number(rows.arg(0).arg(0)), 0);
    EXPECT_DOUBLE_EQ(Number(rows.arg(0).arg(last)), 0.5) << "x runs along a row: 1, clipped to 0.5";
    EXPECT_NEAR(Number(rows.arg(1).arg(0)), -10.0 / double(last), 1e-7) << "the next row is the next y";
    EXPECT_DOUBLE_EQ(Number(rows.arg(last).arg(0)), -5) << "-10 clipped to the bottom";
    // A point outside the domain lies on the bottom; the surface has no hole.
    const Expr root = Surface("VXComputePlot[VXThreeDPlot[List[VXRadical[x, 2]], List[x, -1., 1.], List[y, 0., 1.], "
                              "List[z, -2., 2.]]]");
    EXPECT_DOUBLE_EQ(Number(root.arg(0).arg(0).arg(0)), -2);
}

TEST(PlotSampling, SeveralSurfacesAreMeshesAndAMissingParameterCancels)
{
    const Expr answer = Surface("VXComputePlot[VXThreeDPlot[List[x, y], List[x, 0., 1.], List[y, 0., 1.], "
                                "List[z, -1., 1.]]]");
    ASSERT_TRUE(answer.hasHead("Graphics3D", 2)) << wire::toFullForm(answer).substr(0, 200);
    ASSERT_EQ(answer.arg(0).argCount(), 2u) << "one mesh for each function";
    const Expr& firstCell = answer.arg(0).arg(1).arg(0);
    ASSERT_TRUE(firstCell.hasHead("Polygon", 1));
    ASSERT_EQ(firstCell.arg(0).argCount(), 4u);
    EXPECT_DOUBLE_EQ(Number(firstCell.arg(0).arg(2).arg(2)), Number(firstCell.arg(0).arg(2).arg(1)))
        << "the second function's heights are its y";

    int asked = 0;
    const Expr canceled =
        Surface("VXComputePlot[VXThreeDPlot[List[VXTimes[a, x]], List[x, 0., 1.], List[y, 0., 1.], List[z, -1., 1.]]]",
                [&](int, const Expr&) -> std::optional<Expr> {
                    ++asked;
                    return std::nullopt;
                });
    EXPECT_EQ(wire::toFullForm(canceled), "$Canceled");
    EXPECT_EQ(asked, 1) << "the axis names are not asked for";
    EXPECT_EQ(wire::toFullForm(Surface("VXComputePlot[VXThreeDPlot[List[x], List[x, 0., 1.]]]")), "$Failed");
}
