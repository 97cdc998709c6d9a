// Plays EMF records onto a device context. The player keeps the picture's
// own state (mapping, world transform, objects, current pen, brush and font)
// and draws through the target's ordinary calls, each coordinate carried from
// the picture's logical space to the target's logical space by one transform:
// world transform, then the page mapping, then the picture's frame scaled
// onto the destination rectangle.
#include "platform/draw/EnhMetafilePlayer.h"

#include "platform/draw/CDC.h"
#include "platform/draw/DibImage.h"
#include "platform/draw/EmfFormat.h"
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/TextCodec.h"

#include <QTransform>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <variant>
#include <vector>

namespace EnhMetafilePlayer {
namespace {

using emf::Reader;

constexpr double kCoordLimit = double(1 << 26);
constexpr std::uint32_t kMaxObjects = 65536;

int toInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::lround(std::clamp(v, -kCoordLimit, kCoordLimit)));
}

enum MapMode { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS, MM_ISOTROPIC, MM_ANISOTROPIC };

using Object = std::variant<LOGPEN, LOGBRUSH, LOGFONT>;

// The picture's own drawing state.
struct PageState {
    int mapMode = MM_TEXT;
    QPointF windowOrg{0, 0}, windowExt{1, 1}, viewportOrg{0, 0}, viewportExt{1, 1};
    QTransform world;
    LOGPEN pen{PS_SOLID, 0, 0};
    LOGBRUSH brush{BS_SOLID, RGB(255, 255, 255)};
    LOGFONT font;
};

class Player {
public:
    Player(CDC& dc, const EnhMetafile& picture, const CRect& dest)
        : m_dc(dc), m_picture(picture), m_dest(dest),
          m_data(picture.Bytes().constData(), std::size_t(picture.Bytes().size()))
    {
    }

    Result run();

private:
    // ---- coordinates ----
    QTransform pageTransform() const;
    void updateTransform();
    QPointF map(double x, double y) const { return m_total.map(QPointF(x, y)); }
    CPoint mapPoint(double x, double y) const
    {
        QPointF p = map(x, y);
        return CPoint(toInt(p.x()), toInt(p.y()));
    }
    CRect mapRect(double l, double t, double r, double b) const;
    CRect mapDeviceRect(double l, double t, double r, double b) const;
    double scaleX() const { return std::hypot(m_total.m11(), m_total.m12()); }
    double scaleY() const { return std::hypot(m_total.m21(), m_total.m22()); }

    // ---- objects ----
    void selectPen();
    void selectBrush();
    void selectFont();
    void selectObject(std::uint32_t index);
    void selectStock(std::uint32_t index);

    // ---- records ----
    bool play(std::uint32_t type, const Reader& r);
    bool points(const Reader& r, std::size_t offset, std::uint32_t count, bool small, std::vector<CPoint>& out) const;
    bool polyRecord(std::uint32_t type, const Reader& r);
    bool polyPolyRecord(std::uint32_t type, const Reader& r);
    bool textRecord(const Reader& r, bool wide);
    bool region(const Reader& r, std::size_t offset, std::uint32_t size, CRgn& out) const;
    bool regionRecord(std::uint32_t type, const Reader& r);
    bool clipRegionRecord(const Reader& r);
    bool bitmapRecord(std::uint32_t type, const Reader& r);
    bool drawBitmap(const Reader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                    std::uint32_t cbBits, int xSrc, int ySrc, int cxSrc, int cySrc, const CRect& dest,
                    std::optional<COLORREF> transparent = std::nullopt);
    void restoreInitialClip();

    CDC& m_dc;
    const EnhMetafile& m_picture;
    CRect m_dest;
    Reader m_data;
    QTransform m_deviceToDest;
    QTransform m_total;
    double m_dpiX = 96, m_dpiY = 96;
    PageState m_state;
    std::vector<PageState> m_saved;
    std::map<std::uint32_t, Object> m_objects;
    std::uint32_t m_handleLimit = kMaxObjects;
    std::optional<QRegion> m_initialClip;  // the target's clip, in the target's device pixels
    CPen m_pen;
    CBrush m_brush;
    CFont m_font;
    bool m_playing = false;  // the target's state is saved, so objects may be selected into it
};

