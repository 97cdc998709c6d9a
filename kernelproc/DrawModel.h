#pragma once
// The kernel's model of one drawing, kept between requests: the equations
// that bind the variables of the part of the drawing being solved, compiled
// once when the model is built, then solved any number of times or followed
// through a drag.
//
//   QVBuildModelFromCore[system, core] / QVBuildModelFromVars[system, vars]
//     -> {VXDrawVar[id]...}: the unknowns connected (through shared equations)
//        to the core equations' variables or to the given variables;
//   QVSolveSystem[rules] -> {1, {VXDrawVar[id] -> real...}} or {0, {}}: the
//        solution nearest the rules' values in which the variables a model was
//        built from keep their values (the user's edits); no solution when a
//        core equation binds fixed values alone and does not hold;
//   QVConstrainedMin[before, moved, target] -> the same: the solution nearest
//        the moved values with the target's coordinates where the user put
//        them or, when no solution has them there, as near as they can be.
// A malformed solve or drag request answers $Failed and leaves the model as
// it was; a build that fails leaves no model.
#include "kernelproc/ConstraintProjection.h"
#include "kernelproc/DrawSystem.h"
#include "kernelproc/DrawTerm.h"
#include "mathlink/Expr.h"

#include <map>
#include <string>
#include <vector>

namespace kernelproc {

class DrawModel {
public:
    wire::Expr buildFromCore(const wire::Expr& system, const wire::Expr& core, const Derivative& derivative);
    wire::Expr buildFromVariables(const wire::Expr& system, const wire::Expr& variables, const Derivative& derivative);
    wire::Expr solve(const wire::Expr& rules, const ProjectionLimits& limits = {});
    wire::Expr constrainedMin(const wire::Expr& before, const wire::Expr& moved, const wire::Expr& target,
                              const ProjectionLimits& limits = {});
    // The named variables the last built model defines, each name -> its
    // value: for a name == VXDrawVar[id], the model's last solution (newer
    // than the rules a drag leaves behind) or else the rules' value; the fixed
    // value otherwise. $Failed when rules is no list of rules.
    wire::Expr finalize(const wire::Expr& rules) const;

    bool built() const { return built_; }
    std::size_t unknownCount() const { return values_.size(); }
    // Why the last build failed, for the kernel's message.
    const std::string& error() const { return error_; }

    // Forgets the model. A build replaces the model even when it fails (a
    // later solve must not answer for the variables of an older drawing), and
    // so does a build request too malformed to reach the model.
    void clear();

private:
    wire::Expr build(const wire::Expr& system, std::vector<wire::Expr> core, std::vector<long long> seeds,
                     const Derivative& derivative);
    bool readRules(const wire::Expr& rules, std::vector<double>& values) const;
    wire::Expr answer(bool solved) const;
    // Moves values to the solution nearest wanted with the heavy unknowns at
    // their wanted values, or, when they may yield, to the one where they
    // move least (a millionth of what the others move when they can stay).
    bool nearestSolution(std::vector<double>& values, const std::vector<double>& wanted, const std::vector<bool>& heavy,
                         bool mayYield, const ProjectionLimits& limits) const;

    bool built_ = false;
    bool solved_ = false; // a solve or drag step succeeded since the build
    bool unmet_ = false;  // a core equation of fixed values alone does not hold
    std::string error_;
    std::vector<DrawTerm> equations_;
    std::vector<long long> ids_; // the model's drawing variables, first in the unknowns
    std::map<long long, int> indexOf_;
    std::vector<std::string> names_; // named variables without a definition, unknowns after ids_
    std::vector<bool> held_;         // the variables a model was built from
    std::vector<double> values_;     // the last values of all unknowns
    std::vector<std::pair<std::string, wire::Expr>> definitions_;
};

} // namespace kernelproc
