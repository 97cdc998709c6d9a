#include "math/GridColumn.h"

#include "math/GridComp.h"

#include <algorithm>
#include <memory>

GridColumn::GridColumn(GridComp* owner, int n) : m_owner(owner)
{
    for (int r = 0; r < n; ++r)
        AppendCell(new CompList);
}

GridColumn::~GridColumn()
{
    for (int r = 1; r <= GetCount(); ++r)
        delete m_cells.GetAt(r);
}

void GridColumn::Adopt(CompList* cell)
{
    cell->SetOwner(m_owner, 1);
}

void GridColumn::InsertCell(int r, CompList* cell)
{
    std::unique_ptr<CompList> guard(cell);
    m_cells.InsertAt(r, cell);
    guard.release();
    Adopt(cell);
}

CompList* GridColumn::RemoveCell(int r)
{
    if (r < 1 || r > GetCount())
        return nullptr;
    return m_cells.RemoveAt(r);
}

void GridColumn::SetOwner(GridComp* owner)
{
    m_owner = owner;
    for (int r = 1; r <= GetCount(); ++r)
        Adopt(m_cells.GetAt(r));
}

GridColumn* GridColumn::CloneRows(int first, int last, LinkRemap& remap) const
{
    auto column = std::make_unique<GridColumn>(nullptr, 0);
    first = std::max(first, 1);
    last = std::min(last, GetCount());
    for (int r = first; r <= last; ++r)
        column->AppendCell(m_cells.GetAt(r)->CloneWithRemap(remap));
    column->m_width = m_width;
    return column.release();
}
