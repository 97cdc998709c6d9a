#pragma once
// How a child row stands in the linear text of a fraction, a script or an
// accent so that the text reads back as the same mathematics. A numerator
// is bracketed when it holds an operator that binds less tightly than "/";
// a denominator, a script or an accented row unless it is one atom (one
// character, a number, or one component that fences itself), because
// whatever follows "/" or "^" without brackets binds only its first factor:
// a/(2x) is not a/2x, and x^(1/2) is not x^1/2. A denominator may carry
// scripts after its atom, which bind more tightly than "/": 1/b^2 is
// 1/(b^2).
#include "foundation/CompList.h"
#include "foundation/TextOutBuffer.h"

namespace TextOperand {

// One character, a run of digits with at most one decimal point, one
// component whose text carries its own brackets (parentheses, brackets,
// absolute value, conjugate, placeholder), or typed brackets around the
// whole row: they are never bracketed again.
bool IsAtom(const CompList& row);
// A sign that binds less tightly than "/" after the first component (a sum,
// a blank, a quotient), or a relation, arrow, logical sign or separator
// anywhere; signs inside typed brackets that pair up do not count.
bool HasLooseOperator(const CompList& row);

// Whether the row is bracketed as the left operand of "/", and as the right
// operand of "^" or "_", under an accent or in a radical's index.
bool NumeratorNeedsBrackets(const CompList& row);
bool TightNeedsBrackets(const CompList& row);
// Whether the row is bracketed as the right operand of "/": unless it is
// an atom followed by nothing but non-empty superscripts and subscripts.
bool DenominatorNeedsBrackets(const CompList& row);

// The row as the left operand of "/".
void WriteNumerator(TextOutBuffer& out, const CompList& row);
// The row as the right operand of "^" or "_", under an accent or as a
// radical's index.
void WriteTight(TextOutBuffer& out, const CompList& row);
// The row as the right operand of "/".
void WriteDenominator(TextOutBuffer& out, const CompList& row);

} // namespace TextOperand
