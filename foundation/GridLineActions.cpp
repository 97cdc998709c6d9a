#include "foundation/GridLineActions.h"

#include "foundation/CompList.h"
#include "foundation/StructureShape.h"
#include "foundation/TextComp.h"

#include <algorithm>

using namespace StructureShape;

namespace {

// The grid enclosing a list place and the cell that holds it.
TextComp* CellOf(const DocPosition& position, int& column, int& row)
{
    if (position.GetKind() != DocPosition::kListPlace)
        return nullptr;
    TextComp* grid = EnclosingGrid(position.GetList());
    return grid && LocateCell(grid, position.GetList(), column, row) ? grid : nullptr;
}

// The last grid line of the position's direction, or the last variable slot.
int LastLine(const DocPosition& position)
{
    TextComp* object = position.GetObject();
    if (position.GetKind() == DocPosition::kVariableSlot)
        return VariableCount(object) + 1;
    return (position.GetFlag() ? GridColumns(object) : GridRows(object)) + 1;
}

// A line or slot of the same component and direction as the position.
DocPosition SameContainer(const DocPosition& position, int index)
{
    DocPosition result = position;
    result.SetIndex(index);
    return result;
}

bool IsLineOrSlot(const DocPosition& position)
{
    return position.GetKind() == DocPosition::kGridLine || position.GetKind() == DocPosition::kVariableSlot;
}

} // namespace

void TCellToColumnLineAction::Compute()
{
    const DocPosition end = m_current.GetEnd();
    if (end.GetKind() == DocPosition::kGridLine && end.GetFlag()) {
        SetCaret(end);
        return;
    }
    int column = 0;
    int row = 0;
    if (TextComp* grid = CellOf(end, column, row))
        SetCaret(DocPosition(grid, column + 1, true));
}

void TCellToRowLineAction::Compute()
{
    const DocPosition end = m_current.GetEnd();
    if (end.GetKind() == DocPosition::kGridLine && !end.GetFlag()) {
        SetCaret(end);
        return;
    }
    int column = 0;
    int row = 0;
    if (TextComp* grid = CellOf(end, column, row))
        SetCaret(DocPosition(grid, row + 1, false));
}

void TNextGridLineAction::Compute()
{
    const DocPosition end = m_current.GetEnd();
    if (!IsLineOrSlot(end))
        return;
    const int index = std::min(end.GetIndex() + 1, LastLine(end));
    const DocPosition place = SameContainer(end, index);
    const int firstIndex = m_current.GetStart().GetIndex();
    if (m_extendLines && index != firstIndex)
        SetRange(SameContainer(end, firstIndex), place);
    else
        SetCaret(place);
}

void TPreviousGridLineAction::Compute()
{
    const DocPosition start = m_current.GetStart();
    if (!IsLineOrSlot(start))
        return;
    const int index = std::max(start.GetIndex() - 1, 1);
    const DocPosition place = SameContainer(start, index);
    const int secondIndex = m_current.GetEnd().GetIndex();
    if (m_extendLines && index != secondIndex)
        SetRange(place, SameContainer(start, secondIndex));
    else
        SetCaret(place);
}

void TNextCellAction::Compute()
{
    int column = 0;
    int row = 0;
    TextComp* grid = CellOf(m_current.GetStart(), column, row);
    if (!grid)
        return;
    if (column < GridColumns(grid))
        m_current = DocSelection::SelectAll(GridCell(grid, column + 1, row));
    else if (row < GridRows(grid))
        m_current = DocSelection::SelectAll(GridCell(grid, 1, row + 1));
    else
        SetCaret(DocPosition::After(grid));
}

void TNextRowCellAction::Compute()
{
    int column = 0;
    int row = 0;
    TextComp* grid = CellOf(m_current.GetStart(), column, row);
    if (!grid)
        return;
    if (row < GridRows(grid))
        m_current = DocSelection::SelectAll(GridCell(grid, column, row + 1));
    else if (column < GridColumns(grid))
        m_current = DocSelection::SelectAll(GridCell(grid, column + 1, 1));
    else
        SetCaret(DocPosition::After(grid));
}
