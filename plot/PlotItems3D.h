#pragma once
// The items of a 3-D plot's scene: the frame box with its grid, lines,
// polylines, points, texts, surface meshes and polygon sets, in plot (world)
// coordinates. They live in the lists of a PlotCurveSet like the 2-D items
// and are stored in the document, each as one record: its kind, a length
// and its body.
//
// Bodies: box: six face flags (a byte each, faces 0..5), grid steps x, y,
// z; line: two points; polygon set: the face count (32-bit), each face its
// vertex count as one byte and that many 32-bit indices, the vertex count
// (32-bit) and the vertices; point: a point; polyline: a 32-bit count and
// the points; surface: columns (32-bit), rows (32-bit), the points row
// after row; text: a point and its label (at most 31 characters). A point
// is x, y, z as doubles.
#include "plot/PlotItems.h"

#include <array>
#include <map>
#include <tuple>
#include <cstdint>
#include <string>
#include <vector>

struct Point3D {
    double x = 0;
    double y = 0;
    double z = 0;
    bool operator==(const Point3D&) const = default;
};

// The corners of a 3-D plot's box: its ranges on the three axes.
struct PlotBounds3D {
    Point3D minimum{-1, -1, -1};
    Point3D maximum{1, 1, 1};
};

namespace plot {
constexpr int32_t kBox3D = 1;
constexpr int32_t kLine3D = 2;
constexpr int32_t kPolygon3D = 3;
constexpr int32_t kPoint3D = 4;
constexpr int32_t kPolyline3D = 5;
constexpr int32_t kSurface3D = 6;
constexpr int32_t kText3D = 7;
// A stored face holds at most this many vertices; a polygon from the kernel
// gives a face of at most its first kMaxBuiltFace points.
constexpr int kMaxFaceVertices = 8;
constexpr int kMaxBuiltFace = 4;
// The box's faces: 0 z = minimum, 1 y = maximum, 2 x = minimum, 3 z =
// maximum, 4 y = minimum, 5 x = maximum; face f and f + 3 are opposite.
constexpr int kBoxFaces = 6;
} // namespace plot

class ThreeDPlotComp;
struct Group3d;

class PlotItem3D : public PlotItem {
public:
    // Drawing through the plot's saved camera: before the patches are
    // rendered (behind the surfaces) and after them (in front).
    virtual void DrawBack(const ThreeDPlotComp& plot) const {}
    virtual void DrawFront(const ThreeDPlotComp& plot) const {}
    // Puts the item's patch into the renderer's group at index and moves
    // index on; false when the renderer refused it.
    virtual bool AddPatch(const ThreeDPlotComp& plot, Group3d* group, int& index) const { return true; }
    // The item as kernel graphics (owned by the caller) for a plot with
    // these bounds, or null.
    virtual ExprNode* ToExpression3D(const PlotBounds3D& bounds) const { return nullptr; }
    // Surfaces and polygon sets are drawn as shaded patches.
    virtual bool IsPatch() const { return false; }
};

// The frame box: which faces show their grid, and the grid's steps.
class PlotBox3D : public PlotItem3D {
public:
    PlotBox3D() = default;
    // Sets the named faces (one of 1 or 4, one of 0 or 3, one of 2 or 5)
    // and clears their opposites.
    PlotBox3D(int yFace, int zFace, int xFace, const Point3D& steps);
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotBox3D>(*this); }
    int32_t GetKind() const override { return plot::kBox3D; }
    // The grid lines of every set face, faces 0, 4, 2, 3, 1, 5 in turn.
    ExprNode* ToExpression3D(const PlotBounds3D& bounds) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    void DrawBack(const ThreeDPlotComp& plot) const override;
    bool HasFace(int face) const { return m_faces[static_cast<size_t>(face)]; }
    const Point3D& GetSteps() const { return m_steps; }

private:
    std::array<bool, plot::kBoxFaces> m_faces{};
    Point3D m_steps{1, 1, 1};
};

class PlotLine3D : public PlotItem3D {
public:
    PlotLine3D() = default;
    PlotLine3D(const Point3D& a, const Point3D& b) : m_a(a), m_b(b) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotLine3D>(*this); }
    int32_t GetKind() const override { return plot::kLine3D; }
    ExprNode* ToExpression3D(const PlotBounds3D& bounds) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    void DrawFront(const ThreeDPlotComp& plot) const override;
    const Point3D& GetA() const { return m_a; }
    const Point3D& GetB() const { return m_b; }

private:
    Point3D m_a;
    Point3D m_b;
};

