#pragma once
// What a component selected by its own lines or slots (grids by row and
// column lines, partial derivatives by variable slots) or as a whole object
// with a selection inside it (drawings) answers to positions and selections.
// Such components derive from it beside TextComp; positions and selections
// find it with dynamic_cast and fall back to treating the component as one
// opaque whole when it is absent.
#include "foundation/Rect.h"

class DocPosition;
class DocSelection;

class InnerSelection {
public:
    virtual ~InnerSelection() = default;

    // Two ends inside different child rows of this component (or on its own
    // lines or slots): the selection of lines or slots they mean. False when
    // the ends mean the component whole.
    virtual bool SelectBetween(const DocPosition& a, const DocPosition& b, DocSelection& out) = 0;
    // A whole-object selection of this component has a selection inside it.
    virtual bool HasInnerSelection() const { return false; }
    // The rectangle of the covered lines, slots or inner selection.
    virtual void GetSelectionBounds(const DocSelection& selection, Rect& out) const = 0;
    // Copies what the selection of this component's lines, slots or inner
    // items covers into a new fragment and answers the fragment's selection.
    virtual DocSelection CopySelection(const DocSelection& selection) = 0;
    // Removes what the selection covers into a new fragment; answers the
    // fragment's selection and sets where the removed content stood.
    virtual DocSelection DeleteSelection(const DocSelection& selection, DocPosition& removedAt) = 0;
    // Whether the fragment fits at a line, slot or whole-object position of
    // this component, and its insertion there (the answer covers what was
    // inserted).
    virtual bool CanInsert(const DocSelection& fragment, const DocPosition& at) const = 0;
    virtual DocSelection Insert(DocSelection& fragment, const DocPosition& at) = 0;
    // Applies a font to the covered cells, variables or rows.
    virtual void SetSelectionFont(const DocSelection& selection, int fontId) = 0;
};
