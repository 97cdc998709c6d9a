#include "platform/draw/PainterDC.h"

#include <QGlyphRun>
#include <QPaintEngine>

#include <algorithm>
#include <map>

namespace {

// The painters open on devices, with the number of contexts using each and
// the context that set its state last.
struct SharedPainter {
    std::unique_ptr<QPainter> painter;
    int users = 0;
    const void* lastUser = nullptr;
};

std::map<QPaintDevice*, SharedPainter>& painters()
{
    static std::map<QPaintDevice*, SharedPainter> map;
    return map;
}

QColor toQColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The image in greys, its transparency kept.
QImage greyOf(const QImage& image)
{
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return grey;
}

}  // namespace

CPainterDC::~CPainterDC()
{
    endPainting();
}

void CPainterDC::beginPainting(QPaintDevice* device)
{
    endPainting();
    if (!device)
        return;
    SharedPainter& shared = painters()[device];
    if (!shared.painter) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(device)) {
            painters().erase(device);
            return;
        }
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setRenderHint(QPainter::TextAntialiasing, true);
        shared.painter = std::move(painter);
    }
    ++shared.users;
    m_device = device;
    m_painter = shared.painter.get();
    m_appliedClip = -1;
}

bool CPainterDC::endPainting()
{
    if (!m_device)
        return true;
    bool ended = true;
    auto it = painters().find(m_device);
    if (it != painters().end() && --it->second.users == 0) {
        if (it->second.painter->isActive())
            ended = it->second.painter->end();
        painters().erase(it);
    }
    m_device = nullptr;
    m_painter = nullptr;
    return ended;
}

QColor CPainterDC::colourOf(COLORREF colour) const
{
    const QColor c = toQColor(colour);
    if (!m_grey)
        return c;
    const int grey = qGray(c.rgb());
    return QColor(grey, grey, grey);
}

