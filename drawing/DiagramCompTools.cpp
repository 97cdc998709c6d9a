// The drawing's current tool and the presses and cursor requests it answers.
#include "drawing/DiagramComp.h"

#include "drawing/DrawTool.h"
#include "foundation/MouseTracker.h"

DrawTool* DiagramComp::GetTool()
{
    if (!m_tool)
        m_tool = NewDrawTool(drawing::ToolKind::Pointer, this);
    return m_tool.get();
}

void DiagramComp::SetTool(drawing::ToolKind kind)
{
    if (GetTool()->GetKind() != kind)
        m_tool = NewDrawTool(kind, this);
}

void DiagramComp::SetToolBusy(bool busy)
{
    GetTool()->SetBusy(busy);
}

std::unique_ptr<MouseTracker> DiagramComp::OnMouseDown(ActionView& view, const IntPoint& point, bool shift, bool ctrl)
{
    UpdateNamedVariables();
    if (ctrl)
        return PointerTool(this).OnMouseDown(view, point, shift);
    return GetTool()->OnMouseDown(view, point, shift);
}

int DiagramComp::GetCursor(const IntPoint& point, bool shift, bool ctrl)
{
    if (ctrl)
        return PointerTool(this).GetCursor(point, shift);
    return GetTool()->GetCursor(point, shift);
}
