// The 3-D plot items: kernel Graphics3D and SurfaceGraphics answers read
// into them (the surface grid, shared polygon vertices, single rows and
// columns, uneven rows refused), their records read back to the same bytes
// and damaged records refused, and their kernel forms.
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/ExprNode.h"
#include "foundation/MemoryStream.h"
#include "kernel/KernelServices.h"
#include "plot/PlotComponents.h"
#include "plot/PlotCurveSet.h"
#include "plot/PlotItems3D.h"
#include "platform/Exceptions.h"
#include "support/kernel/NodeWireText.h"
#include "support/math/MathTestSupport.h"
#include "support/model/ArchiveStore.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Node = std::unique_ptr<ExprNode>;

class PlotItems3DTest : public MathTest {
protected:
    PlotItems3DTest()
    {
        InstallKernelServices();
        RegisterPlotComponents();
    }

    static PlotBounds3D Bounds(double xMin, double xMax, double yMin, double yMax)
    {
        return {{xMin, yMin, -1}, {xMax, yMax, 1}};
    }

    // The set built from an answer given in full form.
    static PlotCurveSet Built(const char* answer, const PlotBounds3D& bounds, bool* accepted = nullptr)
    {
        PlotCurveSet set;
        Node node(NodeFrom(answer));
        const bool ok = set.BuildFromResult3D(node.get(), bounds);
        if (accepted)
            *accepted = ok;
        return set;
    }

    static const PlotSurface3D* SurfaceOf(const PlotCurveSet& set)
    {
        if (set.GetCurveCount() != 1 || set.GetCurve(0).size() != 1)
            return nullptr;
        return dynamic_cast<const PlotSurface3D*>(set.GetCurve(0).front().get());
    }

    static std::vector<uint8_t> Bytes(const PlotCurveSet& set)
    {
        return StoreArchive([&set](DocWriter& writer) { set.Write(writer); });
    }

    static PlotCurveSet ReadBack(std::vector<uint8_t> bytes)
    {
        MemoryStream stream(bytes.data(), static_cast<int32_t>(bytes.size()));
        DocReader reader(&stream);
        PlotCurveSet set;
        set.Read3D(reader, reader.ReadShort());
        return set;
    }
};

TEST_F(PlotItems3DTest, ASurfaceAnswerMakesAGridWithRowsAlongY)
{
    const PlotCurveSet set =
        Built("SurfaceGraphics[List[List[1, 2, 3, 4], List[5, 6, 7, 8], List[9, 10, 11, 12]]]", Bounds(-1, 1, 0, 1));
    const PlotSurface3D* surface = SurfaceOf(set);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->GetRows(), 3);
    EXPECT_EQ(surface->GetColumns(), 4);
    const std::vector<Point3D>& p = surface->GetPoints();
    ASSERT_EQ(p.size(), 12u);
    EXPECT_DOUBLE_EQ(p[1].x - p[0].x, 2.0 / 3) << "x steps of 2/3 along a row";
    EXPECT_DOUBLE_EQ(p[4].y - p[0].y, 0.5) << "y steps of 0.5 from row to row";
    EXPECT_DOUBLE_EQ(p[11].x, 1);
    EXPECT_DOUBLE_EQ(p[11].y, 1);
    EXPECT_DOUBLE_EQ(p[6].z, 7);
}

