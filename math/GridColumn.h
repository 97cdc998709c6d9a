#pragma once
// One column of a grid: its cells in row order (1-based), the width the last
// measure gave it, and the grid that owns the cells. The column owns its
// cells and deletes them with itself.
#include "foundation/CompList.h"
#include "foundation/PtrArray.h"

#include <cstdint>

class GridComp;
class LinkRemap;

class GridColumn {
public:
    // n new empty cells owned by the grid (which may be null for a column
    // that is moved into a grid later).
    GridColumn(GridComp* owner, int n);
    ~GridColumn();
    GridColumn(const GridColumn&) = delete;
    GridColumn& operator=(const GridColumn&) = delete;

    int GetCount() const { return m_cells.GetCount(); }
    // Cell r; null outside 1..count.
    CompList* GetCell(int r) const { return m_cells.GetAt(r); }
    int Find(const CompList* cell) const { return m_cells.Find(cell); }

    // Inserts the cell before row r (clamped to 1..count + 1) and owns it.
    void InsertCell(int r, CompList* cell);
    void AppendCell(CompList* cell) { InsertCell(GetCount() + 1, cell); }
    // Removes and answers cell r (the caller's); null outside 1..count.
    CompList* RemoveCell(int r);

    GridComp* GetOwner() const { return m_owner; }
    // Makes the grid the owner of every cell.
    void SetOwner(GridComp* owner);

    int32_t GetWidth() const { return m_width; }
    void SetWidth(int32_t width) { m_width = width; }

    // A column holding clones of cells first..last (clamped), owned by no grid yet.
    GridColumn* CloneRows(int first, int last, LinkRemap& remap) const;

private:
    void Adopt(CompList* cell);

    PtrArray<CompList> m_cells;
    int32_t m_width = 0;
    GridComp* m_owner;
};
