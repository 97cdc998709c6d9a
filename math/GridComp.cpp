#include "math/GridComp.h"

#include "foundation/DocPosition.h"
#include "foundation/DocSelection.h"
#include "foundation/DocReader.h"
#include "foundation/DocWriter.h"
#include "foundation/DrawContext.h"
#include "foundation/EditCodes.h"
#include "foundation/KeyCodes.h"
#include "foundation/LinkRemap.h"
#include "foundation/ParagraphList.h"
#include "foundation/SizeStepScope.h"
#include "platform/Exceptions.h"

#include <algorithm>
#include <memory>

namespace {

// A file stores counts as signed 16-bit values; each column takes at least its
// count, each cell at least its list count.
constexpr int32_t kMinColumnBytes = 2;
constexpr int32_t kMinCellBytes = 4;

} // namespace

int GridComp::LineCodeOf(const DocPosition& position)
{
    if (position.GetKind() != DocPosition::kGridLine)
        return kNotOnLine;
    return position.GetFlag() ? kOnColumnLine : kOnRowLine;
}

GridComp::GridComp(int columns, int rows)
{
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    if (columns == 0 || rows == 0)
        columns = rows = 0;
    for (int c = 0; c < columns; ++c)
        m_columns.Append(new GridColumn(this, rows));
    m_rowCount = rows;
    m_cellCount = columns * rows;
}

GridComp::GridComp(const GridComp& other, LinkRemap& remap) : BoxComp(other), m_flag(other.m_flag)
{
    for (int c = 1; c <= other.GetColumnCount(); ++c)
        AppendColumn(other.GetColumn(c)->CloneRows(1, other.m_rowCount, remap));
}

GridComp::~GridComp()
{
    DeleteColumns();
}

void GridComp::DeleteColumns()
{
    for (int c = 1; c <= GetColumnCount(); ++c)
        delete m_columns.GetAt(c);
    m_columns.RemoveAll();
}

void GridComp::Changed()
{
    Invalidate();
}

// ---- queries ----

CompList* GridComp::GetCell(int c, int r) const
{
    GridColumn* column = GetColumn(c);
    return column ? column->GetCell(r) : nullptr;
}

bool GridComp::LocateCell(const CompList* cell, int& column, int& row) const
{
    for (int c = 1; c <= GetColumnCount(); ++c) {
        int r = GetColumn(c)->Find(cell);
        if (r > 0) {
            column = c;
            row = r;
            return true;
        }
    }
    return false;
}

CompList* GridComp::GetChild(int i) const
{
    int columns = GetColumnCount();
    if (columns == 0 || i < 1 || i > m_cellCount)
        return nullptr;
    return GetCell((i - 1) % columns + 1, (i - 1) / columns + 1);
}

int GridComp::IndexOfChild(const CompList* row) const
{
    int c = 0;
    int r = 0;
    return LocateCell(row, c, r) ? (r - 1) * GetColumnCount() + c : 0;
}

int GridComp::Gap()
{
    return 2 * gDrawContext.GetSizeUnit();
}

Rect GridComp::GetRowLineRect(int r) const
{
    SizeStepScope scope(m_sizeStep);
    int gap = Gap();
    Rect bounds;
    GetAbsBounds(bounds);
    int y = bounds.top + GetMargin() + gap / 2;
    for (int i = 1; i < r && i <= m_rowCount; ++i) {
        y += m_rowBottoms[i - 1] - m_rowTops[i - 1] + gap;
        if (i == 1)
            y += GetTopExtra();
    }
    if (r > m_rowCount)
        return Rect(bounds.left, y - gap / 2, bounds.right, y - gap / 2 + gap);
    return Rect(bounds.left, y - gap, bounds.right, y);
}

Rect GridComp::GetColumnLineRect(int c) const
{
    SizeStepScope scope(m_sizeStep);
    int gap = Gap();
    Rect bounds;
    GetAbsBounds(bounds);
    int x = bounds.left + GetMargin() + gap / 2;
    for (int i = 1; i < c && i <= GetColumnCount(); ++i)
        x += GetColumn(i)->GetWidth() + GetColumnSpacing() + gap;
    if (c > GetColumnCount())
        return Rect(x - gap / 2, bounds.top, x - gap / 2 + gap, bounds.bottom);
    return Rect(x - gap, bounds.top, x, bounds.bottom);
}

// ---- editing ----