QTransform Player::pageTransform() const
{
    // Picture logical units to reference-device pixels.
    double sx = 1, sy = 1;
    switch (m_state.mapMode) {
    case MM_LOMETRIC: sx = m_dpiX / 254.0, sy = -m_dpiY / 254.0; break;
    case MM_HIMETRIC: sx = m_dpiX / 2540.0, sy = -m_dpiY / 2540.0; break;
    case MM_LOENGLISH: sx = m_dpiX / 100.0, sy = -m_dpiY / 100.0; break;
    case MM_HIENGLISH: sx = m_dpiX / 1000.0, sy = -m_dpiY / 1000.0; break;
    case MM_TWIPS: sx = m_dpiX / 1440.0, sy = -m_dpiY / 1440.0; break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC: {
        double wx = m_state.windowExt.x(), wy = m_state.windowExt.y();
        sx = wx != 0 ? m_state.viewportExt.x() / wx : 1;
        sy = wy != 0 ? m_state.viewportExt.y() / wy : 1;
        if (m_state.mapMode == MM_ISOTROPIC) {
            double s = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(s, sx);
            sy = std::copysign(s, sy);
        }
        break;
    }
    default: break;
    }
    if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0 || sy == 0)
        sx = sy = 1;
    // device = (logical - window origin) * scale + viewport origin
    return QTransform(sx, 0, 0, sy, m_state.viewportOrg.x() - m_state.windowOrg.x() * sx,
                      m_state.viewportOrg.y() - m_state.windowOrg.y() * sy);
}

void Player::updateTransform()
{
    m_total = m_state.world * pageTransform() * m_deviceToDest;
    if (!m_total.isAffine() || !std::isfinite(m_total.m11()) || !std::isfinite(m_total.dx())
        || !std::isfinite(m_total.m22()) || !std::isfinite(m_total.dy()) || !std::isfinite(m_total.m12())
        || !std::isfinite(m_total.m21()))
        m_total = m_deviceToDest;
    // Pen widths and font heights follow the mapping in force when they draw.
    if (m_playing) {
        selectPen();
        selectFont();
    }
}

CRect Player::mapRect(double l, double t, double r, double b) const
{
    QPointF a = map(l, t), c = map(r, b);
    return CRect(toInt(std::min(a.x(), c.x())), toInt(std::min(a.y(), c.y())),
                 toInt(std::max(a.x(), c.x())), toInt(std::max(a.y(), c.y())));
}

CRect Player::mapDeviceRect(double l, double t, double r, double b) const
{
    QPointF a = m_deviceToDest.map(QPointF(l, t)), c = m_deviceToDest.map(QPointF(r, b));
    return CRect(toInt(std::min(a.x(), c.x())), toInt(std::min(a.y(), c.y())),
                 toInt(std::max(a.x(), c.x())), toInt(std::max(a.y(), c.y())));
}

// ---- objects ----

void Player::selectPen()
{
    LOGPEN pen = m_state.pen;
    if (pen.lopnWidth > 1)
        pen.lopnWidth = std::clamp(toInt(pen.lopnWidth * (scaleX() + scaleY()) / 2), 1, 1000);
    m_pen.CreatePen(pen.lopnStyle, pen.lopnWidth, pen.lopnColor);
    m_dc.SelectObject(&m_pen);
}

void Player::selectBrush()
{
    m_brush.CreateBrushIndirect(m_state.brush);
    m_dc.SelectObject(&m_brush);
}

void Player::selectFont()
{
    LOGFONT font = m_state.font;
    double scaled = font.lfHeight * scaleY();
    font.lfHeight = font.lfHeight == 0 ? 0 : (font.lfHeight < 0 ? std::min(-1, toInt(scaled)) : std::max(1, toInt(scaled)));
    m_font.CreateFontIndirect(font);
    m_dc.SelectObject(&m_font);
}

void Player::selectStock(std::uint32_t index)
{
    switch (index) {
    case emf::WHITE_BRUSH: m_state.brush = {BS_SOLID, RGB(255, 255, 255)}; selectBrush(); break;
    case emf::LTGRAY_BRUSH: m_state.brush = {BS_SOLID, RGB(192, 192, 192)}; selectBrush(); break;
    case emf::GRAY_BRUSH: m_state.brush = {BS_SOLID, RGB(128, 128, 128)}; selectBrush(); break;
    case emf::DKGRAY_BRUSH: m_state.brush = {BS_SOLID, RGB(64, 64, 64)}; selectBrush(); break;
    case emf::BLACK_BRUSH: m_state.brush = {BS_SOLID, 0}; selectBrush(); break;
    case emf::NULL_BRUSH: m_state.brush = {BS_NULL, 0}; selectBrush(); break;
    case emf::WHITE_PEN: m_state.pen = {PS_SOLID, 0, RGB(255, 255, 255)}; selectPen(); break;
    case emf::BLACK_PEN: m_state.pen = {PS_SOLID, 0, 0}; selectPen(); break;
    case emf::NULL_PEN: m_state.pen = {PS_NULL, 0, 0}; selectPen(); break;
    default:
        if (index >= 10 && index <= 17) {  // the stock fonts
            m_state.font = LOGFONT();
            m_state.font.lfHeight = -16;
            m_state.font.lfFaceName = "Arial";
            selectFont();
        }
        break;
    }
}

