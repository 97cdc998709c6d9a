// Every plot record the program writes reads back as it was written: each
// item kind at its edge values (empty, one element, the most its counts
// hold) writes the same bytes again after reading, and a plot of more
// curves or function lines than its record counts is refused when the
// answer or the line arrives, keeping what the plot showed.
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/MemoryStream.h"
#include "foundation/TInsertExpressionAction.h"
#include "kernel/KernelServices.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/PlotNodes.h"
#include "plot/PlotComponents.h"
#include "plot/PlotCurveSet.h"
#include "plot/ThreeDPlotComp.h"
#include "plot/TwoDPlotComp.h"
#include "platform/Exceptions.h"
#include "support/FakeUserInterface.h"
#include "support/math/MathTestSupport.h"
#include "support/model/ArchiveStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class PlotRecordLimitsTest : public MathTest {
protected:
    PlotRecordLimitsTest()
    {
        InstallKernelServices();
        RegisterPlotComponents();
    }

    // A set of one curve holding the item.
    static PlotCurveSet SetOf(std::unique_ptr<PlotItem> item)
    {
        PlotCurveSet set;
        set.BeginCurve();
        set.AddItem(std::move(item));
        set.EndCurve();
        return set;
    }

    static std::vector<uint8_t> Bytes(const PlotCurveSet& set)
    {
        return StoreArchive([&set](DocWriter& writer) { set.Write(writer); });
    }

    static PlotCurveSet ReadBack(std::vector<uint8_t> bytes, int dimensions)
    {
        MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
        DocReader reader(&stream);
        PlotCurveSet set;
        const int lists = reader.ReadShort();
        if (dimensions == 3)
            set.Read3D(reader, lists);
        else
            set.Read(reader, lists);
        EXPECT_EQ(stream.GetPosition(), static_cast<int32_t>(bytes.size()));
        return set;
    }

    // A Graphics answer of n point elements, each of which becomes a curve.
    static GraphicsNode* PointsAnswer(int n, bool twoDimensional)
    {
        std::vector<ExprNode*> points;
        points.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            auto* at = new ListNode;
            at->ChainAll({new RealNode(i), new RealNode(0.5), new RealNode(0.25)});
            points.push_back(new GraphicsPointNode(at));
        }
        auto* content = new ListNode;
        content->ChainAll(points);
        return new GraphicsNode(content, nullptr, twoDimensional);
    }
};

std::unique_ptr<PlotItem> Faces(std::vector<PlotPolygon3D::Face> faces, int vertices)
{
    std::vector<Point3D> points;
    for (int i = 0; i < vertices; ++i)
        points.push_back({double(i), 1.0 - i, 0.5});
    return std::make_unique<PlotPolygon3D>(std::move(faces), std::move(points));
}

TEST_F(PlotRecordLimitsTest, EveryItemKindAtItsEdgesReadsBackToTheSameBytes)
{
    std::vector<std::pair<const char*, std::unique_ptr<PlotItem>>> items;
    auto add = [&items](const char* name, std::unique_ptr<PlotItem> item) {
        items.emplace_back(name, std::move(item));
    };
    add("an x tick at 0", std::make_unique<PlotTickX>(DPoint{0, 0}, 0));
    add("a y tick above", std::make_unique<PlotTickY>(DPoint{1e300, -1e-300}, 1));
    add("a line of one point twice", std::make_unique<PlotLine>(DPoint{2, 2}, DPoint{2, 2}));
    add("a point", std::make_unique<PlotPoint>(DPoint{-1, 1}));
    add("an empty polyline", std::make_unique<PlotPolyline>(std::vector<DPoint>{}));
    add("a polyline of one point", std::make_unique<PlotPolyline>(std::vector<DPoint>{{1, 2}}));
    add("an empty text", std::make_unique<PlotText>(DPoint{0, 1}, ""));
    add("the longest text", std::make_unique<PlotText>(DPoint{0, 1}, std::string(255, 'w')));
    add("a box with no grid step", std::make_unique<PlotBox3D>(1, 3, 5, Point3D{0, 0, 0}));
    add("a line in space", std::make_unique<PlotLine3D>(Point3D{0, 0, 0}, Point3D{1, 1, 1}));
    add("a point in space", std::make_unique<PlotPoint3D>(Point3D{1, 2, 3}));
    add("an empty polyline in space", std::make_unique<PlotPolyline3D>(std::vector<Point3D>{}));
    add("an empty text in space", std::make_unique<PlotText3D>(Point3D{0, 0, 1}, ""));
    add("a surface of one point", std::make_unique<PlotSurface3D>(1, 1, std::vector<Point3D>{{0, 0, 2}}));
    add("a polygon set without faces", Faces({}, 0));
    add("one empty face", Faces({{}}, 0));
    add("two empty faces", Faces({{}, {}}, 0));
    add("empty faces around a triangle", Faces({{}, {0, 1, 2}, {}}, 3));
    add("a face of one vertex", Faces({{0}}, 1));
    add("a face of the most vertices", Faces({{0, 1, 2, 3, 4, 5, 6, 7}}, 8));
    for (auto& [name, item] : items) {
        SCOPED_TRACE(name);
        const int dimensions = dynamic_cast<PlotItem3D*>(item.get()) ? 3 : 2;
        const int32_t kind = item->GetKind();
        const PlotCurveSet set = SetOf(std::move(item));
        const std::vector<uint8_t> bytes = Bytes(set);
        const PlotCurveSet read = ReadBack(bytes, dimensions);
        ASSERT_EQ(read.GetCurveCount(), 1);
        ASSERT_EQ(read.GetCurve(0).size(), 1u);
        EXPECT_EQ(read.GetCurve(0).front()->GetKind(), kind);
        EXPECT_EQ(Bytes(read), bytes);
    }
}

