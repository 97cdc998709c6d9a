#include "drawing/DiagramShape.h"

#include "drawing/VertexShape.h"

bool DiagramShape::IsSelected() const
{
    return m_selected || (m_ownerShape && m_ownerShape->IsSelected());
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
