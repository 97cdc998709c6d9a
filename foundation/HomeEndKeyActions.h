#pragma once
// Home and End (the laid-out line, or the row inside a structure) and
// Ctrl+Home and Ctrl+End (the document); with Shift they extend the selection.
#include "foundation/TKeyAction.h"

class TCtrlHomeKeyAction : public TKeyAction {
public:
    TCtrlHomeKeyAction(ActionView& view, const DocSelection& selection, bool extend)
        : TKeyAction(view, selection, extend) {}
    void Compute() override;
};

class TCtrlEndKeyAction : public TKeyAction {
public:
    TCtrlEndKeyAction(ActionView& view, const DocSelection& selection, bool extend)
        : TKeyAction(view, selection, extend) {}
    void Compute() override;
};

class THomeKeyAction : public TKeyAction {
public:
    THomeKeyAction(ActionView& view, const DocSelection& selection, bool extend)
        : TKeyAction(view, selection, extend) {}
    void Compute() override;
};

class TEndKeyAction : public TKeyAction {
public:
    TEndKeyAction(ActionView& view, const DocSelection& selection, bool extend)
        : TKeyAction(view, selection, extend) {}
    void Compute() override;
};
