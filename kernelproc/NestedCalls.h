#pragma once
// Calls of mathematical functions nested deeper than a few levels, evaluated
// from the inside out. Giac rewrites many functions into forms that hold an
// argument twice or more (Mod[x, 3] is x - 3 Floor[x/3], ArcSinh[x] a
// logarithm of x and Sqrt[x^2 + 1]), decides Abs and Sign by looking into
// their argument again at every level, and regroups nested arguments over and
// over: a call nested n deep would cost 2^n. Beyond the first few levels each
// call is evaluated on its own, the values of the calls inside it standing for
// unknowns; where its value would hold such an unknown more than once, the
// call is kept as written around the value. Sums, integrals, derivatives,
// solutions, simplifications and the other constructs that read their
// argument's form are evaluated whole, as written.
#include "mathlink/Expr.h"

#include <functional>
#include <map>
#include <set>
#include <string>

namespace kernelproc {

class NestedCalls {
public:
    // The value of an expression, evaluated as a request of its own.
    using Evaluate = std::function<wire::Expr(const wire::Expr& e)>;
    // An unknown that stands for a value in what is evaluated, and the
    // expression with each such unknown given its value back.
    using Hold = std::function<wire::Expr(const wire::Expr& value)>;
    using Restore = std::function<wire::Expr(const wire::Expr& e)>;

    NestedCalls(Evaluate evaluate, Hold hold, Restore restore)
        : evaluate_(std::move(evaluate)), hold_(std::move(hold)), restore_(std::move(restore))
    {}

    // e with each call nested deeper than a few levels replaced by its value,
    // the calls deep inside that value standing as unknowns; e itself when it
    // nests no deeper.
    wire::Expr reduced(const wire::Expr& e);
    // True when reduced() answered the value of e as a whole.
    bool wholly() const { return wholly_; }
    // An answer with the values put back for their unknowns, its sums in sums
    // and products in products made one, as Giac's own answers are.
    wire::Expr restored(const wire::Expr& answer) const;

private:
    wire::Expr reducedPart(const wire::Expr& e);
    // The value of a deep call, its arguments' values put in.
    wire::Expr levelValue(const wire::Expr& call);
    // An argument's value: what stands in the call evaluated on its own.
    wire::Expr argumentValue(const wire::Expr& argument);
    // What stands for a value in the calls around it: a short value with the
    // calls below its first level as unknowns, a long one as one unknown.
    wire::Expr standIn(const wire::Expr& value);
    wire::Expr inSight(const wire::Expr& value, int depth);
    wire::Expr hidden(const wire::Expr& value);
    // How often each unknown that stands for a value occurs in e.
    void countStandIns(const wire::Expr& e, std::map<std::string, std::size_t>& counts) const;

    Evaluate evaluate_;
    Hold hold_;
    Restore restore_;
    // The names of the unknowns that stand for values.
    std::set<std::string> standIns_;
    bool wholly_ = false;
};

// How deep calls of mathematical functions nest in e: Sin[Cos[x] + 1] is 2.
int functionDepth(const wire::Expr& e);

} // namespace kernelproc
