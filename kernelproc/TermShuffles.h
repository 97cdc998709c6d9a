#pragma once
// What dragging a term to another place of the same expression means. The
// program sends the smallest expression m holding both places, with the
// dragged part wrapped in VXMover and the place under the mouse in VXTarget
// (or m itself wrapped in VXTarget). VXEvaluateShuffle answers the choice
// list of that gesture and VXShuffle performs it, answering the new m:
// - a term or factor dropped on another of the same sum or product takes
//   its place;
// - a term of one side of an equation or inequality dropped on the other
//   side is subtracted from both sides; a factor divides both sides and a
//   divisor multiplies them, a negative number turning an inequality round
//   (a factor whose sign is unknown moves across an equation only);
// - a factor dropped on a sum it multiplies is distributed over it;
// - a factor of a term (or a whole term) dropped on its sum is factored out
//   when it divides every term.
// All of it is structural, without Giac: it runs for every place the mouse
// passes over.
#include "kernelproc/TermEdits.h"
#include "mathlink/Expr.h"

#include <optional>
#include <string>

namespace kernelproc {

enum ShuffleCode : int {
    kShuffleReorder = 1,
    kShuffleSubtractAcross = 2,
    kShuffleDivideAcross = 3,
    kShuffleMultiplyAcross = 4,
    kShuffleDistribute = 5,
    kShuffleFactorOut = 6,
};

// The rearrangement the marked expression asks for, if any.
std::optional<TermOffer> shuffleMove(const wire::Expr& marked);

// VXEvaluateShuffle[m]: the choice list, {{0, "", 0}} when nothing applies.
wire::Expr evaluateShuffle(const wire::Expr& marked);
// VXShuffle[code, m]: the new m, or $Failed when the gesture does not mean code.
wire::Expr shuffle(int code, const wire::Expr& marked);

} // namespace kernelproc
