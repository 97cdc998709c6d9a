#pragma once
// The drawing requests of the package: the stateful drawing model
// (QVBuildModelFromCore, QVBuildModelFromVars, QVSolveSystem,
// QVConstrainedMin, VXFinalizeModel) and the named-variable requests
// (VXVariableCheck, VXGetPlotVars, VXPlotDeficit, VXCheckDeficit,
// VXResolveDeficits). Every Giac call they make runs under a time limit.
#include "kernelproc/DrawModel.h"
#include "mathlink/Expr.h"

#include <functional>
#include <optional>

namespace kernelproc {

class DrawingRequests {
public:
    using Evaluate = std::function<wire::Expr(const wire::Expr&)>;

    // The answer when expr is one of these requests, else nothing.
    std::optional<wire::Expr> answer(const wire::Expr& expr, const Evaluate& evaluate);

private:
    DrawModel model_;
};

} // namespace kernelproc
