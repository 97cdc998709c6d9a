#include "drawing/DiagramShape.h"

#include "drawing/VertexShape.h"

bool DiagramShape::IsSelected() const
{
    return m_selected || (m_ownerShape && m_ownerShape->IsSelected());
}

ShapeStyle Restyled(const ShapeStyle& own, const ShapeStyle& shown, const ShapeStyle& chosen)
{
    using namespace drawing;
    constexpr int32_t kDashBits = kDashMask << kDashShift;
    ShapeStyle style = own;
    for (int32_t mask : {kThicknessMask, kDashBits, kEndArrowBit, kStartArrowBit})
        if ((shown.penStyle & mask) != (chosen.penStyle & mask))
            style.penStyle = (style.penStyle & ~mask) | (chosen.penStyle & mask);
    if (shown.lineColour != chosen.lineColour)
        style.lineColour = chosen.lineColour;
    if (shown.fillColour != chosen.fillColour)
        style.fillColour = chosen.fillColour;
    if (shown.filled != chosen.filled)
        style.filled = chosen.filled;
    return style;
}

ItemArray<VertexShape> CollectVertices(const ItemArray<DiagramShape>& shapes)
{
    ItemArray<VertexShape> all;
    for (DiagramShape* shape : shapes)
        for (VertexShape* vertex : shape->GetVertices())
            all.AddOnce(vertex);
    return all;
}

// Decided by x first; only when a lies between b and c in neither order does
// the orientation of the three points (y growing upwards) decide.
bool SideTest(const VertexShape& a, const VertexShape& b, const VertexShape& c)
{
    const DPoint pa = a.GetPoint(), pb = b.GetPoint(), pc = c.GetPoint();
    if (pa.x > pb.x && pa.x <= pc.x)
        return true;
    if (pa.x <= pb.x && pa.x > pc.x)
        return false;
    return (pb.y - pa.y) * (pc.x - pa.x) < (pc.y - pa.y) * (pb.x - pa.x);
}
