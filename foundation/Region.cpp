#include "foundation/Region.h"

Region Region::RegionFromRect(const Rect& rect)
{
    Region r;
    r.m_rgn.CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    return r;
}

Region& Region::operator=(const Region& other)
{
    if (this != &other) {
        m_rgn.DeleteObject();
        m_rgn.CopyRgn(&other.m_rgn);
    }
    return *this;
}

void Region::UnionInto(const Region& other, Region& out) const
{
    Region result;
    result.m_rgn.CombineRgn(&m_rgn, &other.m_rgn, RGN_OR);
    out = result;
}

bool Region::IsEmpty() const
{
    Rect box;
    GetBox(box);
    return box.IsEmpty();
}
