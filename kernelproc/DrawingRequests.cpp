#include "kernelproc/DrawingRequests.h"

#include "kernelproc/DrawNames.h"
#include "kernelproc/GiacBounds.h"
#include "kernelproc/GiacEvaluator.h"

#include <chrono>

namespace kernelproc {

using wire::Expr;

namespace {

// A plot function's slope is a small symbolic derivative.
constexpr std::chrono::milliseconds kDerivativeTime{2000};

Derivative giacDerivative(const DrawingRequests::Evaluate& evaluate)
{
    return [evaluate](const Expr& g, const Expr& x) -> std::optional<Expr> {
        if (!x.isSymbol())
            return std::nullopt;
        GiacTimeLimit limit(kDerivativeTime);
        Expr slope = evaluate(Expr::function("D", {g, x}));
        if (limit.passed() || GiacEvaluator::interrupted() || slope.isSymbol("$Failed") || slope.isSymbol("$Aborted") ||
            slope.hasHead("D"))
            return std::nullopt;
        return slope;
    };
}

// A numeric search stops at the user's abort or when its time is up: a
// solve may take a few seconds on a large drawing, a drag step must not hold
// the pointer for long.
constexpr std::chrono::milliseconds kSolveTime{5000};
constexpr std::chrono::milliseconds kDragTime{1000};

ProjectionLimits abortable(std::chrono::milliseconds time)
{
    ProjectionLimits limits;
    const auto deadline = std::chrono::steady_clock::now() + time;
    limits.stopped = [deadline] { return GiacEvaluator::interrupted() || std::chrono::steady_clock::now() > deadline; };
    return limits;
}

} // namespace

std::optional<Expr> DrawingRequests::answer(const Expr& expr, const Evaluate& evaluate,
                                            std::vector<KernelMessage>* messages)
{
    if (!expr.isFunction() || !expr.head().isSymbol())
        return std::nullopt;
    const std::string& head = expr.head().text;
    const std::size_t n = expr.argCount();
    if ((head == "QVBuildModelFromCore" || head == "QVBuildModelFromVars") && n == 2) {
        Expr built = head == "QVBuildModelFromCore"
            ? model_.buildFromCore(expr.arg(0), expr.arg(1), giacDerivative(evaluate))
            : model_.buildFromVariables(expr.arg(0), expr.arg(1), giacDerivative(evaluate));
        if (messages && !model_.built() && !model_.error().empty())
            messages->push_back({head, "model", "The kernel cannot solve the drawing: " + model_.error() + "."});
        return built;
    }
    if (head == "QVSolveSystem" && n == 1)
        return model_.solve(expr.arg(0), abortable(kSolveTime));
    if (head == "QVConstrainedMin" && n == 3)
        return model_.constrainedMin(expr.arg(0), expr.arg(1), expr.arg(2), abortable(kDragTime));
    if (head == "VXFinalizeModel" && n == 1)
        return model_.finalize(expr.arg(0));
    if (head == "VXVariableCheck" && n == 3)
        return variableCheck(expr.arg(0), expr.arg(1), expr.arg(2));
    if (head == "VXGetPlotVars" && n == 3)
        return plotVariables(expr.arg(0), expr.arg(1), expr.arg(2));
    if (head == "VXPlotDeficit" && n == 4)
        return plotDeficit(expr.arg(0), expr.arg(1), expr.arg(2), expr.arg(3));
    if (head == "VXCheckDeficit" && n == 2)
        return checkDeficit(expr.arg(0), expr.arg(1));
    if (head == "VXResolveDeficits" && n == 3)
        return resolveDeficits(expr.arg(0), expr.arg(1), expr.arg(2), giacDerivative(evaluate), abortable(kSolveTime));
    // A drawing request with the wrong number of arguments is refused, not evaluated.
    static const char* const names[] = {
        "QVBuildModelFromCore", "QVBuildModelFromVars", "QVSolveSystem", "QVConstrainedMin", "VXFinalizeModel",
        "VXVariableCheck",      "VXGetPlotVars",        "VXPlotDeficit", "VXCheckDeficit",   "VXResolveDeficits"};
    for (const char* name : names)
        if (head == name) {
            if (head.starts_with("QVBuildModel"))
                model_.clear();
            return Expr::symbol("$Failed");
        }
    return std::nullopt;
}

} // namespace kernelproc
