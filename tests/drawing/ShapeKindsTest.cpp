// Segments, curves, triangles, rectangles and polygons: the curve's
// flattening against the exact Bezier, outlines and exported paths, file
// round trips of every kind and their picture at 96 dpi.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawVariable.h"
#include "drawing/PlotShape.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/ShapeStyleChoice.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphComp.h"
#include "support/PictureCompare.h"

#include <cmath>

namespace {

DPoint ExactBezier(const DPoint p[4], double t)
{
    const double s = 1.0 - t;
    return p[0] * (s * s * s) + p[1] * (3 * t * s * s) + p[2] * (3 * t * t * s) + p[3] * (t * t * t);
}

} // namespace

TEST_F(DrawingTest, CurveFlatteningFollowsTheExactBezierWithinATenthOfAPoint)
{
    const DPoint p[4] = {{0, 0}, {1, 3}, {3, 3}, {4, 0}};
    CurveShape curve(new VertexShape(p[0].x, p[0].y), new VertexShape(p[3].x, p[3].y), new VertexShape(p[1].x, p[1].y),
                     new VertexShape(p[2].x, p[2].y));
    const std::vector<DPoint> forward = curve.Flatten(true);
    const std::vector<DPoint> backward = curve.Flatten(false);
    ASSERT_EQ(forward.size(), 32u);
    ASSERT_EQ(backward.size(), 32u);
    EXPECT_EQ(forward.back(), p[3]) << "the last point is the end vertex itself";
    EXPECT_EQ(backward.back(), p[0]);
    // A tenth of a point at the default scale.
    const double tolerance = 0.1 * drawing::kDefaultScale;
    DPoint from = p[0];
    for (int k = 1; k <= 32; ++k) {
        const DPoint to = forward[static_cast<size_t>(k - 1)];
        EXPECT_LT(to.Distance(ExactBezier(p, k / 32.0)), 1e-12) << k;
        EXPECT_LT(backward[static_cast<size_t>(k - 1)].Distance(ExactBezier(p, (32 - k) / 32.0)), 1e-12) << k;
        // Between two chord ends the chord stays near the curve.
        EXPECT_LT(((from + to) * 0.5).Distance(ExactBezier(p, (k - 0.5) / 32.0)), tolerance) << k;
        from = to;
    }
    DiagramDC dc;
    EXPECT_EQ(curve.HitTest(ExactBezier(p, 0.37), dc), &curve) << "the curve between chord ends";
    EXPECT_EQ(curve.HitTest(ExactBezier(p, 0.37) + DPoint(0, 0.3), dc), nullptr);
    EXPECT_EQ(curve.HitTest(p[1], dc), curve.GetControl1()) << "a hidden handle is hit all the same";
}

TEST_F(DrawingTest, OutlinesAndExportedPathsFollowTheEdgesInEitherDirection)
{
    DiagramDC dc;
    auto* a = new VertexShape(0, 0);
    auto* b = new VertexShape(1, 0);
    // Two curves from a to b and back: 1 + 32 + 32 points, closing on the first.
    ItemArray<EdgeShape> lens;
    lens.Add(new CurveShape(a, b, new VertexShape(0, 1), new VertexShape(1, 1)));
    lens.Add(new CurveShape(b, a, new VertexShape(1, -1), new VertexShape(0, -1)));
    PolygonShape closed(lens);
    EXPECT_TRUE(closed.IsClosed());
    std::vector<DPoint> outline;
    closed.AppendOutlinePoints(outline);
    ASSERT_EQ(outline.size(), 65u);
    EXPECT_EQ(outline.back(), outline.front());
    auto at = [&dc](double x, double y) { return DevicePointText(dc, DPoint(x, y)); };
    EXPECT_EQ(closed.PathText(dc), "M " + at(1, 0) + "C " + at(1, -1) + at(0, -1) + at(0, 0) + at(0, 1) + at(1, 1) +
                                       at(1, 0))
        << "the walk starts at the last vertex; the second curve repeats C implicitly";

    auto* c = new VertexShape(0, 0);
    auto* d = new VertexShape(1, 0);
    ItemArray<EdgeShape> mixed;
    mixed.Add(new SegmentShape(c, d));
    mixed.Add(new CurveShape(d, new VertexShape(2, 0), new VertexShape(1, 1), new VertexShape(2, 1)));
    PolygonShape open(mixed);
    EXPECT_FALSE(open.IsClosed());
    EXPECT_EQ(open.GetSideCount(), 1);
    EXPECT_EQ(open.PathText(dc), "M " + at(0, 0) + "L " + at(1, 0) + "C " + at(1, 1) + at(2, 1) + at(2, 0));
}

