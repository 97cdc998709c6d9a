#include "plot/PlotItems3D.h"

#include "foundation/ArchiveRegistry.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/Str255.h"
#include "kernel/LeafNodes.h"
#include "kernel/ListNodes.h"
#include "kernel/OperatorNodes.h"
#include "kernel/PlotNodes.h"
#include "platform/Exceptions.h"

#include <cmath>

using namespace plot;

namespace {

// A point's record: x, y, z.
constexpr int32_t kPointBytes = 24;
// A face's smallest record: an empty face is its count byte alone.
constexpr int32_t kMinFaceBytes = 1;
// A box face shows at most this many grid lines in each direction.
constexpr int kMaxGridLines = 1000;

template <class T>
ArchiveItem* Make()
{
    return new T;
}

// ---- records ----

void WritePoint(DocWriter& writer, const Point3D& p)
{
    writer.WriteDouble(p.x);
    writer.WriteDouble(p.y);
    writer.WriteDouble(p.z);
}

Point3D ReadPoint(DocReader& reader)
{
    Point3D p;
    p.x = reader.ReadDouble();
    p.y = reader.ReadDouble();
    p.z = reader.ReadDouble();
    return p;
}

void WritePoints(DocWriter& writer, const std::vector<Point3D>& points)
{
    for (const Point3D& p : points)
        WritePoint(writer, p);
}

std::vector<Point3D> ReadPoints(DocReader& reader, int64_t count)
{
    if (count < 0 || count > reader.BytesLeft() / kPointBytes)
        throw CFormatException("A count of points is larger than the data that follows");
    std::vector<Point3D> points;
    points.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i)
        points.push_back(ReadPoint(reader));
    return points;
}

std::string Cut(std::string label)
{
    if (label.size() > static_cast<size_t>(kMaxLabel))
        label.resize(kMaxLabel);
    return label;
}

// ---- kernel forms ----

ExprNode* PointNode3(const Point3D& p)
{
    auto* list = new ListNode;
    list->AppendChild(new RealNode(p.x));
    list->AppendChild(new RealNode(p.y));
    list->AppendChild(new RealNode(p.z));
    return list;
}

ExprNode* PointsNode3(const std::vector<Point3D>& points)
{
    auto* list = new ListNode;
    for (const Point3D& p : points)
        list->AppendChild(PointNode3(p));
    return list;
}

ExprNode* PairNode(double a, double b)
{
    auto* list = new ListNode;
    list->AppendChild(new RealNode(a));
    list->AppendChild(new RealNode(b));
    return list;
}

