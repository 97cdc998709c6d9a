#pragma once
// One equation of a drawing compiled for fast numeric work: its residual
// (left side minus right side, or the bare expression) and the residual's
// exact partial derivatives, taken in one backward pass over the compiled
// tree. Arithmetic and the elementary functions are known; leaves are numbers,
// the constants Pi and E, and whatever the caller's resolver makes of the
// other leaves (a variable's index or a value).
#include "mathlink/Expr.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kernelproc {

class DrawTerm {
public:
    // What a leaf stands for: the unknown with that index, or a fixed value.
    struct Leaf {
        int variable = -1;
        double value = 0;
    };
    using Resolve = std::function<std::optional<Leaf>(const wire::Expr& leaf)>;

    // The residual of e (an Equal[l, r] or an expression meaning e == 0); nothing
    // and a reason in `error` when e holds a head or leaf that cannot be compiled.
    static std::optional<DrawTerm> compile(const wire::Expr& e, const Resolve& resolve, std::string& error);

    // The residual at the values x (indexed by the resolver's variables).
    double value(const std::vector<double>& x) const;
    // The residual, with one (variable, partial) pair for each variable it uses.
    double gradient(const std::vector<double>& x, std::vector<std::pair<int, double>>& partials) const;
    // A bound on the rounding in the residual last taken (by value or
    // gradient), the values' own rounding included.
    double rounding() const;
    // The variables the residual uses, each once.
    const std::vector<int>& variables() const { return variables_; }

    struct Node;

private:
    DrawTerm(std::shared_ptr<Node> root, std::vector<int> variables);
    std::shared_ptr<Node> root_;
    std::vector<int> variables_;
};

// The two sides of a relation Equal[l, r] or VXInequality[l, Equal, r]; nothing
// for anything else.
std::optional<std::pair<wire::Expr, wire::Expr>> equationSides(const wire::Expr& e);

} // namespace kernelproc