TEST_F(PlotItems3DTest, ASingleRowOrColumnLiesAtTheMinimumInsteadOfDividingByZero)
{
    struct Case {
        const char* answer;
        Point3D last;
    };
    const Case cases[] = {
        {"SurfaceGraphics[List[List[1, 2, 3]]]", {3, 5, 3}},
        {"SurfaceGraphics[List[List[1], List[2]]]", {2, 6, 2}},
        {"SurfaceGraphics[List[List[4]]]", {2, 5, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const PlotSurface3D* surface = nullptr;
        const PlotCurveSet set = Built(c.answer, Bounds(2, 3, 5, 6));
        surface = SurfaceOf(set);
        ASSERT_NE(surface, nullptr);
        for (const Point3D& p : surface->GetPoints()) {
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        }
        EXPECT_EQ(surface->GetPoints().back(), c.last);
    }
}

TEST_F(PlotItems3DTest, UnevenRowsAreRefusedAndEmptyHeightsAddNothing)
{
    bool accepted = true;
    const PlotCurveSet uneven = Built("SurfaceGraphics[List[List[1, 2], List[3]]]", Bounds(0, 1, 0, 1), &accepted);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(uneven.GetCurveCount(), 0);
    const PlotCurveSet longer = Built("SurfaceGraphics[List[List[1], List[3, 4]]]", Bounds(0, 1, 0, 1), &accepted);
    EXPECT_FALSE(accepted) << "a row longer than the first is refused too";
    for (const char* empty : {"SurfaceGraphics[List[]]", "SurfaceGraphics[List[List[]]]", "Line[List[]]"}) {
        const PlotCurveSet set = Built(empty, Bounds(0, 1, 0, 1), &accepted);
        EXPECT_TRUE(accepted) << empty;
        EXPECT_EQ(set.GetCurveCount(), 0) << empty;
    }
}

TEST_F(PlotItems3DTest, Graphics3DElementsBecomeCurvesAndPolygonsShareVertices)
{
    const PlotCurveSet set =
        Built("Graphics3D[List[List[], "
              "List[Polygon[List[List[0,0,0], List[1,0,0], List[1,1,0], List[0,1,0]]], "
              "Polygon[List[List[1,0,0], List[2,0,0], List[2,1,0], List[1,1,0], List[9,9,9], List[8,8,8]]]], "
              "List[Line[List[List[0,0,0], List[1,1,1]]], Line[List[List[0,0,0], List[1,1,1], List[2,0,1]]], "
              "Point[List[1, 2]], Text[\"peak\", List[0, 0, 1]], Polygon[List[List[0,0,0]]]]], List[]]",
              Bounds(0, 1, 0, 1));
    ASSERT_EQ(set.GetCurveCount(), 3);
    EXPECT_TRUE(set.GetCurve(0).empty()) << "an empty element adds no item";
    ASSERT_EQ(set.GetCurve(1).size(), 1u);
    auto* polygons = dynamic_cast<const PlotPolygon3D*>(set.GetCurve(1).front().get());
    ASSERT_NE(polygons, nullptr);
    EXPECT_EQ(polygons->GetVertices().size(), 6u) << "the shared edge is stored once";
    const std::vector<PlotPolygon3D::Face> faces = {{0, 1, 2, 3}, {1, 4, 5, 2}};
    EXPECT_EQ(polygons->GetFaces(), faces) << "at most four points a face; indices by first appearance";
    const PlotItemList& mixed = set.GetCurve(2);
    ASSERT_EQ(mixed.size(), 4u) << "a lone polygon adds nothing";
    EXPECT_NE(dynamic_cast<const PlotLine3D*>(mixed[0].get()), nullptr);
    EXPECT_EQ(dynamic_cast<const PlotPolyline3D*>(mixed[1].get())->GetPoints().size(), 3u);
    EXPECT_EQ(dynamic_cast<const PlotPoint3D*>(mixed[2].get())->GetPoint(), (Point3D{1, 2, 0}));
    EXPECT_EQ(dynamic_cast<const PlotText3D*>(mixed[3].get())->GetLabel(), "peak");
}

TEST_F(PlotItems3DTest, RecordsReadBackToTheSameBytes)
{
    PlotCurveSet set =
        Built("Graphics3D[List[List[Polygon[List[List[0,0,0], List[1,0,0], List[1,1,0]]]], "
              "List[Line[List[List[0,0,0], List[1,1,1]]], Line[List[List[0,0,0], List[1,1,1], List[2,0,1]]], "
              "Point[List[1, 2, 3]], Text[\"a label longer than thirty-one characters\", List[0, 0, 1]]]]]",
              Bounds(0, 1, 0, 1));
    Node surface(NodeFrom("SurfaceGraphics[List[List[1, 2, 3], List[4, 5, 6]]]"));
    set.BuildFromResult3D(surface.get(), Bounds(0, 1, 0, 1));
    set.BeginCurve();
    set.AddItem(std::make_unique<PlotBox3D>(4, 0, 2, Point3D{0.5, 0.25, 1}));
    set.EndCurve();
    const std::vector<uint8_t> bytes = Bytes(set);
    const PlotCurveSet read = ReadBack(bytes);
    ASSERT_EQ(read.GetCurveCount(), set.GetCurveCount());
    EXPECT_EQ(Bytes(read), bytes);
    EXPECT_EQ(Bytes(PlotCurveSet(read)), bytes) << "a copy writes the same";
    auto* text = dynamic_cast<const PlotText3D*>(read.GetCurve(1)[3].get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetLabel().size(), 31u);
    auto* box = dynamic_cast<const PlotBox3D*>(read.GetCurve(3).front().get());
    ASSERT_NE(box, nullptr);
    for (int face = 0; face < plot::kBoxFaces; ++face)
        EXPECT_EQ(box->HasFace(face), face == 4 || face == 0 || face == 2) << face;
}

// Bytes after the set's list count: one list of one item of this kind and body.
std::vector<uint8_t> OneItem(int32_t kind, const std::function<void(DocWriter&)>& body)
{
    return StoreArchive([&](DocWriter& writer) {
        writer.WriteShort(1);
        writer.WriteLong(1);
        struct Raw : ArchiveItem {
            int32_t kind;
            std::function<void(DocWriter&)> body;
            int32_t GetKind() const override { return kind; }
            void Write(DocWriter& w) override { body(w); }
        } raw;
        raw.kind = kind;
        raw.body = body;
        writer.WritePlotItem(raw);
    });
}

TEST_F(PlotItems3DTest, DamagedRecordsAreRefused)
{
    const auto point = [](DocWriter& w) {
        for (int i = 0; i < 3; ++i)
            w.WriteDouble(0);
    };
    struct Case {
        const char* name;
        int32_t kind;
        std::function<void(DocWriter&)> body;
    };
    const Case cases[] = {
        {"a face of nine vertices", plot::kPolygon3D,
         [&](DocWriter& w) {
             w.WriteLong(1);
             w.WriteByte(9);
             for (int i = 0; i < 9; ++i)
                 w.WriteLong(0);
             w.WriteLong(1);
             point(w);
         }},
        {"an index past the vertices", plot::kPolygon3D,
         [&](DocWriter& w) {
             w.WriteLong(1);
             w.WriteByte(1);
             w.WriteLong(1);
             w.WriteLong(1);
             point(w);
         }},
        {"more surface points than the record holds", plot::kSurface3D,
         [&](DocWriter& w) {
             w.WriteLong(0x10000);
             w.WriteLong(0x10000);
             point(w);
         }},
        {"rows without columns", plot::kSurface3D,
         [&](DocWriter& w) {
             w.WriteLong(0);
             w.WriteLong(0x7fffffff);
         }},
        {"a negative polyline count", plot::kPolyline3D, [&](DocWriter& w) { w.WriteLong(-1); }},
    };
    for (const Case& c : cases)
        EXPECT_THROW(ReadBack(OneItem(c.kind, c.body)), CFormatException) << c.name;
    // An unknown kind is skipped by its length.
    EXPECT_EQ(ReadBack(OneItem(99, point)).GetCurve(0).size(), 0u);
}

TEST_F(PlotItems3DTest, ItemsTurnBackIntoKernelGraphics)
{
    const PlotBounds3D bounds{{0, 0, 0}, {1, 2, 3}};
    const PlotSurface3D surface(2, 2, {{0, 0, 1}, {1, 0, 2}, {0, 2, 3}, {1, 2, 4}});
    Node node(surface.ToExpression3D(bounds));
    EXPECT_EQ(FullFormOf(node.get()),
              "SurfaceGraphics[List[List[1., 2.], List[3., 4.]], Rule[MeshRange, List[List[0., 1.], List[0., 2.]]]]");
    // Faces 1, 0 and 2 set, their opposites clear.
    const PlotBox3D box(1, 0, 2, {1, 1, 1});
    Node grid(box.ToExpression3D(bounds));
    const std::string text = FullFormOf(grid.get());
    EXPECT_EQ(text.find("Line[List[List[0., 0., 0.], List[1., 0., 0.]]]"), text.find("Line"))
        << "face 0 comes first, its lines along x first";
    EXPECT_EQ(text.find("Line[List[List[0., 0., 3.], List[1., 0., 3.]]]"), std::string::npos)
        << "faces 3 and 4 are not set";
    EXPECT_NE(text.find("Line[List[List[0., 2., 0.], List[0., 2., 3.]]]"), std::string::npos) << "face 1 is";
}

} // namespace
