#pragma once
// The drawing commands that open a dialog: the colour of the selected
// shapes, the drawing's properties, and a value display of a named
// variable.
#include <functional>

class CCorvellView;
class DiagramComp;
class TAction;

// "Color and Fill" when a closed shape is selected, else "Line Properties",
// starting from the first selected shape's style; OK gives every selected
// shape the style chosen, Cancel changes nothing.
void OnDrawingColor(CCorvellView& view, DiagramComp& diagram);
// "Drawing Properties": on OK the drawing takes the size, frame, axes,
// names and grid chosen and its paragraph is laid out again; Cancel
// changes nothing.
void OnDrawingProperties(CCorvellView& view, DiagramComp& diagram);
// "Variable Values" over the drawing's named variables: the action that
// adds a label "name = value" at the centre of the drawing, or null (no
// named variable: a beep; the dialog cancelled: nothing).
TAction* OnShowVariableValue(CCorvellView& view, DiagramComp& diagram);

// The dialog steps of the three commands, without the view: what the user
// chose is applied to the drawing (answering whether anything changed), or
// the label action is made.
bool EditSelectionStyle(DiagramComp& diagram);
bool EditDrawingProperties(DiagramComp& diagram);
TAction* ChooseVariableValueLabel(DiagramComp& diagram);

// Brings the drawing's named variables up to date before the list is
// shown (the kernel side of the drawings installs it; none: the table is
// listed as it is). Answers the one it replaces.
using NamedVariableRefresh = std::function<void(DiagramComp&)>;
NamedVariableRefresh SetNamedVariableRefresh(NamedVariableRefresh refresh);
