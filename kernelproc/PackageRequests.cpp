#include "kernelproc/PackageRequests.h"

#include <charconv>
#include <stdexcept>

#include "kernelproc/BoxText.h"
#include "kernelproc/CalculationChoices.h"
#include "kernelproc/PlotRequests.h"
#include "kernelproc/TermDrops.h"
#include "kernelproc/TermShuffles.h"

namespace kernelproc {

using wire::Expr;

namespace {

Expr list(std::vector<Expr> items) { return Expr::function("List", std::move(items)); }

Expr defaultPriorities() { return list({Expr::symbol("False"), list({})}); }

// The expression without the program's VXMover, VXTarget and VXMarker wrappers.
Expr withoutMarkers(const Expr& e)
{
    if (e.hasHead("VXMover", 1) || e.hasHead("VXTarget", 1) || e.hasHead("VXMarker", 1))
        return withoutMarkers(e.arg(0));
    Expr copy = e;
    for (std::size_t i = 1; i < copy.parts.size(); ++i)
        copy.parts[i] = withoutMarkers(copy.parts[i]);
    return copy;
}

bool isPriorityList(const Expr& e)
{
    return e.hasHead("List", 2) && (e.arg(0).isSymbol("True") || e.arg(0).isSymbol("False")) &&
           e.arg(1).hasHead("List");
}

// The placeholder of an empty argument stands for the session's default variable.
Expr withDefaultVariable(const Expr& e, const std::string& variable)
{
    if (e.isSymbol("vxDefaultVar"))
        return Expr::symbol(variable);
    Expr copy = e;
    for (Expr& p : copy.parts)
        p = withDefaultVariable(p, variable);
    return copy;
}

// The text ToString[Hold[e], StandardForm] answers; $Failed for a tree too deep to write.
Expr standardForm(const Expr& e)
{
    try {
        return Expr::string("\\!\\(Hold[" + boxText(e) + "]\\)");
    } catch (const std::invalid_argument&) {
        return Expr::symbol("$Failed");
    }
}

// The code of a calculation or a term drag; nothing for anything but an
// integer that fits.
std::optional<int> requestCode(const Expr& e)
{
    int code = 0;
    const char* end = e.text.data() + e.text.size();
    if (e.type != wire::kTokenInteger)
        return std::nullopt;
    const auto [stop, error] = std::from_chars(e.text.data(), end, code);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return code;
}

} // namespace

Expr PackageRequests::prepared(const Expr& part) const
{
    return withDefaultVariable(withoutMarkers(part), prefs_.defaultVariable);
}

PackageRequests::PackageRequests()
{
    prefs_.sortPriorities = defaultPriorities();
}

Expr PackageRequests::setSessionPrefs(const Expr& expr)
{
    const std::size_t n = expr.argCount();
    if ((n != 4 && n != 5) || !expr.arg(0).isSymbol() || !expr.arg(1).isSymbol() ||
        expr.arg(2).type != wire::kTokenInteger || expr.arg(n - 1).type != wire::kTokenInteger)
        return Expr::symbol("$Failed");
    prefs_.defaultVariable = expr.arg(0).text;
    prefs_.transformVariable = expr.arg(1).text;
    prefs_.precision = std::stoll(expr.arg(2).text);
    prefs_.simplificationLevel = std::stoll(expr.arg(n - 1).text);
    if (n == 5)
        prefs_.sortPriorities = isPriorityList(expr.arg(3)) ? expr.arg(3) : defaultPriorities();
    return Expr::symbol("Null");
}

std::optional<Expr> PackageRequests::answer(const Expr& expr, const Evaluate& evaluate, const Ask& ask,
                                            std::vector<KernelMessage>* messages)
{
    if (expr.isSymbol("vxDefaultSortPriorities"))
        return defaultPriorities();
    if (expr.isSymbol("vxSortPriorities"))
        return prefs_.sortPriorities;
    if (!expr.isFunction() || !expr.head().isSymbol())
        return std::nullopt;
    const std::string& head = expr.head().text;
    const std::size_t n = expr.argCount();
    if (head == "VXSetSessionPrefs")
        return setSessionPrefs(expr);
    if (head == "VXSetSortPriorities" && n == 1) {
        if (!isPriorityList(expr.arg(0)))
            return Expr::symbol("$Failed");
        prefs_.sortPriorities = expr.arg(0);
        return Expr::symbol("Null");
    }
    if (head == "VXEvaluateShuffle" && n == 1)
        return evaluateShuffle(expr.arg(0));
    if (head == "VXEvaluateDrop" && n == 2)
        return evaluateDrop(expr.arg(0), expr.arg(1));
    if (head == "VXEvaluateEval" && n == 1) {
        ChoiceContext context{prefs_.defaultVariable, prefs_.transformVariable, constants_};
        return choiceList(calculationChoices(expr.arg(0), context));
    }
    calculations_.watchConstants(constants_);
    if (head == "VXEvaluate" && n == 2) {
        std::optional<int> code = requestCode(expr.arg(0));
        if (!code)
            return Expr::symbol("$Failed");
        return atSessionPrecision(calculations_.perform(*code, prepared(expr.arg(1)), prefs_, evaluate, messages),
                                  prefs_);
    }
    if (head == "VXShuffle" && n == 2) {
        std::optional<int> code = requestCode(expr.arg(0));
        return code ? shuffle(*code, expr.arg(1)) : Expr::symbol("$Failed");
    }
    if (head == "VXSimplify" && n == 1)
        return atSessionPrecision(calculations_.simplify(prepared(expr.arg(0)), prefs_, evaluate), prefs_);
    if (head == "VXStringEvaluate" && n == 1)
        return atSessionPrecision(calculations_.evaluateCode(prepared(expr.arg(0)), prefs_, evaluate, messages),
                                  prefs_);
    if (head == "VXDrop" && n == 3) {
        std::optional<int> code = requestCode(expr.arg(0));
        return code ? drop(*code, expr.arg(1), expr.arg(2)) : Expr::symbol("$Failed");
    }
    if ((head == "VXComputePlot" && n == 1) || (head == "VXResolvePlot" && n == 2))
        return PlotRequests::answer(prepared(expr), evaluate, ask);
    if (head.starts_with("QV") || head.starts_with("VX"))
        if (std::optional<Expr> drawing = drawings_.answer(prepared(expr), evaluate, messages))
            return drawing;
    if (head == "ToString" && n == 2 && expr.arg(0).hasHead("Hold", 1) && expr.arg(1).isSymbol("StandardForm"))
        return standardForm(expr.arg(0).arg(0));
    return std::nullopt;
}

} // namespace kernelproc
