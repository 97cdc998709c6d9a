#include "foundation/TRemoveParagraphBreakAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/ParagraphComp.h"
#include "foundation/ParagraphList.h"

TRemoveParagraphBreakAction::TRemoveParagraphBreakAction(const DocSelection& selection)
    : TAction(ActionNames::kRemoveParagraphBreak, selection), m_removed(selection.GetStart().GetParagraphComp())
{
}

TRemoveParagraphBreakAction::~TRemoveParagraphBreakAction()
{
    if (m_holding)
        delete m_removed;
}

void TRemoveParagraphBreakAction::Do()
{
    ParagraphList* list = m_removed ? m_removed->GetOwnerList() : nullptr;
    m_index = list ? list->IndexOf(m_removed) : 0;
    if (m_index < 2)
        return; // the first paragraph has nothing to join
    m_previous = list->GetAt(m_index - 1);
    CompList* into = m_previous->GetRow();
    m_joinAt = into->GetCount() + 1;
    m_count = m_removed->GetRow()->GetCount();
    m_content = DocSelection::SelectAll(m_removed->GetRow());
    into->InsertAllAt(m_removed->GetRow()->DetachAll(), m_joinAt);
    into->Invalidate();
    m_savedStyle = m_previous->GetStyle();
    m_previous->SetStyle(m_removed->GetStyle());
    m_previous->Invalidate();
    ActionSupport::TakeParagraph(*list, m_index);
    m_holding = true;
    m_paragraphIndex = m_index - 1;
    DocPosition join(into, m_joinAt);
    RestoreSelection(DocSelection(join, join));
}

void TRemoveParagraphBreakAction::Undo()
{
    if (!m_holding || !m_previous)
        return;
    ParagraphList* list = m_previous->GetOwnerList();
    list->InsertAt(m_removed, m_index);
    m_holding = false;
    m_previous->SetStyle(m_savedStyle);
    m_previous->Invalidate();
    CompList* from = m_previous->GetRow();
    if (m_count > 0)
        m_removed->GetRow()->InsertAllAt(from->RemoveRange(m_joinAt, m_joinAt + m_count - 1), 1);
    from->Invalidate();
    m_removed->GetRow()->Invalidate();
    m_content = DocSelection::SelectAll(m_removed->GetRow());
    DocPosition start(m_removed->GetRow(), 1);
    RestoreSelection(DocSelection(start, start));
}

void TRemoveParagraphBreakAction::Commit()
{
    if (m_holding)
        delete m_removed;
    m_holding = false;
    m_removed = nullptr;
}
