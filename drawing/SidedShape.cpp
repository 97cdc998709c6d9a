#include "drawing/SidedShape.h"

#include "drawing/DiagramDC.h"
#include "drawing/DiagramEdit.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/PolygonShape.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

#include <algorithm>

using namespace drawing;

SidedShape::SidedShape(int count)
    : m_sides(static_cast<size_t>(count), nullptr), m_vertices(static_cast<size_t>(count), nullptr)
{
}

SidedShape::SidedShape(const std::vector<VertexShape*>& vertices) : m_vertices(vertices)
{
    const size_t n = vertices.size();
    for (size_t i = 0; i < n; ++i)
        m_sides.push_back(new SegmentShape(vertices[i], vertices[(i + 1) % n], this));
    for (VertexShape* vertex : m_vertices)
        vertex->SetOwner(this);
    SidedShape::SetStyle(ShapeStyle());
}

SidedShape::SidedShape(std::vector<VertexShape*> vertices, std::vector<SegmentShape*> sides, bool filled,
                       COLORREF fill)
    : m_sides(std::move(sides)), m_vertices(std::move(vertices)), m_fillColour(fill), m_filled(filled)
{
    SidedShape::ClaimParts();
}

SidedShape::~SidedShape()
{
    for (SegmentShape* side : m_sides)
        delete side;
}

int SidedShape::IndexOfSide(const DiagramShape* side) const
{
    auto it = std::find(m_sides.begin(), m_sides.end(), side);
    return it == m_sides.end() ? -1 : static_cast<int>(it - m_sides.begin());
}

int SidedShape::IndexOfVertex(const DiagramShape* vertex) const
{
    auto it = std::find(m_vertices.begin(), m_vertices.end(), vertex);
    return it == m_vertices.end() ? -1 : static_cast<int>(it - m_vertices.begin());
}

DiagramItem* SidedShape::HitTest(const DPoint& point, const DiagramDC& dc)
{
    for (SegmentShape* side : m_sides)
        if (DiagramItem* hit = side->HitTest(point, dc))
            return hit;
    return nullptr;
}

void SidedShape::Draw(DiagramDC& dc)
{
    if (!m_visible)
        return;
    if (m_filled) {
        std::vector<DPoint> outline;
        AppendOutlinePoints(outline);
        dc.FillPolygon(outline, m_fillColour);
    }
    const bool selected = IsSelected();
    if (selected)
        dc.Highlight();
    for (SegmentShape* side : m_sides) {
        side->Draw(dc);
        // The arrowheads the user gave a side of its own.
        side->DrawStartArrow(dc);
        side->DrawEndArrow(dc);
    }
    for (VertexShape* vertex : m_vertices)
        vertex->Draw(dc);
    if (selected)
        dc.Unhighlight();
}

DiagramShape* SidedShape::Clone(ItemCopyMap& map)
{
    std::vector<VertexShape*> vertices;
    for (VertexShape* vertex : m_vertices)
        vertices.push_back(map.FindOrClone(vertex));
    std::vector<SegmentShape*> sides;
    for (SegmentShape* side : m_sides)
        sides.push_back(map.FindOrClone(side));
    SidedShape* copy = MakeCopy(std::move(vertices), std::move(sides));
    copy->m_fillColour = m_fillColour;
    copy->m_filled = m_filled;
    copy->m_visible = m_visible;
    map.AddItem(this, copy);
    return copy;
}

void SidedShape::Attach(DiagramComp* diagram)
{
    for (VertexShape* vertex : m_vertices)
        vertex->Attach(diagram);
}

ShapeStyle SidedShape::GetStyle() const
{
    ShapeStyle style = m_sides.front() ? m_sides.front()->GetStyle() : ShapeStyle();
    style.fillColour = m_fillColour;
    style.filled = m_filled;
    return style;
}

void SidedShape::SetStyle(const ShapeStyle& style)
{
    m_fillColour = style.fillColour;
    m_filled = style.filled;
    for (SegmentShape* side : m_sides)
        side->SetStyle(style);
}

