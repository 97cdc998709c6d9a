#pragma once
// Objects that handle numeric commands: each keeps a table of handlers for
// single ids and for id ranges (which receive the id), and of update handlers
// that set an item's state through CCmdUI. Classes register their handlers in
// their constructors, base classes first, so a derived class's handler for the
// same id wins. Routing to further targets (view, document, frames,
// application) is OnCmdMsg's job in the subclasses.
#include <functional>
#include <vector>

#include "platform/framework/AfxTypes.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CObject.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Executes the command (pUI null) or updates its item (pUI given) with
    // this target's handlers and then those it routes to. True when a handler
    // took it.
    virtual bool OnCmdMsg(UINT id, CCmdUI* pUI);
    // True when some target on the route has a command handler for id.
    virtual bool HasCommandHandler(UINT id);

    // This target's own tables only.
    bool HandleOwnCommand(UINT id);
    bool HandleOwnUpdate(CCmdUI* pUI);
    bool HasOwnCommandHandler(UINT id) const;

    // Control notifications (a click of a button, a list selection) by code and control id.
    bool HandleOwnNotify(UINT code, UINT id);

    // The wait cursor of the user-interface seam; the calls nest.
    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    using CommandFn = std::function<void(UINT id)>;
    using UpdateFn = std::function<void(CCmdUI*)>;

    void MapCommand(UINT id, std::function<void()> fn);
    void MapCommandRange(UINT first, UINT last, CommandFn fn);
    void MapUpdate(UINT id, UpdateFn fn);
    void MapUpdateRange(UINT first, UINT last, UpdateFn fn);
    void MapNotify(UINT code, UINT id, std::function<void()> fn);
    void MapNotifyRange(UINT code, UINT first, UINT last, CommandFn fn);

    // Member-function forms: MapCommand(ID_X, &CMyView::OnX).
    template <class T>
    void MapCommand(UINT id, void (T::*fn)())
    {
        T* self = static_cast<T*>(this);
        MapCommand(id, [self, fn] { (self->*fn)(); });
    }
    template <class T>
    void MapCommandRange(UINT first, UINT last, void (T::*fn)(UINT))
    {
        T* self = static_cast<T*>(this);
        MapCommandRange(first, last, [self, fn](UINT id) { (self->*fn)(id); });
    }
    template <class T>
    void MapUpdate(UINT id, void (T::*fn)(CCmdUI*))
    {
        T* self = static_cast<T*>(this);
        MapUpdate(id, [self, fn](CCmdUI* ui) { (self->*fn)(ui); });
    }
    template <class T>
    void MapUpdateRange(UINT first, UINT last, void (T::*fn)(CCmdUI*))
    {
        T* self = static_cast<T*>(this);
        MapUpdateRange(first, last, [self, fn](CCmdUI* ui) { (self->*fn)(ui); });
    }
    template <class T>
    void MapNotify(UINT code, UINT id, void (T::*fn)())
    {
        T* self = static_cast<T*>(this);
        MapNotify(code, id, [self, fn] { (self->*fn)(); });
    }

private:
    struct CommandEntry { UINT first, last; CommandFn fn; };
    struct UpdateEntry { UINT first, last; UpdateFn fn; };
    struct NotifyEntry { UINT code, first, last; CommandFn fn; };
    std::vector<CommandEntry> m_commands;
    std::vector<UpdateEntry> m_updates;
    std::vector<NotifyEntry> m_notifies;
};
