#pragma once
// The tools of a drawing: the drawing always has one current tool, which
// decides what a press of the left button means. A tool changes the
// selection or the zoom at once, or answers a mouse tracker that the view
// drives until the button is released. Tools keep no state beyond a busy
// flag (the pencil is busy while a freehand stroke is being fitted).
#include "drawing/DrawingCodes.h"
#include "foundation/IntPoint.h"

#include <memory>

class ActionView;
class DiagramComp;
class MouseTracker;

class DrawTool {
public:
    explicit DrawTool(DiagramComp* diagram) : m_diagram(diagram) {}
    virtual ~DrawTool() = default;
    DrawTool(const DrawTool&) = delete;
    DrawTool& operator=(const DrawTool&) = delete;

    // The cursor resource to show over a point (0: the system arrow).
    virtual int GetCursor(const IntPoint& point, bool shift) = 0;
    // A press at a point of the drawing; the caller owns the tracker.
    virtual std::unique_ptr<MouseTracker> OnMouseDown(ActionView& view, const IntPoint& point, bool shift) = 0;
    virtual drawing::ToolKind GetKind() const = 0;

    void SetBusy(bool busy) { m_busy = busy; }
    bool IsBusy() const { return m_busy; }

protected:
    DiagramComp* m_diagram;
    bool m_busy = false;
};

// Selects, drags vertices and labels, and selects by rubber band.
class PointerTool : public DrawTool {
public:
    using DrawTool::DrawTool;
    int GetCursor(const IntPoint& point, bool shift) override;
    std::unique_ptr<MouseTracker> OnMouseDown(ActionView& view, const IntPoint& point, bool shift) override;
    drawing::ToolKind GetKind() const override { return drawing::ToolKind::Pointer; }
};

// Draws a segment (a vertex for a click), or a freehand stroke with Shift.
class PencilTool : public DrawTool {
public:
    using DrawTool::DrawTool;
    int GetCursor(const IntPoint&, bool) override { return drawing::kPencilCursor; }
    std::unique_ptr<MouseTracker> OnMouseDown(ActionView& view, const IntPoint& point, bool shift) override;
    drawing::ToolKind GetKind() const override { return drawing::ToolKind::Pencil; }
};

// Pans the drawing.
class GrabberTool : public DrawTool {
public:
    using DrawTool::DrawTool;
    int GetCursor(const IntPoint&, bool) override { return drawing::kGrabCursor; }
    std::unique_ptr<MouseTracker> OnMouseDown(ActionView& view, const IntPoint& point, bool shift) override;
    drawing::ToolKind GetKind() const override { return drawing::ToolKind::Grabber; }
};

// Zooms in about the clicked point, out with Shift.
class MagnifierTool : public DrawTool {
public:
    using DrawTool::DrawTool;
    int GetCursor(const IntPoint&, bool shift) override
    {
        return shift ? drawing::kZoomOutCursor : drawing::kZoomInCursor;
    }
    std::unique_ptr<MouseTracker> OnMouseDown(ActionView& view, const IntPoint& point, bool shift) override;
    drawing::ToolKind GetKind() const override { return drawing::ToolKind::Magnifier; }
};

std::unique_ptr<DrawTool> NewDrawTool(drawing::ToolKind kind, DiagramComp* diagram);
// The tool a toolbar command chooses; false for another command.
bool ToolOfCommand(int command, drawing::ToolKind& kind);