// A set's record counts its curves in 16 bits: the most it holds writes and
// reads back, one more is refused rather than written as another count.
TEST_F(PlotRecordLimitsTest, ACurveSetHoldsAsManyCurvesAsItsCountStores)
{
    PlotCurveSet set;
    for (int i = 0; i < PlotCurveSet::kMaxCurves; ++i) {
        set.BeginCurve();
        set.EndCurve();
    }
    ASSERT_TRUE(set.FitsRecord());
    const std::vector<uint8_t> bytes = Bytes(set);
    const PlotCurveSet read = ReadBack(bytes, 2);
    EXPECT_EQ(read.GetCurveCount(), PlotCurveSet::kMaxCurves);
    EXPECT_EQ(Bytes(read), bytes);
    set.BeginCurve();
    set.EndCurve();
    EXPECT_FALSE(set.FitsRecord());
    EXPECT_THROW(Bytes(set), CFormatException);
}

// A Graphics answer of more elements than the plot can store as curves is
// refused with a message; the plot keeps its curves and its picture.
TEST_F(PlotRecordLimitsTest, AnAnswerOfMoreCurvesThanAPlotStoresIsRefusedAndTheOldPictureKept)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<PlotComp>()> make;
        int frameCurves;
        bool twoDimensional;
    } cases[] = {
        {"2-D", [] { return std::make_unique<TwoDPlotComp>(); }, 1, true},
        {"3-D", [] { return std::make_unique<ThreeDPlotComp>(); }, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<PlotComp> plot = c.make();
        const int most = PlotCurveSet::kMaxCurves - c.frameCurves;
        ASSERT_TRUE(plot->SetResult(PointsAnswer(most, c.twoDimensional)));
        EXPECT_TRUE(plot->ResultProblem().empty());
        CompList row;
        row.Append(plot.release());
        const std::vector<uint8_t> bytes = WriteRow(row);
        std::unique_ptr<CompList> read = ReadRow(bytes);
        EXPECT_EQ(WriteRow(*read), bytes);

        auto* shown = static_cast<PlotComp*>(row.GetAt(1));
        shown->Measure();
        const HENHMETAFILE picture = shown->GetPicture();
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(shown->SetResult(PointsAnswer(most + 1, c.twoDimensional)));
        EXPECT_EQ(shown->ResultProblem(), kTooManyCurvesMessage);
        EXPECT_EQ(shown->GetPicture(), picture);
        EXPECT_EQ(WriteRow(row), bytes);
    }
}

// A plot holds as many function lines as its record counts: Ctrl+Enter in a
// full plot beeps and adds nothing, and its Undo takes no line away.
TEST_F(PlotRecordLimitsTest, APlotHoldsAsManyFunctionLinesAsItsCountStores)
{
    FakeUserInterface ui;
    CompList row;
    auto* plot = new TwoDPlotComp;
    row.Append(plot);
    while (plot->GetLineCount() < plot::kMaxLines)
        ASSERT_TRUE(plot->AddFunction(nullptr));
    const std::vector<uint8_t> bytes = WriteRow(row);
    std::unique_ptr<CompList> read = ReadRow(bytes);
    EXPECT_EQ(static_cast<PlotComp*>(read->GetAt(1))->GetLineCount(), plot::kMaxLines);
    EXPECT_EQ(WriteRow(*read), bytes);

    TInsertExpressionAction insert(DocSelection(DocPosition(plot->GetChild(1), 1), DocPosition(plot->GetChild(1), 1)));
    insert.Do();
    EXPECT_EQ(plot->GetLineCount(), plot::kMaxLines);
    EXPECT_EQ(ui.beeps.size(), 1u);
    insert.Undo();
    EXPECT_EQ(plot->GetLineCount(), plot::kMaxLines);
    EXPECT_EQ(WriteRow(row), bytes);
}

// A plot command of more functions than a plot holds keeps the ones it can
// and says that the others were left out.
TEST_F(PlotRecordLimitsTest, APlotCommandOfMoreFunctionsThanAPlotHoldsSaysWhatWasLeftOut)
{
    FakeUserInterface ui;
    auto range = [](const char* name) {
        auto* list = new ListNode(new SymbolNode(std::string(name)));
        list->AppendChild(new RealNode(0.0));
        list->AppendChild(new RealNode(1.0));
        return list;
    };
    for (int count : {plot::kMaxLines, plot::kMaxLines + 1}) {
        SCOPED_TRACE(count);
        ui.statusTexts.clear();
        auto* functions = new ListNode(new IntegerNode(0));
        for (int i = 1; i < count; ++i)
            functions->AppendChild(new IntegerNode(i));
        TwoDPlotNode command(functions, range("x"), range("y"), nullptr);
        std::unique_ptr<TextComp> built(TwoDPlotComp::FromNode(command));
        EXPECT_EQ(static_cast<PlotComp*>(built.get())->GetLineCount(), plot::kMaxLines);
        EXPECT_EQ(ui.LastStatus(), count > plot::kMaxLines ? plot::kFunctionsLeftOut : "");
    }
}

} // namespace
