#pragma once
// How loosely a character binds as an operator in the linear text of a row.
// This is the one place that ranks the signs: the rules that put a row in
// parentheses (the numerator of a slash fraction, a script, the operand of a
// derivative) read the rank here, so a sign added to the table below is
// bracketed the same on screen, in print, in pictures and in every export.
#include <cstdint>

class TextComp;

namespace CharBinding {

// From the tightest to the loosest. A row that holds a sign looser than the
// quotient needs parentheses as the operand of "/".
enum Level : int {
    kNone = 0,  // letters, digits, fences and the signs that join nothing
    kProduct,   // "*", the times and dot signs, tensor product, intersection
    kQuotient,  // "/" and the division sign
    kSum,       // "+", "-", plus-minus, direct sum, union, a blank between terms
    kRelation,  // "=", "<", ">", not equal, less or equal, approximately, ...
    kLogic,     // arrows, implication, equivalence, and, or, not, for all, exists
    kSeparator, // ",", ";" and therefore
};

// The level of a code of the stored character set (the character table's index).
Level OfStoredCode(uint8_t stored);
// The level of a component: its character's, read in the character set of
// its face; kNone for a component that is no character.
Level Of(const TextComp* comp);

} // namespace CharBinding
