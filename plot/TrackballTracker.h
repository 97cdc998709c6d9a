#pragma once
// The trackball: dragging in a selected 3-D plot's picture turns the plot as
// if rolling a ball that fills the picture. While the mouse moves each step
// turns the plot's rotation and shows the frame grid alone; the release
// hands over the whole turn as one undoable action, which rebuilds the
// frame and labels and renders the picture; a click that turned nothing
// hands over none.
#include "foundation/MouseTracker.h"
#include "foundation/Rect.h"
#include "plot/Trackball.h"

class ThreeDPlotComp;

class TrackballTracker : public MouseTracker {
public:
    TrackballTracker(ActionView& view, ThreeDPlotComp& plot);

    void MouseDown(const IntPoint& point) override;
    void MouseMove(const IntPoint& point) override;
    void MouseUp(const IntPoint& point) override;

    const IntPoint& GetLastPoint() const { return m_last; }

private:
    // Turns the plot by the move from the last point to point.
    void Step(const IntPoint& point);
    // The frame grid under the current rotation, over the picture.
    void Preview();

    ThreeDPlotComp& m_plot;
    IntPoint m_last;
    trackball::Ball m_ball;
    Rect m_picture;
    Matrix3d m_before;
};
