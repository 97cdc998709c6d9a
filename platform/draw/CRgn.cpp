// Regions over QRegion. A rectangle (l, t, r, b) covers the pixels l..r-1 and
// t..b-1.
#include "platform/draw/CRgn.h"

namespace {

QRect pixelRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top)
        return {};
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    QRect r = pixelRect(left, top, right, bottom);
    m_region = r.isEmpty() ? QRegion() : QRegion(r);
    return true;
}

bool CRgn::CreateEllipticRgn(int left, int top, int right, int bottom)
{
    QRect r = pixelRect(left, top, right, bottom);
    m_region = r.isEmpty() ? QRegion() : QRegion(r, QRegion::Ellipse);
    return true;
}

bool CRgn::DeleteObject()
{
    m_region = QRegion();
    return true;
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode)
{
    if (!a || (mode != RGN_COPY && !b))
        return RGN_ERROR;
    QRegion left = a->m_region;  // copies first, so a or b may be this region
    QRegion right = b ? b->m_region : QRegion();
    switch (mode) {
    case RGN_AND: m_region = left.intersected(right); break;
    case RGN_OR: m_region = left.united(right); break;
    case RGN_XOR: m_region = left.xored(right); break;
    case RGN_DIFF: m_region = left.subtracted(right); break;
    case RGN_COPY: m_region = left; break;
    default: return RGN_ERROR;
    }
    return Kind();
}

void CRgn::UnionWith(const CRgn& other) { m_region = m_region.united(other.m_region); }
void CRgn::XorWith(const CRgn& other) { m_region = m_region.xored(other.m_region); }
void CRgn::Subtract(const CRgn& other) { m_region = m_region.subtracted(other.m_region); }
void CRgn::IntersectWith(const CRgn& other) { m_region = m_region.intersected(other.m_region); }
void CRgn::OffsetRgn(int dx, int dy) { m_region.translate(dx, dy); }

bool CRgn::PtInRegion(int x, int y) const
{
    return m_region.contains(QPoint(x, y));
}

bool CRgn::RectInRegion(const CRect& rect) const
{
    QRect r = pixelRect(rect.left, rect.top, rect.right, rect.bottom);
    return !r.isEmpty() && m_region.intersects(r);
}

CRect CRgn::GetBox() const
{
    if (m_region.isEmpty())
        return {};
    QRect b = m_region.boundingRect();
    return CRect(b.left(), b.top(), b.left() + b.width(), b.top() + b.height());
}

int CRgn::GetRgnBox(CRect* box) const
{
    if (box)
        *box = GetBox();
    return Kind();
}

int CRgn::Kind() const
{
    if (m_region.isEmpty())
        return NULLREGION;
    return m_region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

CRgn CRgn::Frame(int width, int height) const
{
    // The shrunk copy keeps a pixel when every pixel up to width away
    // horizontally and up to height away vertically is in the region.
    QRegion shrunk = m_region;
    for (int k = 1; k <= width; ++k)
        shrunk = shrunk.intersected(m_region.translated(k, 0)).intersected(m_region.translated(-k, 0));
    QRegion vertical = shrunk;
    for (int k = 1; k <= height; ++k)
        vertical = vertical.intersected(shrunk.translated(0, k)).intersected(shrunk.translated(0, -k));
    return CRgn(m_region.subtracted(vertical));
}
