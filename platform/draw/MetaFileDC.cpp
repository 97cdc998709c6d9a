#include "platform/draw/MetaFileDC.h"

#include "platform/draw/EmfFormat.h"
#include "platform/draw/EmfWriter.h"
#include "platform/draw/ImageDC.h"

#include <algorithm>

namespace {

bool fits16(const QPolygon& points)
{
    return std::all_of(points.begin(), points.end(), [](const QPoint& p) {
        return p.x() >= -32768 && p.x() <= 32767 && p.y() >= -32768 && p.y() <= 32767;
    });
}

// Keeps region data within what any reader accepts.
QRegion clampRegion(const QRegion& region)
{
    return region.intersected(QRect(-(1 << 26), -(1 << 26), 1 << 27, 1 << 27));
}

}  // namespace

CMetaFileDC::CMetaFileDC() : m_device(1, 1, QImage::Format_ARGB32_Premultiplied)
{
    SetImageDpi(m_device, m_dpi);
}

CMetaFileDC::~CMetaFileDC() = default;

QPaintDevice* CMetaFileDC::metricsDevice() const { return &m_device; }

bool CMetaFileDC::CreateEnhanced(const CDC* reference, const CRect* frame, const char* description)
{
    m_dpi = reference ? std::max(1, reference->GetDeviceCaps(LOGPIXELSX)) : 96;
    m_size = reference ? CSize(reference->GetDeviceCaps(HORZRES), reference->GetDeviceCaps(VERTRES)) : CSize(1024, 768);
    SetImageDpi(m_device, m_dpi);
    resetState();
    m_writer = std::make_unique<EmfWriter>(m_dpi, description ? QString::fromUtf8(description) : QString());
    m_emitted = Emitted();
    m_bounds = QRect();
    m_frame.reset();
    if (frame && !frame->IsRectEmpty())
        m_frame = QRect(frame->left, frame->top, frame->Width(), frame->Height());
    return true;
}

EnhMetafile CMetaFileDC::CloseEnhanced()
{
    if (!m_writer)
        return {};
    QRect frame = m_frame ? *m_frame : m_bounds;
    QByteArray bytes = m_writer->Finish(m_bounds, frame);
    m_writer.reset();
    return EnhMetafile(bytes);
}

// ---- state ----

void CMetaFileDC::syncClip()
{
    if (m_emitted.clipGeneration == clipGeneration())
        return;
    m_emitted.clipGeneration = clipGeneration();
    const std::optional<QRegion>& clip = DeviceClip();
    if (clip == m_emitted.clip)
        return;
    m_emitted.clip = clip;
    EmfWriter::Record record(emf::EMR_EXTSELECTCLIPRGN);
    if (!clip) {
        record.u32(0).u32(RGN_COPY);
    } else {
        QRegion region = clampRegion(*clip);
        record.u32(std::uint32_t(EmfWriter::regionDataSize(region))).u32(RGN_COPY).regionData(region);
    }
    m_writer->add(record);
}

void CMetaFileDC::syncModes()
{
    const State& s = state();
    auto put = [this](std::uint32_t type, std::uint32_t value) {
        EmfWriter::Record record(type);
        record.u32(value);
        m_writer->add(record);
    };
    if (!m_emitted.valid || m_emitted.bkMode != s.bkMode)
        put(emf::EMR_SETBKMODE, std::uint32_t(s.bkMode));
    if (!m_emitted.valid || m_emitted.bkColor != s.bkColor)
        put(emf::EMR_SETBKCOLOR, s.bkColor);
    if (!m_emitted.valid || m_emitted.polyFillMode != s.polyFillMode)
        put(emf::EMR_SETPOLYFILLMODE, std::uint32_t(s.polyFillMode));
    if (!m_emitted.valid || m_emitted.arcDirection != s.arcDirection)
        put(emf::EMR_SETARCDIRECTION, std::uint32_t(s.arcDirection));
    m_emitted.bkMode = s.bkMode;
    m_emitted.bkColor = s.bkColor;
    m_emitted.polyFillMode = s.polyFillMode;
    m_emitted.arcDirection = s.arcDirection;
    if (!m_emitted.valid) {
        m_emitted.textColor = ~COLORREF(0);
        m_emitted.textAlign = ~0u;
    }
    m_emitted.valid = true;
    syncClip();
}

