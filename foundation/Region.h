#pragma once
// A region for highlights and clipping, owned by value. Region rectangles
// follow the platform's convention: right and bottom edges are outside.
#include "foundation/IntPoint.h"
#include "foundation/Rect.h"
#include "platform/draw/CRgn.h"

class Region {
public:
    Region() = default;
    static Region RegionFromRect(const Rect& rect);
    static Region RegionCopy(const Region& other) { return Region(other); }

    Region(const Region& other) = default;
    // Safe when other is this region.
    Region& operator=(const Region& other);

    void UnionWith(const Region& other) { m_rgn.UnionWith(other.m_rgn); }
    void Xor(const Region& other) { m_rgn.XorWith(other.m_rgn); }
    // out = this OR other, leaving this region unchanged.
    void UnionInto(const Region& other, Region& out) const;

    bool Contains(const IntPoint& p) const { return m_rgn.PtInRegion(p.x, p.y); }
    void GetBox(Rect& out) const { out = Rect(m_rgn.GetBox()); }
    bool IsEmpty() const;
    void Delete() { m_rgn.DeleteObject(); }

    const CRgn& Handle() const { return m_rgn; }

private:
    CRgn m_rgn;
};
