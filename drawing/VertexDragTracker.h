#pragma once
// Dragging a vertex of a drawing, and the selected shapes with it, while the
// solver keeps every constraint: each move shifts the vertices by the
// drawing distance and solves their cluster again. The release leaves a
// move action that exchanges the values before and after the drag.
//
// A press on an edge, a curve or a circle away from any vertex drags
// through a temporary vertex held on what was hit; it leaves the drawing at
// the release, and the move action keeps it (and the constraints that held
// it, whose values the solve may have moved) until the action is final.
//
// The solver is synchronous, so a release never waits for a step still
// running. A kernel step is bounded by the kernel link's drag step limit.
#include "drawing/ItemArray.h"
#include "foundation/DPoint.h"
#include "foundation/MouseTracker.h"
#include "foundation/TAction.h"

#include <memory>

class ConstraintCluster;
class DiagramComp;
class DrawConstraint;
class VertexShape;

// The temporary vertex of a drag and the constraints that held it.
struct DragScaffold {
    DragScaffold() = default;
    DragScaffold(DragScaffold&& other) noexcept;
    DragScaffold& operator=(DragScaffold&& other) noexcept;
    ~DragScaffold();
    void Free();

    VertexShape* vertex = nullptr;
    ItemArray<DrawConstraint> constraints;
};

class TMoveAction : public TAction {
public:
    // Made done: the drag has already moved the values.
    TMoveAction(DiagramComp* diagram, std::unique_ptr<ConstraintCluster> cluster, DragScaffold scaffold = {});
    ~TMoveAction() override;

    // Nothing while done (the view performs the action after the drag).
    void Do() override;
    // Every variable of the drag's cluster takes back its value from before.
    void Undo() override;
    void Commit() override;

private:
    void Swap();

    DiagramComp* m_diagram;
    std::unique_ptr<ConstraintCluster> m_cluster;
    DragScaffold m_scaffold;
};

class VertexDragTracker : public MouseTracker {
public:
    VertexDragTracker(ActionView& view, DiagramComp* diagram);
    ~VertexDragTracker() override;

    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

private:
    // A new vertex at the point, held on every shape hit there; false when
    // nothing is hit.
    bool MakeTemporaryVertex(const DPoint& at);
    // The temporary vertex leaves the drawing and its constraints stop acting.
    DragScaffold TakeScaffold();

    DiagramComp* m_diagram;
    VertexShape* m_dragged = nullptr;
    bool m_created = false;
    std::unique_ptr<ConstraintCluster> m_cluster;
    ItemArray<VertexShape> m_moved;
    IntPoint m_last;
    bool m_dragMoved = false;
};
