#pragma once
// The mouse gesture on text: a click puts the caret or selects the thing
// under the pointer (a number label, a cross-reference, a grey run),
// Shift+click extends the selection, dragging selects from the press point
// to the pointer.
#include "foundation/DocSelection.h"
#include "foundation/MouseTracker.h"

#include <cstdint>

class CompList;

class SelectionTracker : public MouseTracker {
public:
    // extend: Shift was held at the press.
    SelectionTracker(ActionView& view, bool extend);

    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

    const DocSelection& GetTrackedSelection() const { return m_selection; }
    const DocPosition& GetAnchor() const { return m_anchor; }

    // What a click at a position selects. While dragging (moving) a plot
    // under the pointer is selected whole as well.
    static DocSelection ClickSelection(const DocPosition& position, bool moving);

private:
    DocPosition PositionAt(const IntPoint& point) const;
    static bool GreyRunAt(CompList* list, int index, int& first, int& end);

    DocSelection m_selection;
    DocPosition m_anchor;
    DocPosition m_current;
    uint8_t m_extend;
};
