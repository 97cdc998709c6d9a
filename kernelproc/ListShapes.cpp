#include "kernelproc/ListShapes.h"

#include "kernelproc/GiacInput.h"
#include "kernelproc/GiacNames.h"

#include <algorithm>

namespace kernelproc {

using wire::Expr;

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
            throw TranslationError("Objects of unequal length in " + wire::toFullForm(whole) + " cannot be combined");
    }
    for (std::size_t i = 0; i < lists.front().size(); ++i) {
        std::vector<const Expr*> column;
        for (const auto& list : lists)
            column.push_back(list[i]);
        requireEqualLengths(column, whole);
    }
}

} // namespace kernelproc