void Player::selectObject(std::uint32_t index)
{
    if (index & emf::kStockObject) {
        selectStock(index & ~emf::kStockObject);
        return;
    }
    auto it = m_objects.find(index);
    if (it == m_objects.end())
        return;
    if (const auto* pen = std::get_if<LOGPEN>(&it->second)) {
        m_state.pen = *pen;
        selectPen();
    } else if (const auto* brush = std::get_if<LOGBRUSH>(&it->second)) {
        m_state.brush = *brush;
        selectBrush();
    } else if (const auto* font = std::get_if<LOGFONT>(&it->second)) {
        m_state.font = *font;
        selectFont();
    }
}

// ---- records ----

bool Player::points(const Reader& r, std::size_t offset, std::uint32_t count, bool small,
                    std::vector<CPoint>& out) const
{
    std::size_t each = small ? 4 : 8;
    if (!r.has(offset, std::size_t(count) * each))
        return false;
    out.clear();
    out.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        double x, y;
        if (small) {
            std::int16_t sx = 0, sy = 0;
            r.i16(offset + i * each, sx);
            r.i16(offset + i * each + 2, sy);
            x = sx, y = sy;
        } else {
            std::int32_t lx = 0, ly = 0;
            r.i32(offset + i * each, lx);
            r.i32(offset + i * each + 4, ly);
            x = lx, y = ly;
        }
        out.push_back(mapPoint(x, y));
    }
    return true;
}

bool Player::polyRecord(std::uint32_t type, const Reader& r)
{
    bool small = type >= emf::EMR_POLYBEZIER16;
    std::uint32_t count = 0;
    std::vector<CPoint> pts;
    if (!r.u32(24, count) || !points(r, 28, count, small, pts))
        return false;
    int n = int(pts.size());
    switch (small ? type - emf::EMR_POLYBEZIER16 + emf::EMR_POLYBEZIER : type) {
    case emf::EMR_POLYBEZIER: m_dc.PolyBezier(pts.data(), n); break;
    case emf::EMR_POLYGON: m_dc.Polygon(pts.data(), n); break;
    case emf::EMR_POLYLINE: m_dc.Polyline(pts.data(), n); break;
    case emf::EMR_POLYBEZIERTO: m_dc.PolyBezierTo(pts.data(), n); break;
    case emf::EMR_POLYLINETO:
        for (const CPoint& p : pts)
            m_dc.LineTo(p);
        break;
    default: break;
    }
    return true;
}

bool Player::polyPolyRecord(std::uint32_t type, const Reader& r)
{
    bool small = type == emf::EMR_POLYPOLYLINE16 || type == emf::EMR_POLYPOLYGON16;
    bool polygon = type == emf::EMR_POLYPOLYGON || type == emf::EMR_POLYPOLYGON16;
    std::uint32_t polys = 0, total = 0;
    if (!r.u32(24, polys) || !r.u32(28, total) || !r.has(32, std::size_t(polys) * 4))
        return false;
    std::vector<CPoint> all;
    if (!points(r, 32 + std::size_t(polys) * 4, total, small, all))
        return false;
    // Polygons are filled together, so that one inside another makes a hole.
    if (polygon)
        m_dc.BeginPath();
    std::size_t at = 0;
    for (std::uint32_t i = 0; i < polys; ++i) {
        std::uint32_t n = 0;
        r.u32(32 + std::size_t(i) * 4, n);
        if (n > all.size() - at)
            break;
        if (polygon)
            m_dc.Polygon(all.data() + at, int(n));
        else
            m_dc.Polyline(all.data() + at, int(n));
        at += n;
    }
    if (polygon) {
        m_dc.EndPath();
        m_dc.StrokeAndFillPath();
    }
    return true;
}

