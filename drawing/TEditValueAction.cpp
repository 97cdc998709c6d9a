#include "drawing/TEditValueAction.h"

#include "drawing/DrawVariable.h"
#include "drawing/PointConstraints.h"

namespace {

std::vector<PendingMove> MoveOf(DrawVariable* variable, std::optional<double> value)
{
    if (!value)
        return {};
    return {{variable, *value}};
}

} // namespace

TEditValueAction::TEditValueAction(DiagramComp* diagram, DrawVariable* variable, bool locked,
                                   std::optional<double> value)
    : TUpdateDiagramAction(diagram, MoveOf(variable, value)), m_variable(variable), m_locked(locked),
      m_wasLocked(variable->IsFixed()), m_value(value)
{
    if (m_value && !HasMoves())
        m_variable = nullptr;
}

void TEditValueAction::Do()
{
    if (!m_variable)
        return;
    Lock(m_locked);
    if (m_value)
        HoldRadii();
    TUpdateDiagramAction::Do();
    if (std::exchange(m_firstDo, false) && !IsSolved()) {
        // The radius goes back with the value, and stays back on redo.
        for (const auto& [radius, before] : m_held)
            radius->HoldRadius(before);
        m_held.clear();
    }
    if (!HasMoves())
        Refresh();
}

void TEditValueAction::Undo()
{
    if (!m_variable)
        return;
    for (const auto& [radius, before] : m_held)
        radius->HoldRadius(before);
    Lock(m_wasLocked);
    TUpdateDiagramAction::Undo();
    if (!IsSolved())
        Refresh();
}

void TEditValueAction::Lock(bool locked)
{
    if (m_variable->IsFixed() != locked)
        m_diagram->SetVariableLocked(m_variable, locked);
}

void TEditValueAction::HoldRadii()
{
    if (!m_firstDo) {
        for (const auto& held : m_held)
            held.first->HoldRadius(*m_value);
        return;
    }
    for (RadiusConstraint* radius : m_diagram->RadiiHolding(m_variable))
        m_held.emplace_back(radius, radius->HoldRadius(*m_value));
}
