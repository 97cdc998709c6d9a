#pragma once
// The moves between the variables of a partial derivative.
#include "foundation/TKeyAction.h"

// From inside a variable to the slot just after it.
class TDerivVarSlotAction : public TKeyAction {
public:
    TDerivVarSlotAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// The whole row of the next variable, or just after the derivative.
class TDerivNextVarAction : public TKeyAction {
public:
    TDerivNextVarAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};
