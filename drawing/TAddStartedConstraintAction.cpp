#include "drawing/TAddStartedConstraintAction.h"

#include "drawing/DrawVariable.h"
#include "drawing/VertexShape.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsFree(const VertexShape* vertex)
{
    return !vertex->GetXVar()->IsFixed() && !vertex->GetYVar()->IsFixed();
}

DPoint Turned(const DPoint& v, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    return {c * v.x - s * v.y, s * v.x + c * v.y};
}

// The angle from the direction of v to the nearer of the two ways along the line of u.
double TurnToLine(const DPoint& v, const DPoint& u)
{
    double turn = std::atan2(v.x * u.y - v.y * u.x, v.Dot(u));
    if (turn > M_PI / 2)
        turn -= M_PI;
    else if (turn < -M_PI / 2)
        turn += M_PI;
    return turn;
}

} // namespace

TAddStartedConstraintAction::TAddStartedConstraintAction(DiagramComp* diagram, DrawConstraint* constraint, Start start,
                                                         std::function<void()> placed)
    : TAddConstraintAction(diagram, constraint), m_start(std::move(start)), m_placed(std::move(placed))
{}

// The solve moves only the values its equations read: a point's other
// coordinate keeps its start, and is placed there again on redo. A point
// listed twice (the corner's arms on one vertex) is moved to each place in
// turn, and given back the place it had before the first.
void TAddStartedConstraintAction::Do()
{
    if (WasRefused())
        return;
    const bool first = m_given.empty();
    ItemArray<DrawVariable> moved;
    for (const auto& [vertex, point] : m_start) {
        VertexShape* moving = vertex;
        const bool listed = std::any_of(m_given.begin(), m_given.end(),
                                        [moving](const auto& given) { return given.first == moving; });
        if (first && !listed)
            m_given.emplace_back(vertex, vertex->GetPoint());
        vertex->SetPoint(point);
        moved.Add(vertex->GetXVar());
        moved.Add(vertex->GetYVar());
    }
    if (first && m_placed)
        m_placed();
    if (first)
        SetMoved(std::move(moved));
    TAddConstraintAction::Do();
    if (WasRefused()) {
        PutBack();
        Refresh();
    }
}

void TAddStartedConstraintAction::Undo()
{
    if (WasRefused())
        return;
    TAddConstraintAction::Undo();
    PutBack();
    Refresh();
}

void TAddStartedConstraintAction::PutBack()
{
    for (const auto& [vertex, point] : m_given)
        vertex->SetPoint(point);
}

TAddStartedConstraintAction::Start TurnedTo(VertexShape* p, VertexShape* q, const DPoint& direction)
{
    const DPoint v = q->GetPoint() - p->GetPoint();
    if (!(v.Dot(v) > 0.0) || !(IsFree(p) || IsFree(q)))
        return {};
    const double turn = TurnToLine(v, direction);
    if (IsFree(p) && IsFree(q)) {
        const DPoint middle = (p->GetPoint() + q->GetPoint()) * 0.5;
        const DPoint half = Turned(v * 0.5, turn);
        return {{p, middle - half}, {q, middle + half}};
    }
    if (IsFree(q))
        return {{q, p->GetPoint() + Turned(v, turn)}};
    return {{p, q->GetPoint() - Turned(v, turn)}};
}

TAddStartedConstraintAction::Start TurnedSquare(VertexShape* p, VertexShape* corner, VertexShape* q)
{
    const DPoint a = p->GetPoint() - corner->GetPoint();
    const DPoint b = q->GetPoint() - corner->GetPoint();
    if (!(a.Dot(a) > 0.0) || !(b.Dot(b) > 0.0) || !(IsFree(p) || IsFree(q)))
        return {};
    // The turn that takes b to the nearer of the two ways square to a.
    const double turn = TurnToLine(b, DPoint(-a.y, a.x));
    const double share = IsFree(p) && IsFree(q) ? 0.5 : 1.0;
    TAddStartedConstraintAction::Start start;
    if (IsFree(q))
        start.emplace_back(q, corner->GetPoint() + Turned(b, share * turn));
    if (IsFree(p))
        start.emplace_back(p, corner->GetPoint() + Turned(a, -share * turn));
    return start;
}
