#pragma once
// The kernel-expression nodes of drawings (a drawing variable sent as an
// unknown or its value, a whole drawing sent as a system of equations) are
// built by the kernel expression code, which builds on the drawings. It
// installs its makers here; until it does, drawings build no nodes.
class DiagramComp;
class DrawVariable;
class ExprNode;

using DrawVariableNodeMaker = ExprNode* (*)(DrawVariable* variable);
using DiagramNodeMaker = ExprNode* (*)(DiagramComp* diagram);

void InstallDrawingNodeMakers(DrawVariableNodeMaker variableMaker, DiagramNodeMaker diagramMaker);
// A new node owned by the caller, or null when no maker is installed.
ExprNode* MakeDrawVariableNode(DrawVariable* variable);
ExprNode* MakeDiagramNode(DiagramComp* diagram);
