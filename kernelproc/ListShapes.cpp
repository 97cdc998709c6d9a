#include "kernelproc/ListShapes.h"

#include "kernelproc/ConstructResolver.h"
#include "kernelproc/GiacInput.h"
#include "kernelproc/GiacNames.h"

#include <algorithm>

namespace kernelproc {

using wire::Expr;

namespace {

constexpr int kMaxDepth = 256; // as deep as the translation reads

TranslationError unequalLengths(const Expr& whole)
{
    return TranslationError("Objects of unequal length in " + wire::toFullForm(whole) + " cannot be combined");
}

bool yieldsList(const Expr& e, int depth)
{
    if (literalElements(e))
        return true;
    if (!e.isFunction() || !e.head().isSymbol() || depth > kMaxDepth)
        return false;
    const std::string& head = e.head().text;
    if (head == "Table" || head == "Range" || plainHead(head) == "IdentityMatrix")
        return true;
    if (isBindingConstruct(e)) {
        // A sum of lists is a list; a sum of numbers is not. A solution is
        // computed only as a whole request.
        const std::string_view construct = plainHead(head);
        return construct != "Solve" && construct != "Dt" && !construct.ends_with("Transform") &&
            yieldsList(e.arg(0), depth + 1);
    }
    return std::any_of(e.parts.begin() + 1, e.parts.end(), [depth](const Expr& a) { return yieldsList(a, depth + 1); });
}

bool holdsAny(const Expr& e, std::size_t from, const std::string& name)
{
    return std::any_of(e.parts.begin() + 1 + static_cast<std::ptrdiff_t>(std::min(from, e.argCount())), e.parts.end(),
                       [&](const Expr& a) { return holdsFree(a, name); });
}

// True when the number of values a table's range gives depends on `name`.
bool countDependsOn(const Expr& range, const std::string& name)
{
    if (!range.hasHead("List"))
        return holdsFree(range, name);                         // {n} written n
    if (range.argCount() == 2 && range.arg(1).hasHead("List")) // {k, {values}}: as many as are written
        return false;
    return holdsAny(range, range.argCount() == 1 ? 0 : 1, name);
}

} // namespace

std::optional<std::vector<const Expr*>> literalElements(const Expr& e)
{
    const bool matrix = e.hasHead("VXMatrix") || e.hasHead("Matrix");
    if (!e.hasHead("List") && !matrix)
        return std::nullopt;
    // A matrix's rows may come as one list of rows.
    const bool listOfRows = matrix && e.argCount() == 1 && e.arg(0).hasHead("List") && e.arg(0).argCount() > 0 &&
        e.arg(0).arg(0).hasHead("List");
    const Expr& items = listOfRows ? e.arg(0) : e;
    std::vector<const Expr*> out;
    for (std::size_t i = 0; i < items.argCount(); ++i)
        out.push_back(&items.arg(i));
    return out;
}

std::optional<ListShape> literalShape(const Expr& e)
{
    std::optional<std::vector<const Expr*>> elements = literalElements(e);
    if (!elements)
        return std::nullopt;
    ListShape shape;
    shape.length = elements->size();
    for (const Expr* element : *elements) {
        if (!element->hasHead("List") || (shape.rowLength && *shape.rowLength != element->argCount())) {
            shape.rowLength.reset();
            return shape;
        }
        shape.rowLength = element->argCount();
    }
    return shape;
}

bool isListValued(const Expr& e)
{
    if (e.hasHead("List") || e.hasHead("Table"))
        return true;
    if (!e.isFunction() || !e.head().isSymbol())
        return false;
    const std::string_view head = plainHead(e.head().text);
    if (head != "Plus" && head != "Times" && head != "Power" && head != "Divide" && head != "Subtract")
        return false;
    return !hasMatrixOperand(e) && std::any_of(e.parts.begin() + 1, e.parts.end(), isListValued);
}

bool hasMatrixOperand(const Expr& e)
{
    return e.isFunction() &&
        std::any_of(e.parts.begin() + 1, e.parts.end(), [](const Expr& a) { return a.hasHead("VXMatrix"); });
}

bool mayYieldList(const Expr& e)
{
    return e.isFunction() && !literalElements(e) && yieldsList(e, 0);
}

bool shapeDependsOn(const Expr& e, const std::string& name)
{
    if (!e.isFunction() || !e.head().isSymbol())
        return false;
    const std::string& head = e.head().text;
    if (head == "Range" || plainHead(head) == "IdentityMatrix")
        return holdsAny(e, 0, name);
    const bool counted = head == "Table" &&
        std::any_of(e.parts.begin() + 2, e.parts.end(), [&](const Expr& range) { return countDependsOn(range, name); });
    const std::vector<std::string> own = boundVariables(e);
    if (counted || std::find(own.begin(), own.end(), name) != own.end()) // or a variable of its own of that name
        return counted;
    if (plainHead(head) == "Part" && holdsAny(e, 1, name))
        return true;
    return std::any_of(e.parts.begin() + 1, e.parts.end(), [&](const Expr& a) { return shapeDependsOn(a, name); });
}

std::optional<Expr> elementwise(const Expr& e)
{
    if (!e.isFunction() || !e.head().isSymbol())
        return std::nullopt;
    const std::string_view head = plainHead(e.head().text);
    const bool product = head == "Times" || head == "Divide" || head == "Power";
    // An operand whose value is not known yet may be a list of its own: Giac combines it.
    if (!(product || head == "Plus" || head == "Subtract" || head == "Mod" || head == "Log" || head == "Range") ||
        (product && hasMatrixOperand(e)) || std::any_of(e.parts.begin() + 1, e.parts.end(), mayYieldList))
        return std::nullopt;
    std::vector<std::optional<std::vector<const Expr*>>> operands;
    std::optional<std::size_t> length;
    for (std::size_t i = 0; i < e.argCount(); ++i) {
        operands.push_back(literalElements(e.arg(i)));
        if (operands.back() && length && *length != operands.back()->size())
            throw unequalLengths(e);
        if (operands.back())
            length = operands.back()->size();
    }
    if (!length)
        return std::nullopt;
    Expr list = Expr::function("List", {});
    for (std::size_t k = 0; k < *length; ++k) {
        Expr call = Expr::function(e.head(), {});
        for (std::size_t i = 0; i < e.argCount(); ++i)
            call.parts.push_back(operands[i] ? *(*operands[i])[k] : e.arg(i));
        list.parts.push_back(std::move(call));
    }
    return list;
}

bool isSquareMatrix(const ListShape& shape)
{
    return shape.length > 0 && shape.rowLength == shape.length;
}

std::string describe(const ListShape& shape)
{
    if (!shape.rowLength)
        return "a list of " + std::to_string(shape.length);
    return "a " + std::to_string(shape.length) + " by " + std::to_string(*shape.rowLength) + " matrix";
}

void requireEqualLengths(const std::vector<const Expr*>& operands, const Expr& whole)
{
    std::vector<std::vector<const Expr*>> lists;
    for (const Expr* operand : operands) {
        if (std::optional<std::vector<const Expr*>> elements = literalElements(*operand))
            lists.push_back(std::move(*elements));
    }
    if (lists.size() < 2)
        return;
    for (const auto& list : lists) {
        if (list.size() != lists.front().size())
            throw unequalLengths(whole);
    }
    for (std::size_t i = 0; i < lists.front().size(); ++i) {
        std::vector<const Expr*> column;
        for (const auto& list : lists)
            column.push_back(list[i]);
        requireEqualLengths(column, whole);
    }
}

} // namespace kernelproc
