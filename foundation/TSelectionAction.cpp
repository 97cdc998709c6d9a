#include "foundation/TSelectionAction.h"

#include "foundation/ActionSupport.h"

TSelectionAction::TSelectionAction(int16_t nameId, const DocSelection& selection)
    : TAction(nameId, selection), m_selection(selection)
{
}

void TSelectionAction::KeepContent()
{
    DocSelection content = m_selection;
    DocPosition at;
    if (m_selection.HasExtent() && ActionSupport::RemoveContent(content, at)) {
        m_removed = {content, at};
        m_kept = true;
    } else {
        m_removed = {DocSelection(), m_selection.GetStart()};
        m_kept = false;
    }
}

void TSelectionAction::RestoreContent()
{
    if (!m_kept)
        return;
    m_removed.content.InsertAt(m_removed.at);
    ActionSupport::DestroyFragment(m_removed.content); // left only when it did not fit
    m_kept = false;
}

void TSelectionAction::UpdateSelection()
{
    if (m_work.HasExtent()) {
        DocSelection content = m_work;
        DocPosition from;
        if (!ActionSupport::RemoveContent(content, from))
            return;
        m_work = content.InsertAt(m_moved.at);
        ActionSupport::DestroyFragment(content);
        m_moved.at = from;
    } else {
        DocPosition start = m_work.GetStart();
        m_work = DocSelection(m_moved.at, m_moved.at);
        m_moved.at = start;
    }
}

void TSelectionAction::Commit()
{
    if (m_kept)
        ActionSupport::DestroyFragment(m_removed.content);
    m_kept = false;
}