class PlotPoint3D : public PlotItem3D {
public:
    PlotPoint3D() = default;
    explicit PlotPoint3D(const Point3D& point) : m_point(point) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotPoint3D>(*this); }
    int32_t GetKind() const override { return plot::kPoint3D; }
    ExprNode* ToExpression3D(const PlotBounds3D& bounds) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    void DrawFront(const ThreeDPlotComp& plot) const override;
    const Point3D& GetPoint() const { return m_point; }

private:
    Point3D m_point;
};

class PlotPolyline3D : public PlotItem3D {
public:
    PlotPolyline3D() = default;
    explicit PlotPolyline3D(std::vector<Point3D> points) : m_points(std::move(points)) {}
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotPolyline3D>(*this); }
    int32_t GetKind() const override { return plot::kPolyline3D; }
    ExprNode* ToExpression3D(const PlotBounds3D& bounds) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    void DrawFront(const ThreeDPlotComp& plot) const override;
    const std::vector<Point3D>& GetPoints() const { return m_points; }

private:
    std::vector<Point3D> m_points;
};

class PlotText3D : public PlotItem3D {
public:
    PlotText3D() = default;
    // The label keeps its first 31 characters.
    PlotText3D(const Point3D& point, std::string label);
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotText3D>(*this); }
    int32_t GetKind() const override { return plot::kText3D; }
    ExprNode* ToExpression3D(const PlotBounds3D& bounds) const override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader, void* context) override;
    void DrawFront(const ThreeDPlotComp& plot) const override;
    const Point3D& GetPoint() const { return m_point; }
    const std::string& GetLabel() const { return m_label; }

private:
    Point3D m_point;
    std::string m_label;
};

// A grid of rows x columns points stored row by row.
class PlotSurface3D : public PlotItem3D {
public:
    PlotSurface3D() = default;
    // points holds rows x columns points.
    PlotSurface3D(int32_t rows, int32_t columns, std::vector<Point3D> points);
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotSurface3D>(*this); }
    int32_t GetKind() const override { return plot::kSurface3D; }
    bool IsPatch() const override { return true; }
    // SurfaceGraphics[{{z...}...}, MeshRange -> {{xmin, xmax}, {ymin, ymax}}].
    ExprNode* ToExpression3D(const PlotBounds3D& bounds) const override;
    void Write(DocWriter& writer) override;
    // Columns and rows whose grid the record cannot hold are a format error.
    void Read(DocReader& reader, void* context) override;
    bool AddPatch(const ThreeDPlotComp& plot, Group3d* group, int& index) const override;
    int32_t GetRows() const { return m_rows; }
    int32_t GetColumns() const { return m_columns; }
    const std::vector<Point3D>& GetPoints() const { return m_points; }

private:
    int32_t m_rows = 0;
    int32_t m_columns = 0;
    std::vector<Point3D> m_points;
};

// Faces over one table of vertices, each face a list of vertex indices.
class PlotPolygon3D : public PlotItem3D {
public:
    using Face = std::vector<int32_t>;
    PlotPolygon3D() = default;
    PlotPolygon3D(std::vector<Face> faces, std::vector<Point3D> vertices);
    std::unique_ptr<PlotItem> Clone() const override { return std::make_unique<PlotPolygon3D>(*this); }
    int32_t GetKind() const override { return plot::kPolygon3D; }
    bool IsPatch() const override { return true; }
    // A list of Polygons, one for each face.
    ExprNode* ToExpression3D(const PlotBounds3D& bounds) const override;
    void Write(DocWriter& writer) override;
    // A face of more than 8 vertices and an index outside the vertex table
    // are format errors.
    void Read(DocReader& reader, void* context) override;
    bool AddPatch(const ThreeDPlotComp& plot, Group3d* group, int& index) const override;
    const std::vector<Face>& GetFaces() const { return m_faces; }
    const std::vector<Point3D>& GetVertices() const { return m_vertices; }

private:
    std::vector<Face> m_faces;
    std::vector<Point3D> m_vertices;
};

// Builds a polygon set from polygons given point by point: each polygon
// gives a face of at most its first four points, and equal points share
// one vertex, numbered in the order they first appear.
class PolygonSetBuilder {
public:
    void AddPolygon(const std::vector<Point3D>& points);
    std::unique_ptr<PlotPolygon3D> Build();

private:
    int32_t IndexOf(const Point3D& point);

    std::vector<PlotPolygon3D::Face> m_faces;
    std::vector<Point3D> m_vertices;
    std::map<std::tuple<double, double, double>, int32_t> m_index;
};

// Lets the archive read the 3-D plot items.
void RegisterPlotItems3D();
