#include "drawing/VertexDragTracker.h"

#include "drawing/ConstraintCluster.h"
#include "drawing/DiagramActions.h"
#include "drawing/DiagramComp.h"
#include "drawing/DiagramShape.h"
#include "drawing/DrawConstraint.h"
#include "drawing/DrawVariable.h"
#include "drawing/VertexShape.h"
#include "foundation/ActionNames.h"

#include <utility>

DragScaffold::DragScaffold(DragScaffold&& other) noexcept
    : vertex(std::exchange(other.vertex, nullptr)), constraints(std::exchange(other.constraints, {}))
{
}

DragScaffold& DragScaffold::operator=(DragScaffold&& other) noexcept
{
    if (this != &other) {
        Free();
        vertex = std::exchange(other.vertex, nullptr);
        constraints = std::exchange(other.constraints, {});
    }
    return *this;
}

DragScaffold::~DragScaffold() { Free(); }

void DragScaffold::Free()
{
    for (DrawConstraint* constraint : constraints)
        delete constraint;
    constraints.Clear();
    delete std::exchange(vertex, nullptr);
}

TMoveAction::TMoveAction(DiagramComp* diagram, std::unique_ptr<ConstraintCluster> cluster, DragScaffold scaffold)
    : TAction(ActionNames::kMove, DocSelection::SelectObject(diagram)), m_diagram(diagram),
      m_cluster(std::move(cluster)), m_scaffold(std::move(scaffold))
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

// The cluster's values include the scaffold's: it goes first.
void TMoveAction::Commit()
{
    m_cluster.reset();
    m_scaffold.Free();
}

VertexDragTracker::VertexDragTracker(ActionView& view, DiagramComp* diagram) : MouseTracker(view), m_diagram(diagram)
{
}

VertexDragTracker::~VertexDragTracker()
{
    // A drag that ends without its release leaves nothing in the drawing.
    m_cluster.reset();
    TakeScaffold();
}

bool VertexDragTracker::MakeTemporaryVertex(const DPoint& at)
{
    const ItemArray<DiagramItem> hits = m_diagram->ShapesAt(at);
    if (hits.IsEmpty())
        return false;
    m_dragged = new VertexShape(at.x, at.y);
    m_created = true;
    for (DiagramItem* item : hits)
        if (auto* shape = dynamic_cast<DiagramShape*>(item))
            if (DrawConstraint* constraint = shape->MakeAttachConstraint(m_dragged))
                m_diagram->AddDragConstraint(constraint);
    m_diagram->AddShape(m_dragged);
    return true;
}

DragScaffold VertexDragTracker::TakeScaffold()
{
    DragScaffold scaffold;
    if (!m_created)
        return scaffold;
    m_created = false;
    m_diagram->TakeOutShape(m_dragged);
    scaffold.vertex = std::exchange(m_dragged, nullptr);
    scaffold.constraints = m_diagram->TakeDragConstraints();
    return scaffold;
}

// The dragged vertex first, then every other vertex of the selected shapes;
// the solver moves their coordinates that are not fixed.
void VertexDragTracker::MouseDown(const IntPoint& point)
{
    m_last = point;
    const DPoint at = m_diagram->GetDC().ScreenToWorld(point);
    m_dragged = m_diagram->VertexAt(at);
    if (!m_dragged && !MakeTemporaryVertex(at))
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
    DragScaffold scaffold = TakeScaffold();
    if (scaffold.vertex)
        m_diagram->Repaint();
    // The pile pane lists what lies under the released vertex.
    m_diagram->ShowPileAt(&m_view, point);
    if (!m_dragMoved) {
        m_cluster.reset();
        return;
    }
    // The kernel's values of the named variables once the drag has ended.
    m_diagram->ApplyRules(m_cluster->Finalize());
    delete m_action;
    m_action = new TMoveAction(m_diagram, std::move(m_cluster), std::move(scaffold));
}
