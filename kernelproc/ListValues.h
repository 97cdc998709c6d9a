#pragma once
// The lists that only a computation yields, where their shape matters: an
// operand of element by element arithmetic, of an equation or of a matrix
// function that is a table, a Range, arithmetic on lists or a function of
// them. Each is evaluated first and its value put in, so that lengths and
// squareness are checked on the values and the elements are combined as the
// kernel combines them; Giac would truncate the longer list, or add a number
// to a list as to the coefficients of a polynomial.
#include "kernelproc/GiacInput.h"
#include "mathlink/Expr.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kernelproc {

class ListValues {
public:
    // `bound` names the variables of the sums, tables, integrals... around
    // what is translated: their values are not known yet.
    ListValues(const GiacInput::Value& value, std::vector<std::string> bound) : value_(value), bound_(std::move(bound))
    {}

    // e with the values of its operands that evaluate to lists put in; none
    // when e needs none or none is a list.
    std::optional<wire::Expr> withValues(const wire::Expr& e) const;
    // A table, sum or product whose variable's values must be put in one by
    // one before the shapes in its body are known, as the list, sum or product
    // of its terms: a list whose length depends on the variable is combined
    // with another or given to a matrix function (Range[k] + {1, 2}), a sum
    // adds such lists, or the variable runs over lists itself. A sum or
    // product of lists of one length as the list of those of their elements.
    // None for the others; refused where the values cannot be put in.
    std::optional<wire::Expr> termByTerm(const wire::Expr& e) const;
    // What a call on lists written out stands for: Total of a list of lists
    // as their sum, Range as a table, Unequal of two lists as True or False
    // where their elements decide. None for the others.
    std::optional<wire::Expr> rewritten(const wire::Expr& e) const;
    // A sum, product, integral, derivative, limit or series of a list as the
    // list of those of its elements, Sum[{k, k^2}, {k, n}] as {Sum[k, {k, n}],
    // Sum[k^2, {k, n}]}: Giac would add lists inside the list as polynomials'
    // coefficients. None when the body is no list of a length fixed over the
    // construct's variables.
    std::optional<wire::Expr> distributed(const wire::Expr& construct) const;

private:
    bool needsEachTerm(const wire::Expr& construct) const;
    bool needsEachValue(const wire::Expr& body, const std::string& name, bool overLists) const;
    // The values a sum's or table's variable takes over `range`, when they
    // are numbers and not too many to put in one by one.
    std::optional<std::vector<wire::Expr>> rangeValues(const wire::Expr& range) const;
    wire::Expr rangeTable(const wire::Expr& e) const;
    std::optional<wire::Expr> valueOf(const wire::Expr& operand) const;
    // The list e evaluates to, the variables `names` of a construct around it
    // taken for unknowns; none when it is no list or its length depends on them.
    std::optional<wire::Expr> listValue(const wire::Expr& e, const std::vector<std::string>& names) const;

    const GiacInput::Value& value_;
    std::vector<std::string> bound_;
};

// Unequal[a, b] of two lists, given the values of the elements' Unequal:
// True when the lengths differ or two elements are unequal, False when every
// element equals its fellow; none when a and b are not both lists, or when
// that cannot be decided.
std::optional<wire::Expr> unequalLists(const wire::Expr& a, const wire::Expr& b,
                                       const std::function<wire::Expr(const wire::Expr&)>& value);

// e with the symbol `name` replaced by `by` wherever it stands free.
wire::Expr replacedFree(const wire::Expr& e, const std::string& name, const wire::Expr& by);

} // namespace kernelproc
