#pragma once
// The Drawing menu commands that open a dialog on the drawing: the line and
// fill of the selected shapes, the drawing's size, axes and grid, and a
// label showing a named variable's value. The view calls them with the
// drawing as its drawing target; Show Variable Value answers the action that
// adds the label (the view performs it), or null.
class CCorvellView;
class DiagramComp;
class TAction;

void OnDrawingColor(CCorvellView& view, DiagramComp& drawing);
void OnDrawingProperties(CCorvellView& view, DiagramComp& drawing);
TAction* OnShowVariableValue(CCorvellView& view, DiagramComp& drawing);
