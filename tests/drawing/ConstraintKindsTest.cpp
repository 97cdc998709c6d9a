// The 21 constraint kinds in one drawing: identical bytes after a save and
// load, their markers against a reference picture, their SVG well formed;
// and the faults the kinds must not have.
#include "DrawingTestSupport.h"

#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"
#include "drawing/CurveShape.h"
#include "drawing/DiagramEdit.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/GroupConstraints.h"
#include "drawing/LineConstraints.h"
#include "drawing/LocalSolver.h"
#include "drawing/PlotShape.h"
#include "drawing/PointConstraints.h"
#include "drawing/SegmentShape.h"
#include "drawing/SidedShape.h"
#include "drawing/VertexShape.h"
#include "export/XMLCoreWriter.h"
#include "foundation/ByteStream.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotItems.h"
#include "support/PictureCompare.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>

namespace {

SegmentShape* Segment(DiagramComp* d, double x1, double y1, double x2, double y2)
{
    auto* s = new SegmentShape(new VertexShape(x1, y1), new VertexShape(x2, y2));
    d->AddShape(s);
    return s;
}

VertexShape* Vertex(DiagramComp* d, double x, double y)
{
    auto* v = new VertexShape(x, y);
    d->AddShape(v);
    return v;
}

class StringOut : public ByteStream {
public:
    void Write(const void* buf, int32_t n) override { text.append(static_cast<const char*>(buf), size_t(n)); }
    int32_t GetLength() override { return static_cast<int32_t>(text.size()); }
    std::string text;
};

} // namespace

class ConstraintKindsTest : public DrawingTest {
protected:
    // A 298 x 224 pixel drawing holding every constraint kind once.
    DiagramComp* MakeConstraintKinds()
    {
        auto* d = new DiagramComp;
        d->SetSize(2000, 2000);
        d->GetDC().SetWorldOrigin(DPoint(-5.0, 4.0));
        Labelled(d, new AngleConstraint(Vertex(d, -3.5, 3.6), Vertex(d, -4.5, 2.8), Vertex(d, -2.8, 2.8)));
        VertexShape* twin = Vertex(d, -2.0, 3.2);
        d->AddConstraint(new CoincidentConstraint(twin, Vertex(d, -2.0, 3.2)));
        SegmentShape* measured = Segment(d, -1.2, 2.8, 0.8, 3.3);
        Labelled(d, new DistanceConstraint(measured->GetStart(), measured->GetEnd()));
        d->AddConstraint(new FixedPointConstraint(Vertex(d, 1.6, 3.2)));
        SegmentShape* halved = Segment(d, 2.4, 2.6, 4.4, 3.4);
        d->AddConstraint(new MidpointConstraint(halved->GetStart(), Vertex(d, 3.4, 3.0), halved->GetEnd()));

        auto* curve = new CurveShape(new VertexShape(-4.6, 1.0), new VertexShape(-2.6, 1.0), new VertexShape(-4.3, 2.2),
                                     new VertexShape(-2.9, 2.2));
        d->AddShape(curve);
        d->AddConstraint(new PointOnCurveConstraint(curve, Vertex(d, -3.6, 1.9)));
        auto* circle = new CircleShape(new VertexShape(-0.8, 1.4), new DrawVariable(0.7, false));
        d->AddShape(circle);
        d->AddConstraint(new PointOnCircleConstraint(circle->GetCentre(), circle->GetRadiusVar(), Vertex(d, -0.1, 1.4)));
        Labelled(d, new RadiusConstraint(circle->GetCentre(), circle->GetRadiusVar()));
        SegmentShape* carrier = Segment(d, 0.6, 0.9, 2.2, 1.9);
        d->AddConstraint(new PointOnSegmentConstraint(carrier->GetStart(), carrier->GetEnd(), Vertex(d, 1.4, 1.4)));
        SegmentShape* p1 = Segment(d, 2.6, 1.0, 4.4, 1.4);
        SegmentShape* p2 = Segment(d, 2.6, 1.8, 4.4, 2.2);
        d->AddConstraint(new ParallelConstraint(p1->GetStart(), p1->GetEnd(), p2->GetStart(), p2->GetEnd()));

        d->AddConstraint(
            new PerpendicularConstraint(Vertex(d, -4.6, -0.2), Vertex(d, -4.6, -1.0), Vertex(d, -3.6, -1.0)));
        auto* plot = new PlotShape(new CompList, false);
        d->AddShape(plot);
        d->AddConstraint(new PointOnPlotConstraint(plot, Vertex(d, -2.8, -0.6)));
        auto* arc = new CurveShape(new VertexShape(-1.0, -0.2), new VertexShape(0.0, -1.2), new VertexShape(-0.45, -0.2),
                                   new VertexShape(0.0, -0.65));
        d->AddShape(arc);
        VertexShape* centre = Vertex(d, -1.0, -1.2);
        Labelled(d, new ArcConstraint(arc, centre));
        SegmentShape* touching = Segment(d, 0.8, -1.7, 2.4, -1.7);
        auto* round = new CircleShape(new VertexShape(1.6, -1.2), new DrawVariable(0.5, false));
        d->AddShape(round);
        d->AddConstraint(new CircleTangentConstraint(touching, Vertex(d, 1.6, -1.7), round));
        SegmentShape* skimming = Segment(d, 2.8, 0.25, 4.6, 0.25);
        auto* hump = new CurveShape(new VertexShape(2.8, -1.0), new VertexShape(4.6, -1.0), new VertexShape(3.2, 0.5),
                                    new VertexShape(4.2, 0.5));
        d->AddShape(hump);
        d->AddConstraint(new CurveTangentConstraint(skimming, Vertex(d, 3.7, 0.25), hump));
        d->AddConstraint(new PlotTangentConstraint(Segment(d, -4.6, -2.0, -3.0, -2.4), Vertex(d, -3.8, -2.2), plot));

        SegmentShape* level = Segment(d, -2.4, -2.2, -0.8, -2.2);
        SegmentShape* upright = Segment(d, -0.4, -3.6, -0.4, -2.0);
        SegmentShape* sloped = Segment(d, 0.2, -3.4, 1.6, -2.2);
        d->AddConstraint(new HorizontalConstraint(level));
        d->AddConstraint(new VerticalConstraint(upright));
        d->AddConstraint(new SlopeConstraint(sloped));
        d->AddConstraint(new EqualLengthConstraint({level, upright}));
        SegmentShape* third = Segment(d, 2.2, -3.6, 3.8, -3.6);
        d->AddConstraint(new EqualLengthConstraint({sloped, third}));
        auto* equation = new EquationConstraint(DPoint(2.4, -2.4), nullptr);
        d->AddConstraint(equation);
        DrawLabel* text = equation->MakeLabel(d);
        for (char c : std::string("a=2"))
            text->GetText()->Append(gMathFace->GetCharacter(static_cast<unsigned char>(c)));
        d->AddLabel(text);
        equation->PlaceLabel(d->GetDC());
        return d;
    }
};

