// The device context's state: coordinates, attributes, selected objects,
// saved states, clipping, fills of rectangles and regions, and pictures.
#include "platform/draw/CDC.h"

#include "platform/draw/EnhMetafile.h"
#include "platform/draw/EnhMetafilePlayer.h"

#include <algorithm>
#include <cmath>

namespace {

// Coordinates are kept well inside the int range so that no later sum overflows.
constexpr std::int64_t kCoordLimit = std::int64_t(1) << 26;

int clampCoord(std::int64_t v)
{
    return CDC::ClampCoord(v);
}

// Stands for "no clipping" where a clip region has to be combined.
QRegion everything()
{
    return QRegion(QRect(-int(kCoordLimit), -int(kCoordLimit), int(2 * kCoordLimit), int(2 * kCoordLimit)));
}

}  // namespace

int CDC::ClampCoord(std::int64_t v)
{
    return int(std::clamp(v, -kCoordLimit, kCoordLimit));
}

CFont* StockSystemFont()
{
    static CFont font = [] {
        CFont f;
        f.CreatePixelFont("Arial", 16);
        return f;
    }();
    return &font;
}

CDC::CDC()
{
    m_state.fontObject = StockSystemFont();
    m_state.font = StockSystemFont()->GetLogFont();
    m_state.penObject = CPen::BlackPen();
    m_state.pen = CPen::BlackPen()->GetLogPen();
    m_state.brushObject = CBrush::WhiteBrush();
    m_state.brush = CBrush::WhiteBrush()->GetLogBrush();
    realiseFont();
}

CDC::~CDC() = default;

void CDC::resetState()
{
    m_state = State();
    m_saved.clear();
    m_state.fontObject = StockSystemFont();
    m_state.font = StockSystemFont()->GetLogFont();
    m_state.penObject = CPen::BlackPen();
    m_state.pen = CPen::BlackPen()->GetLogPen();
    m_state.brushObject = CBrush::WhiteBrush();
    m_state.brush = CBrush::WhiteBrush()->GetLogBrush();
    m_inPath = m_pathReady = false;
    m_path = QPainterPath();
    ++m_clipGeneration;
    m_fontMetrics.reset();
    realiseFont();
}

// ---- device ----

int CDC::GetDeviceCaps(int index) const
{
    switch (index) {
    case LOGPIXELSX: return dpiX();
    case LOGPIXELSY: return dpiY();
    case HORZRES: return deviceSize().cx;
    case VERTRES: return deviceSize().cy;
    case HORZSIZE: return dpiX() > 0 ? deviceSize().cx * 254 / (dpiX() * 10) : 0;
    case VERTSIZE: return dpiY() > 0 ? deviceSize().cy * 254 / (dpiY() * 10) : 0;
    case BITSPIXEL: return bitsPerPixel();
    case PLANES: return 1;
    default: return 0;
    }
}

// ---- coordinates ----

QPoint CDC::toDevice(int x, int y) const
{
    return QPoint(clampCoord(std::int64_t(x) - m_state.windowOrg.x + m_state.viewportOrg.x),
                  clampCoord(std::int64_t(y) - m_state.windowOrg.y + m_state.viewportOrg.y));
}

QRect CDC::deviceBox(int left, int top, int right, int bottom) const
{
    QPoint a = toDevice(std::min(left, right), std::min(top, bottom));
    QPoint b = toDevice(std::max(left, right), std::max(top, bottom));
    return QRect(a.x(), a.y(), b.x() - a.x(), b.y() - a.y());
}

QRect CDC::toDevice(const CRect& r) const
{
    return deviceBox(r.left, r.top, r.right, r.bottom);
}

QRegion CDC::toDevice(const CRgn& region) const
{
    QPoint shift = toDevice(0, 0);
    return region.region().translated(shift);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    CPoint old = m_state.windowOrg;
    m_state.windowOrg = CPoint(clampCoord(x), clampCoord(y));
    return old;
}

