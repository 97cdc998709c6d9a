#pragma once
// The actions that an edit code makes the same way in every editing view:
// field and cell moves, grid lines, rows and columns, derivatives, reduction.
// Typing, deleting and paragraph breaks differ between views and stay with them.
class ActionView;
class DocSelection;
class TAction;

// A new action for the code, or null when the code is not one of these.
TAction* MakeSharedEditAction(ActionView& view, int code, const DocSelection& selection, bool shift);