TEST_F(ConstraintKindsTest, EveryKindRoundTripsToIdenticalBytes)
{
    DiagramComp* drawing = MakeConstraintKinds();
    std::set<std::string> tags;
    for (DrawConstraint* constraint : drawing->GetConstraints()) {
        char text[5];
        constraint->GetTag().ToChars(text);
        tags.insert(text);
    }
    EXPECT_EQ(tags.size(), 21u);
    auto list = ListOf(drawing);
    list->RelayoutAll(false);
    const std::vector<uint8_t> first = WriteList(*list);
    auto read = ReadList(first);
    EXPECT_EQ(WriteList(*read), first);
    auto* again = dynamic_cast<DiagramComp*>(read->GetAt(1)->GetRow()->GetAt(1));
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->HasKeptRecords());
    EXPECT_EQ(again->GetConstraints().GetCount(), drawing->GetConstraints().GetCount());
    EXPECT_EQ(OwnershipFaults({again}), "");
    // Every equation read back holds where it held when written.
    for (DrawConstraint* constraint : again->GetConstraints())
        for (int i = 0; i < constraint->GetEquationCount(); ++i)
            EXPECT_TRUE(std::isfinite(constraint->GetEquation(i)->Residual()));

    if (std::getenv("QV_UPDATE_CORPUS")) {
        std::ofstream out(std::string(QV_SOURCE_DIR) +
                              "/tests/foundation/fuzz/document-corpus/drawing-every-constraint-kind.vxm",
                          std::ios::binary);
        // The file's version and no header sections, as the other corpus files.
        const std::vector<uint8_t> header = {0x34, 0x08, 0, 0, 0, 0};
        out.write(reinterpret_cast<const char*>(header.data()), 6);
        out.write(reinterpret_cast<const char*>(first.data()), static_cast<std::streamsize>(first.size()));
    }
}

