#pragma once
// The shapes of lists written out in a request, for the functions that need
// lists of one length (element by element arithmetic, Dot) or a matrix of a
// given form (Det, Inverse, Transpose, Cross). A list that only a computation
// yields has no shape here until its value is put in (ListValues).
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

// True for an expression that is no list written out but may evaluate to
// one: a table, a Range, an identity matrix, a sum, integral, derivative,
// limit or series of lists, arithmetic or a function with a list among its
// arguments. Not a solution: that is computed only as a whole request.
bool mayYieldList(const wire::Expr& e);
// True when how many elements e yields depends on the symbol `name`: it
// stands in the range of a table, in a Range, in the size of an identity
// matrix or in a part's index (Range[k], Table[j, {j, k}]).
bool shapeDependsOn(const wire::Expr& e, const std::string& name);

// Arithmetic (and Range) on lists written out as the list of the arithmetic
// on their elements, anything but a list going with each element, at every
// level: {1, {2, 3}} + {1, 2} is {1 + 1, {2, 3} + 2}. None when no operand is a list,
// when an operand may yet evaluate to one, and for a product, quotient or
// power of the editor's matrices.
std::optional<wire::Expr> elementwise(const wire::Expr& e);

bool isSquareMatrix(const ListShape& shape);
// "a list of 3", "a 2 by 3 matrix": for messages.
std::string describe(const ListShape& shape);

// Refuses lists of unequal lengths that an operation combines element by
// element, at every level: {1, 2} + {3, 4, 5}, {{1, 2}} + {{1, 2, 3}}. The
// message names `whole`.
void requireEqualLengths(const std::vector<const wire::Expr*>& operands, const wire::Expr& whole);

} // namespace kernelproc