void GridComp::InsertColumn(int c)
{
    if (IsEmptyGrid()) {
        DeleteColumns();
        m_rowCount = 1;
    }
    c = std::clamp(c, 1, GetColumnCount() + 1);
    m_columns.InsertAt(c, new GridColumn(this, m_rowCount));
    m_cellCount += m_rowCount;
    Changed();
}

void GridComp::InsertRow(int r)
{
    if (IsEmptyGrid()) {
        DeleteColumns();
        m_rowCount = 0;
        m_columns.Append(new GridColumn(this, 0));
    }
    r = std::clamp(r, 1, m_rowCount + 1);
    for (int c = 1; c <= GetColumnCount(); ++c)
        GetColumn(c)->InsertCell(r, new CompList);
    ++m_rowCount;
    m_cellCount += GetColumnCount();
    Changed();
}

int GridComp::RowInsertPlace(const DocPosition& position) const
{
    if (LineCodeOf(position) == kOnRowLine && position.GetObject() == this)
        return std::clamp(position.GetIndex(), 1, m_rowCount + 1);
    int c = 0;
    int r = 0;
    if (CellOfPosition(position, c, r))
        return r + 1;
    return m_rowCount + 1;
}

int GridComp::ColumnInsertPlace(const DocPosition& position) const
{
    if (LineCodeOf(position) == kOnColumnLine && position.GetObject() == this)
        return std::clamp(position.GetIndex(), 1, GetColumnCount() + 1);
    int c = 0;
    int r = 0;
    if (CellOfPosition(position, c, r))
        return c + 1;
    return GetColumnCount() + 1;
}

void GridComp::AppendColumn(GridColumn* column)
{
    m_columns.Append(column);
    column->SetOwner(this);
    m_cellCount += column->GetCount();
    m_rowCount = std::max(m_rowCount, column->GetCount());
    Changed();
}

GridComp* GridComp::RemoveRows(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, m_rowCount);
    if (first > last)
        return nullptr;
    std::unique_ptr<GridComp> removed(MakeEmpty());
    int count = last - first + 1;
    for (int c = 1; c <= GetColumnCount(); ++c) {
        auto* column = new GridColumn(nullptr, 0);
        removed->AppendColumn(column);
        for (int r = first; r <= last; ++r)
            column->AppendCell(GetColumn(c)->RemoveCell(first));
    }
    removed->m_cellCount = removed->GetColumnCount() * count;
    removed->m_rowCount = count;
    m_rowCount -= count;
    m_cellCount = m_rowCount * GetColumnCount();
    if (m_rowCount == 0)
        DeleteColumns();
    Changed();
    return removed.release();
}

GridComp* GridComp::RemoveColumns(int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, GetColumnCount());
    if (first > last)
        return nullptr;
    std::unique_ptr<GridComp> removed(MakeEmpty());
    for (int c = first; c <= last; ++c)
        removed->AppendColumn(m_columns.RemoveAt(first));
    m_cellCount = GetColumnCount() * m_rowCount;
    if (GetColumnCount() == 0)
        m_rowCount = 0;
    Changed();
    return removed.release();
}

GridComp* GridComp::CopyRows(int first, int last, LinkRemap& remap) const
{
    std::unique_ptr<GridComp> copy(MakeEmpty());
    first = std::max(first, 1);
    last = std::min(last, m_rowCount);
    if (first <= last)
        for (int c = 1; c <= GetColumnCount(); ++c)
            copy->AppendColumn(GetColumn(c)->CloneRows(first, last, remap));
    return copy.release();
}

GridComp* GridComp::CopyColumns(int first, int last, LinkRemap& remap) const
{
    std::unique_ptr<GridComp> copy(MakeEmpty());
    first = std::max(first, 1);
    last = std::min(last, GetColumnCount());
    for (int c = first; c <= last; ++c)
        copy->AppendColumn(GetColumn(c)->CloneRows(1, m_rowCount, remap));
    return copy.release();
}

void GridComp::InsertColumnsFrom(GridComp* other, int c)
{
    std::unique_ptr<GridComp> guard(other);
    if (other->IsEmptyGrid())
        return;
    if (!IsEmptyGrid() && other->m_rowCount != m_rowCount)
        throw CException("The columns do not fit the grid's rows");
    if (IsEmptyGrid()) {
        DeleteColumns();
        m_rowCount = other->m_rowCount;
    }
    c = std::clamp(c, 1, GetColumnCount() + 1);
    while (other->GetColumnCount() > 0) {
        GridColumn* column = other->m_columns.RemoveAt(other->GetColumnCount());
        m_columns.InsertAt(c, column);
        column->SetOwner(this);
    }
    other->m_cellCount = other->m_rowCount = 0;
    m_cellCount = GetColumnCount() * m_rowCount;
    Changed();
}

