#pragma once
// The package functions the editor calls by name: the session preferences,
// the sort priorities, the choice lists of the calculation menu and term
// dragging, the plot and drawing requests, and ToString. They answer in the
// shapes the editor reads.
#include "kernelproc/Calculations.h"
#include "kernelproc/DrawingRequests.h"
#include "kernelproc/GiacEvaluator.h"
#include "kernelproc/SessionPrefs.h"
#include "mathlink/Expr.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kernelproc {

class PackageRequests {
public:
    using Evaluate = std::function<wire::Expr(const wire::Expr&)>;

    PackageRequests();
    using Ask = GiacEvaluator::Ask;

    // The answer when expr is one of these requests, else nothing. Plots ask
    // the user for the values of their parameters through ask.
    // Why a request was refused goes to `messages` when given.
    std::optional<wire::Expr> answer(const wire::Expr& expr, const Evaluate& evaluate, const Ask& ask = {},
                                     std::vector<KernelMessage>* messages = nullptr);
    const SessionPrefs& prefs() const { return prefs_; }
    // The set of letters treated as constants, kept by the evaluator.
    void watchConstants(const std::set<std::string>* constants) { constants_ = constants; }

private:
    wire::Expr setSessionPrefs(const wire::Expr& expr);

    wire::Expr prepared(const wire::Expr& part) const;

    SessionPrefs prefs_;
    Calculations calculations_;
    DrawingRequests drawings_;
    const std::set<std::string>* constants_ = nullptr;
};

} // namespace kernelproc