QPen CPainterDC::currentPen() const
{
    const LOGPEN& lp = state().pen;
    if (lp.lopnStyle == PS_NULL)
        return QPen(Qt::NoPen);
    QPen pen(colourOf(lp.lopnColor));
    pen.setWidth(lp.lopnWidth <= 1 ? 0 : lp.lopnWidth);
    switch (lp.lopnStyle) {
    case PS_DASH: pen.setStyle(Qt::DashLine); break;
    case PS_DOT: pen.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

bool CPainterDC::recordsPreview() const
{
    return m_painter && m_painter->paintEngine() && m_painter->paintEngine()->type() == QPaintEngine::Picture;
}

QRect CPainterDC::strokeExtent(const QRect& points) const
{
    const int width = state().pen.lopnWidth;
    const int reach = width > 1 ? (width + 1) / 2 : 0;
    return points.adjusted(-reach, -reach, reach, reach);
}

// A preview scales the recorded page to its zoom, and a clip's edge and a
// line drawn along it round to different pixels there: the line vanishes
// although the printed page shows it. A drawing that lies inside the clip
// loses nothing without it, so a preview records it unclipped.
bool CPainterDC::prepare(bool usePen, bool useBrush, const QRegion* area, const QRect* extent)
{
    if (!m_painter)
        return false;
    if (area)
        m_drawn |= area->boundingRect();
    else
        m_drewAnywhere = true;
    SharedPainter& shared = painters()[m_device];
    if (shared.lastUser != this) {
        shared.lastUser = this;
        m_appliedClip = -1;
    }
    if (m_appliedClip != clipGeneration()) {
        if (state().clip)
            m_painter->setClipRegion(*state().clip);
        else
            m_painter->setClipping(false);
        m_appliedClip = clipGeneration();
    }
    if (state().clip) {
        const bool inside = extent && recordsPreview() && QRegion(*extent).subtracted(*state().clip).isEmpty();
        if (m_painter->hasClipping() == inside)
            m_painter->setClipping(!inside);
    }
    QPen pen = usePen ? currentPen() : QPen(Qt::NoPen);
    const LOGBRUSH& lb = state().brush;
    const bool filled = useBrush && lb.lbStyle != BS_NULL;
    // A fill two points across or less without an outline (a drawing's
    // dot) is outlined in its own colour in a preview, which draws the
    // outline at least a pixel wide however far it scales the page down.
    if (filled && pen.style() == Qt::NoPen && extent && recordsPreview() &&
        std::min(extent->width(), extent->height()) <= std::max(1, dpiX() / 36))
        pen = QPen(colourOf(lb.lbColor), 0);
    m_painter->setPen(pen);
    if (filled)
        m_painter->setBrush(colourOf(lb.lbColor));
    else
        m_painter->setBrush(Qt::NoBrush);
    return true;
}

void CPainterDC::drawPolyline(const QPolygon& points)
{
    const QRect extent = strokeExtent(points.boundingRect());
    if (!prepare(true, false, nullptr, &extent))
        return;
    // A thin line leaves out its last pixel, so that a line from x to x + n
    // covers n pixels, as rectangles do.
    const LOGPEN& pen = state().pen;
    QPoint last = points.last(), before = points[points.size() - 2];
    QPoint d = last - before;
    int steps = std::max(std::abs(d.x()), std::abs(d.y()));
    if (pen.lopnWidth > 1 || steps == 0) {
        m_painter->drawPolyline(points);
        return;
    }
    QPolygonF shortened(points);
    shortened.last() = QPointF(last) - QPointF(d) / steps;
    m_painter->drawPolyline(shortened);
}

void CPainterDC::drawPolygon(const QPolygon& points)
{
    const QRect extent = strokeExtent(points.boundingRect());
    if (prepare(true, true, nullptr, &extent))
        m_painter->drawPolygon(points, state().polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
}

void CPainterDC::drawRectangle(const QRect& box)
{
    const QRect extent = strokeExtent(box);
    if (!prepare(true, true, nullptr, &extent))
        return;
    const QRectF outline = outlineBox(box);
    m_painter->drawRect(outline);
    markSmallShape(box, QLineF(outline.topLeft(), outline.topRight()));
}

void CPainterDC::drawEllipse(const QRect& box)
{
    const QRect extent = strokeExtent(box);
    if (!prepare(true, true, nullptr, &extent))
        return;
    const QRectF outline = outlineBox(box);
    m_painter->drawEllipse(outline);
    const double eighth = outline.width() / 8;
    markSmallShape(box,
                   QLineF(outline.center().x() - eighth, outline.top(), outline.center().x() + eighth, outline.top()));
}

void CPainterDC::drawArc(ArcKind kind, const QRect& box, QPoint start, QPoint end)
{
    const QRect extent = strokeExtent(box);
    if (prepare(true, kind != ArcKind::Arc, nullptr, &extent))
        m_painter->drawPath(arcPath(kind, box, start, end, state().arcDirection));
}

void CPainterDC::drawBezier(const QPolygon& points)
{
    const QRect extent = strokeExtent(points.boundingRect());
    if (points.size() < 4 || !prepare(true, false, nullptr, &extent))
        return;
    QPainterPath path(points[0]);
    for (int i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    m_painter->drawPath(path);
}

// The rectangles a path is made of, when every figure of it is one with
// sides along the axes: a region recorded in a picture comes back so.
static std::vector<QRectF> rectanglesOf(const QPainterPath& path)
{
    std::vector<QRectF> rects;
    for (QPolygonF figure : path.toSubpathPolygons()) {
        if (figure.size() == 5 && figure.first() == figure.last())
            figure.removeLast();
        const QRectF box = figure.boundingRect();
        const bool rectangle =
            figure.size() == 4 && std::all_of(figure.begin(), figure.end(), [&](QPointF p) {
                return (p.x() == box.left() || p.x() == box.right()) && (p.y() == box.top() || p.y() == box.bottom());
            });
        if (!rectangle)
            return {};
        rects.push_back(box);
    }
    return rects;
}

void CPainterDC::drawPath(const QPainterPath& path, bool stroke, bool fill)
{
    const QRect extent = strokeExtent(path.controlPointRect().toAlignedRect());
    if (!prepare(stroke, fill, nullptr, &extent))
        return;
    // A filled region played from a picture keeps its hairlines in a preview.
    const std::vector<QRectF> rects = fill && !stroke && recordsPreview() ? rectanglesOf(path) : std::vector<QRectF>();
    const QColor colour = colourOf(state().brush.lbColor);
    if (rects.empty() || state().brush.lbStyle == BS_NULL) {
        m_painter->drawPath(path);
        return;
    }
    for (const QRectF& r : rects)
        if (!fillHairline(r, colour))
            m_painter->fillRect(r, colour);
}

void CPainterDC::drawText(QPoint, QPoint baselineLeft, const QString& text,
                          const std::vector<int>& advances, int width)
{
    if (!prepare(false, false))
        return;
    TEXTMETRIC tm;
    GetTextMetrics(&tm);
    if (state().bkMode == OPAQUE)
        m_painter->fillRect(QRect(baselineLeft.x(), baselineLeft.y() - tm.tmAscent, width, tm.tmHeight),
                            colourOf(state().bkColor));
    m_painter->setFont(CurrentQFont());
    m_painter->setPen(colourOf(state().textColor));
    // Each character at its own advance, so that what is drawn matches what
    // was measured: as one run of glyphs when the font has them all,
    // otherwise character by character (the font system then finds a font
    // for characters this one lacks).
    if (m_rawFontOf != CurrentQFont()) {
        m_rawFont = QRawFont::fromFont(CurrentQFont());
        m_rawFontOf = CurrentQFont();
    }
    QList<quint32> glyphs = m_rawFont.isValid() ? m_rawFont.glyphIndexesForString(text) : QList<quint32>();
    bool complete = glyphs.size() == text.size() && std::find(glyphs.begin(), glyphs.end(), 0u) == glyphs.end();
    QList<QPointF> positions;
    double x = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        positions.append(QPointF(x, 0));
        x += std::size_t(i) < advances.size() ? advances[std::size_t(i)] : 0;
    }
    // A recording of pages (the print preview) keeps a run of glyphs as
    // their outlines, megabytes a page: it keeps text as text, which the
    // font lays out at advances all but equal to these.
    if (complete && m_painter->paintEngine() && m_painter->paintEngine()->type() == QPaintEngine::Picture) {
        m_painter->drawText(QPointF(baselineLeft), text);
        return;
    }
    if (complete) {
        QGlyphRun run;
        run.setRawFont(m_rawFont);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        run.setUnderline(CurrentQFont().underline());
        run.setStrikeOut(CurrentQFont().strikeOut());
        m_painter->drawGlyphRun(QPointF(baselineLeft), run);
        return;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QString piece = text.mid(i, length);
        if (piece != QStringLiteral(" "))
            m_painter->drawText(QPointF(baselineLeft) + positions[i], piece);
        i += length - 1;
    }
}

void CPainterDC::fillRegion(const QRegion& region, COLORREF colour)
{
    const QRect extent = region.boundingRect();
    if (!prepare(false, false, &region, &extent))
        return;
    QColor c = colourOf(colour);
    for (const QRect& r : region)
        if (!fillHairline(r, c))
            m_painter->fillRect(r, c);
}

void CPainterDC::invertRegion(const QRegion& region)
{
    if (!prepare(false, false, &region))
        return;
    QPaintEngine* engine = m_painter->paintEngine();
    if (!engine || !engine->hasFeature(QPaintEngine::BlendModes))
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_Difference);
    for (const QRect& r : region)
        m_painter->fillRect(r, Qt::white);
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void CPainterDC::drawImage(const QRect& dest, const QImage& image)
{
    const QRegion area(dest);
    if (!prepare(false, false, &area, &dest))
        return;
    m_painter->drawImage(QRectF(dest), m_grey ? greyOf(image) : image);
}

bool CPainterDC::fillHairline(const QRectF& rect, const QColor& colour)
{
    const double thin = std::min(rect.width(), rect.height());
    if (!recordsPreview() || thin > std::max(1, dpiX() / 36))
        return false;
    if (thin <= 0)
        return true;
    m_painter->fillRect(rect, colour);
    m_painter->setPen(QPen(colour, 0));
    // The line runs through the middle of the rectangle, to its last pixel.
    const QPointF middle = rect.center();
    const QPointF last = rect.bottomRight() - QPointF(std::min(1.0, rect.width()), std::min(1.0, rect.height()));
    if (rect.width() <= rect.height())
        m_painter->drawLine(QPointF(middle.x(), rect.top()), QPointF(middle.x(), last.y()));
    else
        m_painter->drawLine(QPointF(rect.left(), middle.y()), QPointF(last.x(), middle.y()));
    m_painter->setPen(Qt::NoPen);
    return true;
}

// A preview that scales a shape down to a pixel or two may draw nothing of
// its outline (a drawing's vertex marks): a short stretch of the outline's
// top, drawn alone a device pixel wide, shows at least a pixel.
void CPainterDC::markSmallShape(const QRect& box, const QLineF& alongTop)
{
    if (!recordsPreview() || m_painter->pen().style() == Qt::NoPen ||
        std::min(box.width(), box.height()) > std::max(1, dpiX() / 36))
        return;
    m_painter->setPen(QPen(m_painter->pen().color(), 0));
    m_painter->drawLine(alongTop);
}