TEST_F(ConstraintKindsTest, EveryMarkerMatchesTheReferencePictureAt96Dpi)
{
    auto list = ListOf(MakeConstraintKinds());
    list->RelayoutAll(false);
    list->PaintRange(Rect(0, 0, image.width(), image.height()));
    image.save(OutputDir() + "/constraint-kinds.png");
    const QImage reference = LoadReference(image, QStringLiteral(QV_TEST_DATA) + "/constraint-kinds.png");
    ASSERT_FALSE(reference.isNull()) << "no reference picture";
    ASSERT_EQ(reference.size(), image.size());
    EXPECT_LT(DifferentPixels(reference, image, 48), 60)
        << "compare " << OutputDir().toStdString() << "/constraint-kinds.png with the reference";
}

TEST_F(ConstraintKindsTest, TheMarkersSvgIsWellFormedAndItsRingsHaveTheScreensRadius)
{
    DiagramComp* drawing = MakeConstraintKinds();
    auto list = ListOf(drawing);
    list->RelayoutAll(false);
    NumberTickGroups(drawing->GetConstraints());
    StringOut out;
    {
        XMLCoreWriter writer(out);
        writer.WriteString("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"298\" height=\"224\">\n");
        for (DrawConstraint* constraint : drawing->GetConstraints())
            constraint->WriteSVG(writer, drawing->GetDC());
        writer.WriteString("</svg>\n");
        writer.Flush();
    }
    const QString path = OutputDir() + "/constraint-kinds.svg";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(out.text.data(), static_cast<qint64>(out.text.size()));
    }
    EXPECT_EQ(std::system(("xmllint --noout " + path.toStdString()).c_str()), 0) << out.text;
    const DiagramDC& dc = drawing->GetDC();
    const std::string ring = "r=\"" + std::to_string(dc.WorldToPixels(6.0 * dc.GetCurrentScale())) + "\"";
    EXPECT_NE(out.text.find(ring), std::string::npos) << out.text;
    EXPECT_NE(out.text.find("stroke=\"lightgray\" stroke-width=\"5\""), std::string::npos);
    EXPECT_NE(out.text.find("<path"), std::string::npos);
    // Hidden constraints write nothing.
    for (DrawConstraint* constraint : drawing->GetConstraints())
        constraint->HideConstraint();
    StringOut hidden;
    {
        XMLCoreWriter writer(hidden);
        for (DrawConstraint* constraint : drawing->GetConstraints())
            constraint->WriteSVG(writer, drawing->GetDC());
        writer.Flush();
    }
    EXPECT_EQ(hidden.text, "");
}

