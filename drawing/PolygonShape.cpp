#include "drawing/PolygonShape.h"

#include "drawing/CurveShape.h"
#include "drawing/DiagramDC.h"
#include "drawing/DiagramEdit.h"
#include "drawing/ItemCopyMap.h"
#include "drawing/SegmentShape.h"
#include "drawing/VertexShape.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <set>

using namespace drawing;

namespace {

// An edge or vertex record takes at least a reference's two bytes.
constexpr int32_t kMinReference = 2;

} // namespace

PolygonShape::PolygonShape()
{
    PolygonShape::SetStyle(ShapeStyle());
}

PolygonShape::PolygonShape(const ItemArray<EdgeShape>& edges)
{
    for (EdgeShape* edge : edges)
        AddEdge(edge);
    PolygonShape::SetStyle(ShapeStyle());
}

PolygonShape::~PolygonShape()
{
    for (EdgeShape* edge : m_edges)
        delete edge;
}

void PolygonShape::AddEdge(EdgeShape* edge)
{
    m_edges.Add(edge);
    for (VertexShape* end : {edge->GetStart(), edge->GetEnd()}) {
        m_vertices.AddOnce(end);
        end->SetOwner(this);
    }
    edge->SetOwner(this);
}

void PolygonShape::Abandon()
{
    m_edges.Clear();
    m_vertices.Clear();
}

// The edges at each vertex, in array order: walks and counts look here
// rather than through the whole array at every step.
PolygonShape::EdgeIndex PolygonShape::IndexEdges() const
{
    EdgeIndex index;
    for (EdgeShape* edge : m_edges) {
        index[edge->GetStart()].push_back(edge);
        if (edge->GetEnd() != edge->GetStart())
            index[edge->GetEnd()].push_back(edge);
    }
    return index;
}

EdgeShape* PolygonShape::NextEdge(const EdgeIndex& index, const VertexShape* at, const std::set<EdgeShape*>& walked)
{
    auto found = index.find(at);
    if (found == index.end())
        return nullptr;
    for (EdgeShape* edge : found->second)
        if (!walked.count(edge))
            return edge;
    return nullptr;
}

int PolygonShape::EdgesAt(const VertexShape* vertex) const
{
    return static_cast<int>(
        std::count_if(m_edges.begin(), m_edges.end(), [vertex](EdgeShape* edge) { return edge->HasEnd(vertex); }));
}

DiagramItem* PolygonShape::HitTest(const DPoint& point, const DiagramDC& dc)
{
    for (EdgeShape* edge : m_edges)
        if (DiagramItem* hit = edge->HitTest(point, dc))
            return hit;
    return nullptr;
}

void PolygonShape::HideConstraint()
{
    for (EdgeShape* edge : m_edges)
        edge->HideConstraint();
}

void PolygonShape::ShowConstraint()
{
    for (EdgeShape* edge : m_edges)
        edge->ShowConstraint();
}

bool PolygonShape::IsClosed() const
{
    const EdgeIndex index = IndexEdges();
    return !m_vertices.IsEmpty() && std::all_of(m_vertices.begin(), m_vertices.end(), [&index](VertexShape* v) {
        auto found = index.find(v);
        return found != index.end() && found->second.size() == 2;
    });
}

void PolygonShape::Draw(DiagramDC& dc)
{
    if (!m_visible || m_edges.IsEmpty())
        return;
    const bool closed = IsClosed();
    if (m_filled && closed) {
        std::vector<DPoint> outline;
        AppendOutlinePoints(outline);
        dc.FillPolygon(outline, m_fillColour);
    }
    const bool selected = IsSelected();
    if (selected)
        dc.Highlight();
    dc.SetDash(0);
    for (EdgeShape* edge : m_edges)
        edge->Draw(dc);
    for (EdgeShape* edge : m_edges)
        if (edge->IsCurve())
            static_cast<CurveShape*>(edge)->DrawHandles(dc);
    if (!closed) {
        m_edges.GetAt(0)->DrawStartArrow(dc);
        m_edges.GetAt(m_edges.GetCount() - 1)->DrawEndArrow(dc);
    }
    for (VertexShape* vertex : m_vertices)
        vertex->Draw(dc);
    if (selected)
        dc.Unhighlight();
}

