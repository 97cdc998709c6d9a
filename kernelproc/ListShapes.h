#pragma once
// The shapes of lists written out in a request, for the functions that need
// lists of one length (element by element arithmetic, Dot) or a matrix of a
// given form (Det, Inverse, Transpose, Cross). A list that only a computation
// yields has no shape here: Giac decides about it.
#include "mathlink/Expr.h"

#include <optional>
#include <string>
#include <vector>

namespace kernelproc {

struct ListShape {
    std::size_t length = 0;
    // The common length of the elements when every element is a list of one length.
    std::optional<std::size_t> rowLength;
};

// The elements of a list written out, or the rows of a matrix (VXMatrix[row, ...]
// or VXMatrix[{row, ...}]); none for anything else.
std::optional<std::vector<const wire::Expr*>> literalElements(const wire::Expr& e);
std::optional<ListShape> literalShape(const wire::Expr& e);

// True for a list written out, a table, or arithmetic on one of them: what
// the kernel combines element by element where Giac would take a matrix
// product ({1, 2}^2, {1, 2} {3, 4}). The editor's matrices are not lists.
bool isListValued(const wire::Expr& e);
// True when an argument of e is one of the editor's matrices, which multiply,
// divide and raise as matrices.
bool hasMatrixOperand(const wire::Expr& e);

bool isSquareMatrix(const ListShape& shape);
// "a list of 3", "a 2 by 3 matrix": for messages.
std::string describe(const ListShape& shape);

// Refuses lists of unequal lengths that an operation combines element by
// element, at every level: {1, 2} + {3, 4, 5}, {{1, 2}} + {{1, 2, 3}}. The
// message names `whole`.
void requireEqualLengths(const std::vector<const wire::Expr*>& operands, const wire::Expr& whole);

} // namespace kernelproc
