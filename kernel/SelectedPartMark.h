#pragma once
// The part of a typed expression that the user selected, marked for the
// kernel: the answer to a question that asks for an expression and a part of
// it is sent with that part wrapped as the marked one.
class DocSelection;
class ExprNode;

// Marks (with the mover flag) the innermost node of root whose document
// range holds the whole selection; a selection that spans several terms of
// a sum or product marks them as one group. The root is marked when no
// inner node holds the selection.
void MarkSelectedPart(ExprNode& root, const DocSelection& selection);
