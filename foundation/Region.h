#pragma once
// A region for highlights and clipping, owned by value. Region rectangles
// follow the platform's convention: right and bottom edges are outside.
#include "foundation/IntPoint.h"
#include "foundation/Rect.h"

class CRgn;

class Region {
public:
    Region();
    ~Region();
    static Region RegionFromRect(const Rect& rect);
    static Region RegionCopy(const Region& other) { return Region(other); }

    Region(const Region& other);
    // Safe when other is this region.
    Region& operator=(const Region& other);

    void UnionWith(const Region& other);
    void Xor(const Region& other);
    // out = this OR other, leaving this region unchanged.
    void UnionInto(const Region& other, Region& out) const;

    bool Contains(const IntPoint& p) const;
    void GetBox(Rect& out) const;
    bool IsEmpty() const;
    void Delete();

    const CRgn& Handle() const;

private:
    CRgn& Rgn();
    // The platform's region lives in place (it is one pointer wide), so that
    // this header needs no Qt and a region costs no allocation of its own.
    alignas(void*) unsigned char m_storage[sizeof(void*)];
};
