#pragma once
// The calculations behind VXEvaluate, VXSimplify and VXStringEvaluate: each
// code of the choice list turned into the plain request that computes it,
// applied side by side to relations, and the user's code evaluated statement
// by statement with its definitions remembered for the session.
#include "kernelproc/CalculationChoices.h"
#include "kernelproc/GiacEvaluator.h"
#include "kernelproc/SessionPrefs.h"
#include "mathlink/Expr.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kernelproc {

class Calculations {
public:
    using Evaluate = std::function<wire::Expr(const wire::Expr&)>;

    // The answer of VXEvaluate[code, part]; $Failed for an unknown code, and
    // for an equation without solutions, which `messages` (when given) hears of.
    wire::Expr perform(int code, const wire::Expr& part, const SessionPrefs& prefs, const Evaluate& evaluate,
                       std::vector<KernelMessage>* messages = nullptr);
    // The answer of VXSimplify[part] at the session's simplification level.
    wire::Expr simplify(const wire::Expr& part, const SessionPrefs& prefs, const Evaluate& evaluate);
    // The answer of VXStringEvaluate[code]: the last statement's value, $Failed
    // when the code does not parse or defines what cannot be defined, with a
    // message saying why in `messages` when given.
    wire::Expr evaluateCode(const wire::Expr& code, const SessionPrefs& prefs, const Evaluate& evaluate,
                            std::vector<KernelMessage>* messages = nullptr);
    void watchConstants(const std::set<std::string>* constants) { constants_ = constants; }

private:
    struct Definition {
        std::vector<std::string> parameters;
        wire::Expr body;
    };

    wire::Expr statement(const wire::Expr& e, const SessionPrefs& prefs, const Evaluate& evaluate);
    // The definitions put in for the names they define, except for `locals`
    // (the variables of the sums, products and tables around e).
    wire::Expr substituted(const wire::Expr& e, int depth, const std::vector<std::string>& locals = {}) const;

    std::map<std::string, Definition> definitions_;
    const std::set<std::string>* constants_ = nullptr;
};

// One rule for every answer: its reals rounded to the session's number of
// significant digits (none when the session asks for machine precision).
wire::Expr atSessionPrecision(const wire::Expr& answer, const SessionPrefs& prefs);

// The variable a calculation works in: the session's default variable when
// the expression has it, else its only unknown, else the default variable.
std::string workingVariable(const wire::Expr& e, const SessionPrefs& prefs, const std::set<std::string>* constants);

} // namespace kernelproc
