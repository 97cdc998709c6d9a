// Grids, lines, points and text: drawn at once with the device context's
// selected pen and font.
#include "render3d/Render3dState.h"

#include "platform/draw/CDC.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMaxGridLines = 1000;  // per axis; more than any picture can show

// The part of the segment a-b in front of the near plane; false when none.
bool clipToNear(Vec3& a, Vec3& b, double near)
{
    double da = Projection3d::Depth(a), db = Projection3d::Depth(b);
    if (da < near && db < near)
        return false;
    auto cut = [&](Vec3& behind, double dBehind, const Vec3& front, double dFront) {
        double t = (near - dBehind) / (dFront - dBehind);
        for (int c = 0; c < 3; ++c)
            behind[c] += t * (front[c] - behind[c]);
    };
    if (da < near)
        cut(a, da, b, db);
    else if (db < near)
        cut(b, db, a, da);
    return true;
}

// Draws the eye-space segment from to to; answers whether the device's
// current position is now at to.
bool drawEyeSegment(CDC& dc, const Projection3d& projection, Vec3 from, Vec3 to, bool atFrom)
{
    Vec3 start = from, end = to;
    if (!clipToNear(start, end, projection.NearDepth()))
        return false;
    std::optional<CPoint> p = projection.Project(start), q = projection.Project(end);
    if (!p || !q)
        return false;
    if (!atFrom || start != from)
        dc.MoveTo(*p);
    dc.LineTo(*q);
    return end == to;
}

// The places of the lines across one axis of the box: the border at both
// ends, the inner lines at whole divisions between them.
std::vector<double> rulings(double low, double high, Fixed divisions, unsigned mask)
{
    std::vector<double> at;
    if (mask & kGridBorder)
        at.push_back(low);
    double count = FixedToDouble(divisions);
    if ((mask & kGridInnerLines) && count > 1 && std::isfinite(count)) {
        double step = (high - low) / count;
        int last = std::min(int(std::ceil(count - 1e-9)) - 1, kMaxGridLines);
        for (int k = 1; k <= last; ++k)
            at.push_back(low + k * step);
    }
    if (mask & kGridBorder)
        at.push_back(high);
    return at;
}

}  // namespace

void xfGrid(const Point3d* lowPoint, const Point3d* highPoint, const Point3d* divisionPoint, unsigned faceMask,
            const Matrix3d* m)
{
    Render3dState& state = State3d();
    if (!state.dc || !lowPoint || !highPoint || !divisionPoint || !m)
        return;
    Projection3d projection(state);
    const Vec3 low = ToVec3(*lowPoint), high = ToVec3(*highPoint);
    const Fixed divisions[3] = {divisionPoint->x, divisionPoint->y, divisionPoint->z};
    struct Face {
        unsigned bit;
        int axis;
        bool atHigh;
    };
    const Face faces[6] = {{kGridXLow, 0, false}, {kGridXHigh, 0, true}, {kGridYHigh, 1, true},
                           {kGridYLow, 1, false}, {kGridZHigh, 2, true}, {kGridZLow, 2, false}};
    for (const Face& face : faces) {
        if (!(faceMask & face.bit))
            continue;
        // Lines along each of the face's two other axes, placed across the third.
        for (int along = 0; along < 3; ++along) {
            if (along == face.axis)
                continue;
            int across = 3 - face.axis - along;
            for (double place : rulings(low[across], high[across], divisions[across], faceMask)) {
                Vec3 a, b;
                a[face.axis] = b[face.axis] = face.atHigh ? high[face.axis] : low[face.axis];
                a[across] = b[across] = place;
                a[along] = low[along];
                b[along] = high[along];
                drawEyeSegment(*state.dc, projection, TransformVec(a, *m), TransformVec(b, *m), false);
            }
        }
    }
    state.pen.reset();
}

void xfMovetoPt(const Point3d* point, const Matrix3d* m)
{
    Render3dState& state = State3d();
    if (!point || !m)
        return;
    state.pen = TransformVec(ToVec3(*point), *m);
    if (!state.dc)
        return;
    if (std::optional<CPoint> p = Projection3d(state).Project(*state.pen))
        state.dc->MoveTo(*p);
}

void xfLinetoPt(const Point3d* point, const Matrix3d* m)
{
    Render3dState& state = State3d();
    if (!point || !m)
        return;
    Vec3 to = TransformVec(ToVec3(*point), *m);
    if (state.pen && state.dc) {
        Projection3d projection(state);
        bool atFrom = Projection3d::Depth(*state.pen) >= projection.NearDepth();
        drawEyeSegment(*state.dc, projection, *state.pen, to, atFrom);
    } else if (state.dc) {
        if (std::optional<CPoint> p = Projection3d(state).Project(to))
            state.dc->MoveTo(*p);
    }
    state.pen = to;
}

void xfDrawPt(const Point3d* point, const Matrix3d* m)
{
    Render3dState& state = State3d();
    if (!state.dc || !point || !m)
        return;
    Projection3d projection(state);
    std::optional<CPoint> p = projection.Project(TransformVec(ToVec3(*point), *m));
    if (!p)
        return;
    int r = std::max(1, int(std::lround(projection.PixelScale())));
    state.dc->FillSolidRect(CRect(p->x - r, p->y - r, p->x + r + 1, p->y + r + 1),
                            state.dc->CurrentLogPen().lopnColor);
}

void DrawString3d(Fixed x, Fixed y, Fixed z, const char* text)
{
    Render3dState& state = State3d();
    if (!state.dc || !text)
        return;
    Projection3d projection(state);
    Point3d point{x, y, z, 0};
    std::optional<CPoint> p = projection.Project(TransformVec(ToVec3(point), state.matrices[3]));
    if (!p)
        return;
    CDC& dc = *state.dc;
    int length = int(std::strlen(text));
    CSize size = dc.GetTextExtent(text, length);
    int saved = dc.SaveDC();
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(p->x - size.cx / 2, p->y - size.cy / 2, text, length);
    dc.RestoreDC(saved);
}
