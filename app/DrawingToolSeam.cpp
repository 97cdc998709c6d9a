#include "app/DrawingToolSeam.h"

#include <utility>

namespace {
DrawingToolHooks& hooks()
{
    static DrawingToolHooks installed;
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
