#include "drawing/CircleShape.h"
#include "drawing/CurveConstraints.h"

#include "drawing/DiagramDC.h"
#include "drawing/DrawVariable.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/VertexShape.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

using namespace drawing;

CircleShape::CircleShape(VertexShape* centre, DrawVariable* radius, const ShapeStyle& style)
    : m_centre(centre), m_radius(radius), m_style(style)
{
    m_centre->AddUse();
    m_centre->SetOwner(this);
}

CircleShape::~CircleShape()
{
    delete m_radius;
    if (m_centre && m_centre->RemoveUse() == 0 && m_centre->GetOwnerShape())
        delete m_centre;
}

ItemArray<DiagramShape> CircleShape::GetParts() const
{
    ItemArray<DiagramShape> parts;
    parts.Add(m_centre);
    return parts;
}

void CircleShape::ClaimParts()
{
    m_centre->SetOwner(this);
}

double CircleShape::GetRadius() const
{
    return m_radius ? m_radius->GetValue() : 0.0;
}

DiagramItem* CircleShape::HitTest(const DPoint& point, const DiagramDC& dc)
{
    if (DiagramItem* centre = m_centre->HitTest(point, dc))
        return centre;
    const double tolerance = kHitPoints * dc.GetBaseScale();
    const double d = point.Distance(m_centre->GetPoint());
    const double r = GetRadius();
    const bool onLine = (d - r >= 0 && d - r < tolerance) || (r - d >= 0 && r - d < tolerance);
    return onLine ? this : nullptr;
}

void CircleShape::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    const DPoint centre = m_centre->GetPoint();
    if (m_style.filled)
        dc.Disc(centre, GetRadius(), m_style.fillColour);
    const bool selected = IsSelected();
    if (selected)
        dc.Highlight();
    dc.CircleOutline(centre, GetRadius(), m_style.penStyle, m_style.lineColour);
    m_centre->Draw(dc);
    if (selected)
        dc.Unhighlight();
}

DiagramShape* CircleShape::Clone(ItemCopyMap& map)
{
    auto* centre = map.FindOrClone(m_centre);
    auto* copy = new CircleShape(centre, map.FindOrCloneVariable(m_radius), GetStyle());
    copy->m_visible = m_visible;
    map.AddItem(this, copy);
    return copy;
}

void CircleShape::Attach(DiagramComp* diagram)
{
    m_centre->Attach(diagram);
    m_radius->SetOwner(diagram);
}

ItemArray<DiagramShape> CircleShape::ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight)
{
    ItemArray<DiagramShape> items;
    const DPoint c = m_centre->GetPoint();
    const double r = GetRadius();
    if (c.x - r >= topLeft.x && c.x + r <= bottomRight.x && c.y + r <= topLeft.y && c.y - r >= bottomRight.y)
        items.Add(this);
    else if (m_centre->IsInRect(topLeft, bottomRight))
        items.Add(m_centre);
    return items;
}

ItemArray<VertexShape> CircleShape::GetVertices() const
{
    ItemArray<VertexShape> vertices;
    vertices.Add(m_centre);
    return vertices;
}

ItemArray<DrawVariable> CircleShape::GetVariables() const
{
    ItemArray<DrawVariable> variables;
    variables.Add(m_radius);
    variables.Add(m_centre->GetXVar());
    variables.Add(m_centre->GetYVar());
    return variables;
}

bool CircleShape::HasAnyLabel() const
{
    return m_centre->HasAnyLabel();
}

ItemArray<DrawLabel> CircleShape::GetLabels() const
{
    return m_centre->GetLabels();
}

void CircleShape::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_centre);
    writer.WriteVariableRef(m_radius);
    writer.WriteShort(static_cast<int16_t>(m_style.penStyle));
    writer.WriteColor(m_style.lineColour);
    writer.WriteByte(m_style.filled ? 1 : 0);
    writer.WriteColor(m_style.fillColour);
}

void CircleShape::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_centre = dynamic_cast<VertexShape*>(reader.ReadVertexRef());
    if (!m_centre)
        throw CFormatException("A circle's centre is not a vertex");
    m_centre->SetOwner(this);
    m_radius = DrawVariable::ReadOwned(reader);
    m_style.penStyle = reader.ReadShort();
    m_style.lineColour = reader.ReadColor();
    m_style.filled = reader.ReadBool();
    m_style.fillColour = reader.ReadColor();
}

DrawConstraint* CircleShape::MakeAttachConstraint(VertexShape* vertex)
{
    return new PointOnCircleConstraint(m_centre, m_radius, vertex);
}