bool Player::textRecord(const Reader& r, bool wide)
{
    // bounds, graphics mode, x and y scale, then the text: reference point,
    // character count, string offset, options, rectangle, offset of the advances.
    std::int32_t x = 0, y = 0, box[4] = {0, 0, 0, 0};
    std::uint32_t count = 0, offString = 0, options = 0, offDx = 0;
    if (!r.i32(36, x) || !r.i32(40, y) || !r.u32(44, count) || !r.u32(48, offString) || !r.u32(52, options)
        || !r.u32(72, offDx))
        return false;
    for (int k = 0; k < 4; ++k)
        r.i32(56 + 4 * std::size_t(k), box[k]);
    CRect rect = mapRect(box[0], box[1], box[2], box[3]);
    // An opaque rectangle is filled even without text (a common way to paint backgrounds).
    if ((options & emf::ETO_OPAQUE) && !rect.IsRectEmpty())
        m_dc.FillSolidRect(rect, m_dc.GetBkColor());
    std::size_t bytes = std::size_t(count) * (wide ? 2 : 1);
    if (count == 0)
        return true;
    if (!r.has(offString, bytes))
        return false;
    QString text;
    if (wide) {
        text.reserve(qsizetype(count));
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint16_t c = 0;
            r.u16(offString + 2 * i, c);
            text.append(QChar(c));
        }
    } else {
        text = TextCodec::Decode(r.at(offString), int(count), m_state.font.lfCharSet);
    }
    std::vector<int> advances;
    if (offDx != 0 && r.has(offDx, std::size_t(count) * 4)) {
        advances.reserve(count);
        double sx = scaleX();
        double sum = 0;
        int placed = 0;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::int32_t dx = 0;
            r.i32(offDx + 4 * i, dx);
            sum += dx * sx;
            int end = toInt(sum);
            advances.push_back(end - placed);
            placed = end;
        }
    }
    CPoint at = mapPoint(x, y);
    bool clipped = (options & emf::ETO_CLIPPED) && !rect.IsRectEmpty();
    int level = clipped ? m_dc.SaveDC() : 0;
    if (clipped)
        m_dc.IntersectClipRect(rect);
    m_dc.TextOutW(at.x, at.y, text, advances);
    if (clipped) {
        // Restoring would also undo the current position that the text moved.
        CPoint position = m_dc.GetCurrentPosition();
        m_dc.RestoreDC(level);
        m_dc.MoveTo(position);
    }
    return true;
}

bool Player::region(const Reader& r, std::size_t offset, std::uint32_t size, CRgn& out) const
{
    // RGNDATAHEADER: size, type, count, region size, bounds; then the rectangles
    // in the reference device's pixels.
    std::uint32_t headerSize = 0, count = 0;
    if (size < 32 || !r.has(offset, size) || !r.u32(offset, headerSize) || !r.u32(offset + 8, count))
        return false;
    if (headerSize < 32 || headerSize > size || std::size_t(count) * 16 > size - headerSize)
        return false;
    QRegion result;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::int32_t v[4] = {};
        for (int k = 0; k < 4; ++k)
            r.i32(offset + headerSize + 16 * i + 4 * k, v[k]);
        CRect box = mapDeviceRect(v[0], v[1], v[2], v[3]);
        if (!box.IsRectEmpty())
            result += QRect(box.left, box.top, box.Width(), box.Height());
    }
    out = CRgn(result);
    return true;
}

bool Player::regionRecord(std::uint32_t type, const Reader& r)
{
    // FILLRGN and FRAMERGN carry a brush (and a frame size); INVERTRGN and
    // PAINTRGN only the region.
    std::uint32_t cb = 0;
    if (!r.u32(24, cb))
        return false;
    CRgn rgn;
    switch (type) {
    case emf::EMR_FILLRGN:
    case emf::EMR_FRAMERGN: {
        std::uint32_t brushIndex = 0;
        std::int32_t w = 1, h = 1;
        std::size_t data = type == emf::EMR_FILLRGN ? 32 : 40;
        if (!r.u32(28, brushIndex) || (type == emf::EMR_FRAMERGN && (!r.i32(32, w) || !r.i32(36, h))))
            return false;
        if (!region(r, data, cb, rgn))
            return false;
        LOGBRUSH lb{BS_SOLID, 0};
        if (brushIndex & emf::kStockObject) {
            std::uint32_t stock = brushIndex & ~emf::kStockObject;
            static const COLORREF greys[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128), RGB(64, 64, 64), 0};
            lb = stock <= 4 ? LOGBRUSH{BS_SOLID, greys[stock]} : LOGBRUSH{BS_NULL, 0};
        } else if (auto it = m_objects.find(brushIndex); it != m_objects.end() && std::holds_alternative<LOGBRUSH>(it->second)) {
            lb = std::get<LOGBRUSH>(it->second);
        }
        CBrush brush;
        brush.CreateBrushIndirect(lb);
        if (type == emf::EMR_FILLRGN) {
            m_dc.FillRgn(&rgn, &brush);
        } else {
            int fw = std::clamp(toInt(w * scaleX()), 1, 64), fh = std::clamp(toInt(h * scaleY()), 1, 64);
            m_dc.FrameRgn(&rgn, &brush, fw, fh);
        }
        return true;
    }
    case emf::EMR_INVERTRGN:
    case emf::EMR_PAINTRGN:
        if (!region(r, 28, cb, rgn))
            return false;
        if (type == emf::EMR_INVERTRGN)
            m_dc.InvertRgn(&rgn);
        else
            m_dc.PaintRgn(&rgn);
        return true;
    default: return true;
    }
}

