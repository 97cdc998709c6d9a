// The renderer's current state: device, projection, matrices and camera.
#include "render3d/Render3dState.h"

#include "platform/draw/CDC.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr double kFieldPixels = 200;  // pixels at 96 dpi that the field distance spans
constexpr double kNearFraction = 1.0 / 64;

Render3dState freshState()
{
    Render3dState state;
    for (Matrix3d& m : state.matrices)
        mIdentity(&m);
    mIdentity(&state.camera);
    state.camera.m[3][2] = Fixed(state.eyeDistance * kFixedOne);
    return state;
}

// Rounded to nearest; beyond the 32-bit range saturated.
Fixed toFixed(double v)
{
    return Fixed(std::lround(std::clamp(v * kFixedOne, double(INT32_MIN), double(INT32_MAX))));
}

// World to eye: the eye at the origin, its axes right, up and forward.
Matrix3d cameraMatrix(const Vec3& eye, const Vec3& right, const Vec3& up, const Vec3& forward)
{
    Matrix3d m;
    mIdentity(&m);
    const Vec3 axes[3] = {right, up, forward};
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i)
            m.m[i][j] = toFixed(axes[j][i]);
        m.m[3][j] = toFixed(-Dot(eye, axes[j]));
        m.m[j][3] = 0;
    }
    return m;
}

}  // namespace

Render3dState& State3d()
{
    static Render3dState state = freshState();
    return state;
}

void Init3d(int)
{
    State3d() = freshState();
}

void SetCurrentDC(CDC* dc)
{
    State3d().dc = dc;
    State3d().pen.reset();
}

void SetCenter(Fixed x, Fixed y)
{
    State3d().centre = std::array<double, 2>{FixedToDouble(x), FixedToDouble(y)};
}

void SetZoom(Fixed zoom)
{
    State3d().zoom = FixedToDouble(zoom);
}

void SetMatrix(int which, const Matrix3d* m)
{
    if (which >= 0 && which < 4 && m)
        State3d().matrices[std::size_t(which)] = *m;
}

const Matrix3d* GetMatrix(int which)
{
    if (which < 0 || which >= 4)
        return nullptr;
    return &State3d().matrices[std::size_t(which)];
}

void AimCamera(const Point3d* eyePoint, const Point3d* targetPoint, Fixed distance, Fixed roll)
{
    Render3dState& state = State3d();
    Vec3 eye = ToVec3(*eyePoint);
    Vec3 target = ToVec3(*targetPoint);
    Vec3 sight = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
    double length = std::sqrt(Dot(sight, sight));
    if (length == 0)
        return;  // no line of sight: the camera stays where it was
    Vec3 forward = Normalised(sight);
    // Up is the world's y unless the eye looks along it; then the world's z.
    Vec3 worldUp = std::abs(forward[1]) > 0.999 ? Vec3{0, 0, 1} : Vec3{0, 1, 0};
    Vec3 right = Normalised(Cross(worldUp, forward));
    Vec3 up = Cross(forward, right);
    double angle = FixedToDouble(roll) * std::numbers::pi / 180;
    if (angle != 0) {
        double c = std::cos(angle), s = std::sin(angle);
        Vec3 r = right, u = up;
        for (int i = 0; i < 3; ++i) {
            right[i] = c * r[i] + s * u[i];
            up[i] = c * u[i] - s * r[i];
        }
    }
    state.camera = cameraMatrix(eye, right, up, forward);
    state.eyeDistance = length;
    if (distance > 0)
        state.fieldDistance = FixedToDouble(distance);
}

void CombineReferenceFrames()
{
    Render3dState& state = State3d();
    Matrix3d& view = state.matrices[3];
    mMult4x4(&state.matrices[1], &state.camera, &view);
    // Matrix 2 takes a direction of the viewer's frame (z towards the viewer)
    // to model space: the eye frame's z turned round, then the view's
    // rotation undone (its transpose).
    Matrix3d& lights = state.matrices[2];
    mIdentity(&lights);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            lights.m[i][j] = i == 2 ? fix_neg(view.m[j][i]) : view.m[j][i];
}

void Set3dInterrupt(Interrupt3dProc proc, void* data, int interval)
{
    State3d().interrupt = proc;
    State3d().interruptData = data;
    State3d().interruptInterval = interval;
}

Projection3d::Projection3d(const Render3dState& state)
{
    CDC& dc = *state.dc;
    int dpi = dc.GetDeviceCaps(LOGPIXELSY);
    m_pixelScale = dpi > 0 ? dpi / 96.0 : 1.0;
    if (state.centre) {
        m_centreX = (*state.centre)[0];
        m_centreY = (*state.centre)[1];
    } else {
        CRect area;
        dc.GetClipBox(&area);
        m_centreX = (area.left + area.right) / 2.0;
        m_centreY = (area.top + area.bottom) / 2.0;
    }
    m_scale = state.zoom * kFieldPixels / state.fieldDistance * m_pixelScale * state.eyeDistance;
    m_near = state.eyeDistance * kNearFraction;
}

std::optional<CPoint> Projection3d::Project(const Vec3& eye) const
{
    double depth = Depth(eye);
    if (!(depth >= m_near))
        return std::nullopt;
    auto pixel = [](double v) { return CDC::ClampCoord(std::llround(std::clamp(v, -1e9, 1e9))); };
    return CPoint(pixel(m_centreX + m_scale * eye[0] / depth), pixel(m_centreY - m_scale * eye[1] / depth));
}
