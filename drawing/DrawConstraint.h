#pragma once
// The part of a constraint that the drawing itself relies on: it ties the
// constraint's variables to the drawing, copies it over a copy map when all
// the items it binds were copied, and tells whether it lies in a rectangle.
// The constraint kinds build on it.
#include "drawing/DiagramItem.h"

class ItemCopyMap;

class DrawConstraint : public DiagramItem {
public:
    // Makes the drawing the owner of the variables the constraint holds as values.
    virtual void SetVariableTag(DiagramComp* diagram) {}
    // A copy bound to the copies of its items, or null when one of them has none.
    virtual DrawConstraint* Copy(ItemCopyMap& map) = 0;
    virtual bool IsInRect(const DPoint& topLeft, const DPoint& bottomRight) const { return false; }
    virtual bool IsKeptRecord() const { return false; }
    // How removing the selected items touches the constraint: 5 all items
    // it binds are selected, 4 some are, 0 none (the equal-length kinds add
    // their own codes).
    virtual int SelectionCode() const { return 0; }
    // A fixing constraint unlocks its vertex while removed and locks it again.
    virtual void ReleaseLock() {}
    virtual void ApplyLock() {}
};
