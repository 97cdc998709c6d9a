#pragma once
// Evaluates kernel expressions with Giac. Giac's headers stay out of this
// header, so the rest of the kernel compiles without them.
#include "kernelproc/ConstructResolver.h"
#include "kernelproc/GiacInput.h"
#include "mathlink/Expr.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kernelproc {

struct KernelMessage {
    std::string symbol;   // the function the message is about
    std::string tag;
    std::string text;
};

class GiacEvaluator {
public:
    // Asks the program question `number` with the argument; nothing when the
    // question cannot be asked (the link is gone or the request was answered).
    using Ask = std::function<std::optional<wire::Expr>(int number, const wire::Expr& argument)>;

    GiacEvaluator();
    ~GiacEvaluator();
    GiacEvaluator(const GiacEvaluator&) = delete;
    GiacEvaluator& operator=(const GiacEvaluator&) = delete;

    // The answer; faults are reported in `messages` and answered $Failed.
    wire::Expr evaluate(const wire::Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages);

    // Safe from any thread: asks a running computation to stop.
    static void interrupt();
    // Called before each request.
    static void clearInterrupt();
    // True once a computation has been asked to stop.
    static bool interrupted();

    const std::set<std::string>& constants() const { return constants_; }

private:
    struct Impl;
    // The request, its constructs resolved, by the kind of request it is.
    wire::Expr evaluateResolved(const wire::Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages);
    wire::Expr evaluateSolve(const wire::Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages);
    wire::Expr evaluateXor(const wire::Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages);
    // Part with integer indices and Length of the evaluated expression.
    wire::Expr evaluateStructure(const wire::Expr& expr, const ConstructResolver& constructs, const Ask& ask,
                                 std::vector<KernelMessage>& messages);
    wire::Expr evaluateLogic(const wire::Expr& expr, const Ask& ask, std::vector<KernelMessage>& messages);
    wire::Expr evaluateIntegrate(const wire::Expr& expr);
    ConstructResolver::Outcome evaluateDefiniteIntegral(const wire::Expr& expr, bool bound,
                                                        const std::vector<wire::Expr>& outer,
                                                        std::vector<KernelMessage>& messages);
    ConstructResolver::Outcome checkDefiniteIntegral(const wire::Expr& expr, bool bound,
                                                     const std::vector<wire::Expr>& outer,
                                                     std::vector<KernelMessage>& messages);
    // The values a range of a sum, product or table takes, when they are a few numbers.
    std::optional<std::vector<wire::Expr>> rangeValues(const wire::Expr& range);
    wire::Expr evaluateSeries(const wire::Expr& expr);
    wire::Expr evaluateTotalDerivative(const wire::Expr& expr);
    wire::Expr setAttribute(const wire::Expr& expr, bool set);
    wire::Expr giacValue(const std::string& text, bool matrices, bool series = false);
    std::vector<std::string> freeSymbols(const wire::Expr& expr) const;
    // A translation that holds the calls it refuses inside the request being evaluated.
    GiacInput translation() const { return GiacInput(hold_, value_); }

    std::unique_ptr<Impl> impl_;
    // How deep evaluate() runs inside itself: 0 between requests.
    int depth_ = 0;
    // When the checks of the request's definite integrals must end.
    std::optional<std::chrono::steady_clock::time_point> integralsDue_;
    GiacInput::Hold hold_;
    GiacInput::Value value_;
    std::set<std::string> constants_;
};

} // namespace kernelproc
