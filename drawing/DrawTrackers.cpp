#include "drawing/DrawTrackers.h"

#include "drawing/DiagramComp.h"
#include "drawing/DiagramActions.h"
#include "drawing/CurveShape.h"
#include "drawing/DrawLabel.h"
#include "drawing/FreehandFit.h"
#include "drawing/SegmentShape.h"
#include "drawing/TAddSegmentAction.h"
#include "drawing/VertexShape.h"
#include "drawing/VertexDragTracker.h"
#include "foundation/ActionView.h"

#include <algorithm>
#include <utility>

namespace {

bool Same(const IntPoint& a, const IntPoint& b)
{
    return a.x == b.x && a.y == b.y;
}

} // namespace

LabelDragTracker::LabelDragTracker(ActionView& view, DiagramComp* diagram, DrawLabel* label)
    : MouseTracker(view), m_diagram(diagram), m_label(label)
{
}

void LabelDragTracker::MouseDown(const IntPoint& point)
{
    m_last = point;
    m_lastWorld = m_diagram->GetDC().ScreenToWorld(point);
}

void LabelDragTracker::MouseMove(const IntPoint& point)
{
    if (Same(point, m_last))
        return;
    const DPoint world = m_diagram->GetDC().ScreenToWorld(point);
    const DPoint offset = m_label->GetOffset();
    m_label->SetOffset(DPoint(offset.x + world.x - m_lastWorld.x, offset.y + world.y - m_lastWorld.y));
    m_lastWorld = world;
    m_last = point;
    m_moved = true;
    m_diagram->Repaint();
}

void LabelDragTracker::MouseUp(const IntPoint& point)
{
    MouseMove(point);
    if (m_moved)
        m_view.SetDocumentModified();
}

GrabTracker::GrabTracker(ActionView& view, DiagramComp* diagram) : MouseTracker(view), m_diagram(diagram) {}

void GrabTracker::MouseMove(const IntPoint& point)
{
    if (Same(point, m_last))
        return;
    m_diagram->Pan(point.x - m_last.x, point.y - m_last.y);
    m_diagram->Invalidate();
    m_diagram->InvalidateBox();
    m_last = point;
}

void GrabTracker::MouseUp(const IntPoint&)
{
    m_view.SetDocumentModified();
}

SelectRectTracker::SelectRectTracker(ActionView& view, DiagramComp* diagram, bool add)
    : MouseTracker(view), m_diagram(diagram), m_add(add)
{
}

void SelectRectTracker::MouseDown(const IntPoint& point)
{
    m_anchor = m_current = point;
    if (!m_add)
        m_diagram->DeselectAll(true);
}

void SelectRectTracker::MouseMove(const IntPoint& point)
{
    if (Same(point, m_current))
        return;
    m_current = point;
    if (!m_add)
        m_diagram->DeselectAll(false);
    if (Same(point, m_anchor))
        return;
    // The drawing's box in device points: its bounds are kept from its origin.
    Rect bounds;
    IntPoint origin;
    m_diagram->GetBounds(bounds);
    m_diagram->GetOrigin(origin);
    bounds = Rect(bounds.left + origin.x, bounds.top + origin.y, bounds.right + origin.x, bounds.bottom + origin.y);
    auto clampX = [&](int32_t x) { return std::clamp(x, bounds.left, std::max(bounds.left, bounds.right)); };
    auto clampY = [&](int32_t y) { return std::clamp(y, bounds.top, std::max(bounds.top, bounds.bottom)); };
    const Rect band(clampX(std::min(m_anchor.x, point.x)), clampY(std::min(m_anchor.y, point.y)),
                    clampX(std::max(m_anchor.x, point.x)), clampY(std::max(m_anchor.y, point.y)));
    const DiagramDC& dc = m_diagram->GetDC();
    m_diagram->SelectInRect(dc.ScreenToWorld(IntPoint(band.left, band.top)),
                            dc.ScreenToWorld(IntPoint(band.right, band.bottom)), m_add);
    m_diagram->ShowBand(band);
}

void SelectRectTracker::MouseUp(const IntPoint&)
{
    m_diagram->HideBand();
    m_view.SetSelection(DocSelection::SelectObject(m_diagram), true);
}

