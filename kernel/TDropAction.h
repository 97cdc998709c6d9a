#pragma once
// A formula dragged onto a part of another formula: the kernel works the
// part with the dragged formula (substitutes an equation into it, adds or
// subtracts two equations, puts a value in a letter's place), and the answer
// takes the part's place in that formula, shown in a new paragraph after it.
#include "kernel/TCalculationAction.h"

#include <memory>

class TDropAction : public TCalculationAction {
public:
    // whole: the formula dropped on, holding part; source: the dragged
    // formula, its pressed term marked. The action owns whole and source.
    TDropAction(const DocSelection& selection, int kernelMode, int placement, ExprNode* whole, const ExprNode* part,
                ExprNode* source);
    ~TDropAction() override;

protected:
    ExprNode* Compute() override;

private:
    std::unique_ptr<ExprNode> m_source;
};
