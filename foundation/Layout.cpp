#include "foundation/Layout.h"

#include "foundation/DocPosition.h"

void Layout::PositionAt(const IntPoint&, DocPosition& out, bool)
{
    out = DocPosition();
}

bool Layout::IsEqual(const Layout& other) const
{
    return Tag() == other.Tag() && m_start == other.m_start && AbsRect() == other.AbsRect();
}

bool Layout::HitTest(const IntPoint& point) const
{
    return AbsRect().Contains(point);
}
