#include "drawing/DrawingKernelHooks.h"

#include "drawing/DrawingNodes.h"

namespace {

DrawVariableNodeMaker gVariableMaker = &MakeDrawVarNode;
DiagramNodeMaker gDiagramMaker = &MakeDrawingNode;

} // namespace

void InstallDrawingNodeMakers(DrawVariableNodeMaker variableMaker, DiagramNodeMaker diagramMaker)
{
    gVariableMaker = variableMaker ? variableMaker : &MakeDrawVarNode;
    gDiagramMaker = diagramMaker ? diagramMaker : &MakeDrawingNode;
}

ExprNode* MakeDrawVariableNode(DrawVariable* variable)
{
    return variable ? gVariableMaker(variable) : nullptr;
}

ExprNode* MakeDiagramNode(DiagramComp* diagram)
{
    return diagram ? gDiagramMaker(diagram) : nullptr;
}
