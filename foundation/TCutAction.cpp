#include "foundation/TCutAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/DocClipboard.h"

TCutAction::TCutAction(const DocSelection& selection, DocClipboard* clipboard) : TCopyAction(selection, clipboard)
{
    m_nameId = ActionNames::kCut;
}

void TCutAction::Do()
{
    m_removed = m_selection;
    if (!ActionSupport::RemoveContent(m_removed, m_at)) {
        m_at = m_selection.GetStart();
        return;
    }
    SaveEarlier();
    m_clipboard.Put(m_removed.MakeCopyRecord());
    RestoreSelection(DocSelection(m_at, m_at));
}

void TCutAction::Undo()
{
    RestoreEarlier();
    DocSelection inserted = m_removed.InsertAt(m_at);
    ActionSupport::DestroyFragment(m_removed); // left only when it did not fit
    RestoreSelection(inserted);
}

void TCutAction::Commit()
{
    if (m_done)
        ActionSupport::DestroyFragment(m_removed);
    CommitClipboard();
}
