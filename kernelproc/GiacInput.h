#pragma once
// Writes a kernel expression in Giac's input language. Free symbols become
// identifiers of their own ("qv_x"); the kernel's constants and functions
// become Giac's. The variable a sum, product, table, integral, derivative,
// limit or series runs over is a variable whatever its name: i there is no
// imaginary unit.
#include "mathlink/Expr.h"

#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kernelproc {

// An expression that has no Giac form; the text says which part.
class TranslationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An expression nested deeper than the translation reads: the whole of it is refused.
class NestedTooDeep : public TranslationError {
public:
    using TranslationError::TranslationError;
};

class GiacInput {
public:
    // Takes a call refused inside a larger expression, with the refusal, and
    // answers the name of an unknown that stands for the call as written.
    using Hold = std::function<std::string(const wire::Expr& call, const TranslationError& why)>;
    // Evaluates a part of what is translated and answers its value: an operand
    // that only a computation makes a list, whose shape the translation must
    // know. `quiet` keeps the messages of that evaluation unsaid.
    using Value = std::function<wire::Expr(const wire::Expr& e, bool quiet)>;

    GiacInput() = default;
    // Refused calls inside what is translated are held through `hold`: each
    // holds only itself, or the construct around it that binds a variable it
    // depends on or whose range it stands in. A refusal of all that is
    // translated, or of an expression nested too deep, is thrown.
    explicit GiacInput(Hold hold) : hold_(std::move(hold)) {}
    // Lists that only a computation yields are evaluated through `value`, so
    // that their shapes are checked and their elements combined as the
    // kernel does; without it Giac combines them as it does.
    GiacInput(Hold hold, Value value) : hold_(std::move(hold)), value_(std::move(value)) {}

    std::string translate(const wire::Expr& expr);
    // Makes the symbol (or each symbol of a list) a variable in what is
    // translated from now on, even where its name is a constant's.
    void bind(const wire::Expr& variables);
    // True when `text` is what translate() answered for a call it refused and holds.
    bool isHeld(const std::string& text) const { return heldTexts_.count(text) > 0; }
    // True once a VXMatrix was translated, so that answers show matrices as grids.
    bool sawMatrix() const { return sawMatrix_; }
    // Giac's text of `body` applied to `values`, each computed once: body gets
    // the names the values are bound to. A value pasted into a text several
    // times is computed as often, and a call nested n deep 2^n times.
    using Body = std::function<std::string(const std::vector<std::string>& names)>;
    static std::string once(const std::vector<std::string>& values, const Body& body);
    // An operand of arithmetic or of a function of numbers: a computed truth
    // value (1 < 2, a table of them) stays True or False.
    std::string arithmeticOperand(const wire::Expr& e);
    std::string arithmeticArguments(const wire::Expr& e);

private:
    class Nesting;
    // The placeholder of a refused call, or nothing when it cannot be held alone.
    std::optional<std::string> held(const wire::Expr& e, const TranslationError& why) const;
    std::string atom(const wire::Expr& e);
    std::string symbol(const std::string& name);
    std::string real(const std::string& text);
    // `valuesIn` once the values of e's operands that are lists have been put in.
    std::string function(const wire::Expr& e, bool valuesIn = false);
    // The Giac form of a call whose lists' shapes decide what it means (see
    // ListValues); none for the others.
    std::optional<std::string> listForm(const wire::Expr& e, bool valuesIn);
    std::string args(const wire::Expr& e, std::size_t from = 0);
    std::string joined(const wire::Expr& e, const char* op);
    // The arguments of an undefined function, an infinite one as the kernel's unknown.
    std::string freeArguments(const wire::Expr& e);
    // A literal True or False as Giac's truth value, anything else translated.
    std::string truthOperand(const wire::Expr& e);
    std::string logical(const wire::Expr& e, const char* op);
    std::string iterator(const wire::Expr& body, const wire::Expr& rangeForm, const char* giacName);
    std::string table(const wire::Expr& e);
    // The names of the variables bound around what is translated.
    std::vector<std::string> boundNames() const;
    std::string polyGamma(const wire::Expr& e);
    // Sum or Product over a range of numbers Giac counts differently: none when it does not.
    std::optional<std::string> steppedIteration(const wire::Expr& body, const wire::Expr& range, bool sum);
    // Refuses a product of more factors than are multiplied out one by one
    // whose value is too long to show (see LongProduct).
    void refuseLongProduct(const wire::Expr& body, const wire::Expr& range, const wire::Expr& start,
                           const wire::Expr& step);
    // The list of body's values over {k, {values}}; none for another range.
    std::optional<std::string> overValues(const wire::Expr& body, const wire::Expr& range);
    std::optional<wire::Expr> literalPart(const wire::Expr& whole, const wire::Expr& index);
    std::string exclusiveOr(const wire::Expr& e);
    // The Giac form of a function whose Giac namesake differs at an edge; empty for the others.
    std::string differentConvention(const wire::Expr& e);
    std::string directedInfinity(const wire::Expr& e);
    // The list of body's values over one range of a Table.
    std::string sequence(const std::string& body, const wire::Expr& range);
    void bindName(const std::string& name);
    class Binding;
    std::string derivative(const wire::Expr& e);
    std::string limit(const wire::Expr& e);
    std::string relation(const std::string& head, const wire::Expr& e);
    std::string inequality(const wire::Expr& e);
    std::string split(const wire::Expr& e);
    std::string compoundHead(const wire::Expr& e);

    Hold hold_;
    Value value_;
    bool sawMatrix_ = false;
    // The calls being translated, outermost first.
    std::vector<const wire::Expr*> path_;
    // What the calls refused and held were translated to.
    std::set<std::string> heldTexts_;
    // The bound variables, innermost last: each name with its identifier.
    std::vector<std::pair<std::string, std::string>> bound_;
};

// The exact number a real written out stands for: 0.25 is 1/4, 2.0 is 2.
// Anything else is answered unchanged.
wire::Expr exactNumber(const wire::Expr& real);
// True when a real written out stands anywhere in e.
bool containsReal(const wire::Expr& e);

} // namespace kernelproc
