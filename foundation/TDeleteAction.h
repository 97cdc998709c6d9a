#pragma once
// Delete: removes the selection, or without extent the component before the
// caret (nothing at the start of a row); Undo puts it back.
#include "foundation/TSelectionAction.h"

class TDeleteAction : public TSelectionAction {
public:
    explicit TDeleteAction(const DocSelection& selection);

    void Do() override;
    void Undo() override;

private:
    DocSelection m_before;
};