// Three edges meeting at one vertex leave the walk no way on at the second
// tip: it stops there.
TEST_F(DrawingTest, PathWalkStopsAtAVertexWhereThreeEdgesMeet)
{
    DiagramDC dc;
    auto* hub = new VertexShape(0, 0);
    ItemArray<EdgeShape> star;
    for (int i = 1; i <= 3; ++i)
        star.Add(new SegmentShape(hub, new VertexShape(i, 1)));
    PolygonShape polygon(star);
    auto at = [&dc](double x, double y) { return DevicePointText(dc, DPoint(x, y)); };
    EXPECT_EQ(polygon.PathText(dc), "M " + at(1, 1) + "L " + at(0, 0) + at(2, 1));
}

TEST_F(DrawingTest, EveryShapeKindRoundTripsToIdenticalBytesAndSoundOwnership)
{
    auto list = ListOf(MakeShapeKinds());
    list->RelayoutAll(false);
    const std::vector<uint8_t> first = WriteList(*list);
    auto read = ReadList(first);
    EXPECT_EQ(WriteList(*read), first);
    auto* drawing = dynamic_cast<DiagramComp*>(read->GetAt(1)->GetRow()->GetAt(1));
    ASSERT_NE(drawing, nullptr);
    EXPECT_EQ(OwnershipFaults({drawing}), "");
    ASSERT_EQ(drawing->GetShapes().GetCount(), 7);
    auto* polygon = dynamic_cast<PolygonShape*>(drawing->GetShapes().GetAt(5));
    ASSERT_NE(polygon, nullptr);
    EXPECT_TRUE(polygon->IsClosed());
    EXPECT_TRUE(polygon->GetStyle().filled);
    EXPECT_EQ(drawing->GetLabels().GetCount(), 2) << "the segment's label and the plot's formula";
    auto* plot = dynamic_cast<PlotShape*>(drawing->GetShapes().GetAt(6));
    ASSERT_NE(plot, nullptr);
    EXPECT_TRUE(plot->IsPending());
    ASSERT_NE(plot->GetCurves(), nullptr);
    EXPECT_EQ(plot->HitTest(DPoint(-0.5, -1.5 + 0.6 * std::sin(-1.0)), drawing->GetDC()), plot);

    LinkRemap remap;
    std::unique_ptr<TextComp, void (*)(TextComp*)> copy(drawing->Clone(remap), [](TextComp* c) { c->Delete(); });
    remap.RebindLinks();
    EXPECT_EQ(WriteComponent(*copy), WriteComponent(*drawing)) << "a copy writes the same record, curves too";

    // A plot without a curve draws and hits nothing and writes a zero count.
    PlotShape empty(nullptr, true);
    DiagramDC dc;
    EXPECT_EQ(empty.HitTest(DPoint(0, 0), dc), nullptr);
    empty.Draw(dc);
}

// Drawings stored a vertex both as a shape of their own and as the centre
// of a circle made on it; such a vertex is read once, as the circle's.
TEST_F(DrawingTest, AListedVertexThatACircleUsesIsReadAsThePartOnly)
{
    auto* drawing = new DiagramComp;
    auto* centre = new VertexShape(1.0, 1.0);
    drawing->AddShape(new CircleShape(centre, new DrawVariable(1.0, false)));
    drawing->AddShape(centre);
    auto list = ListOf(drawing);
    const std::vector<uint8_t> bytes = WriteList(*list);
    drawing->TakeShapes();
    DeleteShapes({centre->GetOwnerShape()});
    auto read = ReadList(bytes);
    auto* again = dynamic_cast<DiagramComp*>(read->GetAt(1)->GetRow()->GetAt(1));
    ASSERT_NE(again, nullptr);
    ASSERT_EQ(again->GetShapes().GetCount(), 1);
    EXPECT_TRUE(again->GetShapes().GetAt(0)->IsCircle());
    EXPECT_EQ(OwnershipFaults({again}), "");
}

