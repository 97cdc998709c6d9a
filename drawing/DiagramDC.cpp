#include "drawing/DiagramDC.h"

#include "drawing/DrawingCodes.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "platform/Exceptions.h"
#include "platform/draw/CBrush.h"
#include "platform/draw/CDC.h"
#include "platform/draw/CPen.h"
#include "plot/PlotStyle.h"

#include <algorithm>
#include <cmath>

using namespace drawing;

namespace {

constexpr double kOriginFraction = 0.02;
constexpr double kMaxDashPeriods = 100000.0;

int ResX()
{
    return gDrawContext.GetResolutionX();
}

int ResY()
{
    return gDrawContext.GetResolutionY();
}

// Rounds half away from zero, kept within the device reach.
int64_t RoundClamped(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int64_t>(std::round(std::clamp(v, -kMaxDeviceReach, kMaxDeviceReach)));
}

bool IsUsableScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0;
}

} // namespace

// ---- construction ----

DiagramDC::DiagramDC() : m_baseScale(kDefaultScale), m_currentScale(kDefaultScale)
{
    PlotStyle style;
    m_x0 = -kOriginFraction * style.GetScaledWidth();
    m_y0 = kOriginFraction * style.GetScaledHeight();
}

DiagramDC::DiagramDC(const DiagramDC& other)
    : PlotTransform(), m_x0(other.m_x0), m_y0(other.m_y0), m_baseScale(other.m_baseScale), m_currentScale(other.m_currentScale),
      m_pixelOrigin(other.m_pixelOrigin)
{
}

DiagramDC& DiagramDC::operator=(const DiagramDC& other)
{
    m_x0 = other.m_x0;
    m_y0 = other.m_y0;
    m_baseScale = other.m_baseScale;
    m_currentScale = other.m_currentScale;
    m_pixelOrigin = other.m_pixelOrigin;
    m_highlightDepth = 0;
    m_windowWidth = m_windowHeight = 0;
    return *this;
}

// ---- transform ----

int DiagramDC::DeviceLength(double length, int resolution) const
{
    const int64_t points = RoundClamped(length / m_currentScale);
    return static_cast<int>(points * resolution * m_outputFactor / kPointsPerInch);
}

IntPoint DiagramDC::WorldToScreen(const DPoint& world) const
{
    return IntPoint(DeviceLength(world.x - m_x0, ResX()) + m_pixelOrigin.x * m_outputFactor,
                    DeviceLength(m_y0 - world.y, ResY()) + m_pixelOrigin.y * m_outputFactor);
}

DPoint DiagramDC::ScreenToWorld(const IntPoint& device) const
{
    return {(device.x - m_pixelOrigin.x) * m_currentScale * kPointsPerInch / ResX() + m_x0,
            m_y0 - (device.y - m_pixelOrigin.y) * m_currentScale * kPointsPerInch / ResY()};
}

double DiagramDC::PixelsToWorld(double pixels) const
{
    return pixels * m_currentScale * kPointsPerInch / ResX();
}

int DiagramDC::WorldToPixels(double length) const
{
    const int64_t points = RoundClamped(std::trunc(length / m_currentScale + 0.5));
    return static_cast<int>(points * ResX() * m_outputFactor / kPointsPerInch);
}

void DiagramDC::SetZoom(double factor)
{
    if (IsUsableScale(factor))
        m_currentScale = m_baseScale / factor;
}

bool DiagramDC::ZoomAbout(const IntPoint& device, double factor)
{
    if (!IsUsableScale(factor))
        return false;
    const bool inRange = m_baseScale >= kMinZoomScale && m_baseScale <= kMaxZoomScale;
    // Beyond a limit, zooming further away is refused but the way back stays open.
    const bool backTowardsRange = (m_baseScale < kMinZoomScale && factor < 1.0)
        || (m_baseScale > kMaxZoomScale && factor > 1.0);
    if (!inRange && !backTowardsRange)
        return false;
    const DPoint w = ScreenToWorld(device);
    m_x0 = w.x - (w.x - m_x0) / factor;
    m_y0 = (m_y0 - w.y) / factor + w.y;
    m_baseScale /= factor;
    m_currentScale /= factor;
    return true;
}

void DiagramDC::ScrollBy(int dx, int dy)
{
    const DPoint w = ScreenToWorld(IntPoint(m_pixelOrigin.x - dx, m_pixelOrigin.y - dy));
    m_x0 = w.x;
    m_y0 = w.y;
}

IntPoint DiagramDC::SwapPixelOrigin(const IntPoint& origin)
{
    const IntPoint old = m_pixelOrigin;
    m_pixelOrigin = origin;
    return old;
}

void DiagramDC::SetWindowSize(int width, int height)
{
    m_windowWidth = width;
    m_windowHeight = height;
}

