#pragma once
// A function of one variable compiled from a kernel expression for fast
// numeric evaluation while a plot is sampled: arithmetic, the elementary and
// a few special functions, piecewise definitions and comparisons. Values
// outside a function's domain are NaN; nothing throws while evaluating.
#include "mathlink/Expr.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kernelproc {

class PlotFunction {
public:
    // Compiles f in the variable with the given values for other symbols.
    // Symbols that are neither the variable, a constant nor given are listed
    // in `unknowns`; nothing is answered when f has a head this evaluator
    // does not know (or any unknowns).
    static std::optional<PlotFunction> compile(const wire::Expr& f, const std::string& variable,
                                               const std::map<std::string, double>& values,
                                               std::vector<std::string>& unknowns);

    double operator()(double x) const;

    struct Node;

private:
    explicit PlotFunction(std::shared_ptr<const Node> root) : root_(std::move(root)) {}
    std::shared_ptr<const Node> root_;
};

// The free symbols of f other than the variable and the known constants, in
// the order they occur.
std::vector<std::string> plotParameters(const wire::Expr& f, const std::string& variable);

// The value of a number atom or a constant expression; nothing otherwise.
std::optional<double> numericValue(const wire::Expr& e);

} // namespace kernelproc
