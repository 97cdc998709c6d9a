#pragma once
// "Add to drawing": a part of a drawing's label turned into the answer the
// drawing adds as shapes, List[kind, withLabels, payload]:
//   1, 1, QVPoint[x, y]            a point (labelled with its coordinates);
//   2, 1, List[QVPoint[x, y]...]   a list of points;
//   3, 0, QVPoint[x, y]            a vector, drawn as an arrow from the origin
//                                  (an OverVector, a pair {x, y} of numbers,
//                                  or a matrix of one row or column of two);
//   4, 0, f                        a function of the drawing's x, plotted
//                                  (an equation y == f gives f).
// Coordinates are evaluated to reals; a part that gives none of these, or
// coordinates that are no numbers, answers $Failed.
#include "mathlink/Expr.h"

#include <functional>
#include <optional>

namespace kernelproc {

enum DrawingResultKind : int {
    kDrawPoint = 1,
    kDrawPoints = 2,
    kDrawVector = 3,
    kDrawFunction = 4,
};

// The kind of shape the part would give, judged by its shape alone (fast:
// the choice menu asks on every selection change); nothing when none.
std::optional<DrawingResultKind> drawingResultKind(const wire::Expr& part);

// The answer of "Add to drawing" for the part.
wire::Expr drawingResult(const wire::Expr& part, const std::function<wire::Expr(const wire::Expr&)>& evaluate);

} // namespace kernelproc
