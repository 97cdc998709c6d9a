#pragma once
// The commands of the editing view that draw while they run (find, spelling,
// slides) make the view the drawing context's target for their duration.
// Without a view to draw on (a document edited headless) nothing is pushed.
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"

class CommandDrawScope {
public:
    explicit CommandDrawScope(DrawTarget* target)
    {
        if (target) {
            gDrawContext.BeginDraw(target);
            m_active = true;
        }
    }
    ~CommandDrawScope()
    {
        if (m_active)
            gDrawContext.EndDraw();
    }
    CommandDrawScope(const CommandDrawScope&) = delete;
    CommandDrawScope& operator=(const CommandDrawScope&) = delete;

private:
    bool m_active = false;
};

// Invalidates everything the view shows, erasing it first.
inline void InvalidateWholeView(DrawTarget* target)
{
    if (target)
        target->InvalidateTargetRect(Rect(0, 0, 0x7FFF, 0x7FFF), true);
}
