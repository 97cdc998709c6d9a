// 2-D plots computed by the real kernel program: a table of functions drawn
// at 96 dpi against kept reference pictures and written as well-formed SVG;
// the curves break at poles and jumps, stay out of a function's undefined
// part and inside the y range; a free parameter is asked for; Escape stops
// a long plot and a refused answer keeps the plot as it was.
#include "kernel/link/PlotKernelTest.h"

#include "export/XMLCoreWriter.h"
#include "foundation/ByteStream.h"
#include "foundation/CompList.h"
#include "foundation/DrawContext.h"
#include "foundation/ExprNode.h"
#include "kernel/CompositeNode.h"
#include "kernel/KernelServices.h"
#include "kernel/MathMLOutput.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotComponents.h"
#include "plot/PlotCurveSet.h"
#include "plot/TwoDPlotComp.h"
#include "support/PictureCompare.h"
#include "support/math/MathTestSupport.h"
#include "support/plot/PlotFromText.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

using Node = std::unique_ptr<ExprNode>;

class StringOut : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), size_t(n)); }
    int32_t GetLength() override { return static_cast<int32_t>(text.size()); }
    std::string text;
};

class BlackStroke : public SvgStroke {
public:
    void WriteStroke(MathMLOutput& writer, bool filled) const override
    {
        writer.WriteAttribute("stroke", "black");
        writer.WriteIntAttribute("stroke-width", 10);
        writer.WriteAttribute("fill", filled ? "black" : "none");
    }
};

struct PlotCase {
    const char* name;
    std::vector<const char*> functions; // full form
    PlotRanges ranges;
};

const std::vector<PlotCase>& Cases()
{
    static const std::vector<PlotCase> cases = {
        {"polynomial", {"VXPlus[VXPower[x, 3], VXTimes[-1, 2, x]]"}, {-2, 2, -3, 3}},
        {"sine", {"VXSin[x]"}, {-10, 10, -1.5, 1.5}},
        {"pole", {"VXDivide[1, x]"}, {-2, 2, -5, 5}},
        {"step", {"VXFloor[x]"}, {-3, 3, -4, 4}},
        {"root", {"VXRadical[x, 2]"}, {-1, 4, -1, 3}},
        {"two together", {"VXSin[x]", "VXCos[x]"}, {-6, 6, -1.2, 1.2}},
    };
    return cases;
}

class PlotComputationTest : public PlotKernelTest {
protected:
    static std::unique_ptr<TwoDPlotComp> Plot(const PlotCase& c)
    {
        auto plot = PlotOfFunctions(c.functions);
        plot->SetXVariable("x", c.ranges.xMin, c.ranges.xMax);
        plot->SetYVariable("y", c.ranges.yMin, c.ranges.yMax);
        return plot;
    }

    // The plot computed by the kernel; false when its answer was refused.
    bool Compute(TwoDPlotComp& plot)
    {
        Node command(plot.BuildNode());
        ExprNode* answer = link.ComputePlot(command.get());
        return answer && plot.SetResult(answer);
    }

    // The points of every curve the kernel made (the axes left out), curve by curve.
    static std::vector<std::vector<std::vector<DPoint>>> Pieces(const TwoDPlotComp& plot)
    {
        std::vector<std::vector<std::vector<DPoint>>> curves;
        for (int i = 1; i < plot.GetCurves()->GetCurveCount(); ++i) {
            std::vector<std::vector<DPoint>> pieces;
            for (const auto& item : plot.GetCurves()->GetCurve(i)) {
                if (auto* polyline = dynamic_cast<const PlotPolyline*>(item.get()))
                    pieces.push_back(polyline->GetPoints());
                else if (auto* line = dynamic_cast<const PlotLine*>(item.get()))
                    pieces.push_back({line->GetA(), line->GetB()});
            }
            curves.push_back(pieces);
        }
        return curves;
    }
};

