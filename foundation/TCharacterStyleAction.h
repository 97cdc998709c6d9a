#pragma once
// Character style: applies a font (character style) index to the selected
// characters. Without extent it starts typing in that style: the new typing
// action is handed to the view as this action's follow-up, so the view
// replaces this action only after it has finished. It cannot be undone.
#include "foundation/TAction.h"

class TCharacterStyleAction : public TAction {
public:
    TCharacterStyleAction(const DocSelection& selection, int fontIndex);

    bool CanUndo() const override { return false; }
    void Do() override;
    TAction* TakeFollowUp() override;

private:
    DocSelection m_selection;
    int m_fontIndex;
    bool m_followUp = false;
};
