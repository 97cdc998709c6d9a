#include "drawing/SegmentShape.h"
#include "drawing/LineConstraints.h"

#include "drawing/DiagramDC.h"
#include "drawing/DiagramEdit.h"
#include "drawing/DrawLabel.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/VertexShape.h"

using namespace drawing;

DiagramItem* SegmentShape::HitTest(const DPoint& point, const DiagramDC& dc)
{
    if (DiagramItem* hit = m_start->HitTest(point, dc))
        return hit;
    if (DiagramItem* hit = m_end->HitTest(point, dc))
        return hit;
    return IsNearSegment(point, m_start->GetPoint(), m_end->GetPoint(), kHitPoints * dc.GetBaseScale()) ? this
                                                                                                         : nullptr;
}

void SegmentShape::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    const bool selected = IsSelected();
    if (selected)
        dc.Highlight();
    const bool free = !GetOwnerShape();
    dc.DashedLine(m_start->GetPoint(), m_end->GetPoint(), m_penStyle, m_penColour, free);
    if (free) {
        DrawStartArrow(dc);
        DrawEndArrow(dc);
        m_start->Draw(dc);
        m_end->Draw(dc);
    }
    if (selected)
        dc.Unhighlight();
}

DiagramShape* SegmentShape::Clone(ItemCopyMap& map)
{
    auto* start = map.FindOrClone(m_start);
    auto* end = map.FindOrClone(m_end);
    DrawLabel* label = m_label ? m_label->Clone(map) : nullptr;
    auto* copy = new SegmentShape(start, end, label, m_penStyle, m_penColour);
    copy->m_visible = m_visible;
    map.AddItem(this, copy);
    return copy;
}

DiagramShape* SegmentShape::SetOwner(DiagramShape* owner)
{
    DiagramShape::SetOwner(owner);
    if (!owner)
        ClaimParts();
    return owner;
}

ItemArray<DiagramShape> SegmentShape::GetSides() const
{
    ItemArray<DiagramShape> sides;
    sides.Add(const_cast<SegmentShape*>(this));
    return sides;
}

void SegmentShape::AppendOutlinePoints(std::vector<DPoint>& points) const
{
    points.push_back(points.back() == m_start->GetPoint() ? m_end->GetPoint() : m_start->GetPoint());
}

DiagramEditGroup* SegmentShape::RemovePart(DiagramShape* part)
{
    VertexShape* other = part == m_start ? m_end : m_start;
    other->DiagramShape::SetOwner(nullptr);
    ItemArray<DiagramShape> parts;
    parts.Add(other);
    return new DiagramEditGroup(this, std::move(parts));
}

void SegmentShape::DrawStartArrow(DiagramDC& dc) const
{
    if (m_penStyle & kStartArrowBit)
        DrawArrow(dc, m_start->GetPoint(), m_end->GetPoint());
}

void SegmentShape::DrawEndArrow(DiagramDC& dc) const
{
    if (m_penStyle & kEndArrowBit)
        DrawArrow(dc, m_end->GetPoint(), m_start->GetPoint());
}

bool SegmentShape::AppendPathStep(const DiagramDC& dc, std::string& text, bool lineBefore,
                                  VertexShape*& current) const
{
    current = current == m_start ? m_end : m_start;
    text += (lineBefore ? "" : "L ") + DevicePointText(dc, current->GetPoint());
    return true;
}

DrawConstraint* SegmentShape::MakeAttachConstraint(VertexShape* vertex)
{
    return new PointOnSegmentConstraint(m_start, m_end, vertex);
}
