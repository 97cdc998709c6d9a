// The 2-D plot component: its record read and written back to the same
// bytes, the kernel's Graphics answer turned into curves (and any other
// answer leaving the curves alone), the plot command it sends, the plot a
// command read from the kernel becomes, its function lines and its keys.
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/ExprNode.h"
#include "foundation/KeyCodes.h"
#include "foundation/LinkRemap.h"
#include "kernel/KernelServices.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotComponents.h"
#include "plot/PlotCurveSet.h"
#include "plot/TwoDPlotComp.h"
#include "support/kernel/NodeWireText.h"
#include "support/math/MathTestSupport.h"
#include "support/plot/PlotFromText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Node = std::unique_ptr<ExprNode>;

class TwoDPlotCompTest : public MathTest {
protected:
    TwoDPlotCompTest()
    {
        InstallKernelServices();
        RegisterPlotComponents();
    }

    // A plot of the functions, each given in full form.
    static std::unique_ptr<TwoDPlotComp> Plot(std::initializer_list<const char*> functions)
    {
        return PlotOfFunctions(functions);
    }

    static int Kinds(const PlotItemList& curve, int32_t kind)
    {
        int n = 0;
        for (const auto& item : curve)
            n += item->GetKind() == kind ? 1 : 0;
        return n;
    }
};

TEST_F(TwoDPlotCompTest, ANewPlotHasOneEmptyLineDefaultRangesAndShowsItsAxes)
{
    CompList row;
    auto* plot = new TwoDPlotComp;
    row.Append(plot);
    row.Layout(10000);
    EXPECT_EQ(plot->GetChildCount(), 1);
    EXPECT_EQ(plot->GetChild(1)->GetCount(), 0);
    EXPECT_EQ(plot->GetXName(), "x");
    EXPECT_EQ(plot->GetYName(), "y");
    EXPECT_DOUBLE_EQ(plot->GetRanges().xMin, -1);
    EXPECT_DOUBLE_EQ(plot->GetRanges().yMax, 1);
    plot->Measure();
    ASSERT_NE(plot->GetCurves(), nullptr);
    EXPECT_EQ(plot->GetCurves()->GetCurveCount(), 1); // the axes alone
    EXPECT_NE(plot->GetPicture(), nullptr);
    EXPECT_GT(plot->GetPictureWidth(), 0);
}

TEST_F(TwoDPlotCompTest, CopyingAsAPictureHandsOutACopyOfTheCachedPicture)
{
    auto plot = Plot({"x"});
    HENHMETAFILE copy = plot->CopyPicture();
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(plot->GetPicture(), nullptr) << "rendered for the copy";
    EXPECT_NE(copy, plot->GetPicture());
    EXPECT_EQ(*copy, *plot->GetPicture());
    DrawContext::DeleteMetafile(copy);
}

TEST_F(TwoDPlotCompTest, LaTeXIsABoxedArrayOfThePictureAndTheLinesAndKeepsTheShownPicture)
{
    auto plot = Plot({"x", "y"});
    CompList row;
    TwoDPlotComp* shown = plot.get();
    row.Append(plot.release());
    shown->Measure();
    const int width = shown->GetPictureWidth();
    const std::string latex = LaTeX(*shown);
    EXPECT_EQ(latex.rfind("\\fbox{$\\begin{array}{c}", 0), 0u) << latex;
    EXPECT_NE(latex.find("\\\\ "), std::string::npos) << latex;
    EXPECT_EQ(latex.substr(latex.size() - 14), "\\end{array}$} ") << latex;
    EXPECT_EQ(shown->GetPictureWidth(), width);
    EXPECT_NE(shown->GetPicture(), nullptr);
}