DPoint DiagramDC::WindowCentre() const
{
    return ScreenToWorld(
        IntPoint(m_pixelOrigin.x + m_windowWidth / 2, m_pixelOrigin.y + m_windowHeight / 2));
}

void DiagramDC::SetWorldOrigin(const DPoint& origin)
{
    m_x0 = origin.x;
    m_y0 = origin.y;
}

void DiagramDC::SetScale(double scale)
{
    if (IsUsableScale(scale))
        m_baseScale = m_currentScale = scale;
}

void DiagramDC::Write(DocWriter& writer) const
{
    writer.WriteLong(m_pixelOrigin.x);
    writer.WriteLong(m_pixelOrigin.y);
    writer.WriteDouble(m_x0);
    writer.WriteDouble(m_y0);
    writer.WriteDouble(m_baseScale);
}

void DiagramDC::Read(DocReader& reader)
{
    m_pixelOrigin.x = reader.ReadLong();
    m_pixelOrigin.y = reader.ReadLong();
    m_x0 = reader.ReadDouble();
    m_y0 = reader.ReadDouble();
    const double scale = reader.ReadDouble();
    if (!std::isfinite(m_x0) || !std::isfinite(m_y0) || !IsUsableScale(scale))
        throw CFormatException("A drawing's coordinates are damaged");
    m_baseScale = m_currentScale = scale;
}

// ---- pens ----

int DiagramDC::PenWidthFor(int32_t style)
{
    const int point = ResX() / kPointsPerInch;
    switch (style & kThicknessMask) {
    case kThin:
        return std::max(1, point / 2);
    case kMedium:
        return std::max(1, point);
    case kThick:
        return std::max(1, 2 * point);
    default:
        return 1;
    }
}

void DiagramDC::ReloadDashes()
{
    const DashRow& row = kDashTable[static_cast<size_t>(m_dashIndex)];
    for (size_t i = 0; i < row.size(); ++i)
        m_dashLengths[i] = PixelsToWorld(row[i]);
}

void DiagramDC::SetDash(int32_t style)
{
    m_dashIndex = (style >> kDashShift) & kDashMask;
    m_dashPhase = 0.0;
    ReloadDashes();
}

void DiagramDC::SetPen(int32_t style, COLORREF colour, bool force)
{
    const int dash = (style >> kDashShift) & kDashMask;
    if (force || dash != m_dashIndex)
        SetDash(style);
    if (m_highlightDepth > 0) {
        if (style == m_penStyle)
            return;
        m_penStyle = style;
    } else {
        if (style == m_penStyle && (colour & 0xFFFFFF) == (m_penColour & 0xFFFFFF))
            return;
        m_penStyle = style;
        m_penColour = colour;
    }
    m_penWidth = PenWidthFor(style);
    SelectDevicePen();
}

void DiagramDC::SelectDevicePen()
{
    ++m_penSelections;
    gDrawContext.SelectPen(PS_SOLID, m_penWidth, m_penColour);
}

void DiagramDC::BeginPen()
{
    m_penStyle = kMedium;
    m_penColour = kBlack;
    m_penWidth = 1;
    SelectDevicePen();
}

void DiagramDC::EndPen()
{
    gDrawContext.RestorePen();
    m_penStyle = -1;
}

void DiagramDC::Highlight()
{
    if (m_highlightDepth == 0)
        SetPen(kMedium, kHighlightRed, true);
    ++m_highlightDepth;
}

void DiagramDC::Unhighlight()
{
    if (m_highlightDepth == 0)
        return;
    if (--m_highlightDepth == 0)
        SetPen(kMedium, kBlack, true);
}

void DiagramDC::SetConstraintPen(bool selected)
{
    SetPen(kThin, selected ? kConstraintPink : kConstraintGrey, true);
}

// ---- primitives ----

void DiagramDC::DeviceLine(const IntPoint& a, const IntPoint& b)
{
    gDrawContext.DrawLine(a, b);
}

void DiagramDC::Line(const DPoint& p, const DPoint& q)
{
    DeviceLine(WorldToScreen(p), WorldToScreen(q));
}

