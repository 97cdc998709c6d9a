#include "foundation/TCharacterStyleAction.h"

#include "foundation/ActionNames.h"
#include "foundation/TTypingAction.h"

TCharacterStyleAction::TCharacterStyleAction(const DocSelection& selection, int fontIndex)
    : TAction(ActionNames::kCantUndo, selection), m_selection(selection), m_fontIndex(fontIndex)
{
}

void TCharacterStyleAction::Do()
{
    m_followUp = !m_selection.HasExtent();
    if (m_followUp)
        return;
    m_selection.SetFont(m_fontIndex);
    RestoreSelection(m_selection);
}

TAction* TCharacterStyleAction::TakeFollowUp()
{
    if (!m_followUp)
        return nullptr;
    m_followUp = false;
    return new TTypingAction(m_fontIndex, m_selection);
}
