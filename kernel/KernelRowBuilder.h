#pragma once
// The kernel's side of the rows' and components' BuildNode: a row is read by
// the math parser, a component builds the node of its kind.
#include "foundation/RowNodeBuilder.h"

class TextComp;

class KernelRowBuilder : public RowNodeBuilder {
public:
    ExprNode* BuildNode(CompList& row) override;
    ExprNode* BuildTextNode(CompList& row) override;
    ExprNode* BuildComponentNode(TextComp& comp) override;

    static KernelRowBuilder& Instance();
};
