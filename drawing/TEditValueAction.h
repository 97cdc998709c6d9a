#pragma once
// A value typed for a variable of a drawing (the Variable Properties of a
// value display): the variable is locked or unlocked as asked and, when a
// value is given, moved there and its drawing solved again, each fixed
// radius holding the value from then on. One step: undo puts back every
// value, the Locked state and the radius each fixed radius held; redo gives
// back what the solve found. A value no solution allows is refused with a
// message, and its fixed radii keep the radius they held.
#include "drawing/DiagramActions.h"

#include <optional>
#include <utility>
#include <vector>

class RadiusConstraint;

class TEditValueAction : public TUpdateDiagramAction {
public:
    TEditValueAction(DiagramComp* diagram, DrawVariable* variable, bool locked, std::optional<double> value);

    void Do() override;
    void Undo() override;

private:
    void Lock(bool locked);
    void HoldRadii();

    // None when a move was asked for and the named-variable refresh dropped it.
    DrawVariable* m_variable;
    bool m_locked;
    bool m_wasLocked;
    std::optional<double> m_value;
    bool m_firstDo = true;
    // Each fixed radius of the variable and the radius it held before.
    std::vector<std::pair<RadiusConstraint*, double>> m_held;
};
