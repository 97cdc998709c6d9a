#include "drawing/TAddSegmentAction.h"

#include "drawing/DiagramComp.h"
#include "drawing/EdgeShape.h"
#include "drawing/PolygonShape.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionNames.h"

#include <algorithm>
#include <utility>

TAddSegmentAction::TAddSegmentAction(DiagramComp* diagram, EdgeShape* edge)
    : TDiagramAction(ActionNames::kAddSegment, diagram), m_edge(edge)
{}

TAddSegmentAction::~TAddSegmentAction()
{
    Commit();
}

void TAddSegmentAction::Do()
{
    if (!m_prepared) {
        FirstDo();
        m_prepared = true;
    } else {
        UseEnds(true);
        Restore(m_after);
    }
    m_diagram->DeselectAll(true);
    Refresh();
}

void TAddSegmentAction::Undo()
{
    UseEnds(false);
    Restore(m_before);
    if (m_newPath)
        m_path->Abandon();
    m_diagram->DeselectAll(true);
    Refresh();
}

// Done, the edge's own vertices that existing ones replaced and the emptied
// paths are no one's; undone, the edge (with its own vertices) and the path
// made for it are the action's.
void TAddSegmentAction::Commit()
{
    if (!m_edge)
        return;
    if (m_done) {
        for (int i = 0; i < 2; ++i)
            if (m_joined[i])
                delete m_own[i];
        for (PolygonShape* path : m_merged)
            delete path;
    } else {
        delete m_edge;
        if (m_newPath)
            delete m_path;
    }
    m_edge = nullptr;
    m_merged.clear();
}

void TAddSegmentAction::FirstDo()
{
    m_own[0] = m_edge->GetStart();
    m_own[1] = m_edge->GetEnd();
    m_joined[0] = JoinableVertexAt(m_own[0]);
    m_joined[1] = JoinableVertexAt(m_own[1]);
    if (m_joined[1] == m_joined[0])
        m_joined[1] = nullptr;
    NoteTouched(m_edge);
    // The owners as they were: joining the first end makes the path the
    // owner of both ends.
    DiagramShape* owners[2] = {nullptr, nullptr};
    for (int i = 0; i < 2; ++i)
        if (m_joined[i]) {
            owners[i] = m_joined[i]->GetOwnerShape();
            NoteTouched(owners[i] ? owners[i] : m_joined[i]);
        }
    m_before = Capture();
    UseEnds(true);
    for (int i = 0; i < 2; ++i)
        if (m_joined[i])
            JoinEnd(m_joined[i], owners[i]);
    if (!m_path) {
        for (VertexShape* vertex : m_joined)
            if (vertex)
                vertex->DiagramShape::SetOwner(m_edge);
        m_diagram->AddShape(m_edge);
    } else if (m_newPath) {
        m_diagram->AddShape(m_path);
    }
    m_after = Capture();
}

// A free vertex, an end of a lone edge, or an end of a path at which one of
// its edges ends; a vertex anything else holds (a circle's centre, a
// triangle's corner, a path's inner vertex) is left alone.
VertexShape* TAddSegmentAction::JoinableVertexAt(VertexShape* own) const
{
    VertexShape* vertex = m_diagram->VertexAt(own->GetPoint());
    if (!vertex || vertex == own)
        return nullptr;
    DiagramShape* owner = vertex->GetOwnerShape();
    if (!owner)
        return m_diagram->GetShapes().Contains(vertex) ? vertex : nullptr;
    if (owner->IsEdge())
        return !owner->GetOwnerShape() && static_cast<EdgeShape*>(owner)->HasEnd(vertex) ? vertex : nullptr;
    if (!owner->IsPolygon())
        return nullptr;
    const ItemArray<EdgeShape>& edges = static_cast<PolygonShape*>(owner)->GetEdges();
    const auto meeting =
        std::count_if(edges.begin(), edges.end(), [vertex](EdgeShape* e) { return e->HasEnd(vertex); });
    return meeting == 1 ? vertex : nullptr;
}

// The first end chooses the path (a lone edge's new one, or the path it
// meets); the second joins it, closes it or merges another path into it.
void TAddSegmentAction::JoinEnd(VertexShape* vertex, DiagramShape* owner)
{
    if (!owner) {
        m_diagram->Unselect(vertex);
        return;
    }
    if (owner->IsEdge()) {
        // Both ends on one lone edge: the first end took it into the path.
        if (m_path && owner->GetOwnerShape() == m_path)
            return;
        if (!m_path) {
            m_path = new PolygonShape;
            m_newPath = true;
            NoteTouched(m_path);
            MoveIntoPath(m_path, owner);
            m_path->AddEdge(m_edge);
        } else {
            MoveIntoPath(m_path, owner);
        }
        return;
    }
    auto* path = static_cast<PolygonShape*>(owner);
    if (!m_path) {
        m_path = path;
        path->AddEdge(m_edge);
    } else if (path != m_path) {
        const ItemArray<EdgeShape> edges = path->GetEdges();
        path->Abandon();
        for (EdgeShape* edge : edges)
            m_path->AddEdge(edge);
        m_diagram->Unselect(path);
        m_merged.push_back(path);
    }
}

void TAddSegmentAction::MoveIntoPath(PolygonShape* path, DiagramShape* shape)
{
    m_diagram->Unselect(shape);
    path->AddEdge(static_cast<EdgeShape*>(shape));
}

void TAddSegmentAction::NoteTouched(DiagramShape* shape)
{
    if (std::find(m_touched.begin(), m_touched.end(), shape) != m_touched.end())
        return;
    m_touched.push_back(shape);
    for (DiagramShape* part : shape->GetParts())
        if (std::find(m_touched.begin(), m_touched.end(), part) == m_touched.end())
            m_touched.push_back(part);
}

TAddSegmentAction::State TAddSegmentAction::Capture() const
{
    State state;
    state.shapes = m_diagram->GetShapes();
    for (DiagramShape* shape : m_touched) {
        state.owners[shape] = shape->GetOwnerShape();
        if (auto* path = dynamic_cast<PolygonShape*>(shape))
            state.paths[path] = {path->GetEdges(), path->GetVertexArray()};
    }
    return state;
}

void TAddSegmentAction::Restore(const State& state)
{
    for (const auto& [path, parts] : state.paths)
        path->RestoreParts(parts.first, parts.second);
    for (const auto& [shape, owner] : state.owners)
        shape->DiagramShape::SetOwner(owner);
    m_diagram->RestoreShapeList(state.shapes);
}

// Joined, the edge uses the existing vertices; else its own.
void TAddSegmentAction::UseEnds(bool joined)
{
    for (int i = 0; i < 2; ++i)
        if (m_joined[i])
            joined ? m_edge->ReplaceEnd(m_own[i], m_joined[i], false)
                   : m_edge->ReplaceEnd(m_joined[i], m_own[i], false);
}