void GridComp::InsertRowsFrom(GridComp* other, int r)
{
    std::unique_ptr<GridComp> guard(other);
    if (other->IsEmptyGrid())
        return;
    if (!IsEmptyGrid() && other->GetColumnCount() != GetColumnCount())
        throw CException("The rows do not fit the grid's columns");
    if (IsEmptyGrid()) {
        DeleteColumns();
        m_rowCount = 0;
        for (int c = 1; c <= other->GetColumnCount(); ++c)
            m_columns.Append(new GridColumn(this, 0));
    }
    r = std::clamp(r, 1, m_rowCount + 1);
    int count = other->m_rowCount;
    for (int c = 1; c <= GetColumnCount(); ++c) {
        GridColumn* source = other->GetColumn(c);
        for (int i = count; i >= 1; --i)
            GetColumn(c)->InsertCell(r, source->RemoveCell(i));
    }
    other->m_cellCount = 0;
    m_rowCount += count;
    m_cellCount = GetColumnCount() * m_rowCount;
    Changed();
}

// ---- layout ----

void GridComp::MarkDirty()
{
    for (int i = 1; i <= m_cellCount; ++i)
        GetChild(i)->InvalidateAll();
    m_needsLayout = 1;
}

void GridComp::Measure()
{
    m_rowTops.assign(static_cast<size_t>(m_rowCount), 0);
    m_rowBottoms.assign(static_cast<size_t>(m_rowCount), 0);
    SizeStepScope scope(m_sizeStep);
    int gap = Gap();
    int axis = gDrawContext.GetAxisHeight();
    int margin = GetMargin();
    int right = 0;
    for (int c = 1; c <= GetColumnCount(); ++c) {
        GridColumn* column = GetColumn(c);
        int width = 0;
        for (int r = 1; r <= m_rowCount; ++r) {
            CompList* cell = column->GetCell(r);
            cell->LayoutToContextWidth();
            const Rect& box = cell->GetRect();
            width = std::max(width, box.Width());
            m_rowTops[r - 1] = std::min(m_rowTops[r - 1], box.top);
            m_rowBottoms[r - 1] = std::max(m_rowBottoms[r - 1], box.bottom);
        }
        column->SetWidth(width);
        right += width + gap;
    }
    right += std::max(GetColumnCount() - 1, 0) * GetColumnSpacing() + 2 * margin;
    int height = GetTopExtra() + m_rowCount * gap;
    for (int r = 0; r < m_rowCount; ++r)
        height += m_rowBottoms[r] - m_rowTops[r];
    m_bounds = Rect(0, axis - height / 2 - margin, right, axis + height / 2 + margin);
    m_needsLayout = 0;
}

void GridComp::SetOrigin(const IntPoint& point)
{
    m_origin = point;
    if (m_rowTops.size() != static_cast<size_t>(m_rowCount))
        return;  // not measured since the last change
    SizeStepScope scope(m_sizeStep);
    int gap = Gap();
    int margin = GetMargin();
    int x = point.x + gap / 2 + margin;
    for (int c = 1; c <= GetColumnCount(); ++c) {
        GridColumn* column = GetColumn(c);
        int y = point.y + m_bounds.top + gap / 2 + margin;
        for (int r = 1; r <= m_rowCount; ++r) {
            CompList* cell = column->GetCell(r);
            int offset = (column->GetWidth() - cell->GetWidth()) / 2;
            cell->SetOrigin(IntPoint(x + offset, y - m_rowTops[r - 1]));
            y += m_rowBottoms[r - 1] - m_rowTops[r - 1] + gap;
            if (r == 1)
                y += GetTopExtra();
        }
        x += column->GetWidth() + GetColumnSpacing() + gap;
    }
}

void GridComp::Draw()
{
    for (int i = 1; i <= m_cellCount; ++i)
        GetChild(i)->Draw();
}

// ---- hit testing ----