DiagramShape* PolygonShape::Clone(ItemCopyMap& map)
{
    auto* copy = new PolygonShape(m_filled, m_fillColour);
    for (EdgeShape* edge : m_edges)
        copy->AddEdge(map.FindOrClone(edge));
    copy->m_visible = m_visible;
    map.AddItem(this, copy);
    return copy;
}

void PolygonShape::Attach(DiagramComp* diagram)
{
    for (EdgeShape* edge : m_edges)
        edge->Attach(diagram);
}

ShapeStyle PolygonShape::GetStyle() const
{
    ShapeStyle style = m_edges.IsEmpty() ? ShapeStyle() : m_edges.GetAt(0)->GetStyle();
    style.fillColour = m_fillColour;
    style.filled = m_filled;
    return style;
}

void PolygonShape::SetStyle(const ShapeStyle& style)
{
    m_fillColour = style.fillColour;
    m_filled = style.filled;
    for (EdgeShape* edge : m_edges)
        edge->SetStyle(style);
}

void PolygonShape::Restyle(const ShapeStyle& shown, const ShapeStyle& chosen)
{
    m_fillColour = chosen.fillColour;
    m_filled = chosen.filled;
    for (EdgeShape* edge : m_edges)
        edge->SetStyle(Restyled(edge->GetStyle(), shown, chosen));
}

void PolygonShape::ReleaseVertices(DiagramShape* keeper)
{
    ItemArray<EdgeShape> kept;
    for (EdgeShape* edge : m_edges)
        if (edge->GetOwnerShape() == this) {
            edge->ReleaseVertices(this);
            kept.Add(edge);
        }
    m_edges = std::move(kept);
}

void PolygonShape::ClaimParts()
{
    for (EdgeShape* edge : m_edges)
        edge->DiagramShape::SetOwner(this);
    for (VertexShape* vertex : m_vertices)
        vertex->SetOwner(this);
}

ItemArray<DiagramShape> PolygonShape::ItemsInRect(const DPoint& topLeft, const DPoint& bottomRight)
{
    return ItemsOfPartsInRect(this, m_edges, topLeft, bottomRight);
}

ItemArray<VertexShape> PolygonShape::GetVertices() const
{
    ItemArray<VertexShape> vertices;
    if (m_edges.IsEmpty())
        return vertices;
    const EdgeIndex index = IndexEdges();
    std::set<EdgeShape*> walked;
    std::set<VertexShape*> listed;
    EdgeShape* edge = m_edges.GetAt(0);
    VertexShape* current = edge->GetStart();
    auto list = [&](VertexShape* vertex) {
        if (listed.insert(vertex).second)
            vertices.Add(vertex);
    };
    list(current);
    while (edge) {
        walked.insert(edge);
        if (edge->IsCurve()) {
            auto* curve = static_cast<CurveShape*>(edge);
            const bool forward = current == curve->GetStart();
            list(forward ? curve->GetControl1() : curve->GetControl2());
            list(forward ? curve->GetControl2() : curve->GetControl1());
        }
        current = edge->OtherEnd(current);
        list(current);
        edge = NextEdge(index, current, walked);
    }
    for (EdgeShape* other : m_edges)
        for (VertexShape* vertex : other->GetVertices())
            list(vertex);
    return vertices;
}

int PolygonShape::GetSideCount() const
{
    return GetSides().GetCount();
}

ItemArray<DiagramShape> PolygonShape::GetSides() const
{
    ItemArray<DiagramShape> sides;
    for (EdgeShape* edge : m_edges)
        if (edge->GetTag() == tag_Segm)
            sides.Add(edge);
    return sides;
}

