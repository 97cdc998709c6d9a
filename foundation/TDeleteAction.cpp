#include "foundation/TDeleteAction.h"

#include "foundation/ActionNames.h"

TDeleteAction::TDeleteAction(const DocSelection& selection)
    : TSelectionAction(ActionNames::kDelete, selection), m_before(selection)
{
    if (!selection.HasExtent() && selection.GetKind() == DocPosition::kListPlace) {
        DocPosition caret = selection.GetEnd();
        DocPosition before = caret;
        before.DecrementIndex();
        m_selection = DocSelection(before, caret);
    }
}

void TDeleteAction::Do()
{
    KeepContent();
    RestoreSelection(DocSelection(m_removed.at, m_removed.at));
}

void TDeleteAction::Undo()
{
    RestoreContent();
    RestoreSelection(m_before);
}