int GridComp::RowAt(int y, bool& inRow) const
{
    int gap = Gap();
    int top = m_origin.y + m_bounds.top + GetMargin() + gap / 2;
    inRow = false;
    for (int r = 1; r <= m_rowCount && static_cast<size_t>(r) <= m_rowTops.size(); ++r) {
        if (y < top)
            return r;
        int bottom = top + m_rowBottoms[r - 1] - m_rowTops[r - 1];
        if (y < bottom) {
            inRow = true;
            return r;
        }
        top = bottom + gap + (r == 1 ? GetTopExtra() : 0);
    }
    return m_rowCount + 1;
}

void GridComp::PositionInCell(DocPosition& out, int column, int row, const IntPoint& point, bool nearest)
{
    if (CompList* cell = GetCell(column, row))
        cell->PositionFromPoint(out, point, nearest);
    else
        out = DocPosition(this, row, false);
}

void GridComp::PositionFromPoint(DocPosition& out, const IntPoint& point, bool nearest)
{
    if (IsEmptyGrid()) {
        TextComp::PositionFromPoint(out, point, nearest);
        return;
    }
    SizeStepScope scope(m_sizeStep);
    int gap = Gap();
    int x = m_origin.x + GetMargin() + gap / 2;
    int column = 0;
    for (int c = 1; c <= GetColumnCount() && column == 0; ++c) {
        if (point.x < x) {
            out = DocPosition(this, c, true);
            return;
        }
        if (point.x < x + GetColumn(c)->GetWidth())
            column = c;
        x += GetColumn(c)->GetWidth() + GetColumnSpacing() + gap;
    }
    if (column == 0) {
        out = DocPosition(this, GetColumnCount() + 1, true);
        return;
    }
    bool inRow = false;
    int row = RowAt(point.y, inRow);
    if (!inRow)
        out = DocPosition(this, row, false);
    else
        PositionInCell(out, column, row, point, nearest);
}

void GridComp::PositionInRows(DocPosition& out, int column, const IntPoint& point, bool nearest)
{
    int gap = Gap();
    int y = m_origin.y + m_bounds.top + GetMargin() + gap / 2 + GetTopExtra();
    for (int r = 1; r <= m_rowCount && static_cast<size_t>(r) <= m_rowTops.size(); ++r) {
        if (point.y < y) {
            out = DocPosition(this, r, false);
            return;
        }
        y += m_rowBottoms[r - 1] - m_rowTops[r - 1];
        if (point.y < y) {
            PositionInCell(out, column, r, point, nearest);
            return;
        }
        y += gap;
    }
    out = DocPosition(this, m_rowCount + 1, false);
}

TextComp* GridComp::ComponentAt(const IntPoint& point)
{
    for (int i = 1; i <= m_cellCount; ++i) {
        CompList* cell = GetChild(i);
        if (cell->HitTest(point)) {
            TextComp* inner = cell->ComponentAtPoint(point);
            return inner ? inner : this;
        }
    }
    return HitTest(point) ? this : nullptr;
}

// ---- identity ----

bool GridComp::IsEqual(const TextComp& other) const
{
    if (Tag() != other.Tag() || !other.IsGrid())
        return false;
    const auto& grid = static_cast<const GridComp&>(other);
    if (grid.GetColumnCount() != GetColumnCount() || grid.m_rowCount != m_rowCount)
        return false;
    for (int i = 1; i <= m_cellCount; ++i)
        if (!GetChild(i)->IsEqual(*grid.GetChild(i)))
            return false;
    return true;
}

// ---- caret moves between cells ----

CompList* GridComp::GetListLeft(CompList* from)
{
    if (!from)
        return GetCell(GetColumnCount(), m_rowCount);
    int c = 0;
    int r = 0;
    if (!LocateCell(from, c, r))
        return nullptr;
    if (c > 1)
        return GetCell(c - 1, r);
    return r >= 2 ? GetCell(GetColumnCount(), r - 1) : nullptr;
}

CompList* GridComp::GetListRight(CompList* from)
{
    if (!from)
        return GetCell(1, 1);
    int c = 0;
    int r = 0;
    if (!LocateCell(from, c, r))
        return nullptr;
    if (c < GetColumnCount())
        return GetCell(c + 1, r);
    return r < m_rowCount ? GetCell(1, r + 1) : nullptr;
}

CompList* GridComp::GetListUp(CompList* from)
{
    int c = 0;
    int r = 0;
    if (!from || !LocateCell(from, c, r))
        return nullptr;
    return GetCell(c, r - 1);
}

