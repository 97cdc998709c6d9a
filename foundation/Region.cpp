#include "foundation/Region.h"

#include "platform/draw/CRgn.h"

#include <new>

static_assert(sizeof(CRgn) <= sizeof(void*) && alignof(CRgn) <= alignof(void*),
              "Region keeps its CRgn in a buffer one pointer wide");

Region::Region()
{
    new (m_storage) CRgn;
}

Region::~Region()
{
    Rgn().~CRgn();
}

Region::Region(const Region& other)
{
    new (m_storage) CRgn(other.Handle());
}

CRgn& Region::Rgn()
{
    return *std::launder(reinterpret_cast<CRgn*>(m_storage));
}

const CRgn& Region::Handle() const
{
    return *std::launder(reinterpret_cast<const CRgn*>(m_storage));
}

Region Region::RegionFromRect(const Rect& rect)
{
    Region r;
    r.Rgn().CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    return r;
}

Region& Region::operator=(const Region& other)
{
    if (this != &other) {
        Rgn().DeleteObject();
        Rgn().CopyRgn(&other.Handle());
    }
    return *this;
}

void Region::UnionWith(const Region& other)
{
    Rgn().UnionWith(other.Handle());
}

void Region::Xor(const Region& other)
{
    Rgn().XorWith(other.Handle());
}

void Region::UnionInto(const Region& other, Region& out) const
{
    Region result;
    result.Rgn().CombineRgn(&Handle(), &other.Handle(), RGN_OR);
    out = result;
}

bool Region::Contains(const IntPoint& p) const
{
    return Handle().PtInRegion(p.x, p.y);
}

void Region::GetBox(Rect& out) const
{
    out = Rect(Handle().GetBox());
}

bool Region::IsEmpty() const
{
    Rect box;
    GetBox(box);
    return box.IsEmpty();
}

void Region::Delete()
{
    Rgn().DeleteObject();
}
