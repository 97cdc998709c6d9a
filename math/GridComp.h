#pragma once
// The common base of the two-dimensional arrangements of cells: matrices,
// tables, equation sets and split definitions. Cells are rows of components
// held column by column; to the rest of the program they are numbered row by
// row (child i is column ((i - 1) mod columns) + 1, row ((i - 1) div columns) + 1).
// The grid keeps every column at the row count, and a grid without cells
// has neither columns nor rows.
#include "foundation/BoxComp.h"
#include "foundation/EmptyItemInserter.h"
#include "foundation/InnerSelection.h"
#include "foundation/PtrArray.h"
#include "math/GridColumn.h"

#include <cstdint>
#include <vector>

class DocPosition;

class GridComp : public BoxComp, public InnerSelection, public EmptyItemInserter {
public:
    // Edit codes of the grid keys and the grid commands.

    // The second value IsCommandEnabled receives: what the caret stands on.
    enum LineCode { kNotOnLine = 0, kOnRowLine = 1, kOnColumnLine = 2 };
    static int LineCodeOf(const DocPosition& position);

    ~GridComp() override;

    // ---- queries ----
    int GetColumnCount() const { return m_columns.GetCount(); }
    int GetRowCount() const { return m_rowCount; }
    int GetCellCount() const { return m_cellCount; }
    bool IsEmptyGrid() const { return m_cellCount == 0; }
    GridColumn* GetColumn(int c) const { return m_columns.GetAt(c); }
    // Null outside the grid.
    CompList* GetCell(int c, int r) const;
    bool LocateCell(const CompList* cell, int& column, int& row) const;
    // The band of row line r (above row r; rows + 1: below the last row) and
    // of column line c, in document coordinates, for the selection highlight.
    Rect GetRowLineRect(int r) const;
    Rect GetColumnLineRect(int c) const;

    // ---- editing (each marks the grid for layout) ----
    // At c (clamped to 1..columns + 1). A grid without cells becomes 1 x 1.
    void InsertColumn(int c);
    // At r (clamped to 1..rows + 1). A grid without cells becomes 1 x 1.
    void InsertRow(int r);
    // Where an inserted row or column goes for a position: a grid line's own
    // place, the place after the cell holding a caret, else the end.
    int RowInsertPlace(const DocPosition& position) const;
    int ColumnInsertPlace(const DocPosition& position) const;
    void AppendColumn(GridColumn* column);
    // Moves rows first..last (clamped) out into a new grid of this class;
    // when no row remains the grid has no columns either. Null when the range is empty.
    GridComp* RemoveRows(int first, int last);
    // Moves columns first..last out into a new grid of this class; when no
    // column remains the row count is 0 too.
    GridComp* RemoveColumns(int first, int last);
    GridComp* CopyRows(int first, int last, LinkRemap& remap) const;
    GridComp* CopyColumns(int first, int last, LinkRemap& remap) const;
    // Moves the other grid's columns in before column c, and deletes it.
    void InsertColumnsFrom(GridComp* other, int c);
    // Moves the other grid's rows in before row r, column by column, and
    // deletes it. Its column count must match (else CException, nothing moved).
    void InsertRowsFrom(GridComp* other, int r);

    // ---- selections of whole rows and columns (between two row lines or two column lines) ----
    // A grid never loses its last row or column this way: deleting every row
    // or every column is refused (an empty selection and no removed place).
    bool SelectBetween(const DocPosition& a, const DocPosition& b, DocSelection& out) override;
    void GetSelectionBounds(const DocSelection& selection, Rect& out) const override;
    DocSelection CopySelection(const DocSelection& selection) override;
    DocSelection DeleteSelection(const DocSelection& selection, DocPosition& removedAt) override;
    // Copied rows or columns (or a whole grid of this tag) fit a row line
    // when they have as many columns, a column line when as many rows.
    bool CanInsert(const DocSelection& fragment, const DocPosition& at) const override;
    DocSelection Insert(DocSelection& fragment, const DocPosition& at) override;
    void SetSelectionFont(const DocSelection& selection, int fontId) override;

    // ---- empty columns and rows for the insert actions ----
    bool HasItems(Item item) const override { return item != kVariable; }
    int InsertPlaceFor(const DocPosition& position, Item item) const override;
    void InsertEmptyItem(int index, Item item) override;

