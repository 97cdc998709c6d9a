#pragma once
// A constraint added after some of its points are moved to where its solve
// starts. Both solvers move the free values as little as they can, and from
// some figures the least move shrinks a shape instead of turning it: an
// upright segment made level draws its ends together, two arms in a line
// made square draw into their corner, a point of tangency on the far side of
// its circle draws the circle to a dot. From the start the solve only has to
// mend the rest. Undo, and a solve that finds no solution (the constraint
// is then refused), put the points back where the user left them.
#include "drawing/DiagramActions.h"
#include "foundation/DPoint.h"

#include <functional>
#include <utility>
#include <vector>

class TAddStartedConstraintAction : public TAddConstraintAction {
public:
    using Start = std::vector<std::pair<VertexShape*, DPoint>>;

    // `placed` runs once the points are at their start (a tangency takes the
    // segment's direction there).
    TAddStartedConstraintAction(DiagramComp* diagram, DrawConstraint* constraint, Start start,
                                std::function<void()> placed = {});

    void Do() override;
    void Undo() override;

private:
    void PutBack();

    Start m_start;
    Start m_given;
    std::function<void()> m_placed;
};

// The moves that turn the segment pq to the direction (either way round,
// the nearer): about its middle when both ends are free, about the fixed end
// when one is; none when both are fixed or the segment has no length.
TAddStartedConstraintAction::Start TurnedTo(VertexShape* p, VertexShape* q, const DPoint& direction);
// The moves that square the arms from the corner to p and to q (either way
// round, the nearer), half each when both ends are free.
TAddStartedConstraintAction::Start TurnedSquare(VertexShape* p, VertexShape* corner, VertexShape* q);
