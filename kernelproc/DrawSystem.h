#pragma once
// Reading a drawing's equation system as the program sends it: the list of
// equations (Equal[l, r], VXInequality[l, Equal, r] or a bare expression
// meaning expr == 0), the definitions of named variables (name ==
// VXDrawVar[id], name == VXDrawValue[v] or name == number), the plot terms
// VXPlotConstraint[G, X, x, Y, y] (y - G at X = x) and VXTangentConstraint[G,
// X, x, Y, y, v, w] (w - v G'(x)), and the coordinates QVXCoord[e] and
// QVYCoord[e] of a point QVPoint[a, b] named by a label.
#include "mathlink/Expr.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kernelproc {

// G's derivative by X (Giac's), or nothing when it cannot be had.
using Derivative = std::function<std::optional<wire::Expr>(const wire::Expr& g, const wire::Expr& x)>;

// The equations of a system, nested lists flattened; nothing when the system is no list.
std::optional<std::vector<wire::Expr>> equationsOf(const wire::Expr& system);

// The name a definition defines and what it equals (a VXDrawVar, a VXDrawValue
// or a number); nothing when e is no definition.
std::optional<std::pair<std::string, wire::Expr>> definitionOf(const wire::Expr& e);

// The identity of VXDrawVar[id]; nothing for anything else.
std::optional<long long> drawVarId(const wire::Expr& e);

// e with the plot terms and point coordinates written out in arithmetic.
// Nothing when e uses the coordinates of something that is no point (a label
// that only names its vertex): such an equation binds nothing. `error` is set
// when a derivative cannot be had.
std::optional<wire::Expr> expandedEquation(const wire::Expr& e, const Derivative& derivative, std::string& error);

// e with every symbol found in `values` replaced by its value.
wire::Expr substituted(const wire::Expr& e, const std::map<std::string, wire::Expr>& values);

// The named variables of e in the order they occur: free symbols other than
// known constants, never heads, the insides of VXDrawVar/VXDrawValue, the
// coordinates of labelled vertices, or a plot term's X and Y; `skip` names more.
void namesIn(const wire::Expr& e, std::vector<std::string>& names, const std::vector<std::string>& skip = {});

// The identities of the VXDrawVar leaves of e in the order they occur, each once.
void drawVarsIn(const wire::Expr& e, std::vector<long long>& ids);

// Rules name -> number (or VXDrawVar[id] -> number) as a map from the
// left side's full form to the value; nothing when `rules` is no list of such
// rules.
std::optional<std::map<std::string, double>> numericRules(const wire::Expr& rules);

} // namespace kernelproc