// Selects an object and deletes the one it replaces (0: a stock object, kept).
void CMetaFileDC::selectReplacing(std::uint32_t select, std::uint32_t old)
{
    EmfWriter::Record selectRecord(emf::EMR_SELECTOBJECT);
    selectRecord.u32(select);
    m_writer->add(selectRecord);
    if (old) {
        EmfWriter::Record del(emf::EMR_DELETEOBJECT);
        del.u32(old);
        m_writer->add(del);
        m_writer->ReleaseHandle(old);
    }
}

void CMetaFileDC::syncPen()
{
    syncModes();
    const LOGPEN& pen = state().pen;
    if (m_emitted.penValid && m_emitted.pen == pen)
        return;
    std::uint32_t old = m_emitted.penHandle;
    std::uint32_t select;
    if (pen.lopnStyle == PS_NULL) {
        select = emf::kStockObject | emf::NULL_PEN;
        m_emitted.penHandle = 0;
    } else {
        std::uint32_t handle = m_writer->AllocateHandle();
        EmfWriter::Record create(emf::EMR_CREATEPEN);
        create.u32(handle).u32(std::uint32_t(pen.lopnStyle)).i32(pen.lopnWidth).i32(0).u32(pen.lopnColor);
        m_writer->add(create);
        select = handle;
        m_emitted.penHandle = handle;
    }
    selectReplacing(select, old);
    m_emitted.pen = pen;
    m_emitted.penValid = true;
}

void CMetaFileDC::syncBrush()
{
    syncModes();
    const LOGBRUSH& brush = state().brush;
    if (m_emitted.brushValid && m_emitted.brush == brush)
        return;
    std::uint32_t old = m_emitted.brushHandle;
    std::uint32_t select;
    if (brush.lbStyle == BS_NULL) {
        select = emf::kStockObject | emf::NULL_BRUSH;
        m_emitted.brushHandle = 0;
    } else {
        std::uint32_t handle = m_writer->AllocateHandle();
        EmfWriter::Record create(emf::EMR_CREATEBRUSHINDIRECT);
        create.u32(handle).u32(BS_SOLID).u32(brush.lbColor).u32(0);
        m_writer->add(create);
        select = handle;
        m_emitted.brushHandle = handle;
    }
    selectReplacing(select, old);
    m_emitted.brush = brush;
    m_emitted.brushValid = true;
}

