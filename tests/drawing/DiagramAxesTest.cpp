// Axes and grid of a drawing: steps and crossings, ticks, tick groups, the
// plot item records they are made of, and their picture at 96 dpi.
#include "DrawingTestSupport.h"

#include "drawing/DiagramAxes.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/MemoryStream.h"
#include "foundation/ParagraphComp.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotStyle.h"
#include "support/CpuTime.h"
#include "support/PictureCompare.h"
#include "support/model/ArchiveStore.h"

#include <cmath>
#include <limits>

namespace {

struct AxisCase {
    double min, max;
    double step, crossing;
    int side;
};

std::vector<double> TickXs(const PlotCurveSet& figure)
{
    std::vector<double> xs;
    for (const auto& item : figure.GetCurve(0))
        if (item->GetKind() == plot::kTickX)
            xs.push_back(static_cast<const PlotTick&>(*item).GetPoint().x);
    return xs;
}

} // namespace

TEST(DiagramAxesTest, StepsAndCrossingsFollowTheVisibleRange)
{
    const AxisCase cases[] = {
        {0, 10, 2, 2, 0},   // 10/10 and 10/5 are below 5 steps, 10/2 is not; 0 itself is at the edge
        {-3, 4, 1, 0, 0},   // 7 steps of 1; the axis at 0
        {-8, -2, 1, -2, 1}, // all below 0: the axis at the right edge, labels on the other side
        {0.25, 0.75, 0.1, 0.3, 0},
        {-1000, 3000, 500, 0, 0},
    };
    for (const AxisCase& c : cases) {
        AxisPlacement axis;
        ASSERT_TRUE(PlaceAxis(c.min, c.max, axis)) << c.min << ".." << c.max;
        EXPECT_NEAR(axis.step, c.step, 1e-12) << c.min << ".." << c.max;
        EXPECT_NEAR(axis.crossing, c.crossing, 1e-12) << c.min << ".." << c.max;
        EXPECT_EQ(axis.side, c.side) << c.min << ".." << c.max;
    }
    auto figure = BuildAxesFigure(DPoint(-3, 1), DPoint(4, -1));
    ASSERT_NE(figure, nullptr);
    ASSERT_EQ(figure->GetCurveCount(), 1);
    EXPECT_EQ(TickXs(*figure), (std::vector<double>{-1, -2, -3, 1, 2, 3, 4})) << "no tick at the crossing";
    const auto& last = figure->GetCurve(0).back();
    EXPECT_EQ(last->GetKind(), plot::kLine) << "the two axis lines close the figure";
}

// A drawing without extent, reversed bounds or coordinates too far out for
// their steps to add up build no figure, or a bounded one.
TEST(DiagramAxesTest, EmptyReversedAndFarRangesBuildNoEndlessFigure)
{
    AxisPlacement axis;
    EXPECT_FALSE(PlaceAxis(5, 5, axis));
    EXPECT_FALSE(PlaceAxis(4, -3, axis));
    EXPECT_FALSE(PlaceAxis(std::nan(""), 1, axis));
    EXPECT_FALSE(PlaceAxis(-std::numeric_limits<double>::infinity(), 1, axis));
    EXPECT_EQ(BuildAxesFigure(DPoint(0, 0), DPoint(0, 0)), nullptr);
    EXPECT_EQ(BuildGridFigure(DPoint(1, -1), DPoint(0, 1)), nullptr);
    auto far = BuildGridFigure(DPoint(1e17, 1e17 + 100), DPoint(1e17 + 100, 1e17));
    ASSERT_NE(far, nullptr);
    EXPECT_LE(far->GetCurve(0).size(), 4004u);
}

TEST(DiagramAxesTest, EqualLengthConstraintsSharingASegmentShowTheSameTicks)
{
    int s[6];
    EXPECT_EQ(TickGroups({{&s[1], &s[2]}, {&s[3], &s[4]}, {&s[2], &s[5]}}), (std::vector<int>{1, 2, 1}));
    EXPECT_EQ(TickGroups({{&s[1]}}), std::vector<int>{1});
    EXPECT_EQ(TickGroups({{&s[1]}, {&s[2]}, {&s[3], &s[2]}, {&s[1], &s[4]}}), (std::vector<int>{1, 2, 2, 1}));
    EXPECT_EQ(TickGroups({{&s[1]}, {&s[2]}, {&s[3]}, {&s[3], &s[1]}, {&s[2], &s[3]}}),
              (std::vector<int>{1, 1, 1, 1, 1}))
        << "groups joined through a later one";
}

