#include "kernel/SelectedPartMark.h"

#include "kernel/NodePath.h"

void MarkSelectedPart(ExprNode& root, const DocSelection& selection)
{
    NodePath(&root, selection, true);
}
