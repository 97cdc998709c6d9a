#pragma once
// What dropping one expression onto a part of another means. The program
// sends the part under the mouse and the whole dragged expression, the
// pressed part of it wrapped in VXMover. VXEvaluateDrop answers the choice
// list and VXDrop[code, part, source] the new part:
// - an equation lhs = rhs dropped on a part where lhs occurs substitutes rhs
//   for it (with the right side pressed, lhs for rhs);
// - an equation dropped on an equation is added to it or subtracted from it;
// - a value dropped on a letter takes the letter's place.
// Like the shuffles it is structural and quick.
#include "kernelproc/TermEdits.h"
#include "mathlink/Expr.h"

#include <string>
#include <vector>

namespace kernelproc {

enum DropCode : int {
    kDropSubstitute = 21,
    kDropAddEquations = 22,
    kDropSubtractEquation = 23,
    kDropValueForLetter = 24,
};

// Every meaning of the gesture, the most likely first.
std::vector<TermOffer> dropMeanings(const wire::Expr& target, const wire::Expr& source);

// VXEvaluateDrop[target, source]: the choice list, {{0, "", 0}} when nothing applies.
wire::Expr evaluateDrop(const wire::Expr& target, const wire::Expr& source);
// VXDrop[code, target, source]: the new target, or $Failed when code is not offered.
wire::Expr drop(int code, const wire::Expr& target, const wire::Expr& source);

} // namespace kernelproc
