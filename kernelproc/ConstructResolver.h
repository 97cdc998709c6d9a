#pragma once
// The constructs whose meaning the kernel gives itself rather than Giac's: a
// definite integral, which is checked for divergence, and Part and Length,
// which read an expression as the kernel shows it. Each is resolved wherever
// it stands in a request (inside a sum, a list, a relation, a wrapper such as
// Simplify or N, an outer integral) before the request goes to Giac: it is
// replaced by its value, or held as written behind a placeholder that Giac
// takes for an unknown and that the answer gives back as written. A held
// construct that depends on the variable of a sum, integral, derivative... around
// it holds that construct too: its value cannot be had without it. A sum,
// product or table over a few numbers whose terms hold a definite integral
// that depends on its variable is taken term by term, each with its value
// put in, so that each integral is decided for the value it has.
#include "mathlink/Expr.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kernelproc {

class ConstructResolver {
public:
    // What becomes of a construct.
    struct Outcome {
        enum Kind { value, held, giac };
        Kind kind = giac;
        wire::Expr answer; // the value, for `value`

        static Outcome of(wire::Expr v) { return {value, std::move(v)}; }
        static Outcome hold() { return {held, {}}; }
        static Outcome toGiac() { return {giac, {}}; }
    };
    // A definite integral, its parts resolved; `bound` when it depends on a
    // variable bound around it, whose values only Giac's evaluation of the
    // whole will put in; `outer` the ranges {y, a, b} of the definite
    // integrals around it whose variables it depends on.
    using Integral =
        std::function<Outcome(const wire::Expr& integral, bool bound, const std::vector<wire::Expr>& outer)>;
    // Part with numbers for indices, or Length, of an expression that depends
    // on no variable bound around it: its value, or held (a part that does not exist).
    using Structure = std::function<Outcome(const wire::Expr& request)>;
    // The values a range of a sum, product or table takes ({k, 1, 3} takes
    // 1, 2 and 3), or nothing when they are not a few numbers.
    using RangeValues = std::function<std::optional<std::vector<wire::Expr>>(const wire::Expr& range)>;

    ConstructResolver(Integral integral, Structure structure, RangeValues values = {});

    // The request with each construct resolved. When the whole request was a
    // construct, wholly() is true and the result is its answer.
    wire::Expr resolve(const wire::Expr& request);
    bool wholly() const { return wholly_; }
    // The answer with every held construct put back as it was written.
    wire::Expr restore(const wire::Expr& answer) const;
    // A text (Giac's reason for a failure) with the name of each held construct
    // replaced by the construct as it was written.
    std::string restoreText(std::string text) const;
    // A placeholder for e, which restore() puts back as written: for a
    // construct held after resolve(), a call refused where it stands.
    wire::Expr held(const wire::Expr& e);

private:
    wire::Expr resolved(const wire::Expr& e, const std::vector<std::string>& around, int depth, bool& replaced);
    // The sum, product or table e taken term by term over its first range,
    // or nothing when it is not to be.
    std::optional<wire::Expr> termByTerm(const wire::Expr& e, const std::vector<std::string>& around, int depth);
    // The ranges of the definite integrals around, whose variables `e` depends on.
    std::vector<wire::Expr> outerRanges(const wire::Expr& e) const;
    // The symbols e depends on: its free symbols and those its placeholders stand for.
    std::set<std::string> dependencies(const wire::Expr& e) const;
    void collect(const wire::Expr& e, std::set<std::string>& names, std::vector<std::string>& boundInside) const;

    Integral integral_;
    Structure structure_;
    RangeValues values_;
    bool wholly_ = false;
    // The ranges of the definite integrals whose integrands are being resolved, outermost first.
    std::vector<wire::Expr> integralRanges_;
    // Terms taken one by one in this request so far: their number is bounded.
    std::size_t terms_ = 0;
    // Each placeholder's name with the construct as written and what it depends on.
    struct Held {
        wire::Expr written;
        std::set<std::string> dependencies;
    };
    std::map<std::string, Held> held_;
    // Each held construct's full form with its placeholder's name.
    std::map<std::string, std::string> names_;
};

// A construct whose arguments after the first name its variables, ranges,
// orders or point: a sum, product, table, integral, derivative, limit,
// series, solution or transform.
bool isBindingConstruct(const wire::Expr& e);
// The variables a construct binds: Sum[f, {k, 1, n}] binds k, D[f, x, y] x and y.
std::vector<std::string> boundVariables(const wire::Expr& e);
// True when e holds the symbol `name` outside every construct that binds it.
bool holdsFree(const wire::Expr& e, const std::string& name);

} // namespace kernelproc