ItemArray<VertexShape> PolygonShape::GetVertexUses() const
{
    ItemArray<VertexShape> uses;
    for (EdgeShape* edge : m_edges)
        for (VertexShape* vertex : edge->GetVertexUses())
            uses.Add(vertex);
    return uses;
}

ItemArray<DiagramShape> PolygonShape::GetParts() const
{
    ItemArray<DiagramShape> parts;
    for (EdgeShape* edge : m_edges)
        parts.Add(edge);
    for (VertexShape* vertex : GetVertices())
        parts.Add(vertex);
    return parts;
}

void PolygonShape::AppendOutlinePoints(std::vector<DPoint>& points) const
{
    if (m_edges.IsEmpty())
        return;
    points.push_back(m_edges.GetAt(0)->GetStart()->GetPoint());
    for (EdgeShape* edge : m_edges)
        edge->AppendOutlinePoints(points);
}

ItemArray<DrawVariable> PolygonShape::GetVariables() const
{
    ItemArray<DrawVariable> variables;
    for (VertexShape* vertex : GetVertices()) {
        variables.Add(vertex->GetXVar());
        variables.Add(vertex->GetYVar());
    }
    return variables;
}

bool PolygonShape::HasAnyLabel() const
{
    return !GetLabels().IsEmpty();
}

ItemArray<DrawLabel> PolygonShape::GetLabels() const
{
    ItemArray<DrawLabel> labels;
    for (EdgeShape* edge : m_edges)
        for (DrawLabel* label : edge->GetLabels())
            labels.AddOnce(label);
    for (VertexShape* vertex : m_vertices)
        if (vertex->HasLabel())
            labels.AddOnce(vertex->GetLabel());
    return labels;
}

// ---- sides at a vertex ----

std::pair<EdgeShape*, EdgeShape*> PolygonShape::EdgesMeetingAt(VertexShape* vertex) const
{
    EdgeShape* first = nullptr;
    for (EdgeShape* edge : m_edges) {
        if (!edge->HasEnd(vertex))
            continue;
        if (!first) {
            first = edge;
            continue;
        }
        if (SideTest(*vertex, *first->OtherEnd(vertex), *edge->OtherEnd(vertex)))
            return {first, edge};
        return {edge, first};
    }
    if (!first)
        return {nullptr, nullptr};
    if (first->OtherEnd(vertex)->GetX() <= vertex->GetX())
        return {first, nullptr};
    return {nullptr, first};
}

DiagramShape* PolygonShape::FirstSideAt(VertexShape* vertex)
{
    return EdgesMeetingAt(vertex).first;
}

DiagramShape* PolygonShape::SecondSideAt(VertexShape* vertex)
{
    return EdgesMeetingAt(vertex).second;
}

DiagramShape* PolygonShape::FindSide(VertexShape* a, VertexShape* b)
{
    for (EdgeShape* edge : m_edges)
        if (edge->FindSide(a, b))
            return edge;
    return nullptr;
}

// ---- splitting and joining ----

ItemArray<EdgeShape> PolygonShape::CollectConnected(VertexShape* start)
{
    ItemArray<EdgeShape> taken;
    std::vector<VertexShape*> queue{start};
    for (size_t next = 0; next < queue.size(); ++next) {
        VertexShape* vertex = queue[next];
        for (EdgeShape* edge : m_edges) {
            if (edge->GetOwnerShape() != this || !edge->HasEnd(vertex))
                continue;
            edge->DiagramShape::SetOwner(start);
            taken.Add(edge);
            VertexShape* far = edge->OtherEnd(vertex);
            if (far->GetOwnerShape() == this) {
                far->DiagramShape::SetOwner(start);
                queue.push_back(far);
            }
        }
    }
    return taken;
}

DiagramShape* PolygonShape::PieceShape(const ItemArray<EdgeShape>& piece)
{
    if (piece.IsEmpty())
        return nullptr;
    if (piece.GetCount() == 1) {
        piece.GetAt(0)->SetOwner(nullptr);
        return piece.GetAt(0);
    }
    auto* polygon = new PolygonShape;
    for (EdgeShape* edge : piece)
        polygon->AddEdge(edge);
    return polygon;
}