void SidedShape::Restyle(const ShapeStyle& shown, const ShapeStyle& chosen)
{
    m_fillColour = chosen.fillColour;
    m_filled = chosen.filled;
    for (SegmentShape* side : m_sides)
        side->SetStyle(Restyled(side->GetStyle(), shown, chosen));
}

void SidedShape::ReleaseVertices(DiagramShape* keeper)
{
    for (SegmentShape*& side : m_sides) {
        if (!side)
            continue;
        if (side->GetOwnerShape() != this)
            side = nullptr;
        else
            side->ReleaseVertices(this);
    }
}

void SidedShape::ClaimParts()
{
    for (SegmentShape* side : m_sides)
        side->SetOwner(this);
    for (VertexShape* vertex : m_vertices)
        vertex->SetOwner(this);
}

ItemArray<DiagramShape> SidedShape::ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight)
{
    return ItemsOfPartsInRect(this, m_sides, topLeft, bottomRight);
}

ItemArray<VertexShape> SidedShape::GetVertices() const
{
    ItemArray<VertexShape> vertices;
    for (VertexShape* vertex : m_vertices)
        vertices.Add(vertex);
    return vertices;
}

ItemArray<DiagramShape> SidedShape::GetSides() const
{
    ItemArray<DiagramShape> sides;
    for (SegmentShape* side : m_sides)
        if (side)
            sides.Add(side);
    return sides;
}

ItemArray<VertexShape> SidedShape::GetVertexUses() const
{
    ItemArray<VertexShape> uses;
    for (SegmentShape* side : m_sides)
        if (side)
            for (VertexShape* vertex : side->GetVertexUses())
                uses.Add(vertex);
    return uses;
}

ItemArray<DiagramShape> SidedShape::GetParts() const
{
    ItemArray<DiagramShape> parts = GetSides();
    for (VertexShape* vertex : m_vertices)
        if (vertex)
            parts.Add(vertex);
    return parts;
}

void SidedShape::ForgetParts()
{
    std::fill(m_sides.begin(), m_sides.end(), nullptr);
    std::fill(m_vertices.begin(), m_vertices.end(), nullptr);
}

void SidedShape::AppendOutlinePoints(std::vector<DPoint>& points) const
{
    for (VertexShape* vertex : m_vertices)
        points.push_back(vertex->GetPoint());
}

ItemArray<DrawVariable> SidedShape::GetVariables() const
{
    ItemArray<DrawVariable> variables;
    for (VertexShape* vertex : m_vertices) {
        variables.Add(vertex->GetXVar());
        variables.Add(vertex->GetYVar());
    }
    return variables;
}

bool SidedShape::HasAnyLabel() const
{
    return !GetLabels().IsEmpty();
}

ItemArray<DrawLabel> SidedShape::GetLabels() const
{
    ItemArray<DrawLabel> labels;
    for (VertexShape* vertex : m_vertices)
        if (vertex->HasLabel())
            labels.Add(vertex->GetLabel());
    for (SegmentShape* side : m_sides)
        if (side->HasLabel())
            labels.Add(side->GetLabel());
    return labels;
}

std::pair<SegmentShape*, SegmentShape*> SidedShape::SidesAt(VertexShape* vertex) const
{
    const int i = IndexOfVertex(vertex);
    if (i < 0)
        return {nullptr, nullptr};
    const int n = static_cast<int>(m_sides.size());
    SegmentShape* before = m_sides[static_cast<size_t>((i + n - 1) % n)];
    SegmentShape* after = m_sides[static_cast<size_t>(i)];
    if (SideTest(*vertex, *before->OtherEnd(vertex), *after->OtherEnd(vertex)))
        return {before, after};
    return {after, before};
}

DiagramShape* SidedShape::FirstSideAt(VertexShape* vertex)
{
    return SidesAt(vertex).first;
}

