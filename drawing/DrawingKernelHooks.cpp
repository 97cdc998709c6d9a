#include "drawing/DrawingKernelHooks.h"

namespace {

DrawVariableNodeMaker gVariableMaker = nullptr;
DiagramNodeMaker gDiagramMaker = nullptr;

} // namespace

void InstallDrawingNodeMakers(DrawVariableNodeMaker variableMaker, DiagramNodeMaker diagramMaker)
{
    gVariableMaker = variableMaker;
    gDiagramMaker = diagramMaker;
}

ExprNode* MakeDrawVariableNode(DrawVariable* variable)
{
    return gVariableMaker && variable ? gVariableMaker(variable) : nullptr;
}

ExprNode* MakeDiagramNode(DiagramComp* diagram)
{
    return gDiagramMaker && diagram ? gDiagramMaker(diagram) : nullptr;
}
