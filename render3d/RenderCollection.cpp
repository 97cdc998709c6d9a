// Drawing a collection with the painter's algorithm: every facet projected,
// flat shaded, and filled farthest first.
#include "render3d/Render3dState.h"

#include "platform/draw/CDC.h"

#include <algorithm>

namespace {

struct ScreenFacet {
    double depth;  // of the facet's centre
    std::vector<CPoint> corners;
    COLORREF fill;
    COLORREF edge;
    bool filled;
    bool edged;
};

// A facet's normal by Newell's method: fine for corners that are not quite in a plane.
Vec3 newellNormal(const std::vector<Vec3>& corners)
{
    Vec3 n = {0, 0, 0};
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vec3& a = corners[i];
        const Vec3& b = corners[(i + 1) % corners.size()];
        n[0] += (a[1] - b[1]) * (a[2] + b[2]);
        n[1] += (a[2] - b[2]) * (a[0] + b[0]);
        n[2] += (a[0] - b[0]) * (a[1] + b[1]);
    }
    return Normalised(n);
}

COLORREF scaled(const SurfaceAttributes3d& a, const Vec3& brightness)
{
    const double base[3] = {double(a.red), double(a.green), double(a.blue)};
    int channel[3];
    for (int c = 0; c < 3; ++c) {
        double v = base[c] / 65535.0 * a.intensity / 65535.0 * std::clamp(brightness[c], 0.0, 1.0);
        channel[c] = int(std::lround(v * 255));
    }
    return RGB(channel[0], channel[1], channel[2]);
}

COLORREF darker(COLORREF c)
{
    return RGB(GetRValue(c) * 2 / 5, GetGValue(c) * 2 / 5, GetBValue(c) * 2 / 5);
}

// The brightness of a facet: the surface's own ambient part, and its diffuse
// part of what the lights give.
Vec3 brightnessOf(const SurfaceAttributes3d& a, const Lighting3d* lighting, const Vec3& normal)
{
    if (!lighting || !(a.flags & kSurfaceShade))
        return {1, 1, 1};
    Vec3 light = ShadeFacet(*lighting, normal, a.flags & kSurfaceTwoSided);
    double ambient = double(a.ambient) / kReflectanceOne;
    double diffuse = double(a.diffuse) / kReflectanceOne;
    return {ambient + diffuse * light[0], ambient + diffuse * light[1], ambient + diffuse * light[2]};
}

void collectFacets(const Patch3d& patch, const Matrix3d& view, const Lighting3d* lighting,
                   const Projection3d& projection, std::vector<ScreenFacet>& out)
{
    std::vector<Vec3> eye;
    eye.reserve(patch.vertices.size());
    for (const Vec3& v : patch.vertices)
        eye.push_back(TransformVec(v, view));
    const SurfaceAttributes3d& a = patch.attributes;
    for (const std::vector<int>& facet : patch.facets) {
        if (facet.size() < 3)
            continue;
        ScreenFacet screen{0, {}, 0, 0, bool(a.flags & kSurfaceFill), bool(a.flags & kSurfaceEdges)};
        std::vector<Vec3> model, sight;
        Vec3 centre = {0, 0, 0};
        bool visible = true;
        for (int corner : facet) {
            std::optional<CPoint> p = projection.Project(eye[std::size_t(corner)]);
            if (!p) {
                visible = false;  // reaches behind the eye
                break;
            }
            screen.corners.push_back(*p);
            model.push_back(patch.vertices[std::size_t(corner)]);
            sight.push_back(eye[std::size_t(corner)]);
            for (int c = 0; c < 3; ++c)
                centre[c] += eye[std::size_t(corner)][c] / double(facet.size());
        }
        if (!visible)
            continue;
        // The eye looks from the origin of eye space: a facet whose normal
        // points the way the eye looks shows its back.
        if (!(a.flags & kSurfaceBackFaces) && Dot(newellNormal(sight), centre) > 0)
            continue;
        screen.depth = Projection3d::Depth(centre);
        screen.fill = scaled(a, brightnessOf(a, lighting, newellNormal(model)));
        screen.edge = screen.filled ? darker(screen.fill) : screen.fill;
        out.push_back(std::move(screen));
    }
}

void drawFacet(CDC& dc, const ScreenFacet& facet)
{
    // Without edges the fill alone is drawn: a pen in the fill's colour would
    // reach half a pixel beyond the facet and show through nearer ones.
    CPen pen(PS_SOLID, 0, facet.edged ? facet.edge : facet.fill);
    CBrush brush(facet.fill);
    CPen* oldPen = dc.SelectObject(facet.edged || !facet.filled ? &pen : CPen::NullPen());
    CBrush* oldBrush = dc.SelectObject(facet.filled ? &brush : CBrush::NullBrush());
    dc.Polygon(facet.corners.data(), int(facet.corners.size()));
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

}  // namespace

void xfRenderCollection(const Collection3d* collection, const Matrix3d* view, const Lighting3d* lighting, int)
{
    Render3dState& state = State3d();
    if (!collection || !view || !state.dc)
        return;
    Projection3d projection(state);
    std::vector<ScreenFacet> facets;
    for (int g = 1; g <= collection->Count(); ++g) {
        const Group3d* group = collection->groups[std::size_t(g)];
        if (!group)
            continue;
        for (const std::unique_ptr<Patch3d>& patch : group->patches)
            if (patch)
                collectFacets(*patch, *view, lighting, projection, facets);
    }
    std::stable_sort(facets.begin(), facets.end(),
                     [](const ScreenFacet& a, const ScreenFacet& b) { return a.depth > b.depth; });
    int interval = state.interruptInterval > 0 ? state.interruptInterval : 1;
    for (std::size_t i = 0; i < facets.size(); ++i) {
        if (state.interrupt && i % std::size_t(interval) == 0 && state.interrupt(state.interruptData))
            return;
        drawFacet(*state.dc, facets[i]);
    }
}
