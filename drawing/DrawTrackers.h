#pragma once
// The drawing's mouse trackers other than the vertex drag: dragging a
// label, panning and selecting by rubber band (none of them undoable), and
// the pencil's segments and freehand strokes (each leaving the action that
// adds what it drew). Points are the drawing's device points.
#include "foundation/DPoint.h"
#include "drawing/DrawingCodes.h"
#include "foundation/MouseTracker.h"

#include <memory>
#include <vector>

class DiagramComp;
class DrawLabel;
class SegmentShape;

class LabelDragTracker : public MouseTracker {
public:
    LabelDragTracker(ActionView& view, DiagramComp* diagram, DrawLabel* label);
    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    // A label that moved is a change of the document (it is not undone).
    void MouseUp(const IntPoint& point) override;

private:
    DiagramComp* m_diagram;
    DrawLabel* m_label;
    bool m_moved = false;
    DPoint m_lastWorld;
    IntPoint m_last;
};

class GrabTracker : public MouseTracker {
public:
    GrabTracker(ActionView& view, DiagramComp* diagram);
    void MouseDown(const IntPoint& point) override { m_last = point; }
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;
    int CursorId() const override { return drawing::kPanningCursor; }

private:
    DiagramComp* m_diagram;
    IntPoint m_last;
};

class SelectRectTracker : public MouseTracker {
public:
    // add: Shift was held at the press, the band adds to the selection.
    SelectRectTracker(ActionView& view, DiagramComp* diagram, bool add);
    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

private:
    DiagramComp* m_diagram;
    IntPoint m_anchor;
    IntPoint m_current;
    bool m_add;
};

// The pencil: a click makes a vertex, a drag a segment from the press to
// the release, shown while it is drawn and added by the action the release
// leaves, which joins its ends to the free vertices, lone edges and paths
// they land on.
class SegmentTracker : public MouseTracker {
public:
    SegmentTracker(ActionView& view, DiagramComp* diagram);
    void MouseDown(const IntPoint& point) override { m_press = m_last = point; }
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

private:
    DiagramComp* m_diagram;
    SegmentShape* m_segment = nullptr;
    IntPoint m_press;
    IntPoint m_last;
    bool m_moved = false;
};

// The pencil with Shift: a freehand stroke, shown while it is drawn, turned
// at the release into one Bezier curve added as a pencil segment is. The
// pencil starts no other tracker until the stroke's action is built.
class FreehandTracker : public MouseTracker {
public:
    // Moves closer than this (squared, in device points) to the last
    // stored point are not stored.
    static constexpr int kMinSquaredStep = 5;

    FreehandTracker(ActionView& view, DiagramComp* diagram);
    ~FreehandTracker() override;
    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

    const std::vector<IntPoint>& GetStroke() const { return m_stroke; }

private:
    // Nothing for fewer than two points, a segment for two, else the fitted curve.
    TAction* BuildAction();

    DiagramComp* m_diagram;
    std::vector<IntPoint> m_stroke;
};

std::unique_ptr<MouseTracker> NewVertexDragTracker(ActionView& view, DiagramComp* diagram);
std::unique_ptr<MouseTracker> NewSegmentTracker(ActionView& view, DiagramComp* diagram);
std::unique_ptr<MouseTracker> NewFreehandTracker(ActionView& view, DiagramComp* diagram);
