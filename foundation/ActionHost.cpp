#include "foundation/ActionHost.h"

#include "foundation/Str255.h"
#include "foundation/TAction.h"
#include "foundation/TTypingAction.h"

#include <utility>

ActionHost::~ActionHost()
{
    Drop();
}

void ActionHost::Discard(TAction* action)
{
    if (action) {
        action->Commit();
        delete action;
    }
}

void ActionHost::Drop()
{
    TAction* old = std::exchange(m_kept, nullptr);
    m_typing = nullptr;
    Discard(old);
}

bool ActionHost::Perform(TAction* action)
{
    if (!action)
        return false;
    if (m_tracking) {
        delete action;
        return false;
    }
    ActionViewScope scope(&m_view);
    // An action that may change nothing leaves the earlier step aside
    // (uncommitted) until it is known whether it did.
    TAction* earlier = nullptr;
    if (action->MayChangeNothing())
        earlier = std::exchange(m_kept, nullptr);
    Drop();
    m_kept = action;
    m_typing = dynamic_cast<TTypingAction*>(action);
    try {
        action->Perform();
    } catch (...) {
        m_kept = nullptr;
        m_typing = nullptr;
        Discard(action);
        Discard(earlier);
        return false;
    }
    if (action->ChangedNothing()) {
        // The document is as it was: so are its undo step and its mark.
        m_kept = earlier;
        m_typing = nullptr;
        Discard(action);
        return true;
    }
    Discard(earlier);
    if (action->ModifiesDocument())
        m_view.SetDocumentModified();
    // The follow-up replaces the action only now that the action is done:
    // nothing deletes an action while it runs.
    if (TAction* next = action->TakeFollowUp())
        return Perform(next);
    return true;
}

void ActionHost::UndoOrRedo()
{
    if (!m_kept)
        return;
    ActionViewScope scope(&m_view);
    m_typing = nullptr;
    if (m_kept->IsDone())
        m_kept->Revert();
    else
        m_kept->Redo();
    if (m_kept->ModifiesDocument())
        m_view.SetDocumentModified();
}

std::string ActionHost::MenuText() const
{
    if (!m_kept || !m_kept->CanUndo())
        return "Can't undo";
    Str255 name;
    m_kept->GetName(name);
    return std::string(m_kept->IsDone() ? "Undo " : "Redo ") + std::string(name.GetPtrAt(0), size_t(name.GetLength()));
}

bool ActionHost::MenuEnabled() const
{
    return m_kept && m_kept->CanUndo();
}

void ActionHost::Type(unsigned char code)
{
    if (!m_typing)
        Perform(new TTypingAction(m_view.GetSelection()));
    if (!m_typing)
        return;
    ActionViewScope scope(&m_view);
    m_typing->AddChar(code);
}