DiagramEditGroup* PolygonShape::RemovePart(DiagramShape* part)
{
    ItemArray<DiagramShape> parts;
    auto* removedEdge = dynamic_cast<EdgeShape*>(part);
    if (removedEdge && m_edges.Contains(removedEdge)) {
        removedEdge->ClearOwnerLink();
        for (VertexShape* end : {removedEdge->GetStart(), removedEdge->GetEnd()})
            if (DiagramShape* piece = PieceShape(CollectConnected(end)))
                parts.Add(piece);
        return new DiagramEditGroup(this, std::move(parts));
    }
    auto* vertex = dynamic_cast<VertexShape*>(part);
    if (!vertex || !m_vertices.Contains(vertex))
        return nullptr;
    ItemArray<EdgeShape> around;
    for (EdgeShape* edge : m_edges)
        if (edge->HasEnd(vertex)) {
            around.Add(edge);
            edge->ClearOwnerLink();
        }
    for (EdgeShape* edge : around) {
        VertexShape* far = edge->OtherEnd(vertex);
        if (far->GetOwnerShape() != this)
            continue;
        ItemArray<EdgeShape> piece = CollectConnected(far);
        if (piece.IsEmpty()) {
            far->DiagramShape::SetOwner(nullptr);
            parts.Add(far);
        } else {
            parts.Add(PieceShape(piece));
        }
    }
    // The edges at the vertex stay with this polygon, which lets go of them
    // when the removal is final.
    for (EdgeShape* edge : around)
        edge->DiagramShape::SetOwner(this);
    return new DiagramEditGroup(this, std::move(parts));
}

void PolygonShape::ReplaceVertex(VertexShape* newVertex, EdgeShape* edge, VertexShape* oldVertex)
{
    m_vertices.Remove(oldVertex);
    edge->ReplaceEnd(oldVertex, newVertex, true);
}

void PolygonShape::Absorb(PolygonShape* other, VertexShape* newVertex, VertexShape* oldVertex)
{
    for (EdgeShape* edge : other->m_edges) {
        if (edge->HasEnd(oldVertex))
            edge->ReplaceEnd(oldVertex, newVertex, true);
        m_edges.Add(edge);
        edge->SetOwner(this);
    }
    for (VertexShape* vertex : other->m_vertices)
        if (vertex != oldVertex) {
            m_vertices.AddOnce(vertex);
            vertex->SetOwner(this);
        }
    other->Abandon();
    delete other;
}

void PolygonShape::GiveOwnEnd(EdgeShape* edge, VertexShape* end)
{
    auto* own = new VertexShape(end->GetX(), end->GetY(), edge);
    own->SetStyle(end->GetStyle());
    edge->ReplaceEnd(end, own, false);
}

void PolygonShape::TakeOut(EdgeShape* edge)
{
    m_edges.Remove(edge);
    edge->SetOwner(nullptr);
}

DiagramShape* PolygonShape::DetachEdge(EdgeShape* edge)
{
    VertexShape* start = edge->GetStart();
    VertexShape* end = edge->GetEnd();
    edge->DiagramShape::SetOwner(start);
    ItemArray<EdgeShape> a = CollectConnected(start);
    ItemArray<EdgeShape> b = CollectConnected(end);
    edge->DiagramShape::SetOwner(this);
    DiagramShape* answer = nullptr;
    if (a.IsEmpty()) {
        m_vertices.Remove(start);
        GiveOwnEnd(edge, end);
        TakeOut(edge);
    } else if (b.IsEmpty()) {
        m_vertices.Remove(end);
        GiveOwnEnd(edge, start);
        if (EdgesAt(end) >= 2)
            GiveOwnEnd(edge, end);
        TakeOut(edge);
    } else if (a.GetCount() == 1 || b.GetCount() == 1) {
        EdgeShape* single = a.GetCount() == 1 ? a.GetAt(0) : b.GetAt(0);
        m_vertices.Remove(single->GetStart());
        m_vertices.Remove(single->GetEnd());
        GiveOwnEnd(edge, start);
        GiveOwnEnd(edge, end);
        m_edges.Remove(single);
        TakeOut(edge);
        single->SetOwner(nullptr);
        answer = single;
    } else {
        GiveOwnEnd(edge, start);
        GiveOwnEnd(edge, end);
        TakeOut(edge);
        for (EdgeShape* moved : a) {
            m_edges.Remove(moved);
            m_vertices.Remove(moved->GetStart());
            m_vertices.Remove(moved->GetEnd());
        }
        answer = new PolygonShape(a);
    }
    ClaimParts();
    return answer;
}

