#include "kernelproc/ListValues.h"

#include "kernelproc/ConstructResolver.h"
#include "kernelproc/GiacNames.h"
#include "kernelproc/ListShapes.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace kernelproc {

using wire::Expr;

namespace {

// The most values a variable's range is put in one by one for: each costs an
// evaluation of its own.
constexpr long long kMostValues = 1000;

bool isMatrixFunction(std::string_view head)
{
    for (const char* name :
         {"Det", "Inverse", "Eigenvalues", "MatrixPower", "Transpose", "Tr", "Total", "Norm", "Cross", "Dot"}) {
        if (head == name)
            return true;
    }
    return false;
}

// A call that combines its arguments element by element where they are lists.
bool combines(const Expr& e, std::string_view head)
{
    for (const char* name : {"Plus", "Subtract", "Times", "Divide", "Power", "Mod", "Log", "Equal", "Unequal"}) {
        if (head == name)
            return true;
    }
    return e.argCount() >= 2 && !giacFunctionFor(head).empty() && !isBindingConstruct(e);
}

bool isList(const Expr& e)
{
    return literalElements(e).has_value();
}

bool isListLike(const Expr& e)
{
    return isList(e) || mayYieldList(e);
}

// Lengths matter where two lists meet; a matrix function's argument has a
// shape of its own. `listVariable` names a variable whose values are lists.
bool shapesMatter(const Expr& e, const std::string* listVariable = nullptr)
{
    if (!e.isFunction() || !e.head().isSymbol())
        return false;
    const std::string_view head = plainHead(e.head().text);
    const bool matrix = isMatrixFunction(head);
    if (!matrix && !combines(e, head))
        return false;
    const auto lists = std::count_if(e.parts.begin() + 1, e.parts.end(), [&](const Expr& a) {
        return isListLike(a) || (listVariable && holdsFree(a, *listVariable));
    });
    return lists >= (matrix ? 1 : 2);
}

// An antiderivative or a series asked for as a whole request is computed
// otherwise than inside another expression (with its constant, say).
bool evaluatesAsPart(const Expr& e)
{
    const std::string_view head = plainHead(e.head().text);
    return !(head == "Integrate" && e.argCount() == 2 && e.arg(1).isSymbol()) && head != "Series";
}

Expr renamed(const Expr& e, const std::string& from, const std::string& to)
{
    return replacedFree(e, from, Expr::symbol(to));
}

bool isFailure(const Expr& e)
{
    return e.isSymbol("$Failed") || e.isSymbol("$Aborted") || e.isSymbol("$Canceled");
}

Expr call(const char* head, std::vector<Expr> args)
{
    return Expr::function(head, std::move(args));
}

} // namespace

std::optional<Expr> unequalLists(const Expr& a, const Expr& b, const std::function<Expr(const Expr&)>& value)
{
    if (!a.hasHead("List") || !b.hasHead("List"))
        return std::nullopt;
    if (a.argCount() != b.argCount())
        return Expr::symbol("True");
    bool decided = true;
    for (std::size_t i = 0; i < a.argCount(); ++i) {
        const Expr pair = value(call("Unequal", {a.arg(i), b.arg(i)}));
        if (pair.isSymbol("True"))
            return pair;
        decided = decided && pair.isSymbol("False");
    }
    if (!decided)
        return std::nullopt;
    return Expr::symbol("False");
}

Expr replacedFree(const Expr& e, const std::string& name, const Expr& by)
{
    if (e.isSymbol(name))
        return by;
    if (!e.isFunction())
        return e;
    const std::vector<std::string> own = boundVariables(e);
    if (std::find(own.begin(), own.end(), name) != own.end())
        return e; // a variable of its own of that name
    Expr out = e;
    for (std::size_t i = 0; i < out.argCount(); ++i)
        out.arg(i) = replacedFree(out.arg(i), name, by);
    return out;
}

std::optional<Expr> ListValues::withValues(const Expr& e) const
{
    if (!value_ || !shapesMatter(e))
        return std::nullopt;
    Expr out = e;
    bool changed = false;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        const Expr& operand = e.arg(i);
        if (!mayYieldList(operand))
            continue;
        std::optional<Expr> list = isBindingConstruct(operand) ? distributed(operand) : std::nullopt;
        if (!list && evaluatesAsPart(operand))
            list = valueOf(operand);
        if (list) {
            out.arg(i) = std::move(*list);
            changed = true;
        }
    }
    if (!changed)
        return std::nullopt;
    return out;
}

