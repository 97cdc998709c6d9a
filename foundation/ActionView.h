#pragma once
// What an action asks of the view it runs in: the view's selection, layout
// after a change, scrolling, and the document's modified mark. The editing
// view implements it; the view that is running an action is the current one
// (ActionViewScope), so that actions made anywhere reach it. Without a
// current view (a document edited headless) actions change the model only.
#include "foundation/DocSelection.h"

class ParagraphList;

class ActionView {
public:
    virtual ~ActionView() = default;

    virtual DocSelection GetSelection() const = 0;
    virtual void SetSelection(const DocSelection& selection, bool redraw) = 0;
    virtual void ScrollToShow(const DocSelection& selection) = 0;
    // Lays the paragraphs out again from paragraph index (1-based) and the
    // index within it, and recomputes the scroll sizes.
    virtual void UpdateLayoutFrom(int paragraphIndex, int indexInParagraph) = 0;
    virtual void SetDocumentModified() = 0;
    // The document is about to change outside the undo step (a replacement
    // made by Find or the spelling check): the kept action would undo at
    // places that no longer hold what it recorded, so it is committed and
    // dropped.
    virtual void DropUndoStep() {}
    // Invalidates, without erasing, the screen region of a selection.
    virtual void InvalidateSelection(const DocSelection& selection) = 0;
    // Shows a selection that a mouse drag is building, redrawing only what
    // changed; the view's selection is set for good when the drag ends.
    virtual void ShowSelection(const DocSelection& selection) = 0;
    // The paragraphs the view shows.
    virtual ParagraphList* GetParagraphList() const = 0;

    // The view running an action, or null. User-interface thread only.
    static ActionView* Current();

private:
    friend class ActionViewScope;
    static ActionView* s_current;
};

// Makes a view the current one for its lifetime (the previous one after).
class ActionViewScope {
public:
    explicit ActionViewScope(ActionView* view) : m_previous(ActionView::s_current) { ActionView::s_current = view; }
    ~ActionViewScope() { ActionView::s_current = m_previous; }
    ActionViewScope(const ActionViewScope&) = delete;
    ActionViewScope& operator=(const ActionViewScope&) = delete;

private:
    ActionView* m_previous;
};
