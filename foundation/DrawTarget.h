#pragma once
// What the drawing context needs of a view it draws into: a device context on
// what the view shows, its scroll position and size level, its preparation of
// a context (its OnPrepareDC), invalidation and scrolling a rectangle into
// sight. The document views implement it. The drawing context subtracts the
// scroll position itself, so preparing a context must not move its origin.
//
// The names differ from the window classes' own (OnPrepareDC, InvalidateRect,
// GetScrollPosition) so that a view can derive from both without clashes.
#include "foundation/IntPoint.h"
#include "foundation/Rect.h"

class CDC;

class DrawTarget {
public:
    virtual ~DrawTarget() = default;

    // A new context drawing on what the view shows; the caller deletes it.
    virtual CDC* CreateTargetDC() = 0;
    // The view's preparation of a screen context (its OnPrepareDC).
    virtual void PrepareTargetDC(CDC* dc) = 0;
    // The document point shown at the top-left corner of the client area.
    virtual IntPoint TargetScrollPosition() const = 0;
    // The view's base size level (0..9, 5 by default).
    virtual int TargetSizeLevel() const = 0;
    // Invalidates a rectangle of the client area (device pixels).
    virtual void InvalidateTargetRect(const Rect& rect, bool erase) = 0;
    // Scrolls so that a rectangle given in document coordinates is visible.
    virtual void ShowTargetRect(const Rect& rect) = 0;
};