CompList* GridComp::GetListDown(CompList* from)
{
    int c = 0;
    int r = 0;
    if (!from || !LocateCell(from, c, r))
        return nullptr;
    return GetCell(c, r + 1);
}

// ---- file record ----

void GridComp::Write(DocWriter& writer)
{
    writer.WriteShort(static_cast<int16_t>(GetColumnCount()));
    for (int c = 1; c <= GetColumnCount(); ++c) {
        GridColumn* column = GetColumn(c);
        writer.WriteShort(static_cast<int16_t>(column->GetCount()));
        for (int r = 1; r <= column->GetCount(); ++r)
            column->GetCell(r)->Write(writer);
    }
}

void GridComp::Read(DocReader& reader)
{
    DeleteColumns();
    m_rowCount = m_cellCount = 0;
    m_needsLayout = 1;
    int columns = reader.ReadShort();
    if (columns < 0 || columns > reader.BytesLeft() / kMinColumnBytes)
        throw CFormatException("Damaged grid: bad column count");
    for (int c = 1; c <= columns; ++c) {
        auto* column = new GridColumn(this, 0);
        m_columns.Append(column);
        int cells = reader.ReadShort();
        if (cells < 0 || cells > reader.BytesLeft() / kMinCellBytes)
            throw CFormatException("Damaged grid: bad cell count");
        for (int r = 1; r <= cells; ++r) {
            auto* cell = new CompList;
            column->AppendCell(cell);
            cell->Read(reader);
        }
    }
    Normalize();
}

void GridComp::Normalize()
{
    int rows = 0;
    int64_t cellsRead = 0;
    for (int c = 1; c <= GetColumnCount(); ++c) {
        rows = std::max(rows, GetColumn(c)->GetCount());
        cellsRead += GetColumn(c)->GetCount();
    }
    // Columns written shorter than the others get empty cells, so that no
    // cell read is lost and every column has the row count. A grid never
    // writes such columns, so a file that would need more filler cells than
    // it holds cells is damaged: it would cost far more than its size.
    if (int64_t(rows) * GetColumnCount() - cellsRead > cellsRead)
        throw CFormatException("Damaged grid: its columns differ in length");
    for (int c = 1; c <= GetColumnCount(); ++c)
        while (GetColumn(c)->GetCount() < rows)
            GetColumn(c)->AppendCell(new CompList);
    if (rows == 0)
        DeleteColumns();
    m_rowCount = rows;
    m_cellCount = rows * GetColumnCount();
}

// ---- editing support ----

void GridComp::GetEntryPosition(DocPosition& out)
{
    if (CompList* first = GetChild(1))
        out = DocPosition(first, 1);
    else
        TextComp::GetEntryPosition(out);
}

void GridComp::SetFontId(int fontId)
{
    for (int i = 1; i <= m_cellCount; ++i) {
        CompList* cell = GetChild(i);
        cell->SetFont(fontId, 1, cell->GetCount() + 1);
    }
}

void GridComp::SetSizeStep(signed char step)
{
    BoxComp::SetSizeStep(step);
    for (int i = 1; i <= m_cellCount; ++i)
        GetChild(i)->SetSizeStep(step);
}

int GridComp::MapKey(DocPosition& position, int key, bool shift, bool ctrl)
{
    int line = LineCodeOf(position);
    // Ctrl+Enter arrives as a line feed: on a grid line it is Enter with Ctrl;
    // in a cell it goes on to the paragraph, as any other key.
    if (key == KeyCode::kLineFeed && line != kNotOnLine) {
        key = KeyCode::kReturn;
        ctrl = true;
    }
    switch (key) {
    case KeyCode::kBackspace:
        if (line != kNotOnLine)
            return position.GetIndex() == 1 ? EditCode::kLeaveBefore : EditCode::kSelectPrevious;
        return MapBoxKey(position, key, shift, ctrl);
    case KeyCode::kTab:
        if (line == kOnRowLine)
            return EditCode::kNone;
        if (line == kOnColumnLine)
            return ctrl ? EditCode::kInsertColumn : EditCode::kNextGridLine;
        return shift ? EditCode::kCellToColumnLine : EditCode::kNextCell;
    case KeyCode::kReturn:
        if (line == kOnColumnLine)
            return EditCode::kNone;
        if (line == kOnRowLine)
            return ctrl ? EditCode::kInsertRow : EditCode::kNextGridLine;
        return shift ? EditCode::kCellToRowLine : EditCode::kNextRowCell;
    default:
        return MapBoxKey(position, key, shift, ctrl);
    }
}

