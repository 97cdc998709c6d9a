#pragma once
// The moves inside grids and along grid lines and derivative variable
// slots: from a cell to a line beside it, along the lines (extending with
// their own flag), and on to the next cell.
#include "foundation/TKeyAction.h"

#include <cstdint>

// From a cell to the column line after its column.
class TCellToColumnLineAction : public TKeyAction {
public:
    TCellToColumnLineAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// From a cell to the row line after its row.
class TCellToRowLineAction : public TKeyAction {
public:
    TCellToRowLineAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// The next grid line or variable slot, not beyond the last one.
class TNextGridLineAction : public TKeyAction {
public:
    TNextGridLineAction(ActionView& view, const DocSelection& selection, bool extend)
        : TKeyAction(view, selection, false), m_extendLines(extend) {}
    void Compute() override;

private:
    uint8_t m_extendLines;
};

// The previous grid line or variable slot, not before the first one.
class TPreviousGridLineAction : public TKeyAction {
public:
    TPreviousGridLineAction(ActionView& view, const DocSelection& selection, bool extend)
        : TKeyAction(view, selection, false), m_extendLines(extend) {}
    void Compute() override;

private:
    uint8_t m_extendLines;
};

// The whole next cell along the row, then the first cell of the next row,
// then just after the grid.
class TNextCellAction : public TKeyAction {
public:
    TNextCellAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// The whole next cell down the column, then the top of the next column,
// then just after the grid.
class TNextRowCellAction : public TKeyAction {
public:
    TNextRowCellAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};
