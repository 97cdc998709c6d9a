#include "drawing/DrawTool.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawTrackers.h"
#include "foundation/ActionView.h"
#include "foundation/SelectionTracker.h"

using drawing::ToolKind;

namespace {

void SelectWholeDrawing(ActionView& view, DiagramComp* diagram)
{
    view.SetSelection(DocSelection::SelectObject(diagram), true);
}

} // namespace

int PointerTool::GetCursor(const IntPoint& point, bool)
{
    const DrawHitKind kind = m_diagram->HitItem(point).kind;
    return kind == DrawHitKind::Label ? drawing::kLabelFrameCursor : 0;
}

std::unique_ptr<MouseTracker> PointerTool::OnMouseDown(ActionView& view, const IntPoint& point, bool shift)
{
    const DrawHit hit = m_diagram->HitItem(point);
    switch (hit.kind) {
    case DrawHitKind::Shape:
        m_diagram->ClickSelect(point, shift);
        SelectWholeDrawing(view, m_diagram);
        return NewVertexDragTracker(view, m_diagram);
    case DrawHitKind::Constraint:
        m_diagram->ClickSelectConstraint(point, shift);
        SelectWholeDrawing(view, m_diagram);
        return nullptr;
    case DrawHitKind::LabelText:
        // The caret goes into the label's text: the drawing's items let go.
        m_diagram->DeselectAll(true);
        return std::make_unique<SelectionTracker>(view, shift);
    case DrawHitKind::Label:
        m_diagram->ClickLabel(hit.label, shift);
        SelectWholeDrawing(view, m_diagram);
        return std::make_unique<LabelDragTracker>(view, m_diagram, hit.label);
    case DrawHitKind::Nothing:
        break;
    }
    return std::make_unique<SelectRectTracker>(view, m_diagram, shift);
}

// Shift decides at the press between a stroke and a segment.
std::unique_ptr<MouseTracker> PencilTool::OnMouseDown(ActionView& view, const IntPoint&, bool shift)
{
    if (m_busy)
        return nullptr;
    return shift ? NewFreehandTracker(view, m_diagram) : NewSegmentTracker(view, m_diagram);
}

std::unique_ptr<MouseTracker> GrabberTool::OnMouseDown(ActionView& view, const IntPoint&, bool)
{
    return std::make_unique<GrabTracker>(view, m_diagram);
}

std::unique_ptr<MouseTracker> MagnifierTool::OnMouseDown(ActionView& view, const IntPoint& point, bool shift)
{
    m_diagram->Zoom(point, shift ? 1.0 / drawing::kMagnifierFactor : drawing::kMagnifierFactor);
    m_diagram->Invalidate();
    m_diagram->InvalidateBox();
    view.SetDocumentModified();
    return nullptr;
}

std::unique_ptr<DrawTool> NewDrawTool(ToolKind kind, DiagramComp* diagram)
{
    switch (kind) {
    case ToolKind::Pencil:
        return std::make_unique<PencilTool>(diagram);
    case ToolKind::Grabber:
        return std::make_unique<GrabberTool>(diagram);
    case ToolKind::Magnifier:
        return std::make_unique<MagnifierTool>(diagram);
    case ToolKind::Pointer:
        break;
    }
    return std::make_unique<PointerTool>(diagram);
}

// The four tool commands follow one another in the order of the kinds.
bool ToolOfCommand(int command, ToolKind& kind)
{
    if (command < drawing::kPointerToolCommand || command > drawing::kMagnifierToolCommand)
        return false;
    kind = static_cast<ToolKind>(command - drawing::kPointerToolCommand);
    return true;
}
