#pragma once
// The commands of the drawing toolbar and of the Drawing menu that build an
// undoable change of a drawing: the shapes and constraints the makers build
// from the selected shapes, a text label and an equation constraint. The
// view performs the action answered; null means nothing happens (a maker
// that refuses the selection has told the user why).
#include "foundation/DPoint.h"

class ActionView;
class DiagramComp;
class TAction;

namespace drawing {
constexpr int kEquationConstraintCommand = 34124;
}

// The world point at the centre of the drawing's box: where a shape built on
// no selected vertex goes, and where a new label stands.
DPoint DrawingCentre(const DiagramComp& drawing);

// The action of a toolbar command (34050-34069) or of Make Equation
// Constraint (34124) on the drawing; null when the command cannot apply.
TAction* CreateDrawingCommand(ActionView& view, DiagramComp& drawing, int commandId);
