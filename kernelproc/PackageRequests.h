#pragma once
// The package functions the editor calls by name: the session preferences,
// the sort priorities, the choice lists of the calculation menu and term
// dragging, the plot and drawing requests, and ToString. They answer in the
// shapes the editor reads; computing plots and drawing models is done
// elsewhere (an empty picture or list stands in until then).
#include "mathlink/Expr.h"

#include <functional>
#include <optional>
#include <string>

namespace kernelproc {

struct SessionPrefs {
    std::string defaultVariable = "x";
    std::string transformVariable = "xi";
    long long precision = 0;
    long long simplificationLevel = 1;
    wire::Expr sortPriorities;    // List[True|False, List[List[symbol, priority]...]]
};

class PackageRequests {
public:
    using Evaluate = std::function<wire::Expr(const wire::Expr&)>;

    PackageRequests();
    // The answer when expr is one of these requests, else nothing.
    std::optional<wire::Expr> answer(const wire::Expr& expr, const Evaluate& evaluate);
    const SessionPrefs& prefs() const { return prefs_; }

private:
    wire::Expr setSessionPrefs(const wire::Expr& expr);

    SessionPrefs prefs_;
};

} // namespace kernelproc