void CMetaFileDC::syncText()
{
    syncModes();
    const State& s = state();
    if (m_emitted.textColor != s.textColor) {
        EmfWriter::Record record(emf::EMR_SETTEXTCOLOR);
        record.u32(s.textColor);
        m_writer->add(record);
        m_emitted.textColor = s.textColor;
    }
    // Text is written at its reference point, so the current-position flag
    // is not recorded.
    unsigned align = s.textAlign & ~TA_UPDATECP;
    if (m_emitted.textAlign != align) {
        EmfWriter::Record record(emf::EMR_SETTEXTALIGN);
        record.u32(align);
        m_writer->add(record);
        m_emitted.textAlign = align;
    }
    if (m_emitted.fontValid && m_emitted.font == s.font)
        return;
    // The font is recorded under its installed family and the text as
    // Unicode, so that other programs show the same characters.
    const QFont& qfont = CurrentQFont();
    std::uint32_t handle = m_writer->AllocateHandle();
    EmfWriter::Record create(emf::EMR_EXTCREATEFONTINDIRECTW);
    create.u32(handle);
    create.i32(-qfont.pixelSize()).i32(s.font.lfWidth).i32(s.font.lfEscapement).i32(s.font.lfOrientation);
    create.i32(s.font.lfWeight <= 0 ? FW_NORMAL : s.font.lfWeight);
    create.u8(s.font.lfItalic).u8(s.font.lfUnderline).u8(s.font.lfStrikeOut).u8(DEFAULT_CHARSET);
    create.u8(s.font.lfOutPrecision).u8(s.font.lfClipPrecision).u8(s.font.lfQuality).u8(s.font.lfPitchAndFamily);
    create.utf16(qfont.family(), 32);
    create.utf16(QString(), 64);          // full name
    create.utf16(QString(), 32);          // style
    create.u32(0).u32(0).u32(0).u32(0);   // version, style size, match, reserved
    create.u32(0).u32(0);                 // vendor, culture
    for (int i = 0; i < 12; ++i)          // panose and padding
        create.u8(0);
    m_writer->add(create);
    EmfWriter::Record selectRecord(emf::EMR_SELECTOBJECT);
    selectRecord.u32(handle);
    m_writer->add(selectRecord);
    if (m_emitted.fontHandle) {
        EmfWriter::Record del(emf::EMR_DELETEOBJECT);
        del.u32(m_emitted.fontHandle);
        m_writer->add(del);
        m_writer->ReleaseHandle(m_emitted.fontHandle);
    }
    m_emitted.fontHandle = handle;
    m_emitted.font = s.font;
    m_emitted.fontValid = true;
}

void CMetaFileDC::addBounds(const QRect& deviceBox, bool outlined)
{
    QRect box = deviceBox.normalized();
    if (outlined) {
        int grow = state().pen.lopnStyle == PS_NULL ? 0 : std::max(1, state().pen.lopnWidth) / 2 + 1;
        box.adjust(-grow, -grow, grow, grow);
    }
    if (DeviceClip())
        box = box.intersected(DeviceClip()->boundingRect());
    if (!box.isEmpty())
        m_bounds = m_bounds.united(box);
}

// ---- drawing ----

void CMetaFileDC::writePoints(std::uint32_t type16, std::uint32_t type32, const QPolygon& points)
{
    bool small = fits16(points);
    EmfWriter::Record record(small ? type16 : type32);
    record.rectInclusive(points.boundingRect()).u32(std::uint32_t(points.size()));
    for (const QPoint& p : points) {
        if (small)
            record.u16(std::uint16_t(std::int16_t(p.x()))).u16(std::uint16_t(std::int16_t(p.y())));
        else
            record.i32(p.x()).i32(p.y());
    }
    m_writer->add(record);
}

void CMetaFileDC::drawPolyline(const QPolygon& points)
{
    if (!m_writer || points.size() < 2)
        return;
    syncPen();
    writePoints(emf::EMR_POLYLINE16, emf::EMR_POLYLINE, points);
    addBounds(points.boundingRect(), true);
}

void CMetaFileDC::drawPolygon(const QPolygon& points)
{
    if (!m_writer || points.size() < 2)
        return;
    syncPen();
    syncBrush();
    writePoints(emf::EMR_POLYGON16, emf::EMR_POLYGON, points);
    addBounds(points.boundingRect(), true);
}

void CMetaFileDC::drawRectangle(const QRect& box)
{
    if (!m_writer)
        return;
    syncPen();
    syncBrush();
    EmfWriter::Record record(emf::EMR_RECTANGLE);
    record.rect(box);
    m_writer->add(record);
    addBounds(box, true);
}

void CMetaFileDC::drawEllipse(const QRect& box)
{
    if (!m_writer)
        return;
    syncPen();
    syncBrush();
    EmfWriter::Record record(emf::EMR_ELLIPSE);
    record.rect(box);
    m_writer->add(record);
    addBounds(box, true);
}

