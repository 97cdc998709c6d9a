#pragma once
// Create object: inserts a new component after the selection. A component
// that accepts a selection takes the selected content (within one
// paragraph) into its entry row; otherwise selected content is removed.
#include "foundation/TSelectionAction.h"

class TextComp;

class TCreateObjectAction : public TSelectionAction {
public:
    // Takes ownership of the component.
    TCreateObjectAction(TextComp* comp, const DocSelection& selection);
    ~TCreateObjectAction() override;

    void Do() override;
    void Undo() override;
    // Deletes the component when the action was undone.
    void Commit() override;

    TextComp* GetComponent() const { return m_comp; }

private:
    TextComp* m_comp;
    bool m_movedIn = false;
    bool m_owned = true;
};