void Player::restoreInitialClip()
{
    if (!m_initialClip) {
        m_dc.SelectClipRgn(nullptr);
        return;
    }
    CPoint origin(0, 0);
    m_dc.LPtoDP(&origin);
    CRgn rgn(m_initialClip->translated(-origin.x, -origin.y));
    m_dc.SelectClipRgn(&rgn);
}

bool Player::clipRegionRecord(const Reader& r)
{
    std::uint32_t cb = 0, mode = 0;
    if (!r.u32(8, cb) || !r.u32(12, mode))
        return false;
    if (cb == 0) {
        if (mode == RGN_COPY)
            restoreInitialClip();
        return true;
    }
    CRgn rgn;
    if (!region(r, 16, cb, rgn))
        return false;
    // Device pixels of the destination: from the target's logical coordinates.
    if (mode == RGN_COPY) {
        restoreInitialClip();
        m_dc.SelectClipRgn(&rgn, RGN_AND);
    } else {
        m_dc.SelectClipRgn(&rgn, int(mode));
    }
    return true;
}

bool Player::drawBitmap(const Reader& r, std::uint32_t offBmi, std::uint32_t cbBmi, std::uint32_t offBits,
                        std::uint32_t cbBits, int xSrc, int ySrc, int cxSrc, int cySrc, const CRect& dest,
                        std::optional<COLORREF> transparent)
{
    DibImage::Status status = DibImage::Status::Bad;
    QImage image = DibImage::Decode(r, offBmi, cbBmi, offBits, cbBits, &status);
    if (status != DibImage::Status::Decoded)
        return status == DibImage::Status::Skipped;
    if (transparent) {
        QRgb key = qRgb(GetRValue(*transparent), GetGValue(*transparent), GetBValue(*transparent));
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] | 0xFF000000u) == key)
                    line[x] = 0;
        }
    }
    QRect source = QRect(xSrc, ySrc, cxSrc, cySrc).intersected(image.rect());
    if (source.isEmpty() || dest.IsRectEmpty())
        return true;
    m_dc.StretchImage(dest, image.copy(source));
    return true;
}

bool Player::bitmapRecord(std::uint32_t type, const Reader& r)
{
    auto destOf = [this](std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy) {
        return mapRect(x, y, double(x) + cx, double(y) + cy);
    };
    if (type == emf::EMR_STRETCHDIBITS) {
        std::int32_t v[6], cxDest = 0, cyDest = 0;
        std::uint32_t offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0, rop = 0;
        for (int k = 0; k < 6; ++k)
            if (!r.i32(24 + 4 * k, v[k]))
                return false;
        if (!r.u32(48, offBmi) || !r.u32(52, cbBmi) || !r.u32(56, offBits) || !r.u32(60, cbBits)
            || !r.u32(68, rop) || !r.i32(72, cxDest) || !r.i32(76, cyDest))
            return false;
        (void)rop;  // every raster operation with a source is drawn as a copy
        return drawBitmap(r, offBmi, cbBmi, offBits, cbBits, v[2], v[3], v[4], v[5], destOf(v[0], v[1], cxDest, cyDest));
    }
    if (type == emf::EMR_SETDIBITSTODEVICE) {
        std::int32_t v[6];
        std::uint32_t offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
        for (int k = 0; k < 6; ++k)
            if (!r.i32(24 + 4 * k, v[k]))
                return false;
        if (!r.u32(48, offBmi) || !r.u32(52, cbBmi) || !r.u32(56, offBits) || !r.u32(60, cbBits))
            return false;
        return drawBitmap(r, offBmi, cbBmi, offBits, cbBits, v[2], v[3], v[4], v[5], destOf(v[0], v[1], v[4], v[5]));
    }
    // BITBLT and STRETCHBLT: a destination, a raster operation, and maybe a source bitmap.
    std::int32_t x = 0, y = 0, cx = 0, cy = 0, xSrc = 0, ySrc = 0;
    std::uint32_t rop = 0, offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
    if (!r.i32(24, x) || !r.i32(28, y) || !r.i32(32, cx) || !r.i32(36, cy) || !r.u32(40, rop)
        || !r.i32(44, xSrc) || !r.i32(48, ySrc) || !r.u32(84, offBmi) || !r.u32(88, cbBmi)
        || !r.u32(92, offBits) || !r.u32(96, cbBits))
        return false;
    CRect dest = destOf(x, y, cx, cy);
    if (cbBmi == 0) {
        switch (rop) {
        case emf::DSTINVERT: m_dc.InvertRect(dest); break;
        case emf::PATCOPY: if (m_state.brush.lbStyle != BS_NULL) m_dc.FillSolidRect(dest, m_state.brush.lbColor); break;
        case emf::BLACKNESS: m_dc.FillSolidRect(dest, 0); break;
        case emf::WHITENESS: m_dc.FillSolidRect(dest, RGB(255, 255, 255)); break;
        default: break;
        }
        return true;
    }
    // The stretching, blending and transparent forms add the source size.
    std::int32_t cxSrc = cx, cySrc = cy;
    if (type != emf::EMR_BITBLT && (!r.i32(100, cxSrc) || !r.i32(104, cySrc)))
        return false;
    std::optional<COLORREF> transparent;
    if (type == emf::EMR_TRANSPARENTBLT)
        transparent = rop & 0xFFFFFF;  // this form carries the transparent colour in place of the operation
    return drawBitmap(r, offBmi, cbBmi, offBits, cbBits, xSrc, ySrc, cxSrc, cySrc, dest, transparent);
}

