#pragma once
// Dragging a vertex of a drawing, and the selected shapes with it, while the
// solver keeps every constraint: each move shifts the vertices by the
// drawing distance and solves their cluster again. The release leaves a
// move action that exchanges the values before and after the drag.
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
class VertexShape;

class TMoveAction : public TAction {
public:
    // Made done: the drag has already moved the values.
    TMoveAction(DiagramComp* diagram, std::unique_ptr<ConstraintCluster> cluster);
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
};

class VertexDragTracker : public MouseTracker {
public:
    VertexDragTracker(ActionView& view, DiagramComp* diagram);
    ~VertexDragTracker() override;

    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

private:
    DiagramComp* m_diagram;
    VertexShape* m_dragged = nullptr;
    std::unique_ptr<ConstraintCluster> m_cluster;
    ItemArray<VertexShape> m_moved;
    IntPoint m_last;
    bool m_dragMoved = false;
};
