#include "plot/TrackballTracker.h"

#include "foundation/DrawContext.h"
#include "platform/draw/CBrush.h"
#include "plot/TRotatePlotAction.h"
#include "plot/ThreeDPlotComp.h"

#include <cstring>

TrackballTracker::TrackballTracker(ActionView& view, ThreeDPlotComp& plot)
    : MouseTracker(view), m_plot(plot), m_picture(plot.GetPlotRect()), m_before(plot.GetRotation())
{
    m_ball = trackball::BallOf(m_picture.left, m_picture.top, m_picture.right, m_picture.bottom);
}

void TrackballTracker::MouseDown(const IntPoint& point)
{
    m_last = point;
}

void TrackballTracker::MouseMove(const IntPoint& point)
{
    const int dx = point.x - m_last.x, dy = point.y - m_last.y;
    if (dx * dx + dy * dy < trackball::kMinMoveSquared)
        return;
    Step(point);
    Preview();
    m_last = point;
}

void TrackballTracker::MouseUp(const IntPoint& point)
{
    const int dx = point.x - m_last.x, dy = point.y - m_last.y;
    if (dx * dx + dy * dy > 4) {
        Step(point);
        m_last = point;
    }
    // The plot stays as the drag left it until the view performs the
    // action, which puts the same rotation in place. A click that turned
    // nothing changes nothing.
    const Matrix3d after = m_plot.GetRotation();
    if (std::memcmp(&after, &m_before, sizeof after) == 0)
        return;
    delete m_action;
    m_action = new TRotatePlotAction(&m_plot, m_before, after);
}

void TrackballTracker::Step(const IntPoint& point)
{
    const trackball::Vector a = trackball::MapToSphere(m_ball, m_last.x, m_last.y);
    const trackball::Vector b = trackball::MapToSphere(m_ball, point.x, point.y);
    Point3d right{}, up{}, eye{};
    m_plot.GetViewFrame(right, up, eye);
    m_plot.ApplyRotation(trackball::ComposeWithView(trackball::RotationBetween(a, b), right, up, eye));
}

void TrackballTracker::Preview()
{
    if (!gDrawContext.GetDC())
        return;
    // The ball the drag rolls, light behind the grid.
    const Rect square(m_ball.centreX - m_ball.radius, m_ball.centreY - m_ball.radius, m_ball.centreX + m_ball.radius,
                      m_ball.centreY + m_ball.radius);
    gDrawContext.SetClipRegion(m_picture);
    gDrawContext.EraseRect(square);
    CBrush ball(RGB(0xEC, 0xEC, 0xF6));
    gDrawContext.FillEllipse(square, &ball);
    m_plot.RenderWireframe(m_picture);
}
