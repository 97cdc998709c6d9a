#pragma once
// The common base of the mouse gestures a view runs while the button is
// down (selecting text, dragging a term, editing a drawing, turning a 3-D
// plot): the view sends it the press, every move, every timer tick and the
// release, and afterwards performs the action the gesture made, if any.
#include "foundation/IntPoint.h"
#include "foundation/Region.h"

class ActionView;
class ParagraphList;
class TAction;

class MouseTracker {
public:
    explicit MouseTracker(ActionView& view);
    // Deletes an action that the view did not take.
    virtual ~MouseTracker();
    MouseTracker(const MouseTracker&) = delete;
    MouseTracker& operator=(const MouseTracker&) = delete;

    // Sets the mouse cursor; the view also calls it on every timer tick.
    virtual void SetCursor() {}
    // Points are in document coordinates.
    virtual void MouseDown(const IntPoint& point) {}
    virtual void MouseMove(const IntPoint& point) {}
    virtual void MouseUp(const IntPoint& point) {}
    // No tracker answers anything but 0.
    virtual int TrackerFlags() const { return 0; }
    // The program cursor shown while the gesture lasts; 0 keeps the one
    // shown when it began.
    virtual int CursorId() const { return 0; }

    // The action the gesture made, or null; the tracker still owns it.
    TAction* GetAction() const { return m_action; }
    // Hands the action over to the caller (who performs it).
    TAction* TakeAction();

protected:
    ActionView& m_view;
    ParagraphList* m_document;
    Region m_highlight;
    TAction* m_action = nullptr;
};
