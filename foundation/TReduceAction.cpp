#include "foundation/TReduceAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/TextComp.h"

TReduceAction::TReduceAction(const DocSelection& selection) : TSelectionAction(ActionNames::kReduce, selection) {}

void TReduceAction::Do()
{
    m_comp = m_selection.GetSingleObject();
    m_owner = m_comp ? m_comp->GetOwner() : nullptr;
    CompList* child = m_comp ? m_comp->GetChild(1) : nullptr;
    if (!m_owner || !child) {
        m_comp = nullptr;
        RestoreSelection(m_selection);
        return;
    }
    m_index = m_owner->Find(m_comp);
    auto contents = child->DetachAll();
    m_count = contents ? contents->GetCount() : 0;
    child->Invalidate();
    m_owner->RemoveAt(m_index);
    m_kept = true;
    m_owner->InsertAllAt(std::move(contents), m_index);
    m_owner->Invalidate();
    RestoreSelection(DocSelection(m_owner, m_index, m_index + m_count));
}

void TReduceAction::Undo()
{
    if (m_comp && m_kept) {
        auto contents = m_count > 0 ? m_owner->RemoveRange(m_index, m_index + m_count - 1) : nullptr;
        m_owner->InsertAt(m_comp, m_index);
        m_comp->GetChild(1)->InsertAllAt(std::move(contents), 1);
        m_comp->GetChild(1)->Invalidate();
        m_owner->Invalidate();
        m_kept = false;
    }
    RestoreSelection(m_selection);
}

void TReduceAction::Commit()
{
    if (m_kept && m_comp)
        ActionSupport::DestroyComponent(m_comp);
    m_comp = nullptr;
    m_kept = false;
}
