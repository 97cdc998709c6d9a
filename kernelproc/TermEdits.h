#pragma once
// The small structural edits that term dragging is made of: finding the
// dragged (VXMover) and the target (VXTarget) parts, taking the markers off,
// and building sums, products, negations and relations in the spellings the
// program reads. Nothing here asks Giac: a preview runs for every place the
// mouse passes over.
#include "mathlink/Expr.h"

#include <optional>
#include <string>
#include <vector>

namespace kernelproc {

// One meaning of a gesture: the kernel's code for it, the text the status
// bar shows, and the expression it makes.
struct TermOffer {
    int code = 0;
    std::string text;
    wire::Expr result;
};

// Argument indices (0-based) from an expression down to one of its parts.
using TermPath = std::vector<std::size_t>;

// An expression with its markers taken off and where they stood.
struct MarkedTerms {
    wire::Expr clean;
    std::optional<TermPath> mover;
    std::optional<TermPath> target;
};

MarkedTerms findMarkedTerms(const wire::Expr& marked);
wire::Expr withoutTermMarkers(const wire::Expr& e);

const wire::Expr& partAt(const wire::Expr& e, const TermPath& path);
wire::Expr& partAt(wire::Expr& e, const TermPath& path);
// True when `path` starts with `prefix` and is exactly one index longer.
bool isChildPath(const TermPath& path, const TermPath& prefix);

// Head tests that accept the package and the plain spelling (VXPlus, Plus).
bool isSum(const wire::Expr& e);
bool isProduct(const wire::Expr& e);
bool isQuotient(const wire::Expr& e);
bool isNumber(const wire::Expr& e);
// -1 for a negative number, 1 for a positive one, 0 for zero or no number.
int numberSign(const wire::Expr& e);

// A two-sided relation VXInequality[a, op, b] (or Equal[a, b] and the like):
// its operator's name, else "".
std::string twoSidedRelation(const wire::Expr& e);
bool isEquation(const wire::Expr& e);
wire::Expr relation(const wire::Expr& left, const std::string& op, const wire::Expr& right);
// The operator of the relation read from the other side ("Less" for "Greater").
std::string mirroredRelation(const std::string& op);
const wire::Expr& leftSide(const wire::Expr& relation);
const wire::Expr& rightSide(const wire::Expr& relation);

// -e with the sign folded into a number or a leading factor -1.
wire::Expr negated(const wire::Expr& e);
// a + b with the terms of a sum spliced in.
wire::Expr sumOf(const wire::Expr& a, const wire::Expr& b);
// a * b with the factors of a product spliced in.
wire::Expr productOf(const wire::Expr& a, const wire::Expr& b);
wire::Expr quotientOf(const wire::Expr& numerator, const wire::Expr& denominator);
// A sum or product without its argument i: the other argument alone when one
// is left, the neutral element when none is.
wire::Expr withoutArgument(const wire::Expr& e, std::size_t i);

// The expression with the symbols whose package spelling reads back as
// something else answered as the program reads them: Euler's number E as e,
// the imaginary unit I as i, capSigma and capLambda as Sigma and Lambda.
wire::Expr inAnswerSpelling(const wire::Expr& e);

// Text for a status bar: a number or a letter as itself, else the words given.
std::string shortText(const wire::Expr& e, const char* otherwise);

// The choice list of one offer, or of none.
wire::Expr offerList(const std::vector<wire::Expr>& offers);
wire::Expr offer(int code, const std::string& text, int placement);

} // namespace kernelproc
