#pragma once
// What caret commands need to know of the structures they walk through,
// read from the child-row slots every component answers: the cells of a
// grid (numbered row by row) and the variables of a partial derivative
// (each variable contributes its row and its order row, the operand comes
// last). Keeping these readings in one place spares the editing commands
// any knowledge of the concrete structure classes.
#include <cstdint>

class CompList;
class DocPosition;
class TextComp;

namespace StructureShape {

// ---- grids (components whose IsGrid answers true) ----
int GridColumns(const TextComp* grid);
int GridRows(const TextComp* grid);
// Cell (column, row), or null outside the grid.
CompList* GridCell(const TextComp* grid, int column, int row);
// The cell of the grid that holds the row, however deeply the row is nested
// in it; false when the row is not inside a cell of this grid.
bool LocateCell(const TextComp* grid, const CompList* row, int& column, int& row_);
// The nearest grid enclosing the row (climbing owner components), or null.
TextComp* EnclosingGrid(const CompList* row);

// ---- partial derivatives (tag "parD") ----
int VariableCount(const TextComp* derivative);
// The first child row of variable i (1-based), or null.
CompList* VariableRow(const TextComp* derivative, int i);
// The variable (1-based) whose rows hold the row, however deeply nested; 0
// when the row lies elsewhere.
int VariableOfRow(const TextComp* derivative, const CompList* row);
// The nearest partial derivative enclosing the row, or null.
TextComp* EnclosingDerivative(const CompList* row);

} // namespace StructureShape
