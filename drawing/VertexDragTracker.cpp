#include "drawing/VertexDragTracker.h"

#include "drawing/ConstraintCluster.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawVariable.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionNames.h"

#include <utility>

TMoveAction::TMoveAction(DiagramComp* diagram, std::unique_ptr<ConstraintCluster> cluster)
    : TAction(ActionNames::kMove, DocSelection::SelectObject(diagram)), m_diagram(diagram),
      m_cluster(std::move(cluster))
{
    m_done = true;
}

TMoveAction::~TMoveAction() = default;

void TMoveAction::Swap()
{
    if (m_cluster)
        m_cluster->SwapGathered();
    m_diagram->Repaint();
}

void TMoveAction::Do()
{
    if (!m_done)
        Swap();
}

void TMoveAction::Undo() { Swap(); }

void TMoveAction::Commit() { m_cluster.reset(); }

VertexDragTracker::VertexDragTracker(ActionView& view, DiagramComp* diagram) : MouseTracker(view), m_diagram(diagram)
{
}

VertexDragTracker::~VertexDragTracker() = default;

// The dragged vertex first, then every other vertex of the selected shapes;
// the solver moves their coordinates that are not fixed.
void VertexDragTracker::MouseDown(const IntPoint& point)
{
    m_last = point;
    m_dragged = m_diagram->VertexAt(m_diagram->GetDC().ScreenToWorld(point));
    if (!m_dragged)
        return;
    m_moved.Add(m_dragged);
    ItemArray<DrawVariable> variables;
    variables.Add(m_dragged->GetXVar());
    variables.Add(m_dragged->GetYVar());
    for (DiagramShape* shape : m_diagram->GetSelectedShapes()) {
        ItemArray<VertexShape> vertices = shape->GetVertices();
        if (shape->IsVertexShape())
            vertices.Add(static_cast<VertexShape*>(shape));
        for (VertexShape* vertex : vertices) {
            if (m_moved.Contains(vertex))
                continue;
            m_moved.Add(vertex);
            if (!vertex->GetXVar()->IsFixed())
                variables.Add(vertex->GetXVar());
            if (!vertex->GetYVar()->IsFixed())
                variables.Add(vertex->GetYVar());
        }
    }
    m_cluster = NewCluster(*m_diagram, variables);
}

void VertexDragTracker::MouseMove(const IntPoint& point)
{
    if (!m_cluster || (point.x == m_last.x && point.y == m_last.y) || m_dragged->IsFixed())
        return;
    const DiagramDC& dc = m_diagram->GetDC();
    const DPoint from = dc.ScreenToWorld(m_last);
    const DPoint to = dc.ScreenToWorld(point);
    // A step that failed (no solution, or a kernel answer given up as too
    // slow) leaves the vertices where they were: the next step starts from
    // there towards the pointer's newest place.
    if (m_cluster->SolveDrag(DPoint(to.x - from.x, to.y - from.y), m_moved, m_dragged))
        m_last = point;
    m_dragMoved = true;
    m_diagram->Repaint();
}

// A click that moved nothing leaves no action, so the undo step stays.
void VertexDragTracker::MouseUp(const IntPoint& point)
{
    if (!m_cluster)
        return;
    MouseMove(point);
    if (!m_dragMoved)
        return;
    // The kernel's values of the named variables once the drag has ended.
    m_diagram->ApplyRules(m_cluster->Finalize());
    delete m_action;
    m_action = new TMoveAction(m_diagram, std::move(m_cluster));
}