double& Coordinate(Point3D& p, int axis)
{
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

double CoordinateOf(const Point3D& p, int axis)
{
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

// Lines across the plane where `fixed` has the value `at`: each runs along
// `along` from the box minimum to its maximum, one at every step of
// `across` from its minimum while not beyond its maximum.
void AddGridLines(ListNode& lines, const PlotBounds3D& bounds, const Point3D& steps, int fixed, double at, int along,
                  int across)
{
    const double step = CoordinateOf(steps, across);
    const double low = CoordinateOf(bounds.minimum, across);
    const double high = CoordinateOf(bounds.maximum, across);
    if (!(step > 0) || !std::isfinite(low) || !std::isfinite(high))
        return;
    for (int k = 0; k < kMaxGridLines && low + k * step <= high; ++k) {
        Point3D a;
        Coordinate(a, fixed) = at;
        Coordinate(a, across) = low + k * step;
        Point3D b = a;
        Coordinate(a, along) = CoordinateOf(bounds.minimum, along);
        Coordinate(b, along) = CoordinateOf(bounds.maximum, along);
        lines.AppendChild(new GraphicsLineNode(PointsNode3({a, b})));
    }
}

} // namespace

// ---- box ----

PlotBox3D::PlotBox3D(int yFace, int zFace, int xFace, const Point3D& steps) : m_steps(steps)
{
    for (int face : {yFace, zFace, xFace}) {
        m_faces[static_cast<size_t>(face % kBoxFaces)] = true;
        m_faces[static_cast<size_t>((face + 3) % kBoxFaces)] = false;
    }
}

ExprNode* PlotBox3D::ToExpression3D(const PlotBounds3D& bounds) const
{
    // The fixed axis, the two others, and whether the face lies at the maximum.
    struct FaceGrid {
        int face;
        int fixed;
        int first;
        int second;
        bool atMaximum;
    };
    static constexpr FaceGrid kOrder[] = {{0, 2, 0, 1, false}, {4, 1, 0, 2, false}, {2, 0, 1, 2, false},
                                          {3, 2, 0, 1, true},  {1, 1, 0, 2, true},  {5, 0, 1, 2, true}};
    auto* lines = new ListNode;
    for (const FaceGrid& f : kOrder) {
        if (!HasFace(f.face))
            continue;
        const double at = CoordinateOf(f.atMaximum ? bounds.maximum : bounds.minimum, f.fixed);
        AddGridLines(*lines, bounds, m_steps, f.fixed, at, f.first, f.second);
        AddGridLines(*lines, bounds, m_steps, f.fixed, at, f.second, f.first);
    }
    return lines;
}

void PlotBox3D::Write(DocWriter& writer)
{
    for (bool face : m_faces)
        writer.WriteBool(face);
    WritePoint(writer, m_steps);
}

void PlotBox3D::Read(DocReader& reader, void*)
{
    for (bool& face : m_faces)
        face = reader.ReadBool();
    m_steps = ReadPoint(reader);
}

// ---- line, point, polyline, text ----

ExprNode* PlotLine3D::ToExpression3D(const PlotBounds3D&) const
{
    return new GraphicsLineNode(PointsNode3({m_a, m_b}));
}

void PlotLine3D::Write(DocWriter& writer)
{
    WritePoint(writer, m_a);
    WritePoint(writer, m_b);
}

void PlotLine3D::Read(DocReader& reader, void*)
{
    m_a = ReadPoint(reader);
    m_b = ReadPoint(reader);
}

ExprNode* PlotPoint3D::ToExpression3D(const PlotBounds3D&) const
{
    return new GraphicsPointNode(PointNode3(m_point));
}

void PlotPoint3D::Write(DocWriter& writer)
{
    WritePoint(writer, m_point);
}

void PlotPoint3D::Read(DocReader& reader, void*)
{
    m_point = ReadPoint(reader);
}

ExprNode* PlotPolyline3D::ToExpression3D(const PlotBounds3D&) const
{
    return new GraphicsLineNode(PointsNode3(m_points));
}

void PlotPolyline3D::Write(DocWriter& writer)
{
    writer.WriteLong(static_cast<int32_t>(m_points.size()));
    WritePoints(writer, m_points);
}

void PlotPolyline3D::Read(DocReader& reader, void*)
{
    m_points = ReadPoints(reader, reader.ReadLong());
}

PlotText3D::PlotText3D(const Point3D& point, std::string label) : m_point(point), m_label(Cut(std::move(label)))
{}

ExprNode* PlotText3D::ToExpression3D(const PlotBounds3D&) const
{
    return new GraphicsTextNode(new StringNode(m_label), PointNode3(m_point));
}

void PlotText3D::Write(DocWriter& writer)
{
    WritePoint(writer, m_point);
    writer.WritePString(Str255(m_label.c_str()), true);
}

void PlotText3D::Read(DocReader& reader, void*)
{
    m_point = ReadPoint(reader);
    Str255 text;
    reader.ReadPString(text, true);
    m_label = Cut(std::string(text.GetText(), static_cast<size_t>(text.GetLength())));
}

// ---- surface ----

PlotSurface3D::PlotSurface3D(int32_t rows, int32_t columns, std::vector<Point3D> points)
    : m_rows(rows), m_columns(columns), m_points(std::move(points))
{}

ExprNode* PlotSurface3D::ToExpression3D(const PlotBounds3D& bounds) const
{
    auto* heights = new ListNode;
    for (int32_t r = 0; r < m_rows; ++r) {
        auto* row = new ListNode;
        for (int32_t c = 0; c < m_columns; ++c)
            row->AppendChild(new RealNode(m_points[static_cast<size_t>(r * m_columns + c)].z));
        heights->AppendChild(row);
    }
    auto* ranges = new ListNode;
    ranges->AppendChild(PairNode(bounds.minimum.x, bounds.maximum.x));
    ranges->AppendChild(PairNode(bounds.minimum.y, bounds.maximum.y));
    return new SurfaceGraphicsNode(heights, new RuleNode(new SymbolNode(std::string("MeshRange")), ranges));
}

// Columns come before rows in the record.
void PlotSurface3D::Write(DocWriter& writer)
{
    writer.WriteLong(m_columns);
    writer.WriteLong(m_rows);
    WritePoints(writer, m_points);
}

void PlotSurface3D::Read(DocReader& reader, void*)
{
    m_columns = reader.ReadCount(0);
    m_rows = reader.ReadCount(0);
    if ((m_rows == 0) != (m_columns == 0))
        throw CFormatException("A surface has rows without columns");
    m_points = ReadPoints(reader, int64_t(m_rows) * m_columns);
}

// ---- polygon set ----

PlotPolygon3D::PlotPolygon3D(std::vector<Face> faces, std::vector<Point3D> vertices)
    : m_faces(std::move(faces)), m_vertices(std::move(vertices))
{}

ExprNode* PlotPolygon3D::ToExpression3D(const PlotBounds3D&) const
{
    auto* polygons = new ListNode;
    for (const Face& face : m_faces) {
        std::vector<Point3D> points;
        for (int32_t index : face)
            points.push_back(m_vertices[static_cast<size_t>(index)]);
        polygons->AppendChild(new GraphicsPolygonNode(PointsNode3(points)));
    }
    return polygons;
}

// A face's vertex count is one byte on file.
void PlotPolygon3D::Write(DocWriter& writer)
{
    writer.WriteLong(static_cast<int32_t>(m_faces.size()));
    for (const Face& face : m_faces) {
        writer.WriteByte(static_cast<uint8_t>(face.size()));
        for (int32_t index : face)
            writer.WriteLong(index);
    }
    writer.WriteLong(static_cast<int32_t>(m_vertices.size()));
    WritePoints(writer, m_vertices);
}

void PlotPolygon3D::Read(DocReader& reader, void*)
{
    const int32_t faceCount = reader.ReadCount(kMinFaceBytes);
    std::vector<Face> faces(static_cast<size_t>(faceCount));
    for (Face& face : faces) {
        const int count = reader.ReadByte();
        if (count > kMaxFaceVertices)
            throw CFormatException("A face has more vertices than a face holds");
        for (int i = 0; i < count; ++i)
            face.push_back(reader.ReadLong());
    }
    std::vector<Point3D> vertices = ReadPoints(reader, reader.ReadLong());
    for (const Face& face : faces)
        for (int32_t index : face)
            if (index < 0 || static_cast<size_t>(index) >= vertices.size())
                throw CFormatException("A face names a vertex that is not there");
    m_faces = std::move(faces);
    m_vertices = std::move(vertices);
}

void PolygonSetBuilder::AddPolygon(const std::vector<Point3D>& points)
{
    PlotPolygon3D::Face face;
    for (size_t i = 0; i < points.size() && i < static_cast<size_t>(kMaxBuiltFace); ++i)
        face.push_back(IndexOf(points[i]));
    m_faces.push_back(std::move(face));
}

int32_t PolygonSetBuilder::IndexOf(const Point3D& point)
{
    const auto [found, added] =
        m_index.try_emplace({point.x, point.y, point.z}, static_cast<int32_t>(m_vertices.size()));
    if (added)
        m_vertices.push_back(point);
    return found->second;
}

std::unique_ptr<PlotPolygon3D> PolygonSetBuilder::Build()
{
    auto polygons = std::make_unique<PlotPolygon3D>(std::move(m_faces), std::move(m_vertices));
    m_faces.clear();
    m_vertices.clear();
    m_index.clear();
    return polygons;
}

void RegisterPlotItems3D()
{
    ArchiveRegistry::RegisterPlotItem(3, kBox3D, &Make<PlotBox3D>);
    ArchiveRegistry::RegisterPlotItem(3, kLine3D, &Make<PlotLine3D>);
    ArchiveRegistry::RegisterPlotItem(3, kPolygon3D, &Make<PlotPolygon3D>);
    ArchiveRegistry::RegisterPlotItem(3, kPoint3D, &Make<PlotPoint3D>);
    ArchiveRegistry::RegisterPlotItem(3, kPolyline3D, &Make<PlotPolyline3D>);
    ArchiveRegistry::RegisterPlotItem(3, kSurface3D, &Make<PlotSurface3D>);
    ArchiveRegistry::RegisterPlotItem(3, kText3D, &Make<PlotText3D>);
}