SegmentTracker::SegmentTracker(ActionView& view, DiagramComp* diagram) : MouseTracker(view), m_diagram(diagram) {}

void SegmentTracker::MouseMove(const IntPoint& point)
{
    if (Same(point, m_last))
        return;
    m_moved = true;
    const DiagramDC& dc = m_diagram->GetDC();
    const DPoint to = dc.ScreenToWorld(point);
    if (!m_segment) {
        const DPoint from = dc.ScreenToWorld(m_press);
        m_segment = new SegmentShape(new VertexShape(from.x, from.y), new VertexShape(to.x, to.y));
        m_diagram->AddShape(m_segment);
    } else {
        const DPoint end = m_segment->GetEnd()->GetPoint();
        m_segment->GetEnd()->MoveBy(to.x - end.x, to.y - end.y);
    }
    m_last = point;
    m_diagram->Repaint();
}

// The segment leaves the drawing again: the action puts it back.
void SegmentTracker::MouseUp(const IntPoint& point)
{
    MouseMove(point);
    delete m_action;
    m_action = nullptr;
    if (m_segment) {
        m_diagram->TakeOutShape(m_segment);
        m_action = new TAddSegmentAction(m_diagram, std::exchange(m_segment, nullptr));
    } else if (!m_moved) {
        const DPoint at = m_diagram->GetDC().ScreenToWorld(m_press);
        m_action = new TAddShapeAction(m_diagram, new VertexShape(at.x, at.y));
    }
    m_diagram->Repaint();
}

std::unique_ptr<MouseTracker> NewSegmentTracker(ActionView& view, DiagramComp* diagram)
{
    return std::make_unique<SegmentTracker>(view, diagram);
}

std::unique_ptr<MouseTracker> NewVertexDragTracker(ActionView& view, DiagramComp* diagram)
{
    return std::make_unique<VertexDragTracker>(view, diagram);
}
FreehandTracker::FreehandTracker(ActionView& view, DiagramComp* diagram) : MouseTracker(view), m_diagram(diagram) {}

// A stroke the view drops before its release frees the pencil too.
FreehandTracker::~FreehandTracker()
{
    if (!m_stroke.empty()) {
        m_diagram->HideStroke();
        m_diagram->SetToolBusy(false);
    }
}

void FreehandTracker::MouseDown(const IntPoint& point)
{
    m_stroke.assign(1, point);
    m_diagram->SetToolBusy(true);
}

void FreehandTracker::MouseMove(const IntPoint& point)
{
    const IntPoint& last = m_stroke.back();
    const int dx = point.x - last.x;
    const int dy = point.y - last.y;
    if (dx * dx + dy * dy < kMinSquaredStep)
        return;
    m_stroke.push_back(point);
    m_diagram->ShowStroke(m_stroke);
}

void FreehandTracker::MouseUp(const IntPoint& point)
{
    if (!Same(point, m_stroke.back()))
        m_stroke.push_back(point);
    m_diagram->HideStroke();
    delete m_action;
    m_action = BuildAction();
    m_diagram->SetToolBusy(false);
    m_stroke.clear();
}

TAction* FreehandTracker::BuildAction()
{
    const DiagramDC& dc = m_diagram->GetDC();
    if (m_stroke.size() < 2)
        return nullptr;
    if (m_stroke.size() == 2) {
        const DPoint a = dc.ScreenToWorld(m_stroke[0]);
        const DPoint b = dc.ScreenToWorld(m_stroke[1]);
        return new TAddSegmentAction(m_diagram, new SegmentShape(new VertexShape(a.x, a.y), new VertexShape(b.x, b.y)));
    }
    std::vector<DPoint> points;
    for (const IntPoint& p : freehand::Reduce(m_stroke))
        points.push_back(dc.ScreenToWorld(p));
    return new TAddSegmentAction(m_diagram, freehand::FitCurve(points, dc.GetCurrentScale()).curve);
}

std::unique_ptr<MouseTracker> NewFreehandTracker(ActionView& view, DiagramComp* diagram)
{
    return std::make_unique<FreehandTracker>(view, diagram);
}