TEST_F(PlotComputationTest, FunctionsAreDrawnAsTheReferencePicturesShowAndWrittenAsWellFormedSvg)
{
    for (const PlotCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        auto plot = Plot(c);
        ASSERT_TRUE(Compute(*plot));
        plot->Measure();
        ASSERT_NE(plot->GetPicture(), nullptr);
        const int w = plot->GetPictureWidth(), h = plot->GetPictureHeight();
        image.fill(Qt::white);
        gDrawContext.PlayMetafile(plot->GetPicture(), Rect(0, 0, w, h));
        const QImage picture = image.copy(0, 0, w, h);
        const QString name = QString("plot-%1.png").arg(QString(c.name).replace(' ', '-'));
        ASSERT_NO_FATAL_FAILURE(ExpectLikeReference(picture, name, 80));

        StringOut out;
        {
            XMLCoreWriter writer(out);
            writer.WriteString(("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(w * 10) +
                                "\" height=\"" + std::to_string(h * 10) + "\">\n")
                                   .c_str());
            plot->GetCurves()->WriteSVGAll(writer, plot->GetGeometry(), BlackStroke());
            writer.WriteString("</svg>\n");
            writer.Flush();
        }
        const QString path = TestOutputDir() + "/" + QString(name).replace(".png", ".svg");
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(out.text.data(), static_cast<qint64>(out.text.size()));
        }
        EXPECT_EQ(std::system(("xmllint --noout " + path.toStdString()).c_str()), 0) << out.text;
        // Tick labels carry a font size that CSS reads: a number and its unit.
        EXPECT_TRUE(QString::fromStdString(out.text).contains(QRegularExpression("font-size: [0-9]+pt\"")));
        EXPECT_EQ(out.text.find(" pt"), std::string::npos);
    }
}

TEST_F(PlotComputationTest, CurvesBreakAtPolesAndJumpsAvoidUndefinedPartsAndStayInTheYRange)
{
    for (const PlotCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        auto plot = Plot(c);
        ASSERT_TRUE(Compute(*plot));
        const auto curves = Pieces(*plot);
        ASSERT_EQ(curves.size(), c.functions.size()) << "one curve for each function";
        for (const auto& pieces : curves) {
            ASSERT_FALSE(pieces.empty());
            for (const auto& piece : pieces)
                for (const DPoint& p : piece) {
                    EXPECT_GE(p.y, c.ranges.yMin - 1e-6);
                    EXPECT_LE(p.y, c.ranges.yMax + 1e-6);
                    EXPECT_GE(p.x, c.ranges.xMin - 1e-9);
                    EXPECT_LE(p.x, c.ranges.xMax + 1e-9);
                }
        }
        const std::string name = c.name;
        if (name == "pole") {
            ASSERT_EQ(curves[0].size(), 2u) << "one piece each side of the pole";
            EXPECT_LT(curves[0][0].back().x, 0);
            EXPECT_GT(curves[0][1].front().x, 0);
        }
        if (name == "step") {
            EXPECT_EQ(curves[0].size(), 6u) << "one piece for each stair between -3 and 3";
        }
        if (name == "root") {
            EXPECT_GE(curves[0][0].front().x, 0) << "nothing where the root is undefined";
        }
        if (name == "sine") {
            EXPECT_EQ(curves[0].size(), 1u) << "a smooth curve is one piece";
        }
    }
}

TEST_F(PlotComputationTest, AFreeParameterIsAskedForAndCancellingComputesNothing)
{
    PlotCase c{"parameter", {"VXTimes[a, x]"}, {-1, 1, -3, 3}};
    auto plot = Plot(c);
    questions.expression = "2";
    ASSERT_TRUE(Compute(*plot));
    ASSERT_EQ(questions.prompts.size(), 1u);
    EXPECT_NE(questions.prompts[0].find("a"), std::string::npos);
    const auto curves = Pieces(*plot);
    ASSERT_EQ(curves.size(), 1u);
    EXPECT_NEAR(curves[0][0].back().y, 2.0, 1e-6);

    questions.expression = "";
    Node command(plot->BuildNode());
    EXPECT_EQ(link.ComputePlot(command.get()), nullptr) << "$Canceled answers nothing";
    EXPECT_EQ(plot->GetCurves()->GetCurveCount(), 2) << "the curves computed before stay";
}

