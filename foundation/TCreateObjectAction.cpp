#include "foundation/TCreateObjectAction.h"

#include "foundation/ActionNames.h"
#include "foundation/ActionSupport.h"
#include "foundation/CompList.h"
#include "foundation/TextComp.h"

#include <algorithm>

TCreateObjectAction::TCreateObjectAction(TextComp* comp, const DocSelection& selection)
    : TSelectionAction(ActionNames::kCreateObject, selection), m_comp(comp)
{
}

TCreateObjectAction::~TCreateObjectAction()
{
    // A view always commits first; an action dropped unperformed frees it here.
    if (m_owned && !m_done)
        ActionSupport::DestroyComponent(m_comp);
}

void TCreateObjectAction::Do()
{
    DocPosition end = m_selection.GetEnd().Normalize();
    CompList* list = end.GetList();
    if (!list || !m_comp)
        return;
    int index = end.GetKind() == DocPosition::kListPlace ? std::clamp(end.GetIndex(), 1, list->GetCount() + 1)
                                                          : list->Find(end.GetObject()) + 1;
    list->InsertAt(m_comp, index);
    list->Invalidate();
    m_owned = false;

    bool hasExtent = m_selection.HasExtent();
    m_movedIn = hasExtent && m_comp->AcceptsSelection() && m_selection.IsInOneParagraph() &&
                m_selection.GetKind() == DocPosition::kListPlace;
    if (m_movedIn) {
        m_work = m_selection;
        m_comp->GetEntryPosition(m_moved.at);
        UpdateSelection();
        DocPosition after = m_work.GetEnd();
        RestoreSelection(DocSelection(after, after));
        return;
    }
    if (hasExtent)
        KeepContent();
    DocPosition entry;
    m_comp->GetEntryPosition(entry);
    RestoreSelection(DocSelection(entry, entry));
}

void TCreateObjectAction::Undo()
{
    if (m_movedIn)
        UpdateSelection();
    if (CompList* owner = m_comp->GetOwner()) {
        owner->RemoveAt(owner->Find(m_comp));
        owner->Invalidate();
        m_owned = true;
    }
    RestoreContent();
    RestoreSelection(m_selection);
}

void TCreateObjectAction::Commit()
{
    if (!m_done && m_owned) {
        ActionSupport::DestroyComponent(m_comp);
        m_comp = nullptr;
        m_owned = false;
    }
    TSelectionAction::Commit();
}
