#pragma once
// The makers of the kernel-expression nodes of drawings (a drawing variable
// sent as an unknown or its value, a whole drawing with its labels). The
// drawing's own node classes (DrawingNodes) make them unless a test installs
// makers of its own; installing null puts the drawing's own back.
class DiagramComp;
class DrawVariable;
class ExprNode;

using DrawVariableNodeMaker = ExprNode* (*)(DrawVariable* variable);
using DiagramNodeMaker = ExprNode* (*)(DiagramComp* diagram);

void InstallDrawingNodeMakers(DrawVariableNodeMaker variableMaker, DiagramNodeMaker diagramMaker);
// A new node owned by the caller, or null for no variable or drawing.
ExprNode* MakeDrawVariableNode(DrawVariable* variable);
ExprNode* MakeDiagramNode(DiagramComp* diagram);