TEST_F(PlotComputationTest, ResolvingPutsTheNamedValuesIn)
{
    Node command(NodeFrom("VXTwoDPlot[List[VXTimes[a, x]], List[x, 0., 1.], List[y, -5., 5.]]"));
    Node rules(NodeFrom("List[Rule[a, 3.]]"));
    auto plot = Plot({"resolved", {"x"}, {0, 1, -5, 5}});
    ASSERT_TRUE(plot->SetResult(link.ResolvePlot(command.get(), rules.get())));
    const auto curves = Pieces(*plot);
    ASSERT_EQ(curves.size(), 1u);
    ASSERT_EQ(curves[0].size(), 1u);
    EXPECT_NEAR(curves[0][0].back().y, 3.0, 1e-6);
    EXPECT_TRUE(questions.prompts.empty()) << "resolving asks nothing";
}

TEST_F(PlotComputationTest, EscapeStopsALongPlotAndTheOldCurvesStay)
{
    auto plot = Plot({"quick", {"x"}, {-1, 1, -1, 1}});
    ASSERT_TRUE(Compute(*plot));
    // A function the sampler leaves to the kernel point by point takes long.
    Node node(NodeFrom("VXSum[VXDivide[VXSin[VXTimes[k, x]], k], List[k, 1, 20000]]"));
    CompList row;
    node->BuildComponents(row, 1);
    plot->GetChild(1)->DetachAll();
    plot->GetChild(1)->InsertAllAt(row.DetachAll(), 1);
    int yields = 0;
    auto escape = questions.OnYield([&] {
        if (++yields == 1)
            link.AbortEvaluation();
    });
    Node command(plot->BuildNode());
    Node answer(link.ComputePlot(command.get()));
    EXPECT_EQ(FullFormOf(answer.get()), "$Aborted");
    EXPECT_FALSE(plot->SetResult(answer.release()));
    EXPECT_EQ(plot->GetCurves()->GetCurveCount(), 2) << "the curves computed before stay";
    // The kernel answers the next request.
    auto again = Plot({"again", {"x"}, {-1, 1, -1, 1}});
    EXPECT_TRUE(Compute(*again));
}

} // namespace

namespace {

// The heights of a SurfaceGraphics answer, row by row.
std::vector<std::vector<double>> HeightsOf(const ExprNode* answer)
{
    std::vector<std::vector<double>> rows;
    auto* surface = dynamic_cast<const SurfaceGraphicsNode*>(answer);
    if (!surface || !surface->Heights() || surface->Heights()->GetTag() != tag_lisN)
        return rows;
    for (const ExprNode* row = static_cast<const CompositeNode*>(surface->Heights())->First(); row; row = row->next) {
        rows.emplace_back();
        if (row->GetTag() == tag_lisN)
            for (const ExprNode* z = static_cast<const CompositeNode*>(row)->First(); z; z = z->next)
                rows.back().push_back(z->GetRealValue());
    }
    return rows;
}

} // namespace

TEST_F(PlotComputationTest, TheKernelAnswersASurfaceOfHeightsWithRowsAlongY)
{
    struct SurfaceCase {
        const char* function;
        double (*expected)(double x, double y);
    };
    const SurfaceCase cases[] = {
        {"VXTimes[VXSin[x], VXCos[y]]", [](double x, double y) { return std::sin(x) * std::cos(y); }},
        {"VXPlus[VXPower[x, 2], VXTimes[-1, VXPower[y, 2]]]", [](double x, double y) { return x * x - y * y; }},
    };
    for (const SurfaceCase& c : cases) {
        SCOPED_TRACE(c.function);
        Node command(NodeFrom(std::string("VXThreeDPlot[List[") + c.function +
                              "], List[x, -1., 1.], List[y, 0., 2.], List[z, -5., 5.]]"));
        Node answer(link.ComputePlot(command.get()));
        const std::vector<std::vector<double>> rows = HeightsOf(answer.get());
        ASSERT_GT(rows.size(), 2u) << FullFormOf(answer.get()).substr(0, 200);
        const double n = double(rows.size() - 1);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(rows[r].size(), rows.size()) << "an n by n grid";
            for (std::size_t col = 0; col < rows[r].size(); ++col)
                ASSERT_NEAR(rows[r][col], c.expected(-1 + 2 * double(col) / n, 2 * double(r) / n), 1e-6)
                    << "row " << r << " column " << col;
        }
    }
}