DiagramShape* SidedShape::SecondSideAt(VertexShape* vertex)
{
    return SidesAt(vertex).second;
}

DiagramShape* SidedShape::FindSide(VertexShape* a, VertexShape* b)
{
    for (SegmentShape* side : m_sides)
        if (side->FindSide(a, b))
            return side;
    return nullptr;
}

DiagramEditGroup* SidedShape::FreeSideGroup(int side)
{
    SegmentShape* free = m_sides[static_cast<size_t>(side)];
    free->SetOwner(nullptr);
    ItemArray<DiagramShape> parts;
    parts.Add(free);
    return new DiagramEditGroup(this, std::move(parts));
}

DiagramEditGroup* SidedShape::PolygonGroup(const std::vector<int>& sides)
{
    auto* polygon = new PolygonShape;
    for (int side : sides)
        polygon->AddEdge(m_sides[static_cast<size_t>(side)]);
    ItemArray<DiagramShape> parts;
    parts.Add(polygon);
    return new DiagramEditGroup(this, std::move(parts));
}

// ---- file record ----

void SidedShape::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    for (VertexShape* vertex : m_vertices)
        writer.WriteSharedObject(vertex);
    for (SegmentShape* side : m_sides)
        writer.WriteSharedObject(side);
    writer.WriteByte(m_filled ? 1 : 0);
    writer.WriteColor(m_fillColour);
}

void SidedShape::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    for (VertexShape*& vertex : m_vertices) {
        vertex = dynamic_cast<VertexShape*>(reader.ReadVertexRef());
        if (!vertex)
            throw CFormatException("A corner of a triangle or rectangle is not a vertex");
        vertex->SetOwner(this);
    }
    for (SegmentShape*& side : m_sides) {
        auto* segment = dynamic_cast<SegmentShape*>(reader.ReadSegmentRef());
        if (!segment || IndexOfSide(segment) >= 0)
            throw CFormatException("A side of a triangle or rectangle is damaged");
        side = segment;
        side->SetOwner(this);
    }
    const size_t n = m_sides.size();
    for (size_t i = 0; i < n; ++i)
        if (!m_sides[i]->FindSide(m_vertices[i], m_vertices[(i + 1) % n]))
            throw CFormatException("A side of a triangle or rectangle does not join its corners");
    m_filled = reader.ReadBool();
    m_fillColour = reader.ReadColor();
}

// ---- the two kinds ----

DiagramEditGroup* TriangleShape::RemovePart(DiagramShape* part)
{
    if (const int vertex = IndexOfVertex(part); vertex >= 0)
        return FreeSideGroup((vertex + 1) % kCorners);
    static const std::vector<int> rest[kCorners] = {{2, 1}, {0, 2}, {0, 1}};
    const int side = IndexOfSide(part);
    return side < 0 ? nullptr : PolygonGroup(rest[side]);
}

SidedShape* TriangleShape::MakeCopy(std::vector<VertexShape*> vertices, std::vector<SegmentShape*> sides) const
{
    return new TriangleShape(std::move(vertices), std::move(sides), m_filled, m_fillColour);
}

DiagramEditGroup* RectangleShape::RemovePart(DiagramShape* part)
{
    static const std::vector<int> awayFrom[kCorners] = {{1, 2}, {2, 3}, {0, 3}, {0, 1}};
    static const std::vector<int> others[kCorners] = {{3, 1, 2}, {0, 3, 2}, {0, 1, 3}, {0, 1, 2}};
    if (const int vertex = IndexOfVertex(part); vertex >= 0)
        return PolygonGroup(awayFrom[vertex]);
    const int side = IndexOfSide(part);
    return side < 0 ? nullptr : PolygonGroup(others[side]);
}

SidedShape* RectangleShape::MakeCopy(std::vector<VertexShape*> vertices, std::vector<SegmentShape*> sides) const
{
    return new RectangleShape(std::move(vertices), std::move(sides), m_filled, m_fillColour);
}
