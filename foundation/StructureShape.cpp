#include "foundation/StructureShape.h"

#include "foundation/CompList.h"
#include "foundation/TextComp.h"

namespace StructureShape {

namespace {

// The child row of comp that holds row (row itself or a row nested in it),
// climbing through owner components; null when row is not inside comp.
const CompList* ChildRowHolding(const TextComp* comp, const CompList* row)
{
    while (row) {
        TextComp* owner = row->GetOwner();
        if (!owner)
            return nullptr;
        if (owner == comp)
            return row;
        row = owner->GetOwner();
    }
    return nullptr;
}

int ChildIndex(const TextComp* comp, const CompList* child)
{
    if (int i = comp->IndexOfChild(child))
        return i;
    for (int i = 1; i <= comp->GetChildCount(); ++i)
        if (comp->GetChild(i) == child)
            return i;
    return 0;
}

} // namespace

int GridColumns(const TextComp* grid)
{
    const int cells = grid ? grid->GetChildCount() : 0;
    if (cells == 0)
        return 0;
    // The cell below the first one is the first cell of row 2.
    CompList* below = const_cast<TextComp*>(grid)->GetListDown(grid->GetChild(1));
    const int second = below ? ChildIndex(grid, below) : 0;
    return second > 1 ? second - 1 : cells;
}

int GridRows(const TextComp* grid)
{
    const int columns = GridColumns(grid);
    return columns == 0 ? 0 : grid->GetChildCount() / columns;
}

CompList* GridCell(const TextComp* grid, int column, int row)
{
    const int columns = GridColumns(grid);
    if (column < 1 || column > columns || row < 1 || row > GridRows(grid))
        return nullptr;
    return grid->GetChild((row - 1) * columns + column);
}

bool LocateCell(const TextComp* grid, const CompList* row, int& column, int& row_)
{
    const CompList* cell = grid ? ChildRowHolding(grid, row) : nullptr;
    const int columns = GridColumns(grid);
    const int i = cell && columns > 0 ? ChildIndex(grid, cell) : 0;
    if (i == 0)
        return false;
    column = (i - 1) % columns + 1;
    row_ = (i - 1) / columns + 1;
    return true;
}

TextComp* EnclosingGrid(const CompList* row)
{
    for (TextComp* comp = row ? row->GetOwner() : nullptr; comp;) {
        if (comp->IsGrid())
            return comp;
        CompList* owner = comp->GetOwner();
        comp = owner ? owner->GetOwner() : nullptr;
    }
    return nullptr;
}

int VariableCount(const TextComp* derivative)
{
    return derivative ? (derivative->GetChildCount() - 1) / 2 : 0;
}

CompList* VariableRow(const TextComp* derivative, int i)
{
    if (i < 1 || i > VariableCount(derivative))
        return nullptr;
    return derivative->GetChild(2 * i - 1);
}

int VariableOfRow(const TextComp* derivative, const CompList* row)
{
    const CompList* child = derivative ? ChildRowHolding(derivative, row) : nullptr;
    const int i = child ? ChildIndex(derivative, child) : 0;
    return i >= 1 && i <= 2 * VariableCount(derivative) ? (i + 1) / 2 : 0;
}

TextComp* EnclosingDerivative(const CompList* row)
{
    for (TextComp* comp = row ? row->GetOwner() : nullptr; comp;) {
        if (comp->Tag() == tag_parD)
            return comp;
        CompList* owner = comp->GetOwner();
        comp = owner ? owner->GetOwner() : nullptr;
    }
    return nullptr;
}

} // namespace StructureShape