bool Player::play(std::uint32_t type, const Reader& r)
{
    auto u = [&r](std::size_t offset) {
        std::uint32_t v = 0;
        r.u32(offset, v);
        return v;
    };
    auto i = [&r](std::size_t offset) {
        std::int32_t v = 0;
        r.i32(offset, v);
        return v;
    };
    auto needs = [&r](std::size_t size) { return r.size() >= size; };
    switch (type) {
    case emf::EMR_POLYBEZIER: case emf::EMR_POLYGON: case emf::EMR_POLYLINE:
    case emf::EMR_POLYBEZIERTO: case emf::EMR_POLYLINETO:
    case emf::EMR_POLYBEZIER16: case emf::EMR_POLYGON16: case emf::EMR_POLYLINE16:
    case emf::EMR_POLYBEZIERTO16: case emf::EMR_POLYLINETO16:
        return polyRecord(type, r);
    case emf::EMR_POLYPOLYLINE: case emf::EMR_POLYPOLYGON:
    case emf::EMR_POLYPOLYLINE16: case emf::EMR_POLYPOLYGON16:
        return polyPolyRecord(type, r);
    case emf::EMR_SETWINDOWEXTEX:
    case emf::EMR_SETWINDOWORGEX:
    case emf::EMR_SETVIEWPORTEXTEX:
    case emf::EMR_SETVIEWPORTORGEX: {
        if (!needs(16))
            return false;
        QPointF v(i(8), i(12));
        if (type == emf::EMR_SETWINDOWEXTEX && v.x() != 0 && v.y() != 0)
            m_state.windowExt = v;
        else if (type == emf::EMR_SETWINDOWORGEX)
            m_state.windowOrg = v;
        else if (type == emf::EMR_SETVIEWPORTEXTEX && v.x() != 0 && v.y() != 0)
            m_state.viewportExt = v;
        else if (type == emf::EMR_SETVIEWPORTORGEX)
            m_state.viewportOrg = v;
        updateTransform();
        return true;
    }
    case emf::EMR_SETMAPMODE:
        if (!needs(12))
            return false;
        if (u(8) >= MM_TEXT && u(8) <= MM_ANISOTROPIC)
            m_state.mapMode = int(u(8));
        updateTransform();
        return true;
    case emf::EMR_SETBKMODE: if (!needs(12)) return false; m_dc.SetBkMode(int(u(8))); return true;
    case emf::EMR_SETPOLYFILLMODE: if (!needs(12)) return false; m_dc.SetPolyFillMode(int(u(8))); return true;
    case emf::EMR_SETTEXTALIGN: if (!needs(12)) return false; m_dc.SetTextAlign(u(8)); return true;
    case emf::EMR_SETTEXTCOLOR: if (!needs(12)) return false; m_dc.SetTextColor(u(8)); return true;
    case emf::EMR_SETBKCOLOR: if (!needs(12)) return false; m_dc.SetBkColor(u(8)); return true;
    case emf::EMR_SETARCDIRECTION: if (!needs(12)) return false; m_dc.SetArcDirection(int(u(8))); return true;
    case emf::EMR_MOVETOEX: if (!needs(16)) return false; m_dc.MoveTo(mapPoint(i(8), i(12))); return true;
    case emf::EMR_LINETO: if (!needs(16)) return false; m_dc.LineTo(mapPoint(i(8), i(12))); return true;
    case emf::EMR_SETPIXELV: {
        if (!needs(20))
            return false;
        CPoint p = mapPoint(i(8), i(12));
        m_dc.FillSolidRect(CRect(p.x, p.y, p.x + 1, p.y + 1), u(16));
        return true;
    }
    case emf::EMR_INTERSECTCLIPRECT:
    case emf::EMR_EXCLUDECLIPRECT: {
        if (!needs(24))
            return false;
        CRect box = mapRect(i(8), i(12), i(16), i(20));
        if (type == emf::EMR_INTERSECTCLIPRECT)
            m_dc.IntersectClipRect(box);
        else
            m_dc.ExcludeClipRect(box.left, box.top, box.right, box.bottom);
        return true;
    }
    case emf::EMR_SAVEDC:
        m_saved.push_back(m_state);
        m_dc.SaveDC();
        return true;
    case emf::EMR_RESTOREDC: {
        if (!needs(12))
            return false;
        std::int32_t n = i(8);
        if (n >= 0 || -std::int64_t(n) > std::int64_t(m_saved.size()))
            return true;
        m_state = m_saved[m_saved.size() - std::size_t(-n)];
        m_saved.resize(m_saved.size() - std::size_t(-n));
        m_dc.RestoreDC(n);
        updateTransform();
        selectBrush();
        return true;
    }
    case emf::EMR_SETWORLDTRANSFORM:
    case emf::EMR_MODIFYWORLDTRANSFORM: {
        if (!needs(32))
            return false;
        float m[6];
        for (int k = 0; k < 6; ++k)
            r.f32(8 + 4 * std::size_t(k), m[k]);
        QTransform xf(m[0], m[1], m[2], m[3], m[4], m[5]);
        std::uint32_t mode = type == emf::EMR_SETWORLDTRANSFORM ? 4 : (needs(36) ? u(32) : 0);
        switch (mode) {
        case 1: m_state.world = QTransform(); break;
        case 2: m_state.world = xf * m_state.world; break;
        case 3: m_state.world = m_state.world * xf; break;
        case 4: m_state.world = xf; break;
        default: break;
        }
        updateTransform();
        return true;
    }
    case emf::EMR_SELECTOBJECT: if (!needs(12)) return false; selectObject(u(8)); return true;
    case emf::EMR_DELETEOBJECT: if (!needs(12)) return false; m_objects.erase(u(8)); return true;
    case emf::EMR_CREATEPEN: {
        if (!needs(28))
            return false;
        std::uint32_t index = u(8);
        if (index == 0 || index >= m_handleLimit)
            return true;
        m_objects[index] = LOGPEN{int(u(12) & 0xF), std::max(0, i(16)), u(24) & 0xFFFFFF};
        return true;
    }
    case emf::EMR_EXTCREATEPEN: {
        // index, offsets and sizes of a bitmap, then the extended pen:
        // style, width, brush style, colour.
        if (!needs(44))
            return false;
        std::uint32_t index = u(8);
        if (index == 0 || index >= m_handleLimit)
            return true;
        int style = int(u(28) & 0xF);
        if (u(36) == BS_NULL)
            style = PS_NULL;
        m_objects[index] = LOGPEN{style, std::max(0, i(32)), u(40) & 0xFFFFFF};
        return true;
    }
    case emf::EMR_CREATEBRUSHINDIRECT: {
        if (!needs(24))
            return false;
        std::uint32_t index = u(8);
        if (index == 0 || index >= m_handleLimit)
            return true;
        // Hatched brushes are drawn as solid ones.
        m_objects[index] = LOGBRUSH{u(12) == BS_NULL ? BS_NULL : BS_SOLID, u(16) & 0xFFFFFF};
        return true;
    }
    case emf::EMR_CREATEMONOBRUSH:
    case emf::EMR_CREATEDIBPATTERNBRUSHPT: {
        if (!needs(12))
            return false;
        std::uint32_t index = u(8);
        if (index != 0 && index < m_handleLimit)
            m_objects[index] = LOGBRUSH{BS_SOLID, RGB(128, 128, 128)};
        return true;
    }
    case emf::EMR_EXTCREATEFONTINDIRECTW: {
        if (!needs(12 + 92))
            return false;
        std::uint32_t index = u(8);
        if (index == 0 || index >= m_handleLimit)
            return true;
        LOGFONT lf;
        lf.lfHeight = i(12);
        lf.lfWidth = i(16);
        lf.lfEscapement = i(20);
        lf.lfOrientation = i(24);
        lf.lfWeight = i(28);
        const auto* b = reinterpret_cast<const unsigned char*>(r.at(32));
        lf.lfItalic = b[0];
        lf.lfUnderline = b[1];
        lf.lfStrikeOut = b[2];
        lf.lfCharSet = b[3];
        lf.lfOutPrecision = b[4];
        lf.lfClipPrecision = b[5];
        lf.lfQuality = b[6];
        lf.lfPitchAndFamily = b[7];
        QString face;
        for (int k = 0; k < 32; ++k) {
            std::uint16_t c = 0;
            r.u16(40 + 2 * std::size_t(k), c);
            if (c == 0)
                break;
            face.append(QChar(c));
        }
        lf.lfFaceName = face.toStdString();
        m_objects[index] = lf;
        return true;
    }
    case emf::EMR_RECTANGLE:
    case emf::EMR_ELLIPSE:
    case emf::EMR_ROUNDRECT: {
        if (!needs(24))
            return false;
        CRect box = mapRect(i(8), i(12), i(16), i(20));
        if (type == emf::EMR_ELLIPSE)
            m_dc.Ellipse(box);
        else
            m_dc.Rectangle(box);
        return true;
    }
    case emf::EMR_ARC:
    case emf::EMR_CHORD:
    case emf::EMR_PIE:
    case emf::EMR_ARCTO: {
        if (!needs(40))
            return false;
        CRect box = mapRect(i(8), i(12), i(16), i(20));
        CPoint start = mapPoint(i(24), i(28)), end = mapPoint(i(32), i(36));
        if (type == emf::EMR_CHORD)
            m_dc.Chord(box, start, end);
        else if (type == emf::EMR_PIE)
            m_dc.Pie(box, start, end);
        else
            m_dc.Arc(box, start, end);
        return true;
    }
    case emf::EMR_BEGINPATH: m_dc.BeginPath(); return true;
    case emf::EMR_ENDPATH: m_dc.EndPath(); return true;
    case emf::EMR_CLOSEFIGURE: m_dc.CloseFigure(); return true;
    case emf::EMR_ABORTPATH: m_dc.AbortPath(); return true;
    case emf::EMR_FILLPATH: m_dc.FillPath(); return true;
    case emf::EMR_STROKEPATH: m_dc.StrokePath(); return true;
    case emf::EMR_STROKEANDFILLPATH: m_dc.StrokeAndFillPath(); return true;
    case emf::EMR_EXTTEXTOUTW:
    case emf::EMR_EXTTEXTOUTA:
        return textRecord(r, type == emf::EMR_EXTTEXTOUTW);
    case emf::EMR_FILLRGN:
    case emf::EMR_FRAMERGN:
    case emf::EMR_INVERTRGN:
    case emf::EMR_PAINTRGN:
        return regionRecord(type, r);
    case emf::EMR_EXTSELECTCLIPRGN:
        return clipRegionRecord(r);
    case emf::EMR_BITBLT:
    case emf::EMR_STRETCHBLT:
    case emf::EMR_ALPHABLEND:
    case emf::EMR_TRANSPARENTBLT:
    case emf::EMR_STRETCHDIBITS:
    case emf::EMR_SETDIBITSTODEVICE:
        return bitmapRecord(type, r);
    default:
        return true;  // records without a visible effect here are passed over
    }
}

