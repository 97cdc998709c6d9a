#include "drawing/EdgeShape.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramDC.h"
#include "drawing/DrawLabel.h"
#include "drawing/VertexShape.h"
#include "foundation/CompList.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

#include <cstdio>

using namespace drawing;

std::string DevicePointText(const DiagramDC& dc, const DPoint& point)
{
    const IntPoint d = dc.WorldToScreen(point);
    char text[32];
    std::snprintf(text, sizeof text, "%d %d ", d.x, d.y);
    return text;
}

EdgeShape::EdgeShape(VertexShape* start, VertexShape* end, DiagramShape* owner)
    : DiagramShape(owner), m_start(start), m_end(end)
{
    m_start->AddUse();
    m_end->AddUse();
    if (!owner) {
        m_start->SetOwner(this);
        m_end->SetOwner(this);
    }
    EdgeShape::SetStyle(ShapeStyle());
}

EdgeShape::EdgeShape(VertexShape* start, VertexShape* end, DrawLabel* label, int32_t penStyle, COLORREF colour,
                     DiagramShape* owner)
    : DiagramShape(owner), m_start(start), m_end(end), m_penStyle(penStyle), m_penColour(colour)
{
    m_start->AddUse();
    m_end->AddUse();
    if (!owner) {
        m_start->SetOwner(this);
        m_end->SetOwner(this);
    }
    EdgeShape::SetLabel(label);
}

EdgeShape::~EdgeShape()
{
    delete m_label;
    LetGo(m_start);
    LetGo(m_end);
}

// A vertex without an owner is a shape of a drawing's list, which frees it.
void EdgeShape::LetGo(VertexShape*& vertex)
{
    if (vertex && vertex->RemoveUse() == 0 && vertex->GetOwnerShape())
        delete vertex;
    vertex = nullptr;
}

void EdgeShape::DropVertexUnlessOwnedBy(VertexShape*& vertex, DiagramShape* keeper)
{
    if (vertex && vertex->GetOwnerShape() != keeper && vertex->GetOwnerShape() != this) {
        vertex->RemoveUse();
        vertex = nullptr;
    }
}

void EdgeShape::ReplaceEnd(VertexShape* oldVertex, VertexShape* newVertex, bool deleteOld)
{
    VertexShape*& slot = oldVertex == m_start ? m_start : m_end;
    if (slot != oldVertex)
        return;
    newVertex->AddUse();
    if (deleteOld)
        LetGo(slot);
    else
        slot->RemoveUse();
    slot = newVertex;
}

std::vector<VertexShape**> EdgeShape::VertexSlots()
{
    return {&m_start, &m_end};
}

std::vector<VertexShape*> EdgeShape::VertexList() const
{
    std::vector<VertexShape*> vertices;
    for (VertexShape** slot : const_cast<EdgeShape*>(this)->VertexSlots())
        if (*slot)
            vertices.push_back(*slot);
    return vertices;
}

ItemArray<DiagramShape> EdgeShape::GetParts() const
{
    ItemArray<DiagramShape> parts;
    for (VertexShape* vertex : VertexList())
        parts.Add(vertex);
    return parts;
}

void EdgeShape::ForgetParts()
{
    for (VertexShape** slot : VertexSlots())
        *slot = nullptr;
}

void EdgeShape::Select()
{
    DiagramShape::Select();
    for (VertexShape* vertex : VertexList())
        vertex->Select();
}

void EdgeShape::Deselect()
{
    DiagramShape::Deselect();
    for (VertexShape* vertex : VertexList())
        vertex->Deselect();
}

void EdgeShape::Attach(DiagramComp* diagram)
{
    for (VertexShape* vertex : VertexList())
        vertex->Attach(diagram);
}

void EdgeShape::ReleaseVertices(DiagramShape* keeper)
{
    for (VertexShape** slot : VertexSlots())
        DropVertexUnlessOwnedBy(*slot, keeper);
}

void EdgeShape::ClaimParts()
{
    for (VertexShape* vertex : VertexList())
        vertex->SetOwner(this);
}

ItemArray<DiagramShape> EdgeShape::ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight)
{
    ItemArray<DiagramShape> items;
    if (LiesInRect(topLeft, bottomRight)) {
        items.Add(this);
        return items;
    }
    for (VertexShape* vertex : VertexList())
        if (vertex->IsInRect(topLeft, bottomRight))
            items.Add(vertex);
    return items;
}

ItemArray<VertexShape> EdgeShape::GetVertices() const
{
    ItemArray<VertexShape> vertices;
    for (VertexShape* vertex : VertexList())
        vertices.Add(vertex);
    return vertices;
}

ItemArray<DrawVariable> EdgeShape::GetVariables() const
{
    ItemArray<DrawVariable> variables;
    for (VertexShape* vertex : VertexList()) {
        variables.Add(vertex->GetXVar());
        variables.Add(vertex->GetYVar());
    }
    return variables;
}