void CMetaFileDC::drawArc(ArcKind kind, const QRect& box, QPoint start, QPoint end)
{
    if (!m_writer)
        return;
    syncPen();
    if (kind != ArcKind::Arc)
        syncBrush();
    std::uint32_t type = kind == ArcKind::Arc ? emf::EMR_ARC : kind == ArcKind::Pie ? emf::EMR_PIE : emf::EMR_CHORD;
    EmfWriter::Record record(type);
    record.rect(box).i32(start.x()).i32(start.y()).i32(end.x()).i32(end.y());
    m_writer->add(record);
    addBounds(box, true);
}

void CMetaFileDC::drawBezier(const QPolygon& points)
{
    if (!m_writer || points.size() < 4)
        return;
    syncPen();
    writePoints(emf::EMR_POLYBEZIER16, emf::EMR_POLYBEZIER, points);
    addBounds(points.boundingRect(), true);
}

void CMetaFileDC::writePath(const QPainterPath& path)
{
    m_writer->add(EmfWriter::Record(emf::EMR_BEGINPATH));
    QPolygon curve;
    auto flushCurve = [&] {
        if (!curve.isEmpty())
            writePoints(emf::EMR_POLYBEZIERTO16, emf::EMR_POLYBEZIERTO, curve);
        curve.clear();
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        QPainterPath::Element e = path.elementAt(i);
        QPoint p(int(std::lround(e.x)), int(std::lround(e.y)));
        switch (e.type) {
        case QPainterPath::MoveToElement: {
            flushCurve();
            EmfWriter::Record move(emf::EMR_MOVETOEX);
            move.i32(p.x()).i32(p.y());
            m_writer->add(move);
            break;
        }
        case QPainterPath::LineToElement: {
            flushCurve();
            EmfWriter::Record line(emf::EMR_LINETO);
            line.i32(p.x()).i32(p.y());
            m_writer->add(line);
            break;
        }
        case QPainterPath::CurveToElement:
        case QPainterPath::CurveToDataElement:
            curve.append(p);
            break;
        }
    }
    flushCurve();
    m_writer->add(EmfWriter::Record(emf::EMR_ENDPATH));
}

void CMetaFileDC::drawPath(const QPainterPath& path, bool stroke, bool fill)
{
    if (!m_writer || path.isEmpty())
        return;
    syncPen();
    syncBrush();
    writePath(path);
    std::uint32_t type = stroke && fill ? emf::EMR_STROKEANDFILLPATH : fill ? emf::EMR_FILLPATH : emf::EMR_STROKEPATH;
    QRect box = path.boundingRect().toAlignedRect();
    EmfWriter::Record record(type);
    record.rectInclusive(box);
    m_writer->add(record);
    addBounds(box, stroke);
}

void CMetaFileDC::drawText(QPoint ref, QPoint baselineLeft, const QString& text,
                           const std::vector<int>& advances, int width)
{
    if (!m_writer || text.isEmpty())
        return;
    syncText();
    TEXTMETRIC tm;
    GetTextMetrics(&tm);
    QRect box(baselineLeft.x(), baselineLeft.y() - tm.tmAscent, std::max(width, 1), std::max(tm.tmHeight, 1));
    int chars = int(text.size());
    int stringBytes = (2 * chars + 3) / 4 * 4;
    EmfWriter::Record record(emf::EMR_EXTTEXTOUTW);
    record.rectInclusive(box);
    record.u32(1).f32(0).f32(0);  // compatible graphics mode, no scaling
    record.i32(ref.x()).i32(ref.y()).u32(std::uint32_t(chars)).u32(76);
    record.u32(0).i32(0).i32(0).i32(-1).i32(-1);  // no options, no rectangle
    record.u32(std::uint32_t(76 + stringBytes));
    record.utf16(text);
    if (chars % 2)
        record.u16(0);
    for (int i = 0; i < chars; ++i)
        record.i32(std::size_t(i) < advances.size() ? advances[std::size_t(i)] : 0);
    m_writer->add(record);
    addBounds(box, false);
}

