#pragma once
// The renderer's inner parts: its one current state, the records behind the
// handles, and the projection from model space onto the device.
#include "render3d/Render3d.h"

#include "platform/draw/GdiTypes.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

using Vec3 = std::array<double, 3>;

inline double FixedToDouble(Fixed v) { return v / 65536.0; }
inline Vec3 ToVec3(const Point3d& p) { return {FixedToDouble(p.x), FixedToDouble(p.y), FixedToDouble(p.z)}; }
Vec3 Cross(const Vec3& a, const Vec3& b);
double Dot(const Vec3& a, const Vec3& b);
// a / |a|; the zero vector stays zero.
Vec3 Normalised(const Vec3& a);
// (x, y, z, 1) m in doubles.
Vec3 TransformVec(const Vec3& p, const Matrix3d& m);

struct Render3dState {
    CDC* dc = nullptr;
    // Where the target lands; none: the middle of the clip box.
    std::optional<std::array<double, 2>> centre;
    double zoom = 1;
    std::array<Matrix3d, 4> matrices{};
    Matrix3d camera{};          // world to eye
    double eyeDistance = 64;    // from the eye to the target
    double fieldDistance = 32;  // world units spanning 200 pixels at the target
    Interrupt3dProc interrupt = nullptr;
    void* interruptData = nullptr;
    int interruptInterval = 0;
    // The pen of xfMovetoPt / xfLinetoPt, in eye space.
    std::optional<Vec3> pen;
};
Render3dState& State3d();

// Where points of eye space land on the current device (logical pixels).
class Projection3d {
public:
    // Valid only with a device context.
    explicit Projection3d(const Render3dState& state);
    // The eye-space point, or nothing when it lies behind the near plane.
    std::optional<CPoint> Project(const Vec3& eye) const;
    // Depth along the line of sight; the near plane lies at NearDepth.
    static double Depth(const Vec3& eye) { return eye[2]; }
    double NearDepth() const { return m_near; }
    // Pixels per 96th of an inch on this device.
    double PixelScale() const { return m_pixelScale; }

private:
    double m_centreX = 0;
    double m_centreY = 0;
    double m_scale = 1;  // pixels per world unit at the target's depth, times its depth
    double m_near = 0;
    double m_pixelScale = 1;
};

struct Lighting3d {
    double intensity = 1;
    double ambient = 0;
    struct Source {
        Vec3 colour;     // 0..1 per channel
        Vec3 viewerDir;  // as given, in the viewer's frame
        Vec3 shadeDir;   // in the frame patches are shaded in
    };
    std::vector<Source> sources;
};
// The brightness of each channel (0..1) of a facet with the given model-space
// normal lit by lighting.
Vec3 ShadeFacet(const Lighting3d& lighting, const Vec3& normal, bool twoSided);

struct Patch3d {
    std::vector<Vec3> vertices;  // model space
    std::vector<std::vector<int>> facets;
    SurfaceAttributes3d attributes{};
};

struct Group3d {
    std::vector<std::unique_ptr<Patch3d>> patches;
};
