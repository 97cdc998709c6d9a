#include "drawing/VertexShape.h"
#include "drawing/PointConstraints.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramDC.h"
#include "drawing/DrawLabel.h"
#include "drawing/DrawValueComp.h"
#include "drawing/DrawVariable.h"
#include "drawing/ItemCopyMap.h"
#include "foundation/CharComp.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/FontFace.h"
#include "foundation/FontManager.h"
#include "platform/Exceptions.h"

using namespace drawing;

VertexShape::VertexShape() = default;

VertexShape::VertexShape(double x, double y, DiagramShape* owner)
    : DiagramShape(owner), m_x(new DrawVariable(x, false)), m_y(new DrawVariable(y, false))
{
}

VertexShape::VertexShape(DrawVariable* x, DrawVariable* y, DrawLabel* label, int32_t penStyle, COLORREF colour,
                         bool visible, DiagramShape* owner)
    : DiagramShape(owner), m_x(x), m_y(y), m_penStyle(penStyle), m_colour(colour)
{
    m_visible = visible;
    SetLabel(label);
}

VertexShape::~VertexShape()
{
    delete m_label;
    delete m_x;
    delete m_y;
}

double VertexShape::GetX() const
{
    return m_x ? m_x->GetValue() : 0.0;
}

double VertexShape::GetY() const
{
    return m_y ? m_y->GetValue() : 0.0;
}

void VertexShape::SetPoint(const DPoint& point)
{
    m_x->SetValue(point.x);
    m_y->SetValue(point.y);
}

void VertexShape::MoveBy(double dx, double dy)
{
    if (!m_x->IsFixed())
        m_x->SetValue(m_x->GetValue() + dx);
    if (!m_y->IsFixed())
        m_y->SetValue(m_y->GetValue() + dy);
}

void VertexShape::SetFixedAll(bool fixed)
{
    m_x->SetFixed(fixed);
    m_y->SetFixed(fixed);
    m_fixed = fixed;
}

bool VertexShape::IsNear(const VertexShape& other, const DiagramDC& dc) const
{
    return GetPoint().Distance(other.GetPoint()) < dc.PixelsToWorld(2);
}

bool VertexShape::IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    const DPoint p = GetPoint();
    return topLeft.x <= p.x && p.x <= bottomRight.x && bottomRight.y <= p.y && p.y <= topLeft.y;
}

// ---- item and shape operations ----

DiagramItem* VertexShape::HitTest(const DPoint& point, const DiagramDC& dc)
{
    return point.Distance(GetPoint()) <= kHitPoints * dc.GetBaseScale() ? this : nullptr;
}

void VertexShape::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    const bool selected = IsSelected();
    if (selected)
        dc.Highlight();
    dc.VertexMark(GetPoint(), m_penStyle, m_colour);
    if (selected)
        dc.Unhighlight();
}

bool VertexShape::CanShowLabel() const
{
    return !m_label || !m_label->IsShown();
}

DrawLabel* VertexShape::MakeLabel(DiagramComp* diagram)
{
    auto* row = new CompList;
    auto character = [](char c) { return gMathFace->GetCharacter(static_cast<unsigned char>(c)); };
    row->Append(character('('));
    row->Append(new DrawValueComp(m_x));
    row->Append(character(','));
    row->Append(new DrawValueComp(m_y));
    row->Append(character(')'));
    delete m_label;
    m_label = new DrawLabel(this, diagram, row);
    if (diagram)
        PlaceLabel(diagram->GetDC());
    return m_label;
}

void VertexShape::SetLabel(DrawLabel* label)
{
    m_label = label;
    if (label)
        label->SetOwner(this);
}

void VertexShape::PlaceLabel(const DiagramDC& dc)
{
    if (!m_label)
        return;
    const double reach = kVertexLabelPoints * dc.GetBaseScale();
    m_label->SetAnchor(GetPoint() + DPoint(reach, reach));
}

DiagramShape* VertexShape::Clone(ItemCopyMap& map)
{
    DrawVariable* x = map.FindOrCloneVariable(m_x);
    DrawVariable* y = map.FindOrCloneVariable(m_y);
    DrawLabel* label = m_label ? m_label->Clone(map) : nullptr;
    auto* copy = new VertexShape(x, y, label, m_penStyle, m_colour, m_visible, nullptr);
    copy->m_fixed = m_fixed;
    map.AddItem(this, copy);
    return copy;
}

void VertexShape::Attach(DiagramComp* diagram)
{
    m_x->SetOwner(diagram);
    m_y->SetOwner(diagram);
}

ShapeStyle VertexShape::GetStyle() const
{
    ShapeStyle style;
    style.penStyle = m_penStyle;
    style.lineColour = m_colour;
    return style;
}

void VertexShape::SetStyle(const ShapeStyle& style)
{
    m_penStyle = style.penStyle;
    m_colour = style.lineColour;
}

ItemArray<DiagramShape> VertexShape::ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight)
{
    ItemArray<DiagramShape> items;
    if (IsInRect(topLeft, bottomRight))
        items.Add(this);
    return items;
}

ItemArray<VertexShape> VertexShape::GetVertices() const
{
    ItemArray<VertexShape> vertices;
    vertices.Add(const_cast<VertexShape*>(this));
    return vertices;
}

ItemArray<DrawVariable> VertexShape::GetVariables() const
{
    ItemArray<DrawVariable> variables;
    variables.Add(m_x);
    variables.Add(m_y);
    return variables;
}

ItemArray<DrawLabel> VertexShape::GetLabels() const
{
    ItemArray<DrawLabel> labels;
    if (m_label)
        labels.Add(m_label);
    return labels;
}

// ---- file record ----

void VertexShape::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteByte(m_fixed ? 1 : 0);
    if (m_useCount > INT16_MAX)
        throw CException("A vertex is shared by too many shapes to be stored");
    writer.WriteShort(static_cast<int16_t>(m_useCount));
    writer.WriteVariableRef(m_x);
    writer.WriteVariableRef(m_y);
    writer.WriteByte(m_label ? 1 : 0);
    if (m_label)
        m_label->Write(writer);
    writer.WriteShort(static_cast<int16_t>(m_penStyle));
    writer.WriteColor(m_colour);
}

void VertexShape::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_fixed = reader.ReadBool();
    m_useCount = reader.ReadShort();
    if (m_useCount < 0)
        throw CFormatException("A vertex's use count is negative");
    m_x = DrawVariable::ReadOwned(reader);
    m_y = DrawVariable::ReadOwned(reader);
    if (reader.ReadBool())
        SetLabel(DrawLabel::ReadFor(this, reader, context));
    m_penStyle = reader.ReadShort();
    m_colour = reader.ReadColor();
}

DrawConstraint* VertexShape::MakeAttachConstraint(VertexShape* vertex)
{
    return new CoincidentConstraint(vertex, this);
}
