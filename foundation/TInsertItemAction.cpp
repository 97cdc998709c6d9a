#include "foundation/TInsertItemAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/TextComp.h"

TInsertItemAction::TInsertItemAction(int16_t nameId, const DocSelection& selection, EmptyItemInserter::Item item)
    : TSelectionAction(nameId, selection), m_item(item)
{
}

TInsertColumnAction::TInsertColumnAction(const DocSelection& selection)
    : TInsertItemAction(ActionNames::kInsertColumn, selection, EmptyItemInserter::kColumn)
{
}

TInsertRowAction::TInsertRowAction(const DocSelection& selection)
    : TInsertItemAction(ActionNames::kInsertRow, selection, EmptyItemInserter::kRow)
{
}

TInsertDerivativeAction::TInsertDerivativeAction(const DocSelection& selection)
    : TInsertItemAction(ActionNames::kInsertDerivative, selection, EmptyItemInserter::kVariable)
{
}

TextComp* TInsertItemAction::FindTarget(const DocPosition& position, EmptyItemInserter*& inserter) const
{
    DocPosition at = position;
    TextComp* comp = at.GetKind() == DocPosition::kListPlace ? at.FindEnclosing(tag_null) : at.GetObject();
    while (comp) {
        inserter = dynamic_cast<EmptyItemInserter*>(comp);
        if (inserter && inserter->HasItems(m_item))
            return comp;
        at = at.BeforeEnclosing();
        comp = at.FindEnclosing(tag_null);
    }
    inserter = nullptr;
    return nullptr;
}

DocPosition TInsertItemAction::LineAt(TextComp* target, int index) const
{
    switch (m_item) {
    case EmptyItemInserter::kColumn: return DocPosition(target, index, true);
    case EmptyItemInserter::kRow: return DocPosition(target, index, false);
    case EmptyItemInserter::kVariable: return DocPosition(target, index);
    }
    return DocPosition();
}

void TInsertItemAction::Do()
{
    EmptyItemInserter* inserter = nullptr;
    TextComp* target = FindTarget(m_selection.GetStart(), inserter);
    if (!target) {
        m_inserted = DocSelection();
        RestoreSelection(m_selection);
        return;
    }
    const int index = inserter->InsertPlaceFor(m_selection.GetStart(), m_item);
    inserter->InsertEmptyItem(index, m_item);
    m_inserted = DocSelection(LineAt(target, index), LineAt(target, index + 1));
    DocPosition caret = LineAt(target, index + 1);
    RestoreSelection(DocSelection(caret, caret));
}

void TInsertItemAction::Undo()
{
    if (m_inserted.HasExtent()) {
        DocSelection inserted = m_inserted;
        DocPosition at;
        if (ActionSupport::RemoveContent(inserted, at))
            ActionSupport::DestroyFragment(inserted);
    }
    m_inserted = DocSelection();
    RestoreSelection(m_selection);
}