// A file can list one segment as often as a 16-bit count allows, in every
// group: numbering them stays cheap enough for every repaint.
TEST(DiagramAxesTest, HostileTickGroupsAreNumberedWithinTenMilliseconds)
{
    int s[10];
    std::vector<std::vector<const void*>> groups;
    for (int& segment : s)
        groups.emplace_back(32767, &segment);
    const double start = CpuSeconds();
    const std::vector<int> ticks = TickGroups(groups);
    const double spent = CpuSeconds() - start;
    EXPECT_EQ(ticks, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_LT(spent, 0.010);
}

TEST(DiagramAxesTest, TickLabelsAreTheirCoordinatesInShortestForm)
{
    EXPECT_EQ(PlotTickX(DPoint(0.5, 0), 0).GetLabel(), "0.5");
    EXPECT_EQ(PlotTickY(DPoint(0, 0.00001), 0).GetLabel(), "1e-05");
}

// Records: kind, length (its own four bytes and the body), body. A kind
// this program does not read is skipped by its length.
TEST_F(DrawingTest, PlotItemRecordsRoundTripAndUnknownKindsAreSkipped)
{
    PlotCurveSet set;
    set.BeginCurve();
    set.AddItem(std::make_unique<PlotLine>(DPoint(0, 0), DPoint(1, 1)));
    set.AddItem(std::make_unique<PlotPolyline>(std::vector<DPoint>{{0, 0}, {1, 0}, {1, 1}}));
    set.AddItem(std::make_unique<PlotTickX>(DPoint(2, 0), 1));
    set.AddItem(std::make_unique<PlotText>(DPoint(1, 2), std::string(40, 'a')));
    set.AddItem(std::make_unique<PlotPoint>(DPoint(3, 3)));
    EXPECT_EQ(set.EndCurve(), 1);
    const std::vector<uint8_t> bytes = StoreArchive([&set](DocWriter& w) { set.Write(w); });
    // count 2 + items 4 + line 4 + 36 + polyline 4 + 56 + tick 4 + 4 + 1 + 16 + 2 + text 4 + 4 + 16 + 32 + point 4 + 4 + 16
    EXPECT_EQ(bytes.size(), 2u + 4 + 40 + 60 + 27 + 56 + 24);
    auto read = [](std::vector<uint8_t> data) {
        MemoryStream stream(data.data(), static_cast<int32_t>(data.size()));
        DocReader reader(&stream);
        PlotCurveSet again;
        again.Read(reader, reader.ReadShort());
        return again;
    };
    PlotCurveSet again = read(bytes);
    EXPECT_EQ(StoreArchive([&again](DocWriter& w) { again.Write(w); }), bytes) << "the text is cut to 31 once";

    std::vector<uint8_t> unknown = bytes;
    unknown[2] = 6; // one more item: a record of kind 9 with 8 body bytes, after the first
    const uint8_t record[] = {9, 0, 0, 0, 12, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    unknown.insert(unknown.begin() + 6 + 40, std::begin(record), std::end(record));
    PlotCurveSet skipped = read(unknown);
    ASSERT_EQ(skipped.GetCurveCount(), 1);
    EXPECT_EQ(skipped.GetCurve(0).size(), 5u);
    EXPECT_EQ(skipped.GetCurve(0)[1]->GetKind(), plot::kPolyline);
}

TEST_F(DrawingTest, AxesAndGridMatchTheReferencePictureAt96Dpi)
{
    SampleParts sample = MakeSample();
    sample.diagram->SetShowAxes(true);
    sample.diagram->SetShowGrid(true);
    auto list = ListOf(sample.diagram);
    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    ASSERT_NE(sample.diagram->GetAxesFigure(), nullptr);
    ASSERT_NE(sample.diagram->GetGridFigure(), nullptr);
    image.save(OutputDir() + "/axes-grid.png");
    const QImage reference = LoadReference(image, QStringLiteral(QV_TEST_DATA) + "/axes-grid.png");
    ASSERT_FALSE(reference.isNull()) << "no reference picture";
    ASSERT_EQ(reference.size(), image.size());
    EXPECT_LT(DifferentPixels(reference, image, 48), 60)
        << "compare " << OutputDir().toStdString() << "/axes-grid.png with the reference";
}

TEST_F(DrawingTest, PixelSizesZoomPanAndTheBandRebuildThePicture)
{
    SampleParts sample = MakeSample();
    sample.diagram->SetShowAxes(true);
    auto list = ListOf(sample.diagram);
    list->RelayoutAll(false);
    PlotStyle style;
    DiagramComp* d = sample.diagram;
    ASSERT_TRUE(d->SetPixelSize(style.GetScaledWidth(), style.GetScaledHeight()));
    EXPECT_EQ(d->GetWidth32(), 5000);
    EXPECT_EQ(d->GetHeight32(), 5000);
    EXPECT_FALSE(d->SetPixelSize(0, 100)) << "a drawing without width is refused";
    EXPECT_EQ(d->GetWidth32(), 5000);

    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    ASSERT_NE(d->GetAxesFigure(), nullptr);
    const std::vector<double> ticks = TickXs(*d->GetAxesFigure());
    d->Zoom(IntPoint(100, 100), 4.0);
    ASSERT_NE(d->GetAxesFigure(), nullptr);
    EXPECT_NE(TickXs(*d->GetAxesFigure()), ticks) << "zooming rebuilds the picture, axes included";
    d->Pan(10, 0);
    EXPECT_NE(d->GetPicture(), nullptr);

    d->ShowBand(Rect(10, 10, 40, 40));
    d->ShowBand(Rect(20, 5, 30, 50));
    EXPECT_TRUE(d->IsBandVisible());
    EXPECT_EQ(d->GetBandRepaint(), Rect(8, 3, 42, 52)) << "the old band and the new one, with their line";
    d->HideBand();
    EXPECT_FALSE(d->IsBandVisible());
    EXPECT_EQ(d->GetBandRepaint(), Rect(18, 3, 32, 52)) << "the hidden band with its line";
}
