#pragma once
// What a component with its own lines or slots (grids by columns and rows,
// partial derivatives by variables) offers the insert actions: an empty
// column, row or variable put in at a line or slot. Such components derive
// from it beside TextComp and InnerSelection; the actions find it with
// dynamic_cast. Removing the inserted item again goes through the
// component's InnerSelection (a delete record of its lines or slots).
class DocPosition;

class EmptyItemInserter {
public:
    enum Item { kColumn, kRow, kVariable };

    virtual ~EmptyItemInserter() = default;

    // Whether the component has items of that kind.
    virtual bool HasItems(Item item) const = 0;
    // The line or slot before which a new item goes for the position.
    virtual int InsertPlaceFor(const DocPosition& position, Item item) const = 0;
    // Puts an empty item in before line or slot index.
    virtual void InsertEmptyItem(int index, Item item) = 0;
};
