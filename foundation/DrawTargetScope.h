#pragma once
// Makes a view the drawing context's target for the scope's lifetime, so
// that layout and invalidation reach it. Without a view (a document edited
// headless) nothing is pushed.
#include "foundation/DrawContext.h"
#include "foundation/DrawTarget.h"

class DrawTargetScope {
public:
    explicit DrawTargetScope(DrawTarget* target) : m_active(target != nullptr)
    {
        if (m_active)
            gDrawContext.BeginDraw(target);
    }
    ~DrawTargetScope()
    {
        if (m_active)
            gDrawContext.EndDraw();
    }
    DrawTargetScope(const DrawTargetScope&) = delete;
    DrawTargetScope& operator=(const DrawTargetScope&) = delete;

private:
    bool m_active;
};

// Invalidates everything the view shows, erasing it first.
inline void InvalidateWholeView(DrawTarget* target)
{
    if (target)
        target->InvalidateTargetRect(Rect(0, 0, 0x7FFF, 0x7FFF), true);
}
