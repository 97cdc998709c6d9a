#pragma once
// The plot requests: VXComputePlot[VXTwoDPlot[{f...}, {x, xmin, xmax},
// {y, ymin, ymax}]] answers Graphics[{curve1, curve2, ...}, {}] with one
// element per function, each a list of Line pieces; VXResolvePlot[command,
// {name -> value...}] does the same with the named values put in. A free
// parameter of a computed plot is asked of the user (question 1); without
// an answer the request answers $Canceled. VXComputePlot[VXThreeDPlot[{f...},
// {x, ...}, {y, ...}, {z, ...}]] answers SurfaceGraphics[{row, ...}, {}] for
// one function: a row of heights for each y step of an n by n grid, each
// height clipped to the z range; several functions answer Graphics3D[{mesh,
// ...}, {}] with a list of four-sided Polygons for each.
#include "kernelproc/GiacEvaluator.h"
#include "mathlink/Expr.h"

#include <functional>
#include <optional>
#include <string>

namespace kernelproc {

class PlotRequests {
public:
    using Evaluate = std::function<wire::Expr(const wire::Expr&)>;
    using Ask = GiacEvaluator::Ask;

    // The answer when expr is a plot request, else nothing.
    static std::optional<wire::Expr> answer(const wire::Expr& expr, const Evaluate& evaluate, const Ask& ask);
    // The plot of one function in x, over a default x range and a y range
    // that shows it: VXTwoDPlot[{f}, {x, ...}, {y, ...}, Graphics[...]].
    static wire::Expr plotOf(const wire::Expr& f, const std::string& x, const Evaluate& evaluate);
};

} // namespace kernelproc
