#include "app/DrawingToolSeam.h"

#include "drawing/DiagramComp.h"
#include "drawing/DrawTool.h"

#include <utility>

namespace {
// By default the buttons reach the drawing's own tools.
DrawingToolHooks DrawingsOwnTools()
{
    return {[](DiagramComp* drawing, int tool) {
                drawing::ToolKind kind{};
                if (ToolOfCommand(drawing::kPointerToolCommand + tool, kind))
                    drawing->SetTool(kind);
            },
            [](DiagramComp* drawing) { return static_cast<int>(drawing->GetTool()->GetKind()); }};
}

DrawingToolHooks& hooks()
{
    static DrawingToolHooks installed = DrawingsOwnTools();
    return installed;
}
}

DrawingToolHooks SetDrawingToolHooks(DrawingToolHooks replacement)
{
    return std::exchange(hooks(), std::move(replacement));
}

void SetDrawingTool(DiagramComp* drawing, int tool)
{
    if (drawing && hooks().setTool)
        hooks().setTool(drawing, tool);
}

int CurrentDrawingToolKind(DiagramComp* drawing)
{
    return drawing && hooks().currentToolKind ? hooks().currentToolKind(drawing) : -1;
}