// The pattern coordinate runs from s (at p) to e (at q); the phase says where
// in the period the next piece starts, and is left for the next line.
void DiagramDC::DashedLine(const DPoint& p, const DPoint& q, int32_t style, COLORREF colour, bool force)
{
    SetPen(style, colour, force);
    const double length = p.Distance(q);
    if (m_dashIndex == 0 || length <= 0.0) {
        Line(p, q);
        return;
    }
    const double l0 = m_dashLengths[0], l1 = m_dashLengths[1], l2 = m_dashLengths[2], l3 = m_dashLengths[3];
    // A line of more periods than a screen could show is drawn solid.
    if (!(l3 > 0.0) || length / l3 > kMaxDashPeriods) {
        Line(p, q);
        return;
    }
    auto at = [&](double t) { return DPoint::Lerp(p, q, t / length); };
    double phase = m_dashPhase;
    double s = phase;
    double e = s + length;
    while (phase < e) {
        if (phase < l0) {
            Line(at(phase - s), e < l0 ? q : at(l0 - s));
            phase = e > l1 ? l1 : e;
            continue;
        }
        if (phase < l2 && e >= l1)
            Line(at(std::max(phase, l1) - s), e < l2 ? q : at(l2 - s));
        if (e <= l3) {
            phase = e;
        } else {
            s -= l3;
            e -= l3;
            phase = 0.0;
        }
    }
    m_dashPhase = phase;
}

void DiagramDC::Polyline(const std::vector<DPoint>& points)
{
    for (size_t i = 1; i < points.size(); ++i)
        Line(points[i - 1], points[i]);
}

void DiagramDC::VertexMark(const DPoint& point, int32_t style, COLORREF colour)
{
    SetPen(style, colour, true);
    const IntPoint d = WorldToScreen(point);
    gDrawContext.DrawRectangle(Rect(d.x - kVertexMarkReach, d.y - kVertexMarkReach, d.x + kVertexMarkReach,
                                    d.y + kVertexMarkReach));
}

void DiagramDC::CircleOutline(const DPoint& centre, double radius, int32_t style, COLORREF colour)
{
    SetPen(style, colour, true);
    Circle(centre, radius);
}

void DiagramDC::Circle(const DPoint& centre, double radius)
{
    const IntPoint c = WorldToScreen(centre);
    const int r = WorldToPixels(radius);
    gDrawContext.DrawEllipse(Rect(c.x - r, c.y - r, c.x + r, c.y + r));
}

void DiagramDC::Disc(const DPoint& centre, double radius, COLORREF colour)
{
    const IntPoint c = WorldToScreen(centre);
    const int r = WorldToPixels(radius);
    CBrush brush(colour);
    gDrawContext.FillEllipse(Rect(c.x - r, c.y - r, c.x + r, c.y + r), &brush);
}

void DiagramDC::FillPolygon(const std::vector<DPoint>& points, COLORREF colour)
{
    CDC* device = gDrawContext.GetDC();
    if (!device || points.size() < 3)
        return;
    std::vector<CPoint> corners;
    corners.reserve(points.size());
    for (const DPoint& point : points) {
        const IntPoint d = gDrawContext.ToDevice(WorldToScreen(point));
        corners.emplace_back(d.x, d.y);
    }
    CBrush brush(colour);
    CBrush* previousBrush = device->SelectObject(&brush);
    CPen* previousPen = device->SelectObject(CPen::NullPen());
    device->Polygon(corners.data(), static_cast<int>(corners.size()));
    device->SelectObject(previousPen);
    device->SelectObject(previousBrush);
}

void DiagramDC::Arc(const DPoint& centre, double radius, const DPoint& from, const DPoint& to)
{
    const IntPoint c = WorldToScreen(centre);
    const int r = WorldToPixels(radius);
    gDrawContext.DrawArc(Rect(c.x - r, c.y - r, c.x + r, c.y + r), WorldToScreen(from), WorldToScreen(to));
}

// Frames are thin and grey, whatever was drawn before them.
void DiagramDC::SelectionFrame(const DPoint& topLeft, const DPoint& bottomRight)
{
    SetPen(kThin, kConstraintGrey, true);
    const IntPoint a = WorldToScreen(topLeft), b = WorldToScreen(bottomRight);
    DeviceLine(a, IntPoint(b.x, a.y));
    DeviceLine(IntPoint(b.x, a.y), b);
    DeviceLine(b, IntPoint(a.x, b.y));
    DeviceLine(IntPoint(a.x, b.y), a);
}

void DiagramDC::LabelFrame(const DPoint& topLeft, const DPoint& bottomRight, const DPoint& anchor)
{
    SelectionFrame(topLeft, bottomRight);
    const double midX = (topLeft.x + bottomRight.x) / 2, midY = (topLeft.y + bottomRight.y) / 2;
    DPoint from(topLeft.x, bottomRight.y);
    if (anchor.y > topLeft.y)
        from = DPoint(midX, topLeft.y);
    else if (anchor.y < bottomRight.y)
        from = DPoint(midX, bottomRight.y);
    else if (anchor.x > bottomRight.x)
        from = DPoint(bottomRight.x, midY);
    else if (anchor.x < topLeft.x)
        from = DPoint(topLeft.x, midY);
    Line(from, anchor);
}
