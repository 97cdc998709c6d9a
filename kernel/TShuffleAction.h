#pragma once
// A term dragged to another place of its own formula: the kernel rearranges
// the smallest expression holding both places (sent with the dragged term
// and the place marked), and the answer takes that expression's place in
// the formula, shown in a new paragraph.
#include "kernel/TCalculationAction.h"

class TShuffleAction : public TCalculationAction {
public:
    // kernelMode: the kernel's code of the rearrangement; part: the marked
    // expression inside whole.
    using TCalculationAction::TCalculationAction;

protected:
    ExprNode* Compute() override;
};