TEST_F(DrawingTest, EveryShapeKindMatchesTheReferencePictureAt96Dpi)
{
    auto list = ListOf(MakeShapeKinds());
    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    image.save(OutputDir() + "/shape-kinds.png");
    const QImage reference = LoadReference(image, QStringLiteral(QV_TEST_DATA) + "/shape-kinds.png");
    ASSERT_FALSE(reference.isNull()) << "no reference picture";
    ASSERT_EQ(reference.size(), image.size());
    EXPECT_LT(DifferentPixels(reference, image, 48), 60)
        << "compare " << OutputDir().toStdString() << "/shape-kinds.png with the reference";
}

namespace {

int RedPixelsNear(const QImage& image, const IntPoint& centre, int half)
{
    int count = 0;
    for (int y = centre.y - half; y <= centre.y + half; ++y)
        for (int x = centre.x - half; x <= centre.x + half; ++x)
            if (image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000)
                ++count;
    return count;
}

} // namespace

// Arrowheads the user gives one side of a rectangle show on screen and in
// the exported picture; restyling the whole rectangle afterwards changes
// only what the user changed in the dialog and keeps the side's own pen.
TEST_F(DrawingTest, ASidesOwnArrowheadShowsAndSurvivesRestylingTheWholeShape)
{
    auto* drawing = new DiagramComp;
    drawing->SetSize(2000, 2000);
    drawing->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
    auto* rectangle = new RectangleShape(new VertexShape(-2.0, 0.0), new VertexShape(0.0, 0.0),
                                         new VertexShape(0.0, 1.2), new VertexShape(-2.0, 1.2));
    drawing->AddShape(rectangle);
    auto list = ListOf(drawing);
    list->RelayoutAll(false);
    SegmentShape* side = rectangle->GetSide(0);
    const auto paintedRed = [&] {
        drawing->DeselectAll(true);
        image.fill(Qt::white);
        list->PaintRange(Rect(0, 0, image.width(), image.height()));
        return RedPixelsNear(image, drawing->GetDC().WorldToScreen(DPoint(0.0, 0.0)), 8);
    };
    drawing->SelectShape(side, false);
    ShapeStyle red = side->GetStyle();
    red.lineColour = RGB(255, 0, 0);
    drawing->SetSelectionStyle(red);
    const int plain = paintedRed();
    drawing->SelectShape(side, false);
    red.penStyle |= drawing::kEndArrowBit;
    drawing->SetSelectionStyle(red);
    EXPECT_GT(paintedRed(), plain + 12) << "the side's arrowhead is drawn";
    image.save(OutputDir() + "/side-arrowhead.png");
    const ShapeStyle sideOwn = side->GetStyle();

    struct Row {
        const char* name;
        void (*change)(ShapeStyle& style);
        COLORREF otherSides; // the colour the sides without a pen of their own get
        bool filled;
    };
    const Row rows[] = {
        {"fill only", [](ShapeStyle& s) { s.filled = true, s.fillColour = RGB(200, 220, 255); }, RGB(0, 0, 0), true},
        {"thickness only", [](ShapeStyle& s) { s.penStyle = (s.penStyle & ~7) | drawing::kThick; }, RGB(0, 0, 0), true},
        {"line colour", [](ShapeStyle& s) { s.lineColour = RGB(0, 0, 200); }, RGB(0, 0, 200), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        drawing->SelectShape(rectangle, false);
        ShapeStyle shown;
        drawing->GetSelectionStyle(shown);
        // As the colour and fill dialog gives it back.
        ShapeStyle chosen = ShapeStyleChoice::FromStyle(shown).ToStyle();
        row.change(chosen);
        drawing->SetSelectionStyle(chosen);
        EXPECT_EQ(rectangle->GetStyle().filled, row.filled);
        EXPECT_EQ(rectangle->GetSide(2)->GetPenColour(), row.otherSides);
        EXPECT_TRUE(side->GetPenStyle() & drawing::kEndArrowBit) << "the side keeps its arrowhead";
        const bool colourChanged = shown.lineColour != chosen.lineColour;
        EXPECT_EQ(side->GetPenColour(), colourChanged ? chosen.lineColour : sideOwn.lineColour);
        EXPECT_EQ(side->GetPenStyle() & 7, chosen.penStyle & 7) << "what the user changed reaches every side";
    }
}
