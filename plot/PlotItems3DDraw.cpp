// How the 3-D items draw themselves through a plot's camera and become the
// renderer's patches.
#include "plot/PlotItems3D.h"
#include "plot/ThreeDPlotComp.h"
#include "render3d/Render3d.h"

#include <vector>

namespace {

constexpr Fixed kHalfCube = 16 * kFixedOne;

// The grid's faces as the renderer's mask bits, by the box's face numbers.
constexpr unsigned kFaceBits[plot::kBoxFaces] = {kGridYLow, kGridXHigh, kGridZHigh,
                                                 kGridYHigh, kGridXLow, kGridZLow};

// A light blue, lit from the viewer, both sides drawn.
SurfaceAttributes3d SurfaceLook()
{
    SurfaceAttributes3d look{};
    look.red = 0x3FFF;
    look.green = 0x3FFF;
    look.blue = 0xFFFF;
    look.intensity = 65535;
    look.flags = kSurfaceFill | kSurfaceShade | kSurfaceEdges | kSurfaceTwoSided | kSurfaceBackFaces;
    look.diffuse = 32767;
    look.ambient = 4096;
    return look;
}

std::vector<Point3d> Converted(const ThreeDPlotComp& plot, const std::vector<Point3D>& points)
{
    std::vector<Point3d> out;
    out.reserve(points.size());
    for (const Point3D& p : points)
        out.push_back(plot.ToFixedPoint(p));
    return out;
}

} // namespace

void PlotBox3D::DrawBack(const ThreeDPlotComp& plot) const
{
    const Point3d step = plot.ToFixedVector(m_steps);
    const Point3d low{-kHalfCube, -kHalfCube, -kHalfCube, 0};
    const Point3d high{kHalfCube, kHalfCube, kHalfCube, 0};
    const Point3d divisions{fix_div(2 * kHalfCube, step.x), fix_div(2 * kHalfCube, step.y),
                            fix_div(2 * kHalfCube, step.z), 0};
    unsigned mask = kGridInnerLines | kGridBorder;
    for (int face = 0; face < plot::kBoxFaces; ++face)
        if (m_faces[static_cast<size_t>(face)])
            mask |= kFaceBits[face];
    plot.DrawBox(low, high, divisions, mask);
}

void PlotLine3D::DrawFront(const ThreeDPlotComp& plot) const
{
    plot.DrawLine(m_a, m_b);
}

void PlotPoint3D::DrawFront(const ThreeDPlotComp& plot) const
{
    plot.DrawPoint(m_point);
}

void PlotPolyline3D::DrawFront(const ThreeDPlotComp& plot) const
{
    plot.DrawSegment(m_points);
}

void PlotText3D::DrawFront(const ThreeDPlotComp& plot) const
{
    plot.DrawString(m_point, m_label);
}

bool PlotSurface3D::AddPatch(const ThreeDPlotComp& plot, Group3d* group, int& index) const
{
    if (m_rows <= 0 || m_columns <= 0 || m_points.size() != size_t(m_rows) * size_t(m_columns))
        return false;
    const std::vector<Point3d> points = Converted(plot, m_points);
    const SurfaceAttributes3d look = SurfaceLook();
    Matrix3d identity;
    mIdentity(&identity);
    const int result = xfMatrix2Patch(group, index, 0, 0, m_rows, static_cast<int>(points.size()), points.data(),
                                      &look, &identity);
    ++index;
    return result == kRender3dOk;
}

bool PlotPolygon3D::AddPatch(const ThreeDPlotComp& plot, Group3d* group, int& index) const
{
    const std::vector<Point3d> vertices = Converted(plot, m_vertices);
    std::vector<Facet3d> facets;
    facets.reserve(m_faces.size() * 2);
    for (const Face& face : m_faces) {
        if (face.empty())
            continue;
        Face reversed(face.rbegin(), face.rend());
        for (const Face* order : {static_cast<const Face*>(&face), static_cast<const Face*>(&reversed)}) {
            Facet3d facet;
            MakePolyFacet(&facet, static_cast<int>(order->size()), order->data(), vertices.data());
            facets.push_back(facet);
        }
    }
    const SurfaceAttributes3d look = SurfaceLook();
    Matrix3d identity;
    mIdentity(&identity);
    const int result = NewPatch(group, index, static_cast<int>(vertices.size()), vertices.data(),
                                static_cast<int>(facets.size()), facets.data(), &look, &identity);
    ++index;
    return result == kRender3dOk;
}
