#pragma once
// The drawing commands that open a dialog: the colour of the selected
// shapes, the drawing's properties, and a value display of a named
// variable.
class CCorvellView;
class DiagramComp;
class DrawValueComp;
class TAction;

// "Color and Fill" when a closed shape is selected, else "Line Properties",
// starting from the first selected shape's style; OK gives every selected
// shape the style chosen, Cancel changes nothing.
void OnDrawingColor(CCorvellView& view, DiagramComp& diagram);
// "Drawing Properties": on OK the drawing takes the size, frame, axes,
// names and grid chosen and its paragraph is laid out again; Cancel
// changes nothing.
void OnDrawingProperties(CCorvellView& view, DiagramComp& diagram);
// "Variable Values" over the drawing's named variables, brought up to date
// with the kernel first (while it runs): the action that adds a label
// "name = value" at the centre of the drawing, or null (no named variable:
// a beep; the dialog cancelled: nothing).
TAction* OnShowVariableValue(CCorvellView& view, DiagramComp& diagram);
// "Variable Properties" of a value display (a Ctrl+click on it): on OK its
// variable is locked or unlocked as chosen and moved to the value typed
// (its drawing solves again), as one step the view can undo; the display's
// paragraph is laid out again.
void OnValueDisplayProperties(CCorvellView& view, DrawValueComp& display);

// The dialog steps of the three commands, without the view: what the user
// chose is applied to the drawing (answering whether anything changed), or
// the label action is made.
bool EditSelectionStyle(DiagramComp& diagram);
bool EditDrawingProperties(DiagramComp& diagram);
TAction* ChooseVariableValueLabel(DiagramComp& diagram);
// The step the dialog asks for (the view performs it, one undo step), or
// null: a text that is no number is refused with a message, changing
// nothing; a display without a variable opens nothing.
TAction* EditValueDisplay(DrawValueComp& display);