    // The cell holding the position, however deeply it is nested there.
    bool CellOfPosition(const DocPosition& position, int& column, int& row) const;

    // ---- extension slots ----
    virtual GridComp* MakeEmpty() const = 0;
    virtual int GetMargin() const { return 0; }
    virtual int GetColumnSpacing() const { return 0; }
    virtual int GetTopExtra() const { return 0; }
    uint8_t GetFlag() const { return m_flag; }

    // ---- component slots ----
    void MarkDirty() override;
    void Measure() override;
    void SetOrigin(const IntPoint& point) override;
    void Draw() override;
    void PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest) override;
    TextComp* ComponentAt(const IntPoint& point) override;
    bool IsEqual(const TextComp& other) const override;
    bool IsGrid() const override { return true; }
    CompList* GetChild(int i) const override;
    int GetChildCount() const override { return m_cellCount; }
    int IndexOfChild(const CompList* row) const override;
    CompList* GetListLeft(CompList* from) override;
    CompList* GetListRight(CompList* from) override;
    CompList* GetListUp(CompList* from) override;
    CompList* GetListDown(CompList* from) override;
    void Write(DocWriter& writer) override;
    void Read(DocReader& reader) override;
    void GetEntryPosition(DocPosition& out) override;
    void SetFontId(int fontId) override;
    void SetSizeStep(signed char step) override;
    int MapKey(DocPosition& position, int key, bool shift, bool ctrl) override;
    // extra is a LineCode.
    bool IsCommandEnabled(int commandId, int extra) const override;
    bool IsCommandEnabledAt(int commandId, const DocPosition& position) const
    {
        return IsCommandEnabled(commandId, LineCodeOf(position));
    }

    const std::vector<int32_t>& GetRowTops() const { return m_rowTops; }
    const std::vector<int32_t>& GetRowBottoms() const { return m_rowBottoms; }

protected:
    GridComp() = default;
    GridComp(int columns, int rows);
    // A copy of the other's fields (bounds, size step, flag) holding clones of its cells.
    GridComp(const GridComp& other, LinkRemap& remap);

    // The key rule of the boxed components, for keys a grid leaves to it.
    int MapBoxKey(DocPosition& position, int key, bool shift, bool ctrl) { return BoxComp::MapKey(position, key, shift, ctrl); }
    // The key rule of the grids made of rows only (equation sets and split
    // definitions): Tab gives tabEdit in a cell, Enter walks and grows the rows.
    int MapRowGridKey(DocPosition& position, int key, bool shift, bool ctrl, int tabEdit);
    // Those grids always offer Insert Row.
    bool RowGridCommandEnabled(int commandId, int extra) const;
    // The twice-size-unit gap between cells at the current size.
    static int Gap();
    // The row whose extent or preceding gap holds y: 1..rows, rows + 1 below
    // every row; inRow tells whether y lies inside the row's extent.
    int RowAt(int y, bool& inRow) const;
    // The cell's caret position for a point in it, or the row line when the cell is missing.
    void PositionInCell(DocPosition& out, int column, int row, const IntPoint& point, bool nearest);
    // The hit test of the braced grids: the row lines and the rows of one
    // column, scanning from the top (size step pushed by the caller).
    void PositionInRows(DocPosition& out, int column, const IntPoint& point, bool nearest);
    // The columns' cell counts brought back to the row count after a read.
    void Normalize();

    PtrArray<GridColumn> m_columns;
    std::vector<int32_t> m_rowTops;
    std::vector<int32_t> m_rowBottoms;
    int32_t m_cellCount = 0;
    int32_t m_rowCount = 0;
    uint8_t m_flag = 0;

private:
    // The grid a fragment holds: the grid of its lines or its single object.
    static GridComp* FragmentGrid(const DocSelection& fragment);
    // Puts the removed or copied grid into a new fragment and answers its lines.
    static DocSelection LinesOfFragment(GridComp* grid, bool columns);
    // The row or column an end of a selection counts by (0 when it is neither in a cell nor on a line).
    int ColumnOfEnd(const DocPosition& end) const;
    int RowOfEnd(const DocPosition& end) const;
    void DeleteColumns();
    void Changed();
};
