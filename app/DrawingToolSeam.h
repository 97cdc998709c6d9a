#pragma once
// What the main frame's tool buttons (pointer, pencil, grabber, magnifier)
// need of the drawing being edited: choosing its tool, and the kind number of
// its current tool. By default they reach the drawing's own tools; tests
// may install others (with none installed a drawing reports no tool, -1).
#include <functional>

class DiagramComp;

struct DrawingToolHooks {
    std::function<void(DiagramComp* drawing, int tool)> setTool;
    std::function<int(DiagramComp* drawing)> currentToolKind;
};

// Installs the hooks; answers the ones they replace.
DrawingToolHooks SetDrawingToolHooks(DrawingToolHooks hooks);

// Tool 0 pointer, 1 pencil, 2 grabber, 3 magnifier.
void SetDrawingTool(DiagramComp* drawing, int tool);
int CurrentDrawingToolKind(DiagramComp* drawing);
