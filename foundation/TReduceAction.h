#pragma once
// Reduce: replaces the selected component by the contents of its first
// child row; Undo puts the component back around them.
#include "foundation/TSelectionAction.h"

class TextComp;

class TReduceAction : public TSelectionAction {
public:
    explicit TReduceAction(const DocSelection& selection);

    void Do() override;
    void Undo() override;
    // Deletes the component while the action keeps it (done).
    void Commit() override;

private:
    TextComp* m_comp = nullptr;
    CompList* m_owner = nullptr;
    int m_index = 0;
    int m_count = 0;
};
