#include "foundation/ActionHost.h"

#include "foundation/Str255.h"
#include "foundation/TAction.h"
#include "foundation/TTypingAction.h"

#include <utility>

ActionHost::~ActionHost()
{
    Drop();
}

void ActionHost::Drop()
{
    m_typing = nullptr;
    Commit(std::exchange(m_kept, nullptr));
}

void ActionHost::Commit(TAction* action)
{
    if (action) {
        action->Commit();
        delete action;
    }
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
    TAction* previous = std::exchange(m_kept, action);
    TTypingAction* previousTyping = std::exchange(m_typing, dynamic_cast<TTypingAction*>(action));
    try {
        action->Perform();
    } catch (...) {
        m_kept = nullptr;
        m_typing = nullptr;
        action->Commit();
        delete action;
        Commit(previous);
        return false;
    }
    // An action that refused or changed nothing (a calculation stopped) is
    // dropped: the undo step and the document's modified mark stay as they
    // were.
    if ((action->WasRefused() || action->ChangedNothing()) && m_kept == action) {
        const bool refused = action->WasRefused();
        m_kept = previous;
        m_typing = refused ? previousTyping : nullptr;
        Commit(action);
        return !refused;
    }
    Commit(previous);
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
    const bool wasDone = m_kept->IsDone();
    if (wasDone)
        m_kept->Revert();
    else
        m_kept->Redo();
    // A redo the user stopped leaves the action undone and the document,
    // with its modified mark, as it was.
    if (m_kept->IsDone() != wasDone && m_kept->ModifiesDocument())
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