bool EdgeShape::HasAnyLabel() const
{
    return !GetLabels().IsEmpty();
}

// The own label, then those of the vertices this edge owns.
ItemArray<DrawLabel> EdgeShape::GetLabels() const
{
    ItemArray<DrawLabel> labels;
    if (m_label)
        labels.Add(m_label);
    for (VertexShape* vertex : VertexList())
        if (vertex->GetOwnerShape() == this && vertex->HasLabel())
            labels.Add(vertex->GetLabel());
    return labels;
}

bool EdgeShape::CanShowLabel() const
{
    return !m_label || !m_label->IsShown();
}

DrawLabel* EdgeShape::MakeLabel(DiagramComp* diagram)
{
    delete m_label;
    m_label = new DrawLabel(this, diagram, new CompList);
    if (diagram)
        PlaceLabel(diagram->GetDC());
    return m_label;
}

void EdgeShape::SetLabel(DrawLabel* label)
{
    m_label = label;
    if (label)
        label->SetOwner(this);
}

void EdgeShape::PlaceLabel(const DiagramDC& dc)
{
    if (!m_label)
        return;
    const DPoint a = m_start->GetPoint(), b = m_end->GetPoint();
    const DPoint d = b - a;
    const double length = a.Distance(b);
    const DPoint middle = (a + b) * 0.5;
    if (length <= 0.0) {
        m_label->SetAnchor(middle);
        return;
    }
    const double reach = kEdgeLabelPoints * dc.GetBaseScale() / length;
    m_label->SetAnchor(middle + DPoint(d.y * reach, -d.x * reach));
}

ShapeStyle EdgeShape::GetStyle() const
{
    ShapeStyle style;
    style.penStyle = m_penStyle;
    style.lineColour = m_penColour;
    return style;
}

void EdgeShape::SetStyle(const ShapeStyle& style)
{
    m_penStyle = style.penStyle;
    m_penColour = style.lineColour;
    m_start->SetStyle(style);
    m_end->SetStyle(style);
}

DiagramShape* EdgeShape::FirstSideAt(VertexShape* vertex)
{
    if (vertex == m_end || (vertex == m_start && m_end->GetX() <= m_start->GetX()))
        return this;
    return nullptr;
}

DiagramShape* EdgeShape::SecondSideAt(VertexShape* vertex)
{
    return vertex == m_start && m_end->GetX() > m_start->GetX() ? this : nullptr;
}

DiagramShape* EdgeShape::FindSide(VertexShape* a, VertexShape* b)
{
    return (a == m_start && b == m_end) || (a == m_end && b == m_start) ? this : nullptr;
}

bool EdgeShape::LiesInRect(const DPoint& topLeft, const DPoint& bottomRight) const
{
    for (VertexShape* vertex : VertexList())
        if (!vertex->IsInRect(topLeft, bottomRight))
            return false;
    return true;
}

// The tip, and the two corners of the base 1.5 units back along the edge.
// A zero-length edge has no direction and draws no arrowhead.
void EdgeShape::DrawArrow(DiagramDC& dc, const DPoint& tip, const DPoint& from) const
{
    const double length = tip.Distance(from);
    if (length <= 0.0)
        return;
    const DPoint u = (from - tip) * (1.0 / length);
    const DPoint n(-u.y, u.x);
    const double unit = kArrowUnitPoints * kScreenArrowFactor * dc.GetBaseScale();
    const DPoint a = tip + u * (1.5 * unit) - n * (0.5 * unit);
    const DPoint b = tip + u * (1.5 * unit) + n * (0.5 * unit);
    dc.FillPolygon({tip, a, b, tip}, m_penColour);
}

// ---- file record ----

void EdgeShape::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteSharedObject(m_start);
    writer.WriteSharedObject(m_end);
    writer.WriteByte(m_label ? 1 : 0);
    if (m_label)
        m_label->Write(writer);
    writer.WriteShort(static_cast<int16_t>(m_penStyle));
    writer.WriteColor(m_penColour);
}

VertexShape* EdgeShape::ReadUsedVertex(DocReader& reader, DiagramShape* user)
{
    auto* vertex = dynamic_cast<VertexShape*>(reader.ReadVertexRef());
    if (!vertex)
        throw CFormatException("An edge's end is not a vertex");
    if (!vertex->GetOwnerShape())
        vertex->SetOwner(user);
    return vertex;
}

// The use counts come with the vertices' own records.
void EdgeShape::ReadEnds(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    m_start = ReadUsedVertex(reader, this);
    m_end = ReadUsedVertex(reader, this);
}

void EdgeShape::Read(DocReader& reader, void* context)
{
    ReadEnds(reader, context);
    if (reader.ReadBool())
        SetLabel(DrawLabel::ReadFor(this, reader, context));
    m_penStyle = reader.ReadShort();
    m_penColour = reader.ReadColor();
}
