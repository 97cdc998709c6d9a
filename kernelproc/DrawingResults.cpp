#include "kernelproc/DrawingResults.h"

#include "kernelproc/CalculationChoices.h"
#include "kernelproc/GiacBounds.h"
#include "kernelproc/GiacNames.h"
#include "kernelproc/PlotFunction.h"
#include "kernelproc/TermFunctions.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kernelproc {

using wire::Expr;

namespace {

// A coordinate or a function is a small computation; a label that asks for
// more is refused rather than waited for.
constexpr std::chrono::milliseconds kEvaluationTime{3000};

Expr list(std::vector<Expr> items)
{
    return Expr::function("List", std::move(items));
}

bool isPoint(const Expr& e)
{
    return e.hasHead("QVPoint", 2);
}

// The two components of a vector written as a pair, a point under an arrow,
// or a matrix of one row or one column of two.
std::optional<std::pair<Expr, Expr>> vectorComponents(const Expr& e)
{
    if (headOf(e) == "OverVector" && e.argCount() == 1) {
        const Expr& inner = e.arg(0);
        if (isPoint(inner) || inner.hasHead("List", 2))
            return std::make_pair(inner.arg(0), inner.arg(1));
        return vectorComponents(inner);
    }
    if (e.hasHead("List", 2) && !e.arg(0).hasHead("List") && !e.arg(1).hasHead("List") &&
        unknownsOf(e, nullptr).empty())
        return std::make_pair(e.arg(0), e.arg(1));
    if (headOf(e) == "Matrix" && e.argCount() == 1)
        return vectorComponents(e.arg(0));
    if (e.hasHead("List", 1) && e.arg(0).hasHead("List", 2))
        return std::make_pair(e.arg(0).arg(0), e.arg(0).arg(1)); // one row
    if (e.hasHead("List", 2) && e.arg(0).hasHead("List", 1) && e.arg(1).hasHead("List", 1))
        return std::make_pair(e.arg(0).arg(0), e.arg(1).arg(0)); // one column
    return std::nullopt;
}

// A function's right side when the part is the equation y == f.
const Expr& functionOf(const Expr& e)
{
    if (e.hasHead("Equal", 2) && e.arg(0).isSymbol("y"))
        return e.arg(1);
    if (e.hasHead("VXInequality", 3) && e.arg(1).isSymbol("Equal") && e.arg(0).isSymbol("y"))
        return e.arg(2);
    return e;
}

std::optional<double> numberOf(const Expr& e, const std::function<Expr(const Expr&)>& evaluate)
{
    if (std::optional<double> v = numericValue(e))
        return v;
    if (!unknownsOf(e, nullptr).empty())
        return std::nullopt;
    GiacTimeLimit limit(kEvaluationTime);
    std::optional<double> v = numericValue(evaluate(Expr::function("N", {e})));
    if (limit.passed())
        return std::nullopt;
    return v && std::isfinite(*v) ? v : std::nullopt;
}

std::optional<Expr> numericPoint(const Expr& x, const Expr& y, const std::function<Expr(const Expr&)>& evaluate)
{
    std::optional<double> vx = numberOf(x, evaluate);
    std::optional<double> vy = vx ? numberOf(y, evaluate) : std::nullopt;
    if (!vy)
        return std::nullopt;
    return Expr::function("QVPoint", {Expr::real(*vx), Expr::real(*vy)});
}

Expr result(DrawingResultKind kind, bool labels, Expr payload)
{
    return list({Expr::integer(kind), Expr::integer(labels ? 1 : 0), std::move(payload)});
}

} // namespace

std::optional<DrawingResultKind> drawingResultKind(const Expr& part)
{
    if (isPoint(part))
        return kDrawPoint;
    if (part.hasHead("List") && part.argCount() > 0 &&
        std::all_of(part.parts.begin() + 1, part.parts.end(), [](const Expr& p) { return isPoint(p); }))
        return kDrawPoints;
    if (vectorComponents(part))
        return kDrawVector;
    const Expr& f = functionOf(part);
    if (f.type == wire::kTokenString || f.hasHead("List") || headOf(f) == "Matrix" || isRelation(f) ||
        headOf(f) == "Drawing" || f.hasHead("QVPoint"))
        return std::nullopt;
    return kDrawFunction;
}

Expr drawingResult(const Expr& part, const std::function<Expr(const Expr&)>& evaluate)
{
    const std::optional<DrawingResultKind> kind = drawingResultKind(part);
    if (!kind)
        return Expr::symbol("$Failed");
    switch (*kind) {
    case kDrawPoint: {
        std::optional<Expr> p = numericPoint(part.arg(0), part.arg(1), evaluate);
        return p ? result(kDrawPoint, true, std::move(*p)) : Expr::symbol("$Failed");
    }
    case kDrawPoints: {
        Expr points = list({});
        for (std::size_t i = 0; i < part.argCount(); ++i) {
            std::optional<Expr> p = numericPoint(part.arg(i).arg(0), part.arg(i).arg(1), evaluate);
            if (!p)
                return Expr::symbol("$Failed");
            points.parts.push_back(std::move(*p));
        }
        return result(kDrawPoints, true, std::move(points));
    }
    case kDrawVector: {
        const auto components = vectorComponents(part);
        std::optional<Expr> p = numericPoint(components->first, components->second, evaluate);
        return p ? result(kDrawVector, false, std::move(*p)) : Expr::symbol("$Failed");
    }
    case kDrawFunction: {
        const Expr& f = functionOf(part);
        // The function as the kernel simplifies it: a derivative or a sum
        // written in the label is plotted as what it stands for.
        GiacTimeLimit limit(kEvaluationTime);
        Expr value = evaluate(f);
        if (limit.passed())
            value = f;
        if (value.isSymbol("$Failed") || value.isSymbol("$Aborted") || value.isSymbol("$Canceled") ||
            drawingResultKind(value) != kDrawFunction)
            value = f;
        return result(kDrawFunction, false, std::move(value));
    }
    }
    return Expr::symbol("$Failed");
}

} // namespace kernelproc
