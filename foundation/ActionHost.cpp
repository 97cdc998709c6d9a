#include "foundation/ActionHost.h"

#include "foundation/Str255.h"
#include "foundation/TAction.h"
#include "foundation/TTypingAction.h"

ActionHost::~ActionHost()
{
    Drop();
}

void ActionHost::Drop()
{
    TAction* old = m_kept;
    m_kept = nullptr;
    m_typing = nullptr;
    if (old) {
        old->Commit();
        delete old;
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
    Drop();
    m_kept = action;
    m_typing = dynamic_cast<TTypingAction*>(action);
    try {
        action->Perform();
    } catch (...) {
        m_kept = nullptr;
        m_typing = nullptr;
        action->Commit();
        delete action;
        return false;
    }
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
