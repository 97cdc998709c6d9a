#pragma once
// Inserting an empty column or row into a grid, or an empty variable into a
// partial derivative, beside the selection: before the selected rows or
// columns, after the cell holding a caret or a range. Nothing the selection
// holds is removed. The new item is recorded as the range between its two
// lines (or slots) and the caret goes on the line after it; undo deletes
// that range. The component is the nearest enclosing one that inserts items
// of that kind (EmptyItemInserter).
#include "foundation/EmptyItemInserter.h"
#include "foundation/TSelectionAction.h"

class TextComp;

class TInsertItemAction : public TSelectionAction {
public:
    void Do() override;
    void Undo() override;

protected:
    TInsertItemAction(int16_t nameId, const DocSelection& selection, EmptyItemInserter::Item item);

private:
    // The component and its inserter, found from the position; null when none.
    TextComp* FindTarget(const DocPosition& position, EmptyItemInserter*& inserter) const;
    DocPosition LineAt(TextComp* target, int index) const;

    EmptyItemInserter::Item m_item;
    DocSelection m_inserted;
};

class TInsertColumnAction : public TInsertItemAction {
public:
    explicit TInsertColumnAction(const DocSelection& selection);
};

class TInsertRowAction : public TInsertItemAction {
public:
    explicit TInsertRowAction(const DocSelection& selection);
};

class TInsertDerivativeAction : public TInsertItemAction {
public:
    explicit TInsertDerivativeAction(const DocSelection& selection);
};
