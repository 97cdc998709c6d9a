#pragma once
// A region of device or logical pixels, held as a value. Rectangles follow the
// platform's convention: the right and bottom edges are not part of the region.
#include "platform/draw/GdiTypes.h"

#include <QRegion>

class CRgn {
public:
    CRgn() = default;
    explicit CRgn(const CRect& rect) { CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom); }
    explicit CRgn(const QRegion& region) : m_region(region) {}

    // (Re)makes the region a rectangle; an empty rectangle gives an empty region.
    bool CreateRectRgn(int left, int top, int right, int bottom);
    bool CreateRectRgnIndirect(const CRect& rect) { return CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom); }
    bool CreateEllipticRgn(int left, int top, int right, int bottom);
    bool DeleteObject();
    void SetRectRgn(int left, int top, int right, int bottom) { CreateRectRgn(left, top, right, bottom); }

    // Combines a and b with RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF or RGN_COPY (a
    // only) into this region; either may be this region itself. Answers the
    // kind of the result (NULLREGION, SIMPLEREGION, COMPLEXREGION).
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source) { return CombineRgn(source, nullptr, RGN_COPY); }

    void UnionWith(const CRgn& other);
    void XorWith(const CRgn& other);
    void Subtract(const CRgn& other);
    void IntersectWith(const CRgn& other);
    void OffsetRgn(int dx, int dy);

    bool PtInRegion(int x, int y) const;
    bool PtInRegion(CPoint p) const { return PtInRegion(p.x, p.y); }
    bool RectInRegion(const CRect& rect) const;
    int GetRgnBox(CRect* box) const;
    CRect GetBox() const;
    bool IsEmpty() const { return m_region.isEmpty(); }
    bool EqualRgn(const CRgn& other) const { return m_region == other.m_region; }
    int Kind() const;

    // The frame of the region: the region less its copy shrunk by width
    // pixels from the left and right and height pixels from the top and bottom.
    CRgn Frame(int width, int height) const;

    const QRegion& region() const { return m_region; }

private:
    QRegion m_region;
};
