#pragma once
// The calculations the kernel offers for the marked part of a formula. This
// runs on every selection change, so it only looks at the shape of the
// formula (one walk over the tree) and never computes.
#include "mathlink/Expr.h"

#include <set>
#include <string>
#include <vector>

namespace kernelproc {

struct CalculationChoice {
    int code = 0;
    std::string label;
    int placement = 0;
};

struct ChoiceContext {
    std::string defaultVariable = "x";
    std::string transformVariable = "xi";
    const std::set<std::string>* constants = nullptr;
};

// The choices for `whole`, whose part of interest is wrapped in VXMover (the
// whole when no part is); at most kMaxChoices, none when nothing applies.
std::vector<CalculationChoice> calculationChoices(const wire::Expr& whole, const ChoiceContext& context);

// The same choices as the List[List[code, label, placement]...] the program reads.
wire::Expr choiceList(const std::vector<CalculationChoice>& choices);

// The unknowns of e in the order they occur: its symbols other than the
// known constants and the letters treated as constants.
std::vector<std::string> unknownsOf(const wire::Expr& e, const std::set<std::string>* constants);

// True for the heads of equations, inequalities and equation sets.
bool isRelation(const wire::Expr& e);

} // namespace kernelproc
