#pragma once
// Paragraph style: gives every paragraph of the selection a style of the
// style table. It cannot be undone.
#include "foundation/TAction.h"

class TParagraphStyleAction : public TAction {
public:
    TParagraphStyleAction(const DocSelection& selection, int styleIndex);

    bool CanUndo() const override { return false; }
    void Do() override;

private:
    DocSelection m_selection;
    int m_styleIndex;
};
