#pragma once
// The drawing requests of the package: the stateful drawing model
// (QVBuildModelFromCore, QVBuildModelFromVars, QVSolveSystem,
// QVConstrainedMin, VXFinalizeModel) and the named-variable requests
// (VXVariableCheck, VXGetPlotVars, VXPlotDeficit, VXCheckDeficit,
// VXResolveDeficits). Every Giac call they make runs under a time limit.
#include "kernelproc/DrawModel.h"
#include "kernelproc/GiacEvaluator.h"
#include "mathlink/Expr.h"

#include <functional>
#include <optional>
#include <vector>

namespace kernelproc {

class DrawingRequests {
public:
    using Evaluate = std::function<wire::Expr(const wire::Expr&)>;

    // The answer when expr is one of these requests, else nothing. A model
    // that cannot be built says why in `messages` when given.
    std::optional<wire::Expr> answer(const wire::Expr& expr, const Evaluate& evaluate,
                                     std::vector<KernelMessage>* messages = nullptr);

private:
    DrawModel model_;
};

} // namespace kernelproc