CPoint CDC::OffsetWindowOrg(int dx, int dy)
{
    CPoint old = m_state.windowOrg;
    SetWindowOrg(clampCoord(std::int64_t(old.x) + dx), clampCoord(std::int64_t(old.y) + dy));
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    CPoint old = m_state.viewportOrg;
    m_state.viewportOrg = CPoint(clampCoord(x), clampCoord(y));
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    CPoint old = m_state.viewportOrg;
    SetViewportOrg(clampCoord(std::int64_t(old.x) + dx), clampCoord(std::int64_t(old.y) + dy));
    return old;
}

void CDC::LPtoDP(CPoint* points, int count) const
{
    for (int i = 0; i < count; ++i) {
        QPoint d = toDevice(points[i]);
        points[i] = CPoint(d.x(), d.y());
    }
}

void CDC::LPtoDP(CRect* rect) const
{
    QPoint a = toDevice(rect->left, rect->top);
    QPoint b = toDevice(rect->right, rect->bottom);
    *rect = CRect(a.x(), a.y(), b.x(), b.y());
}

void CDC::DPtoLP(CPoint* points, int count) const
{
    for (int i = 0; i < count; ++i) {
        points[i].x = clampCoord(std::int64_t(points[i].x) + m_state.windowOrg.x - m_state.viewportOrg.x);
        points[i].y = clampCoord(std::int64_t(points[i].y) + m_state.windowOrg.y - m_state.viewportOrg.y);
    }
}

void CDC::DPtoLP(CRect* rect) const
{
    CPoint p[2] = {rect->TopLeft(), rect->BottomRight()};
    DPtoLP(p, 2);
    *rect = CRect(p[0].x, p[0].y, p[1].x, p[1].y);
}

// ---- attributes ----

int CDC::SetBkMode(int mode)
{
    int old = m_state.bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_state.bkMode = mode;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF colour)
{
    COLORREF old = m_state.bkColor;
    m_state.bkColor = colour & 0xFFFFFF;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF colour)
{
    COLORREF old = m_state.textColor;
    m_state.textColor = colour & 0xFFFFFF;
    return old;
}

unsigned CDC::SetTextAlign(unsigned flags)
{
    unsigned old = m_state.textAlign;
    m_state.textAlign = flags & (TA_UPDATECP | TA_CENTER | TA_BASELINE);
    return old;
}

int CDC::SetPolyFillMode(int mode)
{
    int old = m_state.polyFillMode;
    if (mode == ALTERNATE || mode == WINDING)
        m_state.polyFillMode = mode;
    return old;
}

int CDC::SetArcDirection(int direction)
{
    int old = m_state.arcDirection;
    if (direction == AD_COUNTERCLOCKWISE || direction == AD_CLOCKWISE)
        m_state.arcDirection = direction;
    return old;
}

CFont* CDC::SelectObject(CFont* font)
{
    CFont* old = m_state.fontObject;
    if (font) {
        m_state.fontObject = font;
        m_state.font = font->GetLogFont();
        realiseFont();
    }
    return old;
}

CPen* CDC::SelectObject(CPen* pen)
{
    CPen* old = m_state.penObject;
    if (pen) {
        m_state.penObject = pen;
        m_state.pen = pen->GetLogPen();
    }
    return old;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    CBrush* old = m_state.brushObject;
    if (brush) {
        m_state.brushObject = brush;
        m_state.brush = brush->GetLogBrush();
    }
    return old;
}


int CDC::SaveDC()
{
    m_saved.push_back(m_state);
    return int(m_saved.size());
}

bool CDC::RestoreDC(int saved)
{
    int count = int(m_saved.size());
    int level = saved < 0 ? count + saved + 1 : saved;
    if (saved == 0 || level < 1 || level > count)
        return false;
    m_state = m_saved[std::size_t(level - 1)];
    m_saved.resize(std::size_t(level - 1));
    ++m_clipGeneration;
    realiseFont();
    return true;
}

// ---- filling, framing and inverting ----

void CDC::FillRect(const CRect& rect, const CBrush* brush)
{
    if (!brush || brush->IsNull() || rect.IsRectEmpty())
        return;
    fillRegion(QRegion(toDevice(rect)), brush->GetLogBrush().lbColor);
}

void CDC::FillSolidRect(const CRect& rect, COLORREF colour)
{
    if (rect.IsRectEmpty())
        return;
    fillRegion(QRegion(toDevice(rect)), colour & 0xFFFFFF);
}