// An equal-length record names each segment by its two ends; it must read
// back the segment that was written.
TEST_F(ConstraintKindsTest, EqualLengthReloadsTheSegmentsItWasWrittenWith)
{
    struct Case {
        const char* name;
        // Builds the drawing and answers the constraint's segments.
        std::function<std::vector<SegmentShape*>(DiagramComp&)> build;
    };
    const Case cases[] = {
        // The vertex's owner is the triangle, which has no side to the segment's end.
        {"a segment sharing its start with a triangle",
         [](DiagramComp& d) -> std::vector<SegmentShape*> {
             auto* triangle = new TriangleShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(2, 3));
             d.AddShape(triangle);
             auto* free = new SegmentShape(triangle->GetVertices().GetAt(0), new VertexShape(-3, 0));
             d.AddShape(free);
             return {triangle->GetSide(0), free};
         }},
        // Every pair of corners is joined both ways; the owner of the
        // corners asked first answers its own side.
        {"two triangles on the same corners in opposite turns",
         [](DiagramComp& d) -> std::vector<SegmentShape*> {
             auto* a = new VertexShape(0, 0);
             auto* b = new VertexShape(4, 0);
             auto* c = new VertexShape(2, 3);
             auto* turn = new TriangleShape(a, b, c);
             auto* back = new TriangleShape(c, b, a);
             d.AddShape(turn);
             d.AddShape(back);
             return {turn->GetSide(0), back->GetSide(0)};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* drawing = new DiagramComp;
        const std::vector<SegmentShape*> segments = c.build(*drawing);
        drawing->AddConstraint(new EqualLengthConstraint(segments));
        auto list = ListOf(drawing);
        const std::vector<uint8_t> bytes = WriteList(*list);
        auto read = ReadList(bytes);
        EXPECT_EQ(WriteList(*read), bytes);
        auto* again = dynamic_cast<DiagramComp*>(read->GetAt(1)->GetRow()->GetAt(1));
        ASSERT_NE(again, nullptr);
        auto* equal = dynamic_cast<EqualLengthConstraint*>(again->GetConstraints().GetAt(0));
        ASSERT_NE(equal, nullptr);
        ASSERT_EQ(equal->GetSegments().size(), segments.size());
        // A free segment is no side; a side is one of the shape it was written with.
        for (size_t i = 0; i < segments.size(); ++i)
            EXPECT_EQ(again->GetShapes().IndexOf(equal->GetSegments()[i]->GetOwnerShape()),
                      drawing->GetShapes().IndexOf(segments[i]->GetOwnerShape()))
                << i;
    }
}

TEST_F(ConstraintKindsTest, LocksAreReleasedWhenRadiusAndFixedPointConstraintsAreDeletedAndTakenAgainOnUndo)
{
    auto* drawing = new DiagramComp;
    auto* circle = new CircleShape(new VertexShape(0, 0), new DrawVariable(1.0, false));
    drawing->AddShape(circle);
    VertexShape* pin = Vertex(drawing, 3, 3);
    auto* radius = new RadiusConstraint(circle->GetCentre(), circle->GetRadiusVar());
    auto* fixed = new FixedPointConstraint(pin);
    drawing->AddConstraint(radius);
    drawing->AddConstraint(fixed);
    ASSERT_TRUE(circle->GetRadiusVar()->IsFixed());
    ASSERT_TRUE(pin->IsFixed());
    drawing->SelectConstraint(radius, false);
    drawing->SelectConstraint(fixed, true);
    DiagramEditList edits;
    DiagramComp* removed = drawing->RemoveSelection(edits);
    EXPECT_FALSE(circle->GetRadiusVar()->IsFixed());
    EXPECT_FALSE(pin->IsFixed());
    EXPECT_FALSE(pin->GetXVar()->IsFixed());
    drawing->PasteItems(removed, &edits);
    EXPECT_TRUE(circle->GetRadiusVar()->IsFixed());
    EXPECT_TRUE(pin->IsFixed());
    auto list = ListOf(drawing);

    // Locked cleared on the radius's display stays cleared through a delete
    // and its undo, and through a save and open that keeps the bytes.
    DrawValueComp display(circle->GetRadiusVar());
    ASSERT_TRUE(display.ApplyProperties(false, Str255("1")));
    drawing->DeselectAll(false);
    drawing->SelectConstraint(radius, false);
    DiagramEditList again;
    drawing->PasteItems(drawing->RemoveSelection(again), &again);
    EXPECT_FALSE(circle->GetRadiusVar()->IsFixed());
    const std::vector<uint8_t> bytes = WriteList(*list);
    auto read = ReadList(bytes);
    EXPECT_EQ(WriteList(*read), bytes);
    auto* reread = dynamic_cast<DiagramComp*>(read->GetAt(1)->GetRow()->GetAt(1));
    ASSERT_NE(reread, nullptr);
    for (DrawConstraint* constraint : reread->GetConstraints())
        EXPECT_TRUE(!dynamic_cast<RadiusConstraint*>(constraint) || !constraint->GetVariable(0)->IsFixed());
}

TEST(ConstraintKinds, FreshAnglesOfCollinearOrDegenerateArmsAreFinite)
{
    for (int k = 1; k < 200; ++k) {
        const double s = k * 0.1;
        const DPoint apex(s, 3 * s), along(2 * s, 6 * s), back(-s / 3, -s);
        EXPECT_TRUE(std::isfinite(AngleAt(along, apex, DPoint(3 * s, 9 * s)))) << k;
        EXPECT_NEAR(AngleAt(along, apex, back), M_PI, 1e-6) << k;
    }
    EXPECT_EQ(AngleAt(DPoint(1, 1), DPoint(1, 1), DPoint(2, 3)), 0.0);
    VertexShape a(0.1, 0.3), b(0.2, 0.6), c(0.3, 0.9);
    AngleConstraint angle(&a, &b, &c);
    EXPECT_TRUE(std::isfinite(angle.GetVariable(0)->GetValue()));
    EXPECT_TRUE(angle.GetVariable(0)->IsFixed());
    VertexShape p(0, 0), q(0, 1), r(1, 0);
    AngleConstraint right(&q, &p, &r);
    EXPECT_DOUBLE_EQ(right.GetVariable(0)->GetValue(), M_PI / 2);
    EXPECT_NEAR(right.GetEquation(0)->Residual(), 0.0, 1e-12);
}

// A damaged file may give a radius constraint a variable that no circle
// holds; the constraint then keeps it, so that it is freed (the leak check
// of the sanitizer build watches this).
TEST_F(ConstraintKindsTest, ARadiusNoCircleHoldsIsFreedWithItsConstraint)
{
    auto* drawing = new DiagramComp;
    DrawVariable loose(2.0, false);
    drawing->AddConstraint(new RadiusConstraint(Vertex(drawing, 1, 1), &loose));
    auto list = ListOf(drawing);
    const std::vector<uint8_t> bytes = WriteList(*list);
    auto read = ReadList(bytes);
    EXPECT_EQ(WriteList(*read), bytes);
}

// The angle marker shows the angle the constraint holds (never more than a
// half turn), whichever arm came first, and takes clicks where it is drawn.
TEST_F(ConstraintKindsTest, AnAngleMarkerDrawsAndTakesClicksOnTheAngleItHolds)
{
    struct Row {
        const char* name;
        DPoint p1, p2;
        double angle;
    };
    const Row rows[] = {
        {"bottom side, then hypotenuse", {4, 0}, {4, 4}, M_PI / 4},
        {"hypotenuse, then bottom side", {4, 4}, {4, 0}, M_PI / 4},
        {"obtuse, counter-clockwise", {4, 0}, {-4, 4}, 3 * M_PI / 4},
        {"obtuse, clockwise", {-4, 4}, {4, 0}, 3 * M_PI / 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<DiagramComp, void (*)(DiagramComp*)> d(new DiagramComp, [](DiagramComp* c) { c->Delete(); });
        d->SetSize(2000, 2000);
        VertexShape* apex = Vertex(d.get(), 0, 0);
        auto* angle =
            new AngleConstraint(Vertex(d.get(), row.p1.x, row.p1.y), apex, Vertex(d.get(), row.p2.x, row.p2.y));
        d->AddConstraint(angle);
        EXPECT_NEAR(angle->GetVariable(0)->GetValue(), row.angle, 1e-12);
        const DiagramDC& dc = d->GetDC();
        const double radius = 12 * dc.GetBaseScale();
        const DPoint inside =
            (row.p1 * (1 / std::hypot(row.p1.x, row.p1.y)) + row.p2 * (1 / std::hypot(row.p2.x, row.p2.y)));
        const DPoint onArc = inside * (radius / std::hypot(inside.x, inside.y));
        EXPECT_EQ(angle->HitTest(onArc, dc), angle) << "the arc's middle";
        EXPECT_EQ(angle->HitTest(onArc * -1.0, dc), nullptr) << "the opposite sector";
        EXPECT_EQ(angle->HitTest(DPoint(-onArc.y, onArc.x), dc), nullptr) << "a quarter turn away";

        StringOut out;
        {
            XMLCoreWriter writer(out);
            angle->WriteSVG(writer, dc);
            writer.Flush();
        }
        int ax, ay, r, rr, rotation, large, sweep, bx, by;
        const size_t d0 = out.text.find("d=\"");
        ASSERT_NE(d0, std::string::npos) << out.text;
        ASSERT_EQ(std::sscanf(out.text.c_str() + d0, "d=\"M %d %d A %d %d %d %d %d %d %d", &ax, &ay, &r, &rr, &rotation,
                              &large, &sweep, &bx, &by),
                  9)
            << out.text;
        EXPECT_EQ(large, 0) << "the short way round";
        const IntPoint c = dc.WorldToScreen(DPoint(0, 0));
        const long turn = long(ax - c.x) * (by - c.y) - long(ay - c.y) * (bx - c.x);
        EXPECT_EQ(sweep, turn > 0 ? 1 : 0) << "round the apex, not round another centre: " << out.text;
    }
}

// The figure's measure of what a curve, a plot or a lock holds, on worked
// figures: the curve from (0, 0) to (4, 0) with controls (0, 4) and (4, 4)
// passes (2, 3) level at its middle; the plot is y = x^2 sampled every
// 0.05, of slope 1 at (0.5, 0.25). Each constraint is met where it is built;
// then a point moves (a segment turns with its direction) and the
// equation's miss is about the worked distance of the figure from holding:
// within the allowance for the plot's samples, no more than it.
TEST_F(ConstraintKindsTest, TheFiguresMeasureSeesACurveAPlotOrALockMissed)
{
    auto* d = new DiagramComp;
    auto list = ListOf(d);
    auto* curve =
        new CurveShape(new VertexShape(0, 0), new VertexShape(4, 0), new VertexShape(0, 4), new VertexShape(4, 4));
    d->AddShape(curve);
    auto* plot = new PlotShape(new CompList, false);
    auto curves = std::make_unique<PlotCurveSet>();
    curves->BeginCurve();
    std::vector<DPoint> samples;
    for (int i = -20; i <= 20; ++i)
        samples.emplace_back(i * 0.05, i * i * 0.0025);
    curves->AddItem(std::make_unique<PlotPolyline>(std::move(samples)));
    curves->EndCurve();
    plot->SetCurves(std::move(curves));
    d->AddShape(plot);
    // The segment turns about its start to the end given, its direction with it.
    auto turn = [](TangentConstraint* tangent, SegmentShape* s, const DPoint& end) {
        s->GetEnd()->SetPoint(end);
        tangent->AlignDirection();
    };
    VertexShape* onCurve = Vertex(d, 2, 3);
    SegmentShape* curveSide = Segment(d, 1, 3, 3, 3);
    auto* curveTangent = new CurveTangentConstraint(curveSide, Vertex(d, 2, 3), curve);
    VertexShape* onPlot = Vertex(d, 0.5, 0.25);
    SegmentShape* plotSide = Segment(d, 0, -0.25, 1, 0.75);
    auto* plotTangent = new PlotTangentConstraint(plotSide, Vertex(d, 0.5, 0.25), plot);
    VertexShape* fixed = Vertex(d, 1, 1);
    VertexShape* freed = Vertex(d, 3, 1);
    const struct {
        const char* name;
        DrawConstraint* constraint;
        int equation;
        double miss;
        std::function<void()> move;
    } rows[] = {
        {"a point on the curve moved", Added(d, new PointOnCurveConstraint(curve, onCurve)), 1, 0.1,
         [&] { onCurve->SetPoint({2, 3.1}); }},
        {"a segment touching the curve turned", Added(d, curveTangent), 4, 2 * std::atan(0.1),
         [&] { turn(curveTangent, curveSide, {3, 3.2}); }},
        {"a point on the plot moved", Added(d, new PointOnPlotConstraint(plot, onPlot)), 0, 0.0349,
         [&] { onPlot->SetPoint({0.5, 0.3}); }},
        {"a segment touching the plot turned", Added(d, plotTangent), 3,
         (std::atan(1.5) - std::atan(1.0)) * std::hypot(1.0, 1.5),
         [&] {
             plotSide->GetStart()->SetPoint({0, -0.5});
             turn(plotTangent, plotSide, {1, 1});
         }},
        {"a fixed point moved", Added(d, new FixedPointConstraint(fixed)), 0, 0.2, [&] { fixed->SetPoint({1.2, 1}); }},
        {"a fixed point with Locked cleared moved", Added(d, new FixedPointConstraint(freed)), 0, 0.0,
         [&] {
             freed->GetXVar()->SetFixed(false);
             freed->SetPoint({3.2, 1});
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const DrawConstraint& c = *row.constraint;
        for (int i = 0; i < c.GetEquationCount(); ++i)
            EXPECT_LE(FigureMiss(c, *c.GetEquation(i)), 1e-12) << "as built, equation " << i;
        row.move();
        const double miss = FigureMiss(c, *c.GetEquation(row.equation));
        EXPECT_LE(miss, row.miss * 1.001 + 1e-12);
        EXPECT_GE(miss, row.miss / 2);
    }
}