void CMetaFileDC::fillRegion(const QRegion& region, COLORREF colour)
{
    if (!m_writer || region.isEmpty())
        return;
    syncModes();
    // A region is filled as a path of its rectangles with a brush of its own,
    // which every reader of the format draws exactly.
    QRegion clamped = clampRegion(region);
    std::uint32_t handle = m_writer->AllocateHandle();
    EmfWriter::Record create(emf::EMR_CREATEBRUSHINDIRECT);
    create.u32(handle).u32(BS_SOLID).u32(colour).u32(0);
    m_writer->add(create);
    EmfWriter::Record select(emf::EMR_SELECTOBJECT);
    select.u32(handle);
    m_writer->add(select);
    QPainterPath path;
    for (const QRect& r : clamped)
        path.addRect(QRectF(r));
    writePath(path);
    EmfWriter::Record fill(emf::EMR_FILLPATH);
    fill.rectInclusive(clamped.boundingRect());
    m_writer->add(fill);
    EmfWriter::Record reselect(emf::EMR_SELECTOBJECT);
    std::uint32_t previous = emf::kStockObject | emf::WHITE_BRUSH;
    if (m_emitted.brushValid)
        previous = m_emitted.brushHandle ? m_emitted.brushHandle : (emf::kStockObject | emf::NULL_BRUSH);
    reselect.u32(previous);
    m_writer->add(reselect);
    EmfWriter::Record del(emf::EMR_DELETEOBJECT);
    del.u32(handle);
    m_writer->add(del);
    m_writer->ReleaseHandle(handle);
    addBounds(clamped.boundingRect(), false);
}

void CMetaFileDC::invertRegion(const QRegion& region)
{
    if (!m_writer || region.isEmpty())
        return;
    syncModes();
    QRegion clamped = clampRegion(region);
    EmfWriter::Record record(emf::EMR_INVERTRGN);
    record.rectInclusive(clamped.boundingRect()).u32(std::uint32_t(EmfWriter::regionDataSize(clamped)));
    record.regionData(clamped);
    m_writer->add(record);
    addBounds(clamped.boundingRect(), false);
}

void CMetaFileDC::drawImage(const QRect& dest, const QImage& image)
{
    if (!m_writer || image.isNull() || dest.isEmpty())
        return;
    syncModes();
    QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    // Very large images are stored at a size that keeps the record well under
    // the format's 32-bit sizes.
    constexpr qint64 kMaxPixels = qint64(1) << 24;
    if (qint64(pixels.width()) * pixels.height() > kMaxPixels)
        pixels = pixels.scaled(QSize(4096, 4096), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    int w = pixels.width(), h = pixels.height();
    std::uint32_t bitsSize = std::uint32_t(w) * std::uint32_t(h) * 4;
    EmfWriter::Record record(emf::EMR_STRETCHDIBITS);
    record.rectInclusive(dest);
    record.i32(dest.x()).i32(dest.y()).i32(0).i32(0).i32(w).i32(h);
    record.u32(80).u32(40).u32(120).u32(bitsSize);  // bitmap info and bits offsets and sizes
    record.u32(0).u32(emf::SRCCOPY).i32(dest.width()).i32(dest.height());
    record.u32(40).i32(w).i32(h).u16(1).u16(32).u32(0).u32(bitsSize).i32(3780).i32(3780).u32(0).u32(0);
    // Rows bottom-up, each pixel blue, green, red, alpha.
    QByteArray bits;
    bits.reserve(int(bitsSize));
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            bits.append(char(qBlue(row[x])));
            bits.append(char(qGreen(row[x])));
            bits.append(char(qRed(row[x])));
            bits.append(char(qAlpha(row[x])));
        }
    }
    record.bytes(bits);
    m_writer->add(record);
    addBounds(dest, false);
}
