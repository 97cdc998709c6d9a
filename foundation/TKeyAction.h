#pragma once
// The base of the caret and selection commands: every move of the caret is
// an action run through the view's single action path, so that it can be
// undone like an edit (undo puts the earlier selection back). A command
// computes its new selection from the selection it was made with; the view
// that owns that selection is given to it explicitly, since a document may
// be shown in several views.
#include "foundation/TAction.h"

class ActionView;

class TKeyAction : public TAction {
public:
    TKeyAction(ActionView& view, const DocSelection& selection, bool extend);

    void Commit() override {}
    bool CanUndo() const override { return true; }
    // Moving the caret never marks the document modified.
    bool ModifiesDocument() const override { return false; }
    void Do() override { Apply(); }
    void Undo() override { Restore(); }

    // Saves the selection, computes the new one and shows it.
    void Apply();
    // Shows the saved selection again.
    void Restore();
    // Replaces the current selection by the command's result; the base
    // leaves it as it is.
    virtual void Compute() {}

    const DocSelection& GetCurrent() const { return m_current; }
    const DocSelection& GetSaved() const { return m_saved; }
    bool IsExtending() const { return m_extend; }

protected:
    // A caret at the place (the collapsed selection normalised from it).
    void SetCaret(const DocPosition& place);
    // The normalised selection between two places.
    void SetRange(const DocPosition& a, const DocPosition& b);

    ActionView& m_view;
    DocSelection m_current;
    DocSelection m_saved;
    bool m_extend;

private:
    // Invalidates the present selection, shows the current one, scrolls to it.
    void Show();
};
