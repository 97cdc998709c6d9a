#pragma once
// Finds values that satisfy a set of equations and lie as near as possible to
// wanted values: the minimum of sum w_i (v_i - a_i)^2 over the solutions of
// F(v) = 0. Each step solves the linearised problem exactly (a Newton step
// towards the equations, projected so that it moves the heavily weighted
// unknowns least), damped in the manner of Levenberg and Marquardt when the
// equations are redundant or a full step makes things worse. The same routine
// solves a drawing (the wanted values are the starting ones) and follows a
// drag (the dragged point's wanted position weighted heavily).
#include "kernelproc/DrawTerm.h"

#include <functional>
#include <vector>

namespace kernelproc {

struct ProjectionLimits {
    // Steps towards the wanted values after the first return onto the
    // equations; with none, the answer is that return alone: the Newton steps
    // of least weighted length, which moves the values least to first order.
    int maxSteps = 60;
    // Asked between steps; true ends the search as a failure.
    std::function<bool()> stopped;
};

// Moves `values` onto the solutions of the equations nearest to `wanted` under
// the weights (one for each unknown); true when every equation ends up
// holding, false with `values` at the best point found otherwise.
bool projectOntoConstraints(const std::vector<DrawTerm>& equations, std::vector<double>& values,
                            const std::vector<double>& wanted, const std::vector<double>& weights,
                            const ProjectionLimits& limits = {});

// Whether the equation holds at the values: its residual over the length of
// its gradient (how far the values are from where it holds, in their own
// units) within the rounding of the values it reads.
bool equationHolds(const DrawTerm& equation, const std::vector<double>& values);

} // namespace kernelproc