// ---- the exported path ----

std::string PolygonShape::PathText(const DiagramDC& dc) const
{
    if (m_edges.IsEmpty())
        return {};
    const EdgeIndex index = IndexEdges();
    VertexShape* current = nullptr;
    for (VertexShape* vertex : m_vertices) {
        auto found = index.find(vertex);
        if (found != index.end() && found->second.size() == 1) {
            current = vertex;
            break;
        }
    }
    if (!current)
        current = m_vertices.GetAt(m_vertices.GetCount() - 1);
    EdgeShape* edge = nullptr;
    if (auto found = index.find(current); found != index.end())
        edge = found->second.back();
    if (!edge)
        return {};
    std::string text = "M " + DevicePointText(dc, current->GetPoint());
    bool line = edge->IsCurve();
    std::set<EdgeShape*> walked;
    // A vertex where three edges meet can leave the walk without a way on:
    // it stops there instead of following an edge that is not there.
    while (edge) {
        walked.insert(edge);
        line = edge->AppendPathStep(dc, text, line, current);
        edge = NextEdge(index, current, walked);
    }
    return text;
}

// ---- file record ----

void PolygonShape::Write(DocWriter& writer)
{
    DiagramItem::Write(writer);
    writer.WriteLong(m_vertices.GetCount());
    for (VertexShape* vertex : m_vertices)
        writer.WriteSharedObject(vertex);
    writer.WriteLong(m_edges.GetCount());
    for (EdgeShape* edge : m_edges) {
        writer.WriteByte(edge->IsSegment() ? 1 : 0);
        writer.WriteSharedObject(edge);
    }
    writer.WriteByte(m_filled ? 1 : 0);
    writer.WriteColor(m_fillColour);
}

void PolygonShape::Read(DocReader& reader, void* context)
{
    DiagramItem::Read(reader, context);
    const int32_t vertexCount = reader.ReadCount(kMinReference);
    std::set<ArchiveItem*> seen;
    for (int32_t i = 0; i < vertexCount; ++i) {
        auto* vertex = dynamic_cast<VertexShape*>(reader.ReadVertexRef());
        if (!vertex || !seen.insert(vertex).second)
            throw CFormatException("A polygon's vertex is damaged");
        m_vertices.Add(vertex);
        vertex->SetOwner(this);
    }
    const int32_t edgeCount = reader.ReadCount(kMinReference + 1);
    for (int32_t i = 0; i < edgeCount; ++i) {
        const bool segment = reader.ReadBool();
        auto* edge = dynamic_cast<EdgeShape*>(segment ? reader.ReadSegmentRef() : reader.ReadCurveRef());
        if (!edge || !seen.insert(edge).second)
            throw CFormatException("A polygon's edge is damaged");
        m_edges.Add(edge);
        edge->SetOwner(this);
        if (!seen.count(edge->GetStart()) || !seen.count(edge->GetEnd()))
            throw CFormatException("A polygon's edge ends at a vertex it does not list");
    }
    const EdgeIndex index = IndexEdges();
    for (VertexShape* vertex : m_vertices)
        if (!index.count(vertex))
            throw CFormatException("A polygon lists a vertex none of its edges ends at");
    m_filled = reader.ReadBool();
    m_fillColour = reader.ReadColor();
}