TEST_F(TwoDPlotCompTest, GraphicsAnswersBecomeOneCurvePerElement)
{
    struct Case {
        const char* name;
        const char* answer;
        int curves; // after the axes
        int lines, polylines, points, texts;
    };
    const Case cases[] = {
        {"a line and a polyline",
         "Graphics[List[Line[List[List[0, 0], List[1, 1]]], Line[List[List[0, 0], List[1, 1], List[2, 0]]]], List[]]",
         2, 1, 1, 0, 0},
        {"nested lists in one element",
         "Graphics[List[List[List[Line[List[List[0, 0], List[1, 1]]]], Point[List[0.5, 0.5]], Text[\"peak\", List[0, "
         "1]]]], List[]]",
         1, 1, 0, 1, 1},
        {"an empty element still makes its curve", "Graphics[List[List[], Line[List[List[0., 0.], List[1., 1.]]]]]", 2,
         1, 0, 0, 0},
        {"polygons and options add nothing",
         "Graphics[List[Polygon[List[List[0, 0], List[1, 0], List[0, 1]]]], List[]]", 1, 0, 0, 0, 0},
        {"no elements", "Graphics[List[], List[]]", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto plot = Plot({"x"});
        ASSERT_TRUE(plot->SetResult(NodeFrom(c.answer)));
        const PlotCurveSet* curves = plot->GetCurves();
        ASSERT_EQ(curves->GetCurveCount(), 1 + c.curves);
        int lines = 0, polylines = 0, points = 0, texts = 0;
        for (int i = 1; i < curves->GetCurveCount(); ++i) {
            lines += Kinds(curves->GetCurve(i), plot::kLine);
            polylines += Kinds(curves->GetCurve(i), plot::kPolyline);
            points += Kinds(curves->GetCurve(i), plot::kPoint);
            texts += Kinds(curves->GetCurve(i), plot::kText);
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(polylines, c.polylines);
        EXPECT_EQ(points, c.points);
        EXPECT_EQ(texts, c.texts);
    }
}

TEST_F(TwoDPlotCompTest, ATextKeepsOnlyTheCharactersOfItsText)
{
    auto plot = Plot({"x"});
    ASSERT_TRUE(plot->SetResult(NodeFrom("Graphics[List[Text[\"max here\", List[1, 2]]]]")));
    const auto* text = static_cast<const PlotText*>(plot->GetCurves()->GetCurve(1).front().get());
    EXPECT_EQ(text->GetLabel(), "max here");
    EXPECT_EQ(text->GetPoint(), DPoint(1, 2));
}

// An error answer, a cancelled request or anything but 2-D graphics keeps
// the curves the plot showed.
TEST_F(TwoDPlotCompTest, AnAnswerThatIsNoGraphicsKeepsTheOldCurves)
{
    auto plot = Plot({"x"});
    ASSERT_TRUE(plot->SetResult(NodeFrom("Graphics[List[Line[List[List[0, 0], List[1, 1]]]]]")));
    for (const char* answer :
         {"$Failed", "$Aborted", "Error", "Graphics3D[List[Line[List[List[0, 0, 0], List[1, 1, 1]]]]]",
          "List[Line[List[List[0, 0], List[1, 1]]]]"}) {
        SCOPED_TRACE(answer);
        EXPECT_FALSE(plot->SetResult(NodeFrom(answer)));
        EXPECT_EQ(plot->GetCurves()->GetCurveCount(), 2);
    }
}

TEST_F(TwoDPlotCompTest, RecordsReadBackToTheSameBytes)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TwoDPlotComp>()> make;
    };
    const Case cases[] = {
        {"new, without a curve set", [] { return Plot({"x"}); }},
        {"two lines with computed curves and a text",
         [] {
             auto plot = Plot({"VXSin[x]", "VXPower[x, 2]"});
             plot->SetXVariable("t", 0, 6.5);
             plot->SetYVariable("value", -2, 2);
             plot->SetResult(NodeFrom("Graphics[List[Line[List[List[0, 0], List[1, 1], List[2, 0.5]]], "
                                      "List[Point[List[1, 1]], Text[\"a\", List[0, 1]]]]]"));
             return plot;
         }},
        {"reversed ranges with axes only",
         [] {
             auto plot = Plot({"x"});
             plot->SetXVariable("x", 1, -1);
             plot->ResetToAxes();
             return plot;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CompList row;
        row.Append(c.make().release());
        const std::vector<uint8_t> bytes = WriteRow(row);
        std::unique_ptr<CompList> read = ReadRow(bytes);
        ASSERT_EQ(read->GetCount(), 1);
        EXPECT_EQ(WriteRow(*read), bytes);
        auto* original = static_cast<TwoDPlotComp*>(row.GetAt(1));
        auto* copy = dynamic_cast<TwoDPlotComp*>(read->GetAt(1));
        ASSERT_NE(copy, nullptr);
        EXPECT_TRUE(copy->IsEqual(*original));
        EXPECT_EQ(copy->GetXName(), original->GetXName());
        EXPECT_DOUBLE_EQ(copy->GetRanges().xMax, original->GetRanges().xMax);
        EXPECT_EQ(copy->GetMargins().left, original->GetMargins().left);
        EXPECT_EQ(copy->GetCurves() != nullptr, original->GetCurves() != nullptr);
    }
}

TEST_F(TwoDPlotCompTest, ACopyKeepsLinesRangesAndCurves)
{
    auto plot = Plot({"VXSin[x]", "x"});
    plot->SetXVariable("x", 0, 6);
    plot->SetResult(NodeFrom("Graphics[List[Line[List[List[0, 0], List[1, 1]]]]]"));
    LinkRemap remap;
    std::unique_ptr<TextComp> copy(plot->Clone(remap));
    auto* twoD = static_cast<TwoDPlotComp*>(copy.get());
    EXPECT_TRUE(twoD->IsEqual(*plot));
    EXPECT_EQ(twoD->GetCurves()->GetCurveCount(), 2);
    EXPECT_DOUBLE_EQ(twoD->GetRanges().xMax, 6);
}

TEST_F(TwoDPlotCompTest, ThePlotCommandInPackageAndPlainForm)
{
    auto one = Plot({"VXSin[x]"});
    Node command(one->BuildNode());
    EXPECT_EQ(FullFormOf(command.get()), "VXTwoDPlot[List[VXSin[x]], List[x, -1., 1.], List[y, -1., 1.]]");
    EXPECT_EQ(PlainFormOf(command.get()), "Plot[Sin[x], List[x, -1., 1.]]");
    auto two = Plot({"VXSin[x]", "x"});
    Node both(two->BuildNode());
    EXPECT_EQ(PlainFormOf(both.get()), "Show[List[Plot[Sin[x], List[x, -1., 1.]], Plot[x, List[x, -1., 1.]]]]");
}

TEST_F(TwoDPlotCompTest, AnAnsweredPlotCommandBecomesAPlotWithItsGraphics)
{
    Node answer(NodeFrom("VXTwoDPlot[List[VXSin[x]], List[x, 0, 6], List[y, -1, 1], "
                         "Graphics[List[List[Line[List[List[0, 0], List[1, 0.84], List[2, 0.9]]]]], List[]]]"));
    CompList row;
    answer->BuildComponents(row, 1);
    ASSERT_EQ(row.GetCount(), 1);
    auto* plot = dynamic_cast<TwoDPlotComp*>(row.GetAt(1));
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(plot->GetChildCount(), 1);
    EXPECT_EQ(RowText(*plot->GetChild(1)), RowText(*Plot({"VXSin[x]"})->GetChild(1)));
    EXPECT_DOUBLE_EQ(plot->GetRanges().xMin, 0);
    EXPECT_DOUBLE_EQ(plot->GetRanges().xMax, 6);
    ASSERT_NE(plot->GetCurves(), nullptr);
    EXPECT_EQ(plot->GetCurves()->GetCurveCount(), 2);
    // A range that is no list keeps the default.
    Node damaged(NodeFrom("VXTwoDPlot[List[x], 7, List[y, -3, 3]]"));
    CompList other;
    damaged->BuildComponents(other, 1);
    auto* defaulted = dynamic_cast<TwoDPlotComp*>(other.GetAt(1));
    ASSERT_NE(defaulted, nullptr);
    EXPECT_DOUBLE_EQ(defaulted->GetRanges().xMax, 1);
    EXPECT_DOUBLE_EQ(defaulted->GetRanges().yMin, -3);
}

TEST_F(TwoDPlotCompTest, CtrlEnterInsertsAFunctionLineAndTheLastLineStays)
{
    auto plot = Plot({"x"});
    DocPosition at(plot->GetChild(1), 1);
    EXPECT_EQ(plot->MapKey(at, KeyCode::kReturn, false, true), EditCode::kInsertExpression);
    EXPECT_EQ(plot->MapKey(at, KeyCode::kLineFeed, false, true), EditCode::kInsertExpression);
    EXPECT_EQ(plot->MapKey(at, KeyCode::kLineFeed, false, false), EditCode::kInsertExpression);
    EXPECT_NE(plot->MapKey(at, KeyCode::kReturn, false, false), EditCode::kInsertExpression);
    DocPosition start = plot->AddFunction();
    EXPECT_EQ(plot->GetChildCount(), 2);
    EXPECT_EQ(start.GetList(), plot->GetChild(2));
    plot->RemoveLastFunction();
    plot->RemoveLastFunction();
    EXPECT_EQ(plot->GetChildCount(), 1);
}

TEST_F(TwoDPlotCompTest, NamesAreCutTo31Characters)
{
    auto plot = Plot({"x"});
    plot->SetXVariable(std::string(40, 'v'), -1, 1);
    EXPECT_EQ(plot->GetXName(), std::string(31, 'v'));
}

} // namespace