bool GridComp::IsCommandEnabled(int commandId, int extra) const
{
    if (commandId == EditCode::kInsertColumn)
        return extra == kOnColumnLine;
    if (commandId == EditCode::kInsertRow)
        return extra == kOnRowLine;
    return TextComp::IsCommandEnabled(commandId, extra);
}

// ---- selections of whole rows and columns ----

bool GridComp::CellOfPosition(const DocPosition& position, int& column, int& row) const
{
    if (position.GetKind() == DocPosition::kGridLine && position.GetObject() == this)
        return false;
    for (CompList* list = position.GetList(); list;) {
        if (LocateCell(list, column, row))
            return true;
        TextComp* owner = list->GetOwner();
        if (!owner || owner == this)
            return false;
        list = owner->GetOwner();
    }
    return false;
}

int GridComp::ColumnOfEnd(const DocPosition& end) const
{
    if (end.GetKind() == DocPosition::kGridLine && end.GetObject() == this)
        return std::clamp(end.GetIndex(), 1, GetColumnCount());
    int c = 0;
    int r = 0;
    return CellOfPosition(end, c, r) ? c : 0;
}

int GridComp::RowOfEnd(const DocPosition& end) const
{
    if (end.GetKind() == DocPosition::kGridLine && end.GetObject() == this)
        return std::clamp(end.GetIndex(), 1, m_rowCount);
    int c = 0;
    int r = 0;
    return CellOfPosition(end, c, r) ? r : 0;
}

bool GridComp::SelectBetween(const DocPosition& a, const DocPosition& b, DocSelection& out)
{
    if (IsEmptyGrid())
        return false;
    const int ca = ColumnOfEnd(a);
    const int cb = ColumnOfEnd(b);
    const int ra = RowOfEnd(a);
    const int rb = RowOfEnd(b);
    if (ca == 0 || cb == 0 || ra == 0 || rb == 0)
        return false;
    TypeTag tag;
    GetTag(tag);
    const bool bothInCells = a.GetKind() != DocPosition::kGridLine && b.GetKind() != DocPosition::kGridLine;
    const bool secondOnColumnLine = b.GetKind() == DocPosition::kGridLine && b.GetFlag() == 1;
    const bool oneColumn = bothInCells && ca == cb && (tag == tag_Matr || tag == tag_Tabl);
    if (secondOnColumnLine || oneColumn)
        out = DocSelection(DocPosition(this, std::min(ca, cb), true), DocPosition(this, std::max(ca, cb) + 1, true));
    else
        out = DocSelection(DocPosition(this, std::min(ra, rb), false), DocPosition(this, std::max(ra, rb) + 1, false));
    return true;
}

void GridComp::GetSelectionBounds(const DocSelection& selection, Rect& out) const
{
    const bool columns = selection.First().GetFlag() == 1;
    const int first = selection.First().GetIndex();
    const int last = selection.Second().GetIndex();
    Rect from = columns ? GetColumnLineRect(first) : GetRowLineRect(first);
    Rect to = columns ? GetColumnLineRect(last) : GetRowLineRect(last);
    Rect::Union(from, to, out);
}

DocSelection GridComp::LinesOfFragment(GridComp* grid, bool columns)
{
    ParagraphList::FromObject(nullptr, grid).release(); // owned by the answered selection
    const int end = (columns ? grid->GetColumnCount() : grid->GetRowCount()) + 1;
    return DocSelection(DocPosition(grid, 1, columns), DocPosition(grid, end, columns));
}

DocSelection GridComp::CopySelection(const DocSelection& selection)
{
    if (selection.GetKind() != DocPosition::kGridLine || selection.Second().GetIndex() <= selection.First().GetIndex())
        return DocSelection();
    const bool columns = selection.First().GetFlag() == 1;
    const int first = selection.First().GetIndex();
    const int last = selection.Second().GetIndex() - 1;
    LinkRemap remap;
    GridComp* copy = columns ? CopyColumns(first, last, remap) : CopyRows(first, last, remap);
    remap.RebindLinks();
    return LinesOfFragment(copy, columns);
}

