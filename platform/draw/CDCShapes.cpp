// Lines, shapes and paths: each is turned into device pixels and handed to
// the backend, or added to the path being collected.
#include "platform/draw/CDC.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

QPolygon toPolygon(const CDC& dc, const CPoint* points, int count)
{
    QPolygon polygon;
    if (!points || count <= 0)
        return polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i) {
        CPoint p = points[i];
        dc.LPtoDP(&p);
        polygon.append(QPoint(p.x, p.y));
    }
    return polygon;
}

}  // namespace

void CDC::addToPath(const QPainterPath& piece)
{
    m_path.addPath(piece);
}

CPoint CDC::MoveTo(int x, int y)
{
    CPoint old = m_state.position;
    m_state.position = CPoint(x, y);
    if (m_inPath)
        m_path.moveTo(toDevice(x, y));
    return old;
}

bool CDC::LineTo(int x, int y)
{
    QPoint from = toDevice(m_state.position);
    QPoint to = toDevice(x, y);
    m_state.position = CPoint(x, y);
    if (m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(from);
        m_path.lineTo(to);
        return true;
    }
    drawPolyline(QPolygon({from, to}));
    return true;
}

bool CDC::Polyline(const CPoint* points, int count)
{
    if (!points || count < 2)
        return false;
    QPolygon polygon = toPolygon(*this, points, count);
    if (m_inPath) {
        m_path.moveTo(polygon.first());
        for (int i = 1; i < polygon.size(); ++i)
            m_path.lineTo(polygon[i]);
        return true;
    }
    drawPolyline(polygon);
    return true;
}

bool CDC::Polygon(const CPoint* points, int count)
{
    if (!points || count < 2)
        return false;
    QPolygon polygon = toPolygon(*this, points, count);
    if (m_inPath) {
        m_path.addPolygon(polygon);
        m_path.closeSubpath();
        return true;
    }
    drawPolygon(polygon);
    return true;
}

bool CDC::PolyBezier(const CPoint* points, int count)
{
    if (!points || count < 4 || (count - 1) % 3 != 0)
        return false;
    QPolygon polygon = toPolygon(*this, points, count);
    if (m_inPath) {
        m_path.moveTo(polygon[0]);
        for (int i = 1; i + 2 < polygon.size(); i += 3)
            m_path.cubicTo(polygon[i], polygon[i + 1], polygon[i + 2]);
        return true;
    }
    drawBezier(polygon);
    return true;
}

bool CDC::PolyBezierTo(const CPoint* points, int count)
{
    if (!points || count < 3 || count % 3 != 0)
        return false;
    QPolygon polygon = toPolygon(*this, points, count);
    QPoint from = toDevice(m_state.position);
    m_state.position = points[count - 1];
    if (m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(from);
        for (int i = 0; i + 2 < polygon.size(); i += 3)
            m_path.cubicTo(polygon[i], polygon[i + 1], polygon[i + 2]);
        return true;
    }
    polygon.prepend(from);
    drawBezier(polygon);
    return true;
}

QRectF CDC::outlineBox(const QRect& box)
{
    return QRectF(box.x(), box.y(), std::max(0, box.width() - 1), std::max(0, box.height() - 1));
}

bool CDC::Rectangle(int left, int top, int right, int bottom)
{
    QRect box = deviceBox(left, top, right, bottom);
    if (m_inPath) {
        m_path.addRect(outlineBox(box));
        return true;
    }
    drawRectangle(box);
    return true;
}

bool CDC::Ellipse(int left, int top, int right, int bottom)
{
    QRect box = deviceBox(left, top, right, bottom);
    if (m_inPath) {
        m_path.addEllipse(outlineBox(box));
        return true;
    }
    drawEllipse(box);
    return true;
}

QPainterPath CDC::arcPath(ArcKind kind, const QRect& box, QPoint start, QPoint end, int direction)
{
    QRectF r = outlineBox(box);
    QPainterPath path;
    if (r.width() <= 0 || r.height() <= 0)
        return path;
    QPointF centre = r.center();
    double a = r.width() / 2, b = r.height() / 2;
    // The ellipse's parameter angle (degrees, counter-clockwise on the screen)
    // of the ray from the centre towards a point.
    auto angleOf = [&](QPoint p) {
        double dx = (p.x() - centre.x()) / a, dy = -(p.y() - centre.y()) / b;
        if (dx == 0 && dy == 0)
            return 0.0;
        return std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    };
    double from = angleOf(start), to = angleOf(end);
    double sweep;
    if (direction == AD_CLOCKWISE) {
        sweep = -std::fmod(from - to + 720.0, 360.0);
        if (sweep == 0)
            sweep = -360;
    } else {
        sweep = std::fmod(to - from + 720.0, 360.0);
        if (sweep == 0)
            sweep = 360;
    }
    if (kind == ArcKind::Pie) {
        path.moveTo(centre);
        path.arcTo(r, from, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(r, from);
        path.arcTo(r, from, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    return path;
}

bool CDC::Arc(const CRect& box, CPoint start, CPoint end)
{
    QRect dev = deviceBox(box.left, box.top, box.right, box.bottom);
    if (m_inPath) {
        addToPath(arcPath(ArcKind::Arc, dev, toDevice(start), toDevice(end), m_state.arcDirection));
        return true;
    }
    drawArc(ArcKind::Arc, dev, toDevice(start), toDevice(end));
    return true;
}

bool CDC::Pie(const CRect& box, CPoint start, CPoint end)
{
    QRect dev = deviceBox(box.left, box.top, box.right, box.bottom);
    if (m_inPath) {
        addToPath(arcPath(ArcKind::Pie, dev, toDevice(start), toDevice(end), m_state.arcDirection));
        return true;
    }
    drawArc(ArcKind::Pie, dev, toDevice(start), toDevice(end));
    return true;
}

bool CDC::Chord(const CRect& box, CPoint start, CPoint end)
{
    QRect dev = deviceBox(box.left, box.top, box.right, box.bottom);
    if (m_inPath) {
        addToPath(arcPath(ArcKind::Chord, dev, toDevice(start), toDevice(end), m_state.arcDirection));
        return true;
    }
    drawArc(ArcKind::Chord, dev, toDevice(start), toDevice(end));
    return true;
}

// ---- paths ----

bool CDC::BeginPath()
{
    m_inPath = true;
    m_pathReady = false;
    m_path = QPainterPath();
    return true;
}

bool CDC::EndPath()
{
    if (!m_inPath)
        return false;
    m_inPath = false;
    m_pathReady = true;
    return true;
}

bool CDC::AbortPath()
{
    m_inPath = m_pathReady = false;
    m_path = QPainterPath();
    return true;
}

bool CDC::CloseFigure()
{
    if (!m_inPath)
        return false;
    m_path.closeSubpath();
    return true;
}

bool CDC::StrokePath()
{
    if (!m_pathReady)
        return false;
    drawPath(m_path, true, false);
    AbortPath();
    return true;
}

bool CDC::FillPath()
{
    if (!m_pathReady)
        return false;
    m_path.setFillRule(m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    drawPath(m_path, false, true);
    AbortPath();
    return true;
}

bool CDC::StrokeAndFillPath()
{
    if (!m_pathReady)
        return false;
    m_path.setFillRule(m_state.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    drawPath(m_path, true, true);
    AbortPath();
    return true;
}