void CDC::FrameRect(const CRect& rect, const CBrush* brush)
{
    if (!brush || brush->IsNull() || rect.IsRectEmpty())
        return;
    CRgn region(rect);
    fillRegion(toDevice(region.Frame(1, 1)), brush->GetLogBrush().lbColor);
}

void CDC::InvertRect(const CRect& rect)
{
    if (!rect.IsRectEmpty())
        invertRegion(QRegion(toDevice(rect)));
}

bool CDC::FillRgn(const CRgn* region, const CBrush* brush)
{
    if (!region || !brush)
        return false;
    if (!brush->IsNull() && !region->IsEmpty())
        fillRegion(toDevice(*region), brush->GetLogBrush().lbColor);
    return true;
}

bool CDC::FrameRgn(const CRgn* region, const CBrush* brush, int width, int height)
{
    if (!region || !brush || width < 0 || height < 0)
        return false;
    if (!brush->IsNull() && !region->IsEmpty())
        fillRegion(toDevice(region->Frame(width, height)), brush->GetLogBrush().lbColor);
    return true;
}

bool CDC::InvertRgn(const CRgn* region)
{
    if (!region)
        return false;
    if (!region->IsEmpty())
        invertRegion(toDevice(*region));
    return true;
}

bool CDC::PaintRgn(const CRgn* region)
{
    CBrush brush;
    brush.CreateBrushIndirect(m_state.brush);
    return FillRgn(region, &brush);
}

// ---- clipping ----

void CDC::setClip(std::optional<QRegion> clip)
{
    m_state.clip = std::move(clip);
    ++m_clipGeneration;
}

int CDC::SelectClipRgn(const CRgn* region)
{
    return SelectClipRgn(region, RGN_COPY);
}

int CDC::SelectClipRgn(const CRgn* region, int mode)
{
    if (!region) {
        if (mode != RGN_COPY)
            return RGN_ERROR;
        setClip(std::nullopt);
        return SIMPLEREGION;
    }
    QRegion given = toDevice(*region);
    QRegion current = m_state.clip ? *m_state.clip : everything();
    switch (mode) {
    case RGN_COPY: setClip(given); break;
    case RGN_AND: setClip(current.intersected(given)); break;
    case RGN_OR: setClip(current.united(given)); break;
    case RGN_XOR: setClip(current.xored(given)); break;
    case RGN_DIFF: setClip(current.subtracted(given)); break;
    default: return RGN_ERROR;
    }
    return CRgn(*m_state.clip).Kind();
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    QRegion current = m_state.clip ? *m_state.clip : everything();
    QRect box = deviceBox(left, top, right, bottom);
    setClip(current.intersected(box.isEmpty() ? QRegion() : QRegion(box)));
    return CRgn(*m_state.clip).Kind();
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom)
{
    QRegion current = m_state.clip ? *m_state.clip : everything();
    QRect box = deviceBox(left, top, right, bottom);
    setClip(box.isEmpty() ? current : current.subtracted(QRegion(box)));
    return CRgn(*m_state.clip).Kind();
}

int CDC::GetClipBox(CRect* box) const
{
    CSize size = deviceSize();
    QRegion area(QRect(0, 0, std::max(0, size.cx), std::max(0, size.cy)));
    if (m_state.clip)
        area = area.intersected(*m_state.clip);
    CRgn shown(area);
    if (box) {
        *box = shown.GetBox();
        DPtoLP(box);
    }
    return shown.Kind();
}

// ---- pictures ----

void CDC::StretchImage(const CRect& dest, const QImage& image)
{
    if (image.isNull() || dest.IsRectEmpty())
        return;
    drawImage(toDevice(dest), image);
}

bool CDC::PlayEnhMetaFile(const EnhMetafile& picture, const CRect& dest)
{
    return EnhMetafilePlayer::Play(*this, picture, dest).headerValid;
}

// ---- print jobs ----

int CDC::StartDoc(const char*) { return -1; }
int CDC::StartPage() { return -1; }
int CDC::EndPage() { return -1; }
int CDC::EndDoc() { return -1; }
int CDC::AbortDoc() { return -1; }