DocSelection GridComp::DeleteSelection(const DocSelection& selection, DocPosition& removedAt)
{
    removedAt = DocPosition();
    if (selection.GetKind() != DocPosition::kGridLine)
        return DocSelection();
    const bool columns = selection.First().GetFlag() == 1;
    const int count = columns ? GetColumnCount() : m_rowCount;
    const int first = std::max(selection.First().GetIndex(), 1);
    const int last = std::min(selection.Second().GetIndex() - 1, count);
    if (first > last || (first == 1 && last == count))
        return DocSelection();
    GridComp* removed = columns ? RemoveColumns(first, last) : RemoveRows(first, last);
    removedAt = DocPosition(this, first, columns);
    return LinesOfFragment(removed, columns);
}

GridComp* GridComp::FragmentGrid(const DocSelection& fragment)
{
    if (fragment.GetKind() == DocPosition::kGridLine)
        return dynamic_cast<GridComp*>(fragment.First().GetObject());
    return dynamic_cast<GridComp*>(fragment.GetSingleObject());
}

bool GridComp::CanInsert(const DocSelection& fragment, const DocPosition& at) const
{
    GridComp* grid = FragmentGrid(fragment);
    if (!grid || grid == this || grid->IsEmptyGrid() || at.GetKind() != DocPosition::kGridLine ||
        at.GetObject() != this)
        return false;
    // Copied rows or columns fit any grid of their shape; a whole grid only one of its own kind.
    TypeTag mine;
    TypeTag theirs;
    GetTag(mine);
    grid->GetTag(theirs);
    if (fragment.GetKind() != DocPosition::kGridLine && mine != theirs)
        return false;
    if (at.GetFlag() == 1)
        return grid->GetRowCount() == m_rowCount;
    return grid->GetColumnCount() == GetColumnCount();
}

DocSelection GridComp::Insert(DocSelection& fragment, const DocPosition& at)
{
    if (!CanInsert(fragment, at))
        return DocSelection();
    GridComp* grid = FragmentGrid(fragment);
    const bool columns = at.GetFlag() == 1;
    const int index = std::clamp(at.GetIndex(), 1, (columns ? GetColumnCount() : m_rowCount) + 1);
    const int count = columns ? grid->GetColumnCount() : grid->GetRowCount();
    // The fragment's grid stays in the fragment; only its columns or rows move.
    if (columns)
        InsertColumnsFrom(grid->RemoveColumns(1, count), index);
    else
        InsertRowsFrom(grid->RemoveRows(1, count), index);
    fragment.DestroyWithParagraph();
    return DocSelection(DocPosition(this, index, columns), DocPosition(this, index + count, columns));
}

void GridComp::SetSelectionFont(const DocSelection& selection, int fontId)
{
    if (selection.GetKind() != DocPosition::kGridLine)
        return;
    const bool columns = selection.First().GetFlag() == 1;
    for (int i = selection.First().GetIndex(); i < selection.Second().GetIndex(); ++i) {
        const int cells = columns ? m_rowCount : GetColumnCount();
        for (int k = 1; k <= cells; ++k)
            if (CompList* cell = columns ? GetCell(i, k) : GetCell(k, i))
                cell->SetFont(fontId, 1, cell->GetCount() + 1);
    }
    Changed();
}

// ---- empty columns and rows ----

int GridComp::InsertPlaceFor(const DocPosition& position, Item item) const
{
    return item == kColumn ? ColumnInsertPlace(position) : RowInsertPlace(position);
}

void GridComp::InsertEmptyItem(int index, Item item)
{
    if (item == kColumn)
        InsertColumn(index);
    else if (item == kRow)
        InsertRow(index);
}

int GridComp::MapRowGridKey(DocPosition& position, int key, bool shift, bool ctrl, int tabEdit)
{
    const bool onLine = LineCodeOf(position) != kNotOnLine;
    if (key == KeyCode::kLineFeed && onLine) {
        key = KeyCode::kReturn;
        ctrl = true;
    }
    switch (key) {
    case KeyCode::kTab:
        return onLine ? EditCode::kNone : tabEdit;
    case KeyCode::kReturn:
        if (onLine)
            return ctrl ? EditCode::kInsertRow : EditCode::kNextGridLine;
        return shift ? EditCode::kCellToRowLine : EditCode::kNextRowCell;
    default:
        return GridComp::MapKey(position, key, shift, ctrl);
    }
}

bool GridComp::RowGridCommandEnabled(int commandId, int extra) const
{
    return commandId == EditCode::kInsertRow || TextComp::IsCommandEnabled(commandId, extra);
}
