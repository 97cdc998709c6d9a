#pragma once
// Moves between the child rows of a structure and out of it, and the jump
// from a cross-reference to the paragraph it names.
#include "foundation/TKeyAction.h"

class TextComp;

class TPreviousFieldAction : public TKeyAction {
public:
    TPreviousFieldAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

class TNextFieldAction : public TKeyAction {
public:
    TNextFieldAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// A caret just after the component enclosing the selection's start.
class TLeaveAfterAction : public TKeyAction {
public:
    TLeaveAfterAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// A caret just before the component enclosing the selection's start.
class TLeaveBeforeAction : public TKeyAction {
public:
    TLeaveBeforeAction(ActionView& view, const DocSelection& selection) : TKeyAction(view, selection, false) {}
    void Compute() override;
};

// Selects the row of the paragraph whose equation label the reference
// points at; a reference that points nowhere leaves the selection.
class TGoToReferenceAction : public TKeyAction {
public:
    // reference is the cross-reference component that was clicked.
    TGoToReferenceAction(ActionView& view, const DocSelection& selection, TextComp* reference)
        : TKeyAction(view, selection, false), m_reference(reference) {}
    void Compute() override;

private:
    TextComp* m_reference;
};