Result Player::run()
{
    Result result;
    if (!m_picture.IsValid())
        return result;
    result.headerValid = true;
    std::uint32_t headerSize = 0;
    m_data.u32(4, headerSize);
    std::uint16_t handles = 0;
    m_data.u16(56, handles);
    m_handleLimit = handles > 0 ? handles : kMaxObjects;
    m_dpiX = m_picture.ReferenceDpiX();
    m_dpiY = m_picture.ReferenceDpiY();

    CRect frame = m_picture.FrameInPixels();
    if (frame.IsRectEmpty())
        frame = m_picture.GetBounds();
    if (frame.IsRectEmpty() || m_dest.IsRectEmpty())
        return result;
    double sx = double(m_dest.Width()) / frame.Width();
    double sy = double(m_dest.Height()) / frame.Height();
    m_deviceToDest = QTransform(sx, 0, 0, sy, m_dest.left - frame.left * sx, m_dest.top - frame.top * sy);
    updateTransform();

    int saved = m_dc.SaveDC();
    m_playing = true;
    m_initialClip = m_dc.DeviceClip();
    m_dc.SetBkMode(OPAQUE);
    m_dc.SetBkColor(RGB(255, 255, 255));
    m_dc.SetTextColor(0);
    m_dc.SetTextAlign(TA_LEFT | TA_TOP);
    m_dc.SetPolyFillMode(ALTERNATE);
    m_dc.SetArcDirection(AD_COUNTERCLOCKWISE);
    selectStock(emf::BLACK_PEN);
    selectStock(emf::WHITE_BRUSH);
    selectStock(emf::SYSTEM_FONT);

    std::size_t offset = headerSize;
    while (offset < m_data.size()) {
        std::uint32_t type = 0, size = 0;
        if (!m_data.u32(offset, type) || !m_data.u32(offset + 4, size) || size < 8 || size % 4 != 0
            || !m_data.has(offset, size))
            break;
        if (type == emf::EMR_EOF) {
            result.complete = true;
            break;
        }
        Reader record(m_data.at(offset), size);
        if (!play(type, record))
            break;
        ++result.recordsPlayed;
        offset += size;
    }
    m_dc.AbortPath();
    m_dc.RestoreDC(saved);
    return result;
}

}  // namespace

Result Play(CDC& dc, const EnhMetafile& picture, const CRect& dest)
{
    Player player(dc, picture, dest);
    return player.run();
}

}  // namespace EnhMetafilePlayer
