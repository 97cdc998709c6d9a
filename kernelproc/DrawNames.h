#pragma once
// The named variables of drawings: names such as a, r or θ that labels and
// plot functions use, whose values the program keeps in a table and hands
// over as rules name -> number.
//
//   VXVariableCheck[system, fns, rules] -> {name -> value...}: every name the
//     system and the plot functions use that has a value (from the rules, or
//     an equation name == number); names still lacking one are left to the
//     deficit requests below;
//   VXGetPlotVars[f, X, Y] -> {name...}: the names f uses besides X and Y;
//   VXPlotDeficit[f, rules, X, Y] -> {name...}: those without a value;
//   VXCheckDeficit[system, rules] -> {{{name...}, {eqn...}}, {VXDrawVar[id]...}}:
//     the names the equations determine but that lack values, with those
//     equations, and the drawing variables the equations use; {{}, {}} when
//     nothing lacks a value;
//   VXResolveDeficits[rules, first, {VXDrawVar[id] -> value...}] -> {name ->
//     value...}: the equations of `first` solved for its names.
// Malformed requests answer $Failed.
#include "kernelproc/ConstraintProjection.h"
#include "kernelproc/DrawSystem.h"
#include "mathlink/Expr.h"

namespace kernelproc {

wire::Expr variableCheck(const wire::Expr& system, const wire::Expr& functions, const wire::Expr& rules);
wire::Expr plotVariables(const wire::Expr& f, const wire::Expr& x, const wire::Expr& y);
wire::Expr plotDeficit(const wire::Expr& f, const wire::Expr& rules, const wire::Expr& x, const wire::Expr& y);
wire::Expr checkDeficit(const wire::Expr& system, const wire::Expr& rules);
wire::Expr resolveDeficits(const wire::Expr& rules, const wire::Expr& first, const wire::Expr& variableRules,
                           const Derivative& derivative, const ProjectionLimits& limits = {});

} // namespace kernelproc