std::optional<Expr> ListValues::valueOf(const Expr& operand) const
{
    // A variable bound around the operand has no value yet. Where the list's
    // length does not depend on it, the operand is evaluated with the
    // variable as an unknown of its own name; where it does, the construct
    // that binds the variable puts its values in one by one, or Giac decides.
    std::vector<std::string> inside;
    for (const std::string& name : bound_) {
        if (holdsFree(operand, name) && std::find(inside.begin(), inside.end(), name) == inside.end())
            inside.push_back(name);
    }
    Expr free = operand;
    for (const std::string& name : inside) {
        if (shapeDependsOn(operand, name))
            return std::nullopt;
        free = renamed(free, name, "vx bound " + name);
    }
    Expr value = value_(free, !inside.empty());
    for (const std::string& name : inside)
        value = renamed(value, "vx bound " + name, name);
    if (isFailure(value) || !isList(value))
        return std::nullopt;
    return value;
}

bool ListValues::needsEachTerm(const Expr& construct) const
{
    const Expr& body = construct.arg(0);
    const bool sum = plainHead(construct.head().text) != "Table";
    for (std::size_t i = 1; i < construct.argCount(); ++i) {
        const Expr& range = construct.arg(i);
        if (!range.hasHead("List") || range.argCount() < 2 || !range.arg(0).isSymbol())
            continue;
        const std::string& name = range.arg(0).text;
        const bool overLists = range.argCount() == 2 && range.arg(1).hasHead("List") &&
            std::any_of(range.arg(1).parts.begin() + 1, range.arg(1).parts.end(), isListLike);
        if (needsEachValue(body, name, overLists) || (sum && isListLike(body) && shapeDependsOn(body, name)))
            return true;
    }
    return false;
}

bool ListValues::needsEachValue(const Expr& body, const std::string& name, bool overLists) const
{
    if (!value_ || !body.isFunction())
        return false;
    const std::vector<std::string> own = boundVariables(body);
    if (std::find(own.begin(), own.end(), name) != own.end())
        return false;
    if (shapesMatter(body, overLists ? &name : nullptr) &&
        std::any_of(body.parts.begin() + 1, body.parts.end(), [&](const Expr& a) {
            return overLists ? holdsFree(a, name) : mayYieldList(a) && shapeDependsOn(a, name);
        }))
        return true;
    return std::any_of(body.parts.begin() + 1, body.parts.end(),
                       [&](const Expr& a) { return needsEachValue(a, name, overLists); });
}

std::optional<Expr> ListValues::listValue(const Expr& e, const std::vector<std::string>& names) const
{
    if (isList(e))
        return e;
    if (!value_ || !mayYieldList(e))
        return std::nullopt;
    ListValues around(value_, bound_);
    around.bound_.insert(around.bound_.end(), names.begin(), names.end());
    return around.valueOf(e);
}

std::optional<Expr> ListValues::distributed(const Expr& construct) const
{
    const std::string_view head = plainHead(construct.head().text);
    const bool distributes =
        head == "Sum" || head == "Product" || head == "Integrate" || head == "D" || head == "Limit" || head == "Series";
    if (!distributes || construct.argCount() < 2)
        return std::nullopt;
    std::optional<Expr> body = listValue(construct.arg(0), boundVariables(construct));
    if (!body)
        return std::nullopt;
    std::optional<std::vector<const Expr*>> elements = literalElements(*body);
    Expr list = call("List", {});
    for (const Expr* element : *elements) {
        Expr each = construct;
        each.arg(0) = *element;
        list.parts.push_back(std::move(each));
    }
    return list;
}

