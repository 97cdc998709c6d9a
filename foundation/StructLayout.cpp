#include "foundation/StructLayout.h"

#include "foundation/DocPosition.h"
#include "foundation/TextComp.h"

void StructLayout::Measure()
{
    if (m_comp->IsDirty()) {
        m_comp->Measure();
        m_changed = 1;
    }
    m_comp->GetBounds(m_measured);
    m_rect = m_measured;
}

void StructLayout::MoveTo(const IntPoint& p)
{
    Layout::MoveTo(p);
    m_comp->SetOrigin(m_offset);
}

void StructLayout::MoveBy(const IntPoint& p)
{
    Layout::MoveBy(p);
    m_comp->SetOrigin(m_offset);
}

void StructLayout::PositionAt(const IntPoint& point, DocPosition& out, bool nearest)
{
    m_comp->PositionFromPoint(out, point, nearest);
    // The item's box may reach beyond the structure (the last item of a line
    // reaches the page's right edge): a point beside the structure itself is
    // before or after it, never inside it.
    Rect bounds;
    m_comp->GetAbsBounds(bounds);
    const bool beside = point.x < bounds.left || point.x >= bounds.right;
    if (beside && out.GetList() != m_comp->GetOwner())
        m_comp->TextComp::PositionFromPoint(out, point, true);
}

void StructLayout::GetAbsRect(int32_t index, Rect& out) const
{
    out = AbsRect();
    if (index >= EndIndex())
        out.left = out.right = ContentRight();
}

TextComp* StructLayout::ComponentAt(const IntPoint& point)
{
    return m_comp->ComponentAt(point);
}

void StructLayout::Draw()
{
    m_comp->Draw();
}

bool StructLayout::IsEqual(const Layout& other) const
{
    if (m_changed) {
        m_changed = 0;
        return false;
    }
    auto* item = dynamic_cast<const StructLayout*>(&other);
    return Layout::IsEqual(other) && item && item->m_comp == m_comp;
}
