#include "platform/framework/CCmdTarget.h"

#include <algorithm>

#include "platform/UserInterface.h"
#include "platform/framework/InputGateFilter.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

bool CCmdTarget::OnCmdMsg(UINT id, CCmdUI* pUI)
{
    return pUI ? HandleOwnUpdate(pUI) : HandleOwnCommand(id);
}

bool CCmdTarget::HasCommandHandler(UINT id)
{
    return HasOwnCommandHandler(id);
}

// Later entries win: a derived class registers after its base.
template <class Entries>
static auto findEntry(Entries& entries, UINT id)
{
    return std::find_if(entries.rbegin(), entries.rend(),
                        [id](const auto& e) { return id >= e.first && id <= e.last; });
}

bool CCmdTarget::HandleOwnCommand(UINT id)
{
    auto it = findEntry(m_commands, id);
    if (it == m_commands.rend())
        return false;
    CommandFn fn = it->fn;  // the handler may change the tables
    fn(id);
    return true;
}

bool CCmdTarget::HandleOwnUpdate(CCmdUI* pUI)
{
    auto it = findEntry(m_updates, pUI->m_nID);
    if (it == m_updates.rend())
        return false;
    UpdateFn fn = it->fn;
    fn(pUI);
    return true;
}

bool CCmdTarget::HasOwnCommandHandler(UINT id) const
{
    return findEntry(m_commands, id) != m_commands.rend();
}

bool CCmdTarget::HandleOwnNotify(UINT code, UINT id)
{
    auto it = std::find_if(m_notifies.rbegin(), m_notifies.rend(),
                           [&](const NotifyEntry& e) { return e.code == code && id >= e.first && id <= e.last; });
    if (it == m_notifies.rend())
        return false;
    CommandFn fn = it->fn;
    fn(id);
    return true;
}

void CCmdTarget::MapCommand(UINT id, std::function<void()> fn)
{
    m_commands.push_back({id, id, [fn = std::move(fn)](UINT) { fn(); }});
}

void CCmdTarget::MapCommandRange(UINT first, UINT last, CommandFn fn)
{
    m_commands.push_back({first, last, std::move(fn)});
}

void CCmdTarget::MapUpdate(UINT id, UpdateFn fn)
{
    m_updates.push_back({id, id, std::move(fn)});
}

void CCmdTarget::MapUpdateRange(UINT first, UINT last, UpdateFn fn)
{
    m_updates.push_back({first, last, std::move(fn)});
}

void CCmdTarget::MapNotify(UINT code, UINT id, std::function<void()> fn)
{
    m_notifies.push_back({code, id, id, [fn = std::move(fn)](UINT) { fn(); }});
}

void CCmdTarget::MapNotifyRange(UINT code, UINT first, UINT last, CommandFn fn)
{
    m_notifies.push_back({code, first, last, std::move(fn)});
}

void CCmdUI::DoUpdate(CCmdTarget* target, bool disableIfNoHandler)
{
    if (!target)
        return;
    if (!target->OnCmdMsg(m_nID, this) && disableIfNoHandler)
        Enable(target->HasCommandHandler(m_nID));
    if (!CommandAvailableWhileHolding(m_nID, target))
        Enable(FALSE);
}

void CCmdTarget::BeginWaitCursor()
{
    UserInterface::Current().BeginWaitCursor();
}

void CCmdTarget::EndWaitCursor()
{
    UserInterface::Current().EndWaitCursor();
}