std::optional<std::vector<Expr>> ListValues::rangeValues(const Expr& range) const
{
    const std::size_t n = range.argCount();
    if (!value_ || !range.hasHead("List") || n < 2 || n > 4 || !range.arg(0).isSymbol())
        return std::nullopt;
    if (n == 2 && range.arg(1).hasHead("List"))
        return std::vector<Expr>(range.arg(1).parts.begin() + 1, range.arg(1).parts.end());
    if (std::any_of(bound_.begin(), bound_.end(), [&](const std::string& name) { return holdsFree(range, name); }))
        return std::nullopt;
    const Expr from = n == 2 ? Expr::integer(1) : range.arg(1);
    const Expr& to = range.arg(n == 2 ? 1 : 2);
    const Expr step = n == 4 ? range.arg(3) : Expr::integer(1);
    const Expr last = value_(
        call("Floor", {call("Divide", {call("Plus", {to, call("Times", {Expr::integer(-1), from})}), step})}), true);
    long long count = 0;
    try {
        count = last.type == wire::kTokenInteger ? std::stoll(last.text) + 1 : kMostValues + 1;
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (count > kMostValues)
        return std::nullopt;
    if (count <= 0)
        return std::vector<Expr>();
    const Expr values = value_(call("Table", {range.arg(0), range}), true);
    if (!values.hasHead("List"))
        return std::nullopt;
    return std::vector<Expr>(values.parts.begin() + 1, values.parts.end());
}

std::optional<Expr> ListValues::termByTerm(const Expr& e) const
{
    const std::string& name = e.head().isSymbol() ? e.head().text : "";
    const bool table = name == "Table";
    const bool iteration = plainHead(name) == "Sum" || plainHead(name) == "Product";
    if (!value_ || e.argCount() < 2 || !(table || (iteration && e.argCount() == 2)))
        return std::nullopt;
    if (!needsEachTerm(e))
        return iteration ? distributed(e) : std::nullopt;
    const Expr& variable = e.arg(1).hasHead("List") ? e.arg(1).arg(0) : e.arg(1);
    std::optional<std::vector<Expr>> terms = rangeValues(e.arg(1));
    if (!terms)
        throw TranslationError("the lengths of the lists in " + wire::toFullForm(e.arg(0)) +
                               " depend on its variable, whose values are not numbers, or are more than can be put "
                               "in one by one");
    Expr rest = e.arg(0); // a table's later ranges stay a table of each term
    if (table && e.argCount() > 2) {
        rest = e;
        rest.parts.erase(rest.parts.begin() + 2);
    }
    Expr out = call(table ? "List" : plainHead(name) == "Sum" ? "Plus" : "Times", {});
    for (const Expr& value : *terms)
        out.parts.push_back(replacedFree(rest, variable.text, value));
    return out;
}

std::optional<Expr> ListValues::rewritten(const Expr& e) const
{
    if (!e.isFunction() || !e.head().isSymbol())
        return std::nullopt;
    const std::string_view head = plainHead(e.head().text);
    if (e.head().text == "Range")
        return rangeTable(e);
    if (head == "Total" && e.argCount() == 1) {
        // A list of lists adds as the kernel adds lists: element by element, of one length.
        std::optional<std::vector<const Expr*>> rows = literalElements(e.arg(0));
        if (!rows || std::none_of(rows->begin(), rows->end(), [](const Expr* row) { return isList(*row); }))
            return std::nullopt;
        Expr sum = call("Plus", {});
        for (const Expr* row : *rows)
            sum.parts.push_back(*row);
        requireEqualLengths(*rows, sum);
        return sum;
    }
    if (head != "Unequal" || e.argCount() != 2 || !e.arg(0).hasHead("List") || !e.arg(1).hasHead("List"))
        return std::nullopt;
    // Lists of different lengths are unequal; of one length, as their elements are.
    const bool bound = std::any_of(bound_.begin(), bound_.end(), [&](const std::string& v) { return holdsFree(e, v); });
    if (e.arg(0).argCount() != e.arg(1).argCount())
        return Expr::symbol("True");
    if (!value_ || bound)
        return std::nullopt;
    const Expr decided = value_(e, false);
    if (!decided.isSymbol("True") && !decided.isSymbol("False"))
        return std::nullopt;
    return decided;
}

Expr ListValues::rangeTable(const Expr& e) const
{
    // Range[a, b, step] is Table[k, {k, a, b, step}], for numbers, or for the
    // variables of sums and tables around it.
    const std::size_t n = e.argCount();
    if (n < 1 || n > 3)
        throw TranslationError("Range is called with " + std::to_string(n) + " arguments; it takes 1 to 3");
    std::function<bool(const Expr&)> known = [&](const Expr& a) {
        if (a.isSymbol())
            return isKnownConstant(a.text) || std::find(bound_.begin(), bound_.end(), a.text) != bound_.end();
        return !a.isFunction() || std::all_of(a.parts.begin() + 1, a.parts.end(), known);
    };
    if (!std::all_of(e.parts.begin() + 1, e.parts.end(), known))
        throw TranslationError("Range needs numbers for its bounds");
    const Expr k = Expr::symbol("vx range");
    Expr range = call("List", {k});
    range.parts.insert(range.parts.end(), e.parts.begin() + 1, e.parts.end());
    return call("Table", {k, std::move(range)});
}

} // namespace kernelproc
