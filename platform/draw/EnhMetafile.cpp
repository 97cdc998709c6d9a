#include "platform/draw/EnhMetafile.h"

#include "platform/draw/EmfFormat.h"

#include <algorithm>
#include <cmath>

namespace {

struct Header {
    CRect bounds;  // inclusive, as stored
    CRect frame;   // inclusive, 0.01 mm
    std::int32_t devicePx[2] = {0, 0};
    std::int32_t deviceMm[2] = {0, 0};
    std::uint32_t micrometres[2] = {0, 0};
};

bool readHeader(const QByteArray& bytes, Header& h)
{
    emf::Reader r(bytes.constData(), std::size_t(bytes.size()));
    std::uint32_t type = 0, size = 0, signature = 0;
    if (!r.u32(0, type) || !r.u32(4, size) || !r.u32(40, signature))
        return false;
    if (type != emf::EMR_HEADER || signature != emf::kSignature || size < emf::kHeaderMinSize
        || size > bytes.size() || size % 4 != 0)
        return false;
    std::int32_t v[8];
    for (int i = 0; i < 8; ++i)
        r.i32(8 + 4 * i, v[i]);
    h.bounds = CRect(v[0], v[1], v[2], v[3]);
    h.frame = CRect(v[4], v[5], v[6], v[7]);
    r.i32(72, h.devicePx[0]);
    r.i32(76, h.devicePx[1]);
    r.i32(80, h.deviceMm[0]);
    r.i32(84, h.deviceMm[1]);
    if (size >= emf::kHeaderSize) {
        r.u32(100, h.micrometres[0]);
        r.u32(104, h.micrometres[1]);
    }
    return true;
}

double dpiOf(const Header& h, int axis)
{
    double px = h.devicePx[axis];
    double mm = h.micrometres[axis] > 0 ? h.micrometres[axis] / 1000.0 : double(h.deviceMm[axis]);
    if (px <= 0 || mm <= 0)
        return 96.0;
    double dpi = px * 25.4 / mm;
    return (dpi >= 1.0 && dpi <= 100000.0) ? dpi : 96.0;
}

}  // namespace

bool EnhMetafile::IsValid() const
{
    Header h;
    return readHeader(m_bytes, h);
}

CRect EnhMetafile::GetBounds() const
{
    Header h;
    if (!readHeader(m_bytes, h) || h.bounds.right < h.bounds.left || h.bounds.bottom < h.bounds.top)
        return {};
    return CRect(h.bounds.left, h.bounds.top, h.bounds.right + 1, h.bounds.bottom + 1);
}

CRect EnhMetafile::GetFrame() const
{
    Header h;
    return readHeader(m_bytes, h) ? h.frame : CRect();
}

double EnhMetafile::ReferenceDpiX() const
{
    Header h;
    return readHeader(m_bytes, h) ? dpiOf(h, 0) : 96.0;
}

double EnhMetafile::ReferenceDpiY() const
{
    Header h;
    return readHeader(m_bytes, h) ? dpiOf(h, 1) : 96.0;
}

CRect EnhMetafile::FrameInPixels() const
{
    Header h;
    if (!readHeader(m_bytes, h))
        return {};
    double sx = dpiOf(h, 0) / 2540.0;
    double sy = dpiOf(h, 1) / 2540.0;
    auto px = [](double v) { return int(std::lround(std::clamp(v, -1e9, 1e9))); };
    return CRect(px(h.frame.left * sx), px(h.frame.top * sy), px(h.frame.right * sx), px(h.frame.bottom * sy));
}

HENHMETAFILE CopyEnhMetaFile(HENHMETAFILE source)
{
    return source ? new EnhMetafile(*source) : nullptr;
}

bool DeleteEnhMetaFile(HENHMETAFILE handle)
{
    delete handle;
    return handle != nullptr;
}
